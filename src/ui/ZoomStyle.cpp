// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ZoomStyle.h"

#include "ui/Zoom.h"

#include <QWidget>

#include <algorithm>
#include <array>
#include <cmath>

namespace Ionaria::ui {

ZoomStyle::ZoomStyle() : QProxyStyle(nullptr) {}

bool ZoomStyle::scales(PixelMetric metric) {
    static constexpr std::array<PixelMetric, 24> scaled = {
        PM_IndicatorWidth,
        PM_IndicatorHeight,
        PM_ExclusiveIndicatorWidth,
        PM_ExclusiveIndicatorHeight,
        PM_CheckBoxLabelSpacing,
        PM_RadioButtonLabelSpacing,
        PM_ScrollBarExtent,
        PM_ScrollBarSliderMin,
        PM_SliderThickness,
        PM_SliderLength,
        PM_SliderControlThickness,
        PM_MenuButtonIndicator,
        PM_ButtonIconSize,
        PM_SmallIconSize,
        PM_ListViewIconSize,
        PM_MenuHMargin,
        PM_MenuVMargin,
        PM_MenuPanelWidth,
        PM_ComboBoxFrameWidth,
        PM_SpinBoxFrameWidth,
        PM_ButtonMargin,
        PM_FocusFrameHMargin,
        PM_FocusFrameVMargin,
        PM_TextCursorWidth,
    };
    return std::find(scaled.begin(), scaled.end(), metric) != scaled.end();
}

int ZoomStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                           const QWidget* widget) const {
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    if (widget == nullptr || !scales(metric)) {
        return base;
    }
    const double z = Zoom::factor(widget);
    if (z == 1.0 || !(z > 0.0)) {
        return base;
    }
    return static_cast<int>(std::lround(base * z));
}

void ZoomStyle::applyTo(QWidget* root) {
    root->setStyle(this);
    for (QWidget* w : root->findChildren<QWidget*>()) {
        w->setStyle(this);
    }
}

} // namespace Ionaria::ui
