// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/MeasureCsv.h"

#include "base/Numbers.h"

#include <array>
#include <string_view>

namespace Ionaria::sim {

namespace {

constexpr std::array<std::string_view, 20> columns = {
    "t_s",  "I_A",  "U_V", "m_G_g", "m_D_g", "code_G", "code_D", "Cl-",    "SO4 2-", "H+",
    "Fe2+", "Fe3+", "Na+", "Zn2+",  "Al3+",  "Cu2+",   "ions_G", "ions_D", "E_G_V",  "E_D_V"};
constexpr std::size_t columnsWithoutPotentials = 18;

char separator(CsvDialect dialect) {
    return dialect == CsvDialect::Tableur ? ';' : ',';
}

void appendNumber(std::string& row, double value, CsvDialect dialect) {
    const std::size_t start = row.size();
    row += base::writeFloat(value, base::FloatForm::General, 10);
    if (dialect == CsvDialect::Tableur) {
        for (std::size_t i = start; i < row.size(); ++i) {
            if (row[i] == '.') {
                row[i] = ',';
            }
        }
    }
}

} // namespace

std::string csvHeader(CsvDialect dialect, bool potentials) {
    std::string header;
    const std::size_t count = potentials ? columns.size() : columnsWithoutPotentials;
    for (std::size_t k = 0; k < count; ++k) {
        if (!header.empty()) {
            header.push_back(separator(dialect));
        }
        header += columns[k];
    }
    header.push_back('\n');
    return header;
}

void appendCsvRow(std::string& out, const Measurement& m, CsvDialect dialect) {
    const char sep = separator(dialect);
    out += std::to_string(m.tempsSec);
    out.push_back(sep);
    appendNumber(out, static_cast<double>(m.intensite), dialect);
    for (const double value : {m.tension, m.masseG, m.masseD}) {
        out.push_back(sep);
        appendNumber(out, value, dialect);
    }
    out.push_back(sep);
    out += std::to_string(m.codeG);
    out.push_back(sep);
    out += std::to_string(m.codeD);
    for (const double amount : m.quantite) {
        out.push_back(sep);
        appendNumber(out, amount, dialect);
    }
    out.push_back(sep);
    appendNumber(out, m.ions1, dialect);
    out.push_back(sep);
    appendNumber(out, m.ions2, dialect);
    if (m.potentials) {
        for (const float e : {m.potentielG, m.potentielD}) {
            out.push_back(sep);
            appendNumber(out, static_cast<double>(e), dialect);
        }
    }
    out.push_back('\n');
}

} // namespace Ionaria::sim
