// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/Machine.h"
#include "support/Locales.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

using Ionaria::calc::Machine;
using Ionaria::testing::addRowsInEveryLocale;

namespace {

void press(Machine& machine, const QString& name) {
    if (auto* cle = machine.findChild<QPushButton*>(name)) {
        cle->click();
    } else if (auto* option = machine.findChild<QRadioButton*>(name)) {
        option->click();
    } else {
        QFAIL(qPrintable(QStringLiteral("no control ") + name));
    }
}

QLineEdit* display(Machine& machine) {
    return machine.findChild<QLineEdit*>(QStringLiteral("z1"));
}

} // namespace

class MachineTest : public QObject {
    Q_OBJECT

private slots:
    void keys_data();
    void keys();
    void keyboard_data();
    void keyboard();
    void decimalKeys_data();
    void decimalKeys();
    void messagesShownWhole_data();
    void messagesShownWhole();
    void everyKeyExists();
    void memorySurvivesReopening();
    void closeIfOpenEndsTheDialog();
    void background_data();
    void background();
};

void MachineTest::keys_data() {
    QTest::addColumn<QStringList>("presses");
    QTest::addColumn<QString>("shown");
    auto row = [](const char* name, const QString& keys, const QString& shown) {
        QTest::newRow(name) << keys.split(QLatin1Char(' ')) << shown;
    };
    row("continue from 14", "B2 plus B3 multip B4 EXE plus", "14 + ");
    row("digit after a result", "B2 plus B3 EXE B7", "7");
    row("power continues from the answer", "B3 EXE puissance", "3 ^ ");
    row("implicit product", "B2 bsin", "2 * sin ");
    row("function on empty", "bsin", "sin ");
    row("implicit product before a group", "B2 Bpo", "2 * (");
    row("no product after an operator", "B2 moins Bcos", "2 - cos ");
    row("kilo", "B4 Bpoint B7 kilo", "4.7E+3");
    row("kilo evaluated", "B4 Bpoint B7 kilo EXE", " 4700");
    row("micro evaluated", "B2 micro EXE", " 2E-06");
    row("exponent sign", "B4 BtoEXP moins B3", "4E-3");
    row("exponent plus", "B4 BtoEXP plus B3", "4E+3");
    row("minus on empty", "moins B5", "-5");
    row("minus after an operator", "B5 moins moins B3 EXE", " 8");
    row("efface function name", "B2 bsin EFFACE", "2 * ");
    row("efface operator", "B2 plus EFFACE", "2");
    row("efface digit", "B1 B2 EFFACE", "1");
    row("efface on empty", "EFFACE", "");
    row("efface function after a parenthesis", "Bpo bsin EFFACE", "(");
    row("efface lone function", "invsin EFFACE", "");
    row("plus on an empty display", "plus", "");
    row("product on an empty display", "multip", "");
    row("division on an empty display", "div", "");
    row("answer", "B2 plus B3 EXE ANS", "5");
    row("ANS after an error", "B1 div B0 EXE RAZ ANS", "");
    row("code 1", "B1 div B0 EXE", "Calcul impossible");
    row("code 2", "Bpo B2 EXE", "Erreur saisie: revoir les parenthèses");
    row("code 3", "B2 multip EXE", "Erreur saisie: incompréhension sur opérateurs: ^ * / + -");
    row("expression kept after an error", "B1 div B0 EXE B2", "1 / 02");
    row("too long", QString("B1 ").repeated(501) + "EXE",
        "Erreur saisie: expression trop longue (500 caractères au plus)");
    row("too long, kept for correction", QString("B1 ").repeated(501) + "EXE EFFACE",
        QString(500, '1'));
    row("overflow", "B1 BtoEXP B9 B9 B9 EXE", "Dépassement de capacité");
    row("no answer after an overflow", "B1 BtoEXP B9 B9 B9 EXE ANS", "");
    row("square", "B3 btcarre EXE", " 9");
    row("ten to the x", "B10x B3 EXE", " 1000");
    row("inverse", "Command5 B4 EXE", " .25");
    row("pi", "B2 pi", "2 * 3.14159265358979");
    row("sine in degrees", "bsin B3 B0 EXE", " .5");
    row("sine in radians", "angle1 bsin B3 B0 EXE", "-.988031624092862");
    row("arc sine", "invsin B1 EXE", " 90");
    row("arc cosine in radians", "angle1 invcos B0 EXE", " 1.5707963267949");
    row("arc tangent", "Btoncommande3 B1 EXE", " 45");
    row("logarithms", "Bln B1 plus Blog B1 B0 B0 EXE", " 2");
    row("exponential and root", "Bexp B0 plus racine B1 B6 EXE", " 5");
    row("scientific", "C0 B2 plus B3 multip B4 EXE", "1.4E+01");
    row("switch to scientific", "B2 plus B3 multip B4 EXE C0", "1.4E+01");
    row("switch back", "B2 plus B3 multip B4 EXE C0 C1", " 14");
    row("switch while typing", "B2 plus C0", "2 + ");
    row("clear all", "B2 plus B3 RAZ", "");
    row("memory plus", "Command4 B5 Command1 RAZ Command3", "5");
    row("memory minus", "Command4 B5 Command2 Command2 RAZ Command3", "-10");
    row("memory from a result", "Command4 B2 plus B3 EXE Command1 RAZ Command3", "5");
    row("memory from a message", "Command4 B1 div B0 EXE Command1 RAZ Command3", "0");
    row("memory scientific", "Command4 B5 Command1 RAZ C0 Command3", "5E+00");
    row("memory cleared", "B5 Command1 Command4 RAZ Command3", "0");
}

