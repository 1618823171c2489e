// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/DrawingFeedback.h"
#include "sim/MovingLayerState.h"

#include <string>

namespace Ionaria::sim {

class Engine;

// What the engine asks of the picture and of the window. The engine runs
// without one (batch mode, tests): it then keeps only the effects on the
// state that the drawing routines have, such as the redraw counter.
class EngineHost {
public:
    virtual ~EngineHost() = default;

    // The full redraw of the montage as the persistent background. It sets
    // the redraw counter to 0 unless the montage is refused.
    virtual void fondschema() = 0;
    // Solutions, electrodes and legend, over whatever the picture shows.
    virtual void electrodes() = 0;
    // The two-line refusal message of the nature check, on a cleared picture.
    virtual void drawNatureMessage(const std::string& line1, const std::string& line2) = 0;
    // The tick's moving layer: the clearing back to the background, before
    // the chemistry of the tick runs...
    virtual void clearMovingLayer() = 0;
    // ...and the drawing after it, of the frame that the tick has worked out.
    virtual void drawMovingLayer(const Frame& frame) = 0;
    // The animation timer was started or stopped.
    virtual void timerChanged(bool running) = 0;
    // The half-cell panels show the natures and must be repainted.
    virtual void naturesChanged() = 0;

protected:
    // What a host that draws the montage may write into the state of the
    // engine it draws: the only door to it outside the engine.
    static DrawingFeedback drawingFeedback(Engine& engine);
};

} // namespace Ionaria::sim
