// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace Ionaria::sim {

class Engine;

// The species whose amounts are measured, by species number, in the order
// of their columns: HO- last, its column after the cations of the cell's
// half-cells (those before it came first, and keep their places).
inline constexpr std::array<int, 10> measuredSpecies = {1, 2, 3, 5, 6, 7, 8, 9, 10, 4};

// The measurements of the montage after one step: what a CSV row holds,
// and the reactions at the electrodes.
struct Measurement {
    std::int32_t tempsSec = 0; // s, the time the label shows
    float intensite = 0.0F;    // A
    double tension = 0.0;      // V, with its sign
    double masseG = 0.0;       // g, electrode 1 (left)
    double masseD = 0.0;       // g, electrode 2 (right)
    std::int16_t codeG = 0;    // reaction codes of the electrolysis
    std::int16_t codeD = 0;
    // The half-equation numbers at each electrode, in the cell too.
    std::int16_t reactionG = 0;
    std::int16_t reactionD = 0;
    std::array<double, measuredSpecies.size()> quantite{}; // mol, by measuredSpecies
    double ions1 = 0.0;                                    // mol of cations, half-cell 1
    double ions2 = 0.0;                                    // mol of cations, half-cell 2
    bool pile = false; // the cell: the vessel's amounts and pH do not apply
    double pH = 7.0;   // of the electrolysis vessel, derived from H+ and HO-
    // The potentials of the couples, when they follow the concentrations.
    bool potentials = false;
    float potentielG = 0.0F; // V, electrode 1
    float potentielD = 0.0F; // V, electrode 2

    static Measurement of(const Engine& engine);
    bool operator==(const Measurement&) const = default;
};

} // namespace Ionaria::sim
