// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/IllusView.h"

#include <QPaintEvent>
#include <QPainter>

namespace Ionaria::ui {

IllusView::IllusView(const QImage& frame, QWidget* parent) : QWidget(parent), m_frame(frame) {
    setObjectName(QStringLiteral("illus"));
    resize(surfaceWidth, surfaceHeight);
    setMouseTracking(true);
    // Validating a parameter box gives the focus back to the picture.
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void IllusView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const qreal ratio = devicePixelRatioF();
    if (ratio == 1.0) {
        p.drawImage(event->rect().topLeft(), m_frame, event->rect());
        return;
    }
    // The frame is drawn at the screen's pixels: shown one for one.
    p.scale(1.0 / ratio, 1.0 / ratio);
    p.drawImage(QPoint(0, 0), m_frame);
}

} // namespace Ionaria::ui
