// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"
#include "base/RecordFile.h"
#include "config/Enregistrer.h"
#include "config/Ouvrir.h"
#include "exercises/ExerciseSession.h"
#include "sim/Catalogue.h"
#include "ui/AppFolders.h"
#include "ui/HelpWindow.h"
#include "ui/IllusView.h"
#include "ui/MeasureStrip.h"
#include "ui/NumberBox.h"
#include "ui/PageAnimation.h"
#include "ui/PageElectrode.h"
#include "ui/PagePicture3.h"
#include "ui/TabStrip.h"
#include "ui/UpDownButtons.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <memory>

using Ionaria::base::RecordFile;
using Ionaria::ui::MainWindow;
using Ionaria::ui::NumberBox;
using Ionaria::ui::TempFile;

namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Answers the message boxes as they open, in order, and records them.
class BoxAnswerer : public QObject {
public:
    explicit BoxAnswerer(QList<QMessageBox::StandardButton> answers)
        : m_answers(std::move(answers)) {
        connect(&m_poll, &QTimer::timeout, this, &BoxAnswerer::poll);
        m_poll.start(20);
    }
    QList<SeenBox> seen;

private:
    void poll() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (box == nullptr || !box->isVisible() || box->property("answered").toBool()) {
                continue;
            }
            box->setProperty("answered", true);
            seen.push_back({box->windowTitle(), box->text(), box->icon()});
            const auto answer = m_answers.isEmpty() ? QMessageBox::Cancel : m_answers.takeFirst();
            QAbstractButton* button = box->button(answer);
            if (button == nullptr) {
                button = box->buttons().value(0);
            }
            if (button != nullptr) {
                button->click();
            }
        }
    }
    QList<QMessageBox::StandardButton> m_answers;
    QTimer m_poll;
};

// Runs action on the pop-up menu once it is open.
void whenPopup(std::function<void(QMenu*)> action) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            poll->stop();
            poll->deleteLater();
            action(menu);
        }
    });
    poll->start(20);
}

// Runs action on the modal dialog of that object name once it is open.
void whenDialog(const QString& name, std::function<void(QDialog*)> action) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, name, action] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(w);
            if (dialog != nullptr && dialog->isVisible() && dialog->objectName() == name) {
                poll->stop();
                poll->deleteLater();
                action(dialog);
                return;
            }
        }
    });
    poll->start(20);
}

QString record(const QString& folder, int n) {
    const auto text =
        RecordFile::readOne(QDir(folder).filePath(TempFile::fileName).toStdString(), n);
    return QString::fromStdString(text.value);
}

QColor background(const QWidget* w, QPalette::ColorRole role) {
    return w->palette().color(role);
}

const QColor white(255, 255, 255);
const QColor grey(192, 192, 192);

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsOnTheResetMontage();
    void sizeRule_data();
    void sizeRule();
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
    void activationClearsRecord31_data();
    void activationClearsRecord31();
    void helpMissingSaysWhere();
    void helpOpensContents();
    void helpFromInstalledData();
    void exercisesFromInstalledData();
    void openExerciseFile_data();
    void openExerciseFile();
    void helpLinksResolve();
    void openConfiguration();
    void openConfigurationFailureShowsMessage();
    void commandDialogs_data();
    void commandDialogs();
    void saveThenOpenShowsThePath();
    void exerciseMenu();

private:
    MainWindow& window() { return *m_window; }
    void showTab(int tab) { m_window->Onglets->setOngletActif(tab); }
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MainWindow> m_window;
};

void MainWindowTest::initTestCase() {
    QApplication::setQuitOnLastWindowClosed(false);
}

void MainWindowTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_window = std::make_unique<MainWindow>(m_dir->path());
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void MainWindowTest::cleanup() {
    m_window.reset();
    m_dir.reset();
}

void MainWindowTest::startsOnTheResetMontage() {
    MainWindow& w = window();
    const auto& p = w.engine().params();
    QCOMPARE(w.windowTitle(), QStringLiteral("Ionaria"));
    QCOMPARE(record(m_dir->path(), 13), QStringLiteral("OUI"));
    QCOMPARE(p.Option2, 1);
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
    const auto got = MainWindow::sizeRule(screen, QSize(640, 480));
    QCOMPARE(got.has_value(), applies);
    if (applies) {
        QCOMPARE(*got, expected);
    }
}

