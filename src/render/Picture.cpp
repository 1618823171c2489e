// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/Picture.h"

namespace Ionaria::render {

Picture::Picture(sim::Engine& engine, std::unique_ptr<Canvas> canvas, Report report)
    : m_engine(engine), m_canvas(std::move(canvas)), m_schematic(*m_canvas, engine),
      m_layer(*m_canvas, engine) {
    if (report) {
        m_layer.setReport([this, report = std::move(report)] { report(*m_canvas, m_engine); });
    }
}

Picture::~Picture() = default;

void Picture::fondschema() {
    m_schematic.fondschema();
}

void Picture::electrodes() {
    m_schematic.electrodes();
}

void Picture::drawNatureMessage(const std::string& line1, const std::string& line2) {
    m_schematic.drawNatureMessage(line1, line2);
}

void Picture::clearMovingLayer() {
    m_canvas->cls();
}

void Picture::drawMovingLayer(const sim::Frame& frame) {
    m_layer.draw(frame);
}

void Picture::timerChanged(bool) {}

void Picture::naturesChanged() {}

} // namespace Ionaria::render
