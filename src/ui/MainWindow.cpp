// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"

#include "calc/Machine.h"
#include "config/ConfigFile.h"
#include "config/Enregistrer.h"
#include "config/FileBrowser.h"
#include "config/MessageBoxes.h"
#include "config/Ouvrir.h"
#include "exercises/AnswerTextEdit.h"
#include "exercises/ExerciseDialogs.h"
#include "exercises/ExerciseSession.h"
#include "look/DesignPalette.h"
#include "output/FileOutput.h"
#include "report/Confimp.h"
#include "report/Rapport.h"
#include "report/StateDescription.h"
#include "ui/Accessibility.h"
#include "ui/CourbesWindow.h"
#include "ui/HelpWindow.h"
#include "ui/IllusView.h"
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
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextEdit>
#include <QWindow>

#include <cmath>

namespace Ionaria::ui {

namespace {

// Design geometry of the window, px.
constexpr int margin = 8;
constexpr int columnLeft = margin + IllusView::surfaceWidth + 7;
constexpr int stripTop = margin;
constexpr int illusTop = stripTop + MeasureStrip::stripHeight;
constexpr int illusBottom = illusTop + IllusView::surfaceHeight;
constexpr QRect ongletsRect(columnLeft, margin, TabStrip::designWidth, TabStrip::designHeight);
constexpr QRect infoRect(columnLeft, 249, TabStrip::designWidth, 40);
constexpr QRect fichRect(columnLeft, 295, TabStrip::designWidth - 3, 20);
constexpr QRect supertextRect(columnLeft, 315, TabStrip::designWidth - 3, 164);
constexpr QRect frame1Rect(columnLeft, illusBottom - 32, TabStrip::designWidth, 32);
constexpr int buttonsTop = illusBottom + 18;
constexpr int buttonHeight = 30;
constexpr int buttonSpacing = 6;

const QColor shadowGrey(128, 128, 128);

} // namespace

MainWindow::MainWindow(const QString& folder, QWidget* parent)
    : MainWindow(AppFolders::single(folder), parent) {}

MainWindow::MainWindow(const AppFolders& folders, QWidget* parent)
    : QWidget(parent), m_folders(folders), m_folder(folders.applicationFolder()),
      m_tempFile(m_folder.toStdString()),
      m_host(
          m_picture, [this](bool running) { timerChanged(running); },
          [this] { naturesChanged(); }) {
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
    createZoomKeys();
    createKeyboardOrder();
    zoomText(1.0);
    // Indicators, arrows, scroll bars and icons grow with the texts.
    auto* zoomStyle = new ZoomStyle;
    zoomStyle->setParent(this);
    zoomStyle->applyTo(this);

    m_tempFile.markRunning();
    applySizeRule();
    writePresentation(*supertext);
    m_exercises = std::make_unique<exercises::ExerciseSession>(
        *supertext, *fich, m_handlers, [this] { writePresentation(*supertext); }, m_folder, this,
        exercises::ExerciseDialogs::standard());
    m_exercises->setDataFolder(m_folders.exercisesDataFolder());
    connect(m_exercises.get(), &exercises::ExerciseSession::configurationLoaded, this,
            [this](const QString& path) {
                refreshFromStore();
                showConfigurationPath(path);
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
    m_handlers.startup();
    refreshFromStore();
    // The main program may already have left a name: it is taken at the
    // activation that follows.
    m_tempFile.exerciseName();
    showTempFileNote();
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

QPushButton* MainWindow::command(const char* name, const QString& caption, const QString& hint) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    setHint(button, hint);
    button->setToolTip(hint);
    button->setAccessibleDescription(hint);
    return button;
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

void MainWindow::setHint(QWidget* control, const QString& hint) {
    m_hints.insert(control, hint);
    control->setMouseTracking(true);
    control->installEventFilter(this);
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
    setHint(illus, QStringLiteral("Utiliser la boîte à onglets pour modifier les paramètres"));
}

void MainWindow::createTabs() {
    Onglets = new TabStrip(this);
    Zoom::setGeometry(Onglets, ongletsRect);
    Picture3 = new PagePicture3(m_handlers);
    Frame2 = new PageElectrode(0, m_handlers);
    Picture1 = new PageElectrode(1, m_handlers);
    Picaff = new PageAnimation(m_handlers);
    Onglets->setPages({Picture3, Frame2, Picture1, Picaff});
    setHint(Picture3, QStringLiteral("Sélectionner le montage que vous souhaitez utiliser"));
    setHint(Frame2, QStringLiteral("Définir la nature et la masse de l'électrode G"));
    setHint(Picture1, QStringLiteral("Définir la nature et la masse de l'électrode D"));
    setHint(Picaff, QStringLiteral("Vous pouvez modifier les paramètres de l'animation"));
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
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Zoom::setGeometry(Frame1, frame1Rect);
    Command3 = command("Command3", QStringLiteral("Retour à l'état initial"),
                       QStringLiteral("Retrouver l'état initial"));
    Command5 = command("Command5", QStringLiteral("Pause / Marche"),
                       QStringLiteral("Arrêter ou lancer l'animation"));
    const int half = (frame1Rect.width() - buttonSpacing) / 2;
    Command3->setParent(Frame1);
    Command5->setParent(Frame1);
    Zoom::setGeometry(Command3, QRect(0, 0, half, frame1Rect.height()));
    Zoom::setGeometry(Command5,
                      QRect(half + buttonSpacing, 0, frame1Rect.width() - half - buttonSpacing,
                            frame1Rect.height()));
    Command5->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));

    Command2 = command("Command2", QStringLiteral("&Ouvrir"),
                       QStringLiteral("Pour retrouver une situation enregistrée"));
    Command11 = command("Command11", QStringLiteral("&Enregistrer"),
                        QStringLiteral("Pour conserver la configuration en cours"));
    Command10 = command("Command10", QStringLiteral("&Imprimer"),
                        QStringLiteral("Pour configurer l'imprimante et imprimer l'image"));
    Command4 = command("Command4", QStringLiteral("Co&pier"),
                       QStringLiteral("Copier pour placer l'image dans le presse- papiers puis "
                                      "coller depuis Word, Paint..."));
    Command6 = command("Command6", QStringLiteral("É&tat du système"),
                       QStringLiteral("Afficher l'état du système"));
    Command12 = command("Command12", QStringLiteral("Co&urbes"),
                        QStringLiteral("Tracer les mesures au cours du temps et les exporter"));
    btexo = command("btexo", QStringLiteral("E&xercices"),
                    QStringLiteral("Ouvrir un énoncé, enregistrer le texte, obtenir la "
                                   "correction, imprimer ou fermer."));
    Command8 =
        command("Command8", QStringLiteral("&Calculatrice"), QStringLiteral("Machine à calculer"));
    Command7 = command("Command7", QStringLiteral("&Aide"),
                       QStringLiteral("Si vous rencontrez une difficulté avec cette application"));
    Command1 = command("Command1", QStringLiteral("&Fermer"),
                       QStringLiteral("Pour retrouver le module principal et quitter cette "
                                      "application"));
    layoutButtons();

    menucop = new QMenu(this);
    menucop->setObjectName(QStringLiteral("menucop"));
    cop001 = menucop->addAction(QStringLiteral("Copier l'illustration"));
    cop001->setObjectName(QStringLiteral("cop001"));
    connect(cop001, &QAction::triggered, this, &MainWindow::cop001_Click);
    // Larger copies for posters and slides, drawn at their size.
    for (int k = 2; k <= maximumCopyScale; ++k) {
        QAction* larger =
            menucop->addAction(QStringLiteral("Copier l'illustration agrandie (× %1)").arg(k));
        larger->setObjectName(QStringLiteral("cop00%1").arg(k));
        connect(larger, &QAction::triggered, this, [this, k] { copyPicture(k); });
    }

    connect(Command1, &QPushButton::clicked, this, &MainWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &MainWindow::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &MainWindow::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &MainWindow::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &MainWindow::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &MainWindow::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &MainWindow::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &MainWindow::Command8_Click);
    connect(Command10, &QPushButton::clicked, this, &MainWindow::Command10_Click);
    connect(Command11, &QPushButton::clicked, this, &MainWindow::Command11_Click);
    connect(Command12, &QPushButton::clicked, this, &MainWindow::Command12_Click);
    connect(btexo, &QPushButton::clicked, this, &MainWindow::btexo_Click);
}

void MainWindow::layoutButtons() {
    // The row spans the window; each button gets its caption's width and an
    // equal share of what is left.
    const std::array<QPushButton*, 10> row = {Command2,  Command11, Command10, Command4, Command6,
                                              Command12, btexo,     Command8,  Command7, Command1};
    const int available =
        designWidth - 2 * margin - buttonSpacing * static_cast<int>(row.size() - 1);
    int natural = 0;
    for (QPushButton* b : row) {
        natural += b->sizeHint().width();
    }
    // A row too long at the style's widest takes the captions' own widths.
    const bool tight = natural > available;
    const auto width = [tight](QPushButton* b) {
        if (!tight) {
            return b->sizeHint().width();
        }
        return b->fontMetrics().horizontalAdvance(QString(b->text()).remove(QLatin1Char('&'))) +
               2 * buttonSpacing;
    };
    if (tight) {
        natural = 0;
        for (QPushButton* b : row) {
            natural += width(b);
        }
    }
    const int extra = std::max(0, available - natural) / static_cast<int>(row.size());
    int x = margin;
    for (QPushButton* b : row) {
        const int w = b == row.back() ? designWidth - margin - x : width(b) + extra;
        Zoom::setGeometry(b, QRect(x, buttonsTop, w, buttonHeight));
        x += w + buttonSpacing;
    }
}

std::optional<QRect> MainWindow::sizeRule(const QRect& screen, const QSize& windowSize) {
    if (screen.width() <= sizeRuleScreenWidth) {
        return std::nullopt;
    }
    (void)windowSize;
    const int left = screen.x() + (screen.width() - designWidth) / 2;
    const int top = screen.y() + (screen.height() - designHeight) / 2;
    return QRect(left, top, designWidth, designHeight);
}

void MainWindow::applySizeRule() {
    const QScreen* s = screen();
    if (s == nullptr) {
        return;
    }
    const auto geometry = sizeRule(s->geometry(), size());
    if (!geometry) {
        return;
    }
    if (size() != geometry->size()) {
        resize(geometry->size());
    }
    if (pos() != geometry->topLeft()) {
        move(geometry->topLeft());
    }
}

double MainWindow::zoomFor(const QSize& windowSize) {
    return std::min(static_cast<double>(windowSize.width()) / designWidth,
                    static_cast<double>(windowSize.height()) / designHeight);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyZoom();
}

void MainWindow::applyZoom() {
    const double z = zoomFor(size());
    if (!(z > 0.0)) {
        return;
    }
    const QSize content(static_cast<int>(std::lround(designWidth * z)),
                        static_cast<int>(std::lround(designHeight * z)));
    const QPoint offset((width() - content.width()) / 2, (height() - content.height()) / 2);
    if (z != m_zoom || offset != m_zoomOffset) {
        m_zoom = z;
        m_zoomOffset = offset;
        Zoom::apply(this, z, offset);
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

void MainWindow::createZoomKeys() {
    auto key = [this](const QList<QKeySequence>& keys, auto slot) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
        return action;
    };
    key({QKeySequence(Qt::Key_F11)}, &MainWindow::toggleFullScreen);
    // Ctrl+= is Ctrl++ on keyboards where + needs Shift.
    key({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        &MainWindow::zoomIn);
    key({QKeySequence(Qt::CTRL | Qt::Key_Minus)}, &MainWindow::zoomOut);
    key({QKeySequence(Qt::CTRL | Qt::Key_0)}, &MainWindow::zoomReset);
}

void MainWindow::toggleFullScreen() {
    if (isFullScreen()) {
        showNormal();
    } else {
        showFullScreen();
    }
}

double MainWindow::nextZoom(double z, int steps) {
    const double quarters = z / zoomStep;
    const double from = steps > 0 ? std::floor(quarters + 1e-6) : std::ceil(quarters - 1e-6);
    return std::clamp((from + steps) * zoomStep, minimumZoom, maximumZoom);
}

void MainWindow::zoomTo(double z) {
    if (isFullScreen() || isMaximized()) {
        showNormal();
    }
    QSize target(static_cast<int>(std::lround(designWidth * z)),
                 static_cast<int>(std::lround(designHeight * z)));
    const QScreen* s = screen();
    if (s != nullptr && z > m_zoom) {
        // Growing, the frame of the window stays on the screen.
        const QSize room = s->availableGeometry().size() - (frameGeometry().size() - size());
        if (target.width() > room.width() || target.height() > room.height()) {
            const double fit = zoomFor(room);
            if (fit <= m_zoom) {
                return;
            }
            target =
                QSize(static_cast<int>(designWidth * fit), static_cast<int>(designHeight * fit));
        }
    }
    resize(target);
}

void MainWindow::zoomIn() {
    zoomTo(nextZoom(m_zoom, 1));
}

void MainWindow::zoomOut() {
    zoomTo(nextZoom(m_zoom, -1));
}

void MainWindow::zoomReset() {
    if (isFullScreen() || isMaximized()) {
        showNormal();
    }
    resize(designWidth, designHeight);
    applySizeRule();
}

bool MainWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        activate();
    } else if (e->type() == QEvent::Show) {
        applyZoom();
        // Another screen may have another pixel ratio: the picture is drawn
        // again for it.
        if (windowHandle() != nullptr && !m_followsScreen) {
            m_followsScreen = true;
            connect(windowHandle(), &QWindow::screenChanged, this, [this] { applyZoom(); });
        }
    }
    if (e->type() == QEvent::Show && !m_shownOnce) {
        // The first showing counts as an activation even where no window
        // manager makes the window active, so that an exercise asked for
        // before the start opens.
        m_shownOnce = true;
        QTimer::singleShot(0, this, &MainWindow::activate);
    }
    return QWidget::event(e);
}

void MainWindow::activate() {
    m_handlers.Form_Activate();
    const auto name = m_tempFile.takeRequest();
    showTempFileNote();
    if (name) {
        emit exerciseFileRequested(QDir(m_folder).filePath(QString::fromStdString(*name)));
        m_exercises->openFromRecord(QString::fromStdString(*name));
    }
}

void MainWindow::showTempFileNote() {
    const std::string note = m_tempFile.takeNote();
    if (!note.empty()) {
        info->setText(QString::fromStdString(note));
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseMove) {
        const auto it = m_hints.constFind(watched);
        if (it != m_hints.constEnd()) {
            // The confirmation of a copy stays while the pointer is over the
            // copy button.
            if (watched != Command4 || info->text() != m_copyMessage) {
                info->setText(it.value());
            }
        }
    }
    return QWidget::eventFilter(watched, e);
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
    p.fillRect(Zoom::scaled(shadow, m_zoom).translated(m_zoomOffset), shadowGrey);
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
    // Pop-up menus are windows of their own: they take the window's zoomed
    // font when they open.
    menucop->setFont(font());
    menucop->exec(Command4->mapToGlobal(QPoint(0, Command4->height())));
}

void MainWindow::cop001_Click() {
    copyPicture(1);
}

void MainWindow::copyPicture(int scale) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return;
    }
    // Drawn at the size asked for, whatever the window's zoom.
    const QImage picture = m_picture.canvas().render(scale);
    clipboard->clear();
    clipboard->setImage(picture);
    // The message says that the picture is there only when the clipboard
    // gives it back.
    const QImage back = clipboard->image().convertToFormat(QImage::Format_RGB32);
    if (!back.isNull() && back == picture.convertToFormat(QImage::Format_RGB32)) {
        info->setText(m_copyMessage);
    }
}

