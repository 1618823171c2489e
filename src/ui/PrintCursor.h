// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QPoint>
#include <QString>

#include <vector>

class QWidget;

namespace Ionaria::ui {

// One printed text: its top-left corner in pixels, the font and the text.
struct PrintedText {
    QPoint topLeft;
    QFont font;
    QString text;
};

// A text cursor that lays a page out the way a form printed line by line
// is: a printed text leaves the cursor just right of it, a new line takes it
// back to x = 0 one text line lower, and controls are placed at the cursor
// where the printing leaves room. The texts are recorded, to be painted.
class PrintCursor {
public:
    explicit PrintCursor(const QFont& font);

    int x = 0; // px
    int y = 0; // px

    void moveTo(int px, int py) {
        x = px;
        y = py;
    }
    void setBold(bool bold);
    void setItalic(bool italic);
    void setFont(const QFont& font);
    const QFont& font() const { return m_font; }

    // Width and line height of texts in the current font, px.
    int width(const QString& text) const;
    int lineHeight() const;

    // Prints the text at the cursor and leaves the cursor right of it.
    void print(const QString& text);
    // Prints the text, then a new line.
    void printLine(const QString& text);
    void newLine();

    // Sets the control's left edge to the cursor's x and its top edge to
    // y - offset.
    void place(QWidget* control, int offset) const;
    // Sets only the top edge of the control, keeping its left edge.
    static void setTop(QWidget* control, int top);
    // The x just right of a control.
    static int rightOf(const QWidget* control);

    const std::vector<PrintedText>& texts() const { return m_texts; }

private:
    QFont m_font;
    QFontMetrics m_metrics;
    std::vector<PrintedText> m_texts;
};

} // namespace Ionaria::ui
