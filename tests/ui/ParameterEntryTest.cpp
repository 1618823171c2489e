// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowFixture.h"
#include "base/RecordFile.h"
#include "ui/IllusView.h"
#include "ui/MainWindow.h"
#include "ui/NumberBox.h"
#include "ui/PageAnimation.h"
#include "ui/PageElectrode.h"
#include "ui/PagePicture3.h"
#include "ui/UpDownButtons.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <memory>

using Ionaria::sim::catalogue::Montage;

using Ionaria::base::RecordFile;
using Ionaria::ui::MainWindow;
using Ionaria::ui::NumberBox;

using namespace windowtest;

// The parameter panels of the main window: typing into the numeric boxes,
// the montage switch, the generator and the programmed stop.
class ParameterEntryTest : public WindowTestBase {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void typing_data();
    void typing();
    void editingPausesTheAnimation_data();
    void editingPausesTheAnimation();
    void montageSwitch_data();
    void montageSwitch();
    void generatorLabels_data();
    void generatorLabels();
    void generatorArrows();
    void stopBoxBackground();
    void nernstCheckBox_data();
    void nernstCheckBox();
    void rangeCaptions_data();
    void rangeCaptions();
};

void ParameterEntryTest::typing_data() {
    QTest::addColumn<Montage>("montage");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<QString>("whileTyping");
    QTest::addColumn<QString>("validated");
    QTest::newRow("volume below its range") << Montage::Pile << 2 << "Text2_6"
                                            << "2.5" << false << "2,5"
                                            << "80";
    QTest::newRow("letters cannot be typed") << Montage::Pile << 2 << "Text2_6"
                                             << "abc" << false << ""
                                             << "80";
    QTest::newRow("letters among digits") << Montage::Tension << 3 << "Text2_3"
                                          << "a5b0" << true << "50"
                                          << "50";
    QTest::newRow("vessel volume, Enter") << Montage::Tension << 1 << "Text2_1"
                                          << "600" << true << "600"
                                          << "500";
    QTest::newRow("resistor") << Montage::Pile << 1 << "Text2_4"
                              << "2" << false << "2"
                              << "5";
    QTest::newRow("stop time, three digits kept") << Montage::Tension << 4 << "Text2_9"
                                                  << "1234" << true << "1234"
                                                  << "1230";
}

void ParameterEntryTest::typing() {
    QFETCH(Montage, montage);
    QFETCH(int, tab);
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(bool, byEnter);
    QFETCH(QString, whileTyping);
    QFETCH(QString, validated);
    MainWindow& w = window();
    w.Picture3->Option2[static_cast<std::size_t>(Ionaria::sim::catalogue::montageCode(montage))]
        ->click();
    showTab(tab);
    auto* edit = w.findChild<NumberBox*>(box);
    QVERIFY(edit != nullptr);
    QVERIFY(edit->isVisible());
    edit->setFocus(Qt::MouseFocusReason);
    QVERIFY(edit->hasFocus());
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), whileTyping);
    const auto index = static_cast<std::size_t>(edit->index());
    QCOMPARE(QString::fromStdString(w.engine().params().Text2[index].text()), whileTyping);
    if (byEnter) {
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(w.illus->hasFocus());
    } else {
        QTest::keyClick(edit, Qt::Key_Tab);
        QVERIFY(!edit->hasFocus());
    }
    QCOMPARE(edit->text(), validated);
    QCOMPARE(QString::fromStdString(w.engine().params().Text2[index].text()), validated);
}

void ParameterEntryTest::editingPausesTheAnimation_data() {
    QTest::addColumn<bool>("running");
    QTest::addColumn<bool>("byEnter");
    QTest::newRow("running, Enter") << true << true;
    QTest::newRow("running, focus leaves") << true << false;
    QTest::newRow("paused, Enter") << false << true;
    QTest::newRow("paused, focus leaves") << false << false;
}

