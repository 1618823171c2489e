// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/PictureHost.h"

#include "output/FileOutput.h"

namespace Ionaria::render {

PictureHost::PictureHost(sim::Engine& engine, Report report, std::unique_ptr<QtCanvas> canvas)
    : m_engine(engine), m_feedback(drawingFeedback(engine)),
      m_canvas(canvas ? std::move(canvas) : std::make_unique<QtCanvas>()),
      m_report(std::move(report)), m_schematic(*m_canvas, engine, m_feedback),
      m_layer(*m_canvas, engine) {
    if (m_report) {
        m_layer.setReport([this] { drawReport(); });
    }
}

void PictureHost::drawReport() {
    if (m_report) {
        m_report(*m_canvas, m_engine, m_feedback);
    }
}

PictureHost::~PictureHost() = default;

bool PictureHost::writePng(const QString& path) const {
    return output::writeImage(path, image(), "PNG").ok();
}

void PictureHost::fondschema() {
    m_schematic.fondschema();
}

void PictureHost::electrodes() {
    m_schematic.electrodes();
}

void PictureHost::drawNatureMessage(const std::string& line1, const std::string& line2) {
    m_schematic.drawNatureMessage(line1, line2);
}

void PictureHost::clearMovingLayer() {
    m_canvas->cls();
}

void PictureHost::drawMovingLayer(const sim::Frame& frame) {
    m_layer.draw(frame);
}

// The picture shows no timer; the window has its own host for it.
void PictureHost::timerChanged(bool) {}

void PictureHost::naturesChanged() {}

} // namespace Ionaria::render
