// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QImage>
#include <QString>
#include <QStringList>

class QTextBrowser;

namespace Ionaria::ui {

// The help of the program: its HTML pages, opened on the contents page, with
// links between them and the usual back and forward moves.
class HelpWindow : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* contentsPage = "index.html";

    // folder holds the pages; the window opens on the contents page.
    HelpWindow(const QString& folder, QWidget* parent = nullptr);

    // Whether folder holds a contents page.
    static bool available(const QString& folder);
    // The message shown when no folder holds the pages; searched lists the
    // folders where they were looked for.
    static QString missingTitle();
    static QString missingText(const QStringList& searched);

    QTextBrowser* browser() const { return m_browser; }
    // Shows the contents page again.
    void showContents();
    // Follows the main window's zoom: the text, the buttons and, until the
    // user sizes it, the window grow with z.
    void setZoom(double z);
    double zoom() const { return m_zoom; }

    static constexpr int designWidth = 640;  // px
    static constexpr int designHeight = 520; // px
    static constexpr int textPixels = 13;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QString m_folder;
    QTextBrowser* m_browser;
    double m_zoom = 1.0;
    bool m_sizedByUser = false;
    QSize m_sizeGiven; // the last size the zoom gave
    // Only its resolution counts: the pages' point sizes are reckoned in it.
    QImage m_textDevice{1, 1, QImage::Format_RGB32};
};

} // namespace Ionaria::ui
