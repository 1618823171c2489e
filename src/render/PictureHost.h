// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/MovingLayer.h"
#include "render/QtCanvas.h"
#include "render/Schematic.h"
#include "sim/Engine.h"
#include "sim/EngineHost.h"

#include <QImage>
#include <QString>

#include <functional>
#include <memory>

namespace Ionaria::render {

// The picture of the experiment as the engine's host: it draws the montage,
// the nature message and every tick's moving layer into its image. The state
// report drawn at the macroscopic scale is given by the caller, so that the
// picture does not depend on it.
//
//     PictureHost picture(engine, report);
//     engine.setHost(&picture);
//     ... engine.Timer1_Timer() ...
//     picture.image().save("out.png", "PNG");
class PictureHost : public sim::EngineHost {
public:
    using Report = std::function<void(Canvas&, const sim::Engine&, sim::DrawingFeedback&)>;

    explicit PictureHost(sim::Engine& engine, Report report = {},
                         std::unique_ptr<QtCanvas> canvas = nullptr);
    ~PictureHost() override;
    PictureHost(const PictureHost&) = delete;
    PictureHost& operator=(const PictureHost&) = delete;

    // The frame as it stands: the background with the moving layer and, at
    // the macroscopic scale, the report.
    const QImage& image() const { return m_canvas->image(); }
    // Writes the frame as a PNG file; false when it cannot be written, the
    // file it would have replaced then left whole.
    bool writePng(const QString& path) const;
    // Writes the state report over the picture as it stands, if there is one.
    void drawReport();
    // Whether the frame of the reset and pause buttons is shown.
    bool Frame1Visible() const { return m_schematic.Frame1Visible(); }

    QtCanvas& canvas() { return *m_canvas; }
    // The moving layer, which counts the random draws of its last drawing.
    const MovingLayer& movingLayer() const { return m_layer; }

    void fondschema() override;
    void electrodes() override;
    void drawNatureMessage(const std::string& line1, const std::string& line2) override;
    void clearMovingLayer() override;
    void drawMovingLayer(const sim::Frame& frame) override;
    void timerChanged(bool running) override;
    void naturesChanged() override;

private:
    const sim::Engine& m_engine;
    sim::DrawingFeedback m_feedback;
    std::unique_ptr<QtCanvas> m_canvas;
    Report m_report;
    Schematic m_schematic;
    MovingLayer m_layer;
};

} // namespace Ionaria::render
