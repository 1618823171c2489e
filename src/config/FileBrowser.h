// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

class QComboBox;
class QDialog;
class QPushButton;
class QListWidget;
class QListWidgetItem;

namespace Ionaria::config {

// The drive list, the folder list and the file list that the open and save
// dialogs share. The drive list holds the mounted volumes and the home
// folder; the folder list the path from the drive down to the folder and its
// subfolders; the file list the configurations of that folder.
class FileBrowser : public QWidget {
    Q_OBJECT

public:
    explicit FileBrowser(const QString& pattern, QWidget* parent = nullptr);

    QString folder() const { return m_folder; }
    // Shows folder when it can be read; returns false, changing nothing, when
    // it cannot.
    bool setFolder(const QString& folder);
    QString drive() const;
    // The drive change: the folder list goes to that drive and, when it
    // cannot be read, both lists stay on the previous drive.
    void chooseDrive(int index);

    QComboBox* Drive1() const { return m_drive; }
    QListWidget* Dir1() const { return m_dirs; }
    QListWidget* File1() const { return m_files; }

    // Whether a file name matches the pattern, ".C14" and ".c14" alike.
    static bool matches(const QString& fileName, const QString& pattern);
    // The full path of a name in a folder, with a separator between them.
    static QString join(const QString& folder, const QString& name);

    // Lays out a file dialog around the browser: the lists, the name field
    // under its label, an optional status widget, then the two buttons; and
    // places it 20 pixels right of and below the main window.
    void layOutDialog(QDialog& dialog, const QString& fieldLabel, QWidget* field, QWidget* status,
                      QPushButton* ok, QPushButton* cancel, QWidget* mainWindow);

signals:
    void folderChanged(const QString& folder);
    void fileClicked(const QString& name);
    void fileActivated(const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillDrives();
    void fillFolders();
    void fillFiles();
    void openHighlightedFolder();

    QString m_pattern;
    QString m_folder;
    QComboBox* m_drive;
    QListWidget* m_dirs;
    QListWidget* m_files;
};

} // namespace Ionaria::config
