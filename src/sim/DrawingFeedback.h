// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/State.h"

#include <cstdint>

namespace Ionaria::sim {

// The only writes that drawing the montage and the report make into the
// state; they read everything else through a const engine. fondschema sets
// the redraw counter back to 0; electrodes keeps the colour of each solution,
// which the tick reads between two redraws; electrodes and the report clear
// the negative electrode masses before they weigh the electrodes.
class DrawingFeedback {
public:
    explicit DrawingFeedback(State& state) : m_state(state) {}

    // The montage was drawn again as the background.
    void backgroundRedrawn() { m_state.cptDessin = 0; }

    enum class Solution { Electrolyse, DemiPile1, DemiPile2 };
    // Components 0 to 255.
    void setSolutionColour(Solution solution, std::int16_t r, std::int16_t g, std::int16_t b) {
        switch (solution) {
        case Solution::Electrolyse:
            m_state.rougeSol1 = r;
            m_state.vertSol1 = g;
            m_state.bleuSol1 = b;
            break;
        case Solution::DemiPile1:
            m_state.rougeSol2 = r;
            m_state.vertSol2 = g;
            m_state.bleuSol2 = b;
            break;
        case Solution::DemiPile2:
            m_state.rougeSol3 = r;
            m_state.vertSol3 = g;
            m_state.bleuSol3 = b;
            break;
        }
    }

    ElectrodeMasses clearNegativeMasses(int highestCode) {
        return sim::clearNegativeMasses(m_state, highestCode);
    }

private:
    State& m_state;
};

} // namespace Ionaria::sim
