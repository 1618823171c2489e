// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UpDownButtons.h"

#include <QToolButton>

namespace Ionaria::ui {

UpDownButtons::UpDownButtons(QWidget* parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this)) {
    setFixedSize(buttonsWidth, buttonsHeight);
    const int half = buttonsHeight / 2;
    for (QToolButton* b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setIconSize(QSize(8, 6));
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    m_up->setGeometry(0, 0, buttonsWidth, half);
    m_down->setGeometry(0, half, buttonsWidth, buttonsHeight - half);
    connect(m_up, &QToolButton::clicked, this, [this] { emit stepped(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { emit stepped(-1); });
}

} // namespace Ionaria::ui