void MainWindowTest::typing_data() {
    QTest::addColumn<int>("montage");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<QString>("whileTyping");
    QTest::addColumn<QString>("validated");
    QTest::newRow("volume below its range") << 0 << 2 << "Text2_6"
                                            << "2.5" << false << "2,5"
                                            << "80";
    QTest::newRow("letters cannot be typed") << 0 << 2 << "Text2_6"
                                             << "abc" << false << ""
                                             << "80";
    QTest::newRow("letters among digits") << 1 << 3 << "Text2_3"
                                          << "a5b0" << true << "50"
                                          << "50";
    QTest::newRow("vessel volume, Enter") << 1 << 1 << "Text2_1"
                                          << "600" << true << "600"
                                          << "500";
    QTest::newRow("resistor") << 0 << 1 << "Text2_4"
                              << "2" << false << "2"
                              << "5";
    QTest::newRow("stop time, three digits kept") << 1 << 4 << "Text2_9"
                                                  << "1234" << true << "1234"
                                                  << "1230";
}

void MainWindowTest::typing() {
    QFETCH(int, montage);
    QFETCH(int, tab);
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(bool, byEnter);
    QFETCH(QString, whileTyping);
    QFETCH(QString, validated);
    MainWindow& w = window();
    w.Picture3->Option2[static_cast<std::size_t>(montage)]->click();
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

void MainWindowTest::editingPausesTheAnimation_data() {
    QTest::addColumn<bool>("running");
    QTest::addColumn<bool>("byEnter");
    QTest::newRow("running, Enter") << true << true;
    QTest::newRow("running, focus leaves") << true << false;
    QTest::newRow("paused, Enter") << false << true;
    QTest::newRow("paused, focus leaves") << false << false;
}

void MainWindowTest::editingPausesTheAnimation() {
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

void MainWindowTest::montageSwitch_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("electrode");
    QTest::addColumn<int>("nature");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("expected");
    QTest::newRow("graphite to the cell becomes zinc") << 1 << 0 << 3 << 0 << "Zinc";
    QTest::newRow("zinc of the cell becomes graphite") << 0 << 1 << 3 << 1 << "Graphite";
    QTest::newRow("zinc of electrolysis becomes aluminium") << 2 << 0 << 4 << 0 << "Aluminium";
    QTest::newRow("between electrolyses nothing changes") << 1 << 1 << 1 << 2 << "Cuivre";
}

void MainWindowTest::montageSwitch() {
    QFETCH(int, from);
    QFETCH(int, electrode);
    QFETCH(int, nature);
    QFETCH(int, to);
    QFETCH(QString, expected);
    MainWindow& w = window();
    auto* page = electrode == 0 ? w.Frame2 : w.Picture1;
    w.Picture3->Option2[static_cast<std::size_t>(from)]->click();
    page->Combo2->setCurrentIndex(nature);
    emit page->Combo2->activated(nature);
    w.Picture3->Option2[static_cast<std::size_t>(to)]->click();
    QCOMPARE(w.engine().params().Option2, to);
    QCOMPARE(page->Combo2->currentText(), expected);
    QCOMPARE(page->Combo2->count(), to == 0 ? 4 : 5);

    const bool pile = to == 0;
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

void MainWindowTest::generatorLabels_data() {
    QTest::addColumn<int>("montage");
    QTest::addColumn<QColor>("label1");
    QTest::addColumn<QColor>("label2");
    QTest::newRow("cell greys both") << 0 << grey << grey;
    QTest::newRow("voltage generator") << 1 << white << grey;
    QTest::newRow("current generator") << 2 << grey << white;
}

void MainWindowTest::generatorLabels() {
    QFETCH(int, montage);
    QFETCH(QColor, label1);
    QFETCH(QColor, label2);
    MainWindow& w = window();
    w.Picture3->Option2[static_cast<std::size_t>(montage)]->click();
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

void MainWindowTest::generatorArrows() {
    MainWindow& w = window();
    for (int i = 0; i < 3; ++i) {
        w.Picture3->UpDown1->upButton()->click();
    }
    QCOMPARE(w.Picture3->Label1->text(), QStringLiteral("2,8 V"));
    QCOMPARE(w.engine().params().UpDown1, 28);
    w.Picture3->UpDown2->downButton()->click();
    QCOMPARE(w.Picture3->Label2->text(), QStringLiteral("40 mA"));
    for (int i = 0; i < 30; ++i) {
        w.Picture3->UpDown2->upButton()->click();
    }
    QCOMPARE(w.Picture3->Label2->text(), QStringLiteral("250 mA"));
}

void MainWindowTest::stopBoxBackground() {
    MainWindow& w = window();
    showTab(4);
    QCOMPARE(background(w.Picaff->Text2_9, QPalette::Base), grey);
    w.Picaff->Check1->click();
    QCOMPARE(w.engine().params().Check1, 1);
    QCOMPARE(background(w.Picaff->Text2_9, QPalette::Base), white);
    w.Picaff->Check1->click();
    QCOMPARE(background(w.Picaff->Text2_9, QPalette::Base), grey);
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
    whenPopup([&w](QMenu* menu) {
        w.cop001->trigger();
        menu->close();
    });
    w.Command4->click();
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
    whenPopup([&w, &item, choose](QMenu* menu) {
        item = menu->actions().value(0)->text();
        if (choose) {
            w.cop001->trigger();
        }
        menu->close();
    });
    const QString before = w.info->text();
    w.Command4->click();
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

void MainWindowTest::activationClearsRecord31_data() {
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("requested");
    QTest::addColumn<bool>("opens");
    QTest::newRow("a shipped exercise") << "data/exercices/pile-cuivre-zinc.E37"
                                        << "data/exercices/pile-cuivre-zinc.E37" << true;
    QTest::newRow("spaces around it") << "  data/exercices/loi-de-faraday.E37 "
                                      << "data/exercices/loi-de-faraday.E37" << true;
    QTest::newRow("a missing one") << "exercices/absent.E37"
                                   << "exercices/absent.E37" << false;
    QTest::newRow("blank") << "   "
                           << "" << false;
    QTest::newRow("nothing") << ""
                             << "" << false;
}

void MainWindowTest::activationClearsRecord31() {
    QFETCH(QString, written);
    QFETCH(QString, requested);
    QFETCH(bool, opens);
    MainWindow& w = window();
    const QString shipped = QStringLiteral(IONARIA_SOURCE_DATA) + "/exercices";
    const QString copy = QDir(m_dir->path()).filePath("data/exercices");
    QDir().mkpath(copy);
    for (const QString& name : QDir(shipped).entryList(QDir::Files)) {
        QFile::copy(shipped + "/" + name, copy + "/" + name);
    }
    QSignalSpy spy(&w, &MainWindow::exerciseFileRequested);
    RecordFile::writeOne(w.tempFile().path(), 31, written.toStdString());
    BoxAnswerer answerer({QMessageBox::Ok});
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&w, &activate);
    QCOMPARE(record(m_dir->path(), 31), QString());
    QCOMPARE(spy.count(), requested.isEmpty() ? 0 : 1);
    if (!requested.isEmpty()) {
        QCOMPARE(spy.at(0).at(0).toString(), QDir(m_dir->path()).filePath(requested));
    }
    QCOMPARE(w.exercises().openedFromOutside(), opens ? 1 : 0);
    QCOMPARE(w.fich->text().endsWith(requested) && !requested.isEmpty(), opens);
    // A missing exercise is told, once; a good one opens silently.
    QCOMPARE(answerer.seen.size(), !requested.isEmpty() && !opens ? 1 : 0);
    if (opens) {
        QVERIFY(w.windowTitle().startsWith(QStringLiteral("Ionaria - ")));
    }
    QApplication::sendEvent(&w, &activate);
    QCOMPARE(spy.count(), requested.isEmpty() ? 0 : 1);
    QCOMPARE(record(m_dir->path(), 13), QStringLiteral("OUI"));
}

void MainWindowTest::helpMissingSaysWhere() {
    MainWindow& w = window();
    BoxAnswerer answerer({QMessageBox::Ok});
    w.Command7->click();
    QVERIFY(w.helpWindow() == nullptr);
    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(answerer.seen[0].title, QStringLiteral("Aide introuvable"));
    QCOMPARE(answerer.seen[0].icon, QMessageBox::Critical);
    QVERIFY2(answerer.seen[0].text.contains(QDir(m_dir->path()).filePath("data/aide")),
             qPrintable(answerer.seen[0].text));
}

// An installed program: its data in prefix/share/ionaria, the temporary file
// in the user's own folder, and a --dossier without data of its own.
struct Installed {
    QTemporaryDir root;
    QString path(const QString& relative) const { return QDir(root.path()).filePath(relative); }
    Installed() {
        for (const QString sub : {"aide", "exercices"}) {
            const QDir source(QStringLiteral(IONARIA_SOURCE_DATA "/") + sub);
            QDir().mkpath(path("prefix/share/ionaria/" + sub));
            for (const QString& name : source.entryList(QDir::Files)) {
                QFile::copy(source.filePath(name),
                            path("prefix/share/ionaria/" + sub + "/" + name));
            }
        }
        QDir().mkpath(path("prefix/bin"));
        QDir().mkpath(path("dossier"));
    }
    Ionaria::ui::AppFolders folders(bool dossier) const {
        Ionaria::ui::AppFolders::Inputs in;
        in.dossier = dossier ? path("dossier") : QString();
        in.executableFolder = path("prefix/bin");
        in.userFolder = path("user");
        return Ionaria::ui::AppFolders(in);
    }
};

void MainWindowTest::helpFromInstalledData() {
    const Installed installed;
    MainWindow w(installed.folders(true));
    QCOMPARE(w.tempFile().path(),
             QDir(installed.path("dossier")).filePath(TempFile::fileName).toStdString());
    w.Command7->click();
    QVERIFY(w.helpWindow() != nullptr);
    QCOMPARE(QFileInfo(w.helpWindow()->browser()->source().toLocalFile()).absolutePath(),
             QFileInfo(installed.path("prefix/share/ionaria/aide")).absoluteFilePath());
    w.helpWindow()->close();
}

void MainWindowTest::exercisesFromInstalledData() {
    const Installed installed;
    MainWindow w(installed.folders(false));
    QCOMPARE(w.applicationFolder(), installed.path("user"));
    QCOMPARE(record(installed.path("user"), 13), QStringLiteral("OUI"));
    QCOMPARE(QFileInfo(w.exercises().prisenmainPath()).absolutePath(),
             QFileInfo(installed.path("prefix/share/ionaria/exercices")).absoluteFilePath());
    // The main program names an exercise in the application folder's data/,
    // which an installed program keeps elsewhere.
    RecordFile::writeOne(w.tempFile().path(), 31, "data/exercices/loi-de-faraday.E37");
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&w, &activate);
    QCOMPARE(record(installed.path("user"), 31), QString());
    QCOMPARE(w.exercises().openedFromOutside(), 1);
    QCOMPARE(QFileInfo(w.fich->text()),
             QFileInfo(installed.path("prefix/share/ionaria/exercices/loi-de-faraday.E37")));
    w.exercises().PRISENMAIN_Click();
    QVERIFY(w.fich->text().endsWith(QStringLiteral("KIVAR.PEM")));
    QVERIFY(w.supertext->toPlainText().size() > 100);
}

void MainWindowTest::openExerciseFile_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("configuration"); // the end of the caption
    QTest::newRow("a shipped exercise")
        << QStringLiteral(IONARIA_SOURCE_DATA "/exercices/pile-cuivre-zinc.E37") << true
        << "pile-cuivre-zinc.C14";
    QTest::newRow("relative to the current folder")
        << "exercices/loi-de-faraday.E37" << true << "loi-de-faraday.C14";
    QTest::newRow("a missing one")
        << QStringLiteral(IONARIA_SOURCE_DATA "/exercices/absent.E37") << false << "";
}

void MainWindowTest::openExerciseFile() {
    QFETCH(QString, path);
    QFETCH(bool, opens);
    QFETCH(QString, configuration);
    MainWindow& w = window();
    const QString current = QDir::currentPath();
    QDir::setCurrent(QStringLiteral(IONARIA_SOURCE_DATA));
    BoxAnswerer answerer({QMessageBox::Ok});
    const bool opened = w.openExerciseFile(path);
    QDir::setCurrent(current);
    QCOMPARE(opened, opens);
    QCOMPARE(answerer.seen.size(), opens ? 0 : 1);
    if (opens) {
        QCOMPARE(QFileInfo(w.fich->text()),
                 QFileInfo(QDir(QStringLiteral(IONARIA_SOURCE_DATA)).filePath(path)));
        QVERIFY(w.windowTitle().endsWith(configuration));
        QVERIFY(!w.supertext->isReadOnly());
    } else {
        QCOMPARE(answerer.seen[0].title, QStringLiteral("Lecture impossible"));
        QVERIFY(w.fich->text().isEmpty());
    }
}

void MainWindowTest::helpOpensContents() {
    MainWindow& w = window();
    const QDir source(QStringLiteral(IONARIA_SOURCE_DATA "/aide"));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("data/aide")));
    for (const QString& name : source.entryList(QDir::Files)) {
        QVERIFY(QFile::copy(source.filePath(name),
                            QDir(m_dir->path()).filePath(QStringLiteral("data/aide/") + name)));
    }
    w.Command7->click();
    QVERIFY(w.helpWindow() != nullptr);
    QVERIFY(w.helpWindow()->isVisible());
    QCOMPARE(w.helpWindow()->browser()->source().fileName(), QStringLiteral("index.html"));
    QVERIFY(w.helpWindow()->browser()->toPlainText().contains(QStringLiteral("Sommaire")));
}

