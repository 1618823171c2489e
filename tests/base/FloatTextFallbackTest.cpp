// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/FloatTextFallback.h"
#include "base/Numbers.h"

#include <QtTest>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

using namespace Ionaria::base;

namespace {

// The forms and precisions in which the program writes its numbers: the
// general number format, the CSV, the calculator's two displays and the
// digits of the display patterns.
struct Form {
    FloatForm form;
    int precision;
};
const std::vector<Form> programForms = {
    {FloatForm::General, 7},    {FloatForm::General, 10},    {FloatForm::General, 15},
    {FloatForm::Scientific, 7}, {FloatForm::Scientific, 14}, {FloatForm::General, 17},
    {FloatForm::Fixed, 2},      {FloatForm::Fixed, 6},
};

std::vector<double> trickyValues() {
    constexpr double max = std::numeric_limits<double>::max();
    constexpr double min = std::numeric_limits<double>::min();
    constexpr double denormal = std::numeric_limits<double>::denorm_min();
    constexpr double inf = std::numeric_limits<double>::infinity();
    std::vector<double> values = {
        0.0, -0.0, 0.5, 0.125, 0.375, 2.5, 1.5, -2.5, 1e23, 9.5,
        // Exact binary halves at the precisions used.
        1.0000005, 12345.125, 0.0009765625, 1.00000000000005,
        // Nines that carry into a new leading digit.
        9.9999995, 99999.995, 0.99999999995, 9.99999999999999e-5, 999999999999999.5,
        9007199254740993.0, 9007199254740992.0, 1e-4, 1e-5, 1e7, 1e15, 1e16, 1e17, 1e300, 1e-300,
        0.1, 0.2, 0.3, 1.0 / 3.0, 2.0 / 3.0, 96485.33212, 8.314462618, 298.15, max, -max, min, -min,
        denormal, -denormal, min - denormal, inf, -inf, std::numeric_limits<double>::quiet_NaN()};
    for (int exponent = -30; exponent <= 30; ++exponent) {
        values.push_back(std::pow(10.0, exponent));
        values.push_back(5.0 * std::pow(10.0, exponent));
    }
    return values;
}

QByteArray describe(double value, const Form& form) {
    return QByteArray::number(value, 'g', 17) + " form " +
           QByteArray::number(static_cast<int>(form.form)) + " precision " +
           QByteArray::number(form.precision);
}

} // namespace

class FloatTextFallbackTest : public QObject {
    Q_OBJECT

private slots:
    // The fallback is only right where the C library ignores the locale; the
    // desktop's glibc does not, so the comparison runs in the "C" locale.
    void initTestCase() { std::setlocale(LC_ALL, "C"); }

    void writesTrickyValuesAsToChars() {
        for (const double value : trickyValues()) {
            for (const Form& form : programForms) {
                const std::string expected = writeFloat(value, form.form, form.precision);
                QVERIFY2(fallbackWriteFloat(value, form.form, form.precision) == expected,
                         describe(value, form).constData());
            }
        }
    }

    void writesRandomDoublesAsToChars() {
        // Random bit patterns reach every exponent; values of a few decimal
        // digits, scaled, reach the ties and carries of the program's ranges.
        std::mt19937_64 generator(20261208);
        std::uniform_int_distribution<int> digits(1, 999999);
        std::uniform_int_distribution<int> exponent(-12, 12);
        for (int i = 0; i < 200000; ++i) {
            double value = std::bit_cast<double>(generator());
            if (i % 2 == 1) {
                value = digits(generator) * std::pow(10.0, exponent(generator));
            }
            for (const Form& form : programForms) {
                if (form.form == FloatForm::Fixed && std::fabs(value) > 1e30) {
                    continue;
                }
                const std::string expected = writeFloat(value, form.form, form.precision);
                if (fallbackWriteFloat(value, form.form, form.precision) != expected) {
                    QFAIL(describe(value, form).constData());
                }
            }
        }
    }

    void readsAsFromChars_data() {
        QTest::addColumn<QByteArray>("text");
        for (const char* text : {"0",
                                 "-0",
                                 "0.25",
                                 "1.",
                                 ".5",
                                 "-.5",
                                 "1e5",
                                 "1E5",
                                 "1e+05",
                                 "1e-05",
                                 "2.5e-3",
                                 "1e400",
                                 "-1e400",
                                 "1e-400",
                                 "0e-400",
                                 "0e400",
                                 "4.9e-324",
                                 "2.4703282292062327e-324",
                                 "2.4703282292062328e-324",
                                 "1e-320",
                                 "2.2250738585072011e-308",
                                 "1.7976931348623157e308",
                                 "1.7976931348623159e308",
                                 "9007199254740993",
                                 "0.1000000000000000055511151231257827",
                                 "",
                                 "-",
                                 ".",
                                 "e5",
                                 "1e",
                                 "1e+",
                                 "1e-",
                                 "+1",
                                 " 1",
                                 "1 ",
                                 "1,5",
                                 "0x1p3",
                                 "0X10",
                                 "inf",
                                 "-inf",
                                 "nan",
                                 "infinity",
                                 "1.5.2",
                                 "1e5.5",
                                 "--1",
                                 "1-2",
                                 "00012",
                                 "96485.33212"}) {
            QTest::newRow(text) << QByteArray(text);
        }
    }
    void readsAsFromChars() {
        QFETCH(QByteArray, text);
        const FloatRead expected = readFloat(text.toStdString());
        const FloatRead read = fallbackReadFloat(text.toStdString());
        QCOMPARE(static_cast<int>(read.status), static_cast<int>(expected.status));
        QCOMPARE(std::bit_cast<std::uint64_t>(read.value),
                 std::bit_cast<std::uint64_t>(expected.value));
    }

    void readsBackWhatItWrites() {
        std::mt19937_64 generator(1208);
        for (int i = 0; i < 200000; ++i) {
            const double value = std::bit_cast<double>(generator());
            if (!std::isfinite(value)) {
                continue;
            }
            const std::string text = writeFloat(value, FloatForm::General, 17);
            const FloatRead read = fallbackReadFloat(text);
            const FloatRead expected = readFloat(text);
            if (read.status != expected.status ||
                std::bit_cast<std::uint64_t>(read.value) !=
                    std::bit_cast<std::uint64_t>(expected.value)) {
                QFAIL(text.c_str());
            }
        }
    }
};

QTEST_APPLESS_MAIN(FloatTextFallbackTest)
#include "FloatTextFallbackTest.moc"