void MainWindow::Command6_Click() {
    if (m_engine.params().Timer1) {
        m_engine.Command5_Click();
    }
    report::rapport(m_picture.canvas(), m_engine);
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
        m_help->setZoom(m_zoom);
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

void MainWindow::showConfigurationPath(const QString& path) {
    setWindowTitle(QStringLiteral("Ionaria - ") + path);
}

// The configuration dialogs list the current folder: the shipped
// configurations the first time, then the folder where the last one was left.
void MainWindow::enterConfigurationFolder() {
    if (m_configurationFolder.isEmpty()) {
        const QString shipped = m_folders.dataFolderOf(QStringLiteral("configurations"));
        if (!shipped.isEmpty()) {
            m_configurationFolder = QDir(shipped).filePath(QStringLiteral("configurations"));
        }
    }
    if (!m_configurationFolder.isEmpty() && QFileInfo(m_configurationFolder).isDir()) {
        QDir::setCurrent(m_configurationFolder);
    }
}

void MainWindow::Command2_Click() {
    enterConfigurationFolder();
    config::Ouvrir ouvrir(m_handlers, m_cheminConfig, this, config::MessageBoxes::standard());
    connect(&ouvrir, &config::Ouvrir::configurationLoaded, this,
            &MainWindow::showConfigurationPath);
    ouvrir.exec();
    m_configurationFolder = ouvrir.browser()->folder();
    refreshFromStore();
}

void MainWindow::Command11_Click() {
    enterConfigurationFolder();
    config::Enregistrer enregistrer(m_engine.params(), m_cheminConfig, this,
                                    config::MessageBoxes::standard());
    connect(&enregistrer, &config::Enregistrer::configurationSaved, this,
            &MainWindow::showConfigurationPath);
    enregistrer.exec();
    m_configurationFolder = enregistrer.browser()->folder();
}

void MainWindow::Command10_Click() {
    // Printed as vector drawing at the printer's resolution.
    report::Confimp confimp(report::PicturePrinter::Picture::of(m_picture.canvas()), m_printer,
                            this);
    connect(&confimp, &report::Confimp::printNotWritten, this, [this] {
        config::MessageBoxes::standard().critical(this,
                                                  QString::fromLatin1(output::printNotWrittenTitle),
                                                  QString::fromLatin1(output::notWrittenText));
    });
    confimp.exec();
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

bool MainWindow::openConfiguration(const QString& path) {
    const auto message = config::ConfigFile::load(path.toStdString(), m_handlers);
    refreshFromStore();
    if (message) {
        QMessageBox::critical(this, QString::fromStdString(message->title),
                              QString::fromStdString(message->text));
        return false;
    }
    m_cheminConfig = path.toStdString();
    showConfigurationPath(path);
    return true;
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
    m_tempFile.markStopped();
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
