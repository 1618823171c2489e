// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowFixture.h"
#include "config/FileBrowser.h"
#include "exercises/ExerciseSession.h"
#include "render/QtCanvas.h"
#include "report/StateDescription.h"
#include "sim/Catalogue.h"
#include "ui/HelpWindow.h"
#include "ui/IllusView.h"
#include "ui/MeasureStrip.h"
#include "ui/PageAnimation.h"
#include "ui/PagePicture3.h"
#include "ui/UpDownButtons.h"
#include "ui/Zoom.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>

#include <cmath>

using Ionaria::sim::catalogue::Montage;

using Ionaria::ui::MainWindow;
namespace Zoom = Ionaria::ui::Zoom;

namespace {

// Where a widget shows on the window, in the window's pixels.
QRect onWindow(const QWidget* w) {
    return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}

bool near(int a, int b, int tolerance) {
    return std::abs(a - b) <= tolerance;
}

} // namespace

// The window at any size, and the keyboard and screen readers in it.
class ZoomKeyboardTest : public WindowTestBase {
    Q_OBJECT

    QList<QWidget*> controls() {
        auto& w = window();
        return {w.illus,
                w.Onglets,
                w.Picture3->UpDown1,
                w.Picture3->Combo1,
                w.Command3,
                w.Command5,
                w.Command2,
                w.Command11,
                w.Command10,
                w.Command4,
                w.Command6,
                w.Command12,
                w.btexo,
                w.Command8,
                w.Command7,
                w.Command1,
                w.supertext,
                w.fich,
                w.info,
                w.Picture2};
    }

    // The controls' places at the design size, in the window's pixels.
    QHash<QWidget*, QRect> designPlaces() {
        QHash<QWidget*, QRect> places;
        for (QWidget* c : controls()) {
            places.insert(c, onWindow(c));
        }
        return places;
    }

    // Tab pressed from the picture until the focus comes back to it.
    QList<QWidget*> walk(Qt::Key key) {
        window().illus->setFocus(Qt::TabFocusReason);
        QList<QWidget*> seen;
        for (int i = 0; i < 80; ++i) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QWidget* now = QApplication::focusWidget();
            if (now == window().illus || now == nullptr) {
                break;
            }
            seen << now;
        }
        return seen;
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void geometryScales_data() {
        QTest::addColumn<QSize>("windowSize");
        QTest::addColumn<double>("z");
        QTest::addColumn<QPoint>("offset");
        QTest::newRow("design size") << QSize(800, 600) << 1.0 << QPoint(0, 0);
        QTest::newRow("z = 1.5") << QSize(1200, 900) << 1.5 << QPoint(0, 0);
        QTest::newRow("z = 2") << QSize(1600, 1200) << 2.0 << QPoint(0, 0);
        QTest::newRow("wide screen, centred") << QSize(1920, 1080) << 1.8 << QPoint(240, 0);
        QTest::newRow("tall, centred") << QSize(800, 800) << 1.0 << QPoint(0, 100);
        QTest::newRow("smaller") << QSize(600, 450) << 0.75 << QPoint(0, 0);
    }
    void geometryScales() {
        QFETCH(QSize, windowSize);
        QFETCH(double, z);
        QFETCH(QPoint, offset);
        const QHash<QWidget*, QRect> design = designPlaces();
        window().resize(windowSize);
        QApplication::processEvents();
        QCOMPARE(window().zoom(), z);
        for (QWidget* c : controls()) {
            const QRect d = design.value(c);
            const QRect shown = onWindow(c);
            // Each level of nesting may round once more.
            const QString what =
                c->objectName() + QStringLiteral(" at ") + QString::number(shown.x()) +
                QLatin1Char(',') + QString::number(shown.y()) + QLatin1Char(' ') +
                QString::number(shown.width()) + QLatin1Char('x') + QString::number(shown.height());
            QVERIFY2(near(shown.x(), static_cast<int>(std::lround(d.x() * z)) + offset.x(), 2),
                     qPrintable(what));
            QVERIFY2(near(shown.y(), static_cast<int>(std::lround(d.y() * z)) + offset.y(), 2),
                     qPrintable(what));
            QVERIFY2(near(shown.width(), static_cast<int>(std::lround(d.width() * z)), 1),
                     qPrintable(what));
            QVERIFY2(near(shown.height(), static_cast<int>(std::lround(d.height() * z)), 1),
                     qPrintable(what));
        }
        QCOMPARE(window().Command1->font().pixelSize(), Zoom::scaledPixels(11, z));
        QCOMPARE(window().info->font().pixelSize(), Zoom::scaledPixels(12, z));
        // The picture's surface and the frame drawn for it.
        const QSize picture(static_cast<int>(std::lround(417 * z)),
                            static_cast<int>(std::lround(497 * z)));
        QVERIFY(near(window().illus->width(), picture.width(), 1));
        QVERIFY(near(window().illus->height(), picture.height(), 1));
        const double ratio = window().devicePixelRatioF();
        QCOMPARE(window().illus->frame().size(), Ionaria::render::QtCanvas::imageSize(z * ratio));
    }

