// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"
#include "MainWindowFixture.h"
#include "base/RecordFile.h"
#include "config/Enregistrer.h"
#include "config/Ouvrir.h"
#include "exercises/ExerciseSession.h"
#include "sim/Catalogue.h"
#include "ui/MeasureStrip.h"
#include "ui/NumberBox.h"
#include "ui/PageAnimation.h"
#include "ui/PageElectrode.h"
#include "ui/PagePicture3.h"
#include "ui/WindowZoom.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>

#include <memory>

using Ionaria::sim::catalogue::Montage;

namespace cat = Ionaria::sim::catalogue;

using Ionaria::base::RecordFile;
using Ionaria::ui::MainWindow;
using Ionaria::ui::NumberBox;
using Ionaria::ui::WindowZoom;

using namespace windowtest;

// The main window itself: its start-up, size, commands, hints, copy, state
// report and quit.
class MainWindowTest : public WindowTestBase {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void startsOnTheResetMontage();
    void sizeRule_data();
    void sizeRule();
    void refusedMontageHidesFrame1();
    void pauseAndRun();
    void scaleWhilePausedKeepsTime();
    void hints_data();
    void hints();
    void copyHintStaysOverCopyButton();
    void copy_data();
    void copy();
    void stateReportPauses();
    void quit_data();
    void quit();
    void commandDialogs_data();
    void commandDialogs();
    void exerciseMenu();
};

void MainWindowTest::startsOnTheResetMontage() {
    MainWindow& w = window();
    const auto& p = w.engine().params();
    QCOMPARE(w.windowTitle(), QStringLiteral("Ionaria"));
    QCOMPARE(record(m_dir->path(), 13), QStringLiteral("OUI"));
    QCOMPARE(p.Option2, Montage::Tension);
    QVERIFY(w.Picture3->Option2[1]->isChecked());
    QCOMPARE(w.Picture3->Combo1->currentText(), QStringLiteral("Chlorure de sodium"));
    QCOMPARE(w.Frame2->Combo2->currentText(), QStringLiteral("Graphite"));
    QCOMPARE(w.Picture1->Combo2->currentText(), QStringLiteral("Graphite"));
    QCOMPARE(w.Picture3->Label1->text(), QStringLiteral("2,5 V"));
    QCOMPARE(w.Picture3->Label2->text(), QStringLiteral("50 mA"));
    QCOMPARE(w.Picture2->Labeltps->text(), QStringLiteral("0 s"));
    QVERIFY(!w.Picture2->Labelint->text().isEmpty());
    QVERIFY(!w.Timer1.isActive());
    QVERIFY(w.Frame1->isVisible());
    QVERIFY(w.supertext->toPlainText().startsWith(QStringLiteral("Ionaria\n")));
    QCOMPARE(w.info->text(), QStringLiteral("Vous pouvez modifier les paramètres,\nouvrir une "
                                            "configuration ou un exercice"));
    QCOMPARE(w.exercises().texteModifie(), 0);
    QCOMPARE(w.Onglets->ongletActif(), 1);
    // The picture is drawn: more than a blank surface.
    const QImage& frame = w.picture().image();
    QCOMPARE(frame.size(), QSize(417, 497));
    int differing = 0;
    for (int y = 0; y < frame.height(); y += 7) {
        for (int x = 0; x < frame.width(); x += 7) {
            differing += frame.pixel(x, y) != frame.pixel(0, 0) ? 1 : 0;
        }
    }
    QVERIFY(differing > 100);
}

void MainWindowTest::sizeRule_data() {
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<bool>("applies");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("1024 x 768: centred")
        << QRect(0, 0, 1024, 768) << true << QRect(112, 84, 800, 600);
    QTest::newRow("second screen")
        << QRect(1920, 0, 1280, 1024) << true << QRect(1920 + 240, 212, 800, 600);
    QTest::newRow("851 wide") << QRect(0, 0, 851, 700) << true << QRect(25, 50, 800, 600);
    QTest::newRow("850 wide keeps its size") << QRect(0, 0, 850, 700) << false << QRect();
    QTest::newRow("800 x 600 keeps its size") << QRect(0, 0, 800, 600) << false << QRect();
}

