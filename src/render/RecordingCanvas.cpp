// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/RecordingCanvas.h"

namespace Ionaria::render {

DrawOp RecordingCanvas::op(DrawOp::Kind kind) const {
    DrawOp o;
    o.kind = kind;
    o.filled = fillStyle() == FillStyle::Solid;
    o.fill = fillColor();
    o.width = drawWidth();
    o.fontSize = fontSize();
    o.bold = fontBold();
    o.italic = fontItalic();
    o.scaleTop = scaleTop();
    return o;
}

void RecordingCanvas::recordCorners(DrawOp::Kind kind, double x1, double y1, double x2, double y2,
                                    Color c) {
    DrawOp o = op(kind);
    o.x1 = x1;
    o.y1 = y1;
    o.x2 = x2;
    o.y2 = y2;
    o.color = c;
    m_ops.push_back(o);
}

std::vector<DrawOp> RecordingCanvas::opsOf(DrawOp::Kind kind) const {
    std::vector<DrawOp> found;
    for (const auto& o : m_ops) {
        if (o.kind == kind) {
            found.push_back(o);
        }
    }
    return found;
}

std::vector<std::string> RecordingCanvas::texts() const {
    std::vector<std::string> found;
    for (const auto& o : m_ops) {
        if (o.kind == DrawOp::Kind::Text) {
            found.push_back(o.text);
        }
    }
    return found;
}

void RecordingCanvas::line(double x1, double y1, double x2, double y2, Color c) {
    recordCorners(DrawOp::Kind::Line, x1, y1, x2, y2, c);
    QtCanvas::line(x1, y1, x2, y2, c);
}

void RecordingCanvas::box(double x1, double y1, double x2, double y2, Color c) {
    recordCorners(DrawOp::Kind::Box, x1, y1, x2, y2, c);
    QtCanvas::box(x1, y1, x2, y2, c);
}

void RecordingCanvas::fillBox(double x1, double y1, double x2, double y2, Color c) {
    recordCorners(DrawOp::Kind::FillBox, x1, y1, x2, y2, c);
    QtCanvas::fillBox(x1, y1, x2, y2, c);
}

void RecordingCanvas::circle(double cx, double cy, double radius, Color outline) {
    DrawOp o = op(DrawOp::Kind::Circle);
    o.x1 = cx;
    o.y1 = cy;
    o.radius = radius;
    o.color = outline;
    m_ops.push_back(o);
    QtCanvas::circle(cx, cy, radius, outline);
}

void RecordingCanvas::arc(double cx, double cy, double radius, double start, double end,
                          double aspect, Color c) {
    DrawOp o = op(DrawOp::Kind::Arc);
    o.x1 = cx;
    o.y1 = cy;
    o.radius = radius;
    o.start = start;
    o.end = end;
    o.aspect = aspect;
    o.color = c;
    m_ops.push_back(o);
    QtCanvas::arc(cx, cy, radius, start, end, aspect, c);
}

void RecordingCanvas::print(std::string_view text) {
    DrawOp o = op(DrawOp::Kind::Text);
    o.x1 = currentX();
    o.y1 = currentY();
    o.text = std::string(text);
    o.color = foreColor();
    m_ops.push_back(o);
    QtCanvas::print(text);
}

void RecordingCanvas::cls() {
    m_ops.push_back(op(DrawOp::Kind::Cls));
    QtCanvas::cls();
}

void RecordingCanvas::clearPicture() {
    m_ops.push_back(op(DrawOp::Kind::ClearPicture));
    QtCanvas::clearPicture();
}

void RecordingCanvas::makeBackground() {
    m_ops.push_back(op(DrawOp::Kind::MakeBackground));
    QtCanvas::makeBackground();
}

} // namespace Ionaria::render
