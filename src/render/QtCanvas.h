// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/DrawOp.h"
#include "render/OperationCanvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <memory>
#include <string_view>
#include <vector>

namespace Ionaria::render {

// The drawing surface of the experiment over a 417 x 497 picture, drawn
// without antialiasing so that every element lands on whole pixels.
//
// It draws each operation as it is kept, and replays the kept ones to draw
// the same picture again at any scale: into its own image when the window's
// scale changes, into another image for an export, or onto a printer as
// vector drawing. Positions stay in the picture's pixels; at a
// scale s the image has 417 s x 497 s pixels and is drawn, never stretched.
class QtCanvas : public OperationCanvas {
public:
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

protected:
    double measureWidth(std::string_view text) const override;
    int measureAscent() const override;
    int measureHeight() const override;
    void faceChanged() override;
    // Draws the operation on the image at once; the background's image
    // follows the operations that clear or keep it.
    void kept(const DrawOp& op) override;

private:
    QPainter& painter();
    void endPainting() const;
    // Fills the image and the background again from the operations.
    void redraw();

    double m_scale = 1.0;
    QImage m_image;
    QImage m_background;
    mutable std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<QFontMetrics> m_metrics;
};

} // namespace Ionaria::render