void ParameterEntryTest::editingPausesTheAnimation() {
    QFETCH(bool, running);
    QFETCH(bool, byEnter);
    MainWindow& w = window();
    if (running) {
        w.Command5->click();
    }
    QCOMPARE(w.Timer1.isActive(), running);
    showTab(2);
    NumberBox* edit = w.Frame2->masse;
    edit->setFocus(Qt::MouseFocusReason);
    QVERIFY(!w.Timer1.isActive());
    QVERIFY(!w.engine().params().Timer1);
    QTest::keyClicks(edit, "5");
    QVERIFY(!w.Timer1.isActive());
    if (byEnter) {
        QTest::keyClick(edit, Qt::Key_Return);
    } else {
        QTest::keyClick(edit, Qt::Key_Tab);
    }
    QCOMPARE(w.Timer1.isActive(), running);
    QCOMPARE(w.engine().params().Timer1, running);
    // The reset put the time back to zero.
    QCOMPARE(w.engine().state().tempsSec, 0);
}

void ParameterEntryTest::montageSwitch_data() {
    QTest::addColumn<Montage>("from");
    QTest::addColumn<int>("electrode");
    QTest::addColumn<int>("nature");
    QTest::addColumn<Montage>("to");
    QTest::addColumn<QString>("expected");
    QTest::newRow("graphite to the cell becomes zinc")
        << Montage::Tension << 0 << 3 << Montage::Pile << "Zinc";
    QTest::newRow("zinc of the cell becomes graphite")
        << Montage::Pile << 1 << 3 << Montage::Tension << "Graphite";
    QTest::newRow("zinc of electrolysis becomes aluminium")
        << Montage::Courant << 0 << 4 << Montage::Pile << "Aluminium";
    QTest::newRow("between electrolyses nothing changes")
        << Montage::Tension << 1 << 1 << Montage::Courant << "Cuivre";
}

void ParameterEntryTest::montageSwitch() {
    QFETCH(Montage, from);
    QFETCH(int, electrode);
    QFETCH(int, nature);
    QFETCH(Montage, to);
    QFETCH(QString, expected);
    MainWindow& w = window();
    auto* page = electrode == 0 ? w.Frame2 : w.Picture1;
    w.Picture3->Option2[static_cast<std::size_t>(Ionaria::sim::catalogue::montageCode(from))]
        ->click();
    page->Combo2->setCurrentIndex(nature);
    emit page->Combo2->activated(nature);
    w.Picture3->Option2[static_cast<std::size_t>(Ionaria::sim::catalogue::montageCode(to))]
        ->click();
    QCOMPARE(w.engine().params().Option2, to);
    QCOMPARE(page->Combo2->currentText(), expected);
    QCOMPARE(page->Combo2->count(), to == Montage::Pile ? 4 : 5);

    const bool pile = to == Montage::Pile;
    QCOMPARE(w.Picture3->Text2_4->isHidden(), !pile);
    QCOMPARE(w.Picture3->Combo1->isHidden(), pile);
    QCOMPARE(w.Picture3->Text2_0->isHidden(), pile);
    QCOMPARE(w.Picture3->Text2_1->isHidden(), pile);
    QCOMPARE(page->concentration->isHidden(), !pile);
    QCOMPARE(page->volume->isHidden(), !pile);
    const QString line = w.Picture3->printedLine();
    QCOMPARE(line.contains(QStringLiteral("Conducteur ohmique")), pile);
    QCOMPARE(line.contains(QStringLiteral("Solution aqueuse")), !pile);
    if (pile) {
        // The resistor box sits on the line under its heading.
        QVERIFY(w.Picture3->Text2_4->y() > w.Picture3->Option2[2]->y() + 20);
        const QString heading = QStringLiteral("Solution aqueuse de sulfate d") +
                                Ionaria::ui::PageElectrode::saltName(page->Combo2->currentIndex());
        QVERIFY2(page->printedLine().contains(heading), qPrintable(page->printedLine()));
    } else {
        QVERIFY(!page->printedLine().contains(QStringLiteral("Solution aqueuse")));
    }
}

