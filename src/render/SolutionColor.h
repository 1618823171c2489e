// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace Ionaria::render {

// The coloured ions of the solutions and how their concentration tints the
// colourless solution (230, 240, 250).
enum class ColoredIon { Cuivre2, Fer2, Fer3 };

struct SolutionColor {
    std::int16_t r = 230;
    std::int16_t g = 240;
    std::int16_t b = 250;

    // Tints by an amount in mol of the ion in a volume in mL. A volume that
    // is not positive leaves the colour as it is.
    void apply(ColoredIon ion, double amountMol, double volumeMl);
};

} // namespace Ionaria::render
