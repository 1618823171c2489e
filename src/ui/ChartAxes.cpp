// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ChartAxes.h"

#include "look/Faces.h"

#include <QChart>
#include <QColor>
#include <QLegend>
#include <QLocale>
#include <QMargins>
#include <QPen>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace Ionaria::ui {

QFont chartFont(int pixels, bool bold) {
    return look::textFont(pixels, bold);
}

QChart* newChart() {
    auto* chart = new QChart();
    chart->setBackgroundRoundness(0.0);
    chart->setMargins(QMargins(0, 0, 0, 0));
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setLocalizeNumbers(true);
    chart->setLocale(QLocale(QLocale::French, QLocale::France));
    chart->legend()->setFont(chartFont(11));
    return chart;
}

void styleAxis(QValueAxis& axis) {
    axis.setLabelsFont(chartFont(10));
    axis.setTitleFont(chartFont(11, true));
    axis.setGridLinePen(QPen(QColor(225, 225, 225), 1.0));
}

int decimalsFor(double step) {
    if (!(step > 0.0) || !std::isfinite(step)) {
        return 0;
    }
    int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
    const double scaled = step * std::pow(10.0, decimals);
    if (std::fabs(scaled - std::round(scaled)) > 1e-6 * scaled) {
        ++decimals;
    }
    return std::min(decimals, 9);
}

void niceAxis(QValueAxis& axis, double low, double high, int intervals) {
    if (!std::isfinite(low) || !std::isfinite(high)) {
        low = 0.0;
        high = 1.0;
    }
    if (high - low <= 1e-12 * std::max(1.0, std::fabs(high))) {
        const double pad = high != 0.0 ? std::fabs(high) * 0.01 : 1.0;
        low -= pad;
        high += pad;
    }
    const double raw = (high - low) / intervals;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10.0 * power;
    for (const double m : {1.0, 2.0, 2.5, 5.0}) {
        if (m * power >= raw * (1.0 - 1e-9)) {
            step = m * power;
            break;
        }
    }
    const double first = std::floor(low / step + 1e-9) * step;
    const double last = std::ceil(high / step - 1e-9) * step;
    axis.setLabelFormat(QStringLiteral("%.%1f").arg(decimalsFor(step)));
    axis.setRange(first, last);
    axis.setTickCount(static_cast<int>(std::lround((last - first) / step)) + 1);
}

} // namespace Ionaria::ui
