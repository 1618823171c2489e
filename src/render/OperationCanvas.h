// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/Canvas.h"
#include "render/DrawOp.h"

#include <string_view>
#include <vector>

namespace Ionaria::render {

// A surface of the picture's size that keeps what it is asked to draw since
// the picture was cleared: the background's operations apart from the
// frame's, so that the same picture can be replayed on any device (a
// QPainter at any scale, a printer, a browser's canvas). Positions are
// checked here, once for every surface, so that the print cursor moves the
// same way wherever the picture is drawn; a surface adds how it measures
// texts and what it does with each operation kept.
class OperationCanvas : public Canvas {
public:
    static constexpr int surfaceWidth = 417;
    static constexpr int surfaceHeight = 497;
    // Beyond this a position, px, is an error of the caller rather than a
    // place.
    static constexpr double farAway = 32767.0;

    OperationCanvas();

    // The operations of the background and of the frame drawn over it.
    const std::vector<DrawOp>& backgroundOps() const { return m_backgroundOps; }
    const std::vector<DrawOp>& frameOps() const { return m_frameOps; }

    int scaleWidth() const final { return surfaceWidth; }
    int scaleHeight() const final { return surfaceHeight; }

    void line(double x1, double y1, double x2, double y2, Color c) final;
    void box(double x1, double y1, double x2, double y2, Color c) final;
    void fillBox(double x1, double y1, double x2, double y2, Color c) final;
    using Canvas::circle;
    void circle(double cx, double cy, double radius, Color outline) final;
    void arc(double cx, double cy, double radius, double start, double end, double aspect,
             Color c) final;

    void setFontName(std::string_view face) final;
    void setFontSize(double points) final;
    void setFontBold(bool bold) final;
    void setFontItalic(bool italic) final;
    double fontSize() const final { return m_fontPoints; }
    bool fontBold() const final { return m_face.bold; }
    bool fontItalic() const final { return m_face.italic; }
    double textWidth(std::string_view text) const final;
    double textHeight(std::string_view text) const final;
    void print(std::string_view text) final;

    void cls() final;
    void clearPicture() final;
    void makeBackground() final;

protected:
    // The face texts are printed in now.
    const FontFace& face() const { return m_face; }

    // The surface's measures of a text in the current face, px.
    virtual double measureWidth(std::string_view text) const = 0;
    virtual int measureAscent() const = 0;
    virtual int measureHeight() const = 0;
    // After the face changed, for a surface that keeps a font made from it.
    virtual void faceChanged() {}
    // Each operation as it is kept, the clearing and background ones
    // included, once the lists hold it.
    virtual void kept(const DrawOp& op) = 0;

private:
    DrawOp op(DrawOp::Kind kind, Color c) const;
    void keep(DrawOp op);
    // A line or a box from one corner to the other.
    void span(DrawOp::Kind kind, double x1, double y1, double x2, double y2, Color c);

    std::vector<DrawOp> m_backgroundOps;
    std::vector<DrawOp> m_frameOps;
    FontFace m_face;
    double m_fontPoints = 8.0;
};

} // namespace Ionaria::render
