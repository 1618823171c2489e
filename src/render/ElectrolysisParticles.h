// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Random.h"
#include "render/Canvas.h"
#include "render/ElectrodeProcesses.h"
#include "sim/Engine.h"

#include <cstdint>

namespace Ionaria::render {

// The particles of the reactions at the two electrodes of the electrolysis:
// every reaction at the microscopic scale, only the gas bubbles at the
// macroscopic one. Electrode 1 always carries a reduction, electrode 2 an
// oxidation; the colours blend with the colour of the electrolysis solution.
class ElectrolysisParticles {
public:
    ElectrolysisParticles(Canvas& canvas, const sim::Engine& engine)
        : m_canvas(canvas), m_engine(engine), m_processes(canvas, engine) {}

    // Draws the reactions at both electrodes; the bubbles take their random
    // positions from jitter. Returns the number of draws made.
    std::uint64_t draw(double avance1, double avance2, base::Random& jitter);

private:
    void cathode(double avance, base::Random& jitter);
    void anode(double avance, base::Random& jitter);
    // The H2 molecules rising from the cathode.
    void dihydrogene(double avance);
    // A disc of a species blended at weight w (of 6) into the solution.
    void blended(Color species, double weight, double x, double y, double radius);
    // Gas bubbles along electrode k around its rising molecules.
    void bubbles(int k, double x0, Color colour, double avance, base::Random& jitter);
    Color solution() const;
    double slot(int k, int i) const;

    Canvas& m_canvas;
    const sim::Engine& m_engine;
    ElectrodeProcesses m_processes;
    std::uint64_t m_draws = 0;
};

} // namespace Ionaria::render
