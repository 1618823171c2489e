// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/Engine.h"

namespace Ionaria::sim {

// The tests' door into the engine: they set up states and parameters that no
// short sequence of choices reaches (a mass gone negative, a counter near its
// end), which the program itself never writes from outside the engine.
struct EngineAccess {
    static State& state(Engine& engine) { return engine.m_state; }
    static ParamStore& store(Engine& engine) { return engine.m_params; }
    static base::Random& random(Engine& engine) { return engine.m_random; }
    // What a drawing made without a host may write.
    static DrawingFeedback feedback(Engine& engine) { return engine.drawingFeedback(); }
};

} // namespace Ionaria::sim
