// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/Canvas.h"
#include "render/DrawOp.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <memory>
#include <optional>
#include <vector>

namespace Ionaria::render {

// The drawing surface of the experiment over a 417 x 497 picture, drawn
// without antialiasing so that every element lands on whole pixels.
//
// The surface keeps what it was asked to draw since the picture was cleared,
// the background's operations apart from the frame's, so that the same
// picture can be drawn again at any scale: into its own image when the
// window's scale changes, into another image for an export, or onto a
// printer as vector drawing. Positions stay in the picture's pixels; at a
// scale s the image has 417 s x 497 s pixels and is drawn, never stretched.
class QtCanvas : public Canvas {
public:
    static constexpr int surfaceWidth = 417;
    static constexpr int surfaceHeight = 497;
    // The colour of an empty picture.
    static constexpr Color backColor = white;
    static constexpr double minimumScale = 0.25;
    static constexpr double maximumScale = 8.0;

    QtCanvas();
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    // The image as it stands, background and everything drawn since.
    const QImage& image() const;
    const QImage& background() const { return m_background; }

    // Device pixels per picture pixel of the image, 1 unless changed: the
    // background and the frame are drawn again at the new scale.
    void setScale(double scale);
    double scale() const { return m_scale; }
    // The pixel size of the image at a scale.
    static QSize imageSize(double scale);
    // The picture as it stands drawn into a new image at a scale.
    QImage render(double scale) const;
    // Paints the picture as it stands with the painter, whose transform maps
    // the picture's pixels to the device: a vector drawing on a printer.
    void paint(QPainter& painter) const;
    // The same from operations kept apart from their surface.
    static void paint(QPainter& painter, const std::vector<DrawOp>& background,
                      const std::vector<DrawOp>& frame);
    // The operations of the background and of the frame drawn over it.
    const std::vector<DrawOp>& backgroundOps() const { return m_backgroundOps; }
    const std::vector<DrawOp>& frameOps() const { return m_frameOps; }

    int scaleWidth() const override { return surfaceWidth; }
    int scaleHeight() const override { return surfaceHeight; }

    void line(double x1, double y1, double x2, double y2, Color c) override;
    void box(double x1, double y1, double x2, double y2, Color c) override;
    void fillBox(double x1, double y1, double x2, double y2, Color c) override;
    using Canvas::circle;
    void circle(double cx, double cy, double radius, Color outline) override;
    void arc(double cx, double cy, double radius, double start, double end, double aspect,
             Color c) override;

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
    QPainter& painter();
    void endPainting() const;
    void fontChanged();
    DrawOp op(DrawOp::Kind kind, Color c) const;
    // Draws the operation on the image and keeps it for the next scale.
    void draw(DrawOp op);
    // A line or a box from one corner to the other.
    void drawSpan(DrawOp::Kind kind, double x1, double y1, double x2, double y2, Color c);
    // Fills the image and the background again from the operations.
    void redraw();

    double m_scale = 1.0;
    std::vector<DrawOp> m_backgroundOps;
    std::vector<DrawOp> m_frameOps;
    QImage m_image;
    QImage m_background;
    mutable std::unique_ptr<QPainter> m_painter;
    FontFace m_face;
    double m_fontPoints = 8.0;
    std::unique_ptr<QFontMetrics> m_metrics;
};

} // namespace Ionaria::render
