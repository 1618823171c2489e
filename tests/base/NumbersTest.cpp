// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Numbers.h"
#include "base/Random.h"
#include "base/Rounding.h"

#include <QtTest>

#include <cmath>
#include <set>

using namespace Ionaria::base;

class NumbersTest : public QObject {
    Q_OBJECT

private slots:
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("comma") << "0,01" << true << 0.01;
        QTest::newRow("point") << "0.01" << true << 0.01;
        QTest::newRow("exponent") << "1E-05" << true << 1e-5;
        QTest::newRow("lower exponent") << "2,5e3" << true << 2500.0;
        QTest::newRow("whole") << "360000" << true << 360000.0;
        QTest::newRow("blanks") << "  2,5 " << true << 2.5;
        QTest::newRow("sign") << "-0,5" << true << -0.5;
        QTest::newRow("leading comma") << ",5" << true << 0.5;
        QTest::newRow("trailing comma") << "12," << true << 12.0;
        QTest::newRow("letters") << "abc" << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("comma alone") << "," << false << 0.0;
        QTest::newRow("two commas") << "1,2,3" << false << 0.0;
        QTest::newRow("bare exponent") << "1E" << false << 0.0;
        QTest::newRow("trailing text") << "12 g" << false << 0.0;
        QTest::newRow("beyond single") << "1E39" << false << 0.0;
    }
    void parse() {
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
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("0,0123") << 0.0123F << "0,0123";
        QTest::newRow("1E-05") << 1e-5F << "1E-05";
        QTest::newRow("1,5E-05") << 1.5e-5F << "1,5E-05";
        QTest::newRow("0,0001") << 0.0001F << "0,0001";
        QTest::newRow("360000") << 360000.0F << "360000";
        QTest::newRow("2,5") << 2.5F << "2,5";
        QTest::newRow("0,01") << 0.01F << "0,01";
        QTest::newRow("1230") << 1230.0F << "1230";
        QTest::newRow("zero") << 0.0F << "0";
        QTest::newRow("negative") << -0.5F << "-0,5";
        QTest::newRow("seven digits") << 1234567.0F << "1234567";
        QTest::newRow("eight digits") << 12345678.0F << "1,234568E+07";
    }
    void general() {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(formatGeneral(value)), text);
    }

    void pattern_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::newRow("mA") << 56.74671 << "### ##0.0"
                            << "56,7";
        QTest::newRow("mA small") << 0.04 << "### ##0.0"
                                  << "0,0";
        QTest::newRow("mA grouped") << 1234.56 << "### ##0.0"
                                    << "1 234,6";
        QTest::newRow("A") << 1.5 << "### ##0.00"
                           << "1,50";
        QTest::newRow("A negative") << -1.089 << "### ##0.00"
                                    << "-1,09";
        QTest::newRow("mass") << 10.0 << "# ##0.00"
                              << "10,00";
        QTest::newRow("mass grouped") << 1234.5 << "# ##0.00"
                                      << "1 234,50";
        QTest::newRow("half up") << 0.125 << "# ##0.00"
                                 << "0,13";
        QTest::newRow("decimal half") << 2.345 << "# ##0.00"
                                      << "2,35";
        QTest::newRow("carry") << 9.999 << "# ##0.00"
                               << "10,00";
        QTest::newRow("negative to zero") << -0.001 << "# ##0.00"
                                          << "0,00";
        QTest::newRow("volts") << 2.5 << "#0.0"
                               << "2,5";
        QTest::newRow("volts ten") << 10.0 << "#0.0"
                                   << "10,0";
        QTest::newRow("sci") << 0.0123 << "0.00E+00"
                             << "1,23E-02";
        QTest::newRow("sci round") << 0.012345 << "0.00E+00"
                                   << "1,23E-02";
        QTest::newRow("sci carry") << 9.996 << "0.00E+00"
                                   << "1,00E+01";
        QTest::newRow("sci big") << 1234.0 << "0.00E+00"
                                 << "1,23E+03";
        QTest::newRow("sci one") << 1.0 << "0.00E+00"
                                 << "1,00E+00";
        QTest::newRow("sci zero") << 0.0 << "0.00E+00"
                                  << "0,00E+00";
        QTest::newRow("sci tiny") << 1e-5 << "0.00E+00"
                                  << "1,00E-05";
    }
    void pattern() {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(formatPattern(value, pattern.toStdString())), text);
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
