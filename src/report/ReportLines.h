// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/Engine.h"

#include <string>
#include <vector>

namespace Ionaria::report {

// The state report's texts as plain lines, in the order the report writes
// them: each run of text the report prints on one line, its raised and
// lowered parts written in place ("[Cu2+] = 1,00 · 10-2 mol · L-1"). They
// are what rapport draws, taken from its own drawing; the state is read, not
// changed (the negative masses are cleared in a copy).
std::vector<std::string> rapportLines(const sim::Engine& engine);

} // namespace Ionaria::report
