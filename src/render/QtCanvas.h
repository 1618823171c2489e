// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/Canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <memory>
#include <optional>

namespace Ionaria::render {

// The drawing surface of the experiment over a 417 x 497 image, drawn
// without antialiasing so that every element lands on whole pixels.
class QtCanvas : public Canvas {
public:
    static constexpr int surfaceWidth = 417;
    static constexpr int surfaceHeight = 497;
    // The colour of an empty picture.
    static constexpr Color backColor = white;

    QtCanvas();
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    // The image as it stands, background and everything drawn since.
    const QImage& image() const;
    const QImage& background() const { return m_background; }

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
    bool fontBold() const override { return m_font.bold(); }
    bool fontItalic() const override { return m_font.italic(); }
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
    // Device pixel of a drawing position, or none when it cannot be drawn.
    std::optional<QPoint> device(double x, double y) const;
    QPen pen(Color c) const;

    QImage m_image;
    QImage m_background;
    mutable std::unique_ptr<QPainter> m_painter;
    QFont m_font;
    double m_fontPoints = 8.0;
    std::unique_ptr<QFontMetrics> m_metrics;
};

} // namespace Ionaria::render
