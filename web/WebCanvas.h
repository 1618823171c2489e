// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/Canvas.h"
#include "render/DrawOp.h"

#include <functional>
#include <string>
#include <vector>

namespace Ionaria::web {

// What the page measures of a text in a face, in pixels: a browser's canvas
// knows its fonts, the module does not.
struct TextMetrics {
    std::function<double(const render::FontFace&, const std::string&)> width;
    std::function<int(const render::FontFace&)> ascent;
    std::function<int(const render::FontFace&)> height;
};

// A surface of the picture's size that keeps what it is asked to draw, as
// the desktop's does, for the page to replay: the background's operations
// apart from the frame's. Positions are checked as the desktop checks them,
// so that the print cursor moves the same way.
class WebCanvas : public render::Canvas {
public:
    static constexpr int surfaceWidth = 417;
    static constexpr int surfaceHeight = 497;

    explicit WebCanvas(TextMetrics metrics);

    const std::vector<render::DrawOp>& backgroundOps() const { return m_backgroundOps; }
    const std::vector<render::DrawOp>& frameOps() const { return m_frameOps; }
    // Grows each time the background changes, so that the page draws it
    // again only then.
    int backgroundVersion() const { return m_backgroundVersion; }

    int scaleWidth() const override { return surfaceWidth; }
    int scaleHeight() const override { return surfaceHeight; }

    void line(double x1, double y1, double x2, double y2, render::Color c) override;
    void box(double x1, double y1, double x2, double y2, render::Color c) override;
    void fillBox(double x1, double y1, double x2, double y2, render::Color c) override;
    using Canvas::circle;
    void circle(double cx, double cy, double radius, render::Color outline) override;
    void arc(double cx, double cy, double radius, double start, double end, double aspect,
             render::Color c) override;

    void setFontName(std::string_view face) override;
    void setFontSize(double points) override;
    void setFontBold(bool bold) override;
    void setFontItalic(bool italic) override;
    double fontSize() const override { return m_fontPoints; }
    bool fontBold() const override { return m_face.bold; }
    bool fontItalic() const override { return m_face.italic; }
    double textWidth(std::string_view text) const override;
    double textHeight(std::string_view text) const override;
    void print(std::string_view text) override;

    void cls() override;
    void clearPicture() override;
    void makeBackground() override;

private:
    render::DrawOp op(render::DrawOp::Kind kind, render::Color c) const;
    void span(render::DrawOp::Kind kind, double x1, double y1, double x2, double y2,
              render::Color c);

    TextMetrics m_metrics;
    std::vector<render::DrawOp> m_backgroundOps;
    std::vector<render::DrawOp> m_frameOps;
    int m_backgroundVersion = 0;
    render::FontFace m_face;
    double m_fontPoints = 8.0;
};

} // namespace Ionaria::web
