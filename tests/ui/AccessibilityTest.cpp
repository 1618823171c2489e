// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowFixture.h"
#include "sim/Catalogue.h"
#include "ui/IllusView.h"
#include "ui/Keyboard.h"
#include "ui/MeasureStrip.h"
#include "ui/PageAnimation.h"
#include "ui/PageElectrode.h"
#include "ui/PagePicture3.h"
#include "ui/UpDownButtons.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTextEdit>
#include <QtTest>

#include <cmath>

using Ionaria::ui::MainWindow;
using Ionaria::ui::OptionGroupKeys;
using Ionaria::ui::TypeAheadKeys;
namespace cat = Ionaria::sim::catalogue;

namespace {

QAccessibleInterface* iface(QObject* o) {
    return QAccessible::queryAccessibleInterface(o);
}

QStringList labelsOf(QWidget* control) {
    QStringList labels;
    for (const auto& [other, relation] : iface(control)->relations(QAccessible::Label)) {
        labels << other->text(QAccessible::Name);
    }
    return labels;
}

// A control the pupil reads or uses, not a part of another one.
bool isControl(const QWidget* w) {
    return qobject_cast<const QAbstractButton*>(w) != nullptr ||
           qobject_cast<const QComboBox*>(w) != nullptr ||
           qobject_cast<const QLineEdit*>(w) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(w) != nullptr ||
           qobject_cast<const QScrollBar*>(w) != nullptr ||
           qobject_cast<const QTextEdit*>(w) != nullptr ||
           qobject_cast<const Ionaria::ui::UpDownButtons*>(w) != nullptr ||
           (qobject_cast<const QLabel*>(w) != nullptr &&
            !static_cast<const QLabel*>(w)->text().isEmpty());
}

bool insideAControl(const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p != nullptr; p = p->parentWidget()) {
        if (isControl(p)) {
            return true;
        }
    }
    return false;
}

// The room a control's own text needs, px; 0 for one whose text may wrap or
// scroll.
int textRoom(const QWidget* w) {
    const QFontMetrics fm(w->font());
    if (const auto* option = qobject_cast<const QAbstractButton*>(w);
        option != nullptr && qobject_cast<const QPushButton*>(w) == nullptr) {
        QStyleOptionButton o;
        o.initFrom(option);
        const bool radio = qobject_cast<const QRadioButton*>(w) != nullptr;
        const int indicator = w->style()->pixelMetric(
            radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth, &o, w);
        const int spacing = w->style()->pixelMetric(
            radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing, &o, w);
        return indicator + spacing + fm.horizontalAdvance(QString(option->text()).remove('&'));
    }
    if (const auto* button = qobject_cast<const QPushButton*>(w)) {
        return fm.horizontalAdvance(QString(button->text()).remove('&')) +
               (button->icon().isNull() ? 0 : button->iconSize().width() + 4) + 4;
    }
    if (const auto* label = qobject_cast<const QLabel*>(w);
        label != nullptr && !label->wordWrap()) {
        return fm.horizontalAdvance(label->text()) + 2 * label->frameWidth();
    }
    return 0;
}

