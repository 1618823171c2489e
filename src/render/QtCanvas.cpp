// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/QtCanvas.h"

#include "base/Rounding.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <optional>
#include <string_view>

namespace Ionaria::render {

namespace {

QColor qcolor(Color c) {
    return QColor(c.r, c.g, c.b);
}

QString qtext(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<int> pixel(double value) {
    if (!std::isfinite(value) || std::fabs(value) > OperationCanvas::farAway) {
        return std::nullopt;
    }
    return static_cast<int>(base::roundHalfEven(value));
}

// The box of two corners given in any order, both included.
QRect corners(QPoint a, QPoint b) {
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

// The font of a face, hinted fully; smoothed or on whole pixels.
QFont qfont(const FontFace& face, bool smooth) {
    QFont font(QString::fromStdString(face.family));
    font.setStyleStrategy(smooth ? QFont::PreferAntialias : QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setPixelSize(face.pixelSize);
    font.setBold(face.bold);
    font.setItalic(face.italic);
    return font;
}

// Device pixel of a drawing position, or none when it cannot be drawn.
std::optional<QPoint> device(double x, double y, int scaleTop) {
    const auto px = pixel(x);
    const auto py = pixel(y - scaleTop);
    if (!px || !py) {
        return std::nullopt;
    }
    return QPoint(*px, *py);
}

QPen pen(Color c, int width) {
    QPen p(qcolor(c));
    p.setWidth(width);
    if (width > 1) {
        p.setCapStyle(Qt::RoundCap);
        p.setJoinStyle(Qt::RoundJoin);
    } else {
        p.setCapStyle(Qt::SquareCap);
    }
    return p;
}

// Fills whole picture pixels. Under a scale their edges are rounded to the
// device's pixels, so that boxes and straight lines stay sharp even where
// the rest of the picture is smoothed.
void fillPixels(QPainter& p, const QRect& r, const QColor& c) {
    const QTransform t = p.worldTransform();
    if (t.isIdentity()) {
        p.fillRect(r, c);
        return;
    }
    const QRectF d = t.mapRect(QRectF(r));
    const auto left = static_cast<int>(std::lround(d.left()));
    const auto top = static_cast<int>(std::lround(d.top()));
    const int right = std::max(left + 1, static_cast<int>(std::lround(d.right())));
    const int bottom = std::max(top + 1, static_cast<int>(std::lround(d.bottom())));
    p.resetTransform();
    p.fillRect(QRect(left, top, right - left, bottom - top), c);
    p.setWorldTransform(t);
}

void paintLine(QPainter& p, const DrawOp& o) {
    const auto a = device(o.x1, o.y1, o.scaleTop);
    const auto b = device(o.x2, o.y2, o.scaleTop);
    if (!a || !b) {
        return;
    }
    if (o.width == 1 && (a->x() == b->x() || a->y() == b->y())) {
        // The end point is left out, so that consecutive lines meet without
        // overlapping and a line stops just short of what it runs into.
        if (*a == *b) {
            return;
        }
        const int dx = b->x() > a->x() ? -1 : (b->x() < a->x() ? 1 : 0);
        const int dy = b->y() > a->y() ? -1 : (b->y() < a->y() ? 1 : 0);
        const QPoint last(b->x() + dx, b->y() + dy);
        fillPixels(p, corners(*a, last), qcolor(o.color));
        return;
    }
    p.setPen(pen(o.color, o.width));
    p.drawLine(*a, *b);
}

void paintBox(QPainter& p, const DrawOp& o) {
    const auto a = device(o.x1, o.y1, o.scaleTop);
    const auto b = device(o.x2, o.y2, o.scaleTop);
    if (!a || !b) {
        return;
    }
    const QRect r = corners(*a, *b);
    if (o.kind == DrawOp::Kind::FillBox) {
        fillPixels(p, r, qcolor(o.color));
        return;
    }
    if (o.filled) {
        fillPixels(p, r, qcolor(o.fill));
    }
    if (o.width == 1) {
        const QColor col = qcolor(o.color);
        fillPixels(p, QRect(r.left(), r.top(), r.width(), 1), col);
        fillPixels(p, QRect(r.left(), r.bottom(), r.width(), 1), col);
        fillPixels(p, QRect(r.left(), r.top(), 1, r.height()), col);
        fillPixels(p, QRect(r.right(), r.top(), 1, r.height()), col);
        return;
    }
    QPen outline = pen(o.color, o.width);
    outline.setJoinStyle(Qt::MiterJoin);
    p.setPen(outline);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(r.left(), r.top(), r.width() - 1, r.height() - 1));
}

void paintCircle(QPainter& p, const DrawOp& o) {
    const auto centre = device(o.x1, o.y1, o.scaleTop);
    const auto r = pixel(o.radius);
    if (!centre || !r || *r < 0) {
        return;
    }
    p.setPen(pen(o.color, o.width));
    if (o.filled) {
        p.setBrush(qcolor(o.fill));
    } else {
        p.setBrush(Qt::NoBrush);
    }
    p.drawEllipse(*centre, *r, *r);
}

void paintArc(QPainter& p, const DrawOp& o) {
    const double rx = o.aspect <= 1.0 ? o.radius : o.radius / o.aspect;
    const double ry = o.aspect <= 1.0 ? o.radius * o.aspect : o.radius;
    const auto centre = device(o.x1, o.y1, o.scaleTop);
    if (!centre) {
        return;
    }
    double span = o.end - o.start;
    constexpr double turn = 2.0 * std::numbers::pi;
    if (span < 0.0) {
        span += turn;
    }
    constexpr double sixteenths = 180.0 / std::numbers::pi * 16.0;
    const auto startAngle = static_cast<int>(std::lround(o.start * sixteenths));
    const auto spanAngle = static_cast<int>(std::lround(span * sixteenths));
    p.setPen(pen(o.color, o.width));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(centre->x() - rx, centre->y() - ry, 2.0 * rx, 2.0 * ry), startAngle,
              spanAngle);
}

void paintText(QPainter& p, const DrawOp& o, bool smooth) {
    const auto at = device(o.x1, o.y1, o.scaleTop);
    if (!at) {
        return;
    }
    p.setFont(qfont(o.font, smooth));
    p.setPen(qcolor(o.color));
    p.drawText(QPoint(at->x(), at->y() + o.ascent), qtext(o.text));
}

void paintOp(QPainter& p, const DrawOp& o, bool smooth) {
    switch (o.kind) {
    case DrawOp::Kind::Line:
        paintLine(p, o);
        break;
    case DrawOp::Kind::Box:
    case DrawOp::Kind::FillBox:
        paintBox(p, o);
        break;
    case DrawOp::Kind::Circle:
        paintCircle(p, o);
        break;
    case DrawOp::Kind::Arc:
        paintArc(p, o);
        break;
    case DrawOp::Kind::Text:
        paintText(p, o, smooth);
        break;
    case DrawOp::Kind::Cls:
    case DrawOp::Kind::ClearPicture:
    case DrawOp::Kind::MakeBackground:
        break;
    }
}

// At the picture's own size nothing is smoothed, so that every element lands
// on whole pixels; at another scale curves and texts are antialiased.
void prepare(QPainter& p, double scale) {
    const bool smooth = scale != 1.0;
    p.setRenderHint(QPainter::Antialiasing, smooth);
    p.setRenderHint(QPainter::TextAntialiasing, smooth);
    if (smooth) {
        p.scale(scale, scale);
    }
}

void paintAll(QPainter& p, const std::vector<DrawOp>& ops, bool smooth) {
    for (const DrawOp& o : ops) {
        paintOp(p, o, smooth);
    }
}

} // namespace

QtCanvas::QtCanvas()
    : m_image(surfaceWidth, surfaceHeight, QImage::Format_RGB32),
      m_background(surfaceWidth, surfaceHeight, QImage::Format_RGB32) {
    m_image.fill(qcolor(backColor));
    m_background.fill(qcolor(backColor));
    faceChanged();
}

QtCanvas::~QtCanvas() {
    endPainting();
}

const QImage& QtCanvas::image() const {
    endPainting();
    return m_image;
}

QPainter& QtCanvas::painter() {
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_image);
        prepare(*m_painter, m_scale);
    }
    return *m_painter;
}

