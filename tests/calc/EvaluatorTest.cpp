// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/Evaluator.h"
#include "calc/CalculCommand.h"
#include "calc/NumberText.h"
#include "calc/ResultDisplay.h"
#include "support/Locales.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <sstream>

using namespace Ionaria::calc;
using Ionaria::testing::addRowsInEveryLocale;

namespace {

QByteArray bytes(const std::string& text) {
    return QByteArray::fromStdString(text);
}

} // namespace

class EvaluatorTest : public QObject {
    Q_OBJECT

private slots:
    void calculTable_data();
    void calculTable();
    void passLimit();
    void lengthLimit_data();
    void lengthLimit();
    void blankDisplayLeavesOperators();
    void simplifieTable_data();
    void simplifieTable();
    void formatNumberTable_data();
    void formatNumberTable();
    void formatNumberRoundTrip();
    void formatScientificTable_data();
    void formatScientificTable();
    void readNumberTable_data();
    void readNumberTable();
    void readLeadingNumberTable_data();
    void readLeadingNumberTable();
    void texteResultatTable_data();
    void texteResultatTable();
    void commandTable_data();
    void commandTable();
    void expressionEcriteTable_data();
    void expressionEcriteTable();
};

// One row a case of the evaluator, worked out by hand: a table longer than a
// function should be, and plainer so than cut in pieces.
// NOLINTNEXTLINE(readability-function-size)
void EvaluatorTest::calculTable_data() {
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArray>("expression");
    QTest::addColumn<bool>("radians");
    QTest::addColumn<QByteArray>("result");
    QTest::addColumn<int>("code");

    // Order of the operators.
    addRowsInEveryLocale("product first", QByteArray("2 + 3 * 4"), false, QByteArray("14"), 0);
    addRowsInEveryLocale("power from the left", QByteArray("2 ^ 3 ^ 2"), false, QByteArray("64"),
                         0);
    addRowsInEveryLocale("group first", QByteArray("(2 + 3) * 4"), false, QByteArray("20"), 0);
    addRowsInEveryLocale("double minus", QByteArray("-(-5)"), false, QByteArray("5"), 0);
    addRowsInEveryLocale("divisions left to right", QByteArray("8 / 2 / 2"), false, QByteArray("2"),
                         0);
    addRowsInEveryLocale("division then product", QByteArray("6 / 3 * 2"), false, QByteArray("4"),
                         0);
    addRowsInEveryLocale("minus then plus", QByteArray("10 - 2 + 3"), false, QByteArray("11"), 0);
    addRowsInEveryLocale("chained minus", QByteArray("1 - 2 - 3"), false, QByteArray("-4"), 0);
    addRowsInEveryLocale("mixed chain", QByteArray("10 - 2 + 3 - 1"), false, QByteArray("10"), 0);
    addRowsInEveryLocale("negative operand", QByteArray("5 * -3"), false, QByteArray("-15"), 0);
    addRowsInEveryLocale("negative exponent", QByteArray("2 ^ -2"), false, QByteArray(".25"), 0);
    addRowsInEveryLocale("minus minus", QByteArray("2 - -3"), false, QByteArray("5"), 0);
    addRowsInEveryLocale("signed group", QByteArray("-(2 + 3) * 2"), false, QByteArray("-10"), 0);
    addRowsInEveryLocale("nested groups", QByteArray("((1 + 2) * (3 + 4)) / 7"), false,
                         QByteArray("3"), 0);
    addRowsInEveryLocale("exponent sign kept", QByteArray("1.5E-3 + 1"), false,
                         QByteArray("1.0015"), 0);
    addRowsInEveryLocale("prefix kilo", QByteArray("4.7E+3"), false, QByteArray("4.7E+3"), 0);
    addRowsInEveryLocale("prefix kilo in a sum", QByteArray("4.7E+3 + 0"), false,
                         QByteArray("4700"), 0);
    addRowsInEveryLocale("exponent letter D", QByteArray("1.5D2 + 0"), false, QByteArray("150"), 0);
    addRowsInEveryLocale("no blanks typed", QByteArray("2+3*4"), false, QByteArray("14"), 0);

    // Functions in degrees.
    addRowsInEveryLocale("sin 30", QByteArray("SIN 30"), false, QByteArray(".5"), 0);
    addRowsInEveryLocale("sin of a group", QByteArray("sin (10 + 20)"), false, QByteArray(".5"), 0);
    addRowsInEveryLocale("cos 60", QByteArray("cos 60"), false, QByteArray(".5"), 0);
    addRowsInEveryLocale("tan 45", QByteArray("tan 45"), false, QByteArray("1"), 0);
    addRowsInEveryLocale("sin -30", QByteArray("sin -30"), false, QByteArray("-.5"), 0);
    addRowsInEveryLocale("minus sin", QByteArray("2 - sin 30"), false, QByteArray("1.5"), 0);
    addRowsInEveryLocale("inv sin 1", QByteArray("INV SIN 1"), false, QByteArray("90"), 0);
    addRowsInEveryLocale("inv sin key", QByteArray("invSIN .5"), false, QByteArray("30"), 0);
    addRowsInEveryLocale("inv cos 1", QByteArray("INV COS 1"), false, QByteArray("0"), 0);
    addRowsInEveryLocale("inv cos 0", QByteArray("invCOS 0"), false, QByteArray("90"), 0);
    addRowsInEveryLocale("inv tan 1", QByteArray("invTAN 1"), false, QByteArray("45"), 0);
    addRowsInEveryLocale("nested functions", QByteArray("sin -sin 30"), false,
                         QByteArray("-.00872653549837393"), 0);
    addRowsInEveryLocale("function times group", QByteArray("2 * sin (15 * 2) + 1"), false,
                         QByteArray("2"), 0);

    // Functions that do not depend on the angle, and in radians.
    addRowsInEveryLocale("ln 1", QByteArray("LN 1"), false, QByteArray("0"), 0);
    addRowsInEveryLocale("ln of a group", QByteArray("ln (1 + 1)"), false,
                         QByteArray(".693147180559945"), 0);
    addRowsInEveryLocale("log 1000", QByteArray("log 1000"), false, QByteArray("3"), 0);
    addRowsInEveryLocale("exp 1", QByteArray("exp 1"), true, QByteArray("2.71828182845905"), 0);
    addRowsInEveryLocale("square root key", QByteArray("SQR 16"), false, QByteArray("4"), 0);
    addRowsInEveryLocale("square root of a group", QByteArray("SQR (9 + 7)"), false,
                         QByteArray("4"), 0);
    addRowsInEveryLocale("square root glyph",
                         QByteArray("\xC3\xB9"
                                    "25"),
                         false, QByteArray("5"), 0);
    addRowsInEveryLocale("rad sin 0", QByteArray("sin 0"), true, QByteArray("0"), 0);
    addRowsInEveryLocale("rad cos 0", QByteArray("cos 0"), true, QByteArray("1"), 0);
    addRowsInEveryLocale("rad sin 30", QByteArray("sin 30"), true, QByteArray("-.988031624092862"),
                         0);
    addRowsInEveryLocale("rad inv tan 1", QByteArray("invTAN 1"), true,
                         QByteArray(".785398163397448"), 0);
    addRowsInEveryLocale("rad inv sin 1", QByteArray("invSIN 1"), true,
                         QByteArray("1.5707963267949"), 0);
    addRowsInEveryLocale("rad inv cos -1", QByteArray("invCOS -1"), true,
                         QByteArray("3.14159265358979"), 0);

    // Number form written back.
    addRowsInEveryLocale("small exponent", QByteArray("1 / 100000"), false, QByteArray("1E-05"), 0);
    addRowsInEveryLocale("large exponent", QByteArray("10 ^ 20"), false, QByteArray("1E+20"), 0);
    addRowsInEveryLocale("fifteen digits", QByteArray("2 / 3"), false,
                         QByteArray(".666666666666667"), 0);
    addRowsInEveryLocale("last fixed power", QByteArray("10 ^ 14"), false,
                         QByteArray("100000000000000"), 0);
    addRowsInEveryLocale("first exponent power", QByteArray("10 ^ 15"), false, QByteArray("1E+15"),
                         0);

    // Errors.
    addRowsInEveryLocale("division by zero", QByteArray("1 / 0"), false, QByteArray(), 1);
    addRowsInEveryLocale("root of a negative", QByteArray("SQR -4"), false, QByteArray(), 1);
    addRowsInEveryLocale("log of zero", QByteArray("ln 0"), false, QByteArray(), 1);
    addRowsInEveryLocale("decimal log of a negative", QByteArray("log -1"), false, QByteArray(), 1);
    addRowsInEveryLocale("arc sine beyond 1", QByteArray("invSIN 2"), false, QByteArray(), 1);
    addRowsInEveryLocale("overflow", QByteArray("10 ^ 400"), false, QByteArray(), 1);
    addRowsInEveryLocale("product overflow", QByteArray("1E308 * 10"), false, QByteArray(), 1);
    addRowsInEveryLocale("root of a negative base", QByteArray("(-8) ^ (1 / 3)"), false,
                         QByteArray(), 1);
    addRowsInEveryLocale("failed group keeps its place", QByteArray("2 ^ (0 ^ -1)"), false,
                         QByteArray(), 1);
    addRowsInEveryLocale("open parenthesis", QByteArray("(2 + 3"), false, QByteArray(), 2);
    addRowsInEveryLocale("missing operand", QByteArray("2 *"), false, QByteArray(), 3);
    addRowsInEveryLocale("parentheses win", QByteArray("2 * (3"), false, QByteArray(), 2);
    addRowsInEveryLocale("two operators", QByteArray("2 * / 3"), false, QByteArray(), 3);
    addRowsInEveryLocale("trailing plus", QByteArray("2 +"), false, QByteArray(), 1);
    addRowsInEveryLocale("reversed parentheses", QByteArray(")2("), false, QByteArray(), 1);
    addRowsInEveryLocale("unfinished exponent", QByteArray("2E * 3"), false, QByteArray(), 1);
    addRowsInEveryLocale("lone exponent letter", QByteArray("E"), false, QByteArray(), 1);
    addRowsInEveryLocale("empty group", QByteArray("()"), false, QByteArray(), 1);
    addRowsInEveryLocale("empty", QByteArray(""), false, QByteArray(), 1);
    addRowsInEveryLocale("unknown function", QByteArray("sin x"), false, QByteArray(), 1);
}

