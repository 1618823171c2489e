// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/Reading.h"

#include <QFont>

class QChart;
class QValueAxis;

namespace Ionaria::ui {

// The look shared by every plot of the curves' window: the charts, their
// axes and the round ranges the axes span.

QFont chartFont(int pixels, bool bold = false);

// A plot flat and still, its numbers written the French way whatever the
// system's locale; the caller owns it until a scene takes it.
QChart* newChart();

// The fonts and grid of an axis.
void styleAxis(QValueAxis& axis);

// A range that ends on round ticks: steps of 1, 2, 2.5 or 5 times a power
// of ten, at most so many of them.
void niceAxis(QValueAxis& axis, double low, double high, int intervals);
// The range, ticks and label decimals of a scale.
void applyScale(QValueAxis& axis, const sim::AxisScale& scale);

} // namespace Ionaria::ui
