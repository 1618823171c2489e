// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/DrawOp.h"
#include "render/QtCanvas.h"

#include <string>
#include <vector>

namespace Ionaria::render {

// A surface that draws like the experiment's and keeps the list of what it
// was asked to draw, so that a check can count and inspect the operations.
class RecordingCanvas : public QtCanvas {
public:
    const std::vector<DrawOp>& ops() const { return m_ops; }
    void clearOps() { m_ops.clear(); }

    std::vector<DrawOp> opsOf(DrawOp::Kind kind) const;
    // The texts printed, in order.
    std::vector<std::string> texts() const;

    void line(double x1, double y1, double x2, double y2, Color c) override;
    void box(double x1, double y1, double x2, double y2, Color c) override;
    void fillBox(double x1, double y1, double x2, double y2, Color c) override;
    using Canvas::circle;
    void circle(double cx, double cy, double radius, Color outline) override;
    void arc(double cx, double cy, double radius, double start, double end, double aspect,
             Color c) override;
    void print(std::string_view text) override;
    void cls() override;
    void clearPicture() override;
    void makeBackground() override;

private:
    DrawOp op(DrawOp::Kind kind) const;
    // Records an operation given by two corners or end points.
    void recordCorners(DrawOp::Kind kind, double x1, double y1, double x2, double y2, Color c);

    std::vector<DrawOp> m_ops;
};

} // namespace Ionaria::render
