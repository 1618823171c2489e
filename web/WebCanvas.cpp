// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/WebCanvas.h"

#include "base/Rounding.h"

#include <cmath>

namespace Ionaria::web {

using render::Color;
using render::DrawOp;

namespace {

// Beyond this a position is an error of the caller rather than a place, as
// on the desktop's surface.
constexpr double farAway = 32767.0;

bool drawable(double value) {
    return std::isfinite(value) && std::fabs(value) <= farAway;
}

bool drawable(double x, double y, int scaleTop) {
    return drawable(x) && drawable(y - scaleTop);
}

} // namespace

WebCanvas::WebCanvas(TextMetrics metrics) : m_metrics(std::move(metrics)) {
    m_face.pixelSize = render::fontPixelSize(m_fontPoints);
}

DrawOp WebCanvas::op(DrawOp::Kind kind, Color c) const {
    DrawOp o;
    o.kind = kind;
    o.color = c;
    o.filled = fillStyle() == render::FillStyle::Solid;
    o.fill = fillColor();
    o.width = drawWidth();
    o.scaleTop = scaleTop();
    return o;
}

void WebCanvas::span(DrawOp::Kind kind, double x1, double y1, double x2, double y2, Color c) {
    DrawOp o = op(kind, c);
    o.x1 = x1;
    o.y1 = y1;
    o.x2 = x2;
    o.y2 = y2;
    m_frameOps.push_back(std::move(o));
}

void WebCanvas::line(double x1, double y1, double x2, double y2, Color c) {
    span(DrawOp::Kind::Line, x1, y1, x2, y2, c);
}

void WebCanvas::box(double x1, double y1, double x2, double y2, Color c) {
    span(DrawOp::Kind::Box, x1, y1, x2, y2, c);
}

void WebCanvas::fillBox(double x1, double y1, double x2, double y2, Color c) {
    span(DrawOp::Kind::FillBox, x1, y1, x2, y2, c);
}

void WebCanvas::circle(double cx, double cy, double radius, Color outline) {
    if (!drawable(cx, cy, scaleTop()) || !drawable(radius) || base::roundHalfEven(radius) < 0.0) {
        return;
    }
    DrawOp o = op(DrawOp::Kind::Circle, outline);
    o.x1 = cx;
    o.y1 = cy;
    o.radius = radius;
    m_frameOps.push_back(std::move(o));
    moveCursor(cx, cy);
}

void WebCanvas::arc(double cx, double cy, double radius, double start, double end, double aspect,
                    Color c) {
    if (!std::isfinite(radius) || !std::isfinite(aspect) || aspect <= 0.0 ||
        !std::isfinite(start) || !std::isfinite(end) || radius < 0.0 || radius > farAway ||
        !drawable(cx, cy, scaleTop())) {
        return;
    }
    DrawOp o = op(DrawOp::Kind::Arc, c);
    o.x1 = cx;
    o.y1 = cy;
    o.radius = radius;
    o.start = start;
    o.end = end;
    o.aspect = aspect;
    m_frameOps.push_back(std::move(o));
    moveCursor(cx, cy);
}

void WebCanvas::setFontName(std::string_view face) {
    m_face.family = render::fontFamily(face);
}

void WebCanvas::setFontSize(double points) {
    if (!std::isfinite(points) || points <= 0.0) {
        return;
    }
    m_fontPoints = points;
    m_face.pixelSize = render::fontPixelSize(points);
}

void WebCanvas::setFontBold(bool bold) {
    m_face.bold = bold;
}

void WebCanvas::setFontItalic(bool italic) {
    m_face.italic = italic;
}

double WebCanvas::textWidth(std::string_view text) const {
    return m_metrics.width(m_face, std::string(text));
}

double WebCanvas::textHeight(std::string_view) const {
    return m_metrics.height(m_face);
}

void WebCanvas::print(std::string_view text) {
    const double width = textWidth(text);
    if (drawable(currentX(), currentY(), scaleTop())) {
        DrawOp o = op(DrawOp::Kind::Text, foreColor());
        o.x1 = currentX();
        o.y1 = currentY();
        o.text = std::string(text);
        o.font = m_face;
        o.ascent = m_metrics.ascent(m_face);
        m_frameOps.push_back(std::move(o));
    }
    moveCursor(currentX() + width, currentY());
}

void WebCanvas::cls() {
    m_frameOps.clear();
    moveCursor(0.0, 0.0);
}

void WebCanvas::clearPicture() {
    m_backgroundOps.clear();
    m_frameOps.clear();
    ++m_backgroundVersion;
    moveCursor(0.0, 0.0);
}

void WebCanvas::makeBackground() {
    m_backgroundOps.insert(m_backgroundOps.end(), std::make_move_iterator(m_frameOps.begin()),
                           std::make_move_iterator(m_frameOps.end()));
    m_frameOps.clear();
    ++m_backgroundVersion;
}

} // namespace Ionaria::web
