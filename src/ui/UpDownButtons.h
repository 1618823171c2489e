// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QToolButton;

namespace Ionaria::ui {

// A pair of spin arrows without a text of their own: the value they step is
// shown by the label beside them.
class UpDownButtons : public QWidget {
    Q_OBJECT

public:
    static constexpr int buttonsWidth = 16;  // px
    static constexpr int buttonsHeight = 20; // px

    explicit UpDownButtons(QWidget* parent = nullptr);

    // Names the pair for the keyboard and for screen readers: what it sets,
    // with its unit.
    void setAccessibleName(const QString& name);

    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

signals:
    // +1 for the upper arrow, -1 for the lower one.
    void stepped(int delta);

protected:
    // Up and Down step the value when the pair has the focus.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The arrows cover the pair: they show its focus in the highlight colour.
    void showFocus(bool focused);

    QToolButton* m_up;
    QToolButton* m_down;
};

} // namespace Ionaria::ui