void MainWindowTest::helpLinksResolve() {
    const QDir source(QStringLiteral(IONARIA_SOURCE_DATA "/aide"));
    const QStringList pages = source.entryList({QStringLiteral("*.html")}, QDir::Files);
    QVERIFY(pages.contains(QStringLiteral("index.html")));
    QVERIFY(pages.size() >= 5);
    const QRegularExpression href(QStringLiteral("href=\"([^\"#]+)(#[^\"]*)?\""));
    QStringList linked;
    for (const QString& page : pages) {
        QFile file(source.filePath(page));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        QVERIFY2(html.contains(QStringLiteral("charset=\"utf-8\"")), qPrintable(page));
        for (auto it = href.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            QVERIFY2(source.exists(target), qPrintable(page + QStringLiteral(" -> ") + target));
            linked << target;
        }
    }
    for (const QString& page : pages) {
        QVERIFY2(page == QStringLiteral("index.html") || linked.contains(page), qPrintable(page));
    }
}

void MainWindowTest::openConfiguration() {
    MainWindow& w = window();
    QVERIFY(w.openConfiguration(
        QStringLiteral(IONARIA_SOURCE_DATA "/configurations/pile-cuivre-zinc.C14")));
    const auto& p = w.engine().params();
    QCOMPARE(p.Option2, 0);
    QVERIFY(w.Picture3->Option2[0]->isChecked());
    QCOMPARE(w.Frame2->Combo2->currentIndex(), p.Combo2[0].listIndex);
    QCOMPARE(w.Picture1->Combo2->currentIndex(), p.Combo2[1].listIndex);
    QCOMPARE(w.Frame2->masse->text(), QString::fromStdString(p.Text2[2].text()));
    QVERIFY(!w.Frame2->concentration->isHidden());
}

