// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exercises/RtfTables.h"

#include <QColor>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextFrameFormat>
#include <QTextImageFormat>

#include <array>
#include <vector>

class QTextCursor;

namespace Ionaria::exercises::rtf {

class RtfFormatting;

// Collects the rows of a table as the file gives them (the definition of
// each row's cells, then their content, then \row) and builds the table once
// its last row is known: the columns of a table are the union of the cell
// edges of all its rows, which no row alone tells. Cells merged across
// columns (\clmgf, \clmrg, or a cell wider than those below it) and across
// rows (\clvmgf, \clvmrg) become merged cells of the document's table.
class RtfTableBuilder {
public:
    // A table has at most this many columns; further cells of a row join its
    // last one.
    static constexpr int maxColumns = 64;
    // The cells of all the tables of a file; the tables beyond are laid out
    // as lines of text with the cells separated by tabs.
    static constexpr int maxCells = 20000;

    // keepContent false: only follow the rows, for counting them.
    explicit RtfTableBuilder(bool keepContent) : m_keep(keepContent) {}

    // A word that defines the current row or one of its cells; false when
    // word is not one.
    bool definitionWord(Word word, int value, const RtfFormatting& formatting);

    // A row is open from \trowd or \intbl to \row: text, paragraphs and
    // pictures then belong to its current cell.
    bool rowOpen() const { return m_rowOpen; }
    void openRow();
    // Rows wait to be built.
    bool pending() const { return m_rowOpen || !m_rows.empty(); }

    void addText(const QString& text, const QTextCharFormat& format);
    void addImage(const QTextImageFormat& format);
    // Ends a paragraph of the current cell; block is its format.
    void endParagraph(const QTextBlockFormat& block, const QTextCharFormat& next);
    // Ends the current cell; block is the format of its last paragraph.
    void endCell(const QTextBlockFormat& block);
    void endRow();

    // Inserts the rows collected at cursor, as a table or, beyond the
    // bounds, as lines of text; leaves cursor in the paragraph after them.
    void build(QTextCursor& cursor);

private:
    struct Border {
        bool present = false;
        int twips = 15;
        QTextFrameFormat::BorderStyle style = QTextFrameFormat::BorderStyle_Solid;
        QColor color;
    };
    enum Side { Top, Left, Bottom, Right, InnerH, InnerV, SideCount };
    struct CellDefinition {
        int rightTwips = 0;
        bool mergeFirst = false;
        bool mergeNext = false;
        bool verticalFirst = false;
        bool verticalNext = false;
        std::array<Border, 4> borders;
        QColor shading;
        QTextCharFormat::VerticalAlignment alignment = QTextCharFormat::AlignTop;
    };
    struct RowDefinition {
        std::vector<CellDefinition> cells;
        int leftTwips = 0;
        int gapTwips = 0;
        Qt::Alignment alignment = Qt::AlignLeft;
        bool header = false;
        std::array<Border, SideCount> borders;
    };
    struct Piece {
        enum class Kind { Text, Image, Break };
        Kind kind = Kind::Text;
        QString text;
        QTextCharFormat format;
        QTextBlockFormat block;
    };
    struct CellContent {
        std::vector<Piece> pieces;
        QTextBlockFormat lastBlock;
        bool afterBreak = false; // a paragraph mark, and nothing since
        void append(const CellContent& other);
    };
    struct Row {
        RowDefinition definition;
        std::vector<CellContent> cells;
    };
    // A cell of the built table: its columns, rows and where its content
    // and definition come from.
    struct Placed {
        int row = 0;
        int firstColumn = 0;
        int endColumn = 0;
        int rowSpan = 1;
        const CellDefinition* definition = nullptr;
        CellContent content;
        bool covered = false;
    };

    CellContent& currentCell();
    void setBorderStyle(QTextFrameFormat::BorderStyle style);
    void buildFlat(QTextCursor& cursor);
    static void replay(QTextCursor& cursor, const CellContent& content);
    std::vector<std::vector<Placed>> placeCells(std::vector<int>& edges) const;

    bool m_keep;
    bool m_rowOpen = false;
    int m_cellsUsed = 0;
    int m_tableCells = 0;
    bool m_flat = false;
    bool m_joinNext = false; // the current cell is the last column's, and was ended
    RowDefinition m_definition;
    CellDefinition m_cell;
    Border* m_border = nullptr;
    std::vector<CellContent> m_cells;
    std::vector<Row> m_rows;
};

} // namespace Ionaria::exercises::rtf
