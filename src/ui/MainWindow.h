// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/ExperimentPicture.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "sim/Recorder.h"
#include "ui/AppFolders.h"
#include "ui/TempFile.h"
#include "ui/WindowHost.h"

#include <QHash>
#include <QPrinter>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
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
// exercises are windows of their own, opened by its buttons.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int designWidth = 800;  // px
    static constexpr int designHeight = 600; // px
    // Screens wider than this get the window at its design size, centred.
    static constexpr int sizeRuleScreenWidth = 850; // px
    static constexpr int tickInterval = 20;         // ms

    // folders says where the temporary file, the help pages and the
    // exercises are.
    explicit MainWindow(const AppFolders& folders, QWidget* parent = nullptr);
    // folder is the application folder: the temporary file is there, the help
    // pages in its data/aide and the exercises in its data/exercices.
    explicit MainWindow(const QString& folder, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The geometry the size rule gives on a screen, or none when the window
    // keeps its size.
    static std::optional<QRect> sizeRule(const QRect& screen, const QSize& windowSize);

    sim::Engine& engine() { return m_engine; }
    sim::Handlers& handlers() { return m_handlers; }
    report::ExperimentPicture& picture() { return m_picture; }
    const QString& applicationFolder() const { return m_folder; }
    const AppFolders& folders() const { return m_folders; }
    const TempFile& tempFile() const { return m_tempFile; }
    exercises::ExerciseSession& exercises() { return *m_exercises; }
    // The configuration last saved or opened; the save dialog starts with it.
    const std::string& cheminConfig() const { return m_cheminConfig; }
    QPrinter& printer() { return m_printer; }

    // Loads a configuration file as if the user had made each choice; a file
    // that cannot be loaded shows its message and changes nothing.
    bool openConfiguration(const QString& path);
    // Opens an exercise descriptor given by its path, as one asked for by the
    // main program; a file that cannot be read shows its message.
    bool openExerciseFile(const QString& path);
    // Shows in every control the parameters as they stand, and the picture.
    void refreshFromStore();

    // Shared with the other windows.
    QString copyMessage() const { return m_copyMessage; }
    int printFlag = 0; // read by the printing

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
    QFrame* Frame1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command10 = nullptr;
    QPushButton* Command11 = nullptr;
    QPushButton* Command12 = nullptr; // "Courbes"
    QPushButton* btexo = nullptr;
    QMenu* menucop = nullptr;
    QAction* cop001 = nullptr;
    QTimer Timer1;
    HelpWindow* helpWindow() const { return m_help; }
    // The measurements since the last reset, and their window once opened.
    const sim::Recorder& recorder() const { return m_recorder; }
    CourbesWindow* courbesWindow() const { return m_courbes; }

    // The hint written into info when the pointer moves over a control.
    QString hintFor(const QObject* control) const { return m_hints.value(control); }

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
    void cop001_Click();

signals:
    // The main program asked, through the temporary file, for this exercise
    // (its path in the application folder).
    void exerciseFileRequested(const QString& path);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void layoutButtons();
    QPushButton* command(const char* name, const QString& caption, const QString& hint);
    void setHint(QWidget* control, const QString& hint);
    void applySizeRule();
    void activate();
    bool confirmQuit();
    void unload();
    void timerChanged(bool running);
    void naturesChanged();
    void tick();
    void refreshMeasures();
    void showConfigurationPath(const QString& path);

    AppFolders m_folders;
    QString m_folder;
    TempFile m_tempFile;
    sim::Engine m_engine;
    sim::Handlers m_handlers{m_engine};
    sim::Recorder m_recorder{m_engine};
    report::ExperimentPicture m_picture{m_engine};
    WindowHost m_host;
    QString m_copyMessage;
    QHash<const QObject*, QString> m_hints;
    HelpWindow* m_help = nullptr;
    CourbesWindow* m_courbes = nullptr;
    std::string m_cheminConfig;
    QPrinter m_printer;
    std::unique_ptr<exercises::ExerciseSession> m_exercises;
    bool m_unloaded = false;
    bool m_shownOnce = false;
};

} // namespace Ionaria::ui
