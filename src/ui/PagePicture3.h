// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/PrintedPage.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

namespace Ionaria::sim {
class Handlers;
}

namespace Ionaria::ui {

class NumberBox;
class UpDownButtons;

// The page "Paramètres" (Picture3): the montage with the generator settings,
// then the electrolysis solution or the resistor of the cell, and last the
// option of the potentials, for every montage.
class PagePicture3 : public PrintedPage {
    Q_OBJECT

public:
    // Design left edges of the generator value labels and their arrows, px.
    static constexpr int valueLeft = 278;
    static constexpr int valueWidth = 54;
    static constexpr int optionLeft = 18;

    explicit PagePicture3(sim::Handlers& handlers, QWidget* parent = nullptr);

    void syncFromStore() override;

    std::array<QRadioButton*, 3> Option2{};
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    UpDownButtons* UpDown1 = nullptr;
    UpDownButtons* UpDown2 = nullptr;
    QComboBox* Combo1 = nullptr;
    NumberBox* Text2_0 = nullptr;
    NumberBox* Text2_1 = nullptr;
    NumberBox* Text2_4 = nullptr;
    QCheckBox* Check3 = nullptr;
    QCheckBox* Check4 = nullptr;

protected:
    void compose(PrintCursor& c) override;
    void paintEvent(QPaintEvent* event) override;

private:
    sim::Handlers& m_handlers;
};

} // namespace Ionaria::ui
