// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/MovingLayerState.h"

#include "sim/Catalogue.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Ionaria::sim {

namespace cat = catalogue;

namespace {

constexpr double turn = 6.28;

double advancePhase(State& s, double ringPeriod) {
    if (s.cptPas < std::numeric_limits<std::int32_t>::max()) {
        ++s.cptPas;
    }
    double phase = s.cptPas / ringPeriod;
    if (phase <= turn) {
        return phase;
    }
    const auto wrap = base::roundToInt32(turn * ringPeriod);
    if (!wrap || *wrap <= 1) {
        return phase;
    }
    // Each turn takes the whole turn off and gives one tick back; a counter
    // left far ahead by a slower ring is brought back in one go.
    const std::int64_t net = *wrap - 1;
    const double excess = s.cptPas - turn * ringPeriod;
    const auto skipped = static_cast<std::int64_t>(excess / static_cast<double>(net)) - 1;
    std::int64_t counter = s.cptPas;
    if (skipped > 0) {
        counter -= skipped * net;
    }
    while (static_cast<double>(counter) / ringPeriod > turn) {
        counter -= net;
    }
    s.cptPas = static_cast<std::int32_t>(counter);
    return static_cast<double>(counter) / ringPeriod;
}

// Counts a tick of electrode k's particle event and, when the event comes,
// shifts the queue; returns the progress of the event, 0 to 1.
double particleEvent(State& s, base::Random& random, int k, double ringPeriod) {
    std::int16_t& counter = k == 1 ? s.cptIon1 : s.cptIon2;
    const int nbe = k == 1 ? s.nbe1 : s.nbe2;
    auto& queue = s.posY[static_cast<std::size_t>(k)];
    if (counter < std::numeric_limits<std::int16_t>::max()) {
        ++counter;
    }
    // The ticks during which nbe electrons pass one point of the ring.
    const double period = nbe * ringPeriod * turn / 50.0;
    if (counter > period) {
        counter = 0;
    }
    if (counter == 0) {
        for (std::size_t i = 1; i <= 12; ++i) {
            queue[i] = queue[i + 1];
        }
        const int code = s.espece[static_cast<std::size_t>(k)];
        const bool gas =
            k == 2 ? (code == cat::chlorure || code == cat::eau) : code == cat::hydrogene;
        if (gas && queue[11] != queue[12]) {
            // The second atom of the molecule.
            queue[13] = queue[12];
        } else {
            const double niveau = k == 1 ? s.niveau1 : s.niveau2;
            const double bottom = s.decalY + (k == 1 ? 503.0 : 504.0);
            const double r = random.next();
            if (const auto y = base::roundToInt16(r * (bottom - niveau - 10.0) + niveau + 5.0)) {
                queue[13] = *y;
            }
        }
    }
    if (!(period > 0.0)) {
        return 0.0;
    }
    return counter / period;
}

} // namespace

std::optional<GasRule> gasRule(int k, int code) {
    if (k == 1 && code == cat::hydrogene) {
        return GasRule{1, 1.0};
    }
    if (k == 2 && code == cat::chlorure) {
        return GasRule{1, 1.0};
    }
    if (k == 2 && code == cat::eau) {
        // Oxygen: one molecule for four electrons climbs twice as fast.
        return GasRule{4, 2.0};
    }
    return std::nullopt;
}

Frame advanceMovingLayer(State& s, const ParamStore& p, base::Random& random, double ringPeriod,
                         int sens) {
    Frame frame;
    frame.ringPeriod = ringPeriod;
    frame.sens = sens;
    if (!std::isfinite(ringPeriod) || ringPeriod <= 0.0) {
        frame.jitter = random;
        return frame;
    }
    frame.valid = true;
    frame.phase = advancePhase(s, ringPeriod);
    if (s.intensite != 0.0F) {
        // Whole slots off until at most 0.95 is left; taking whole units off
        // a double is exact, so most of them go at once.
        double offset = 50.0 * frame.phase / turn;
        offset -= std::max(0.0, std::floor(offset) - 1.0);
        while (offset > 0.95) {
            offset -= 1.0;
        }
        frame.offset = offset;
        frame.avance2 = particleEvent(s, random, 2, ringPeriod);
        frame.avance1 = particleEvent(s, random, 1, ringPeriod);
    }
    frame.jitter = random;
    frame.jitterDraws = frameDraws(s, p, frame);
    random.discard(frame.jitterDraws);
    return frame;
}

std::uint64_t frameDraws(const State& s, const ParamStore& p, const Frame& frame) {
    if (!frame.valid || s.intensite == 0.0F) {
        return 0;
    }
    std::uint64_t draws = 0;
    if (!p.isMacro()) {
        // Two draws for each electron of the columns inside the electrodes.
        for (const int k : {2, 1}) {
            const int surface = s.posY[static_cast<std::size_t>(k)][7];
            const int top = s.decalY + 300;
            if (surface >= top) {
                draws += 2U * static_cast<std::uint64_t>((surface - top) / 15 + 1);
            }
        }
        return draws;
    }
    if (p.isPile()) {
        return 0;
    }
    // One draw for each bubble.
    for (const int k : {1, 2}) {
        const auto rule = gasRule(k, s.espece[static_cast<std::size_t>(k)]);
        if (!rule) {
            continue;
        }
        forEachBubbleTrain(s, k, *rule, k == 1 ? frame.avance1 : frame.avance2,
                           [&draws](const BubbleTrain& train) {
                               draws += static_cast<std::uint64_t>(train.upCount()) +
                                        static_cast<std::uint64_t>(train.downCount());
                           });
    }
    return draws;
}

} // namespace Ionaria::sim
