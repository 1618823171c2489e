// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Keyboard.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateTime>
#include <QKeyEvent>

namespace Ionaria::ui {

OptionGroupKeys::OptionGroupKeys(const QList<QAbstractButton*>& group, QObject* parent)
    : QObject(parent), m_group(group) {
    for (QAbstractButton* button : m_group) {
        button->installEventFilter(this);
    }
}

int OptionGroupKeys::target(int index, int count, int key) {
    int next = index;
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        next = index - 1;
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        next = index + 1;
        break;
    default:
        return -1;
    }
    return next >= 0 && next < count ? next : -1;
}

bool OptionGroupKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() != Qt::NoModifier && key->modifiers() != Qt::KeypadModifier) {
        return false;
    }
    const auto index = static_cast<int>(m_group.indexOf(static_cast<QAbstractButton*>(watched)));
    if (index < 0) {
        return false;
    }
    const int k = key->key();
    if (k != Qt::Key_Up && k != Qt::Key_Down && k != Qt::Key_Left && k != Qt::Key_Right) {
        return false;
    }
    // Greyed-out or hidden buttons are stepped over.
    int next = index;
    do {
        next = target(next, static_cast<int>(m_group.size()), k);
    } while (next >= 0 && !m_group[next]->isEnabled());
    if (next >= 0) {
        QAbstractButton* button = m_group[next];
        button->setFocus(Qt::TabFocusReason);
        button->click();
    }
    // At an end the key is spent: the focus stays in the group.
    return true;
}

TypeAheadKeys::TypeAheadKeys(QComboBox* list) : QObject(list), m_list(list) {
    list->installEventFilter(this);
}

int TypeAheadKeys::find(const QList<QString>& entries, const QString& prefix) {
    if (prefix.isEmpty()) {
        return -1;
    }
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries[i].startsWith(prefix, Qt::CaseInsensitive)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool TypeAheadKeys::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_list || event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (text.size() != 1 || !text[0].isPrint() ||
        (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0) {
        return false;
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - m_lastKeyMs > pauseMs) {
        m_typed.clear();
    }
    m_lastKeyMs = now;
    // A space opens a closed list; here it is part of what is typed, unless
    // it is the first key.
    if (m_typed.isEmpty() && text == QStringLiteral(" ")) {
        return false;
    }
    m_typed += text;
    QList<QString> entries;
    for (int i = 0; i < m_list->count(); ++i) {
        entries << m_list->itemText(i);
    }
    const int found = find(entries, m_typed);
    if (found >= 0 && found != m_list->currentIndex()) {
        m_list->setCurrentIndex(found);
        emit m_list->activated(found);
    }
    return true;
}

} // namespace Ionaria::ui
