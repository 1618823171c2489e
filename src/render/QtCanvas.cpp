// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/QtCanvas.h"

#include "base/Rounding.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace Ionaria::render {

namespace {

// Beyond this a position is an error of the caller rather than a place.
constexpr double farAway = 32767.0;

QColor qcolor(Color c) {
    return QColor(c.r, c.g, c.b);
}

QString qtext(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<int> pixel(double value) {
    if (!std::isfinite(value) || std::fabs(value) > farAway) {
        return std::nullopt;
    }
    return static_cast<int>(base::roundHalfEven(value));
}

// Point sizes are meant at 96 dots per inch.
// The box of two corners given in any order, both included.
QRect corners(QPoint a, QPoint b) {
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

int pixelSize(double points) {
    const double px = std::clamp(points, 1.0, 200.0) * 96.0 / 72.0;
    return static_cast<int>(base::roundHalfEven(px));
}

} // namespace

QtCanvas::QtCanvas()
    : m_image(surfaceWidth, surfaceHeight, QImage::Format_RGB32),
      m_background(surfaceWidth, surfaceHeight, QImage::Format_RGB32),
      m_font(QStringLiteral("Liberation Sans")) {
    m_image.fill(qcolor(backColor));
    m_background.fill(qcolor(backColor));
    m_font.setStyleStrategy(QFont::NoAntialias);
    m_font.setHintingPreference(QFont::PreferFullHinting);
    m_font.setPixelSize(pixelSize(m_fontPoints));
    fontChanged();
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
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        m_painter->setRenderHint(QPainter::TextAntialiasing, false);
    }
    return *m_painter;
}

void QtCanvas::endPainting() const {
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
}

std::optional<QPoint> QtCanvas::device(double x, double y) const {
    const auto px = pixel(x);
    const auto py = pixel(y - scaleTop());
    if (!px || !py) {
        return std::nullopt;
    }
    return QPoint(*px, *py);
}

QPen QtCanvas::pen(Color c) const {
    QPen p(qcolor(c));
    p.setWidth(drawWidth());
    if (drawWidth() > 1) {
        p.setCapStyle(Qt::RoundCap);
        p.setJoinStyle(Qt::RoundJoin);
    } else {
        p.setCapStyle(Qt::SquareCap);
    }
    return p;
}

void QtCanvas::line(double x1, double y1, double x2, double y2, Color c) {
    const auto a = device(x1, y1);
    const auto b = device(x2, y2);
    if (!a || !b) {
        return;
    }
    QPainter& p = painter();
    if (drawWidth() == 1 && (a->x() == b->x() || a->y() == b->y())) {
        // The end point is left out, so that consecutive lines meet without
        // overlapping and a line stops just short of what it runs into.
        if (*a == *b) {
            return;
        }
        const int dx = b->x() > a->x() ? -1 : (b->x() < a->x() ? 1 : 0);
        const int dy = b->y() > a->y() ? -1 : (b->y() < a->y() ? 1 : 0);
        const QPoint last(b->x() + dx, b->y() + dy);
        p.fillRect(corners(*a, last), qcolor(c));
        return;
    }
    p.setPen(pen(c));
    p.drawLine(*a, *b);
}

void QtCanvas::box(double x1, double y1, double x2, double y2, Color c) {
    const auto a = device(x1, y1);
    const auto b = device(x2, y2);
    if (!a || !b) {
        return;
    }
    const QRect r = corners(*a, *b);
    QPainter& p = painter();
    if (fillStyle() == FillStyle::Solid) {
        p.fillRect(r, qcolor(fillColor()));
    }
    if (drawWidth() == 1) {
        const QColor col = qcolor(c);
        p.fillRect(QRect(r.left(), r.top(), r.width(), 1), col);
        p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), col);
        p.fillRect(QRect(r.left(), r.top(), 1, r.height()), col);
        p.fillRect(QRect(r.right(), r.top(), 1, r.height()), col);
        return;
    }
    QPen outline = pen(c);
    outline.setJoinStyle(Qt::MiterJoin);
    p.setPen(outline);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(r.left(), r.top(), r.width() - 1, r.height() - 1));
}

