// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Random.h"
#include "base/Rounding.h"
#include "sim/ParamStore.h"
#include "sim/State.h"

#include <cstdint>
#include <optional>

namespace Ionaria::sim {

// What the moving layer of one tick shows, worked out by the tick whether a
// picture draws it or not: the ring's phase, the slot offset of the electrons
// in the electrodes, the progress of the particle events and the random draws
// that the drawing makes (the jitter of the electrons, the bubbles).
struct Frame {
    double ringPeriod = 0.0; // T, ticks per radian of the electron ring
    int sens = -1;           // direction of the current, +1 or -1
    bool valid = false;      // false: the period could not be used, nothing is drawn
    double phase = 0.0;      // radians
    double offset = 0.0;     // slot offset s of the electrons in the electrodes
    double avance1 = 0.0;    // progress of the particle event at electrode 1, 0 to 1
    double avance2 = 0.0;
    // The generator as the drawing's own draws begin, and how many it makes;
    // the tick has already moved the engine's generator past them.
    base::Random jitter;
    std::uint64_t jitterDraws = 0;
};

// A train of gas bubbles along an electrode at the macroscopic scale: from
// the rising molecule at yc up to the liquid surface and down to the bottom,
// one bubble every spacing pixels.
struct BubbleTrain {
    int yc = 0;
    int spacing = 1;
    int surface = 0; // y of the liquid surface
    int lowest = 0;  // y of the lowest bubble allowed

    int upCount() const { return yc >= surface ? (yc - surface) / spacing + 1 : 0; }
    int downCount() const { return yc <= lowest ? (lowest - yc) / spacing + 1 : 0; }
};

// The molecules of the gas formed at an electrode that the bubbles follow:
// the first slot of the queue that carries one, and its climb per particle
// event in sixths of its way to the surface.
struct GasRule {
    int firstSlot = 1;
    double lift = 1.0;
};
// Electrode k (1 cathode, 2 anode) with reaction code: hydrogen at the
// cathode, chlorine or oxygen at the anode; none for the other reactions.
std::optional<GasRule> gasRule(int k, int code);

// Calls f(BubbleTrain) for each rising molecule of electrode k's queue;
// none below 0.05 A.
template <class F>
void forEachBubbleTrain(const State& s, int k, const GasRule& rule, double avance, F&& f) {
    const auto intensite = static_cast<double>(s.intensite);
    const int last = intensite < 0.05 ? 0 : 6;
    // Denser bubbles for a larger current.
    const auto spacing = base::roundToInt16(32.0 - 15.0 * intensite);
    if (!spacing || *spacing <= 0) {
        return;
    }
    const auto& queue = s.posY[static_cast<std::size_t>(k)];
    const double niveau = k == 1 ? s.niveau1 : s.niveau2;
    for (int i = rule.firstSlot; i <= last; ++i) {
        const double y = queue[static_cast<std::size_t>(i)];
        if (y == queue[static_cast<std::size_t>(i) + 1]) {
            continue;
        }
        const auto yc = base::roundToInt16(y - ((6 - i) + rule.lift * avance) * (y - niveau) / 6.0);
        if (!yc) {
            continue;
        }
        f(BubbleTrain{*yc, *spacing, static_cast<int>(niveau), s.decalY + 502});
    }
}

// One tick of the moving layer's state: the ring's phase, then, while a
// current flows, the particle events of electrodes 2 and 1 with their new
// random heights, then the draws of the drawing, skipped.
Frame advanceMovingLayer(State& s, const ParamStore& p, base::Random& random, double ringPeriod,
                         int sens);

// The number of random draws that drawing the frame makes.
std::uint64_t frameDraws(const State& s, const ParamStore& p, const Frame& frame);

} // namespace Ionaria::sim
