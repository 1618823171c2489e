// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/FileBrowser.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QVBoxLayout>

namespace Ionaria::config {

namespace {

constexpr int pathRole = Qt::UserRole;

QString driveOf(const QString& folder) {
    const QString home = QDir::homePath();
    if (folder == home || folder.startsWith(home + QLatin1Char('/'))) {
        return home;
    }
    return QStorageInfo(folder).rootPath();
}

} // namespace

FileBrowser::FileBrowser(const QString& pattern, QWidget* parent)
    : QWidget(parent), m_pattern(pattern), m_drive(new QComboBox(this)),
      m_dirs(new QListWidget(this)), m_files(new QListWidget(this)) {
    m_drive->setObjectName(QStringLiteral("Drive1"));
    m_dirs->setObjectName(QStringLiteral("Dir1"));
    m_files->setObjectName(QStringLiteral("File1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_drive);
    layout->addWidget(m_dirs, 1);
    layout->addWidget(m_files, 1);
    m_dirs->installEventFilter(this);

    fillDrives();
    connect(m_drive, &QComboBox::activated, this, &FileBrowser::chooseDrive);
    connect(m_dirs, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem*) { openHighlightedFolder(); });
    connect(m_files, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit fileClicked(item->text()); });
    connect(m_files, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { emit fileActivated(item->text()); });
    setFolder(QDir::currentPath());
}

void FileBrowser::fillDrives() {
    m_drive->clear();
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady()) {
            roots << volume.rootPath();
        }
    }
    roots.removeDuplicates();
    roots.sort();
    m_drive->addItem(QDir::homePath(), QDir::homePath());
    for (const QString& root : roots) {
        m_drive->addItem(root, root);
    }
}

QString FileBrowser::drive() const {
    return m_drive->currentData().toString();
}

void FileBrowser::chooseDrive(int index) {
    const QString previous = m_folder;
    const QString target = m_drive->itemData(index).toString();
    if (!setFolder(target)) {
        setFolder(previous);
    }
    const int shown = m_drive->findData(driveOf(m_folder));
    if (shown >= 0) {
        m_drive->setCurrentIndex(shown);
    }
}

bool FileBrowser::setFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable() || !QDir(folder).isReadable()) {
        return false;
    }
    const QString clean = QDir::cleanPath(info.absoluteFilePath());
    const bool changed = clean != m_folder;
    m_folder = clean;
    const int driveIndex = m_drive->findData(driveOf(m_folder));
    if (driveIndex >= 0) {
        m_drive->setCurrentIndex(driveIndex);
    }
    fillFolders();
    fillFiles();
    if (changed) {
        emit folderChanged(m_folder);
    }
    return true;
}

void FileBrowser::fillFolders() {
    m_dirs->clear();
    QStringList chain;
    QDir dir(m_folder);
    chain.prepend(dir.absolutePath());
    while (dir.cdUp()) {
        chain.prepend(dir.absolutePath());
    }
    int depth = 0;
    for (const QString& path : chain) {
        const QString name = path == QLatin1String("/") ? path : QFileInfo(path).fileName();
        auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + name, m_dirs);
        item->setData(pathRole, path);
        ++depth;
    }
    m_dirs->setCurrentRow(m_dirs->count() - 1);
    const auto children = QDir(m_folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot,
                                                       QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& child : children) {
        auto* item =
            new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + child.fileName(), m_dirs);
        item->setData(pathRole, child.absoluteFilePath());
    }
}

bool FileBrowser::matches(const QString& fileName, const QString& pattern) {
    const QString suffix = pattern.startsWith(QLatin1Char('*')) ? pattern.mid(1) : pattern;
    return fileName.endsWith(suffix, Qt::CaseInsensitive) && fileName.size() > suffix.size();
}

QString FileBrowser::join(const QString& folder, const QString& name) {
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QDir::separator())) {
        return folder + name;
    }
    return folder + QLatin1Char('/') + name;
}

void FileBrowser::layOutDialog(QDialog& dialog, const QString& fieldLabel, QWidget* field,
                               QWidget* status, QPushButton* ok, QPushButton* cancel,
                               QWidget* mainWindow) {
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(
        new QLabel(QStringLiteral("Lecteur, dossier et fichiers (%1) :").arg(m_pattern), &dialog));
    layout->addWidget(this, 1);
    layout->addWidget(new QLabel(fieldLabel, &dialog));
    layout->addWidget(field);
    if (status != nullptr) {
        layout->addWidget(status);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    dialog.resize(420, 420);
    if (mainWindow != nullptr) {
        dialog.move(mainWindow->pos() + QPoint(20, 20));
    }
}

void FileBrowser::fillFiles() {
    m_files->clear();
    const auto entries = QDir(m_folder).entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        if (matches(entry.fileName(), m_pattern)) {
            m_files->addItem(entry.fileName());
        }
    }
}

void FileBrowser::openHighlightedFolder() {
    const QListWidgetItem* item = m_dirs->currentItem();
    if (item != nullptr) {
        setFolder(item->data(pathRole).toString());
    }
}

bool FileBrowser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_dirs && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            openHighlightedFolder();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace Ionaria::config
