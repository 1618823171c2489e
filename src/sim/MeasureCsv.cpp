// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/MeasureCsv.h"

#include "base/Numbers.h"

#include <array>
#include <string_view>
#include <type_traits>

namespace Ionaria::sim {

namespace {

// The columns, as scripts read them and as a French spreadsheet shows them;
// the latter has no name for the reaction codes, which it leaves out.
struct Column {
    std::string_view name;
    std::string_view tableur;
};
constexpr std::array<Column, 22> columns = {{
    {"t_s", "t (s)"},
    {"I_A", "i (A)"},
    {"U_V", "U (V)"},
    {"m_G_g", "m(G) (g)"},
    {"m_D_g", "m(D) (g)"},
    {"code_G", ""},
    {"code_D", ""},
    {"Cl-", "n(Cl-) (mol)"},
    {"SO4 2-", "n(SO4 2-) (mol)"},
    {"H+", "n(H+) (mol)"},
    {"Fe2+", "n(Fe2+) (mol)"},
    {"Fe3+", "n(Fe3+) (mol)"},
    {"Na+", "n(Na+) (mol)"},
    {"Zn2+", "n(Zn2+) (mol)"},
    {"Al3+", "n(Al3+) (mol)"},
    {"Cu2+", "n(Cu2+) (mol)"},
    {"ions_G", "n(cations G) (mol)"},
    {"ions_D", "n(cations D) (mol)"},
    {"HO-", "n(HO-) (mol)"},
    {"pH", "pH"},
    {"E_G_V", "E(G) (V)"},
    {"E_D_V", "E(D) (V)"},
}};
constexpr std::size_t columnsWithoutPotentials = 20;
// The amounts before the cations of the half-cells, by measuredSpecies.
constexpr std::size_t amountsBeforeIons = 9;

char separator(CsvDialect dialect) {
    return dialect == CsvDialect::Tableur ? ';' : ',';
}

// The shortest text that reads back as the stored value, of the type it is
// stored in: a current of 0.05 A stays 0.05.
template <typename Number> void appendNumber(std::string& row, Number value, CsvDialect dialect) {
    const std::size_t start = row.size();
    if constexpr (std::is_integral_v<Number>) {
        row += base::formatInteger(value);
    } else {
        row += base::writeShortest(value);
    }
    if (dialect == CsvDialect::Tableur) {
        for (std::size_t i = start; i < row.size(); ++i) {
            if (row[i] == '.') {
                row[i] = ',';
            }
        }
    }
}

template <typename Number>
void appendField(std::string& row, Number value, CsvDialect dialect, bool shown = true) {
    row.push_back(separator(dialect));
    if (shown) {
        appendNumber(row, value, dialect);
    }
}

} // namespace

std::string csvHeader(CsvDialect dialect, bool potentials) {
    std::string header;
    const std::size_t count = potentials ? columns.size() : columnsWithoutPotentials;
    bool first = true;
    for (std::size_t k = 0; k < count; ++k) {
        const std::string_view name =
            dialect == CsvDialect::Tableur ? columns[k].tableur : columns[k].name;
        if (name.empty()) {
            continue;
        }
        if (!first) {
            header.push_back(separator(dialect));
        }
        header += name;
        first = false;
    }
    header.push_back('\n');
    return header;
}

void appendCsvRow(std::string& out, const Measurement& m, CsvDialect dialect) {
    const bool vessel = !m.pile;
    appendNumber(out, m.tempsSec, dialect);
    appendField(out, m.intensite, dialect);
    for (const double value : {m.tension, m.masseG, m.masseD}) {
        appendField(out, value, dialect);
    }
    if (dialect != CsvDialect::Tableur) {
        appendField(out, m.codeG, dialect, vessel);
        appendField(out, m.codeD, dialect, vessel);
    }
    for (std::size_t k = 0; k < amountsBeforeIons; ++k) {
        appendField(out, m.quantite[k], dialect, vessel);
    }
    appendField(out, m.ions1, dialect);
    appendField(out, m.ions2, dialect);
    for (std::size_t k = amountsBeforeIons; k < m.quantite.size(); ++k) {
        appendField(out, m.quantite[k], dialect, vessel);
    }
    appendField(out, m.pH, dialect, vessel);
    if (m.potentials) {
        for (const float e : {m.potentielG, m.potentielD}) {
            appendField(out, e, dialect);
        }
    }
    out.push_back('\n');
}

} // namespace Ionaria::sim