void ParameterEntryTest::generatorLabels_data() {
    QTest::addColumn<Montage>("montage");
    QTest::addColumn<QColor>("label1");
    QTest::addColumn<QColor>("label2");
    QTest::newRow("cell greys both") << Montage::Pile << grey << grey;
    QTest::newRow("voltage generator") << Montage::Tension << white << grey;
    QTest::newRow("current generator") << Montage::Courant << grey << white;
}

void ParameterEntryTest::generatorLabels() {
    QFETCH(Montage, montage);
    QFETCH(QColor, label1);
    QFETCH(QColor, label2);
    MainWindow& w = window();
    w.Picture3->Option2[static_cast<std::size_t>(Ionaria::sim::catalogue::montageCode(montage))]
        ->click();
    QCOMPARE(background(w.Picture3->Label1, QPalette::Window), label1);
    QCOMPARE(background(w.Picture3->Label2, QPalette::Window), label2);
    // "U = " and "I = " end at the left edge of their labels.
    for (const auto& t : w.Picture3->printedTexts()) {
        if (t.text == QStringLiteral("U = ") || t.text == QStringLiteral("I = ")) {
            QCOMPARE(t.topLeft.x() + QFontMetrics(t.font).horizontalAdvance(t.text),
                     Ionaria::ui::PagePicture3::valueLeft);
        }
    }
}

void ParameterEntryTest::generatorArrows() {
    MainWindow& w = window();
    for (int i = 0; i < 3; ++i) {
        w.Picture3->UpDown1->upButton()->click();
    }
    QCOMPARE(w.Picture3->Label1->text(), QStringLiteral("2,8 V"));
    QCOMPARE(w.engine().params().UpDown1, 28);
    // The arrows of the generator the montage has not are greyed out.
    QVERIFY(!w.Picture3->UpDown2->isEnabled());
    w.Picture3->Option2[2]->click();
    QVERIFY(w.Picture3->UpDown2->isEnabled());
    QVERIFY(!w.Picture3->UpDown1->isEnabled());
    w.Picture3->UpDown2->downButton()->click();
    QCOMPARE(w.Picture3->Label2->text(), QStringLiteral("40 mA"));
    // The current generator goes up to 2 A, and no further.
    for (int i = 0; i < 200; ++i) {
        w.Picture3->UpDown2->upButton()->click();
    }
    QCOMPARE(w.Picture3->Label2->text(), QStringLiteral("2,00 A"));
}

void ParameterEntryTest::stopBoxBackground() {
    MainWindow& w = window();
    showTab(4);
    QCOMPARE(background(w.Picaff->Text2_9, QPalette::Base), grey);
    w.Picaff->Check1->click();
    QCOMPARE(w.engine().params().Check1, 1);
    QCOMPARE(background(w.Picaff->Text2_9, QPalette::Base), white);
    w.Picaff->Check1->click();
    QCOMPARE(background(w.Picaff->Text2_9, QPalette::Base), grey);
}

void ParameterEntryTest::nernstCheckBox_data() {
    QTest::addColumn<Montage>("montage");
    QTest::newRow("cell") << Montage::Pile;
    QTest::newRow("voltage generator") << Montage::Tension;
    QTest::newRow("current generator") << Montage::Courant;
}

