// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/PictureHost.h"
#include "render/RecordingCanvas.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "support/EngineAccess.h"
#include "support/Ticks.h"

#include <QImage>

// A montage set up through the parameter handlers, with a recording picture
// attached from the start.
struct Picture {
    Picture() : host(engine, {}, makeCanvas()), handlers(engine) {
        engine.setHost(&host);
        handlers.startup();
    }

    Ionaria::render::RecordingCanvas& canvas() { return *recording; }
    // The state and the parameters, for the cases that set them directly.
    Ionaria::sim::State& state() { return Ionaria::sim::EngineAccess::state(engine); }
    Ionaria::sim::ParamStore& store() { return Ionaria::sim::EngineAccess::store(engine); }
    Ionaria::render::Color at(int x, int y) const {
        const QRgb p = host.image().pixel(x, y);
        return {qRed(p), qGreen(p), qBlue(p)};
    }
    void setPile(int tag1, int tag2) {
        handlers.selectOption2(Ionaria::sim::catalogue::Montage::Pile);
        handlers.selectCombo2(0, tag1);
        handlers.selectCombo2(1, tag2);
    }
    void run(int ticks) { Ionaria::testing::runTicks(engine, ticks); }

    Ionaria::sim::Engine engine;
    Ionaria::render::RecordingCanvas* recording = nullptr;
    Ionaria::render::PictureHost host;
    Ionaria::sim::Handlers handlers;

private:
    std::unique_ptr<Ionaria::render::QtCanvas> makeCanvas() {
        auto canvas = std::make_unique<Ionaria::render::RecordingCanvas>();
        recording = canvas.get();
        return canvas;
    }
};
