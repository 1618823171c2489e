// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CourbesChart.h"

#include "sim/Reading.h"
#include "ui/ChartAxes.h"

#include <QBrush>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPen>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Ionaria::ui {

namespace {

using sim::Quantity;

QString utf8(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TimeUnit timeUnitFor(double lastSeconds) {
    const sim::TimeUnit unit = sim::timeUnitFor(lastSeconds);
    return {QString::fromStdString(unit.symbol), unit.seconds};
}

struct CourbesChart::Plot {
    Quantity quantity;
    QChart* chart = nullptr; // owned by the scene
    QValueAxis* time = nullptr;
    QValueAxis* value = nullptr;
    QLineSeries* main = nullptr;
    QLineSeries* loi = nullptr;
    std::vector<QLineSeries*> events;
    std::vector<QGraphicsItem*> labels; // children of the chart
    double low = 0.0;                   // the value axis' range, shown unit
    double high = 1.0;
    bool lastRow = false;
};

struct CourbesChart::CharacteristicPlot {
    QChart* chart = nullptr; // owned by the scene
    QValueAxis* tension = nullptr;
    QValueAxis* intensite = nullptr;
    QLineSeries* curve = nullptr;
    QLineSeries* seuil = nullptr;
};

CourbesChart::CourbesChart(const sim::Recorder& record, QObject* parent)
    : QObject(parent), m_record(record), m_unit(timeUnitFor(0.0)) {
    m_scene.setBackgroundBrush(Qt::white);
    m_cursor = m_scene.addLine(QLineF(), QPen(QColor(0, 0, 0), 1.0, Qt::DotLine));
    m_cursor->setZValue(10.0);
    m_cursor->setVisible(false);
}

CourbesChart::~CourbesChart() {
    for (auto& plot : m_plots) {
        delete plot->chart;
    }
    if (m_characteristicPlot) {
        delete m_characteristicPlot->chart;
    }
}

QColor CourbesChart::colourOf(const QString& id) {
    const QString key = id.section(QLatin1Char(' '), 0, 0);
    static const QHash<QString, QColor> colours = {
        {QStringLiteral("i"), QColor(214, 39, 40)},
        {QStringLiteral("U"), QColor(31, 119, 180)},
        {QStringLiteral("mG"), QColor(44, 160, 44)},
        {QStringLiteral("mD"), QColor(255, 127, 14)},
        {QStringLiteral("Cl-"), QColor(148, 103, 189)},
        {QStringLiteral("SO42-"), QColor(140, 86, 75)},
        {QStringLiteral("H+"), QColor(227, 119, 194)},
        {QStringLiteral("Fe2+"), QColor(102, 102, 0)},
        {QStringLiteral("Fe3+"), QColor(188, 189, 34)},
        {QStringLiteral("Na+"), QColor(23, 190, 207)},
        {QStringLiteral("Zn2+"), QColor(57, 59, 121)},
        {QStringLiteral("Al3+"), QColor(0, 153, 102)},
        {QStringLiteral("Cu2+"), QColor(0, 102, 204)},
        {QStringLiteral("EG"), QColor(128, 0, 128)},
        {QStringLiteral("ED"), QColor(204, 85, 0)},
    };
    return colours.value(key, QColor(0, 0, 0));
}

QColor CourbesChart::faradayColour() {
    return {170, 0, 170};
}

QColor CourbesChart::eventColour() {
    return {110, 110, 110};
}

QSize CourbesChart::exportSize(int plots) {
    return {900, std::max(320, 40 + 200 * std::max(1, plots))};
}

QStringList CourbesChart::idsFor(const std::vector<std::string>& keys,
                                 const sim::Recorder& record) {
    QStringList ids;
    for (const std::string& key : keys) {
        for (const Quantity& q : sim::quantitiesFor(key, record)) {
            if (!ids.contains(utf8(q.id))) {
                ids.append(utf8(q.id));
            }
        }
    }
    return ids;
}

void CourbesChart::setQuantities(const QStringList& ids) {
    if (ids == m_ids) {
        return;
    }
    m_ids = ids;
    rebuild();
}

void CourbesChart::setFaraday(bool on) {
    if (on == m_faraday) {
        return;
    }
    m_faraday = on;
    rebuild();
}

void CourbesChart::setCharacteristicShown(bool on) {
    if (on == characteristicShown()) {
        return;
    }
    if (!on) {
        m_scene.removeItem(m_characteristicPlot->chart);
        delete m_characteristicPlot->chart;
        m_characteristicPlot.reset();
        m_characteristic.reset();
        layout();
        return;
    }
    auto plot = std::make_unique<CharacteristicPlot>();
    auto* chart = newChart();
    plot->chart = chart;
    plot->tension = new QValueAxis(chart);
    plot->intensite = new QValueAxis(chart);
    styleAxis(*plot->tension);
    styleAxis(*plot->intensite);
    plot->tension->setTitleText(QStringLiteral("U (V)"));
    chart->addAxis(plot->tension, Qt::AlignBottom);
    chart->addAxis(plot->intensite, Qt::AlignLeft);
    plot->curve = new QLineSeries(chart);
    plot->curve->setName(QStringLiteral("Caractéristique I = f(U)"));
    plot->curve->setPen(QPen(colourOf(QStringLiteral("i")), 2.0));
    plot->seuil = new QLineSeries(chart);
    plot->seuil->setPen(QPen(eventColour(), 1.5, Qt::DashLine));
    for (QLineSeries* series : {plot->curve, plot->seuil}) {
        chart->addSeries(series);
        series->attachAxis(plot->tension);
        series->attachAxis(plot->intensite);
    }
    chart->legend()->detachFromChart();
    chart->legend()->setBackgroundVisible(false);
    chart->legend()->setAlignment(Qt::AlignTop);
    m_scene.addItem(chart);
    m_characteristicPlot = std::move(plot);
    layout();
    refresh();
}

QRectF CourbesChart::characteristicArea() const {
    if (!m_characteristicPlot) {
        return {};
    }
    const QChart* chart = m_characteristicPlot->chart;
    return chart->mapRectToScene(chart->plotArea());
}

// The line of the present state from 0 V to the generator's top, the
// threshold dashed across it and written in the legend.
void CourbesChart::fillCharacteristic() {
    CharacteristicPlot& plot = *m_characteristicPlot;
    m_characteristic = sim::characteristic(m_record.engine().state(), m_record.engine().params());
    QList<QPointF> points;
    double high = 0.0;
    if (m_characteristic) {
        for (const sim::Characteristic::Point& p : m_characteristic->points) {
            points.append(QPointF(p.tensionV, p.intensiteA));
            high = std::max(high, p.intensiteA);
        }
    }
    plot.curve->replace(points);
    niceAxis(*plot.tension, 0.0, sim::Characteristic::maxVoltageV, 10);
    niceAxis(*plot.intensite, 0.0, high, 4);
    if (plot.intensite->min() < 0.0) {
        niceAxis(*plot.intensite, 0.0, plot.intensite->max(), 4);
    }
    plot.intensite->setTitleText(QStringLiteral("I (A)"));
    QList<QPointF> seuil;
    if (m_characteristic) {
        const double u = m_characteristic->seuilV;
        if (u >= 0.0 && u <= sim::Characteristic::maxVoltageV) {
            seuil = {QPointF(u, plot.intensite->min()), QPointF(u, plot.intensite->max())};
        }
        plot.seuil->setName(QString::fromStdString(m_characteristic->seuilText()));
    } else {
        plot.seuil->setName(QStringLiteral("pas de caractéristique pour la pile"));
    }
    plot.seuil->replace(seuil);
    if (QGraphicsLayout* chartLayout = plot.chart->layout()) {
        chartLayout->invalidate();
        chartLayout->activate();
    }
}

void CourbesChart::setSize(const QSizeF& size) {
    m_size = size;
    layout();
    refresh();
}

void CourbesChart::rebuild() {
    for (auto& plot : m_plots) {
        m_scene.removeItem(plot->chart);
        delete plot->chart;
    }
    m_plots.clear();
    const std::vector<Quantity> known = sim::quantitiesOf(m_record, false);
    for (const QString& id : m_ids) {
        const auto found = std::find_if(known.begin(), known.end(),
                                        [&id](const Quantity& q) { return utf8(q.id) == id; });
        if (found == known.end()) {
            continue;
        }
        auto plot = std::make_unique<Plot>();
        plot->quantity = *found;
        auto* chart = newChart();
        plot->chart = chart;
        chart->legend()->setAlignment(Qt::AlignTop);
        plot->time = new QValueAxis(chart);
        plot->value = new QValueAxis(chart);
        styleAxis(*plot->time);
        styleAxis(*plot->value);
        chart->addAxis(plot->time, Qt::AlignBottom);
        chart->addAxis(plot->value, Qt::AlignLeft);
        plot->main = new QLineSeries(chart);
        plot->main->setName(utf8(found->name));
        plot->main->setPen(QPen(colourOf(id), 2.0));
        chart->addSeries(plot->main);
        plot->main->attachAxis(plot->time);
        plot->main->attachAxis(plot->value);
        if (m_faraday && found->loiChannel < sim::channel::count) {
            plot->loi = new QLineSeries(chart);
            plot->loi->setName(utf8(found->name) + QStringLiteral(", loi de Faraday"));
            plot->loi->setPen(QPen(faradayColour(), 2.0, Qt::DashLine));
            chart->addSeries(plot->loi);
            plot->loi->attachAxis(plot->time);
            plot->loi->attachAxis(plot->value);
        }
        // A plot whose axis' title says all has no legend; one of two curves,
        // or of one electrode or half-cell, names them above the plot, out of
        // the way of the axis.
        chart->legend()->setVisible(plot->loi != nullptr || found->name != found->symbol);
        chart->legend()->detachFromChart();
        chart->legend()->setBackgroundVisible(false);
        chart->legend()->setAlignment(Qt::AlignTop);
        m_scene.addItem(chart);
        m_plots.push_back(std::move(plot));
    }
    layout();
    refresh();
}

void CourbesChart::layout() {
    const int n = plotCount();
    const int rows = rowCount();
    const double width = std::max(m_size.width(), 300.0);
    // Each plot row shares the height; the time plots' last and the
    // characteristic each add the title of their horizontal axis.
    const int titled = (n > 0 ? 1 : 0) + (characteristicShown() ? 1 : 0);
    const double each = rows == 0
                            ? 0.0
                            : std::max<double>(minimumPlotHeight,
                                               (m_size.height() - timeTitleHeight * titled) / rows);
    double top = 0.0;
    const auto place = [&](QChart* chart, QLegend* legend, bool titledRow) {
        const double height = each + (titledRow ? timeTitleHeight : 0.0);
        chart->setGeometry(QRectF(0.0, top, width, height));
        const double bottom = bottomMargin + (titledRow ? timeTitleHeight : 0.0);
        chart->setPlotArea(QRectF(leftMargin, topMargin, width - leftMargin - rightMargin,
                                  height - topMargin - bottom));
        legend->setGeometry(
            QRectF(leftMargin, 2.0, width - leftMargin - rightMargin, topMargin - 4.0));
        top += height;
    };
    for (int k = 0; k < n; ++k) {
        Plot& plot = *m_plots[static_cast<std::size_t>(k)];
        plot.lastRow = k == n - 1;
        place(plot.chart, plot.chart->legend(), plot.lastRow);
        plot.time->setTitleVisible(plot.lastRow);
    }
    if (m_characteristicPlot) {
        place(m_characteristicPlot->chart, m_characteristicPlot->chart->legend(), true);
    }
    m_scene.setSceneRect(QRectF(0.0, 0.0, width, std::max(top, m_size.height())));
    setCursor(m_cursorSeconds);
}

void CourbesChart::refresh() {
    const double last = m_record.lastSeconds();
    m_unit = timeUnitFor(last);
    QValueAxis reference;
    niceAxis(reference, 0.0, std::max(last, 1.0) / m_unit.seconds, 6);
    m_timeMax = reference.max();
    for (std::size_t k = 0; k < m_plots.size(); ++k) {
        Plot& plot = *m_plots[k];
        plot.time->setTickCount(reference.tickCount());
        plot.time->setRange(0.0, m_timeMax);
        plot.time->setLabelFormat(reference.labelFormat());
        plot.time->setTitleText(timeTitle());
        fill(plot);
        placeEvents(plot, k == 0);
        settle(plot);
    }
    if (m_characteristicPlot) {
        fillCharacteristic();
    }
    setCursor(m_cursorSeconds);
}

void CourbesChart::settle(Plot& plot) {
    // A chart lays itself out, labels included, when the event loop comes
    // round; a picture made before must not find it as it was.
    if (QGraphicsLayout* chartLayout = plot.chart->layout()) {
        chartLayout->invalidate();
        chartLayout->activate();
    }
}

void CourbesChart::fill(Plot& plot) {
    const Quantity& q = plot.quantity;
    const auto columns = static_cast<std::size_t>(std::max(1.0, plot.chart->plotArea().width()));
    const sim::ShownUnit shown = sim::shownUnitOf(q, m_record, columns, m_points);
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    const auto points = [&](std::size_t c) {
        m_record.trace(c, columns, m_points);
        QList<QPointF> list;
        list.reserve(static_cast<qsizetype>(m_points.size()));
        for (const auto& p : m_points) {
            const double v = p.value * shown.factor;
            low = std::min(low, v);
            high = std::max(high, v);
            list.append(QPointF(p.seconds / m_unit.seconds, v));
        }
        return list;
    };
    plot.main->replace(points(q.channel));
    if (plot.loi != nullptr) {
        plot.loi->replace(points(q.loiChannel));
    }
    if (!(low <= high)) {
        low = 0.0;
        high = 0.0;
    }
    applyScale(*plot.value, sim::valueScaleOf(q, low, high));
    plot.low = plot.value->min();
    plot.high = plot.value->max();
    plot.value->setTitleText(utf8(sim::axisTitleOf(q, shown)));
}

void CourbesChart::placeEvents(Plot& plot, bool labelled) {
    const auto& events = m_record.events();
    for (QGraphicsItem* label : plot.labels) {
        delete label;
    }
    plot.labels.clear();
    while (plot.events.size() > events.size()) {
        plot.chart->removeSeries(plot.events.back());
        delete plot.events.back();
        plot.events.pop_back();
    }
    while (plot.events.size() < events.size()) {
        auto* line = new QLineSeries(plot.chart);
        line->setPen(QPen(eventColour(), 1.0, Qt::DashLine));
        plot.chart->addSeries(line);
        line->attachAxis(plot.time);
        line->attachAxis(plot.value);
        for (QLegendMarker* marker : plot.chart->legend()->markers(line)) {
            marker->setVisible(false);
        }
        plot.events.push_back(line);
    }
    const QRectF area = plot.chart->plotArea();
    double labelRight = -std::numeric_limits<double>::infinity();
    for (std::size_t e = 0; e < events.size(); ++e) {
        const double t = events[e].tempsSec / m_unit.seconds;
        plot.events[e]->replace(QList<QPointF>{{t, plot.low}, {t, plot.high}});
        if (!labelled) {
            continue;
        }
        auto* text = new QGraphicsSimpleTextItem(utf8(sim::eventText(events[e])), plot.chart);
        text->setFont(chartFont(10));
        text->setBrush(QColor(60, 60, 60));
        const double x = area.left() + t / m_timeMax * area.width();
        const QRectF box = text->boundingRect();
        // Beside its line, inside the plot, below a label it would cover.
        double left = x + 3.0;
        if (left + box.width() > area.right()) {
            left = std::max(area.left(), x - 3.0 - box.width());
        }
        double top = area.top() + 2.0;
        if (left < labelRight) {
            top += box.height() + 1.0;
        }
        labelRight = left + box.width();
        auto* back = new QGraphicsRectItem(QRectF(left - 1.0, top, box.width() + 2.0, box.height()),
                                           plot.chart);
        back->setBrush(QColor(255, 255, 255, 220));
        back->setPen(Qt::NoPen);
        text->setParentItem(back);
        text->setPos(left, top);
        plot.labels.push_back(back);
    }
}

QRectF CourbesChart::plotArea(int index) const {
    if (index < 0 || index >= plotCount()) {
        return {};
    }
    const Plot& plot = *m_plots[static_cast<std::size_t>(index)];
    return plot.chart->mapRectToScene(plot.chart->plotArea());
}

QString CourbesChart::axisTitle(int index) const {
    if (index < 0 || index >= plotCount()) {
        return {};
    }
    return m_plots[static_cast<std::size_t>(index)]->value->titleText();
}

QString CourbesChart::timeTitle() const {
    return QStringLiteral("t (%1)").arg(m_unit.symbol);
}

std::optional<double> CourbesChart::secondsAt(const QPointF& scenePoint) const {
    for (int k = 0; k < plotCount(); ++k) {
        const QRectF area = plotArea(k);
        if (area.contains(scenePoint) && area.width() > 0.0) {
            const double fraction = (scenePoint.x() - area.left()) / area.width();
            return std::max(0.0, fraction * m_timeMax * m_unit.seconds);
        }
    }
    return std::nullopt;
}

double CourbesChart::sceneX(double seconds) const {
    const QRectF area = plotArea(0);
    return area.left() + seconds / m_unit.seconds / m_timeMax * area.width();
}

void CourbesChart::setCursor(std::optional<double> seconds) {
    m_cursorSeconds = seconds;
    if (!seconds || m_plots.empty()) {
        m_cursor->setVisible(false);
        return;
    }
    const double x = sceneX(*seconds);
    m_cursor->setLine(QLineF(x, plotArea(0).top(), x, plotArea(plotCount() - 1).bottom()));
    m_cursor->setVisible(true);
}

void CourbesChart::render(QPainter& painter, const QRectF& target) {
    // The reading line belongs to the screen, not to the pictures.
    const bool reading = m_cursor->isVisible();
    m_cursor->setVisible(false);
    m_scene.render(&painter, target, m_scene.sceneRect());
    m_cursor->setVisible(reading);
}

} // namespace Ionaria::ui
