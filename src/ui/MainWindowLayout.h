// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/IllusView.h"
#include "ui/MeasureStrip.h"
#include "ui/TabStrip.h"

#include <QRect>

// Design geometry of the main window, px: the picture on the left, the tabs,
// the hint line and the text column on the right, the commands below.
namespace Ionaria::ui::mainLayout {

constexpr int margin = 8;
constexpr int columnLeft = margin + IllusView::surfaceWidth + 7;
constexpr int stripTop = margin;
constexpr int illusTop = stripTop + MeasureStrip::stripHeight;
constexpr int illusBottom = illusTop + IllusView::surfaceHeight;
constexpr QRect ongletsRect(columnLeft, margin, TabStrip::designWidth, TabStrip::designHeight);
constexpr QRect infoRect(columnLeft, 249, TabStrip::designWidth, 40);
constexpr QRect fichRect(columnLeft, 295, TabStrip::designWidth - 3, 20);
constexpr QRect supertextRect(columnLeft, 315, TabStrip::designWidth - 3, 164);
constexpr QRect frame1Rect(columnLeft, illusBottom - 32, TabStrip::designWidth, 32);
constexpr int buttonsTop = illusBottom + 18;
constexpr int buttonHeight = 30;
constexpr int buttonSpacing = 6;

} // namespace Ionaria::ui::mainLayout
