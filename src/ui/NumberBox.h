// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

namespace Ionaria::sim {
class Handlers;
}

namespace Ionaria::ui {

// A numeric parameter box Text2(index). Keys go through the handlers' filter
// (a full stop becomes a comma, other characters are refused, Enter
// validates); taking the focus pauses the animation and losing it validates
// the value, which resets the experiment and resumes the animation.
class NumberBox : public QLineEdit {
    Q_OBJECT

public:
    NumberBox(int index, sim::Handlers& handlers, QWidget* parent = nullptr);

    int index() const { return m_index; }
    // Shows the text the parameter holds and the background of the box.
    void syncFromStore();

signals:
    // The value was validated (the experiment may have been reset); byEnter
    // tells whether Enter did it, the focus then staying where it was.
    void validated(bool byEnter);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void validate(bool byEnter);

    int m_index;
    sim::Handlers& m_handlers;
    // Whether the box took the focus or was edited since its last
    // validation: Enter validates at once, and the focus loss that follows
    // must not reset the experiment a second time.
    bool m_pending = false;
};

} // namespace Ionaria::ui
