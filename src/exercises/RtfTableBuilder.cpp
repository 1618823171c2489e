// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/RtfTableBuilder.h"

#include "exercises/RtfFormatting.h"

#include <QTextCursor>
#include <QTextTable>

#include <algorithm>

namespace Ionaria::exercises::rtf {

namespace {

// A cell without a definition of its own is an inch wide.
constexpr int defaultCellTwips = 1440;
// Cells are at least a pixel wide, whatever their edges say.
constexpr int minimumCellTwips = 15;

int tableTwips(int value) {
    return std::clamp(value, -maxTableTwips, maxTableTwips);
}

} // namespace

void RtfTableBuilder::CellContent::append(const CellContent& other) {
    if (other.pieces.empty()) {
        return;
    }
    if (!pieces.empty()) {
        Piece mark;
        mark.kind = Piece::Kind::Break;
        mark.block = lastBlock;
        pieces.push_back(mark);
    }
    pieces.insert(pieces.end(), other.pieces.begin(), other.pieces.end());
    lastBlock = other.lastBlock;
}

bool RtfTableBuilder::definitionWord(Word word, int value, const RtfFormatting& formatting) {
    const auto borderOf = [this](Border& border) {
        border = Border{};
        m_border = &border;
    };
    switch (word) {
    case Word::InTable:
        openRow();
        return true;
    case Word::RowDefaults:
        m_definition = RowDefinition{};
        m_cell = CellDefinition{};
        m_border = nullptr;
        return true;
    case Word::CellRight:
        m_cell.rightTwips = tableTwips(value);
        if (m_definition.cells.size() < static_cast<std::size_t>(maxColumns)) {
            m_definition.cells.push_back(m_cell);
        } else {
            m_definition.cells.back().rightTwips = m_cell.rightTwips;
        }
        m_cell = CellDefinition{};
        m_border = nullptr;
        return true;
    case Word::RowGap:
        m_definition.gapTwips = std::clamp(value, 0, maxTableTwips);
        return true;
    case Word::RowLeft:
        m_definition.leftTwips = tableTwips(value);
        return true;
    case Word::RowCentred:
        m_definition.alignment = Qt::AlignHCenter;
        return true;
    case Word::RowRight:
        m_definition.alignment = Qt::AlignRight;
        return true;
    case Word::RowHeader:
        m_definition.header = true;
        return true;
    case Word::MergeFirst:
        m_cell.mergeFirst = true;
        return true;
    case Word::MergeNext:
        m_cell.mergeNext = true;
        return true;
    case Word::VerticalMergeFirst:
        m_cell.verticalFirst = true;
        return true;
    case Word::VerticalMergeNext:
        m_cell.verticalNext = true;
        return true;
    case Word::CellBorderTop:
        borderOf(m_cell.borders[Top]);
        return true;
    case Word::CellBorderLeft:
        borderOf(m_cell.borders[Left]);
        return true;
    case Word::CellBorderBottom:
        borderOf(m_cell.borders[Bottom]);
        return true;
    case Word::CellBorderRight:
        borderOf(m_cell.borders[Right]);
        return true;
    case Word::RowBorderTop:
        borderOf(m_definition.borders[Top]);
        return true;
    case Word::RowBorderLeft:
        borderOf(m_definition.borders[Left]);
        return true;
    case Word::RowBorderBottom:
        borderOf(m_definition.borders[Bottom]);
        return true;
    case Word::RowBorderRight:
        borderOf(m_definition.borders[Right]);
        return true;
    case Word::RowBorderInnerH:
        borderOf(m_definition.borders[InnerH]);
        return true;
    case Word::RowBorderInnerV:
        borderOf(m_definition.borders[InnerV]);
        return true;
    case Word::ParagraphBorder:
        m_border = nullptr;
        return true;
    case Word::BorderNone:
        if (m_border != nullptr) {
            m_border->present = false;
        }
        return true;
    case Word::BorderSingle:
        setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        return true;
    case Word::BorderDouble:
        setBorderStyle(QTextFrameFormat::BorderStyle_Double);
        return true;
    case Word::BorderDotted:
        setBorderStyle(QTextFrameFormat::BorderStyle_Dotted);
        return true;
    case Word::BorderDashed:
        setBorderStyle(QTextFrameFormat::BorderStyle_Dashed);
        return true;
    case Word::BorderDotDash:
        setBorderStyle(QTextFrameFormat::BorderStyle_DotDash);
        return true;
    case Word::BorderDotDotDash:
        setBorderStyle(QTextFrameFormat::BorderStyle_DotDotDash);
        return true;
    case Word::BorderInset:
        setBorderStyle(QTextFrameFormat::BorderStyle_Inset);
        return true;
    case Word::BorderOutset:
        setBorderStyle(QTextFrameFormat::BorderStyle_Outset);
        return true;
    case Word::BorderWidth:
        if (m_border != nullptr) {
            m_border->twips = std::clamp(value, 0, maxBorderTwips);
        }
        return true;
    case Word::BorderColor:
        if (m_border != nullptr) {
            m_border->color = formatting.color(value);
        }
        return true;
    case Word::CellShading:
        m_cell.shading = formatting.color(value);
        return true;
    case Word::CellTop:
        m_cell.alignment = QTextCharFormat::AlignTop;
        return true;
    case Word::CellMiddle:
        m_cell.alignment = QTextCharFormat::AlignMiddle;
        return true;
    case Word::CellBottom:
        m_cell.alignment = QTextCharFormat::AlignBottom;
        return true;
    default:
        return false;
    }
}

void RtfTableBuilder::setBorderStyle(QTextFrameFormat::BorderStyle style) {
    if (m_border != nullptr) {
        m_border->present = true;
        m_border->style = style;
    }
}

void RtfTableBuilder::openRow() {
    if (!m_rowOpen) {
        m_rowOpen = true;
        m_cells.clear();
        m_cells.emplace_back();
    }
}

RtfTableBuilder::CellContent& RtfTableBuilder::currentCell() {
    if (m_cells.empty()) {
        m_cells.emplace_back();
    }
    CellContent& cell = m_cells.back();
    // The content of a cell beyond the last column follows a tab.
    if (m_joinNext) {
        m_joinNext = false;
        Piece tab;
        tab.text = QStringLiteral("\t");
        tab.format = cell.pieces.empty() ? QTextCharFormat() : cell.pieces.back().format;
        cell.pieces.push_back(tab);
    }
    return cell;
}

void RtfTableBuilder::addText(const QString& text, const QTextCharFormat& format) {
    if (!m_keep || text.isEmpty()) {
        return;
    }
    CellContent& cell = currentCell();
    cell.afterBreak = false;
    if (!cell.pieces.empty() && cell.pieces.back().kind == Piece::Kind::Text &&
        cell.pieces.back().format == format) {
        cell.pieces.back().text += text;
        return;
    }
    Piece piece;
    piece.text = text;
    piece.format = format;
    cell.pieces.push_back(piece);
}

void RtfTableBuilder::addImage(const QTextImageFormat& format) {
    if (!m_keep) {
        return;
    }
    CellContent& cell = currentCell();
    cell.afterBreak = false;
    Piece piece;
    piece.kind = Piece::Kind::Image;
    piece.format = format;
    cell.pieces.push_back(piece);
}

void RtfTableBuilder::endParagraph(const QTextBlockFormat& block, const QTextCharFormat& next) {
    if (!m_keep) {
        return;
    }
    CellContent& cell = currentCell();
    Piece piece;
    piece.kind = Piece::Kind::Break;
    piece.block = block;
    piece.format = next;
    cell.pieces.push_back(piece);
    cell.afterBreak = true;
}

void RtfTableBuilder::endCell(const QTextBlockFormat& block) {
    if (!m_keep) {
        m_cells.resize(std::min<std::size_t>(m_cells.size() + 1, maxColumns));
        return;
    }
    m_joinNext = false;
    CellContent& cell = currentCell();
    cell.lastBlock = block;
    // Some writers end every paragraph of a cell, its last one too, with a
    // paragraph mark: that mark opens no paragraph of its own.
    if (cell.afterBreak) {
        cell.lastBlock = cell.pieces.back().block;
        cell.pieces.pop_back();
        cell.afterBreak = false;
    }
    if (m_cells.size() < static_cast<std::size_t>(maxColumns)) {
        m_cells.emplace_back();
    } else {
        m_joinNext = true;
    }
}

void RtfTableBuilder::endRow() {
    if (!m_rowOpen) {
        return;
    }
    m_rowOpen = false;
    m_joinNext = false;
    // The cell opened by the last \cell holds nothing unless the row ended
    // without closing it.
    if (m_cells.size() > 1 && m_cells.back().pieces.empty()) {
        m_cells.pop_back();
    }
    const int cells = static_cast<int>(std::max(m_cells.size(), m_definition.cells.size()));
    m_tableCells += std::max(cells, 1);
    if (m_cellsUsed + m_tableCells > maxCells) {
        m_flat = true;
    }
    if (m_keep) {
        Row row;
        if (!m_flat) {
            row.definition = m_definition;
        }
        row.cells = std::move(m_cells);
        m_rows.push_back(std::move(row));
    } else {
        m_rows.emplace_back();
    }
    m_cells.clear();
}

void RtfTableBuilder::replay(QTextCursor& cursor, const CellContent& content) {
    for (const Piece& piece : content.pieces) {
        switch (piece.kind) {
        case Piece::Kind::Text:
            cursor.insertText(piece.text, piece.format);
            break;
        case Piece::Kind::Image:
            cursor.insertImage(piece.format.toImageFormat());
            break;
        case Piece::Kind::Break:
            cursor.setBlockFormat(piece.block);
            cursor.insertBlock(piece.block, piece.format);
            break;
        }
    }
    cursor.setBlockFormat(content.lastBlock);
}

void RtfTableBuilder::buildFlat(QTextCursor& cursor) {
    for (const Row& row : m_rows) {
        for (std::size_t i = 0; i < row.cells.size(); ++i) {
            if (i > 0) {
                cursor.insertText(QStringLiteral("\t"));
            }
            replay(cursor, row.cells[i]);
        }
        cursor.insertBlock();
    }
}

std::vector<std::vector<RtfTableBuilder::Placed>>
RtfTableBuilder::placeCells(std::vector<int>& edges) const {
    std::vector<std::vector<Placed>> rows;
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        const Row& row = m_rows[r];
        const auto& definitions = row.definition.cells;
        const std::size_t count = std::max(definitions.size(), row.cells.size());
        std::vector<Placed> placed;
        std::vector<std::pair<int, int>> spans;
        int left = row.definition.leftTwips;
        for (std::size_t i = 0; i < count; ++i) {
            const CellDefinition* definition = i < definitions.size() ? &definitions[i] : nullptr;
            const int right =
                std::max(definition != nullptr ? definition->rightTwips : left + defaultCellTwips,
                         left + minimumCellTwips);
            const CellContent content = i < row.cells.size() ? row.cells[i] : CellContent{};
            if (definition != nullptr && definition->mergeNext && !placed.empty()) {
                spans.back().second = right;
                placed.back().content.append(content);
            } else {
                Placed cell;
                cell.row = static_cast<int>(r);
                cell.definition = definition;
                cell.content = content;
                placed.push_back(cell);
                spans.emplace_back(left, right);
            }
            left = right;
        }
        for (std::size_t i = 0; i < placed.size(); ++i) {
            placed[i].firstColumn = spans[i].first;
            placed[i].endColumn = spans[i].second;
            edges.push_back(spans[i].first);
            edges.push_back(spans[i].second);
        }
        rows.push_back(std::move(placed));
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    if (edges.size() < 2) {
        edges = {0, defaultCellTwips};
    }
    const auto columnOf = [&edges](int twips) {
        return static_cast<int>(std::lower_bound(edges.begin(), edges.end(), twips) -
                                edges.begin());
    };
    const int columns = static_cast<int>(edges.size()) - 1;
    for (auto& placed : rows) {
        std::vector<Placed> full;
        int column = 0;
        const auto pad = [&full, &column, &placed, &rows](int until) {
            for (; column < until; ++column) {
                Placed empty;
                empty.row = static_cast<int>(&placed - rows.data());
                empty.firstColumn = column;
                empty.endColumn = column + 1;
                full.push_back(empty);
            }
        };
        for (Placed& cell : placed) {
            cell.firstColumn = columnOf(cell.firstColumn);
            cell.endColumn = columnOf(cell.endColumn);
            pad(cell.firstColumn);
            column = cell.endColumn;
            full.push_back(std::move(cell));
        }
        pad(columns);
        placed = std::move(full);
    }
    return rows;
}

void RtfTableBuilder::build(QTextCursor& cursor) {
    endRow();
    if (!m_keep || m_rows.empty()) {
        m_rows.clear();
        m_tableCells = 0;
        m_flat = false;
        return;
    }
    std::vector<int> edges;
    std::vector<std::vector<Placed>> rows;
    if (!m_flat) {
        rows = placeCells(edges);
    }
    const int columns = static_cast<int>(edges.size()) - 1;
    const int gridCells = static_cast<int>(rows.size()) * columns;
    if (m_flat || columns > maxColumns || m_cellsUsed + gridCells > maxCells) {
        m_cellsUsed += static_cast<int>(m_rows.size());
        buildFlat(cursor);
        m_rows.clear();
        m_tableCells = 0;
        m_flat = false;
        return;
    }
    m_cellsUsed += gridCells;

    // Cells merged down: a continuation joins the cell above it that covers
    // the same columns.
    for (std::size_t r = 1; r < rows.size(); ++r) {
        for (Placed& cell : rows[r]) {
            if (cell.definition == nullptr || !cell.definition->verticalNext) {
                continue;
            }
            for (Placed& above : rows[r - 1]) {
                if (above.firstColumn != cell.firstColumn || above.endColumn != cell.endColumn ||
                    above.definition == nullptr) {
                    continue;
                }
                Placed* top = &above;
                while (top->covered) {
                    top = &*std::find_if(rows[std::size_t(top->row - 1)].begin(),
                                         rows[std::size_t(top->row - 1)].end(),
                                         [top](const Placed& p) {
                                             return p.firstColumn == top->firstColumn &&
                                                    p.endColumn == top->endColumn;
                                         });
                }
                top->rowSpan = static_cast<int>(r) - top->row + 1;
                top->content.append(cell.content);
                cell.covered = true;
                break;
            }
        }
    }

    const RowDefinition& first = m_rows.front().definition;
    QTextTableFormat format;
    format.setBorderCollapse(true);
    format.setBorder(0);
    format.setCellSpacing(0);
    format.setCellPadding(first.gapTwips / twipsPerPixel);
    format.setAlignment(first.alignment);
    const double total = edges.back() - edges.front();
    const bool shared = total > maxFixedTableTwips;
    if (shared) {
        format.setWidth(QTextLength(QTextLength::PercentageLength,
                                    std::min(100.0, 100.0 * total / pageTextTwips)));
    }
    QList<QTextLength> widths;
    for (int c = 0; c < columns; ++c) {
        const double twips = edges[std::size_t(c) + 1] - edges[std::size_t(c)];
        widths << (shared ? QTextLength(QTextLength::PercentageLength, 100.0 * twips / total)
                          : QTextLength(QTextLength::FixedLength, twips / twipsPerPixel));
    }
    format.setColumnWidthConstraints(widths);
    int headers = 0;
    while (headers < static_cast<int>(m_rows.size()) &&
           m_rows[std::size_t(headers)].definition.header) {
        ++headers;
    }
    format.setHeaderRowCount(headers);

    // A table in an empty paragraph would leave that paragraph before it.
    if (cursor.atBlockStart() && cursor.block().length() == 1 &&
        cursor.block().previous().isValid()) {
        cursor.deletePreviousChar();
    }
    QTextTable* table = cursor.insertTable(static_cast<int>(rows.size()), columns, format);
    for (const auto& row : rows) {
        for (const Placed& cell : row) {
            const int span = cell.endColumn - cell.firstColumn;
            if (!cell.covered && (span > 1 || cell.rowSpan > 1)) {
                table->mergeCells(cell.row, cell.firstColumn, cell.rowSpan, span);
            }
        }
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const RowDefinition& definition = m_rows[r].definition;
        for (std::size_t i = 0; i < rows[r].size(); ++i) {
            const Placed& cell = rows[r][i];
            if (cell.covered) {
                continue;
            }
            QTextTableCell target = table->cellAt(cell.row, cell.firstColumn);
            QTextTableCellFormat cellFormat = target.format().toTableCellFormat();
            if (cell.definition != nullptr) {
                const auto& own = cell.definition->borders;
                const auto& rowBorders = definition.borders;
                const bool firstCell = i == 0;
                const bool lastCell = i + 1 == rows[r].size();
                const std::array<Border, 4> sides = {
                    own[Top].present ? own[Top] : rowBorders[Top],
                    own[Left].present ? own[Left] : rowBorders[firstCell ? Left : InnerV],
                    own[Bottom].present ? own[Bottom] : rowBorders[Bottom],
                    own[Right].present ? own[Right] : rowBorders[lastCell ? Right : InnerV]};
                for (int side = 0; side < 4; ++side) {
                    const Border& border = sides[std::size_t(side)];
                    if (!border.present || border.twips <= 0) {
                        continue;
                    }
                    const double width = border.twips / twipsPerPixel;
                    switch (side) {
                    case Top:
                        cellFormat.setTopBorder(width);
                        cellFormat.setTopBorderStyle(border.style);
                        if (border.color.isValid()) {
                            cellFormat.setTopBorderBrush(border.color);
                        }
                        break;
                    case Left:
                        cellFormat.setLeftBorder(width);
                        cellFormat.setLeftBorderStyle(border.style);
                        if (border.color.isValid()) {
                            cellFormat.setLeftBorderBrush(border.color);
                        }
                        break;
                    case Bottom:
                        cellFormat.setBottomBorder(width);
                        cellFormat.setBottomBorderStyle(border.style);
                        if (border.color.isValid()) {
                            cellFormat.setBottomBorderBrush(border.color);
                        }
                        break;
                    default:
                        cellFormat.setRightBorder(width);
                        cellFormat.setRightBorderStyle(border.style);
                        if (border.color.isValid()) {
                            cellFormat.setRightBorderBrush(border.color);
                        }
                        break;
                    }
                }
                if (cell.definition->shading.isValid()) {
                    cellFormat.setBackground(cell.definition->shading);
                }
                if (cell.definition->alignment != QTextCharFormat::AlignTop) {
                    cellFormat.setVerticalAlignment(cell.definition->alignment);
                }
            }
            target.setFormat(cellFormat);
            QTextCursor inside = target.firstCursorPosition();
            replay(inside, cell.content);
        }
    }
    QTextCursor after = table->lastCursorPosition();
    after.movePosition(QTextCursor::NextBlock);
    cursor.setPosition(after.position());
    m_rows.clear();
    m_tableCells = 0;
}

} // namespace Ionaria::exercises::rtf
