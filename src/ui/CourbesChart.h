// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/Characteristic.h"
#include "sim/Quantities.h"
#include "sim/Recorder.h"

#include <QColor>
#include <QGraphicsScene>
#include <QObject>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QGraphicsLineItem;
class QPainter;

namespace Ionaria::ui {

// The unit of the time axis, which follows the length of the run.
struct TimeUnit {
    QString symbol;       // "s", "min" or "h"
    double seconds = 1.0; // s per unit
};
TimeUnit timeUnitFor(double lastSeconds);

// The curves of a record: a stack of small plots that share the time axis,
// one per quantity, each with its own axis and unit, drawn by Qt Charts in
// one scene that the window shows and the exports render. With the law's
// overlay, each mass plot also shows the mass Faraday's law gives from the
// recorded current. Changes of reaction are vertical lines across every
// plot, labelled on the first. Below them, when asked, the electrolyser's
// characteristic I = f(U) for the record's present state, on its own voltage
// axis.
class CourbesChart : public QObject {
    Q_OBJECT

public:
    // Rows of a plot besides its drawing area, px.
    static constexpr int leftMargin = 84;
    static constexpr int rightMargin = 18;
    static constexpr int topMargin = 26;    // the legend
    static constexpr int bottomMargin = 22; // the time labels
    static constexpr int timeTitleHeight = 18;
    static constexpr int minimumPlotHeight = 110;

    explicit CourbesChart(const sim::Recorder& record, QObject* parent = nullptr);
    ~CourbesChart() override;
    CourbesChart(const CourbesChart&) = delete;
    CourbesChart& operator=(const CourbesChart&) = delete;

    QGraphicsScene& scene() { return m_scene; }
    // The quantities drawn, by their ids in the record's run, top to bottom.
    void setQuantities(const QStringList& ids);
    const QStringList& quantities() const { return m_ids; }
    void setFaraday(bool on);
    bool faraday() const { return m_faraday; }
    void setCharacteristicShown(bool on);
    bool characteristicShown() const { return m_characteristicPlot != nullptr; }
    // The characteristic drawn; none when hidden or for the cell.
    const std::optional<sim::Characteristic>& characteristic() const { return m_characteristic; }
    // The drawing area of the characteristic, in scene coordinates; empty
    // when hidden.
    QRectF characteristicArea() const;
    // The plots of a picture, the characteristic's included.
    int rowCount() const { return plotCount() + (characteristicShown() ? 1 : 0); }
    // The size to lay the stack out in, px; the scene grows taller when the
    // plots would be too small.
    void setSize(const QSizeF& size);
    QSizeF sceneSize() const { return m_scene.sceneRect().size(); }
    // Reads the record again.
    void refresh();

    int plotCount() const { return static_cast<int>(m_plots.size()); }
    // The drawing area of a plot, in scene coordinates.
    QRectF plotArea(int index) const;
    QString axisTitle(int index) const;
    QString timeTitle() const;
    const TimeUnit& timeUnit() const { return m_unit; }
    // The time in s under a point of the scene; none outside the plots.
    std::optional<double> secondsAt(const QPointF& scenePoint) const;
    double sceneX(double seconds) const;
    // A vertical line across the plots at a time; none takes it away.
    void setCursor(std::optional<double> seconds);

    void render(QPainter& painter, const QRectF& target);

    static QColor colourOf(const QString& id);
    static QColor faradayColour();
    static QColor eventColour();
    // The size of a picture of so many plots, px.
    static QSize exportSize(int plots);
    // The ids that keys of the command line name in the record's run.
    static QStringList idsFor(const std::vector<std::string>& keys, const sim::Recorder& record);

private:
    struct Plot;
    struct CharacteristicPlot;
    void rebuild();
    void fillCharacteristic();
    void layout();
    void fill(Plot& plot);
    static void settle(Plot& plot);
    void placeEvents(Plot& plot, bool labelled);

    const sim::Recorder& m_record;
    QGraphicsScene m_scene;
    QStringList m_ids;
    bool m_faraday = false;
    QSizeF m_size{800.0, 600.0};
    TimeUnit m_unit;
    double m_timeMax = 1.0; // in m_unit
    std::vector<std::unique_ptr<Plot>> m_plots;
    std::unique_ptr<CharacteristicPlot> m_characteristicPlot;
    std::optional<sim::Characteristic> m_characteristic;
    QGraphicsLineItem* m_cursor = nullptr;
    std::optional<double> m_cursorSeconds;
    std::vector<sim::Recorder::Point> m_points;
};

} // namespace Ionaria::ui
