// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include "exercises/ExerciseMessage.h"

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLineEdit;
class QMenu;
class QTextEdit;
class QWidget;

namespace Ionaria::sim {
class Handlers;
}

namespace Ionaria::exercises {

class ExerciseDialogs;
class ExerciseEditorPrompts;

// The exercises of the main window: the menu of its exercises button and
// what each item does to the rich-text box supertext and the file-name field
// fich, with the flags they share with the window.
class ExerciseSession : public QObject {
    Q_OBJECT

public:
    static constexpr const char* prisenmainName = "KIVAR.PEM";

    // applicationFolder is the executable's folder: the shipped exercises are
    // in its data/exercices, and names read from the temporary file are
    // relative to it. restorePresentation writes the presentation text back
    // into supertext. window is the parent of every box and dialog.
    ExerciseSession(QTextEdit& supertext, QLineEdit& fich, sim::Handlers& handlers,
                    std::function<void()> restorePresentation, const QString& applicationFolder,
                    QWidget* window, ExerciseDialogs& dialogs);
    ~ExerciseSession() override;

    // The data folder whose exercices/ holds the shipped exercises, when it is
    // not data/ of the application folder (an installed program keeps its
    // data apart from the folder it shares with the main program).
    void setDataFolder(const QString& folder) { m_dataFolder = folder; }
    // Who answers the exercise editor's questions (tests answer themselves).
    void setEditorPrompts(ExerciseEditorPrompts& prompts) { m_editorPrompts = &prompts; }

    QString exercisesFolder() const;
    QString prisenmainPath() const;

    // The folder of the current descriptor, with a trailing separator.
    const QString& dossierExo() const { return m_dossierExo; }
    // 1 when the exercise shown has a correction.
    int exoCorrige() const { return m_exoCorrige; }
    // 1 when the text of supertext changed since it was loaded or saved.
    int texteModifie() const { return m_texteModifie; }
    // 1 once an activation opened an exercise asked for by another program.
    int openedFromOutside() const { return m_openedFromOutside; }

    // The exercise menu and its items.
    QMenu* optionexo() const { return m_menu.get(); }
    QAction* PRISENMAIN() const { return m_prisenmain; }
    QAction* openexo() const { return m_openexo; }
    QAction* opencor() const { return m_opencor; }
    QAction* savetexte() const { return m_savetexte; }
    QAction* opentexte() const { return m_opentexte; }
    QAction* imprimetexte() const { return m_imprimetexte; }
    QAction* Closexo() const { return m_closexo; }
    QAction* nouvelexo() const { return m_nouvelexo; }
    QAction* modifexo() const { return m_modifexo; }

    // Enables the items as the flags and fich stand; runs before the menu shows.
    void updateMenu();
    // Pops the menu up under the button, at its left edge.
    void btexo_Click(QWidget* btexo);

    // Asks, when the text was modified, whether the edits may be dropped;
    // true when they may (nothing was modified, or OK).
    bool askAbandonEdits();

    // Opens a descriptor: its statement into supertext, editable, its
    // configuration into the simulator, its path into fich. False when the
    // statement could not be shown. The guided first use never counts as
    // corrected.
    bool openExercise(const QString& descriptor);

    // Activation: opens the exercise named by text (record 31 of the
    // temporary file, relative to the application folder), if there is one.
    // A name in the application folder's data/ that is not there is looked
    // for in the data folder.
    bool openFromRecord(const QString& text);

public slots:
    void PRISENMAIN_Click();
    void openexo_Click();
    void opencor_Click();
    void savetexte_Click();
    void opentexte_Click();
    void imprimetexte_Click();
    void Closexo_Click();
    // The exercise editor, on a new descriptor or on the one shown.
    void nouvelexo_Click();
    void modifexo_Click();

signals:
    // A configuration of an exercise was loaded into the simulator.
    void configurationLoaded(const QString& path);

private:
    void show(const ExerciseMessage& message);
    // The failure to tell, if the text could not be loaded; the box is then
    // left as it was.
    std::optional<ExerciseMessage> loadText(const QString& path, bool readOnly);
    void loadConfiguration(const QString& path);
    // Where the pupil's text dialogs start: the folder last used in the run;
    // at first the exercises for opening, the user's documents for saving.
    enum class TextDialog { Open, Save };
    QString textFolder(TextDialog dialog) const;
    void textChanged();

    QTextEdit& m_supertext;
    QLineEdit& m_fich;
    sim::Handlers& m_handlers;
    std::function<void()> m_restorePresentation;
    QString m_applicationFolder;
    QString m_dataFolder;
    QWidget* m_window;
    ExerciseDialogs& m_dialogs;

    ExerciseEditorPrompts* m_editorPrompts;

    QString m_dossierExo;
    QString m_lastTextFolder;
    QString m_lastEditorFolder;
    int m_exoCorrige = 0;
    int m_texteModifie = 0;
    int m_openedFromOutside = 0;

    std::unique_ptr<QMenu> m_menu;
    QAction* m_prisenmain;
    QAction* m_openexo;
    QAction* m_opencor;
    QAction* m_savetexte;
    QAction* m_opentexte;
    QAction* m_imprimetexte;
    QAction* m_closexo;
    QAction* m_nouvelexo;
    QAction* m_modifexo;
};

} // namespace Ionaria::exercises
