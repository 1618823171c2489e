// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/OperationCanvas.h"

#include "base/Rounding.h"

#include <cmath>
#include <string>
#include <utility>

namespace Ionaria::render {

namespace {

bool drawable(double value) {
    return std::isfinite(value) && std::fabs(value) <= OperationCanvas::farAway;
}

bool drawable(double x, double y, int scaleTop) {
    return drawable(x) && drawable(y - scaleTop);
}

} // namespace

OperationCanvas::OperationCanvas() {
    m_face.pixelSize = fontPixelSize(m_fontPoints);
}

DrawOp OperationCanvas::op(DrawOp::Kind kind, Color c) const {
    DrawOp o;
    o.kind = kind;
    o.color = c;
    o.filled = fillStyle() == FillStyle::Solid;
    o.fill = fillColor();
    o.width = drawWidth();
    o.scaleTop = scaleTop();
    return o;
}

void OperationCanvas::keep(DrawOp o) {
    m_frameOps.push_back(std::move(o));
    kept(m_frameOps.back());
}

void OperationCanvas::span(DrawOp::Kind kind, double x1, double y1, double x2, double y2, Color c) {
    DrawOp o = op(kind, c);
    o.x1 = x1;
    o.y1 = y1;
    o.x2 = x2;
    o.y2 = y2;
    keep(std::move(o));
}

void OperationCanvas::line(double x1, double y1, double x2, double y2, Color c) {
    span(DrawOp::Kind::Line, x1, y1, x2, y2, c);
}

void OperationCanvas::box(double x1, double y1, double x2, double y2, Color c) {
    span(DrawOp::Kind::Box, x1, y1, x2, y2, c);
}

void OperationCanvas::fillBox(double x1, double y1, double x2, double y2, Color c) {
    span(DrawOp::Kind::FillBox, x1, y1, x2, y2, c);
}

void OperationCanvas::circle(double cx, double cy, double radius, Color outline) {
    if (!drawable(cx, cy, scaleTop()) || !drawable(radius) || base::roundHalfEven(radius) < 0.0) {
        return;
    }
    DrawOp o = op(DrawOp::Kind::Circle, outline);
    o.x1 = cx;
    o.y1 = cy;
    o.radius = radius;
    keep(std::move(o));
    moveCursor(cx, cy);
}

void OperationCanvas::arc(double cx, double cy, double radius, double start, double end,
                          double aspect, Color c) {
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
    keep(std::move(o));
    moveCursor(cx, cy);
}

void OperationCanvas::setFontName(std::string_view face) {
    std::string family = fontFamily(face);
    if (family == m_face.family) {
        return;
    }
    m_face.family = std::move(family);
    faceChanged();
}

void OperationCanvas::setFontSize(double points) {
    if (!std::isfinite(points) || points <= 0.0) {
        return;
    }
    m_fontPoints = points;
    m_face.pixelSize = fontPixelSize(points);
    faceChanged();
}

void OperationCanvas::setFontBold(bool bold) {
    if (bold != m_face.bold) {
        m_face.bold = bold;
        faceChanged();
    }
}

void OperationCanvas::setFontItalic(bool italic) {
    if (italic != m_face.italic) {
        m_face.italic = italic;
        faceChanged();
    }
}

double OperationCanvas::textWidth(std::string_view text) const {
    return measureWidth(text);
}

double OperationCanvas::textHeight(std::string_view) const {
    return measureHeight();
}

void OperationCanvas::print(std::string_view text) {
    const double width = measureWidth(text);
    if (drawable(currentX(), currentY(), scaleTop())) {
        DrawOp o = op(DrawOp::Kind::Text, foreColor());
        o.x1 = currentX();
        o.y1 = currentY();
        o.text = std::string(text);
        o.fontSize = m_fontPoints;
        o.font = m_face;
        o.ascent = measureAscent();
        keep(std::move(o));
    }
    moveCursor(currentX() + width, currentY());
}

void OperationCanvas::cls() {
    m_frameOps.clear();
    moveCursor(0.0, 0.0);
    kept(op(DrawOp::Kind::Cls, Color{}));
}

void OperationCanvas::clearPicture() {
    m_backgroundOps.clear();
    m_frameOps.clear();
    moveCursor(0.0, 0.0);
    kept(op(DrawOp::Kind::ClearPicture, Color{}));
}

void OperationCanvas::makeBackground() {
    m_backgroundOps.insert(m_backgroundOps.end(), std::make_move_iterator(m_frameOps.begin()),
                           std::make_move_iterator(m_frameOps.end()));
    m_frameOps.clear();
    kept(op(DrawOp::Kind::MakeBackground, Color{}));
}

} // namespace Ionaria::render
