// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace Ionaria::sim {
class Handlers;
}

namespace Ionaria::config {

class FileBrowser;
class MessageBoxes;

// The open dialog: chooses a configuration file and loads it through the
// parameter handlers.
class Ouvrir : public QDialog {
    Q_OBJECT

public:
    Ouvrir(sim::Handlers& handlers, std::string& cheminConfig, QWidget* mainWindow,
           MessageBoxes& boxes);

    FileBrowser* browser() const { return m_browser; }
    QLineEdit* ficharge() const { return m_ficharge; }
    QPushButton* Command1() const { return m_ok; }     // "&Ouvrir"
    QPushButton* Command2() const { return m_cancel; } // "&Annuler"
    QLabel* Frame1() const { return m_frame1; }

    void confirm();

signals:
    // A configuration was loaded: the window's caption shows its path.
    void configurationLoaded(const QString& path);

private:
    sim::Handlers& m_handlers;
    std::string& m_cheminConfig;
    MessageBoxes& m_boxes;
    FileBrowser* m_browser;
    QLineEdit* m_ficharge;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QLabel* m_frame1;
};

} // namespace Ionaria::config
