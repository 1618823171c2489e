// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/DecimalLogarithm.h"

#include <QtTest>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

using Ionaria::base::decimalLogarithm;

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double denormal = std::numeric_limits<double>::denorm_min();
constexpr double smallest = std::numeric_limits<double>::min();
constexpr double largest = std::numeric_limits<double>::max();
constexpr double rootHalf = 0x1.6a09e667f3bcdp-1;

QByteArray hex(double value) {
    char text[64];
    const auto end =
        std::to_chars(text, text + sizeof text, std::fabs(value), std::chars_format::hex).ptr;
    return QByteArray::number(value, 'g', 17) + " (" + (std::signbit(value) ? "-" : "") + "0x" +
           QByteArray(text, end - text) + ")";
}

// Whether y is the double nearest log10(x). The oracle, log10l rounded to
// double, is itself rounded twice: where it disagrees, y must be its
// neighbour and the exact value so near their midpoint that a few units of
// the long double's last place could put it on either side.
bool correctlyRounded(double x, double y, QByteArray& why) {
    const long double oracle = log10l(static_cast<long double>(x));
    const auto nearest = static_cast<double>(oracle);
    if (y == nearest) {
        return true;
    }
    if (y != std::nextafter(nearest, y)) {
        why = "log10(" + hex(x) + ") = " + hex(y) + ", more than one unit from " + hex(nearest);
        return false;
    }
    const long double midpoint = (static_cast<long double>(y) + nearest) / 2.0L;
    const long double unit =
        std::ldexp(1.0L, std::ilogb(oracle) - (std::numeric_limits<long double>::digits - 1));
    if (std::fabs(oracle - midpoint) > 4.0L * unit) {
        why = "log10(" + hex(x) + ") = " + hex(y) + " instead of " + hex(nearest) +
              ", which is not near a tie";
        return false;
    }
    return true;
}

std::vector<double> drawnValues() {
    std::mt19937_64 random(20261209);
    std::vector<double> values;
    for (int i = 0; i < 100000; ++i) {
        // Any positive finite double, by its bits.
        const auto bits = random() & 0x7fefffffffffffffULL;
        values.push_back(std::bit_cast<double>(bits));
        // Near 1, where the logarithm is small and must keep its digits.
        const double offset = std::ldexp(static_cast<double>(random() >> 11), -53) - 0.5;
        values.push_back(1.0 + std::ldexp(offset, -static_cast<int>(random() % 50)));
        // The concentrations whose pH and potentials the cell takes.
        values.push_back(
            std::pow(10.0, -14.0 * std::ldexp(static_cast<double>(random() >> 11), -53)));
    }
    return values;
}

} // namespace

class DecimalLogarithmTest : public QObject {
    Q_OBJECT
private slots:
    void outsideTheDomain_data();
    void outsideTheDomain();
    void powersOfTenAreExact();
    void edgeCasesAreCorrectlyRounded_data();
    void edgeCasesAreCorrectlyRounded();
    void drawnValuesAreCorrectlyRounded();
    void increasesWithItsArgument_data();
    void increasesWithItsArgument();
};

void DecimalLogarithmTest::outsideTheDomain_data() {
    QTest::addColumn<double>("x");
    QTest::newRow("zero") << 0.0;
    QTest::newRow("minus zero") << -0.0;
    QTest::newRow("minus one") << -1.0;
    QTest::newRow("minus the smallest subnormal") << -denormal;
    QTest::newRow("minus infinity") << -inf;
    QTest::newRow("infinity") << inf;
    QTest::newRow("NaN") << notANumber;
    QTest::newRow("minus NaN") << -notANumber;
}

void DecimalLogarithmTest::outsideTheDomain() {
    QFETCH(double, x);
    const double expected = std::log10(x);
    const double got = decimalLogarithm(x);
    QCOMPARE(std::isnan(got), std::isnan(expected));
    if (!std::isnan(expected)) {
        QCOMPARE(got, expected);
    }
}

