// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/ParamStore.h"
#include "sim/State.h"

#include <optional>
#include <string>
#include <vector>

namespace Ionaria::sim {

// The electrolyser's characteristic I = f(U) for its present state: no
// current below the back-voltage (the threshold), then a line of slope the
// vessel's conductance. Both generators work on it: the voltage generator
// sets U and reads I, the current generator sets I and reads U.
struct Characteristic {
    static constexpr double maxVoltageV = 10.0; // the voltage generator's range
    static constexpr double stepV = 0.1;        // between the tabulated points

    struct Point {
        double tensionV = 0.0;
        double intensiteA = 0.0;
    };

    double seuilV = 0.0;       // the back-voltage Δ, signed: below 0 a cell
    double conductanceS = 0.0; // the slope
    // From 0 to maxVoltageV by stepV, with the threshold itself where it
    // falls within, so that a line through the points bends at it.
    std::vector<Point> points;

    // The current at a generator voltage, A.
    double intensiteA(double tensionV) const;
    // "seuil ≈ 1,56 V", the threshold with two decimals and a decimal comma.
    std::string seuilText() const;
};

// The vessel's conductance (S) from its amounts and volume; 0 without volume.
double vesselConductance(const State& s, const ParamStore& p);

// The characteristic of the electrolysis's present state; none for the cell.
std::optional<Characteristic> characteristic(const State& s, const ParamStore& p);

// Its points as CSV, "U_V,I_A" then one row per point (shortest numbers).
std::string characteristicCsv(const Characteristic& c);

} // namespace Ionaria::sim
