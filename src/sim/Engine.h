// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Random.h"
#include "sim/DrawingFeedback.h"
#include "sim/EngineHost.h"
#include "sim/MovingLayerState.h"
#include "sim/ParamStore.h"
#include "sim/State.h"

#include <cstdint>

namespace Ionaria::sim {

// Observes the elementary one-second steps of the chemistry.
class StepObserver {
public:
    virtual ~StepObserver() = default;
    // Called at the end of every step; programmedStop is true in the step in
    // which the programmed stop fired.
    virtual void stepDone(bool programmedStop) = 0;
    // Called when the montage goes back to time zero, before the step that
    // shows the initial state.
    virtual void runReset() {}
};

// The simulated montage: the state, the parameter store and the procedures
// that reset it, check it and advance it.
//
// Others read the state and the store; they write them only through narrow
// doors. The store is written by the Handlers (every control) and by the
// engine itself (the measurement labels, and the timer that the pause and
// reset commands start and stop); the state by the engine, the Handlers and,
// for what the drawing writes, the DrawingFeedback that only a host obtains.
// The compiler holds these doors: Handlers hands out a const engine, and
// random() and drawingFeedback() are private.
class Engine {
public:
    Engine();

    const State& state() const { return m_state; }
    const ParamStore& params() const { return m_params; }

    void setHost(EngineHost* host) { m_host = host; }
    EngineHost* host() const { return m_host; }
    void setStepObserver(StepObserver* observer) { m_observer = observer; }
    // Steps per call of variations while the timer runs; 0 follows the speed
    // scroll bar, as the window does. The batch mode takes one per tick.
    void setStepsPerTickOverride(int steps) { m_stepsOverride = steps; }

    // Puts the montage back at time zero from the parameters.
    void RAZ();
    // Chooses the reaction at each electrode of the electrolysis.
    void quielectrolyse();
    // Advances the chemistry by the steps of one tick.
    void variations(int& sens);
    // Refuses the combinations of natures that are not simulated.
    void verifnat();
    // "Retour à l'état initial".
    void Command3_Click();
    // "Pause / Marche".
    void Command5_Click();
    // One tick of the animation timer.
    void Timer1_Timer();
    // Whether the next tick runs and begins with a full redraw of the
    // background.
    bool tickRedrawsBackground() const;
    // The moving layer of the last tick, as its drawing shows it.
    const Frame& frame() const { return m_frame; }
    // The redraw of the background, through the host.
    void fondschema();
    void electrodes();

    // The period of the electron ring for the current of the state (ticks
    // per radian), as the tick takes it before the chemistry runs.
    double ringPeriod() const;
    // The direction of the current; in the cell, two equal potentials stop
    // the current.
    int direction();

    // Nature codes read from the tags of the two nature boxes.
    int nature1() const { return m_params.Combo2[0].tagValue(); }
    int nature2() const { return m_params.Combo2[1].tagValue(); }
    // Total mass in g of an electrode (1 or 2), over the natures of the
    // montage.
    double masseElectrode(int electrode) const;

private:
    friend class Handlers;
    friend class EngineHost;
    // Tests set up states that no sequence of choices reaches quickly.
    friend struct EngineAccess;

    // What the drawing of the montage and the report may write.
    DrawingFeedback drawingFeedback() { return DrawingFeedback(m_state); }

    bool tickRuns() const;
    // Whether an electrode carries no metal left, summed over its list.
    bool electrodeUsedUp() const;
    void setNatureMessage(const char* line1, const char* line2);
    // The steps of RAZ.
    void resetLevels();
    void resetElectrolysis();
    void resetCell();
    void resetParticleHeights();
    // The steps of variations around the chemistry of one step: the clock
    // and the labels; true when the programmed stop fires.
    bool countSecond();
    void showMeasures(double u);

    State m_state;
    ParamStore m_params;
    base::Random m_random;
    EngineHost* m_host = nullptr;
    StepObserver* m_observer = nullptr;
    int m_stepsOverride = 0;
    bool m_resetTick = false; // the reset's own tick takes one step
    Frame m_frame;
};

inline DrawingFeedback EngineHost::drawingFeedback(Engine& engine) {
    return engine.drawingFeedback();
}

} // namespace Ionaria::sim
