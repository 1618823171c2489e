// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <functional>

class QColor;
class QTextBlock;
class QTextFrame;

namespace Ionaria::exercises::rtf {

// Writes one paragraph, from its \pard to its last character, without the
// paragraph mark.
using BlockWriter = std::function<void(QByteArray& out, const QTextBlock& block)>;
// The index of a colour in the file's colour table.
using ColorIndex = std::function<int(const QColor& color)>;

// Writes the paragraphs and tables of frame in their order. Tables become
// rows of cells (\trowd ... \cell ... \row) on the grid of the document's
// table: every column has its edge, merged cells are written as merged
// (\clmgf, \clmrg, \clvmgf, \clvmrg), with the cells' borders, shading and
// vertical alignment, so that the reader of this folder and word processors
// read the same table back.
void appendFrame(QByteArray& out, const QTextFrame& frame, const BlockWriter& block,
                 const ColorIndex& color);

} // namespace Ionaria::exercises::rtf
