// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Reading.h"

#include <QLocale>
#include <QtTest>

#include <cmath>
#include <limits>

using namespace Ionaria::sim;

namespace {

QString french(double value, char format, int precision) {
    return QLocale(QLocale::French, QLocale::France).toString(value, format, precision);
}

} // namespace

// The curves' texts are written without Qt so that the browser's page writes
// them too: they must stay those a French Qt screen writes.
class ReadingTest : public QObject {
    Q_OBJECT

private slots:
    void fixedAsQtWritesIt_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        const struct {
            const char* name;
            double value;
            int decimals;
        } rows[] = {
            {"zero", 0.0, 2},
            {"negative zero", -0.0, 0},
            {"half of a unit, away from zero", 2.5, 0},
            {"negative half", -0.5, 0},
            {"an exact half in binary", 0.125, 2},
            {"below a half in binary", 1.005, 2},
            {"a negative value rounded to zero keeps its sign", -0.001, 2},
            {"rounds up to the next place", 0.006, 2},
            {"thousands", 1234.5, 2},
            {"millions", 1234567.0, 0},
            {"carries into a new group", 999999.995, 2},
            {"hours of a long run", 360000.0 / 3600.0, 2},
            {"minutes", 2400.0 / 60.0, 2},
            {"tiny", 1e-9, 3},
            {"no decimals", 37.0, 0},
        };
        for (const auto& row : rows) {
            QTest::newRow(row.name) << row.value << row.decimals;
        }
    }
    void fixedAsQtWritesIt() {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QCOMPARE(QString::fromStdString(frenchFixed(value, decimals)),
                 french(value, 'f', decimals));
    }

    // Six significant digits between a thousandth and a million, as Qt's
    // general format writes them; a power of ten beyond.
    void readingNumbers_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << french(0.0, 'g', 6);
        QTest::newRow("current in mA") << 51.234567 << french(51.234567, 'g', 6);
        QTest::newRow("a thousandth") << 1e-3 << french(1e-3, 'g', 6);
        QTest::newRow("trailing zeros dropped") << 0.05 << french(0.05, 'g', 6);
        QTest::newRow("grouped") << 123456.0 << french(123456.0, 'g', 6);
        QTest::newRow("negative") << -12.3456789 << french(-12.3456789, 'g', 6);
        QTest::newRow("rounds up to a million") << 999999.7 << french(999999.7, 'g', 6);
        QTest::newRow("rounds below a tenth of a thousandth")
            << 0.0009999996 << QStringLiteral("1,00000 × 10⁻³");
        QTest::newRow("small concentration") << 1.303899e-11 << QStringLiteral("1,30390 × 10⁻¹¹");
        QTest::newRow("large") << 1234567.0 << QStringLiteral("1,23457 × 10⁶");
        QTest::newRow("negative small") << -2.5e-5 << QStringLiteral("-2,50000 × 10⁻⁵");
    }
    void readingNumbers() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(readingNumber(value)), text);
    }

    void timeTexts_data() {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<double>("last");
        QTest::addColumn<QString>("text");
        QTest::newRow("seconds") << 90.0 << 600.0 << QStringLiteral("90 s");
        QTest::newRow("minutes") << 90.0 << 601.0 << QStringLiteral("1,50 min (90 s)");
        QTest::newRow("hours, grouped seconds")
            << 360000.0 << 360000.0 << QStringLiteral("100,00 h (360\u202F000 s)");
        QTest::newRow("an eighth of an hour rounds up")
            << 450.0 << 20000.0 << QStringLiteral("0,13 h (450 s)");
    }
    void timeTexts() {
        QFETCH(double, seconds);
        QFETCH(double, last);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(readingTimeText(seconds, timeUnitFor(last))), text);
    }

    // Round steps that cover the range, with the decimals that tell their
    // labels apart.
    void niceScales_data() {
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<double>("first");
        QTest::addColumn<double>("last");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("decimals");
        QTest::newRow("time") << 0.0 << 40.0 << 0.0 << 40.0 << 5 << 0;
        QTest::newRow("a mass that grows") << 10.0 << 10.0421 << 10.0 << 10.06 << 4 << 2;
        QTest::newRow("flat at zero") << 0.0 << 0.0 << -1.0 << 1.0 << 5 << 1;
        QTest::newRow("steps of 2.5") << 0.0 << 9.0 << 0.0 << 10.0 << 5 << 1;
        QTest::newRow("not finite")
            << 0.0 << std::numeric_limits<double>::infinity() << 0.0 << 1.0 << 5 << 2;
    }
    void niceScales() {
        QFETCH(double, low);
        QFETCH(double, high);
        const AxisScale scale = niceScale(low, high, 4);
        QTEST(scale.first, "first");
        QTEST(scale.last, "last");
        QTEST(scale.ticks, "ticks");
        QTEST(scale.decimals, "decimals");
    }

    // A mass or a concentration is never drawn below zero for the room
    // around a flat curve; a current may be.
    void valueScales() {
        Quantity masse;
        masse.kind = Quantity::Kind::Masse;
        QCOMPARE(valueScaleOf(masse, 0.0, 0.0).first, 0.0);
        Quantity intensite;
        intensite.kind = Quantity::Kind::Intensite;
        QVERIFY(valueScaleOf(intensite, 0.0, 0.0).first < 0.0);
    }
};

QTEST_APPLESS_MAIN(ReadingTest)
#include "ReadingTest.moc"
