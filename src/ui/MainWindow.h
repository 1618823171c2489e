// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/ExperimentPicture.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "sim/Recorder.h"
#include "ui/AppFolders.h"
#include "ui/FileCommands.h"
#include "ui/HintLine.h"
#include "ui/MainModuleLink.h"
#include "ui/TempFile.h"
#include "ui/WindowHost.h"
#include "ui/WindowZoom.h"

#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QPrinter>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <string>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTextEdit;

namespace Ionaria::exercises {
class ExerciseSession;
}

namespace Ionaria::ui {

class CourbesWindow;
class HelpWindow;
class IllusView;
class MeasureStrip;
class PageAnimation;
class PageElectrode;
class PagePicture3;
class TabStrip;

// The main window feuilleP: the picture of the experiment with its
// measurements, the tab strip of the parameters, the hint line, the text
// column and the commands. It owns the simulated montage for the whole run.
//
// The configuration dialogs, the print dialog, the calculator and the
// exercises are windows of their own, opened by its buttons. The window keeps
// the engine, the run loop and the quitting; its size and zoom
// (WindowZoom), its buttons (createCommandBar), the hint line (HintLine),
// the commands on files (FileCommands) and the link with the main program
// (MainModuleLink) each have their own file.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int designWidth = 800;  // px
    static constexpr int designHeight = 600; // px
    // The window's background runs from the first colour at the top to the
    // second at the bottom; the texts laid on it are read over the second.
    static inline const QColor gradientTop{255, 255, 255};
    static inline const QColor gradientBottom{200, 200, 180};
    static constexpr int tickInterval = 20; // ms
    // The zoom's bounds, which the other windows follow too.
    static constexpr double minimumZoom = WindowZoom::minimumZoom;
    static constexpr double maximumZoom = WindowZoom::maximumZoom;
    // How often a running experiment tells its state to screen readers, ms.
    static constexpr int descriptionInterval = 500;

    // folders says where the temporary file, the help pages and the
    // exercises are.
    explicit MainWindow(const AppFolders& folders, QWidget* parent = nullptr);
    // folder is the application folder: the temporary file is there, the help
    // pages in its data/aide and the exercises in its data/exercices.
    explicit MainWindow(const QString& folder, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The zoom steps keys away from z, on the quarters.
    static double nextZoom(double z, int steps) { return WindowZoom::nextZoom(z, steps); }
    double zoom() const { return m_zoom.zoom(); }
    WindowZoom& windowZoom() { return m_zoom; }

    sim::Engine& engine() { return m_engine; }
    sim::Handlers& handlers() { return m_handlers; }
    report::ExperimentPicture& picture() { return m_picture; }
    const QString& applicationFolder() const { return m_folder; }
    const AppFolders& folders() const { return m_folders; }
    const TempFile& tempFile() const { return m_link.tempFile(); }
    exercises::ExerciseSession& exercises() { return *m_exercises; }
    // The configuration last saved or opened; the save dialog starts with it.
    const std::string& cheminConfig() const { return m_files->cheminConfig(); }
    QPrinter& printer() { return m_files->printer(); }

    // Loads a configuration file as if the user had made each choice; a file
    // that cannot be loaded shows its message and changes nothing.
    bool openConfiguration(const QString& path) { return m_files->openConfiguration(path); }
    // Opens an exercise descriptor given by its path, as one asked for by the
    // main program; a file that cannot be read shows its message.
    bool openExerciseFile(const QString& path);
    // Shows in every control the parameters as they stand, and the picture.
    void refreshFromStore();
    // Ends the run without asking, as the session or the system asks: the
    // other windows close and the temporary file says that it stopped.
    void endRun();

    // Shared with the other windows.
    QString copyMessage() const { return m_copyMessage; }

    // The controls, by the names the other windows and the tests use.
    IllusView* illus = nullptr;
    MeasureStrip* Picture2 = nullptr;
    TabStrip* Onglets = nullptr;
    PagePicture3* Picture3 = nullptr;
    PageElectrode* Frame2 = nullptr;
    PageElectrode* Picture1 = nullptr;
    PageAnimation* Picaff = nullptr;
    QLabel* info = nullptr;
    QLineEdit* fich = nullptr;
    QTextEdit* supertext = nullptr;
    QFrame* Frame1 = nullptr;         // the frame of the reset and pause buttons
    QPushButton* Command1 = nullptr;  // "&Fermer"
    QPushButton* Command2 = nullptr;  // "&Ouvrir"
    QPushButton* Command3 = nullptr;  // "Retour à l'état initial"
    QPushButton* Command4 = nullptr;  // "Co&pier"
    QPushButton* Command5 = nullptr;  // "Pause / Marche"
    QPushButton* Command6 = nullptr;  // "É&tat du système"
    QPushButton* Command7 = nullptr;  // "&Aide"
    QPushButton* Command8 = nullptr;  // "&Calculatrice"
    QPushButton* Command10 = nullptr; // "&Imprimer"
    QPushButton* Command11 = nullptr; // "&Enregistrer"
    QPushButton* Command12 = nullptr; // "Co&urbes"
    QPushButton* btexo = nullptr;     // "E&xercices"
    QMenu* menucop = nullptr;
    QAction* cop001 = nullptr;
    QTimer Timer1;
    HelpWindow* helpWindow() const { return m_help; }
    // The measurements since the last reset, and their window once opened.
    const sim::Recorder& recorder() const { return m_recorder; }
    CourbesWindow* courbesWindow() const { return m_courbes; }

public slots:
    void Command1_Click() { close(); }
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command10_Click();
    void Command11_Click();
    void Command12_Click();
    void btexo_Click();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createPicture();
    void createTabs();
    void createTextColumn();
    void createCommands();
    void createKeyboardOrder();
    // The picture's accessible description: the state report in words.
    void describePicture();
    // The content was fitted to the window at zoom z.
    void zoomApplied(double z, bool changed);
    void zoomText(double z);
    bool confirmQuit();
    void unload();
    void timerChanged(bool running);
    void naturesChanged();
    void tick();
    void refreshMeasures();

    AppFolders m_folders;
    QString m_folder;
    MainModuleLink m_link;
    sim::Engine m_engine;
    sim::Handlers m_handlers{m_engine};
    sim::Recorder m_recorder{m_engine};
    report::ExperimentPicture m_picture{m_engine};
    WindowHost m_host;
    QString m_copyMessage;
    HintLine m_hints;
    WindowZoom m_zoom;
    std::unique_ptr<FileCommands> m_files;
    HelpWindow* m_help = nullptr;
    CourbesWindow* m_courbes = nullptr;
    std::unique_ptr<exercises::ExerciseSession> m_exercises;
    bool m_unloaded = false;
    bool m_shownOnce = false;
    QElapsedTimer m_described;
    // Only its resolution counts: the statement's layout reckons points in it.
    QImage m_textDevice{1, 1, QImage::Format_RGB32};
};

} // namespace Ionaria::ui