// What overlaps or is cut in the window shown at its size, on each page.
QStringList layoutProblems(MainWindow& w) {
    QStringList problems;
    for (int tab = 1; tab <= 4; ++tab) {
        w.Onglets->setOngletActif(tab);
        QApplication::processEvents();
        QList<QWidget*> controls;
        for (QWidget* c : w.findChildren<QWidget*>()) {
            if (c->isVisible() && c->window() == &w && isControl(c) && !insideAControl(c)) {
                controls << c;
            }
        }
        const auto place = [&w](const QWidget* c) {
            return QRect(c->mapTo(&w, QPoint(0, 0)), c->size());
        };
        for (qsizetype i = 0; i < controls.size(); ++i) {
            const int room = textRoom(controls[i]);
            if (room > controls[i]->width()) {
                problems << QStringLiteral("texte coupé : %1 (%2 > %3)")
                                .arg(controls[i]->objectName())
                                .arg(room)
                                .arg(controls[i]->width());
            }
            for (qsizetype j = i + 1; j < controls.size(); ++j) {
                if (place(controls[i]).intersects(place(controls[j]))) {
                    const QRect a = place(controls[i]);
                    const QRect b = place(controls[j]);
                    problems << QStringLiteral(
                                    "chevauchement : %1 (%2,%3 %4x%5) et %6 (%7,%8 %9x%10)")
                                    .arg(controls[i]->objectName())
                                    .arg(a.x())
                                    .arg(a.y())
                                    .arg(a.width())
                                    .arg(a.height())
                                    .arg(controls[j]->objectName())
                                    .arg(b.x())
                                    .arg(b.y())
                                    .arg(b.width())
                                    .arg(b.height());
                }
            }
        }
    }
    problems.removeDuplicates();
    return problems;
}

} // namespace

// What screen readers are told, and the keys of groups and lists.
class AccessibilityTest : public WindowTestBase {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void pictureIsAnImage() {
        QAccessibleInterface* picture = iface(window().illus);
        QCOMPARE(picture->role(), QAccessible::Graphic);
        QCOMPARE(picture->text(QAccessible::Name), QStringLiteral("Expérience"));
        const QStringList lines = picture->text(QAccessible::Description).split('\n');
        QVERIFY(lines.contains(QStringLiteral("Solution : Chlorure de sodium.")));
    }

    // The strip is a list of four page tabs, the active one selected; a
    // screen reader may press a tab.
    void stripIsAPageTabList() {
        auto& w = window();
        QAccessibleInterface* strip = iface(w.Onglets);
        QCOMPARE(strip->role(), QAccessible::PageTabList);
        QVERIFY(strip->childCount() >= 4);
        const QStringList captions = {"Paramètres", "Électrode G", "Électrode D", "Animation"};
        for (int i = 0; i < 4; ++i) {
            QAccessibleInterface* tab = strip->child(i);
            QCOMPARE(tab->role(), QAccessible::PageTab);
            QCOMPARE(tab->text(QAccessible::Name), captions[i]);
            QCOMPARE(tab->state().selected, i == 0);
            QCOMPARE(tab->parent(), strip);
            QCOMPARE(strip->indexOfChild(tab), i);
        }
        QAccessibleInterface* third = strip->child(2);
        third->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(w.Onglets->ongletActif(), 3);
        QVERIFY(third->state().selected);
        QVERIFY(!strip->child(0)->state().selected);
        // The pages are still found after the tabs.
        QVERIFY(strip->indexOfChild(iface(w.Picture1)) >= 4);
    }

    // The generator's arrows give the value they step, in the unit of
    // their name, and take one.
    void spinButtonsHaveValues() {
        auto& w = window();
        w.handlers().setUpDown1(40);
        w.refreshFromStore();
        QAccessibleInterface* u = iface(w.Picture3->UpDown1);
        QCOMPARE(u->role(), QAccessible::SpinBox);
        QAccessibleValueInterface* value = u->valueInterface();
        QVERIFY(value != nullptr);
        QCOMPARE(value->currentValue().toDouble(), 4.0);
        QCOMPARE(value->minimumValue().toDouble(), cat::upDown1Min / 10.0);
        QCOMPARE(value->maximumValue().toDouble(), cat::upDown1Max / 10.0);
        QVERIFY(u->text(QAccessible::Description).startsWith(QStringLiteral("4,0 volts.")));
        value->setCurrentValue(5.5);
        QCOMPARE(w.engine().params().UpDown1, 55);
        QAccessibleValueInterface* i = iface(w.Picture3->UpDown2)->valueInterface();
        QCOMPARE(i->currentValue().toDouble(), w.engine().params().UpDown2 * 10.0);
    }

