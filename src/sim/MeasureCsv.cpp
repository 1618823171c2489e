// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/MeasureCsv.h"

#include <array>
#include <charconv>
#include <string_view>

namespace Ionaria::sim {

namespace {

constexpr std::array<std::string_view, 18> columns = {
    "t_s", "I_A",  "U_V",  "m_G_g", "m_D_g", "code_G", "code_D", "Cl-",    "SO4 2-",
    "H+",  "Fe2+", "Fe3+", "Na+",   "Zn2+",  "Al3+",   "Cu2+",   "ions_G", "ions_D"};

char separator(CsvDialect dialect) {
    return dialect == CsvDialect::Tableur ? ';' : ',';
}

void appendNumber(std::string& row, double value, CsvDialect dialect) {
    std::array<char, 40> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 10);
    const std::size_t start = row.size();
    row.append(buffer.data(), result.ptr);
    if (dialect == CsvDialect::Tableur) {
        for (std::size_t i = start; i < row.size(); ++i) {
            if (row[i] == '.') {
                row[i] = ',';
            }
        }
    }
}

} // namespace

std::string csvHeader(CsvDialect dialect) {
    std::string header;
    for (const std::string_view column : columns) {
        if (!header.empty()) {
            header.push_back(separator(dialect));
        }
        header += column;
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
    out.push_back('\n');
}

} // namespace Ionaria::sim