void MainWindowTest::sizeRule() {
    QFETCH(QRect, screen);
    QFETCH(bool, applies);
    QFETCH(QRect, expected);
    const auto got = WindowZoom::sizeRule(screen);
    QCOMPARE(got.has_value(), applies);
    if (applies) {
        QCOMPARE(*got, expected);
    }
}

void MainWindowTest::refusedMontageHidesFrame1() {
    MainWindow& w = window();
    emit w.Picture3->Combo1->activated(0);
    QVERIFY(w.Frame1->isVisible());
    w.Frame2->Combo2->setCurrentIndex(0);
    emit w.Frame2->Combo2->activated(0);
    QVERIFY(w.engine().state().natInvalide);
    QVERIFY(!w.Frame1->isVisible());
    emit w.Frame2->Combo2->activated(3);
    QVERIFY(!w.engine().state().natInvalide);
    QVERIFY(w.Frame1->isVisible());
}

void MainWindowTest::pauseAndRun() {
    MainWindow& w = window();
    const QImage paused = w.Command5->icon().pixmap(16).toImage();
    w.Command5->click();
    QVERIFY(w.Timer1.isActive());
    QCOMPARE(w.Timer1.interval(), 20);
    QVERIFY(w.Command5->icon().pixmap(16).toImage() != paused);
    QTRY_VERIFY_WITH_TIMEOUT(w.Picture2->Labeltps->text() != QStringLiteral("0 s"), 3000);
    w.Command5->click();
    QVERIFY(!w.Timer1.isActive());
    QCOMPARE(w.Command5->icon().pixmap(16).toImage(), paused);
    const QString stopped = w.Picture2->Labeltps->text();
    QTest::qWait(100);
    QCOMPARE(w.Picture2->Labeltps->text(), stopped);
    w.Command3->click();
    QCOMPARE(w.Picture2->Labeltps->text(), QStringLiteral("0 s"));
}

void MainWindowTest::scaleWhilePausedKeepsTime() {
    MainWindow& w = window();
    w.Command5->click();
    QTRY_VERIFY_WITH_TIMEOUT(w.engine().state().tempsSec > 0, 3000);
    w.Command5->click();
    const auto t = w.engine().state().tempsSec;
    showTab(4);
    w.Picaff->Option1[1]->click();
    QCOMPARE(w.engine().params().Option1, 1);
    QCOMPARE(w.engine().state().tempsSec, t);
    QVERIFY(!w.Timer1.isActive());
}

void MainWindowTest::hints_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("hint");
    QTest::newRow("illus") << "illus" << 1
                           << "Utiliser la boîte à onglets pour modifier les paramètres";
    QTest::newRow("Picture3") << "Picture3" << 1
                              << "Sélectionner le montage que vous souhaitez utiliser";
    QTest::newRow("Frame2") << "Frame2" << 2 << "Définir la nature et la masse de l'électrode G";
    QTest::newRow("Picture1") << "Picture1" << 3
                              << "Définir la nature et la masse de l'électrode D";
    QTest::newRow("Picaff") << "Picaff" << 4
                            << "Vous pouvez modifier les paramètres de l'animation";
    QTest::newRow("Command1") << "Command1" << 1
                              << "Pour retrouver le module principal et quitter cette application";
    QTest::newRow("Command2") << "Command2" << 1 << "Pour retrouver une situation enregistrée";
    QTest::newRow("Command3") << "Command3" << 1 << "Retrouver l'état initial";
    QTest::newRow("Command4") << "Command4" << 1
                              << "Copier pour placer l'image dans le presse- papiers puis coller "
                                 "depuis Word, Paint...";
    QTest::newRow("Command5") << "Command5" << 1 << "Arrêter ou lancer l'animation";
    QTest::newRow("Command6") << "Command6" << 1 << "Afficher l'état du système";
    QTest::newRow("Command7") << "Command7" << 1
                              << "Si vous rencontrez une difficulté avec cette application";
    QTest::newRow("Command8") << "Command8" << 1 << "Machine à calculer";
    QTest::newRow("Command10") << "Command10" << 1
                               << "Pour configurer l'imprimante et imprimer l'image";
    QTest::newRow("Command11") << "Command11" << 1 << "Pour conserver la configuration en cours";
    QTest::newRow("btexo") << "btexo" << 1
                           << "Ouvrir un énoncé, enregistrer le texte, obtenir la correction, "
                              "imprimer ou fermer.";
}

