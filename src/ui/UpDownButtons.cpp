// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UpDownButtons.h"

#include "ui/Zoom.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QToolButton>

namespace Ionaria::ui {

UpDownButtons::UpDownButtons(QWidget* parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this)) {
    Zoom::resize(this, QSize(buttonsWidth, buttonsHeight));
    setFocusPolicy(Qt::StrongFocus);
    const int half = buttonsHeight / 2;
    for (QToolButton* b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setIconSize(QSize(8, 6));
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    Zoom::setGeometry(m_up, QRect(0, 0, buttonsWidth, half));
    Zoom::setGeometry(m_down, QRect(0, half, buttonsWidth, buttonsHeight - half));
    connect(m_up, &QToolButton::clicked, this, [this] { emit stepped(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { emit stepped(-1); });
}

void UpDownButtons::setAccessibleName(const QString& name) {
    QWidget::setAccessibleName(name);
    setAccessibleDescription(QStringLiteral("Flèches haut et bas pour modifier la valeur"));
    m_up->setAccessibleName(name + QStringLiteral(" : augmenter"));
    m_down->setAccessibleName(name + QStringLiteral(" : diminuer"));
    setToolTip(name);
}

void UpDownButtons::setValue(const Value& value) {
    const bool changed = value.current != m_value.current || value.shown != m_value.shown;
    m_value = value;
    if (changed && QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, m_value.current);
        QAccessible::updateAccessibility(&event);
    }
}

void UpDownButtons::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up) {
        emit stepped(1);
    } else if (event->key() == Qt::Key_Down) {
        emit stepped(-1);
    } else {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void UpDownButtons::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    showFocus(true);
}

void UpDownButtons::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    showFocus(false);
}

void UpDownButtons::showFocus(bool focused) {
    // The page draws the focus round the value and the arrows.
    if (parentWidget() != nullptr) {
        parentWidget()->update();
    }
    for (QToolButton* b : {m_up, m_down}) {
        QPalette pal = palette();
        if (focused) {
            pal.setColor(QPalette::Button, pal.color(QPalette::Highlight).lighter(160));
        }
        b->setPalette(pal);
    }
}

} // namespace Ionaria::ui
