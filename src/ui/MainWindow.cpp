// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"

#include "calc/Machine.h"
#include "exercises/AnswerTextEdit.h"
#include "exercises/ExerciseDialogs.h"
#include "exercises/ExerciseSession.h"
#include "look/DesignPalette.h"
#include "report/StateDescription.h"
#include "ui/Accessibility.h"
#include "ui/CommandBar.h"
#include "ui/CourbesWindow.h"
#include "ui/HelpWindow.h"
#include "ui/IllusView.h"
#include "ui/MainWindowLayout.h"
#include "ui/MeasureStrip.h"
#include "ui/NumberBox.h"
#include "ui/PageAnimation.h"
#include "ui/PageElectrode.h"
#include "ui/PagePicture3.h"
#include "ui/PresentationText.h"
#include "ui/PrintedPage.h"
#include "ui/TabStrip.h"
#include "ui/Zoom.h"
#include "ui/ZoomStyle.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>

#include <cmath>

namespace Ionaria::ui {

namespace {

using namespace mainLayout;

const QColor shadowGrey(128, 128, 128);

} // namespace

MainWindow::MainWindow(const QString& folder, QWidget* parent)
    : MainWindow(AppFolders::single(folder), parent) {}

MainWindow::MainWindow(const AppFolders& folders, QWidget* parent)
    : QWidget(parent), m_folders(folders), m_folder(folders.applicationFolder()),
      m_link(
          m_folder, m_handlers, [this](const QString& note) { info->setText(note); },
          [this](const QString& name) { m_exercises->openFromRecord(name); }),
      m_host(
          m_picture, [this](bool running) { timerChanged(running); }, [this] { naturesChanged(); }),
      m_zoom(*this, [this](double z, bool changed) { zoomApplied(z, changed); }) {
    installAccessibility();
    setObjectName(QStringLiteral("feuilleP"));
    setWindowTitle(QStringLiteral("Ionaria"));
    // Before any control exists: each takes the design's colours as it is made.
    look::useDesignPalette(this);
    Zoom::setFont(this, PrintedPage::arial8());
    resize(designWidth, designHeight);
    // The smallest size at which no control hides another and no text is cut.
    setMinimumSize(static_cast<int>(std::lround(designWidth * minimumZoom)),
                   static_cast<int>(std::lround(designHeight * minimumZoom)));
    m_engine.setHost(&m_host);
    m_engine.setStepObserver(&m_recorder);
    Timer1.setInterval(tickInterval);
    Timer1.setTimerType(Qt::PreciseTimer);
    connect(&Timer1, &QTimer::timeout, this, &MainWindow::tick);

    createControls();
    m_zoom.createKeys();
    createKeyboardOrder();
    zoomText(1.0);
    // Indicators, arrows, scroll bars and icons grow with the texts.
    auto* zoomStyle = new ZoomStyle;
    zoomStyle->setParent(this);
    zoomStyle->applyTo(this);

    m_link.markRunning();
    m_zoom.applySizeRule();
    writePresentation(*supertext);
    m_exercises = std::make_unique<exercises::ExerciseSession>(
        *supertext, *fich, m_handlers, [this] { writePresentation(*supertext); }, m_folder, this,
        exercises::ExerciseDialogs::standard());
    m_exercises->setDataFolder(m_folders.exercisesDataFolder());
    connect(m_exercises.get(), &exercises::ExerciseSession::configurationLoaded, this,
            [this](const QString& path) {
                refreshFromStore();
                m_files->showConfigurationPath(path);
            });
    info->setText(
        QStringLiteral("Vous pouvez modifier les paramètres,\nouvrir une configuration ou "
                       "un exercice"));
#ifdef Q_OS_WIN
    m_copyMessage = QStringLiteral("L'image est copiée : vous pouvez la retrouver depuis toute "
                                   "application Windows (coller)");
#else
    m_copyMessage = QStringLiteral("L'image est copiée : vous pouvez la retrouver depuis toute "
                                   "application (coller)");
#endif
    m_hints.keepOver(Command4, m_copyMessage);
    m_handlers.startup();
    refreshFromStore();
    // The main program may already have left a name: it is taken at the
    // activation that follows.
    m_link.lookAtStart();
    illus->setFocus();
}

MainWindow::~MainWindow() {
    Timer1.stop();
    m_engine.setHost(nullptr);
    m_engine.setStepObserver(nullptr);
    // The controls call back into the window and show the picture: they go
    // before the engine and the picture they use.
    const auto children = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        delete child;
    }
}