void QtCanvas::endPainting() const {
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
}

QSize QtCanvas::imageSize(double scale) {
    return QSize(static_cast<int>(std::lround(surfaceWidth * scale)),
                 static_cast<int>(std::lround(surfaceHeight * scale)));
}

void QtCanvas::setScale(double scale) {
    if (!std::isfinite(scale)) {
        return;
    }
    scale = std::clamp(scale, minimumScale, maximumScale);
    if (scale == m_scale) {
        return;
    }
    m_scale = scale;
    redraw();
}

void QtCanvas::redraw() {
    endPainting();
    const QSize size = imageSize(m_scale);
    m_background = QImage(size, QImage::Format_RGB32);
    m_background.fill(qcolor(backColor));
    {
        QPainter p(&m_background);
        prepare(p, m_scale);
        paintAll(p, backgroundOps(), m_scale != 1.0);
    }
    m_image = m_background.copy();
    QPainter p(&m_image);
    prepare(p, m_scale);
    paintAll(p, frameOps(), m_scale != 1.0);
}

QImage QtCanvas::render(double scale) const {
    scale = std::isfinite(scale) ? std::clamp(scale, minimumScale, maximumScale) : 1.0;
    if (scale == m_scale) {
        return image().copy();
    }
    QImage out(imageSize(scale), QImage::Format_RGB32);
    out.fill(qcolor(backColor));
    QPainter p(&out);
    prepare(p, scale);
    paintAll(p, backgroundOps(), scale != 1.0);
    paintAll(p, frameOps(), scale != 1.0);
    return out;
}

