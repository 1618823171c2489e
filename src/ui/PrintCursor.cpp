// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PrintCursor.h"

#include "ui/Zoom.h"

#include <QWidget>

namespace Ionaria::ui {

PrintCursor::PrintCursor(const QFont& font) : m_font(font), m_metrics(font) {}

void PrintCursor::setFont(const QFont& font) {
    m_font = font;
    m_metrics = QFontMetrics(m_font);
}

void PrintCursor::setBold(bool bold) {
    QFont f = m_font;
    f.setBold(bold);
    setFont(f);
}

void PrintCursor::setItalic(bool italic) {
    QFont f = m_font;
    f.setItalic(italic);
    setFont(f);
}

int PrintCursor::width(const QString& text) const {
    return m_metrics.horizontalAdvance(text);
}

int PrintCursor::lineHeight() const {
    return m_metrics.height();
}

void PrintCursor::print(const QString& text) {
    m_texts.push_back({QPoint(x, y), m_font, text});
    x += width(text);
}

void PrintCursor::printLine(const QString& text) {
    print(text);
    newLine();
}

void PrintCursor::newLine() {
    x = 0;
    y += lineHeight();
}

void PrintCursor::place(QWidget* control, int offset) const {
    if (control != nullptr) {
        Zoom::move(control, QPoint(x, y - offset));
    }
}

void PrintCursor::setTop(QWidget* control, int top) {
    if (control != nullptr) {
        Zoom::move(control, QPoint(Zoom::geometry(control).x(), top));
    }
}

int PrintCursor::rightOf(const QWidget* control) {
    if (control == nullptr) {
        return 0;
    }
    const QRect r = Zoom::geometry(control);
    return r.x() + r.width();
}

} // namespace Ionaria::ui
