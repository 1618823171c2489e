// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/Picture.h"

namespace Ionaria::render {

Picture::Picture(sim::Engine& engine, std::unique_ptr<Canvas> canvas, Report report)
    : m_engine(engine), m_feedback(drawingFeedback(engine)), m_canvas(std::move(canvas)),
      m_report(std::move(report)), m_schematic(*m_canvas, engine, m_feedback),
      m_layer(*m_canvas, engine) {
    if (m_report) {
        m_layer.setReport([this] { drawReport(); });
    }
}

void Picture::drawReport() {
    if (m_report) {
        m_report(*m_canvas, m_engine, m_feedback);
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
