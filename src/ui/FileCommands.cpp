// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FileCommands.h"

#include "config/ConfigFile.h"
#include "config/Enregistrer.h"
#include "config/FileBrowser.h"
#include "config/MessageBoxes.h"
#include "config/Ouvrir.h"
#include "output/FileOutput.h"
#include "report/Confimp.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

namespace Ionaria::ui {

FileCommands::FileCommands(MainWindow& window) : m_window(window) {
    auto* menucop = new QMenu(&window);
    window.menucop = menucop;
    menucop->setObjectName(QStringLiteral("menucop"));
    window.cop001 = menucop->addAction(QStringLiteral("Copier l'illustration"));
    window.cop001->setObjectName(QStringLiteral("cop001"));
    connect(window.cop001, &QAction::triggered, this, [this] { copyPicture(1); });
    // Larger copies for posters and slides, drawn at their size.
    for (int k = 2; k <= maximumCopyScale; ++k) {
        QAction* larger =
            menucop->addAction(QStringLiteral("Copier l'illustration agrandie (× %1)").arg(k));
        larger->setObjectName(QStringLiteral("cop00%1").arg(k));
        connect(larger, &QAction::triggered, this, [this, k] { copyPicture(k); });
    }
}

void FileCommands::showCopyMenu() {
    // Pop-up menus are windows of their own: they take the window's zoomed
    // font when they open.
    m_window.menucop->setFont(m_window.font());
    m_window.menucop->exec(m_window.Command4->mapToGlobal(QPoint(0, m_window.Command4->height())));
}

void FileCommands::copyPicture(int scale) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return;
    }
    // Drawn at the size asked for, whatever the window's zoom.
    const QImage picture = m_window.picture().canvas().render(scale);
    clipboard->clear();
    clipboard->setImage(picture);
    // The message says that the picture is there only when the clipboard
    // gives it back.
    const QImage back = clipboard->image().convertToFormat(QImage::Format_RGB32);
    if (!back.isNull() && back == picture.convertToFormat(QImage::Format_RGB32)) {
        m_window.info->setText(m_window.copyMessage());
    }
}

void FileCommands::showConfigurationPath(const QString& path) {
    m_window.setWindowTitle(QStringLiteral("Ionaria - ") + path);
}

// The configuration dialogs list the current folder: the shipped
// configurations the first time, then the folder where the last one was left.
void FileCommands::enterConfigurationFolder() {
    if (m_configurationFolder.isEmpty()) {
        const QString shipped = m_window.folders().dataFolderOf(QStringLiteral("configurations"));
        if (!shipped.isEmpty()) {
            m_configurationFolder = QDir(shipped).filePath(QStringLiteral("configurations"));
        }
    }
    if (!m_configurationFolder.isEmpty() && QFileInfo(m_configurationFolder).isDir()) {
        QDir::setCurrent(m_configurationFolder);
    }
}

void FileCommands::open() {
    enterConfigurationFolder();
    config::Ouvrir ouvrir(m_window.handlers(), m_cheminConfig, &m_window,
                          config::MessageBoxes::standard());
    connect(&ouvrir, &config::Ouvrir::configurationLoaded, this,
            &FileCommands::showConfigurationPath);
    ouvrir.exec();
    m_configurationFolder = ouvrir.browser()->folder();
    m_window.refreshFromStore();
}

void FileCommands::save() {
    enterConfigurationFolder();
    config::Enregistrer enregistrer(m_window.engine().params(), m_cheminConfig, &m_window,
                                    config::MessageBoxes::standard());
    connect(&enregistrer, &config::Enregistrer::configurationSaved, this,
            &FileCommands::showConfigurationPath);
    enregistrer.exec();
    m_configurationFolder = enregistrer.browser()->folder();
}

void FileCommands::print() {
    // Printed as vector drawing at the printer's resolution.
    report::Confimp confimp(report::PicturePrinter::Picture::of(m_window.picture().canvas()),
                            m_printer, &m_window);
    connect(&confimp, &report::Confimp::printNotWritten, this, [this] {
        config::MessageBoxes::standard().critical(&m_window,
                                                  QString::fromLatin1(output::printNotWrittenTitle),
                                                  QString::fromLatin1(output::notWrittenText));
    });
    confimp.exec();
}

bool FileCommands::openConfiguration(const QString& path) {
    const auto message = config::ConfigFile::load(path.toStdString(), m_window.handlers());
    m_window.refreshFromStore();
    if (message) {
        QMessageBox::critical(&m_window, QString::fromStdString(message->title),
                              QString::fromStdString(message->text));
        return false;
    }
    m_cheminConfig = path.toStdString();
    showConfigurationPath(path);
    return true;
}

} // namespace Ionaria::ui
