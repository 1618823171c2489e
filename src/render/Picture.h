// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/Canvas.h"
#include "render/MovingLayer.h"
#include "render/Schematic.h"
#include "sim/Engine.h"
#include "sim/EngineHost.h"

#include <functional>
#include <memory>

namespace Ionaria::render {

// The picture of the experiment as the engine's host, on any surface: it
// draws the montage, the nature message and every tick's moving layer. The
// state report drawn at the macroscopic scale is given by the caller, so that
// the picture does not depend on it. The desktop gives it a QPainter surface,
// the browser one that hands the operations to the page.
class Picture : public sim::EngineHost {
public:
    using Report = std::function<void(Canvas&, const sim::Engine&, sim::DrawingFeedback&)>;

    Picture(sim::Engine& engine, std::unique_ptr<Canvas> canvas, Report report = {});
    ~Picture() override;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    Canvas& surface() { return *m_canvas; }
    const Canvas& surface() const { return *m_canvas; }
    // Writes the state report over the picture as it stands, if there is one.
    void drawReport();
    // Whether the frame of the reset and pause buttons is shown.
    bool Frame1Visible() const { return m_schematic.Frame1Visible(); }
    // The moving layer, which counts the random draws of its last drawing.
    const MovingLayer& movingLayer() const { return m_layer; }

    void fondschema() override;
    void electrodes() override;
    void drawNatureMessage(const std::string& line1, const std::string& line2) override;
    void clearMovingLayer() override;
    void drawMovingLayer(const sim::Frame& frame) override;
    // The picture shows no timer; the window has its own host for it.
    void timerChanged(bool running) override;
    void naturesChanged() override;

private:
    const sim::Engine& m_engine;
    sim::DrawingFeedback m_feedback;
    std::unique_ptr<Canvas> m_canvas;
    Report m_report;
    Schematic m_schematic;
    MovingLayer m_layer;
};

} // namespace Ionaria::render
