// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/Catalogue.h"

#include <string>
#include <string_view>

namespace Ionaria::sim {

// The end of "Solution aqueuse de sulfate d…" for a half-cell whose
// electrode has the nature code natureCode ("e cuivre"); empty for a code no
// half-cell metal has.
constexpr std::string_view sulfateSaltSuffix(int natureCode) {
    switch (natureCode) {
    case catalogue::natureAluminium:
        return "'aluminium";
    case catalogue::natureCuivre:
        return "e cuivre";
    case catalogue::natureFer:
        return "e fer II";
    case catalogue::natureZincPile:
        return "e zinc";
    default:
        return {};
    }
}

// The heading of a half-cell's solution, as its electrode's page shows it.
inline std::string halfCellSolutionTitle(int natureCode) {
    return std::string("Solution aqueuse de sulfate d").append(sulfateSaltSuffix(natureCode));
}

} // namespace Ionaria::sim
