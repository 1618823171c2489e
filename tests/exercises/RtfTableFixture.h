// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

// The tables of a document described as text, for comparing them at a
// glance.
namespace rtftest {

// The tables of the document's top level, in order.
inline QList<QTextTable*> tablesOf(const QTextDocument& document) {
    QList<QTextTable*> tables;
    const QList<QTextFrame*> frames = document.rootFrame()->childFrames();
    for (QTextFrame* frame : frames) {
        if (auto* table = qobject_cast<QTextTable*>(frame)) {
            tables << table;
        }
    }
    return tables;
}

// The text of a cell, its paragraphs separated by "/".
inline QString cellText(const QTextTableCell& cell) {
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cursor.selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('/'));
}

// One line per row, "|" between cells; a merged cell is followed by its
// span, "<columns>x<rows>", and the cells it covers are left out.
inline QStringList tableShape(const QTextTable& table) {
    QStringList rows;
    for (int r = 0; r < table.rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < table.columns(); ++c) {
            const QTextTableCell cell = table.cellAt(r, c);
            if (cell.row() != r || cell.column() != c) {
                continue;
            }
            QString text = cellText(cell);
            if (cell.columnSpan() > 1 || cell.rowSpan() > 1) {
                text += QStringLiteral("<%1x%2>").arg(cell.columnSpan()).arg(cell.rowSpan());
            }
            cells << text;
        }
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

// Every table of the document, each introduced by its size.
inline QStringList tablesShape(const QTextDocument& document) {
    QStringList out;
    for (const QTextTable* table : tablesOf(document)) {
        out << QStringLiteral("%1x%2").arg(table->rows()).arg(table->columns());
        out << tableShape(*table);
    }
    return out;
}

// The paragraphs outside tables, one per line.
inline QStringList paragraphsOutsideTables(const QTextDocument& document) {
    QStringList out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (QTextCursor(block).currentTable() == nullptr) {
            out << block.text();
        }
    }
    return out;
}

} // namespace rtftest
