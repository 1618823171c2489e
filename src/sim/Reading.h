// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/Quantities.h"
#include "sim/Recorder.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace Ionaria::sim {

// What the curves write, the same on every screen that shows them: the
// units, the axes' graduations and the values read at a time, in French.

// The unit of the time axis, which follows the length of the run.
struct TimeUnit {
    std::string symbol;   // "s", "min" or "h"
    double seconds = 1.0; // s per unit
};
TimeUnit timeUnitFor(double lastSeconds);

// The unit a quantity is shown in, and the factor from the record's values.
struct ShownUnit {
    std::string unit; // UTF-8, empty for the pH
    double factor = 1.0;
};
// largestAmperes: the largest current drawn, which sets A or mA.
ShownUnit shownUnitOf(const Quantity& q, double largestAmperes);
// The unit a quantity is shown in for a plot of columns pixels of the
// record: a current's follows the largest drawn. scratch holds the trace
// read for it.
ShownUnit shownUnitOf(const Quantity& q, const Recorder& record, std::size_t columns,
                      std::vector<Recorder::Point>& scratch);
// The title of a quantity's axis: "i (mA)", "[Cu²⁺] (mol·L⁻¹)", "pH".
std::string axisTitleOf(const Quantity& q, const ShownUnit& shown);

// An axis from low to high in round steps of 1, 2, 2.5 or 5 times a power
// of ten, about intervals of them, its labels with as many decimals as the
// step needs.
struct AxisScale {
    double first = 0.0;
    double last = 1.0;
    double step = 1.0;
    int decimals = 0;
    int ticks = 2; // graduations, both ends included
};
AxisScale niceScale(double low, double high, int intervals);
int decimalsFor(double step);
// The value axis of a quantity drawn from low to high, in its shown unit:
// masses and concentrations are never negative, and their axis does not go
// below zero for the room around a flat curve.
AxisScale valueScaleOf(const Quantity& q, double low, double high);

// A number as a French screen writes it with so many decimals: a decimal
// comma, thousands set apart by a narrow no-break space, halves rounded
// away from zero ("1 234,50", "-0,13").
std::string frenchFixed(double value, int decimals);
// A value as a pupil writes it: six significant digits with a decimal
// comma, and a power of ten for the very small and the very large
// ("0,0512", "1,30390 × 10⁻¹¹").
std::string readingNumber(double value);
// "90 s", "1,50 min (90 s)".
std::string readingTimeText(double seconds, const TimeUnit& unit);
// A quantity's value with its unit, as the reading writes it: "51,2 mA".
std::string readingValueText(const Quantity& q, double value);

// The lines of the reading at a time, s (none: the last measurement): the
// time, each quantity of the run, with the law's mass beside each mass when
// faraday is on, the half-equations, and how thin the record has become.
std::vector<std::string> readingLines(const Recorder& record, std::optional<double> seconds,
                                      bool faraday);
// The changes of reaction, the first shown of them, and how many more;
// empty when there were none.
std::vector<std::string> eventLines(const Recorder& record, std::size_t shown);

} // namespace Ionaria::sim