void EvaluatorTest::calculTable() {
    QFETCH(QByteArray, locale);
    IONARIA_USE_LOCALE(locale.constData());
    QFETCH(QByteArray, expression);
    QFETCH(bool, radians);
    QFETCH(QByteArray, result);
    QFETCH(int, code);
    std::string texte = expression.toStdString();
    std::int16_t codeErreur = -1;
    calcul(texte, codeErreur, radians ? kRadians : std::int16_t{0});
    QCOMPARE(int(codeErreur), code);
    if (code == 0) {
        QCOMPARE(bytes(texte), result);
    }
}

void EvaluatorTest::passLimit() {
    Evaluator evaluateur(0, false);
    std::string texte = "1 / 0";
    std::int16_t codeErreur = 0;
    evaluateur.calcul(texte, codeErreur);
    QCOMPARE(int(codeErreur), 1);
    QCOMPARE(evaluateur.passes(), Evaluator::kMaxPasses + 1);

    texte = "2 + 3 * 4";
    evaluateur.calcul(texte, codeErreur);
    QCOMPARE(int(codeErreur), 0);
    QVERIFY(evaluateur.passes() < 5);
}

// Sums of ones padded with blanks to an exact length: the longest expression
// is evaluated as before, one byte more is refused untouched.
void EvaluatorTest::lengthLimit_data() {
    QTest::addColumn<QByteArray>("expression");
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("result");
    const auto sumOfLength = [](std::size_t length) {
        QByteArray text = "1";
        while (static_cast<std::size_t>(text.size()) + 4 <= length) {
            text += " + 1";
        }
        return text.leftJustified(static_cast<qsizetype>(length), ' ');
    };
    const QByteArray atLimit = sumOfLength(kLongueurMax);
    QTest::newRow("at the limit") << atLimit << 0 << QByteArray::number(atLimit.count('1'));
    QTest::newRow("one byte more") << sumOfLength(kLongueurMax + 1) << 4 << QByteArray();
    QTest::newRow("what the box takes") << sumOfLength(32767) << 4 << QByteArray();
}

