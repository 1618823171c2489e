// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Numbers.h"
#include "base/Random.h"
#include "base/Rounding.h"
#include "support/Locales.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <set>

using namespace Ionaria::base;
using Ionaria::testing::addRowsInEveryLocale;

class NumbersTest : public QObject {
    Q_OBJECT

private slots:
    void parse_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        addRowsInEveryLocale("comma", "0,01", true, 0.01);
        addRowsInEveryLocale("point", "0.01", true, 0.01);
        addRowsInEveryLocale("exponent", "1E-05", true, 1e-5);
        addRowsInEveryLocale("lower exponent", "2,5e3", true, 2500.0);
        addRowsInEveryLocale("whole", "360000", true, 360000.0);
        addRowsInEveryLocale("blanks", "  2,5 ", true, 2.5);
        addRowsInEveryLocale("sign", "-0,5", true, -0.5);
        addRowsInEveryLocale("leading comma", ",5", true, 0.5);
        addRowsInEveryLocale("trailing comma", "12,", true, 12.0);
        addRowsInEveryLocale("letters", "abc", false, 0.0);
        addRowsInEveryLocale("empty", "", false, 0.0);
        addRowsInEveryLocale("comma alone", ",", false, 0.0);
        addRowsInEveryLocale("two commas", "1,2,3", false, 0.0);
        addRowsInEveryLocale("bare exponent", "1E", false, 0.0);
        addRowsInEveryLocale("trailing text", "12 g", false, 0.0);
        addRowsInEveryLocale("beyond single", "1E39", false, 0.0);
    }
    void parse() {
        QFETCH(QByteArray, locale);
        IONARIA_USE_LOCALE(locale.constData());
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        const auto parsed = parseSingle(text.toStdString());
        QCOMPARE(parsed.has_value(), ok);
        if (ok) {
            QCOMPARE(*parsed, static_cast<float>(value));
        }
    }

    void general_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        addRowsInEveryLocale("0,0123", 0.0123F, "0,0123");
        addRowsInEveryLocale("1E-05", 1e-5F, "1E-05");
        addRowsInEveryLocale("1,5E-05", 1.5e-5F, "1,5E-05");
        addRowsInEveryLocale("0,0001", 0.0001F, "0,0001");
        addRowsInEveryLocale("360000", 360000.0F, "360000");
        addRowsInEveryLocale("2,5", 2.5F, "2,5");
        addRowsInEveryLocale("0,01", 0.01F, "0,01");
        addRowsInEveryLocale("1230", 1230.0F, "1230");
        addRowsInEveryLocale("zero", 0.0F, "0");
        addRowsInEveryLocale("negative", -0.5F, "-0,5");
        addRowsInEveryLocale("seven digits", 1234567.0F, "1234567");
        addRowsInEveryLocale("eight digits", 12345678.0F, "1,234568E+07");
    }
    void general() {
        QFETCH(QByteArray, locale);
        IONARIA_USE_LOCALE(locale.constData());
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(formatGeneral(value)), text);
    }

    void pattern_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        addRowsInEveryLocale("mA", 56.74671, "### ##0.0", "56,7");
        addRowsInEveryLocale("mA small", 0.04, "### ##0.0", "0,0");
        addRowsInEveryLocale("mA grouped", 1234.56, "### ##0.0", "1 234,6");
        addRowsInEveryLocale("A", 1.5, "### ##0.00", "1,50");
        addRowsInEveryLocale("A negative", -1.089, "### ##0.00", "-1,09");
        addRowsInEveryLocale("mass", 10.0, "# ##0.00", "10,00");
        addRowsInEveryLocale("mass grouped", 1234.5, "# ##0.00", "1 234,50");
        addRowsInEveryLocale("half up", 0.125, "# ##0.00", "0,13");
        addRowsInEveryLocale("decimal half", 2.345, "# ##0.00", "2,35");
        addRowsInEveryLocale("carry", 9.999, "# ##0.00", "10,00");
        addRowsInEveryLocale("negative to zero", -0.001, "# ##0.00", "0,00");
        addRowsInEveryLocale("volts", 2.5, "#0.0", "2,5");
        addRowsInEveryLocale("volts ten", 10.0, "#0.0", "10,0");
        addRowsInEveryLocale("sci", 0.0123, "0.00E+00", "1,23E-02");
        addRowsInEveryLocale("sci round", 0.012345, "0.00E+00", "1,23E-02");
        addRowsInEveryLocale("sci carry", 9.996, "0.00E+00", "1,00E+01");
        addRowsInEveryLocale("sci big", 1234.0, "0.00E+00", "1,23E+03");
        addRowsInEveryLocale("sci one", 1.0, "0.00E+00", "1,00E+00");
        addRowsInEveryLocale("sci zero", 0.0, "0.00E+00", "0,00E+00");
        addRowsInEveryLocale("sci tiny", 1e-5, "0.00E+00", "1,00E-05");
        addRowsInEveryLocale("sci negative", -0.0123, "0.00E+00", "-1,23E-02");
        addRowsInEveryLocale("A grouped", 12345.678, "### ##0.00", "12 345,68");
        addRowsInEveryLocale("potential", 0.337, "0.000", "0,337");
        addRowsInEveryLocale("potential negative", -0.44, "0.000", "-0,440");
    }
    void pattern() {
        QFETCH(QByteArray, locale);
        IONARIA_USE_LOCALE(locale.constData());
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(formatPattern(value, pattern.toStdString())), text);
        // What the program shows, read back as a pupil's box or a file reads
        // it, shows the same once more.
        const auto read = parseDouble(QString(text).remove(' ').toStdString());
        QVERIFY(read.has_value());
        QCOMPARE(QString::fromStdString(formatPattern(*read, pattern.toStdString())), text);
    }

    // The locales of the tables do put a comma where "C" puts a point, so
    // that a conversion through them would show in the tables.
    void localesWriteTheirOwnDecimalPoint_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<QByteArray>("point");
        QTest::newRow("C.UTF-8") << QByteArray("C.UTF-8") << QByteArray(".");
        QTest::newRow("fr_FR.UTF-8") << QByteArray("fr_FR.UTF-8") << QByteArray(",");
        QTest::newRow("de_DE.UTF-8") << QByteArray("de_DE.UTF-8") << QByteArray(",");
    }
    void localesWriteTheirOwnDecimalPoint() {
        QFETCH(QByteArray, locale);
        QFETCH(QByteArray, point);
        IONARIA_USE_LOCALE(locale.constData());
        QCOMPARE(Ionaria::testing::ScopedCLocale::decimalPoint(), point);
    }

    void writeFloat_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("form");
        QTest::addColumn<int>("precision");
        QTest::addColumn<QString>("text");
        const int general = static_cast<int>(FloatForm::General);
        const int scientific = static_cast<int>(FloatForm::Scientific);
        const int fixed = static_cast<int>(FloatForm::Fixed);
        addRowsInEveryLocale("general", 0.25, general, 15, "0.25");
        addRowsInEveryLocale("general small", 1.5e-7, general, 15, "1.5e-07");
        addRowsInEveryLocale("general large", 1e20, general, 15, "1e+20");
        addRowsInEveryLocale("general seven digits", 12345678.0, general, 7, "1.234568e+07");
        addRowsInEveryLocale("general csv", 0.1, general, 10, "0.1");
        addRowsInEveryLocale("general all digits", 0.1, general, 17, "0.10000000000000001");
        addRowsInEveryLocale("scientific", -0.0123, scientific, 2, "-1.23e-02");
        addRowsInEveryLocale("scientific fifteen", 1.0 / 3.0, scientific, 14,
                             "3.33333333333333e-01");
        addRowsInEveryLocale("fixed", 12345.678, fixed, 2, "12345.68");
        addRowsInEveryLocale("fixed many decimals", 0.5, fixed, 400, "0.5" + QString(399, '0'));
    }
    void writeFloat() {
        QFETCH(QByteArray, locale);
        IONARIA_USE_LOCALE(locale.constData());
        QFETCH(double, value);
        QFETCH(int, form);
        QFETCH(int, precision);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(
                     Ionaria::base::writeFloat(value, static_cast<FloatForm>(form), precision)),
                 text);
    }

    // The text reads back as the very value of its type, with no digit to
    // spare: one digit fewer no longer does.
    void writeShortest_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("single");
        QTest::addColumn<QString>("text");
        addRowsInEveryLocale("float current", 0.05, true, "0.05");
        addRowsInEveryLocale("float generator limit", 2.0, true, "2");
        addRowsInEveryLocale("double quarter", 0.25, false, "0.25");
        addRowsInEveryLocale("double Faraday", 96485.33212, false, "96485.33212");
        addRowsInEveryLocale("double third", 1.0 / 3.0, false, "0.3333333333333333");
        addRowsInEveryLocale("float third", 1.0 / 3.0, true, "0.33333334");
        addRowsInEveryLocale("double negative", -0.0123, false, "-0.0123");
    }
    void writeShortest() {
        QFETCH(QByteArray, locale);
        IONARIA_USE_LOCALE(locale.constData());
        QFETCH(double, value);
        QFETCH(bool, single);
        QFETCH(QString, text);
        const std::string written = single ? Ionaria::base::writeShortest(static_cast<float>(value))
                                           : Ionaria::base::writeShortest(value);
        QCOMPARE(QString::fromStdString(written), text);
        const auto back = Ionaria::base::readFloat(written);
        QCOMPARE(back.status, Ionaria::base::FloatStatus::Ok);
        if (single) {
            QCOMPARE(static_cast<float>(back.value), static_cast<float>(value));
        } else {
            QCOMPARE(back.value, value);
        }
    }

    // The fixed form of the largest double has 309 integer digits.
    void writeFloatHasRoomForTheLargest() {
        const std::string text =
            Ionaria::base::writeFloat(-std::numeric_limits<double>::max(), FloatForm::Fixed, 2);
        QCOMPARE(text.size(), std::size_t{1 + 309 + 1 + 2});
        QVERIFY(text.starts_with("-17976931348623157"));
        QVERIFY(text.ends_with(".00"));
    }

    void readFloat_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("status");
        QTest::addColumn<double>("value");
        const int ok = static_cast<int>(FloatStatus::Ok);
        const int malformed = static_cast<int>(FloatStatus::Malformed);
        const int outOfRange = static_cast<int>(FloatStatus::OutOfRange);
        addRowsInEveryLocale("point", "0.25", ok, 0.25);
        addRowsInEveryLocale("exponent", "-1.5e-07", ok, -1.5e-7);
        addRowsInEveryLocale("upper exponent", "1E3", ok, 1000.0);
        addRowsInEveryLocale("no integer digit", ".5", ok, 0.5);
        addRowsInEveryLocale("no decimal digit", "5.", ok, 5.0);
        addRowsInEveryLocale("comma", "0,25", malformed, 0.0);
        addRowsInEveryLocale("plus", "+1", malformed, 0.0);
        addRowsInEveryLocale("blank", " 1", malformed, 0.0);
        addRowsInEveryLocale("infinity", "inf", malformed, 0.0);
        addRowsInEveryLocale("not a number", "-nan", malformed, 0.0);
        addRowsInEveryLocale("hexadecimal", "0x1p3", malformed, 0.0);
        addRowsInEveryLocale("bare exponent", "1e", malformed, 0.0);
        addRowsInEveryLocale("sign alone", "-", malformed, 0.0);
        addRowsInEveryLocale("empty", "", malformed, 0.0);
        addRowsInEveryLocale("too large", "1e400", outOfRange, 0.0);
        addRowsInEveryLocale("too small", "-1e-400", outOfRange, 0.0);
    }
    void readFloat() {
        QFETCH(QByteArray, locale);
        IONARIA_USE_LOCALE(locale.constData());
        QFETCH(QString, text);
        QFETCH(int, status);
        QFETCH(double, value);
        const FloatRead read = Ionaria::base::readFloat(text.toStdString());
        QCOMPARE(static_cast<int>(read.status), status);
        QCOMPARE(read.value, value);
    }

    void rounding_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("ok16");
        QTest::addColumn<int>("result");
        QTest::newRow("half down to even") << 2.5 << true << 2;
        QTest::newRow("half up to even") << 3.5 << true << 4;
        QTest::newRow("negative half") << -2.5 << true << -2;
        QTest::newRow("below half") << 324.49 << true << 324;
        QTest::newRow("above half") << 413.51 << true << 414;
        QTest::newRow("int16 max") << 32767.4 << true << 32767;
        QTest::newRow("int16 overflow") << 32767.5 << false << 0;
        QTest::newRow("int16 underflow") << -32769.0 << false << 0;
        QTest::newRow("nan") << std::nan("") << false << 0;
        QTest::newRow("infinite") << HUGE_VAL << false << 0;
    }
    void rounding() {
        QFETCH(double, value);
        QFETCH(bool, ok16);
        QFETCH(int, result);
        const auto r = roundToInt16(value);
        QCOMPARE(r.has_value(), ok16);
        if (ok16) {
            QCOMPARE(static_cast<int>(*r), result);
        }
    }
    void rounding32() {
        QCOMPARE(roundToInt32(360000.5).value_or(0), 360000);
        QCOMPARE(roundToInt32(-40000.0).value_or(0), -40000);
        QVERIFY(!roundToInt32(3e9).has_value());
        QVERIFY(!roundToInt32(std::nan("")).has_value());
    }

    void randomIsRepeatableAndUniform() {
        Random a;
        Random b;
        std::set<double> distinct;
        double sum = 0.0;
        constexpr int n = 20000;
        for (int i = 0; i < n; ++i) {
            const double x = a.next();
            QCOMPARE(x, b.next());
            QVERIFY(x >= 0.0 && x < 1.0);
            distinct.insert(x);
            sum += x;
        }
        QVERIFY(distinct.size() > n * 9 / 10);
        QVERIFY(std::fabs(sum / n - 0.5) < 0.01);
        const double first = [] {
            Random fresh;
            return fresh.next();
        }();
        a.reseed();
        QCOMPARE(a.next(), first);
    }

    void randomSkipsDraws_data() {
        QTest::addColumn<int>("skipped");
        for (const int n : {0, 1, 2, 3, 17, 1000, 65537, 16777216, 20000001}) {
            QTest::addRow("%d", n) << n;
        }
    }
    void randomSkipsDraws() {
        QFETCH(int, skipped);
        Random drawn;
        drawn.next(); // anywhere in the sequence
        Random skipping = drawn;
        for (int i = 0; i < skipped; ++i) {
            drawn.next();
        }
        skipping.discard(static_cast<std::uint64_t>(skipped));
        QVERIFY(skipping == drawn);
        QCOMPARE(skipping.next(), drawn.next());
    }
};

QTEST_GUILESS_MAIN(NumbersTest)
#include "NumbersTest.moc"