void MainWindow::createKeyboardOrder() {
    illus->setFocusPolicy(Qt::StrongFocus);
    illus->setAccessibleName(QStringLiteral("Expérience"));
    Picture2->setAccessibleName(QStringLiteral("Mesures"));
    fich->setAccessibleName(QStringLiteral("Fichier de l'exercice"));
    supertext->setAccessibleName(QStringLiteral("Texte de l'exercice"));
    info->setAccessibleName(QStringLiteral("Ligne d'aide"));
    // The pupil's text takes no tab character: Tab goes on to the next
    // control, as everywhere else in the window.
    supertext->setTabChangesFocus(true);
    nameScrollBars(this);

    QList<QWidget*> order{illus, Onglets};
    for (QWidget* page : std::initializer_list<QWidget*>{Picture3, Frame2, Picture1, Picaff}) {
        for (QWidget* control : page->findChildren<QWidget*>()) {
            if ((control->focusPolicy() & Qt::TabFocus) != 0 &&
                control->parentWidget() != nullptr &&
                qobject_cast<PrintedPage*>(control->parentWidget()) != nullptr) {
                order << control;
            }
        }
    }
    order << Command3 << Command5 << Command2 << Command11 << Command10 << Command4 << Command6
          << Command12 << btexo << Command8 << Command7 << Command1 << fich << supertext;
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    auto key = [this](const QList<QKeySequence>& keys, int delta) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, delta] { Onglets->stepOnglet(delta); });
        addAction(action);
    };
    key({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, 1);
    key({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
        -1);
}

void MainWindow::describePicture() {
    const QString text = report::stateDescription(m_engine);
    if (text == illus->accessibleDescription()) {
        return;
    }
    illus->setAccessibleDescription(text);
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(illus, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

// The creation order is the order of the keyboard focus: the picture, the
// tabs, the text column, then the commands.
void MainWindow::createControls() {
    createPicture();
    createTabs();
    createTextColumn();
    createCommands();
}

void MainWindow::createPicture() {
    Picture2 = new MeasureStrip(this);
    Zoom::setGeometry(Picture2,
                      QRect(margin, stripTop, IllusView::surfaceWidth, MeasureStrip::stripHeight));
    illus = new IllusView(m_picture.image(), this);
    Zoom::setGeometry(illus,
                      QRect(margin, illusTop, IllusView::surfaceWidth, IllusView::surfaceHeight));
    m_hints.setHint(illus,
                    QStringLiteral("Utiliser la boîte à onglets pour modifier les paramètres"));
}

void MainWindow::createTabs() {
    Onglets = new TabStrip(this);
    Zoom::setGeometry(Onglets, ongletsRect);
    Picture3 = new PagePicture3(m_handlers);
    Frame2 = new PageElectrode(0, m_handlers);
    Picture1 = new PageElectrode(1, m_handlers);
    Picaff = new PageAnimation(m_handlers);
    Onglets->setPages({Picture3, Frame2, Picture1, Picaff});
    m_hints.setHint(Picture3,
                    QStringLiteral("Sélectionner le montage que vous souhaitez utiliser"));
    m_hints.setHint(Frame2, QStringLiteral("Définir la nature et la masse de l'électrode G"));
    m_hints.setHint(Picture1, QStringLiteral("Définir la nature et la masse de l'électrode D"));
    m_hints.setHint(Picaff, QStringLiteral("Vous pouvez modifier les paramètres de l'animation"));
    for (PrintedPage* page :
         std::initializer_list<PrintedPage*>{Picture3, Frame2, Picture1, Picaff}) {
        connect(page, &PrintedPage::parametersChanged, this, &MainWindow::refreshFromStore);
        for (NumberBox* box : page->findChildren<NumberBox*>()) {
            connect(box, &NumberBox::validated, this, [this](bool byEnter) {
                refreshFromStore();
                if (byEnter && illus->isVisible()) {
                    illus->setFocus(Qt::OtherFocusReason);
                }
            });
        }
    }
}

void MainWindow::createTextColumn() {
    info = new QLabel(this);
    info->setObjectName(QStringLiteral("info"));
    m_hints.setLine(info);
    // Before anything asks a screen reader's view of it.
    markStatusLine(info);
    Zoom::setGeometry(info, infoRect);
    info->setWordWrap(true);
    info->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont infoFont = PrintedPage::arial8();
    infoFont.setPixelSize(12);
    Zoom::setFont(info, infoFont);

    fich = new QLineEdit(this);
    fich->setObjectName(QStringLiteral("fich"));
    Zoom::setGeometry(fich, fichRect);
    fich->setReadOnly(true);
    connect(fich, &QLineEdit::textChanged, this, [this](const QString& text) {
        fich->setCursorPosition(static_cast<int>(text.size()));
        fich->setToolTip(text);
    });
    supertext = new exercises::AnswerTextEdit(this);
    supertext->setObjectName(QStringLiteral("supertext"));
    Zoom::setGeometry(supertext, supertextRect);
    supertext->setAcceptRichText(true);
}

void MainWindow::createCommands() {
    createCommandBar(*this, m_hints);
    m_files = std::make_unique<FileCommands>(*this);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_zoom.apply();
}

void MainWindow::zoomApplied(double z, bool changed) {
    if (changed) {
        zoomText(z);
        if (m_help != nullptr) {
            m_help->setZoom(z);
        }
    }
    // The picture is drawn at the screen's own pixels.
    m_picture.canvas().setScale(z * devicePixelRatioF());
    illus->update();
}

// The statement's sizes are in points: its layout takes them at 96 z dots per
// inch, so that the text grows with the window and stays where the caret and
// the pointer find it.
void MainWindow::zoomText(double z) {
    constexpr double inchesPerMetre = 1.0 / 0.0254;
    const int dotsPerMetre = static_cast<int>(std::lround(96.0 * z * inchesPerMetre));
    m_textDevice.setDotsPerMeterX(dotsPerMetre);
    m_textDevice.setDotsPerMeterY(dotsPerMetre);
    if (QAbstractTextDocumentLayout* layout = supertext->document()->documentLayout()) {
        layout->setPaintDevice(&m_textDevice);
    }
    supertext->document()->markContentsDirty(0, supertext->document()->characterCount());
}

bool MainWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        m_link.activate();
    } else if (e->type() == QEvent::Show) {
        // Another screen may have another pixel ratio: the picture is drawn
        // again for it.
        m_zoom.shown();
    }
    if (e->type() == QEvent::Show && !m_shownOnce) {
        // The first showing counts as an activation even where no window
        // manager makes the window active, so that an exercise asked for
        // before the start opens.
        m_shownOnce = true;
        QTimer::singleShot(0, this, [this] { m_link.activate(); });
    }
    return QWidget::event(e);
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // The gradient fills the whole window; the content is centred on it.
    const int h = std::max(height(), 1);
    const auto along = [h](int top, int bottom, int i) {
        return static_cast<int>(std::nearbyint(top + (bottom - top) * static_cast<double>(i) / h));
    };
    for (int i = 0; i <= h; ++i) {
        const int a = along(gradientTop.red(), gradientBottom.red(), i);
        const int b = along(gradientTop.blue(), gradientBottom.blue(), i);
        p.setPen(QColor(a, a, b));
        p.drawLine(0, i, width(), i);
    }
    const QRect text = Zoom::geometry(supertext);
    const QRect shadow(QPoint(text.x() + 3, Zoom::geometry(fich).y() + 3),
                       QPoint(text.x() + text.width() + 2, text.y() + text.height() + 2));
    p.fillRect(Zoom::scaled(shadow, m_zoom.zoom()).translated(m_zoom.offset()), shadowGrey);
}

void MainWindow::refreshMeasures() {
    const auto& p = m_engine.params();
    Picture2->setValues(QString::fromStdString(p.Labeltps()), QString::fromStdString(p.Labelu()),
                        QString::fromStdString(p.Labelint()));
    Frame1->setVisible(m_picture.Frame1Visible());
    illus->update();
    // While the run goes on, the description follows it twice a second.
    if (!Timer1.isActive() || !m_described.isValid() ||
        m_described.elapsed() >= descriptionInterval) {
        m_described.start();
        describePicture();
    }
}

void MainWindow::refreshFromStore() {
    Picture3->syncFromStore();
    Frame2->syncFromStore();
    Picture1->syncFromStore();
    Picaff->syncFromStore();
    timerChanged(m_engine.params().Timer1);
    refreshMeasures();
}

void MainWindow::timerChanged(bool running) {
    if (running && !Timer1.isActive()) {
        Timer1.start();
    } else if (!running && Timer1.isActive()) {
        Timer1.stop();
    }
    Command5->setIcon(
        style()->standardIcon(running ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
}

void MainWindow::naturesChanged() {
    Frame2->syncFromStore();
    Picture1->syncFromStore();
}

void MainWindow::tick() {
    m_engine.Timer1_Timer();
    refreshMeasures();
}

void MainWindow::Command3_Click() {
    m_engine.Command3_Click();
    refreshMeasures();
}

void MainWindow::Command5_Click() {
    m_engine.Command5_Click();
    refreshMeasures();
}

void MainWindow::Command4_Click() {
    m_files->showCopyMenu();
}

void MainWindow::Command6_Click() {
    if (m_engine.params().Timer1) {
        m_engine.Command5_Click();
    }
    m_picture.drawReport();
    refreshMeasures();
}

void MainWindow::Command7_Click() {
    const QString folder = m_folders.helpFolder();
    if (folder.isEmpty() || !HelpWindow::available(folder)) {
        QMessageBox::critical(this, HelpWindow::missingTitle(),
                              HelpWindow::missingText(m_folders.helpSearched()));
        return;
    }
    if (m_help == nullptr) {
        m_help = new HelpWindow(folder, this);
        m_help->setZoom(m_zoom.zoom());
    } else {
        m_help->showContents();
    }
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void MainWindow::Command8_Click() {
    calc::Machine::ouvrir(this);
}

void MainWindow::Command2_Click() {
    m_files->open();
}

void MainWindow::Command11_Click() {
    m_files->save();
}

void MainWindow::Command10_Click() {
    m_files->print();
}

// The curves' window is not modal: it follows the run beside the picture.
void MainWindow::Command12_Click() {
    if (m_courbes == nullptr) {
        m_courbes = new CourbesWindow(m_recorder, this);
        connect(m_courbes, &CourbesWindow::exported, info, &QLabel::setText);
    }
    m_courbes->show();
    m_courbes->raise();
    m_courbes->activateWindow();
}

void MainWindow::btexo_Click() {
    m_exercises->optionexo()->setFont(font());
    m_exercises->btexo_Click(btexo);
}

bool MainWindow::openExerciseFile(const QString& path) {
    return m_exercises->openFromRecord(QFileInfo(path).absoluteFilePath());
}

bool MainWindow::confirmQuit() {
    auto ask = [this](const QString& title, const QString& text) {
        QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                        this);
        box.setDefaultButton(QMessageBox::Ok);
        return box.exec() == QMessageBox::Ok;
    };
    if (!m_exercises->askAbandonEdits()) {
        return false;
    }
    return ask(QStringLiteral("Fermer"), QStringLiteral("Quitter vraiment Ionaria ?"));
}

void MainWindow::unload() {
    if (m_unloaded) {
        return;
    }
    m_unloaded = true;
    Timer1.stop();
    calc::Machine::closeIfOpen();
    if (m_help != nullptr) {
        m_help->close();
    }
    if (m_courbes != nullptr) {
        m_courbes->close();
    }
    m_link.markStopped();
}

void MainWindow::endRun() {
    unload();
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_unloaded) {
        event->accept();
        return;
    }
    if (!confirmQuit()) {
        event->ignore();
        return;
    }
    unload();
    event->accept();
}

} // namespace Ionaria::ui