void EvaluatorTest::lengthLimit() {
    QFETCH(QByteArray, expression);
    QFETCH(int, code);
    QFETCH(QByteArray, result);
    Evaluator evaluateur(0, false);
    std::string texte = expression.toStdString();
    std::int16_t codeErreur = -1;
    evaluateur.calcul(texte, codeErreur);
    QCOMPARE(int(codeErreur), code);
    if (code == 0) {
        QCOMPARE(bytes(texte), result);
    } else {
        QCOMPARE(bytes(texte), expression);
        QCOMPARE(evaluateur.passes(), 0);
    }
}

void EvaluatorTest::blankDisplayLeavesOperators() {
    std::string texte = "2 + 3";
    std::int16_t codeErreur = 0;
    calcul(texte, codeErreur, 0, true);
    QCOMPARE(int(codeErreur), 1);
    QCOMPARE(bytes(texte), QByteArray(" 2 + 3 "));
}

void EvaluatorTest::simplifieTable_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");
    QTest::newRow("sign after operator") << QByteArray("5*-3") << QByteArray(" 5 * -3 ");
    QTest::newRow("exponent sign") << QByteArray("1.5e-3+1") << QByteArray(" 1.5E-3 + 1 ");
    QTest::newRow("exponent plus") << QByteArray("4.7E+3-1") << QByteArray(" 4.7E+3 - 1 ");
    QTest::newRow("unwrapped negative") << QByteArray("-(-5)") << QByteArray(" 5 ");
    QTest::newRow("unwrapped decimal") << QByteArray("(3.2)*2") << QByteArray(" 3.2 * 2 ");
    QTest::newRow("exponent stays wrapped") << QByteArray("(1E-3)") << QByteArray(" (1E-3) ");
    QTest::newRow("minus minus") << QByteArray("2 - -3") << QByteArray(" 2 + 3 ");
    QTest::newRow("triple minus") << QByteArray("2---3") << QByteArray(" 2 - 3 ");
    QTest::newRow("leading plus") << QByteArray("+5") << QByteArray(" 5 ");
    QTest::newRow("group kept") << QByteArray("2*(3+4)") << QByteArray(" 2 * (3 + 4) ");
    QTest::newRow("sign after parenthesis") << QByteArray("(-3+4)") << QByteArray(" (-3 + 4) ");
    QTest::newRow("inv sin") << QByteArray("invSIN 1") << QByteArray(" ISI 1 ");
    QTest::newRow("inv cos") << QByteArray("invcos1") << QByteArray(" ICO 1 ");
    QTest::newRow("inv tan") << QByteArray("INV TAN 1") << QByteArray(" ITA 1 ");
    QTest::newRow("ln") << QByteArray("ln 2") << QByteArray(" LON 2 ");
    QTest::newRow("ln respaced") << QByteArray("LON2") << QByteArray(" LON 2 ");
    QTest::newRow("root glyph") << QByteArray("\xC3\xB9"
                                              "9")
                                << QByteArray(" SQR 9 ");
    QTest::newRow("function sign") << QByteArray("sin-30") << QByteArray(" SIN -30 ");
    QTest::newRow("power") << QByteArray("2^3") << QByteArray(" 2 ^ 3 ");
    QTest::newRow("empty") << QByteArray("") << QByteArray("  ");
}

