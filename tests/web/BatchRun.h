// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/Engine.h"

#include <cstdint>

namespace Ionaria::testing {

// The batch's run, as the page's runAsBatch makes it: the timer started as
// "Pause / Marche" starts it, then one simulated second a tick until the
// time shown reaches seconds (s), the timer stops or a tick no longer
// advances.
inline void runAsBatch(sim::Engine& engine, double seconds) {
    if (!engine.params().Timer1) {
        engine.Command5_Click();
    }
    engine.setStepsPerTickOverride(1);
    while (true) {
        const std::int32_t before = engine.state().tempsSec;
        engine.Timer1_Timer();
        if (engine.state().tempsSec == before || !engine.params().Timer1 ||
            engine.params().mesures.tempsSec >= seconds) {
            break;
        }
    }
}

} // namespace Ionaria::testing
