// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/Engine.h"

#include <QString>

namespace Ionaria::report {

// The experiment told in words for a screen reader (spokenState), as the
// window's widgets take it.
QString stateDescription(const sim::Engine& engine);

// A measurement as its label shows it ("1 min 5 s", "56,7 mA"), its units
// in words ("1 minute 5 secondes", "56,7 milliampères"): spokenMeasureText.
QString spokenMeasure(const QString& shown);

} // namespace Ionaria::report
