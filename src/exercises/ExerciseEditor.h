// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exercises/ExerciseDescriptor.h"
#include "exercises/ExerciseEditorPrompts.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QWidget;

namespace Ionaria::sim {
class Handlers;
}

namespace Ionaria::exercises {

// "Nouvel exercice…" and "Modifier l'exercice…": the fields of a descriptor in
// French, the files it names kept in its folder, then the descriptor written
// and the exercise opened as the chooser opens it.
class ExerciseEditor : public QDialog {
    Q_OBJECT

public:
    // Where the configuration loaded with a text comes from.
    enum class Source { None, Current, File };

    // handlers give the simulator's current configuration; openExercise
    // opens the written descriptor.
    ExerciseEditor(ExerciseEditorPrompts& prompts, sim::Handlers& handlers,
                   std::function<void(const QString&)> openExercise, const QString& folder,
                   QWidget* parent = nullptr);
    ~ExerciseEditor() override;

    // "Modifier l'exercice…": the fields of the descriptor at path; false
    // when it cannot be read.
    bool load(const QString& path);

    // Writes everything and opens the exercise; false, with a message, when
    // something was refused or could not be written (the dialog stays open).
    bool save();
    // Creates a starting RTF for the statement or the correction, then opens it.
    void createText(bool correction);
    // Opens the statement or the correction in the word processor.
    void openText(bool correction);
    // "Vérifier les valeurs": fills the table (ExerciseEditorValues.cpp).
    void checkValues();
    // The table of the values as tab-separated text, and onto the clipboard.
    QString valuesText() const;
    void copyValues();

    // The fields, for tests and for screen readers' names.
    QLineEdit* fichier() const { return m_fichier; }
    QLineEdit* intitule() const { return m_intitule; }
    QComboBox* niveau() const { return m_niveau; }
    QLineEdit* notions() const { return m_notions; }
    QSpinBox* duree() const { return m_duree; }
    QLineEdit* enonce() const { return m_enonce; }
    QLineEdit* correction() const { return m_correction; }
    QComboBox* configurationEnonce() const { return m_configEnonce; }
    QLineEdit* fichierConfigurationEnonce() const { return m_configEnonceFile; }
    QComboBox* configurationCorrection() const { return m_configCorrection; }
    QLineEdit* fichierConfigurationCorrection() const { return m_configCorrectionFile; }
    QLineEdit* durees() const { return m_durees; }
    QTableWidget* valeurs() const { return m_valeurs; }

    static constexpr const char* titleNew = "Nouvel exercice";
    static constexpr const char* titleEdit = "Modifier l'exercice";
    static constexpr const char* currentConfiguration = "la configuration actuelle du simulateur";

private:
    struct Plan;
    std::optional<Plan> plan();
    QString folder() const;
    QString stem() const;
    QString descriptorPath() const;
    void chooseDescriptor();
    void chooseText(QLineEdit* field);
    void chooseConfiguration(QComboBox* source, QLineEdit* field);
    void updateFields();
    void refuse(const QString& text);
    static Source sourceOf(const QComboBox* box);

    ExerciseEditorPrompts& m_prompts;
    sim::Handlers& m_handlers;
    std::function<void(const QString&)> m_openExercise;
    QString m_startFolder;
    // The descriptor being edited, whose other records are kept; empty for a new one.
    QString m_editing;
    ExerciseDescriptor m_loaded;

    QLineEdit* m_fichier;
    QLineEdit* m_intitule;
    QComboBox* m_niveau;
    QLineEdit* m_notions;
    QSpinBox* m_duree;
    QLineEdit* m_enonce;
    QLineEdit* m_correction;
    QComboBox* m_configEnonce;
    QLineEdit* m_configEnonceFile;
    QComboBox* m_configCorrection;
    QLineEdit* m_configCorrectionFile;
    QPushButton* m_createEnonce;
    QPushButton* m_createCorrection;
    QLineEdit* m_durees;
    QTableWidget* m_valeurs;
};

} // namespace Ionaria::exercises
