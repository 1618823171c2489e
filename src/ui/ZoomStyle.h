// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

namespace Ionaria::ui {

// The application's style with its sizes multiplied by the zoom of the
// window that holds each widget: the indicators of option buttons and check
// boxes, the arrows of lists and spin buttons, the scroll bars, the menus'
// margins and the icons grow with the window's texts. At a zoom of 1 it is
// the style itself.
class ZoomStyle : public QProxyStyle {
    Q_OBJECT

public:
    ZoomStyle();

    // Whether the style scales this metric.
    static bool scales(PixelMetric metric);

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;

    // Gives every widget under root, and root, this style.
    void applyTo(QWidget* root);
};

} // namespace Ionaria::ui