void MainWindowTest::hints() {
    QFETCH(QString, control);
    QFETCH(int, tab);
    QFETCH(QString, hint);
    MainWindow& w = window();
    showTab(tab);
    auto* widget = w.findChild<QWidget*>(control);
    QVERIFY(widget != nullptr);
    QVERIFY(widget->isVisible());
    // A corner of the pages is free of controls; buttons and the picture
    // take the pointer anywhere.
    const bool page = widget->parentWidget() == w.Onglets;
    // The pointer may already stand there from an earlier row: it moves in.
    QTest::mouseMove(widget, page ? QPoint(6, 4) : widget->rect().center() + QPoint(3, 2));
    QTest::mouseMove(widget, page ? QPoint(3, 3) : widget->rect().center());
    QTRY_COMPARE(w.info->text(), hint);
}

void MainWindowTest::copyHintStaysOverCopyButton() {
    MainWindow& w = window();
    // The message confirms a copy: the item is chosen.
    const auto popup = whenPopup([&w](QMenu* menu) {
        w.cop001->trigger();
        menu->close();
    });
    w.Command4->click();
    QVERIFY(popup->done());
    QCOMPARE(w.info->text(), w.copyMessage());
    QTest::mouseMove(w.Command4, QPoint(5, 5));
    QTest::mouseMove(w.Command4, QPoint(8, 8));
    QCOMPARE(w.info->text(), w.copyMessage());
    QTest::mouseMove(w.Command5, w.Command5->rect().center());
    QTRY_COMPARE(w.info->text(), QStringLiteral("Arrêter ou lancer l'animation"));
}

void MainWindowTest::copy_data() {
    QTest::addColumn<bool>("choose");
    QTest::newRow("item chosen") << true;
    QTest::newRow("menu dismissed") << false;
}

void MainWindowTest::copy() {
    QFETCH(bool, choose);
    MainWindow& w = window();
    QGuiApplication::clipboard()->clear();
    QString item;
    const auto popup = whenPopup([&w, &item, choose](QMenu* menu) {
        item = menu->actions().value(0)->text();
        if (choose) {
            w.cop001->trigger();
        }
        menu->close();
    });
    const QString before = w.info->text();
    w.Command4->click();
    QVERIFY(popup->done());
    QCOMPARE(item, QStringLiteral("Copier l'illustration"));
#ifdef Q_OS_WIN
    QCOMPARE(w.copyMessage(), QStringLiteral("L'image est copiée : vous pouvez la retrouver depuis "
                                             "toute application Windows (coller)"));
#else
    QCOMPARE(w.copyMessage(), QStringLiteral("L'image est copiée : vous pouvez la retrouver depuis "
                                             "toute application (coller)"));
#endif
    // Only a copy made says so; a dismissed menu leaves the hint line alone.
    QCOMPARE(w.info->text(), choose ? w.copyMessage() : before);
    const QImage copied = QGuiApplication::clipboard()->image();
    if (choose) {
        QCOMPARE(copied.size(), QSize(417, 497));
        QCOMPARE(copied.convertToFormat(QImage::Format_RGB32),
                 w.picture().image().convertToFormat(QImage::Format_RGB32));
    } else {
        QVERIFY(copied.isNull());
    }
}

void MainWindowTest::stateReportPauses() {
    MainWindow& w = window();
    w.Command5->click();
    QVERIFY(w.Timer1.isActive());
    const QImage before = w.picture().image().copy();
    w.Command6->click();
    QVERIFY(!w.Timer1.isActive());
    QVERIFY(!w.engine().params().Timer1);
    QVERIFY(w.picture().image() != before);
}

