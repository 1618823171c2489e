// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/IllusView.h"

#include <QPaintEvent>
#include <QPainter>

namespace Ionaria::ui {

IllusView::IllusView(const QImage& frame, QWidget* parent) : QWidget(parent), m_frame(frame) {
    setObjectName(QStringLiteral("illus"));
    setFixedSize(surfaceWidth, surfaceHeight);
    setMouseTracking(true);
    // Validating a parameter box gives the focus back to the picture.
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void IllusView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(event->rect().topLeft(), m_frame, event->rect());
}

} // namespace Ionaria::ui