    void listsAreLabelled() {
        auto& w = window();
        QCOMPARE(labelsOf(w.Picture3->Combo1), QStringList{QStringLiteral("Solution")});
        QCOMPARE(labelsOf(w.Frame2->Combo2),
                 QStringList{QStringLiteral("Nature de l'électrode G")});
        QCOMPARE(labelsOf(w.Picture1->Combo2),
                 QStringList{QStringLiteral("Nature de l'électrode D")});
        QVERIFY(!w.Picture3->Combo1->view()->accessibleName().isEmpty());
    }

    void measuresAreNamed() {
        auto& w = window();
        w.Command5_Click();
        for (int i = 0; i < 20; ++i) {
            w.engine().Timer1_Timer();
        }
        w.Command5_Click();
        const QList<std::pair<QLabel*, QString>> measures = {{w.Picture2->Labeltps, "Durée"},
                                                             {w.Picture2->Labelu, "Tension"},
                                                             {w.Picture2->Labelint, "Intensité"}};
        for (const auto& [label, name] : measures) {
            QCOMPARE(iface(label)->text(QAccessible::Name), name);
            QVERIFY2(!iface(label)->text(QAccessible::Description).isEmpty(), qPrintable(name));
        }
        QVERIFY(iface(w.Picture2->Labeltps)
                    ->text(QAccessible::Description)
                    .endsWith(QStringLiteral("secondes")));
    }

    void hintLineIsAStatusLine() {
        auto& w = window();
        QAccessibleInterface* line = iface(w.info);
        QCOMPARE(line->role(), QAccessible::StatusBar);
        QAccessibleTextInterface* text = line->textInterface();
        QVERIFY(text != nullptr);
        w.info->setText(QStringLiteral("Première ligne\nseconde ligne"));
        QCOMPARE(text->text(0, text->characterCount()),
                 QStringLiteral("Première ligne seconde ligne"));
    }

    void scrollBarsAreNamed() {
        auto& w = window();
        QVERIFY(!w.supertext->verticalScrollBar()->accessibleName().isEmpty());
        QVERIFY(!w.supertext->horizontalScrollBar()->accessibleName().isEmpty());
        QVERIFY(!w.Picture3->Combo1->view()->verticalScrollBar()->accessibleName().isEmpty());
    }

    // At its smallest, the window keeps every control apart and every text
    // whole; Ctrl+- goes no further.
    void zoomFloor_data() {
        QTest::addColumn<double>("z");
        QTest::newRow("design size") << 1.0;
        QTest::newRow("floor") << MainWindow::minimumZoom;
        QTest::newRow("larger") << 1.5;
    }
    void zoomFloor() {
        QFETCH(double, z);
        auto& w = window();
        if (z != MainWindow::minimumZoom) {
            w.resize(static_cast<int>(std::lround(MainWindow::designWidth * z)),
                     static_cast<int>(std::lround(MainWindow::designHeight * z)));
            QApplication::processEvents();
            const QStringList problems = layoutProblems(w);
            QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
            return;
        }
        const QSize floor(
            static_cast<int>(std::lround(MainWindow::designWidth * MainWindow::minimumZoom)),
            static_cast<int>(std::lround(MainWindow::designHeight * MainWindow::minimumZoom)));
        w.resize(floor);
        QApplication::processEvents();
        QCOMPARE(w.zoom(), MainWindow::minimumZoom);
        const QStringList problems = layoutProblems(w);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        QTest::keyClick(&w, Qt::Key_Minus, Qt::ControlModifier);
        QApplication::processEvents();
        QCOMPARE(w.size(), floor);
        QCOMPARE(w.minimumSize(), floor);
    }

