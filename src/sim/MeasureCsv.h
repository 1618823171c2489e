// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/Measurement.h"

#include <string>

namespace Ionaria::sim {

// How the rows of measurements are written: the standard dialect (",",
// decimal point), or the one a French spreadsheet opens as it stands (";",
// decimal comma).
enum class CsvDialect { Standard, Tableur };

// The header line, with its line end.
std::string csvHeader(CsvDialect dialect);
// Appends one row, with its line end. Numbers keep 10 significant digits.
void appendCsvRow(std::string& out, const Measurement& m, CsvDialect dialect);

} // namespace Ionaria::sim
