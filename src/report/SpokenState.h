// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/Engine.h"

#include <string>

namespace Ionaria::report {

// The experiment told in words, for a screen reader, in UTF-8: one short
// sentence a line, each a whole statement a voice reads as it stands. The
// montage, its electrodes and solution, the time, voltage and current shown
// above the picture, then what the state report shows (the masses, the
// concentrations and, while a current flows, the reaction at each
// electrode). Numbers keep their decimal comma; powers of ten, charges and
// units are said in words ("9,96 fois 10 puissance moins 2 mole par litre",
// "Cu2+ + 2 e- donne Cu"). Reading it changes nothing in the run. The
// desktop and the browser say the same text.
std::string spokenState(const sim::Engine& engine);

// A measurement as its label shows it ("1 min 5 s", "56,7 mA"), its units
// in words ("1 minute 5 secondes", "56,7 milliampères").
std::string spokenMeasureText(const std::string& shown);

} // namespace Ionaria::report