void MachineTest::keys() {
    QFETCH(QStringList, presses);
    QFETCH(QString, shown);
    Machine machine;
    for (const QString& name : presses) {
        press(machine, name);
    }
    QLineEdit* z1 = display(machine);
    QCOMPARE(z1->text(), shown);
    QCOMPARE(z1->cursorPosition(), z1->text().size());
}

void MachineTest::messagesShownWhole_data() {
    QTest::addColumn<QStringList>("presses");
    QTest::addColumn<bool>("message");
    auto row = [](const char* name, const QString& keys, bool message) {
        QTest::newRow(name) << keys.split(QLatin1Char(' ')) << message;
    };
    row("operators", "B2 multip EXE", true);
    row("parentheses", "Bpo B2 EXE", true);
    row("too long", QString("B1 ").repeated(501) + "EXE", true);
    row("a result", "B2 plus B3 EXE", false);
    row("typing after a message", "B2 multip EXE RAZ B4", false);
}

// A message fits the display, so that none of it is cut; numbers keep the
// display's own type.
void MachineTest::messagesShownWhole() {
    QFETCH(QStringList, presses);
    QFETCH(bool, message);
    Machine machine;
    machine.show();
    for (const QString& name : presses) {
        press(machine, name);
    }
    QLineEdit* z1 = display(machine);
    const int room = z1->contentsRect().width() - 8;
    QVERIFY2(QFontMetrics(z1->font()).horizontalAdvance(z1->text()) <= room,
             qPrintable(z1->text()));
    QCOMPARE(z1->toolTip(), message ? z1->text() : QString());
    if (!message) {
        QCOMPARE(z1->font().pixelSize(), 15);
    }
}

void MachineTest::keyboard_data() {
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("last");
    QTest::addColumn<QString>("shown");
    const int enter = Qt::Key_Return;
    addRowsInEveryLocale("enter evaluates", "2+3*4", enter, " 14");
    addRowsInEveryLocale("keypad enter", "(2+3)^2", int(Qt::Key_Enter), " 25");
    addRowsInEveryLocale("division", "9/3", enter, " 3");
    addRowsInEveryLocale("group after a digit", "2(3)", enter, " 6");
    addRowsInEveryLocale("backspace", "12", int(Qt::Key_Backspace), "1");
    addRowsInEveryLocale("backspace on operator", "12+", int(Qt::Key_Backspace), "12");
    addRowsInEveryLocale("exponent letters", "1e-3+2d1", 0, "1E-3 + 2E1");
    addRowsInEveryLocale("exponent sign", "1E-3", 0, "1E-3");
    addRowsInEveryLocale("minus sign", "-5-", 0, "-5 - ");
    addRowsInEveryLocale("decimal point", "0.25*2", enter, " .5");
    addRowsInEveryLocale("decimal comma", "0,25*1800*63,5/(2*96500)", enter, " .148056994818653");
    addRowsInEveryLocale("decimal comma while typing", "0,25*1800*63,5", 0, "0.25 * 1800 * 63.5");
    addRowsInEveryLocale("decimal comma and exponent", "1,5e-3/2", enter, " .00075");
    addRowsInEveryLocale("times sign", "3\u00D74", enter, " 12");
    addRowsInEveryLocale("middle dot", "3\u00B74", enter, " 12");
    addRowsInEveryLocale("division sign", "8\u00F72", enter, " 4");
    addRowsInEveryLocale("others ignored", "axz;= \u00A4", 0, "");
    addRowsInEveryLocale("others ignored in between", "1a2", 0, "12");
}

void MachineTest::keyboard() {
    QFETCH(QByteArray, locale);
    IONARIA_USE_LOCALE(locale.constData());
    QFETCH(QString, typed);
    QFETCH(int, last);
    QFETCH(QString, shown);
    Machine machine;
    QLineEdit* z1 = display(machine);
    QTest::keyClicks(z1, typed);
    if (last != 0) {
        QTest::keyClick(z1, static_cast<Qt::Key>(last));
    }
    QCOMPARE(z1->text(), shown);
    QCOMPARE(z1->cursorPosition(), z1->text().size());
}