void EvaluatorTest::simplifieTable() {
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);
    std::string texte = input.toStdString();
    Evaluator(0, false).simplifie(texte);
    QCOMPARE(bytes(texte), output);
}

void EvaluatorTest::formatNumberTable_data() {
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");
    addRowsInEveryLocale("half", 0.5, QByteArray(".5"));
    addRowsInEveryLocale("negative half", -0.5, QByteArray("-.5"));
    addRowsInEveryLocale("whole", 14.0, QByteArray("14"));
    addRowsInEveryLocale("negative zero", -0.0, QByteArray("0"));
    addRowsInEveryLocale("last fixed small", 1e-4, QByteArray(".0001"));
    addRowsInEveryLocale("first exponent small", 1e-5, QByteArray("1E-05"));
    addRowsInEveryLocale("large", 1e20, QByteArray("1E+20"));
    addRowsInEveryLocale("three exponent digits", -2.5e-100, QByteArray("-2.5E-100"));
    addRowsInEveryLocale("rounded to 15 digits", 123456789.123456789,
                         QByteArray("123456789.123457"));
    addRowsInEveryLocale("rounding carries", 0.9999999999999999, QByteArray("1"));
}

void EvaluatorTest::formatNumberTable() {
    QFETCH(QByteArray, locale);
    IONARIA_USE_LOCALE(locale.constData());
    QFETCH(double, value);
    QFETCH(QByteArray, text);
    const auto written = formatNumber(value);
    QVERIFY(written.has_value());
    QCOMPARE(bytes(*written), text);
}

