// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/Engine.h"

namespace Ionaria::testing {

// Starts the timer if it stands, then runs ticks as the timer would.
inline void runTicks(sim::Engine& engine, int ticks) {
    if (!engine.params().Timer1) {
        engine.Command5_Click();
    }
    for (int i = 0; i < ticks; ++i) {
        engine.Timer1_Timer();
    }
}

} // namespace Ionaria::testing
