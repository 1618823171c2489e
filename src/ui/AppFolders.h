// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace Ionaria::ui {

// Where the program finds what it ships (help pages, exercises, sample
// configurations) and where it keeps the temporary file it shares with the
// main teaching program.
//
// Each resource is looked for in these data folders, in this order, and the
// first one that holds it wins:
//   1. data/ in the folder given by --dossier or IONARIA_DOSSIER;
//   2. data/ beside the executable (the build tree);
//   3. ../share/ionaria from the executable, so that an install can be moved;
//   4. ionaria/ in each standard data folder (XDG_DATA_HOME, XDG_DATA_DIRS).
// A --dossier folder without its own help or exercises thus falls back to
// the installed ones.
//
// The temporary file goes in the --dossier folder when one is given and the
// file can be written there; otherwise in the per-user application folder,
// created if needed. Unless asked, it never goes beside the executable or in
// an install folder, which pupils cannot write.
class AppFolders {
public:
    struct Inputs {
        QString dossier;                 // --dossier, or IONARIA_DOSSIER; empty: none
        QString executableFolder;        // the folder of the running program
        QStringList standardDataFolders; // the standard data locations, most personal first
        QString userFolder;              // the per-user application folder
    };

    static constexpr const char* dataName = "data";
    static constexpr const char* installedData = "../share/ionaria";
    static constexpr const char* standardName = "ionaria";
    static constexpr const char* helpPage = "aide/index.html";
    static constexpr const char* exercisesName = "exercices";

    explicit AppFolders(const Inputs& inputs);

    // One application folder that holds its own data/ and nothing else to
    // fall back on.
    static AppFolders single(const QString& folder);

    // The running program's inputs: the --dossier option, else the
    // IONARIA_DOSSIER variable; the executable's folder; the standard
    // locations of the application (needs its QCoreApplication).
    static Inputs programInputs(const QString& dossierOption);

    // The data folders in lookup order, each once.
    const QStringList& dataFolders() const { return m_dataFolders; }
    // The first data folder in which relative (a file or a folder) exists;
    // empty when none holds it.
    QString dataFolderOf(const QString& relative) const;
    // Every place where relative was looked for, in lookup order.
    QStringList searched(const QString& relative) const;

    // The folder of the help pages (the one that holds the contents page);
    // empty when none does.
    QString helpFolder() const;
    // The places where the help pages were looked for.
    QStringList helpSearched() const;
    // The data folder whose exercices/ holds the shipped exercises; the first
    // data folder when none has them, so that messages name where they were
    // expected.
    QString exercisesDataFolder() const;

    // The folder of the temporary file.
    const QString& applicationFolder() const { return m_applicationFolder; }

private:
    QStringList m_dataFolders;
    QString m_applicationFolder;
};

} // namespace Ionaria::ui