    // Enlarged, the indicators and arrows grow with the texts.
    void indicatorsGrow() {
        auto& w = window();
        QRadioButton* option = w.Picture3->Option2[0];
        const int designIndicator =
            option->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, option);
        w.resize(2 * MainWindow::designWidth, 2 * MainWindow::designHeight);
        QApplication::processEvents();
        QCOMPARE(w.zoom(), 2.0);
        QCOMPARE(option->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, option),
                 2 * designIndicator);
        QScrollBar* bar = w.supertext->verticalScrollBar();
        QCOMPARE(bar->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, bar),
                 2 * QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    }

    void groupTarget_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("target");
        QTest::newRow("down from the first") << 0 << int(Qt::Key_Down) << 1;
        QTest::newRow("right from the first") << 0 << int(Qt::Key_Right) << 1;
        QTest::newRow("down from the last stops") << 2 << int(Qt::Key_Down) << -1;
        QTest::newRow("up from the first stops") << 0 << int(Qt::Key_Up) << -1;
        QTest::newRow("left from the last") << 2 << int(Qt::Key_Left) << 1;
        QTest::newRow("another key") << 1 << int(Qt::Key_Space) << -1;
    }
    void groupTarget() {
        QFETCH(int, index);
        QFETCH(int, key);
        QFETCH(int, target);
        QCOMPARE(OptionGroupKeys::target(index, 3, key), target);
    }

    // The arrows stay in the montage buttons: one press too many on the
    // last does nothing, and never reaches the reset button.
    void arrowsStayInTheGroup_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("to");
        QTest::newRow("down at the end") << 2 << int(Qt::Key_Down) << 2;
        QTest::newRow("right at the end") << 2 << int(Qt::Key_Right) << 2;
        QTest::newRow("up at the start") << 0 << int(Qt::Key_Up) << 0;
        QTest::newRow("up") << 2 << int(Qt::Key_Up) << 1;
        QTest::newRow("down") << 0 << int(Qt::Key_Down) << 1;
    }
    void arrowsStayInTheGroup() {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, to);
        auto& w = window();
        showTab(1);
        QRadioButton* start = w.Picture3->Option2[static_cast<std::size_t>(from)];
        start->click();
        start->setFocus(Qt::TabFocusReason);
        QTest::keyClick(start, Qt::Key(key));
        QCOMPARE(QApplication::focusWidget(), w.Picture3->Option2[static_cast<std::size_t>(to)]);
        QCOMPARE(cat::montageCode(w.engine().params().Option2), to);
        QCOMPARE(w.Onglets->ongletActif(), 1);
    }

    void scaleArrowsFollowTheScreen() {
        auto& w = window();
        showTab(4);
        // The macroscopic scale is shown first.
        w.Picaff->Option1[1]->click();
        w.Picaff->Option1[1]->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w.Picaff->Option1[1], Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), w.Picaff->Option1[1]);
        QTest::keyClick(w.Picaff->Option1[1], Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), w.Picaff->Option1[0]);
        QCOMPARE(w.engine().params().Option1, 0);
        QTest::keyClick(w.Picaff->Option1[0], Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), w.Picaff->Option1[0]);
    }

    void typeAheadFind_data() {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<int>("found");
        QTest::newRow("with a space") << "Sulfate de c" << 6;
        QTest::newRow("first of several") << "Sulfate" << 5;
        QTest::newRow("any case") << "chlorure DE s" << 4;
        QTest::newRow("none") << "Nitrate" << -1;
        QTest::newRow("empty") << "" << -1;
    }
    void typeAheadFind() {
        QFETCH(QString, prefix);
        QFETCH(int, found);
        QList<QString> entries;
        for (const auto e : cat::electrolytes) {
            entries << QString::fromUtf8(e.data(), static_cast<qsizetype>(e.size()));
        }
        QCOMPARE(TypeAheadKeys::find(entries, prefix), found);
    }

    // Typed into the closed list, spaces and all, the name picks its entry
    // and the list stays closed.
    void typingPicksTheSolution() {
        auto& w = window();
        showTab(1);
        QComboBox* list = w.Picture3->Combo1;
        list->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(list, QStringLiteral("Sulfate de c"));
        QCOMPARE(list->currentText(), QStringLiteral("Sulfate de cuivre II"));
        QCOMPARE(w.engine().params().Combo1.listIndex, 6);
        QVERIFY(!list->view()->isVisible());
    }
};

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