void QtCanvas::fillBox(double x1, double y1, double x2, double y2, Color c) {
    const auto a = device(x1, y1);
    const auto b = device(x2, y2);
    if (!a || !b) {
        return;
    }
    painter().fillRect(corners(*a, *b), qcolor(c));
}

void QtCanvas::circle(double cx, double cy, double radius, Color outline) {
    const auto centre = device(cx, cy);
    const auto r = pixel(radius);
    if (!centre || !r || *r < 0) {
        return;
    }
    QPainter& p = painter();
    p.setPen(pen(outline));
    if (fillStyle() == FillStyle::Solid) {
        p.setBrush(qcolor(fillColor()));
    } else {
        p.setBrush(Qt::NoBrush);
    }
    p.drawEllipse(*centre, *r, *r);
    moveCursor(cx, cy);
}

void QtCanvas::arc(double cx, double cy, double radius, double start, double end, double aspect,
                   Color c) {
    if (!std::isfinite(radius) || !std::isfinite(aspect) || aspect <= 0.0 ||
        !std::isfinite(start) || !std::isfinite(end) || radius < 0.0 || radius > farAway) {
        return;
    }
    const double rx = aspect <= 1.0 ? radius : radius / aspect;
    const double ry = aspect <= 1.0 ? radius * aspect : radius;
    const auto centre = device(cx, cy);
    if (!centre) {
        return;
    }
    double span = end - start;
    constexpr double turn = 2.0 * std::numbers::pi;
    if (span < 0.0) {
        span += turn;
    }
    constexpr double sixteenths = 180.0 / std::numbers::pi * 16.0;
    const auto startAngle = static_cast<int>(std::lround(start * sixteenths));
    const auto spanAngle = static_cast<int>(std::lround(span * sixteenths));
    QPainter& p = painter();
    p.setPen(pen(c));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(centre->x() - rx, centre->y() - ry, 2.0 * rx, 2.0 * ry), startAngle,
              spanAngle);
    moveCursor(cx, cy);
}

void QtCanvas::setFontName(std::string_view face) {
    // "Arial" and the faces without a glyph set of their own are drawn in a
    // face of the same metrics.
    const QString name = face == "Arial" ? QStringLiteral("Liberation Sans") : qtext(face);
    if (name == m_font.family()) {
        return;
    }
    m_font.setFamily(name);
    fontChanged();
}

void QtCanvas::setFontSize(double points) {
    if (!std::isfinite(points) || points <= 0.0) {
        return;
    }
    m_fontPoints = points;
    m_font.setPixelSize(pixelSize(points));
    fontChanged();
}

void QtCanvas::setFontBold(bool bold) {
    if (bold != m_font.bold()) {
        m_font.setBold(bold);
        fontChanged();
    }
}

void QtCanvas::setFontItalic(bool italic) {
    if (italic != m_font.italic()) {
        m_font.setItalic(italic);
        fontChanged();
    }
}

void QtCanvas::fontChanged() {
    m_metrics = std::make_unique<QFontMetrics>(m_font);
}

double QtCanvas::textWidth(std::string_view text) const {
    return m_metrics->horizontalAdvance(qtext(text));
}

double QtCanvas::textHeight(std::string_view) const {
    return m_metrics->height();
}

void QtCanvas::print(std::string_view text) {
    const auto at = device(currentX(), currentY());
    const QString s = qtext(text);
    const double width = m_metrics->horizontalAdvance(s);
    if (at) {
        QPainter& p = painter();
        p.setFont(m_font);
        p.setPen(qcolor(foreColor()));
        p.drawText(QPoint(at->x(), at->y() + m_metrics->ascent()), s);
    }
    moveCursor(currentX() + width, currentY());
}

void QtCanvas::cls() {
    endPainting();
    std::memcpy(m_image.bits(), m_background.constBits(),
                static_cast<std::size_t>(m_image.sizeInBytes()));
    moveCursor(0.0, 0.0);
}

void QtCanvas::clearPicture() {
    endPainting();
    m_background.fill(qcolor(backColor));
    m_image.fill(qcolor(backColor));
    moveCursor(0.0, 0.0);
}

void QtCanvas::makeBackground() {
    endPainting();
    std::memcpy(m_background.bits(), m_image.constBits(),
                static_cast<std::size_t>(m_background.sizeInBytes()));
}

} // namespace Ionaria::render