void EvaluatorTest::formatNumberRoundTrip() {
    QVERIFY(!formatNumber(std::numeric_limits<double>::infinity()));
    QVERIFY(!formatNumber(std::numeric_limits<double>::quiet_NaN()));
    QVERIFY(!formatNumber(std::numeric_limits<double>::max()));
    for (const double value : {1.0 / 3.0, -2.0 / 7.0, 6.02214076e23, 1.602176634e-19, 299792458.0,
                               1.79769313486231e308, std::numeric_limits<double>::denorm_min()}) {
        const auto written = formatNumber(value);
        QVERIFY(written.has_value());
        const ReadResult back = readNumber(*written);
        QCOMPARE(int(back.status), int(ReadStatus::Ok));
        QVERIFY2(std::fabs(back.value - value) <= std::fabs(value) * 1e-14, written->c_str());
    }
}

void EvaluatorTest::formatScientificTable_data() {
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");
    addRowsInEveryLocale("fourteen", 14.0, QByteArray("1.4E+01"));
    addRowsInEveryLocale("one", 1.0, QByteArray("1E+00"));
    addRowsInEveryLocale("zero", 0.0, QByteArray("0E+00"));
    addRowsInEveryLocale("negative small", -0.0025, QByteArray("-2.5E-03"));
    addRowsInEveryLocale("seven decimals", 123456789.0, QByteArray("1.2345679E+08"));
    addRowsInEveryLocale("rounding carries", 9.999999999, QByteArray("1E+01"));
    addRowsInEveryLocale("three exponent digits", 1e150, QByteArray("1E+150"));
}

void EvaluatorTest::formatScientificTable() {
    QFETCH(QByteArray, locale);
    IONARIA_USE_LOCALE(locale.constData());
    QFETCH(double, value);
    QFETCH(QByteArray, text);
    const auto written = formatScientific(value);
    QVERIFY(written.has_value());
    QCOMPARE(bytes(*written), text);
}

void EvaluatorTest::readNumberTable_data() {
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArray>("token");
    QTest::addColumn<int>("status");
    QTest::addColumn<double>("value");
    const int ok = int(ReadStatus::Ok);
    const int malformed = int(ReadStatus::Malformed);
    const int overflow = int(ReadStatus::Overflow);
    addRowsInEveryLocale("exponent", QByteArray("1.5E-3"), ok, 0.0015);
    addRowsInEveryLocale("no leading zero", QByteArray("-.5"), ok, -0.5);
    addRowsInEveryLocale("letter D", QByteArray("1D2"), ok, 100.0);
    addRowsInEveryLocale("lower case", QByteArray("2e3"), ok, 2000.0);
    addRowsInEveryLocale("plus sign", QByteArray("+3"), ok, 3.0);
    addRowsInEveryLocale("trailing point", QByteArray("5."), ok, 5.0);
    addRowsInEveryLocale("underflow", QByteArray("1E-999"), ok, 0.0);
    addRowsInEveryLocale("underflow with digits", QByteArray("123.4E-400"), ok, 0.0);
    addRowsInEveryLocale("overflow", QByteArray("1E999"), overflow, 0.0);
    addRowsInEveryLocale("overflow with fraction", QByteArray(".5E309"), overflow, 0.0);
    addRowsInEveryLocale("huge exponent", QByteArray("1E99999999999999999999"), overflow, 0.0);
    addRowsInEveryLocale("exponent without digits", QByteArray("2E"), malformed, 0.0);
    addRowsInEveryLocale("point only", QByteArray("."), malformed, 0.0);
    addRowsInEveryLocale("two points", QByteArray("2.3.4"), malformed, 0.0);
    addRowsInEveryLocale("decimal comma", QByteArray("2,5"), malformed, 0.0);
    addRowsInEveryLocale("empty", QByteArray(""), malformed, 0.0);
    addRowsInEveryLocale("word", QByteArray("SIN"), malformed, 0.0);
    addRowsInEveryLocale("infinity word", QByteArray("inf"), malformed, 0.0);
}

