// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AppFolders.h"

#include "ui/TempFile.h"

#include "base/SharedFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace Ionaria::ui {

namespace {

QString cleaned(const QString& folder) {
    return QDir::cleanPath(QDir(folder).absolutePath());
}

// Whether the temporary file can be kept in folder: it exists and the file
// opens for update there (which creates it, as the start-up would). A link or
// a pipe in its place still names this folder, the one the main program
// reads: the window tells what stands there.
bool holdsTempFile(const QString& folder) {
    if (!QFileInfo(folder).isDir()) {
        return false;
    }
    using base::SharedFile;
    const SharedFile file(
        QDir(folder).filePath(QString::fromLatin1(TempFile::fileName)).toStdString(),
        SharedFile::Access::UpdateOrCreate, SharedFile::Links::Refuse);
    return file.isOpen() || file.refusal() == SharedFile::Refusal::SymbolicLink ||
           file.refusal() == SharedFile::Refusal::NotAFile;
}

} // namespace

AppFolders::AppFolders(const Inputs& inputs) {
    QStringList candidates;
    if (!inputs.dossier.isEmpty()) {
        candidates << QDir(inputs.dossier).filePath(QString::fromLatin1(dataName));
    }
    if (!inputs.executableFolder.isEmpty()) {
        const QDir executable(inputs.executableFolder);
        candidates << executable.filePath(QString::fromLatin1(dataName))
                   << executable.filePath(QString::fromLatin1(installedData));
    }
    for (const QString& standard : inputs.standardDataFolders) {
        if (!standard.isEmpty()) {
            candidates << QDir(standard).filePath(QString::fromLatin1(standardName));
        }
    }
    for (const QString& candidate : candidates) {
        const QString folder = cleaned(candidate);
        if (!m_dataFolders.contains(folder)) {
            m_dataFolders << folder;
        }
    }

    if (!inputs.dossier.isEmpty() && holdsTempFile(inputs.dossier)) {
        m_applicationFolder = cleaned(inputs.dossier);
    } else if (!inputs.userFolder.isEmpty()) {
        m_applicationFolder = cleaned(inputs.userFolder);
        QDir().mkpath(m_applicationFolder);
    } else if (!inputs.dossier.isEmpty()) {
        m_applicationFolder = cleaned(inputs.dossier);
    }
}

AppFolders AppFolders::single(const QString& folder) {
    Inputs inputs;
    inputs.dossier = folder;
    return AppFolders(inputs);
}

AppFolders::Inputs AppFolders::programInputs(const QString& dossierOption) {
    Inputs inputs;
    inputs.dossier = dossierOption;
    if (inputs.dossier.isEmpty()) {
        inputs.dossier = qEnvironmentVariable("IONARIA_DOSSIER");
    }
    inputs.executableFolder = QCoreApplication::applicationDirPath();
    inputs.standardDataFolders =
        QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    inputs.userFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return inputs;
}

QString AppFolders::dataFolderOf(const QString& relative) const {
    for (const QString& folder : m_dataFolders) {
        if (QFileInfo::exists(QDir(folder).filePath(relative))) {
            return folder;
        }
    }
    return {};
}

QStringList AppFolders::searched(const QString& relative) const {
    QStringList places;
    for (const QString& folder : m_dataFolders) {
        places << QDir::cleanPath(QDir(folder).filePath(relative));
    }
    return places;
}

QString AppFolders::helpFolder() const {
    const QString page = QString::fromLatin1(helpPage);
    const QString folder = dataFolderOf(page);
    return folder.isEmpty() ? QString() : QFileInfo(QDir(folder).filePath(page)).absolutePath();
}

QStringList AppFolders::helpSearched() const {
    return searched(QFileInfo(QString::fromLatin1(helpPage)).path());
}

QString AppFolders::exercisesDataFolder() const {
    for (const QString& folder : m_dataFolders) {
        if (QFileInfo(QDir(folder).filePath(QString::fromLatin1(exercisesName))).isDir()) {
            return folder;
        }
    }
    return m_dataFolders.value(0);
}

} // namespace Ionaria::ui
