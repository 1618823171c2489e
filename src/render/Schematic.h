// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/Canvas.h"
#include "sim/Engine.h"

#include <string>

namespace Ionaria::render {

// The montage as the persistent background of the experiment surface: the
// gradient, the circuit, the vessels, the terminals, the solutions and
// electrodes with their legend, the salt bridge and the meters.
class Schematic {
public:
    // The engine is read; the state is written only through the drawing
    // feedback, which the engine's host holds.
    Schematic(Canvas& canvas, const sim::Engine& engine, sim::DrawingFeedback feedback)
        : m_canvas(canvas), m_engine(engine), m_feedback(feedback) {}

    // Redraws the whole montage and makes it the background; a refused
    // montage only hides Frame1 and leaves the surface as it is.
    void fondschema();
    // Solutions, electrodes and, at the microscopic scale, the legend, over
    // whatever the surface shows. Writes the solution colours into the state
    // and clears negative electrode masses.
    void electrodes();
    // The refusal message of the nature check, centred on an empty picture.
    void drawNatureMessage(const std::string& line1, const std::string& line2);

    // Whether the frame of the reset and pause buttons is shown.
    bool Frame1Visible() const { return m_frame1Visible; }

    // The two terminals "G" and "D" resting on the liquid, in the canvas's
    // current font and fill style; the moving layer draws them again over
    // the particles.
    static void terminals(Canvas& canvas, const sim::State& state);

private:
    void gradient();
    void cable();
    void wiresMacro();
    void vessel(int left, int right, int niveau);
    void saltBridge();
    void meters();
    void paintLiquid(int firstX, int lastX, int niveau, int shadeOffset, Color base);
    void electrodeBar(int electrode, int tag, int highest, double mass);

    Canvas& m_canvas;
    const sim::Engine& m_engine;
    sim::DrawingFeedback m_feedback;
    bool m_frame1Visible = true;
};

} // namespace Ionaria::render
