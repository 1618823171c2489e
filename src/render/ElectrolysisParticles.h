#pragma once

#include "render/Canvas.h"
#include "render/ElectrodeProcesses.h"
#include "sim/Engine.h"

namespace Ionaria::render {

// The particles of the reactions at the two electrodes of the electrolysis:
// every reaction at the microscopic scale, only the gas bubbles at the
// macroscopic one. Electrode 1 always carries a reduction, electrode 2 an
// oxidation; the colours blend with the colour of the electrolysis solution.
class ElectrolysisParticles {
public:
    ElectrolysisParticles(Canvas& canvas, sim::Engine& engine)
        : m_canvas(canvas), m_engine(engine), m_processes(canvas, engine) {}

    void draw(double avance1, double avance2);

private:
    void cathode(double avance);
    void anode(double avance);
    // A disc of a species blended at weight w (of 6) into the solution.
    void blended(Color species, double weight, double x, double y, double radius);
    // Gas bubbles along electrode k around the rising molecules of slots
    // first to 6; lift is the molecule's climb per event, in sixths of its
    // way to the surface.
    void bubbles(int k, double x0, Color colour, int first, double lift, double avance);
    Color solution() const;
    double slot(int k, int i) const;

    Canvas& m_canvas;
    sim::Engine& m_engine;
    ElectrodeProcesses m_processes;
};

} // namespace Ionaria::render
