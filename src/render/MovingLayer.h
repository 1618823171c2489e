// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/Canvas.h"
#include "render/ElectrodeProcesses.h"
#include "render/ElectrolysisParticles.h"
#include "sim/Engine.h"

#include <cstdint>
#include <functional>

namespace Ionaria::render {

// What the tick draws over the background after the chemistry has run: the
// electron ring, the salt-bridge ions, the particle queues and their events,
// the electrons inside the electrodes, the electrode labels, the reactions at
// the electrodes and the generator or resistor; at the macroscopic scale it
// ends with the state report, given by the caller.
class MovingLayer {
public:
    using Report = std::function<void()>;

    MovingLayer(Canvas& canvas, const sim::Engine& engine, Report report = {})
        : m_canvas(canvas), m_engine(engine), m_processes(canvas, engine),
          m_particles(canvas, engine), m_report(std::move(report)) {}

    void setReport(Report report) { m_report = std::move(report); }

    // Draws the frame that the tick has worked out; it changes no state.
    void draw(const sim::Frame& frame);

    // The random draws that the last drawing made, which the tick counted
    // and skipped beforehand.
    std::uint64_t lastDraws() const { return m_draws; }

private:
    void ring(double phase, int sens);
    void saltBridge(double phase, int sens);
    void electronsInElectrodes(double offset, int sens);
    void labels();
    void cellProcesses(int sens, double avance1, double avance2);
    void generator();
    void polarity(double minusX, double plusX, double y);
    void resistor(int sens);
    void report();

    Canvas& m_canvas;
    const sim::Engine& m_engine;
    ElectrodeProcesses m_processes;
    ElectrolysisParticles m_particles;
    Report m_report;
    base::Random m_jitter; // the frame's draws, in the order the tick counted them
    std::uint64_t m_draws = 0;
};

} // namespace Ionaria::render
