// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/PrintedPage.h"

#include <array>

class QCheckBox;
class QRadioButton;
class QScrollBar;

namespace Ionaria::sim {
class Handlers;
}

namespace Ionaria::ui {

class NumberBox;

// The page "Animation" (Picaff): the scale of the picture, the slowed
// animation, the speed of the animation and the programmed stop.
class PageAnimation : public PrintedPage {
    Q_OBJECT

public:
    static constexpr int scrollWidth = 160; // px

    explicit PageAnimation(sim::Handlers& handlers, QWidget* parent = nullptr);

    void syncFromStore() override;

    std::array<QRadioButton*, 2> Option1{};
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QScrollBar* HScroll2 = nullptr;
    NumberBox* Text2_9 = nullptr;

protected:
    void compose(PrintCursor& c) override;

private:
    sim::Handlers& m_handlers;
};

} // namespace Ionaria::ui
