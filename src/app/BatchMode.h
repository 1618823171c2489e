// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CommandLine.h"
#include "sim/Engine.h"

#include <functional>
#include <iosfwd>

namespace Ionaria::sim {
class Recorder;
}

namespace Ionaria::app {

// Runs an experiment without a window: the start-up state, the configuration
// loaded as the open dialog loads it, then ticks of the running timer with
// one simulated second each, until the asked duration, the programmed stop or
// a step in which time did not advance.
class BatchMode {
public:
    // Exit statuses.
    static constexpr int ok = 0;
    static constexpr int usageError = 1;
    static constexpr int loadError = 2;
    static constexpr int refused = 3;
    static constexpr int outputError = 4;

    // The picture at the end of a run, to draw as the window would show it:
    // the engine as it stood before the last tick that redrew the
    // background, and the ticks that the run made from there. For a refused
    // montage, the engine whose message the picture shows and no tick.
    struct LastFrame {
        sim::Engine& engine;
        long long ticks = 0;
        // The record of the run when the curves were asked for.
        const sim::Recorder* record = nullptr;
        // The engine as the run left it, at its last second: engine may be
        // a copy from before the last redraw, which draw() runs on to there.
        const sim::Engine* atEnd = nullptr;
        const sim::Engine& end() const { return atEnd != nullptr ? *atEnd : engine; }
        // Replays the ticks with host attached for the background and for the
        // last tick only, which are all that the picture shows.
        void draw(sim::EngineHost& host) const;
    };
    // Returns false when its output failed.
    using LastTick = std::function<bool(const LastFrame&)>;

    static int run(const CommandLine& options, std::ostream& out, std::ostream& err,
                   const LastTick& lastTick = {});

    // The run's pace: the timer started as "Pause / Marche" starts it, one
    // simulated second a tick.
    static void startTimer(sim::Engine& engine);
    // One tick of a run to seconds (s); false when the run ends with it: time
    // did not advance, the timer stopped or the measured time reached seconds.
    static bool tick(sim::Engine& engine, long long seconds);
    // A run with no output, as run() makes it: the page's and the checks'.
    static void runFor(sim::Engine& engine, long long seconds);

    // The CSV header, and one row of the state after a step. With the
    // potentials following the concentrations, two columns more at the end:
    // the potentials of G and D.
    static std::string csvHeader(const sim::ParamStore& params);
    static std::string csvRow(const sim::Engine& engine);

    // What the run prints at the end: time, current, voltage, masses and the
    // reactions at the electrodes.
    static std::string summary(const sim::Engine& engine);
};

} // namespace Ionaria::app