// The option of the concentrations, on the "Paramètres" page under every
// montage's last row: it changes the store through its handler, resets and
// follows the store.
void ParameterEntryTest::nernstCheckBox() {
    QFETCH(Montage, montage);
    MainWindow& w = window();
    showTab(1);
    w.Picture3->Option2[static_cast<std::size_t>(Ionaria::sim::catalogue::montageCode(montage))]
        ->click();
    QCheckBox* box = w.Picture3->Check3;
    QVERIFY(box->isVisible());
    QVERIFY(!box->isChecked());
    QCOMPARE(box->text(), QStringLiteral("Tenir compte des concentrations (loi de Nernst)"));
    QWidget* last = montage == Montage::Pile ? static_cast<QWidget*>(w.Picture3->Text2_4)
                                             : static_cast<QWidget*>(w.Picture3->Text2_1);
    QVERIFY(box->y() >= last->y() + last->height());
    QVERIFY(box->y() + box->height() <= w.Picture3->height());
    QVERIFY(box->x() + box->width() <= w.Picture3->width());

    if (montage == Montage::Pile) {
        w.handlers().selectCombo2(1, 1); // zinc | copper: a current flows
        w.refreshFromStore();
    }
    w.engine().Command5_Click();
    for (int i = 0; i < 5; ++i) {
        w.engine().Timer1_Timer();
    }
    QVERIFY(w.engine().state().tempsSec > 0);
    box->click();
    QCOMPARE(w.engine().params().Check3, 1);
    QCOMPARE(w.engine().state().tempsSec, 0);
    box->click();
    QCOMPARE(w.engine().params().Check3, 0);
    w.handlers().setCheck3(1);
    w.refreshFromStore();
    QVERIFY(box->isChecked());
}

namespace {

enum class Page { Parameters, ElectrodeG, ElectrodeD };
enum class Box { Volume, Resistance, Mass, HalfCellVolume };

} // namespace

void ParameterEntryTest::rangeCaptions_data() {
    QTest::addColumn<Montage>("montage");
    QTest::addColumn<Page>("page");
    QTest::addColumn<Box>("box");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("description");
    QTest::newRow("electrolysis volume")
        << Montage::Tension << Page::Parameters << Box::Volume
        << QStringLiteral("Volume (de 200 mL à 500 mL) : ") << QStringLiteral("De 200 mL à 500 mL");
    QTest::newRow("resistor") << Montage::Pile << Page::Parameters << Box::Resistance
                              << QStringLiteral("Résistance (de 5 Ω à 1 000 Ω) : ")
                              << QStringLiteral("De 5 Ω à 1 000 Ω");
    QTest::newRow("mass G, electrolysis") << Montage::Tension << Page::ElectrodeG << Box::Mass
                                          << QStringLiteral("Masse de l'électrode (1 g à 100 g) : ")
                                          << QStringLiteral("De 1 g à 100 g");
    QTest::newRow("mass D, cell") << Montage::Pile << Page::ElectrodeD << Box::Mass
                                  << QStringLiteral("Masse de l'électrode (1 g à 100 g) : ")
                                  << QStringLiteral("De 1 g à 100 g");
    QTest::newRow("half-cell G volume")
        << Montage::Pile << Page::ElectrodeG << Box::HalfCellVolume
        << QStringLiteral("Volume (de 80 mL à 200 mL) : ") << QStringLiteral("De 80 mL à 200 mL");
    QTest::newRow("half-cell D volume")
        << Montage::Pile << Page::ElectrodeD << Box::HalfCellVolume
        << QStringLiteral("Volume (de 80 mL à 200 mL) : ") << QStringLiteral("De 80 mL à 200 mL");
}

// The range a page writes before a box, and the one a screen reader speaks,
// are the range the box enforces.
void ParameterEntryTest::rangeCaptions() {
    QFETCH(Montage, montage);
    QFETCH(Page, page);
    QFETCH(Box, box);
    QFETCH(QString, caption);
    QFETCH(QString, description);
    MainWindow& w = window();
    w.Picture3->Option2[static_cast<std::size_t>(Ionaria::sim::catalogue::montageCode(montage))]
        ->click();
    Ionaria::ui::PrintedPage* printed = w.Picture3;
    NumberBox* field = nullptr;
    if (page == Page::Parameters) {
        field = box == Box::Volume ? w.Picture3->Text2_1 : w.Picture3->Text2_4;
    } else {
        auto* electrode = page == Page::ElectrodeG ? w.Frame2 : w.Picture1;
        printed = electrode;
        field = box == Box::Mass ? electrode->masse : electrode->volume;
    }
    printed->refresh();
    QVERIFY2(printed->printedLine().contains(caption), qPrintable(printed->printedLine()));
    QCOMPARE(field->accessibleDescription(), description);
}

QTEST_MAIN(ParameterEntryTest)
#include "ParameterEntryTest.moc"
