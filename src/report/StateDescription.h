// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/Engine.h"

#include <QString>

namespace Ionaria::report {

// The experiment told in words, for a screen reader: the montage, its
// electrodes and solution, the time, voltage and current shown above the
// picture, then the lines of the state report (the masses, the
// concentrations and, while a current flows, the reaction at each
// electrode). The report is written on a copy of the engine, so that
// reading the description changes nothing in the run.
QString stateDescription(const sim::Engine& engine);

} // namespace Ionaria::report
