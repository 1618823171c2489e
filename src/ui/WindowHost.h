// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/EngineHost.h"

#include <functional>

namespace Ionaria::ui {

// The engine's host in the window: the drawing goes to the picture, the
// timer and the half-cell pages are the window's.
class WindowHost : public sim::EngineHost {
public:
    WindowHost(sim::EngineHost& picture, std::function<void(bool)> timerChangedHandler,
               std::function<void()> naturesChangedHandler);

    void fondschema() override { m_picture.fondschema(); }
    void electrodes() override { m_picture.electrodes(); }
    void drawNatureMessage(const std::string& line1, const std::string& line2) override {
        m_picture.drawNatureMessage(line1, line2);
    }
    void clearMovingLayer() override { m_picture.clearMovingLayer(); }
    void drawMovingLayer(const sim::Frame& frame) override { m_picture.drawMovingLayer(frame); }
    void timerChanged(bool running) override;
    void naturesChanged() override;

private:
    sim::EngineHost& m_picture;
    std::function<void(bool)> m_timerChanged;
    std::function<void()> m_naturesChanged;
};

} // namespace Ionaria::ui
