// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/FileOutput.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace Ionaria::ui {

class CourbesChart;

enum class ChartFormat { Png, Svg, Pdf };

// The format a file name asks for by its extension, in any case.
std::optional<ChartFormat> chartFormatOf(const QString& path);
QString extensionOf(ChartFormat format);

// The chart as it is laid out, encoded in memory: a picture at its size in
// px, an SVG drawing of that size, or a PDF page of that size at 96 px per
// inch. Empty when it cannot be made.
QByteArray chartBytes(CourbesChart& chart, ChartFormat format);

// The chart written to its file through the careful writer: the old file
// stays whole unless the new one is complete.
output::Result writeChart(const QString& path, CourbesChart& chart, ChartFormat format);

// Why a careful write failed, in French, for the user.
QString failureReason(const output::Result& result);

} // namespace Ionaria::ui
