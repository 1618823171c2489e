// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/Canvas.h"
#include "sim/Engine.h"

#include <vector>

namespace Ionaria::report {

// The state of the system written over the picture: the mass of each
// electrode, the concentration of each ion present and, while a current
// flows, the half-equation at each electrode in its box. Negative electrode
// masses are first cleared in the state, its only write, made through the
// drawing feedback of the engine's host.
void rapport(render::Canvas& canvas, const sim::Engine& engine, sim::DrawingFeedback& feedback);

// The species of the electrolysis whose concentration the report gives, in
// its order: every ion present, water's H+ and HO- included.
std::vector<int> reportedSpecies(const sim::State& s);

} // namespace Ionaria::report
