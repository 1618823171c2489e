// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

class QToolButton;

namespace Ionaria::ui {

// A pair of spin arrows without a text of their own: the value they step is
// shown by the label beside them.
class UpDownButtons : public QWidget {
    Q_OBJECT

public:
    static constexpr int buttonsWidth = 16;  // px
    static constexpr int buttonsHeight = 18; // px, the height of a value box

    explicit UpDownButtons(QWidget* parent = nullptr);

    // Names the pair for the keyboard and for screen readers: what it sets,
    // with its unit.
    void setAccessibleName(const QString& name);

    // The setting the arrows step, as a screen reader reads it: its number
    // in the unit of the name, its range and step, and its value as shown.
    struct Value {
        double current = 0.0;
        double minimum = 0.0;
        double maximum = 0.0;
        double step = 1.0;
        QString shown;
    };
    void setValue(const Value& value);
    const Value& value() const { return m_value; }

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
    Value m_value;
};

} // namespace Ionaria::ui