void MainWindowTest::openConfigurationFailureShowsMessage() {
    MainWindow& w = window();
    BoxAnswerer answerer({QMessageBox::Ok});
    QVERIFY(!w.openConfiguration(QDir(m_dir->path()).filePath(QStringLiteral("absent.C14"))));
    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(answerer.seen[0].icon, QMessageBox::Critical);
    QVERIFY(!answerer.seen[0].text.isEmpty());
    QCOMPARE(w.engine().params().Option2, 1);
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"

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
    const auto before = w.engine().params().Text2[0].text();
    QString seenTitle;
    bool modal = false;
    whenDialog(dialog, [&](QDialog* d) {
        seenTitle = d->windowTitle();
        modal = d->isModal();
        d->reject();
    });
    w.findChild<QPushButton*>(button)->click();
    QCOMPARE(seenTitle, title);
    QVERIFY(modal);
    QCOMPARE(w.engine().params().Text2[0].text(), before);
    QCOMPARE(w.windowTitle(), QStringLiteral("Ionaria"));
}

void MainWindowTest::saveThenOpenShowsThePath() {
    MainWindow& w = window();
    const QString target = QDir(m_dir->path()).filePath("essai.C14");
    w.handlers().selectOption2(0);
    w.refreshFromStore();
    whenDialog("enregistrer", [&](QDialog* d) {
        auto* enregistrer = qobject_cast<Ionaria::config::Enregistrer*>(d);
        enregistrer->Text1()->setText(QDir(m_dir->path()).filePath("essai.txt"));
        enregistrer->confirm();
    });
    w.Command11->click();
    QVERIFY(QFile::exists(target));
    QCOMPARE(w.windowTitle(), QStringLiteral("Ionaria - ") + target);
    QCOMPARE(QString::fromStdString(w.cheminConfig()), target);

    w.handlers().selectOption2(1);
    w.refreshFromStore();
    whenDialog("ouvrir", [&](QDialog* d) {
        auto* ouvrir = qobject_cast<Ionaria::config::Ouvrir*>(d);
        ouvrir->ficharge()->setText(target);
        ouvrir->confirm();
    });
    w.Command2->click();
    QCOMPARE(w.engine().params().Option2, 0);
    QVERIFY(w.Picture3->findChildren<QRadioButton*>().size() >= 3);
    QCOMPARE(w.windowTitle(), QStringLiteral("Ionaria - ") + target);
}

void MainWindowTest::exerciseMenu() {
    MainWindow& w = window();
    QStringList captions;
    whenPopup([&](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator()) {
                captions << action->text() + (action->isEnabled() ? "" : " (grisé)");
            }
        }
        menu->close();
    });
    w.btexo->click();
    QCOMPARE(
        captions,
        (QStringList{"Prise en main", "Ouvrir un exercice (énoncé + configuration)",
                     "Voir la correction (grisé)", "Enregistrer le contenu de la fenêtre exercice",
                     "Retrouver un texte", "Imprimer le contenu de la fenêtre exercice",
                     "Fermer l'exercice (grisé)"}));
}
