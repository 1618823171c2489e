// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/RtfTableWriter.h"

#include "exercises/RtfTables.h"

#include <QColor>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <cmath>
#include <vector>

namespace Ionaria::exercises::rtf {

namespace {

constexpr int minimumColumnTwips = 15;

int twipsOf(double pixels) {
    return static_cast<int>(std::lround(pixels * twipsPerPixel));
}

int twipsOf(const QTextLength& length, int whole) {
    switch (length.type()) {
    case QTextLength::FixedLength:
        return twipsOf(length.rawValue());
    case QTextLength::PercentageLength:
        return static_cast<int>(std::lround(whole * length.rawValue() / 100));
    default:
        return whole;
    }
}

// The right edge of each column, from 0 at the table's left. A table without
// a width takes the page's; the last column takes what the others leave of
// the table's width when they have shares of it.
std::vector<int> columnEdges(const QTextTable& table) {
    const int columns = table.columns();
    const QTextTableFormat format = table.format();
    const QList<QTextLength> constraints = format.columnWidthConstraints();
    const int whole = std::clamp(twipsOf(format.width(), pageTextTwips),
                                 minimumColumnTwips * columns, maxTableTwips);
    std::vector<int> edges;
    int right = 0;
    for (int c = 0; c < columns; ++c) {
        const QTextLength length = c < constraints.size() ? constraints[c] : QTextLength();
        int width =
            length.type() == QTextLength::VariableLength ? whole / columns : twipsOf(length, whole);
        if (c + 1 == columns && length.type() == QTextLength::PercentageLength) {
            width = whole - right;
        }
        // Each edge leaves room for the columns after it within the edges a
        // file may give.
        const int last = maxTableTwips - minimumColumnTwips * (columns - 1 - c);
        right = std::min(right + std::max(width, minimumColumnTwips), last);
        edges.push_back(right);
    }
    return edges;
}

const char* borderStyleWord(int style) {
    switch (style) {
    case QTextFrameFormat::BorderStyle_Double:
        return "\\brdrdb";
    case QTextFrameFormat::BorderStyle_Dotted:
        return "\\brdrdot";
    case QTextFrameFormat::BorderStyle_Dashed:
        return "\\brdrdash";
    case QTextFrameFormat::BorderStyle_DotDash:
        return "\\brdrdashd";
    case QTextFrameFormat::BorderStyle_DotDotDash:
        return "\\brdrdashdd";
    case QTextFrameFormat::BorderStyle_Inset:
        return "\\brdrinset";
    case QTextFrameFormat::BorderStyle_Outset:
        return "\\brdroutset";
    default:
        return "\\brdrs";
    }
}

struct BorderProperties {
    const char* word;
    QTextFormat::Property width;
    QTextFormat::Property style;
    QTextFormat::Property brush;
};

constexpr BorderProperties borderSides[] = {
    {"\\clbrdrt", QTextFormat::TableCellTopBorder, QTextFormat::TableCellTopBorderStyle,
     QTextFormat::TableCellTopBorderBrush},
    {"\\clbrdrl", QTextFormat::TableCellLeftBorder, QTextFormat::TableCellLeftBorderStyle,
     QTextFormat::TableCellLeftBorderBrush},
    {"\\clbrdrb", QTextFormat::TableCellBottomBorder, QTextFormat::TableCellBottomBorderStyle,
     QTextFormat::TableCellBottomBorderBrush},
    {"\\clbrdrr", QTextFormat::TableCellRightBorder, QTextFormat::TableCellRightBorderStyle,
     QTextFormat::TableCellRightBorderBrush},
};

void appendCellDefinition(QByteArray& out, const QTextTable& table, int row, int column, int right,
                          const ColorIndex& color) {
    const QTextTableCell cell = table.cellAt(row, column);
    const bool firstColumn = cell.column() == column;
    if (firstColumn && cell.row() != row) {
        out += "\\clvmrg";
    } else if (firstColumn && cell.rowSpan() > 1) {
        out += "\\clvmgf";
    }
    if (!firstColumn) {
        out += "\\clmrg";
    } else if (cell.columnSpan() > 1) {
        out += "\\clmgf";
    }
    const QTextTableCellFormat format = cell.format().toTableCellFormat();
    for (const BorderProperties& side : borderSides) {
        const int width = std::min(twipsOf(format.doubleProperty(side.width)), maxBorderTwips);
        if (!format.hasProperty(side.width) || width <= 0) {
            continue;
        }
        out += side.word;
        out += borderStyleWord(format.hasProperty(side.style)
                                   ? format.intProperty(side.style)
                                   : int(QTextFrameFormat::BorderStyle_Solid));
        out += "\\brdrw" + QByteArray::number(width);
        if (format.hasProperty(side.brush)) {
            out += "\\brdrcf" + QByteArray::number(color(format.brushProperty(side.brush).color()));
        }
    }
    if (format.hasProperty(QTextFormat::BackgroundBrush)) {
        out += "\\clcbpat" + QByteArray::number(color(format.background().color()));
    }
    if (format.verticalAlignment() == QTextCharFormat::AlignMiddle) {
        out += "\\clvertalc";
    } else if (format.verticalAlignment() == QTextCharFormat::AlignBottom) {
        out += "\\clvertalb";
    }
    out += "\\cellx" + QByteArray::number(right);
}

// A paragraph of a cell is the paragraph the block writer writes, marked as
// in the table.
void appendCellBlock(QByteArray& out, const QTextBlock& block, const BlockWriter& writeBlock) {
    const qsizetype start = out.size();
    writeBlock(out, block);
    static const QByteArray pard = "\\pard";
    if (out.mid(start, pard.size()) == pard) {
        out.insert(start + pard.size(), "\\intbl");
    } else {
        out.insert(start, "\\pard\\intbl ");
    }
}

// The paragraphs of a cell, separated by paragraph marks. A last empty
// paragraph gets a mark of its own, as the reader takes a mark just before
// the end of a cell for the end of the paragraph before it.
void appendCellContent(QByteArray& out, const QTextTableCell& cell, const BlockWriter& writeBlock) {
    const QTextBlock first = cell.firstCursorPosition().block();
    const QTextBlock last = cell.lastCursorPosition().block();
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        appendCellBlock(out, block, writeBlock);
        if (block == last) {
            if (block != first && block.length() == 1) {
                out += "\\par";
            }
            break;
        }
        out += "\\par\n";
    }
}

void appendTable(QByteArray& out, const QTextTable& table, const BlockWriter& writeBlock,
                 const ColorIndex& color) {
    const QTextTableFormat format = table.format();
    const std::vector<int> edges = columnEdges(table);
    const int gap = std::clamp(twipsOf(format.cellPadding()), 0, maxTableTwips);
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    for (int row = 0; row < table.rows(); ++row) {
        out += "\\trowd\\trgaph" + QByteArray::number(gap);
        if (alignment & Qt::AlignHCenter) {
            out += "\\trqc";
        } else if (alignment & (Qt::AlignRight | Qt::AlignTrailing)) {
            out += "\\trqr";
        }
        if (row < format.headerRowCount()) {
            out += "\\trhdr";
        }
        out += '\n';
        for (int column = 0; column < table.columns(); ++column) {
            appendCellDefinition(out, table, row, column, edges[std::size_t(column)], color);
            out += '\n';
        }
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (cell.row() == row && cell.column() == column) {
                appendCellContent(out, cell, writeBlock);
            } else {
                out += "\\pard\\intbl ";
            }
            out += "\\cell\n";
        }
        out += "\\row\n";
    }
}

bool startsTable(const QTextBlock& block) {
    const QTextCursor cursor(block);
    return cursor.currentTable() != nullptr;
}

} // namespace

void appendFrame(QByteArray& out, const QTextFrame& frame, const BlockWriter& block,
                 const ColorIndex& color) {
    for (auto it = frame.begin(); !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame()) {
            if (const auto* table = qobject_cast<const QTextTable*>(child)) {
                appendTable(out, *table, block, color);
            } else {
                appendFrame(out, *child, block, color);
            }
            continue;
        }
        const QTextBlock current = it.currentBlock();
        // The text document keeps an empty paragraph before a table that
        // opens it; the file has none.
        if (current == current.document()->begin() && current.length() == 1 &&
            startsTable(current.next())) {
            continue;
        }
        block(out, current);
        if (current.next().isValid()) {
            out += "\\par\n";
        }
    }
}

} // namespace Ionaria::exercises::rtf