    // Back at 800 x 600 the picture is the very one drawn at its own size.
    void designSizeKeepsThePixels_data() {
        QTest::addColumn<QSize>("through");
        QTest::newRow("z = 1.5") << QSize(1200, 900);
        QTest::newRow("z = 2") << QSize(1600, 1200);
    }
    void designSizeKeepsThePixels() {
        QFETCH(QSize, through);
        auto& w = window();
        w.handlers().selectOption1(1);
        w.refreshFromStore();
        w.Command5_Click();
        for (int i = 0; i < 30; ++i) {
            w.engine().Timer1_Timer();
        }
        w.Command5_Click();
        const QImage own = w.illus->frame().copy();
        w.resize(through);
        QApplication::processEvents();
        QVERIFY(w.illus->frame().size() != own.size());
        w.windowZoom().zoomReset();
        QApplication::processEvents();
        QCOMPARE(w.size(), QSize(800, 600));
        QCOMPARE(w.illus->frame(), own);
    }

    // The statement and the help grow with the window: their lines are z
    // times as high, whether their sizes are in pixels or in points.
    void textsGrow_data() {
        QTest::addColumn<QSize>("windowSize");
        QTest::addColumn<double>("z");
        QTest::newRow("z = 1.5") << QSize(1200, 900) << 1.5;
        QTest::newRow("z = 2") << QSize(1600, 1200) << 2.0;
    }
    void textsGrow() {
        QFETCH(QSize, windowSize);
        QFETCH(double, z);
        auto& w = window();
        auto lineHeights = [](QTextDocument* d) {
            QList<double> heights;
            for (QTextBlock b = d->begin(); b.isValid() && heights.size() < 3; b = b.next()) {
                heights << d->documentLayout()->blockBoundingRect(b).height();
            }
            return heights;
        };
        QTemporaryDir help;
        QFile page(help.filePath("index.html"));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<p style=\"font-size:10pt\">Aide</p><p>Sommaire</p><p><b>Fin</b></p>");
        page.close();
        Ionaria::ui::HelpWindow helpWindow(help.path());
        helpWindow.show();
        QApplication::processEvents();
        const QList<double> text1 = lineHeights(w.supertext->document());
        const QList<double> help1 = lineHeights(helpWindow.browser()->document());
        w.resize(windowSize);
        QApplication::processEvents();
        helpWindow.setZoom(w.zoom());
        QApplication::processEvents();
        const QList<double> text2 = lineHeights(w.supertext->document());
        const QList<double> help2 = lineHeights(helpWindow.browser()->document());
        QCOMPARE(text2.size(), 3);
        QCOMPARE(help2.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QVERIFY2(std::fabs(text2[i] / text1[i] - z) < 0.2 * z,
                     qPrintable(QString::number(text2[i] / text1[i])));
            QVERIFY2(std::fabs(help2[i] / help1[i] - z) < 0.2 * z,
                     qPrintable(QString::number(help2[i] / help1[i])));
        }
    }

    // The configuration dialogs start in the shipped configurations, then
    // where the last one was left, whichever of the two it was.
    void configurationDialogsFolder_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("open, then open") << "Command2"
                                         << "Command2";
        QTest::newRow("open, then save") << "Command2"
                                         << "Command11";
        QTest::newRow("save, then open") << "Command11"
                                         << "Command2";
    }
    void configurationDialogsFolder() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        const QString shipped = QDir(m_dir->path()).filePath("data/configurations");
        const QString other = QDir(m_dir->path()).filePath("classe");
        QVERIFY(QDir().mkpath(shipped));
        QVERIFY(QDir().mkpath(other));
        QDir::setCurrent(QDir::rootPath());
        QStringList seen;
        auto leaveIn = [&seen](const QString& folder) {
            return [&seen, folder](QDialog* dialog) {
                auto* browser = dialog->findChild<Ionaria::config::FileBrowser*>();
                QVERIFY(browser != nullptr);
                seen << QDir(browser->folder()).canonicalPath();
                QVERIFY(browser->setFolder(folder));
                dialog->reject();
            };
        };
        const auto dialogName = [](const QString& button) {
            return button == "Command2" ? QStringLiteral("ouvrir") : QStringLiteral("enregistrer");
        };
        const auto firstOpened = windowtest::whenDialog(dialogName(first), leaveIn(other));
        QMetaObject::invokeMethod(&window(), qPrintable(first + "_Click"));
        QVERIFY(firstOpened->done());
        const auto secondOpened = windowtest::whenDialog(dialogName(second), leaveIn(shipped));
        QMetaObject::invokeMethod(&window(), qPrintable(second + "_Click"));
        QVERIFY(secondOpened->done());
        QCOMPARE(seen, (QStringList{QDir(shipped).canonicalPath(), QDir(other).canonicalPath()}));
    }

    // A copy is drawn at the size asked for, whatever the window's zoom.
    void copyAtItsScale_data() {
        QTest::addColumn<QSize>("windowSize");
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("k");
        QTest::newRow("own size, zoomed window") << QSize(1200, 900) << "cop001" << 1;
        QTest::newRow("twice, design window") << QSize(800, 600) << "cop002" << 2;
        QTest::newRow("four times, zoomed window") << QSize(1600, 1200) << "cop004" << 4;
    }
    void copyAtItsScale() {
        QFETCH(QSize, windowSize);
        QFETCH(QString, item);
        QFETCH(int, k);
        auto& w = window();
        w.resize(windowSize);
        QApplication::processEvents();
        QGuiApplication::clipboard()->clear();
        auto* action = w.menucop->findChild<QAction*>(item);
        if (action == nullptr) {
            for (QAction* a : w.menucop->actions()) {
                action = a->objectName() == item ? a : action;
            }
        }
        QVERIFY(action != nullptr);
        action->trigger();
        const QImage copied =
            QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(copied.size(), QSize(417 * k, 497 * k));
        QCOMPARE(copied, w.picture().canvas().render(k).convertToFormat(QImage::Format_RGB32));
        QCOMPARE(w.info->text(), w.copyMessage());
    }

    void zoomSteps_data() {
        QTest::addColumn<double>("z");
        QTest::addColumn<int>("steps");
        QTest::addColumn<double>("next");
        QTest::newRow("in from the design size") << 1.0 << 1 << 1.25;
        QTest::newRow("in from between two steps") << 1.1 << 1 << 1.25;
        QTest::newRow("out from between two steps") << 1.1 << -1 << 1.0;
        QTest::newRow("out from a step") << 1.5 << -1 << 1.25;
        QTest::newRow("not below the smallest") << 0.5 << -1 << MainWindow::minimumZoom;
        QTest::newRow("not beyond the largest") << 4.0 << 1 << MainWindow::maximumZoom;
        QTest::newRow("rounding of a fitted zoom") << 1.2499999 << 1 << 1.5;
    }
    void zoomSteps() {
        QFETCH(double, z);
        QFETCH(int, steps);
        QFETCH(double, next);
        QCOMPARE(MainWindow::nextZoom(z, steps), next);
    }

    void zoomKeys() {
        auto& w = window();
        w.resize(1600, 1200);
        QApplication::processEvents();
        QTest::keyClick(&w, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(w.size(), QSize(1400, 1050));
        QTest::keyClick(&w, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(w.size(), QSize(800, 600));
        QTest::keyClick(&w, Qt::Key_F11);
        QVERIFY(w.windowState().testFlag(Qt::WindowFullScreen));
        QTest::keyClick(&w, Qt::Key_F11);
        QVERIFY(!w.windowState().testFlag(Qt::WindowFullScreen));
    }

    // Tab visits every control in reading order, Shift+Tab the other way.
    void tabOrder() {
        auto& w = window();
        const QList<QWidget*> forward = walk(Qt::Key_Tab);
        const QList<QWidget*> reading = {
            w.Onglets,  w.Picture3->UpDown1, w.Picture3->Combo1, w.Command3,
            w.Command5, w.Command2,          w.Command11,        w.Command10,
            w.Command4, w.Command6,          w.Command12,        w.btexo,
            w.Command8, w.Command7,          w.Command1,         w.supertext};
        qsizetype last = -1;
        for (QWidget* c : reading) {
            const qsizetype at = forward.indexOf(c);
            QVERIFY2(at > last, qPrintable(c->objectName()));
            last = at;
        }
        // The current generator's arrows are greyed out with the montage
        // that has not that generator, and out of the order.
        QVERIFY(!w.Picture3->UpDown2->isEnabled());
        QVERIFY(!forward.contains(w.Picture3->UpDown2));
        QList<QWidget*> backward = walk(Qt::Key_Backtab);
        std::reverse(backward.begin(), backward.end());
        QCOMPARE(backward, forward);
    }

    // Tab in the pupil's text goes on, leaving the text as it was.
    void tabInTheTextMovesOn() {
        auto& w = window();
        w.supertext->setFocus(Qt::TabFocusReason);
        const QString before = w.supertext->toHtml();
        QTest::keyClick(w.supertext, Qt::Key_Tab);
        QCOMPARE(w.supertext->toHtml(), before);
        QVERIFY(QApplication::focusWidget() != w.supertext);
        QCOMPARE(w.exercises().texteModifie(), 0);
    }

    void stripKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("tab");
        QTest::newRow("Right") << int(Qt::Key_Right) << int(Qt::NoModifier) << 3;
        QTest::newRow("Left") << int(Qt::Key_Left) << int(Qt::NoModifier) << 1;
        QTest::newRow("Home") << int(Qt::Key_Home) << int(Qt::NoModifier) << 1;
        QTest::newRow("End") << int(Qt::Key_End) << int(Qt::NoModifier) << 4;
        QTest::newRow("Ctrl+Tab") << int(Qt::Key_Tab) << int(Qt::ControlModifier) << 3;
        QTest::newRow("Ctrl+PgDown") << int(Qt::Key_PageDown) << int(Qt::ControlModifier) << 3;
        QTest::newRow("Ctrl+PgUp") << int(Qt::Key_PageUp) << int(Qt::ControlModifier) << 1;
    }
    void stripKeys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, tab);
        auto& w = window();
        showTab(2);
        w.Onglets->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w.Onglets, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(w.Onglets->ongletActif(), tab);
    }

    // The page keys also work from a control of the page, round the strip.
    void pageKeysFromAControl() {
        auto& w = window();
        showTab(4);
        w.Picaff->Check1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w.Picaff->Check1, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(w.Onglets->ongletActif(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(w.Onglets->ongletActif(), 4);
    }

    void spinButtonsAnswerTheArrows_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("delta");
        QTest::newRow("Up") << int(Qt::Key_Up) << 1;
        QTest::newRow("Down") << int(Qt::Key_Down) << -1;
    }
    void spinButtonsAnswerTheArrows() {
        QFETCH(int, key);
        QFETCH(int, delta);
        auto& w = window();
        w.handlers().setUpDown1(40);
        w.refreshFromStore();
        w.Picture3->UpDown1->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), w.Picture3->UpDown1);
        QTest::keyClick(w.Picture3->UpDown1, Qt::Key(key));
        QCOMPARE(w.engine().params().UpDown1, 40 + delta);
        QCOMPARE(w.Picture3->Label1->text(), QString::fromStdString(w.engine().params().Label1));
    }

    // Every control a screen reader reaches has a name; the commands say
    // what they do, as their hint does, also in their tooltip.
    void everyControlHasAName() {
        auto& w = window();
        for (QWidget* c : w.findChildren<QWidget*>()) {
            if ((c->focusPolicy() & Qt::TabFocus) == 0 && !qobject_cast<QAbstractButton*>(c)) {
                continue;
            }
            // The lists of the nature boxes are windows of their own.
            if (c->window() != &w) {
                continue;
            }
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
            QVERIFY2(a != nullptr, qPrintable(c->objectName()));
            QVERIFY2(
                !a->text(QAccessible::Name).trimmed().isEmpty(),
                qPrintable(c->objectName() + QStringLiteral(" ") + c->metaObject()->className()));
        }
        for (QPushButton* b :
             {w.Command1, w.Command2, w.Command4, w.Command6, w.Command12, w.btexo}) {
            QVERIFY(!b->toolTip().isEmpty());
            QCOMPARE(QAccessible::queryAccessibleInterface(b)->text(QAccessible::Description),
                     b->toolTip());
        }
        QCOMPARE(w.Command7->toolTip(),
                 QStringLiteral("Si vous rencontrez une difficulté avec cette application"));
    }

    // The picture tells the run: the montage, the measurements, the report.
    void pictureDescriptionFollowsTheState() {
        auto& w = window();
        auto description = [&w] {
            return QAccessible::queryAccessibleInterface(w.illus)->text(QAccessible::Description);
        };
        const QString atStart = description();
        QVERIFY(atStart.contains(QStringLiteral("Électrolyse avec un générateur de tension")));
        QVERIFY(atStart.contains(QStringLiteral("Solution : Chlorure de sodium")));
        QVERIFY(atStart.contains(QStringLiteral("Durée : ")));
        w.Command5_Click();
        for (int i = 0; i < 40; ++i) {
            w.engine().Timer1_Timer();
        }
        w.Command5_Click();
        const QString later = description();
        QVERIFY(later != atStart);
        QVERIFY(later.contains(Ionaria::report::spokenMeasure(
            QString::fromStdString(w.engine().params().Labeltps()))));
        const auto timeBefore = w.engine().state().tempsSec;
        w.handlers().selectOption2(Montage::Pile);
        w.refreshFromStore();
        QVERIFY(description().contains(QStringLiteral("Association de deux ½ piles")));
        // Telling the state changes nothing in it.
        QCOMPARE(w.engine().state().tempsSec, 0);
        QVERIFY(timeBefore > 0);
    }
};

QTEST_MAIN(ZoomKeyboardTest)
#include "ZoomKeyboardTest.moc"
