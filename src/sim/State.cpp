// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/State.h"

#include <algorithm>

namespace Ionaria::sim {

ElectrodeMasses clearNegativeMasses(State& state, int highestCode) {
    ElectrodeMasses masses;
    const int highest = std::min(highestCode, 4);
    for (int code = 0; code <= highest; ++code) {
        const auto m = static_cast<std::size_t>(code);
        for (std::size_t e = 1; e <= 2; ++e) {
            if (state.masseMetal[e][m] < 0.0) {
                state.masseMetal[e][m] = 0.0;
                masses.cleared = true;
            }
        }
        masses.electrode1 += state.masseMetal[1][m];
        masses.electrode2 += state.masseMetal[2][m];
    }
    return masses;
}

} // namespace Ionaria::sim