void MainWindowTest::quit_data() {
    using B = QMessageBox::StandardButton;
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QList<QMessageBox::StandardButton>>("answers");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<bool>("closed");
    QTest::newRow("cancel") << false << QList<B>{B::Cancel} << QStringList{"Fermer"} << false;
    QTest::newRow("ok") << false << QList<B>{B::Ok} << QStringList{"Fermer"} << true;
    QTest::newRow("modified text, cancel first")
        << true << QList<B>{B::Cancel} << QStringList{"Abandon des données?"} << false;
    QTest::newRow("modified text, then cancel")
        << true << QList<B>{B::Ok, B::Cancel} << QStringList{"Abandon des données?", "Fermer"}
        << false;
    QTest::newRow("modified text, ok twice")
        << true << QList<B>{B::Ok, B::Ok} << QStringList{"Abandon des données?", "Fermer"} << true;
}

void MainWindowTest::quit() {
    QFETCH(bool, modified);
    QFETCH(QList<QMessageBox::StandardButton>, answers);
    QFETCH(QStringList, titles);
    QFETCH(bool, closed);
    MainWindow& w = window();
    if (modified) {
        // The text counts as the pupil's once an exercise is shown.
        w.fich->setText(QStringLiteral("exercice.E37"));
        QTest::keyClicks(w.supertext, "ma reponse");
        QCOMPARE(w.exercises().texteModifie(), 1);
    }
    BoxAnswerer answerer(answers);
    w.Command1->click();
    QCOMPARE(answerer.seen.size(), titles.size());
    for (int i = 0; i < titles.size(); ++i) {
        const SeenBox& box = answerer.seen[i];
        QCOMPARE(box.title, titles[i]);
        QCOMPARE(box.icon, QMessageBox::Question);
        QCOMPARE(box.text, box.title == QStringLiteral("Fermer")
                               ? QStringLiteral("Quitter vraiment Ionaria ?")
                               : QStringLiteral("Attention: perte des modifications du texte."));
    }
    QCOMPARE(w.isVisible(), !closed);
    QCOMPARE(record(m_dir->path(), 13), closed ? QStringLiteral("NON") : QStringLiteral("OUI"));
}

void MainWindowTest::commandDialogs_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("title");
    QTest::newRow("open") << "Command2"
                          << "ouvrir"
                          << "Ouvrir une configuration";
    QTest::newRow("save") << "Command11"
                          << "enregistrer"
                          << "Enregistrer la configuration";
    QTest::newRow("print") << "Command10"
                           << "confimp"
                           << "Imprimer";
    QTest::newRow("calculator") << "Command8"
                                << "Machine"
                                << "Machine à calculer";
}

void MainWindowTest::commandDialogs() {
    QFETCH(QString, button);
    QFETCH(QString, dialog);
    QFETCH(QString, title);
    MainWindow& w = window();
    const auto before = w.engine().params().Text2[cat::Text2Concentration].text();
    QString seenTitle;
    bool modal = false;
    const auto opened = whenDialog(dialog, [&](QDialog* d) {
        seenTitle = d->windowTitle();
        modal = d->isModal();
        d->reject();
    });
    w.findChild<QPushButton*>(button)->click();
    QVERIFY(opened->done());
    QCOMPARE(seenTitle, title);
    QVERIFY(modal);
    QCOMPARE(w.engine().params().Text2[cat::Text2Concentration].text(), before);
    QCOMPARE(w.windowTitle(), QStringLiteral("Ionaria"));
}

void MainWindowTest::exerciseMenu() {
    MainWindow& w = window();
    QStringList captions;
    const auto popup = whenPopup([&](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator()) {
                captions << action->text() + (action->isEnabled() ? "" : " (grisé)");
            }
        }
        menu->close();
    });
    w.btexo->click();
    QVERIFY(popup->done());
    QCOMPARE(
        captions,
        (QStringList{"&Prise en main", "&Ouvrir un exercice (énoncé + configuration)",
                     "&Voir la correction (grisé)",
                     "&Enregistrer le contenu de la fenêtre exercice", "&Retrouver un texte",
                     "&Imprimer le contenu de la fenêtre exercice", "&Fermer l'exercice (grisé)",
                     "&Nouvel exercice…", "&Modifier l'exercice… (grisé)"}));
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
