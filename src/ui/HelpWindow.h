// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
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

private:
    QString m_folder;
    QTextBrowser* m_browser;
};

} // namespace Ionaria::ui