// The decimal key of a keypad writes the layout's decimal point, whatever the
// language; between 1 and 5, a decimal point gives "1.5", anything else "15".
void MachineTest::decimalKeys_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    const QString arabicPoint(QChar(0x066B));
    QTest::newRow("French keypad") << "fr_FR" << int(Qt::Key_Comma) << true << ","
                                   << "1.5";
    QTest::newRow("German keypad") << "de_DE" << int(Qt::Key_Comma) << true << ","
                                   << "1.5";
    QTest::newRow("English keypad") << "en_US" << int(Qt::Key_Period) << true << "."
                                    << "1.5";
    QTest::newRow("keypad comma, English") << "en_US" << int(Qt::Key_Comma) << true << ","
                                           << "1.5";
    QTest::newRow("keypad key without text") << "fr_FR" << int(Qt::Key_Period) << true << ""
                                             << "1.5";
    QTest::newRow("keypad writing the language's point")
        << "ar_EG" << int(Qt::Key_Period) << true << arabicPoint << "1.5";
    QTest::newRow("language's point typed")
        << "ar_EG" << int(Qt::Key_unknown) << false << arabicPoint << "1.5";
    QTest::newRow("another language's point")
        << "fr_FR" << int(Qt::Key_unknown) << false << arabicPoint << "15";
    QTest::newRow("comma key") << "fr_FR" << int(Qt::Key_Comma) << false << ","
                               << "1.5";
    QTest::newRow("keypad operator") << "fr_FR" << int(Qt::Key_Asterisk) << true << "*"
                                     << "1 * 5";
    QTest::newRow("keypad text other than a point")
        << "fr_FR" << int(Qt::Key_Semicolon) << true << ";"
        << "15";
}

void MachineTest::decimalKeys() {
    QFETCH(QString, language);
    QFETCH(int, key);
    QFETCH(bool, keypad);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    const QLocale before;
    QLocale::setDefault(QLocale(language));
    Machine machine;
    QLineEdit* z1 = display(machine);
    QTest::keyClick(z1, Qt::Key_1);
    QKeyEvent press(QEvent::KeyPress, key, keypad ? Qt::KeypadModifier : Qt::NoModifier, text);
    QApplication::sendEvent(z1, &press);
    QTest::keyClick(z1, Qt::Key_5);
    QLocale::setDefault(before);
    QCOMPARE(z1->text(), shown);
}

void MachineTest::everyKeyExists() {
    Machine machine;
    QCOMPARE(machine.windowTitle(), QStringLiteral("Machine à calculer"));
    const QStringList names =
        QStringLiteral("B0 B1 B2 B3 B4 B5 B6 B7 B8 B9 Bpoint BtoEXP pico nano micro mil "
                       "kilo mega giga tera bsin Bcos Btan invsin invcos Btoncommande3 "
                       "Bln Blog Bexp B10x racine Command5 pi Bpo bpf plus moins multip "
                       "div puissance btcarre ANS EFFACE RAZ EXE Command1 Command2 "
                       "Command3 Command4")
            .split(QLatin1Char(' '));
    QCOMPARE(names.size(), 49);
    for (const QString& name : names) {
        auto* cle = machine.findChild<QPushButton*>(name);
        QVERIFY2(cle != nullptr, qPrintable(name));
        QCOMPARE(cle->focusPolicy(), Qt::NoFocus);
    }
    QCOMPARE(machine.findChildren<QPushButton*>().size(), 49);
    QVERIFY(machine.findChild<QRadioButton*>(QStringLiteral("angle0"))->isChecked());
    QVERIFY(machine.findChild<QRadioButton*>(QStringLiteral("C1"))->isChecked());
}

void MachineTest::memorySurvivesReopening() {
    {
        Machine machine;
        press(machine, QStringLiteral("Command4"));
        press(machine, QStringLiteral("B7"));
        press(machine, QStringLiteral("Command1"));
    }
    Machine machine;
    QCOMPARE(display(machine)->text(), QString());
    press(machine, QStringLiteral("Command3"));
    QCOMPARE(display(machine)->text(), QStringLiteral("7"));
}

void MachineTest::closeIfOpenEndsTheDialog() {
    QString seen;
    QTimer::singleShot(0, [&seen] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            seen = modal->windowTitle();
        }
        Machine::closeIfOpen();
    });
    Machine::ouvrir(nullptr);
    QCOMPARE(seen, QStringLiteral("Machine à calculer"));
    Machine::closeIfOpen();
}

void MachineTest::background_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("left edge") << 0 << 200 << QColor(200, 250, 250);
    QTest::newRow("half rounds to even") << 300 << 200 << QColor(50, 100, 100);
    QTest::newRow("odd column") << 3 << 260 << QColor(198, 248, 248);
    QTest::newRow("white outline") << 299 << 200 << QColor(Qt::white);
    QTest::newRow("black top line") << 150 << 1 << QColor(Qt::black);
    QTest::newRow("black left line") << 1 << 200 << QColor(Qt::black);
    QTest::newRow("pad frame") << 81 << 300 << QColor(0, 128, 128);
    QTest::newRow("pad frame shadow") << 206 << 300 << QColor(Qt::white);
}

void MachineTest::background() {
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(QColor, colour);
    Machine machine;
    const QImage image = machine.grab().toImage();
    QCOMPARE(image.size(), QSize(302, 431));
    QCOMPARE(image.pixelColor(x, y), colour);
}

QTEST_MAIN(MachineTest)
#include "MachineTest.moc"
