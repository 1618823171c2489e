// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/NumberBox.h"

#include "sim/Catalogue.h"
#include "sim/Handlers.h"
#include "sim/Validation.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace Ionaria::ui {

namespace {

// Focus changes that are not the user's moving between controls: the window
// losing or regaining activation, the box's own context menu.
bool windowFocusChange(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

} // namespace

NumberBox::NumberBox(int index, sim::Handlers& handlers, QWidget* parent)
    : QLineEdit(parent), m_index(index), m_handlers(handlers) {
    setObjectName(QStringLiteral("Text2_%1").arg(index));
    setAutoFillBackground(true);
    // Paste, cut and Delete change the text without a key press; the
    // parameter follows the text all the same.
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_pending = true;
        m_handlers.setText2(m_index, text.toStdString());
    });
    syncFromStore();
}

void NumberBox::syncFromStore() {
    const auto& p = m_handlers.engine().params();
    const auto& box = p.Text2[static_cast<std::size_t>(m_index)];
    const QString text = QString::fromStdString(box.text());
    if (text != this->text()) {
        setText(text);
    }
    const bool white = m_index != sim::catalogue::Text2Arret || p.stopBoxWhite;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, white ? QColor(255, 255, 255) : QColor(192, 192, 192));
    setPalette(pal);
}

void NumberBox::keyPressEvent(QKeyEvent* event) {
    char32_t key = 0;
    const QString typed = event->text();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        key = sim::keyEnter;
    } else if (event->key() == Qt::Key_Backspace) {
        key = sim::keyBackspace;
    } else if (typed.size() >= 1 && typed.at(0).isPrint() &&
               (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0) {
        key = typed.toUcs4().value(0);
    } else {
        // Moving the caret, Delete, Tab and the editing shortcuts are not
        // typed characters: the box handles them as any box does.
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    const char32_t accepted = m_handlers.Text2_KeyPress(m_index, key);
    if (accepted == 0) {
        return;
    }
    if (accepted == sim::keyEnter) {
        m_pending = false;
        syncFromStore();
        emit validated(true);
        return;
    }
    if (accepted == sim::keyBackspace) {
        QLineEdit::keyPressEvent(event);
    } else {
        insert(QString::fromUcs4(&accepted, 1));
    }
    m_pending = true;
    m_handlers.setText2(m_index, text().toStdString());
}

void NumberBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (windowFocusChange(event->reason())) {
        return;
    }
    m_pending = true;
    m_handlers.Text2_GotFocus(m_index);
}

void NumberBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (windowFocusChange(event->reason()) || !m_pending) {
        return;
    }
    validate(false);
}

void NumberBox::validate(bool byEnter) {
    m_pending = false;
    m_handlers.Text2_LostFocus(m_index);
    syncFromStore();
    emit validated(byEnter);
}

} // namespace Ionaria::ui
