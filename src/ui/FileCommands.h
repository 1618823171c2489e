// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPrinter>
#include <QString>

#include <string>

namespace Ionaria::ui {

class MainWindow;

// The main window's commands on files and the clipboard: open and save a
// configuration ("&Ouvrir", "&Enregistrer"), print the picture
// ("&Imprimer"), copy it at one of four sizes ("Co&pier" and its menu).
class FileCommands : public QObject {
public:
    static constexpr int maximumCopyScale = 4;

    // Makes the copy menu (menucop) of the window.
    explicit FileCommands(MainWindow& window);

    void open();
    void save();
    void print();
    // Opens the copy menu under the copy button.
    void showCopyMenu();
    // Copies the picture drawn at scale times its size (1 to 4).
    void copyPicture(int scale);

    // Loads a configuration file as if the user had made each choice; a file
    // that cannot be loaded shows its message and changes nothing.
    bool openConfiguration(const QString& path);
    // The window's caption names the configuration.
    void showConfigurationPath(const QString& path);

    // The configuration last saved or opened; the save dialog starts with it.
    const std::string& cheminConfig() const { return m_cheminConfig; }
    QPrinter& printer() { return m_printer; }

private:
    void enterConfigurationFolder();

    MainWindow& m_window;
    std::string m_cheminConfig;
    QString m_configurationFolder; // where the configuration dialogs were left
    QPrinter m_printer;
};

} // namespace Ionaria::ui
