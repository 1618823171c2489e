// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/Keypad.h"
#include "calc/Machine.h"

#include <QPushButton>
#include <QtTest>

#include <set>
#include <string>

using Ionaria::calc::Keypad;
using Ionaria::calc::keypadKeys;
using Ionaria::calc::Machine;

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

// The keypad without a window, as the browser drives it: the window's own
// behaviour is checked through its buttons in MachineTest.
class KeypadTest : public QObject {
    Q_OBJECT

private slots:
    void everyKeyIsAButtonOfTheWindow();
    void typedCharacters_data();
    void typedCharacters();
    void eraseKeepsWholeCharacters_data();
    void eraseKeepsWholeCharacters();
    void errorsBeepAndKeepTheExpression();
    void memoryIsSharedBetweenKeypads();
};

void KeypadTest::everyKeyIsAButtonOfTheWindow() {
    Machine machine;
    std::set<std::string_view> names;
    for (const auto& key : keypadKeys()) {
        QVERIFY2(names.insert(key.name).second, key.name.data());
        auto* button = machine.findChild<QPushButton*>(fromUtf8(key.name));
        QVERIFY2(button != nullptr, key.name.data());
        QCOMPARE(button->text(), fromUtf8(key.caption));
        QCOMPARE(button->toolTip(), fromUtf8(key.tooltip));
    }
    QCOMPARE(static_cast<qsizetype>(names.size()), machine.findChildren<QPushButton*>().size());
}

void KeypadTest::typedCharacters_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("display");
    QTest::newRow("digits and exponent letters") << "1e2d3"
                                                 << "1E2E3"
                                                 << "1E2E3";
    QTest::newRow("signs of the operators") << "2×3÷4·5"
                                            << "2 * 3 / 4 * 5"
                                            << "2 * 3 / 4 * 5";
    QTest::newRow("implicit product before a group") << "2(3)"
                                                     << "2 * (3)"
                                                     << "2 * (3)";
    QTest::newRow("exponent's sign") << "4E-3+1"
                                     << "4E-3 + 1"
                                     << "4E-3 + 1";
    QTest::newRow("other letters ignored") << "a1z"
                                           << "1"
                                           << "1";
    QTest::newRow("operator on an empty display ignored") << "*/+"
                                                          << ""
                                                          << "";
    QTest::newRow("power after a result continues it") << "2+3=^"
                                                       << "5 ^ "
                                                       << "5 ^ ";
}

void KeypadTest::typedCharacters() {
    QFETCH(QString, typed);
    QFETCH(QString, expression);
    QFETCH(QString, display);
    double memoire = 0.0;
    Keypad keypad(memoire);
    // "=" stands for Enter, which the window maps to "EXE".
    for (const char32_t c : typed.toStdU32String()) {
        if (c == U'=') {
            keypad.pressNamed("EXE");
        } else {
            keypad.type(c);
        }
    }
    QCOMPARE(fromUtf8(keypad.expression()), expression);
    QCOMPARE(fromUtf8(keypad.display()), display);
}

void KeypadTest::eraseKeepsWholeCharacters_data() {
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("left");
    QTest::newRow("a letter of two bytes") << QStringLiteral("2µ") << "2";
    QTest::newRow("a lone blank") << " "
                                  << "";
    QTest::newRow("an operator and its blanks") << "2 + "
                                                << "2";
    QTest::newRow("a function after a group") << "(sin "
                                              << "(";
}

void KeypadTest::eraseKeepsWholeCharacters() {
    QFETCH(QString, expression);
    QFETCH(QString, left);
    double memoire = 0.0;
    Keypad keypad(memoire);
    // Any text, as "ANS" or a key of the browser's page could append it.
    const std::string bytes = expression.toStdString();
    keypad.press({"ajout", "", "", Ionaria::calc::KeyAction::Append, bytes});
    keypad.pressNamed("EFFACE");
    QCOMPARE(fromUtf8(keypad.expression()), left);
    QCOMPARE(fromUtf8(keypad.display()), left);
}

void KeypadTest::errorsBeepAndKeepTheExpression() {
    double memoire = 0.0;
    Keypad keypad(memoire);
    for (const char* name : {"Bpo", "B2", "plus"}) {
        QVERIFY(keypad.pressNamed(name));
    }
    bool beep = false;
    QVERIFY(keypad.pressNamed("EXE", &beep));
    QVERIFY(beep);
    QVERIFY(keypad.displayIsMessage());
    QCOMPARE(fromUtf8(keypad.display()), QStringLiteral("Erreur saisie: revoir les parenthèses"));
    QCOMPARE(fromUtf8(keypad.expression()), QStringLiteral("(2 + "));
    QVERIFY(!keypad.pressNamed("touche inconnue"));
}

void KeypadTest::memoryIsSharedBetweenKeypads() {
    double memoire = 0.0;
    Keypad first(memoire);
    for (const char* name : {"B1", "B2", "EXE", "Command1", "Command1"}) {
        first.pressNamed(name);
    }
    Keypad second(memoire);
    second.pressNamed("Command3");
    QCOMPARE(fromUtf8(second.expression()), QStringLiteral("24"));
    second.pressNamed("Command4");
    QCOMPARE(memoire, 0.0);
}

QTEST_MAIN(KeypadTest)
#include "KeypadTest.moc"
