// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ChartAxes.h"

#include "look/Faces.h"
#include "sim/Reading.h"

#include <QChart>
#include <QColor>
#include <QLegend>
#include <QLocale>
#include <QMargins>
#include <QPen>
#include <QValueAxis>

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

void niceAxis(QValueAxis& axis, double low, double high, int intervals) {
    applyScale(axis, sim::niceScale(low, high, intervals));
}

void applyScale(QValueAxis& axis, const sim::AxisScale& scale) {
    axis.setLabelFormat(QStringLiteral("%.%1f").arg(scale.decimals));
    axis.setRange(scale.first, scale.last);
    axis.setTickCount(scale.ticks);
}

} // namespace Ionaria::ui