void EvaluatorTest::readNumberTable() {
    QFETCH(QByteArray, locale);
    IONARIA_USE_LOCALE(locale.constData());
    QFETCH(QByteArray, token);
    QFETCH(int, status);
    QFETCH(double, value);
    const ReadResult read = readNumber(token.toStdString());
    QCOMPARE(int(read.status), status);
    if (status == int(ReadStatus::Ok)) {
        QCOMPARE(read.value, value);
    }
}

void EvaluatorTest::readLeadingNumberTable_data() {
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("value");
    addRowsInEveryLocale("standard display", QByteArray(" 14"), 14.0);
    addRowsInEveryLocale("scientific display", QByteArray("1.4E+01"), 14.0);
    addRowsInEveryLocale("expression", QByteArray("2 * 3"), 2.0);
    addRowsInEveryLocale("message", QByteArray("Calcul impossible"), 0.0);
    addRowsInEveryLocale("empty", QByteArray(""), 0.0);
    addRowsInEveryLocale("unfinished exponent", QByteArray("2E"), 2.0);
    addRowsInEveryLocale("negative", QByteArray(" -3.5"), -3.5);
}

void EvaluatorTest::readLeadingNumberTable() {
    QFETCH(QByteArray, locale);
    IONARIA_USE_LOCALE(locale.constData());
    QFETCH(QByteArray, text);
    QFETCH(double, value);
    const ReadResult read = readLeadingNumber(text.toStdString());
    QCOMPARE(int(read.status), int(ReadStatus::Ok));
    QCOMPARE(read.value, value);
}

void EvaluatorTest::texteResultatTable_data() {
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArray>("result");
    QTest::addColumn<bool>("scientifique");
    QTest::addColumn<QByteArray>("shown");
    QTest::addColumn<bool>("numerique");
    addRowsInEveryLocale("standard", QByteArray("14"), false, QByteArray(" 14"), true);
    addRowsInEveryLocale("standard half", QByteArray(".5"), false, QByteArray(" .5"), true);
    addRowsInEveryLocale("standard negative", QByteArray("-15"), false, QByteArray("-15"), true);
    addRowsInEveryLocale("standard zero", QByteArray("0"), false, QByteArray(" 0"), true);
    addRowsInEveryLocale("standard prefix", QByteArray("4.7E+3"), false, QByteArray(" 4700"), true);
    addRowsInEveryLocale("scientific", QByteArray("14"), true, QByteArray("1.4E+01"), true);
    addRowsInEveryLocale("scientific negative", QByteArray("-15"), true, QByteArray("-1.5E+01"),
                         true);
    addRowsInEveryLocale("overflow", QByteArray("1E999"), false,
                         QByteArray("Dépassement de capacité"), false);
    addRowsInEveryLocale("overflow scientific", QByteArray("-1E999"), true,
                         QByteArray("Dépassement de capacité"), false);
}

void EvaluatorTest::texteResultatTable() {
    QFETCH(QByteArray, locale);
    IONARIA_USE_LOCALE(locale.constData());
    QFETCH(QByteArray, result);
    QFETCH(bool, scientifique);
    QFETCH(QByteArray, shown);
    QFETCH(bool, numerique);
    const TexteResultat texte = texteResultat(result.toStdString(), scientifique);
    QCOMPARE(bytes(texte.texte), shown);
    QCOMPARE(texte.numerique, numerique);
}

