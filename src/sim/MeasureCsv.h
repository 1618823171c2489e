// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/Measurement.h"

#include <string>

namespace Ionaria::sim {

// How the rows of measurements are written: the standard dialect (",",
// decimal point, the names scripts read), or the one a French spreadsheet
// opens as it stands (";", decimal comma, French names with their units and
// no reaction codes).
enum class CsvDialect { Standard, Tableur };

// The header line, with its line end; with the potentials of G and D at
// the end when they follow the concentrations, E_G_V and E_D_V.
std::string csvHeader(CsvDialect dialect, bool potentials = false);
// Appends one row, with its line end. Each number is the shortest text that
// reads back as the value stored; in the cell the vessel's columns are
// empty. The potentials close the row when the measurement has them.
void appendCsvRow(std::string& out, const Measurement& m, CsvDialect dialect);

} // namespace Ionaria::sim
