// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HintLine.h"

#include <QEvent>
#include <QLabel>
#include <QWidget>

namespace Ionaria::ui {

void HintLine::setHint(QWidget* control, const QString& hint) {
    m_hints.insert(control, hint);
    control->setMouseTracking(true);
    control->installEventFilter(this);
}

void HintLine::keepOver(const QObject* control, const QString& message) {
    m_keptOver = control;
    m_kept = message;
}

bool HintLine::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseMove && m_line != nullptr) {
        const auto it = m_hints.constFind(watched);
        if (it != m_hints.constEnd() && (watched != m_keptOver || m_line->text() != m_kept)) {
            m_line->setText(it.value());
        }
    }
    return QObject::eventFilter(watched, e);
}

} // namespace Ionaria::ui