void EvaluatorTest::commandTable_data() {
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArray>("expression");
    QTest::addColumn<bool>("radians");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<int>("status");
    addRowsInEveryLocale("result", QByteArray("2 + 3 * 4"), false, QByteArray(" 14\n"), 0);
    addRowsInEveryLocale("negative result", QByteArray("5 * -3"), false, QByteArray("-15\n"), 0);
    addRowsInEveryLocale("degrees", QByteArray("sin 30"), false, QByteArray(" .5\n"), 0);
    addRowsInEveryLocale("radians", QByteArray("sin 90"), true, QByteArray(" .893996663600558\n"),
                         0);
    addRowsInEveryLocale("code 1", QByteArray("1 / 0"), false, QByteArray("Calcul impossible\n"),
                         1);
    addRowsInEveryLocale("code 2", QByteArray("(2 + 3"), false,
                         QByteArray("Erreur saisie: revoir les parenthèses\n"), 1);
    addRowsInEveryLocale("code 3", QByteArray("2 *"), false,
                         QByteArray("Erreur saisie: incompréhension sur opérateurs: ^ * / + -\n"),
                         1);
    addRowsInEveryLocale("overflow", QByteArray("1E999"), false,
                         QByteArray("Dépassement de capacité\n"), 1);
    addRowsInEveryLocale("code 4", QByteArray(501, '1'), false,
                         QByteArray("Erreur saisie: expression trop longue (500 caractères "
                                    "au plus)\n"),
                         1);
    // A pupil's writing: the decimal comma, the multiplication and division
    // signs.
    addRowsInEveryLocale("decimal comma", QByteArray("0,25*2"), false, QByteArray(" .5\n"), 0);
    addRowsInEveryLocale("Faraday", QByteArray("0,25*1800*63,5/(2*96500)"), false,
                         QByteArray(" .148056994818653\n"), 0);
    addRowsInEveryLocale("comma and exponent", QByteArray("1,5e-3/2"), false,
                         QByteArray(" .00075\n"), 0);
    addRowsInEveryLocale("signs", QByteArray("3\u00D74\u00F72\u00B75"), false, QByteArray(" 30\n"),
                         0);
    addRowsInEveryLocale("comma without digits", QByteArray("2*,"), false,
                         QByteArray("Calcul impossible\n"), 1);
}

void EvaluatorTest::commandTable() {
    QFETCH(QByteArray, locale);
    IONARIA_USE_LOCALE(locale.constData());
    QFETCH(QByteArray, expression);
    QFETCH(bool, radians);
    QFETCH(QByteArray, output);
    QFETCH(int, status);
    std::ostringstream out;
    QCOMPARE(runCalculCommand(expression.toStdString(), radians, out), status);
    QCOMPARE(bytes(out.str()), output);
}

void EvaluatorTest::expressionEcriteTable_data() {
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QByteArray>("read");
    QTest::newRow("commas") << QByteArray("0,25*63,5") << QByteArray("0.25*63.5");
    QTest::newRow("times") << QByteArray("2\u00D73") << QByteArray("2*3");
    QTest::newRow("middle dot") << QByteArray("2 \u00B7 3") << QByteArray("2 * 3");
    QTest::newRow("divided by") << QByteArray("6\u00F73") << QByteArray("6/3");
    // Other letters, even of two bytes, pass unchanged for the evaluator to
    // refuse.
    QTest::newRow("others kept") << QByteArray("\u00E9\u00C3+\u00C2")
                                 << QByteArray("\u00E9\u00C3+\u00C2");
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void EvaluatorTest::expressionEcriteTable() {
    QFETCH(QByteArray, written);
    QFETCH(QByteArray, read);
    QCOMPARE(bytes(expressionEcrite(written.toStdString())), read);
}

QTEST_APPLESS_MAIN(EvaluatorTest)
#include "EvaluatorTest.moc"