void QtCanvas::paint(QPainter& painter) const {
    paint(painter, backgroundOps(), frameOps());
}

void QtCanvas::paint(QPainter& painter, const std::vector<DrawOp>& background,
                     const std::vector<DrawOp>& frame) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(QRect(0, 0, surfaceWidth, surfaceHeight), qcolor(backColor));
    painter.setClipRect(QRect(0, 0, surfaceWidth, surfaceHeight), Qt::IntersectClip);
    paintAll(painter, background, true);
    paintAll(painter, frame, true);
    painter.restore();
}

void QtCanvas::faceChanged() {
    m_metrics = std::make_unique<QFontMetrics>(qfont(face(), false));
}

double QtCanvas::measureWidth(std::string_view text) const {
    return m_metrics->horizontalAdvance(qtext(text));
}

int QtCanvas::measureAscent() const {
    return m_metrics->ascent();
}

int QtCanvas::measureHeight() const {
    return m_metrics->height();
}

void QtCanvas::kept(const DrawOp& o) {
    switch (o.kind) {
    case DrawOp::Kind::Cls:
        endPainting();
        std::memcpy(m_image.bits(), m_background.constBits(),
                    static_cast<std::size_t>(m_image.sizeInBytes()));
        break;
    case DrawOp::Kind::ClearPicture:
        endPainting();
        m_background.fill(qcolor(backColor));
        m_image.fill(qcolor(backColor));
        break;
    case DrawOp::Kind::MakeBackground:
        endPainting();
        std::memcpy(m_background.bits(), m_image.constBits(),
                    static_cast<std::size_t>(m_background.sizeInBytes()));
        break;
    case DrawOp::Kind::Line:
    case DrawOp::Kind::Box:
    case DrawOp::Kind::FillBox:
    case DrawOp::Kind::Circle:
    case DrawOp::Kind::Arc:
    case DrawOp::Kind::Text:
        paintOp(painter(), o, m_scale != 1.0);
        break;
    }
}

} // namespace Ionaria::render
