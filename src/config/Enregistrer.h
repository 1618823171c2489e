// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;

namespace Ionaria::sim {
struct ParamStore;
}

namespace Ionaria::config {

class FileBrowser;
class MessageBoxes;

// The save dialog: names a configuration file and writes the parameters.
class Enregistrer : public QDialog {
    Q_OBJECT

public:
    Enregistrer(const sim::ParamStore& params, std::string& cheminConfig, QWidget* mainWindow,
                MessageBoxes& boxes);

    FileBrowser* browser() const { return m_browser; }
    QLineEdit* Text1() const { return m_text1; }
    QPushButton* Command1() const { return m_ok; }     // "&Enregistrer"
    QPushButton* Command2() const { return m_cancel; } // "&Annuler"

    void confirm();

signals:
    void configurationSaved(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const sim::ParamStore& m_params;
    std::string& m_cheminConfig;
    MessageBoxes& m_boxes;
    FileBrowser* m_browser;
    QLineEdit* m_text1;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

} // namespace Ionaria::config
