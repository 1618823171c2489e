// SPDX-License-Identifier: GPL-3.0-or-later
// Courbes for the page: the record of the run since the last reset, read as
// the desktop's window reads it. A 100-hour record is a few tens of
// thousands of rows: the page is given what it draws, a few points per
// column of a plot, and only when the record changed since.
#include "web/Session.h"

#include "base/Numbers.h"
#include "sim/Characteristic.h"
#include "sim/MeasureCsv.h"
#include "sim/Quantities.h"
#include "sim/Reading.h"

#include <emscripten/val.h>

#include <algorithm>
#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace Ionaria::web {

namespace {

// The changes of reaction the curves label, as many as the desktop's list.
constexpr std::size_t shownEvents = 8;

} // namespace

val Session::courbesQuantities() const {
    val out = val::array();
    for (const sim::Quantity& q : sim::quantitiesOf(m_record, true)) {
        val item = val::object();
        item.set("id", q.id);
        item.set("name", q.name);
        out.call<void>("push", item);
    }
    return out;
}

val Session::courbesTimeAxis() const {
    const sim::TimeUnit unit = sim::timeUnitFor(m_record.lastSeconds());
    const double last = std::max(static_cast<double>(m_record.lastSeconds()), 1.0);
    constexpr int timeIntervals = 6;
    val out = axisOf(sim::niceScale(0.0, last / unit.seconds, timeIntervals));
    out.set("unit", unit.symbol);
    out.set("seconds", unit.seconds);
    out.set("title", "t (" + unit.symbol + ")");
    return out;
}

val Session::courbesPlot(const std::string& id, int columns, bool faraday) {
    const std::vector<sim::Quantity> known = sim::quantitiesOf(m_record, false);
    const auto found = std::find_if(known.begin(), known.end(),
                                    [&id](const sim::Quantity& q) { return q.id == id; });
    if (found == known.end()) {
        return val::null();
    }
    const sim::Quantity& q = *found;
    const auto width = static_cast<std::size_t>(std::max(1, columns));
    const double unitSeconds = sim::timeUnitFor(m_record.lastSeconds()).seconds;
    const sim::ShownUnit shown = sim::shownUnitOf(q, m_record, width, m_points);
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    const auto traced = [&](std::size_t c, val& out, const char* timesName,
                            const char* valuesName) {
        m_record.trace(c, width, m_points);
        m_times.clear();
        m_values.clear();
        for (const auto& p : m_points) {
            const double v = p.value * shown.factor;
            low = std::min(low, v);
            high = std::max(high, v);
            m_times.push_back(p.seconds / unitSeconds);
            m_values.push_back(v);
        }
        out.set(timesName, float64Array(m_times));
        out.set(valuesName, float64Array(m_values));
    };
    val out = val::object();
    traced(q.channel, out, "times", "values");
    const bool loi = faraday && q.loiChannel < sim::channel::count;
    if (loi) {
        out.set("loiName", q.name + ", loi de Faraday");
        traced(q.loiChannel, out, "loiTimes", "loiValues");
    }
    if (!(low <= high)) {
        low = 0.0;
        high = 0.0;
    }
    const val axis = axisOf(sim::valueScaleOf(q, low, high));
    for (const char* key : {"min", "max", "splits", "labels"}) {
        out.set(key, axis[key]);
    }
    out.set("title", sim::axisTitleOf(q, shown));
    out.set("name", q.name);
    // A plot whose axis' title says all has no legend.
    out.set("legend", loi || q.name != q.symbol);
    return out;
}

std::string Session::courbesTimeValue(double seconds) const {
    const sim::TimeUnit unit = sim::timeUnitFor(m_record.lastSeconds());
    const int decimals = unit.seconds == 1.0 ? 0 : (unit.seconds == 60.0 ? 2 : 3);
    return base::writeFloat(seconds / unit.seconds, base::FloatForm::Fixed, decimals);
}

val Session::courbesEvents() const {
    const double unitSeconds = sim::timeUnitFor(m_record.lastSeconds()).seconds;
    val out = val::array();
    for (const sim::Recorder::Event& e : m_record.events()) {
        val item = val::object();
        item.set("time", e.tempsSec / unitSeconds);
        item.set("text", sim::eventText(e));
        out.call<void>("push", item);
    }
    return out;
}

val Session::courbesReading(double seconds, bool faraday) const {
    std::optional<double> at;
    if (seconds >= 0.0) {
        at = std::min(seconds, static_cast<double>(m_record.lastSeconds()));
    }
    return arrayOf(sim::readingLines(m_record, at, faraday));
}

val Session::courbesCharacteristic() {
    using sim::Characteristic;
    const auto c = sim::characteristic(m_engine->state(), m_engine->params());
    m_times.clear();
    m_values.clear();
    double high = 0.0;
    if (c) {
        for (const Characteristic::Point& p : c->points) {
            m_times.push_back(p.tensionV);
            m_values.push_back(p.intensiteA);
            high = std::max(high, p.intensiteA);
        }
    }
    constexpr int tensionIntervals = 10;
    constexpr int intensiteIntervals = 4;
    sim::AxisScale intensite = sim::niceScale(0.0, high, intensiteIntervals);
    if (intensite.first < 0.0) {
        intensite = sim::niceScale(0.0, intensite.last, intensiteIntervals);
    }
    val out = val::object();
    out.set("name", std::string("Caractéristique I = f(U)"));
    out.set("seuilName", c ? c->seuilText() : std::string("pas de caractéristique pour la pile"));
    out.set("tensions", float64Array(m_times));
    out.set("intensites", float64Array(m_values));
    const bool seuilShown = c && c->seuilV >= 0.0 && c->seuilV <= Characteristic::maxVoltageV;
    out.set("seuil", seuilShown ? val(c->seuilV) : val::null());
    val tension = axisOf(sim::niceScale(0.0, Characteristic::maxVoltageV, tensionIntervals));
    tension.set("title", std::string("U (V)"));
    val intensiteAxis = axisOf(intensite);
    intensiteAxis.set("title", std::string("I (A)"));
    out.set("tension", tension);
    out.set("intensite", intensiteAxis);
    return out;
}

val Session::measuresCsv(bool tableur) const {
    const sim::CsvDialect dialect = tableur ? sim::CsvDialect::Tableur : sim::CsvDialect::Standard;
    std::string bytes = sim::csvHeader(dialect, m_record.run().potentials);
    for (const auto& bucket : m_record.buckets()) {
        sim::appendCsvRow(bytes, bucket.first, dialect);
    }
    return val::global("Uint8Array")
        .new_(emscripten::typed_memory_view(bytes.size(),
                                            reinterpret_cast<const unsigned char*>(bytes.data())));
}

val Session::courbesEventLines() const {
    return arrayOf(sim::eventLines(m_record, shownEvents));
}

} // namespace Ionaria::web
