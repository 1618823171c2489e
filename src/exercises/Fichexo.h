// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QDialog>
#include <QString>

#include <array>
#include <functional>

class QLabel;
class QPushButton;

namespace Ionaria::config {
class FileBrowser;
}

namespace Ionaria::exercises {

// The chooser of an exercise: drive, folder and file lists of the
// descriptors, a preview of the selected one, and the buttons to open it or
// to close without loading anything.
class Fichexo : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* pattern = "*.E37";
    static constexpr const char* title = "Ouvrir un exercice";
    static constexpr int titlePixelSize = 32; // 24 points
    static constexpr int titleBandHeight = 56;
    static constexpr int titleFirstBlue = 155;
    static constexpr int titleLastBlue = 255;
    // The data role of a file item that holds its exercise's title.
    static constexpr int titleRole = Qt::UserRole + 1;

    // open receives the path of the descriptor to open; the chooser closes
    // after it returns.
    using Opener = std::function<void(const QString& descriptor)>;

    // Shows startFolder and takes the geometry of mainWindow.
    Fichexo(const QString& startFolder, Opener open, QWidget* mainWindow = nullptr);

    config::FileBrowser* browser() const { return m_browser; }
    QPushButton* ouvreur() const { return m_ouvreur; }
    QPushButton* Image5() const { return m_image5; }

    // The folder of the file list, with a trailing separator.
    QString dossierExo() const;
    // The descriptor selected in the file list; empty when none is.
    QString selectedPath() const;

    // What the preview shows.
    bool levelImagesShown() const;
    bool levelLit(int image) const;
    QString correctionText() const;
    QString notionsText() const;
    QString titleText() const;
    int hourglassesShown() const { return m_hourglasses; }
    bool selectionHintShown() const;

    // Previews the descriptor called name in the shown folder; an empty name
    // shows that nothing is selected.
    void preview(const QString& name);
    // Opens the selected descriptor, then closes.
    void openSelected();

    // The colour of character index of the painted title of count characters.
    static QColor titleColour(int index, int count);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Each descriptor of the file list gets its title beside its name.
    void showTitles();
    void showNothingSelected();
    void showLevel(int level);

    Opener m_open;
    config::FileBrowser* m_browser;
    QPushButton* m_ouvreur;
    QPushButton* m_image5;
    QLabel* m_levelLabel;
    std::array<QLabel*, 3> m_levelImages{};
    std::array<bool, 3> m_lit{};
    QLabel* m_correction;
    QLabel* m_notionsCaption;
    QLabel* m_notions;
    QLabel* m_title;
    QLabel* m_hourglassRow;
    QLabel* m_selectHint;
    QLabel* m_wait;
    QLabel* m_loading;
    QString m_selected;
    int m_hourglasses = 0;
};

} // namespace Ionaria::exercises