void DecimalLogarithmTest::powersOfTenAreExact() {
    // Every double nearest a power of ten from 1e-307 up, exact or not, is
    // close enough to it that its logarithm rounds to the whole exponent.
    for (int exponent = -307; exponent <= 308; ++exponent) {
        const QByteArray text = "1e" + QByteArray::number(exponent);
        const double x = QByteArray(text).toDouble();
        if (decimalLogarithm(x) != static_cast<double>(exponent)) {
            QFAIL(qPrintable("log10(" + text + ") = " + hex(decimalLogarithm(x))));
        }
    }
    QCOMPARE(decimalLogarithm(1.0), 0.0);
    QVERIFY(!std::signbit(decimalLogarithm(1.0)));
}

void DecimalLogarithmTest::edgeCasesAreCorrectlyRounded_data() {
    QTest::addColumn<double>("x");
    QTest::newRow("smallest subnormal") << denormal;
    QTest::newRow("three subnormal units") << 3.0 * denormal;
    QTest::newRow("largest subnormal") << smallest - denormal;
    QTest::newRow("a subnormal") << 0x0.123456789abcdp-1022;
    QTest::newRow("smallest normal") << smallest;
    QTest::newRow("largest") << largest;
    QTest::newRow("just below 1") << std::nextafter(1.0, 0.0);
    QTest::newRow("just above 1") << std::nextafter(1.0, 2.0);
    QTest::newRow("1 - 2^-30") << 1.0 - 0x1p-30;
    QTest::newRow("1 + 2^-30") << 1.0 + 0x1p-30;
    QTest::newRow("1 + 2^-7") << 1.0 + 0x1p-7;
    QTest::newRow("root of half") << rootHalf;
    QTest::newRow("below the root of half") << std::nextafter(rootHalf, 0.0);
    QTest::newRow("above the root of half") << std::nextafter(rootHalf, 1.0);
    QTest::newRow("root of two") << 2.0 * rootHalf;
    QTest::newRow("below the root of two") << std::nextafter(2.0 * rootHalf, 0.0);
    QTest::newRow("2") << 2.0;
    QTest::newRow("0.5") << 0.5;
    QTest::newRow("2^1000") << 0x1p1000;
    QTest::newRow("2^-1000") << 0x1p-1000;
    QTest::newRow("just below 10") << std::nextafter(10.0, 0.0);
    QTest::newRow("just above 10") << std::nextafter(10.0, 11.0);
    QTest::newRow("water's product") << 1e-14;
    QTest::newRow("root of water's product") << 1e-7;
    QTest::newRow("activity floor") << 1e-6;
    QTest::newRow("one third") << 1.0 / 3.0;
    QTest::newRow("pi") << 3.141592653589793;
}

void DecimalLogarithmTest::edgeCasesAreCorrectlyRounded() {
    QFETCH(double, x);
    if (std::numeric_limits<long double>::digits < 64) {
        QSKIP("no long double wider than double to compare with");
    }
    QByteArray why;
    QVERIFY2(correctlyRounded(x, decimalLogarithm(x), why), why.constData());
}

void DecimalLogarithmTest::drawnValuesAreCorrectlyRounded() {
    if (std::numeric_limits<long double>::digits < 64) {
        QSKIP("no long double wider than double to compare with");
    }
    for (double x : drawnValues()) {
        QByteArray why;
        if (!correctlyRounded(x, decimalLogarithm(x), why)) {
            QFAIL(why.constData());
        }
    }
}

void DecimalLogarithmTest::increasesWithItsArgument_data() {
    QTest::addColumn<double>("from");
    QTest::newRow("across 1") << 1.0 - 0x1p-45;
    QTest::newRow("across the root of half") << rootHalf - 0x1p-46;
    QTest::newRow("across the root of two") << 2.0 * rootHalf - 0x1p-45;
    QTest::newRow("across 10") << 10.0 - 0x1p-42;
    QTest::newRow("across the smallest normal") << smallest - 256.0 * denormal;
}

void DecimalLogarithmTest::increasesWithItsArgument() {
    // The reduction switches at these points: the results on both sides
    // must still meet without a step back.
    QFETCH(double, from);
    double x = from;
    double previous = decimalLogarithm(x);
    for (int i = 0; i < 512; ++i) {
        x = std::nextafter(x, inf);
        const double y = decimalLogarithm(x);
        if (y < previous) {
            QFAIL(qPrintable("log10 falls from " + hex(previous) + " to " + hex(y) + " at " +
                             hex(x)));
        }
        previous = y;
    }
}

QTEST_APPLESS_MAIN(DecimalLogarithmTest)
#include "DecimalLogarithmTest.moc"
