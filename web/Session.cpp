// SPDX-License-Identifier: GPL-3.0-or-later
// The experiment for the page: a configuration loaded by the desktop's
// loader, the engine ticked by the page's clock and the picture drawn by the
// desktop's routines on a surface whose operations the page replays.
#include "app/BatchMode.h"
#include "base/Numbers.h"
#include "calc/CalculCommand.h"
#include "config/ConfigFile.h"
#include "render/Picture.h"
#include "report/Rapport.h"
#include "report/ReportLines.h"
#include "report/SpokenState.h"
#include "sim/Catalogue.h"
#include "sim/Characteristic.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "sim/MeasureCsv.h"
#include "sim/Quantities.h"
#include "sim/Reading.h"
#include "sim/Recorder.h"
#include "sim/SaltNames.h"
#include "sim/Validation.h"
#include "web/WebCanvas.h"

#include <emscripten/bind.h>
#include <emscripten/heap.h>
#include <emscripten/val.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Ionaria::web {

namespace {

using emscripten::val;

val faceOf(const render::FontFace& face) {
    val out = val::object();
    out.set("family", face.family);
    out.set("pixelSize", face.pixelSize);
    out.set("bold", face.bold);
    out.set("italic", face.italic);
    return out;
}

// What the page reads of one operation, a fixed number of doubles in this
// order (web/picture.js reads them by the same names): the whole list goes
// over as one typed array, its texts and families beside it.
enum OpField : std::size_t {
    Kind,
    X1,
    Y1,
    X2,
    Y2,
    Radius,
    Start,
    End,
    Aspect,
    ColorRgb,
    Filled,
    FillRgb,
    Width,
    ScaleTop,
    Ascent,
    FontPixelSize,
    FontStyle,
    Stride
};

// The kinds the page paints, by the number it reads; the others are not sent.
enum class PageKind { Line, Box, FillBox, Circle, Arc, Text };

std::optional<PageKind> pageKind(render::DrawOp::Kind kind) {
    switch (kind) {
    case render::DrawOp::Kind::Line:
        return PageKind::Line;
    case render::DrawOp::Kind::Box:
        return PageKind::Box;
    case render::DrawOp::Kind::FillBox:
        return PageKind::FillBox;
    case render::DrawOp::Kind::Circle:
        return PageKind::Circle;
    case render::DrawOp::Kind::Arc:
        return PageKind::Arc;
    case render::DrawOp::Kind::Text:
        return PageKind::Text;
    case render::DrawOp::Kind::Cls:
    case render::DrawOp::Kind::ClearPicture:
    case render::DrawOp::Kind::MakeBackground:
        break;
    }
    return std::nullopt;
}

// 0xRRGGBB.
double rgbOf(render::Color c) {
    return static_cast<double>((c.r << 16) | (c.g << 8) | c.b);
}

// Bold 1, italic 2.
constexpr int boldFlag = 1;
constexpr int italicFlag = 2;

// The operations as the page reads them: a fixed number of doubles an
// operation, and each text with its family.
struct PackedOps {
    std::vector<double> numbers;
    std::vector<std::string> texts;
    friend bool operator==(const PackedOps&, const PackedOps&) = default;
};

void pack(const std::vector<render::DrawOp>& ops, PackedOps& out) {
    out.numbers.clear();
    out.texts.clear();
    for (const render::DrawOp& o : ops) {
        const auto kind = pageKind(o.kind);
        if (!kind) {
            continue;
        }
        const std::size_t at = out.numbers.size();
        out.numbers.resize(at + Stride, 0.0);
        double* n = out.numbers.data() + at;
        n[Kind] = static_cast<double>(*kind);
        n[X1] = o.x1;
        n[Y1] = o.y1;
        n[X2] = o.x2;
        n[Y2] = o.y2;
        n[Radius] = o.radius;
        n[Start] = o.start;
        n[End] = o.end;
        n[Aspect] = o.aspect;
        n[ColorRgb] = rgbOf(o.color);
        n[Filled] = o.filled ? 1.0 : 0.0;
        n[FillRgb] = rgbOf(o.fill);
        n[Width] = o.width;
        n[ScaleTop] = o.scaleTop;
        if (*kind == PageKind::Text) {
            n[Ascent] = o.ascent;
            n[FontPixelSize] = o.font.pixelSize;
            n[FontStyle] = (o.font.bold ? boldFlag : 0) | (o.font.italic ? italicFlag : 0);
            out.texts.push_back(o.text);
            out.texts.push_back(o.font.family);
        }
    }
}

// { numbers: Float64Array, texts: [text, family, ...] }: numbers is a view
// of the module's memory, good until the next call into the module, which
// the page copies or reads at once.
val opsOf(const PackedOps& packed) {
    val texts = val::array();
    for (const std::string& t : packed.texts) {
        texts.call<void>("push", t);
    }
    val out = val::object();
    out.set("numbers",
            val(emscripten::typed_memory_view(packed.numbers.size(), packed.numbers.data())));
    out.set("texts", texts);
    return out;
}

// The page's measures of the texts, kept: a tick prints the same labels and
// most of the same numbers again, and each question to the page costs more
// than the drawing of a text. A face's ascent and height are asked once.
class MeasureCache {
public:
    explicit MeasureCache(val measurer) : m_measurer(std::move(measurer)) {}

    double width(const render::FontFace& face, const std::string& text) {
        std::string key = keyOf(face);
        key += text;
        if (const auto found = m_widths.find(key); found != m_widths.end()) {
            return found->second;
        }
        if (m_widths.size() >= widthsMost) {
            m_widths.clear();
        }
        const double w = m_measurer.call<double>("width", faceOf(face), text);
        m_widths.emplace(std::move(key), w);
        return w;
    }
    int ascent(const render::FontFace& face) { return heights(face).first; }
    int height(const render::FontFace& face) { return heights(face).second; }

private:
    // The texts of a few seconds of ticks: the numbers that change each tick
    // are forgotten together now and then.
    static constexpr std::size_t widthsMost = 4096;

    static std::string keyOf(const render::FontFace& face) {
        std::string key = face.family;
        key += '\0';
        key += std::to_string(face.pixelSize);
        key += face.bold ? 'b' : '-';
        key += face.italic ? 'i' : '-';
        key += '\0';
        return key;
    }
    const std::pair<int, int>& heights(const render::FontFace& face) {
        const std::string key = keyOf(face);
        auto found = m_heights.find(key);
        if (found == m_heights.end()) {
            const val f = faceOf(face);
            found = m_heights
                        .emplace(key, std::pair{m_measurer.call<int>("ascent", f),
                                                m_measurer.call<int>("height", f)})
                        .first;
        }
        return found->second;
    }

    val m_measurer;
    std::unordered_map<std::string, double> m_widths;
    std::unordered_map<std::string, std::pair<int, int>> m_heights;
};

TextMetrics metricsOf(val measurer) {
    auto cache = std::make_shared<MeasureCache>(std::move(measurer));
    TextMetrics m;
    m.width = [cache](const render::FontFace& face, const std::string& text) {
        return cache->width(face, text);
    };
    m.ascent = [cache](const render::FontFace& face) { return cache->ascent(face); };
    m.height = [cache](const render::FontFace& face) { return cache->height(face); };
    return m;
}

template <typename Texts> val arrayOf(const Texts& texts) {
    val out = val::array();
    for (const auto& t : texts) {
        out.call<void>("push", std::string(t));
    }
    return out;
}

val listOf(const sim::ListBox& box) {
    val out = val::object();
    out.set("items", arrayOf(box.items));
    out.set("listIndex", box.listIndex);
    out.set("tag", box.tag);
    return out;
}

// The calculator's evaluation of an expression as a pupil writes it, as
// "ionaria --calcul" gives it: the status (0 for a result) and the line shown.
val calcul(const std::string& expression, bool radians) {
    std::ostringstream shown;
    const int status = calc::runCalculCommand(expression, radians, shown);
    std::string line = shown.str();
    if (!line.empty() && line.back() == '\n') {
        line.pop_back();
    }
    val out = val::object();
    out.set("status", status);
    out.set("text", line);
    return out;
}

// "200 mL à 500 mL": the range a box enforces, with its unit, as the
// panels write it; empty for an index that names no box.
std::string rangeText(int index, const std::string& unit) {
    return sim::text2RangeText(index, unit);
}

// A copy the page owns of numbers of the module's memory.
val float64Array(const std::vector<double>& numbers) {
    return val::global("Float64Array")
        .new_(emscripten::typed_memory_view(numbers.size(), numbers.data()));
}

// An axis as the desktop's curves draw it: its range, its graduations and
// their labels, written the French way.
val axisOf(const sim::AxisScale& scale) {
    val splits = val::array();
    val labels = val::array();
    for (int k = 0; k < scale.ticks; ++k) {
        const double value = scale.ticks > 1
                                 ? scale.first + k * (scale.last - scale.first) / (scale.ticks - 1)
                                 : scale.first;
        splits.call<void>("push", value);
        labels.call<void>("push", sim::frenchFixed(value, scale.decimals));
    }
    val out = val::object();
    out.set("min", scale.first);
    out.set("max", scale.last);
    out.set("splits", splits);
    out.set("labels", labels);
    return out;
}

// The changes of reaction the curves label, as many as the desktop's list.
constexpr std::size_t shownEvents = 8;

} // namespace

// One experiment and its picture. The measurer is the page's object with
// width(face, text), ascent(face) and height(face), in pixels.
class Session {
public:
    explicit Session(val measurer)
        : m_engine(std::make_unique<sim::Engine>()), m_handlers(*m_engine), m_record(*m_engine) {
        auto canvas = std::make_unique<WebCanvas>(metricsOf(std::move(measurer)));
        m_canvas = canvas.get();
        m_picture = std::make_unique<render::Picture>(
            *m_engine, std::move(canvas),
            [](render::Canvas& c, const sim::Engine& e, sim::DrawingFeedback& f) {
                report::rapport(c, e, f);
            });
        // The record follows every step from the start, as the window's does.
        m_engine->setStepObserver(&m_record);
        m_handlers.startup();
        m_engine->setHost(m_picture.get());
        m_engine->fondschema();
    }

    // Loads a configuration file of the module's file system: an empty text
    // when it is loaded, else the message the window would show.
    std::string load(const std::string& path) {
        m_engine->setHost(m_picture.get());
        if (const auto message = config::ConfigFile::load(path, m_handlers)) {
            return message->title + " : " + message->text;
        }
        m_engine->fondschema();
        return {};
    }

    // Saves the settings as a configuration file of the module's file
    // system: an empty text when it is written, else the window's message.
    std::string save(const std::string& path) const {
        if (const auto message = config::ConfigFile::save(path, m_engine->params())) {
            return message->title + " : " + message->text;
        }
        return {};
    }

    // The module's whole memory, in bytes: what the engine, its record and
    // the pictures' operations hold at their highest so far.
    double memoryBytes() const { return static_cast<double>(emscripten_get_heap_size()); }

    // Where a configuration the user names in the page is written before the
    // browser hands it over as a download: the desktop's rule for a typed
    // name (blanks trimmed, any extension replaced by .C14), in the module's
    // folder of user files. Only the file's own name is kept, since a
    // download has no folder; empty when no name is left, for which the
    // page shows messageNoName().
    static std::string configurationPath(const std::string& typedName) {
        const auto path = config::ConfigFile::pathForName(typedName, userFolder);
        if (!path) {
            return {};
        }
        const std::string name = path->substr(path->find_last_of("/\\") + 1);
        if (name.size() <= std::string_view(config::ConfigFile::extension).size()) {
            return {};
        }
        return std::string(userFolder) + "/" + name;
    }

    static std::string messageNoName() {
        const auto message = config::ConfigFile::messageNoName();
        return message.title + " : " + message.text;
    }

    // The module's folder for the configurations opened from, and saved to,
    // the user's files.
    static constexpr const char* userFolder = "/fichiers";

    // Simulated seconds per tick as the batch mode runs them (1), or the
    // window's own pace (0).
    void setStepsPerTick(int steps) { m_engine->setStepsPerTickOverride(steps); }

    void tick() { m_engine->Timer1_Timer(); }
    // The run of the batch mode: the timer started, one simulated second a
    // tick until the measured time reaches the seconds, the timer stops or a
    // tick no longer advances. The picture is then the batch's last one.
    void runAsBatch(int seconds) { app::BatchMode::runFor(*m_engine, seconds); }
    // "Pause / Marche".
    void pauseMarche() { m_engine->Command5_Click(); }
    // "Retour à l'état initial".
    void retour() { m_engine->Command3_Click(); }
    bool running() const { return m_engine->params().Timer1; }
    int seconds() const { return m_engine->params().mesures.tempsSec; }

    val measures() const {
        const auto& p = m_engine->params();
        val out = val::object();
        out.set("temps", p.Labeltps());
        out.set("intensite", p.Labelint());
        out.set("tension", p.Labelu());
        return out;
    }
    std::string summary() const { return app::BatchMode::summary(*m_engine); }

    // The handlers of the window's panels, each as the window runs it. An
    // edit returns the nature check's refusal then in force, the two lines
    // the picture shows, or an empty array.
    val setText2(int index, const std::string& text) {
        m_handlers.setText2(index, text);
        return refusal();
    }
    val Text2_GotFocus(int index) {
        m_handlers.Text2_GotFocus(index);
        return refusal();
    }
    // The key as the box takes it, 0 when it is discarded; Enter validates.
    int Text2_KeyPress(int index, int key) {
        return static_cast<int>(m_handlers.Text2_KeyPress(index, static_cast<char32_t>(key)));
    }
    val Text2_LostFocus(int index) {
        m_handlers.Text2_LostFocus(index);
        return refusal();
    }
    // A box typed into and left, as a user does: the focus, the text, the
    // validation.
    val editText2(int index, const std::string& text) {
        m_handlers.Text2_GotFocus(index);
        m_handlers.setText2(index, text);
        m_handlers.Text2_LostFocus(index);
        return refusal();
    }
    val selectCombo1(int index) {
        m_handlers.selectCombo1(index);
        return refusal();
    }
    val selectCombo2(int box, int index) {
        m_handlers.selectCombo2(box, index);
        return refusal();
    }
    val selectOption1(int index) {
        m_handlers.selectOption1(index);
        return refusal();
    }
    val selectOption2(sim::catalogue::Montage montage) {
        m_handlers.selectOption2(montage);
        return refusal();
    }
    val setCheck1(int value) {
        m_handlers.setCheck1(value);
        return refusal();
    }
    val setCheck2(int value) {
        m_handlers.setCheck2(value);
        return refusal();
    }
    val setCheck3(int value) {
        m_handlers.setCheck3(value);
        return refusal();
    }
    val setCheck4(int value) {
        m_handlers.setCheck4(value);
        return refusal();
    }
    val setHScroll2(int value) {
        m_handlers.setHScroll2(value);
        return refusal();
    }
    val setUpDown1(int value) {
        m_handlers.setUpDown1(value);
        return refusal();
    }
    val setUpDown2(int value) {
        m_handlers.setUpDown2(value);
        return refusal();
    }
    val refusal() const {
        const sim::State& s = m_engine->state();
        if (!s.natInvalide) {
            return val::array();
        }
        return arrayOf(std::vector<std::string>{s.messageNat1, s.messageNat2});
    }

    // What the panels show: the controls' values as the handlers left them.
    val controls() const {
        const auto& p = m_engine->params();
        val out = val::object();
        std::vector<std::string> texts;
        for (const auto& box : p.Text2) {
            texts.push_back(box.text());
        }
        out.set("Text2", arrayOf(texts));
        out.set("Combo1", listOf(p.Combo1));
        val combo2 = val::array();
        for (const auto& box : p.Combo2) {
            combo2.call<void>("push", listOf(box));
        }
        out.set("Combo2", combo2);
        out.set("Option1", p.Option1);
        out.set("Option2", p.Option2);
        out.set("Check1", p.Check1);
        out.set("Check2", p.Check2);
        out.set("Check3", p.Check3);
        out.set("Check4", p.Check4);
        out.set("HScroll2", p.HScroll2);
        out.set("UpDown1", p.UpDown1);
        out.set("UpDown2", p.UpDown2);
        out.set("Label1", p.Label1);
        out.set("Label2", p.Label2);
        return out;
    }

    // The state report's lines as text, as the picture shows them.
    val reportLines() const { return arrayOf(report::rapportLines(*m_engine)); }

    // The panels' page (web/panels.js): the experiment told in words, the
    // text the desktop gives a screen reader for its picture.
    std::string description() const { return report::spokenState(*m_engine); }
    // The stop's date box is white while the stop is programmed, else grey.
    bool stopBoxWhite() const { return m_engine->params().stopBoxWhite; }

    // Grows when the background's operations change. The montage is drawn
    // again every few dozen ticks, most often the same: the page paints its
    // background again only when it has changed.
    int backgroundVersion() {
        if (m_canvas->backgroundVersion() != m_seenBackground) {
            m_seenBackground = m_canvas->backgroundVersion();
            pack(m_canvas->backgroundOps(), m_packing);
            if (!(m_packing == m_background)) {
                std::swap(m_packing, m_background);
                ++m_backgroundVersion;
            }
        }
        return m_backgroundVersion;
    }
    val backgroundOps() {
        backgroundVersion();
        return opsOf(m_background);
    }
    val frameOps() {
        pack(m_canvas->frameOps(), m_frame);
        return opsOf(m_frame);
    }

    // Courbes: the record of the run since the last reset, read as the
    // desktop's window reads it. A 100-hour record is a few tens of
    // thousands of rows: the page is given what it draws, a few points per
    // column of a plot, and only when the record changed since.

    // Changes with every row recorded and every reset.
    double recordRevision() const { return static_cast<double>(m_record.revision()); }
    int recordLastSeconds() const { return m_record.lastSeconds(); }
    // Bytes the record holds.
    double recordBytes() const { return static_cast<double>(m_record.memoryBytes()); }

    // The quantities the run has, in the window's order: [{id, name}].
    val courbesQuantities() const {
        val out = val::array();
        for (const sim::Quantity& q : sim::quantitiesOf(m_record, true)) {
            val item = val::object();
            item.set("id", q.id);
            item.set("name", q.name);
            out.call<void>("push", item);
        }
        return out;
    }

    // The time axis shared by the plots: {unit, title, min, max, splits,
    // labels}, in the unit the run's length sets.
    val courbesTimeAxis() const {
        const sim::TimeUnit unit = sim::timeUnitFor(m_record.lastSeconds());
        const double last = std::max(static_cast<double>(m_record.lastSeconds()), 1.0);
        constexpr int timeIntervals = 6;
        val out = axisOf(sim::niceScale(0.0, last / unit.seconds, timeIntervals));
        out.set("unit", unit.symbol);
        out.set("seconds", unit.seconds);
        out.set("title", "t (" + unit.symbol + ")");
        return out;
    }

    // One plot of a quantity of the run drawn over columns px: {title, name,
    // legend, times, values, min, max, splits, labels} and, for a mass with
    // the law's overlay, loiName, loiTimes and loiValues; times in the time
    // axis' unit, values in the quantity's shown unit. Null for an id the
    // run does not have.
    val courbesPlot(const std::string& id, int columns, bool faraday) {
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

    // A time, s, as the reading's time box holds it: in the time axis' unit,
    // with the window's decimals for it (none in s, 2 in min, 3 in h).
    std::string courbesTimeValue(double seconds) const {
        const sim::TimeUnit unit = sim::timeUnitFor(m_record.lastSeconds());
        const int decimals = unit.seconds == 1.0 ? 0 : (unit.seconds == 60.0 ? 2 : 3);
        return base::writeFloat(seconds / unit.seconds, base::FloatForm::Fixed, decimals);
    }

    // The changes of reaction: [{time, text}], time in the time axis' unit.
    val courbesEvents() const {
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
    // The list of the changes of reaction as the window writes it.
    val courbesEventLines() const { return arrayOf(sim::eventLines(m_record, shownEvents)); }

    // The reading's lines at a time, s, kept within the run; a negative
    // time reads the last measurement.
    val courbesReading(double seconds, bool faraday) const {
        std::optional<double> at;
        if (seconds >= 0.0) {
            at = std::min(seconds, static_cast<double>(m_record.lastSeconds()));
        }
        return arrayOf(sim::readingLines(m_record, at, faraday));
    }

    // The electrolyser's characteristic I = f(U) for the present state, as
    // the window draws it under the curves: {name, seuilName, tensions (V),
    // intensites (A), seuil (V, null when off the axis), tension and
    // intensite (axes)}. The cell has none: no point, and its legend says so.
    val courbesCharacteristic() {
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
        out.set("seuilName",
                c ? c->seuilText() : std::string("pas de caractéristique pour la pile"));
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

    // The record's measurements as the window exports them, in the
    // spreadsheet's dialect or the standard one: the file's bytes.
    val measuresCsv(bool tableur) const {
        const sim::CsvDialect dialect =
            tableur ? sim::CsvDialect::Tableur : sim::CsvDialect::Standard;
        std::string bytes = sim::csvHeader(dialect, m_record.run().potentials);
        for (const auto& bucket : m_record.buckets()) {
            sim::appendCsvRow(bytes, bucket.first, dialect);
        }
        return val::global("Uint8Array")
            .new_(emscripten::typed_memory_view(
                bytes.size(), reinterpret_cast<const unsigned char*>(bytes.data())));
    }

private:
    std::unique_ptr<sim::Engine> m_engine;
    sim::Handlers m_handlers;
    sim::Recorder m_record;
    // A plot's points, kept from one drawing to the next for their room.
    std::vector<sim::Recorder::Point> m_points;
    std::vector<double> m_times;
    std::vector<double> m_values;
    WebCanvas* m_canvas = nullptr;
    std::unique_ptr<render::Picture> m_picture;
    // The background's operations and the frame's last given to the page,
    // kept for its view of them.
    PackedOps m_background;
    PackedOps m_frame;
    PackedOps m_packing;
    int m_seenBackground = -1;
    int m_backgroundVersion = 0;
};

} // namespace Ionaria::web

EMSCRIPTEN_BINDINGS(ionaria) {
    // The module's file system starts with a mask that leaves a new file no
    // permission at all, so that a saved configuration could not be read
    // back; a login shell's usual mask is given instead.
    ::umask(022);
    using Ionaria::web::Session;
    emscripten::class_<Session>("Session")
        .constructor<emscripten::val>()
        .function("load", &Session::load)
        .function("save", &Session::save)
        .class_function("configurationPath", &Session::configurationPath)
        .class_function("messageNoName", &Session::messageNoName)
        .function("memoryBytes", &Session::memoryBytes)
        .function("setStepsPerTick", &Session::setStepsPerTick)
        .function("tick", &Session::tick)
        .function("runAsBatch", &Session::runAsBatch)
        .function("pauseMarche", &Session::pauseMarche)
        .function("retour", &Session::retour)
        .function("running", &Session::running)
        .function("seconds", &Session::seconds)
        .function("measures", &Session::measures)
        .function("summary", &Session::summary)
        .function("backgroundVersion", &Session::backgroundVersion)
        .function("backgroundOps", &Session::backgroundOps)
        .function("frameOps", &Session::frameOps)
        .function("setText2", &Session::setText2)
        .function("Text2_GotFocus", &Session::Text2_GotFocus)
        .function("Text2_KeyPress", &Session::Text2_KeyPress)
        .function("Text2_LostFocus", &Session::Text2_LostFocus)
        .function("editText2", &Session::editText2)
        .function("selectCombo1", &Session::selectCombo1)
        .function("selectCombo2", &Session::selectCombo2)
        .function("selectOption1", &Session::selectOption1)
        .function("selectOption2", &Session::selectOption2)
        .function("setCheck1", &Session::setCheck1)
        .function("setCheck2", &Session::setCheck2)
        .function("setCheck3", &Session::setCheck3)
        .function("setCheck4", &Session::setCheck4)
        .function("setHScroll2", &Session::setHScroll2)
        .function("setUpDown1", &Session::setUpDown1)
        .function("setUpDown2", &Session::setUpDown2)
        .function("refusal", &Session::refusal)
        .function("controls", &Session::controls)
        .function("reportLines", &Session::reportLines)
        .function("recordRevision", &Session::recordRevision)
        .function("recordLastSeconds", &Session::recordLastSeconds)
        .function("recordBytes", &Session::recordBytes)
        .function("courbesQuantities", &Session::courbesQuantities)
        .function("courbesTimeAxis", &Session::courbesTimeAxis)
        .function("courbesPlot", &Session::courbesPlot)
        .function("courbesTimeValue", &Session::courbesTimeValue)
        .function("courbesEvents", &Session::courbesEvents)
        .function("courbesEventLines", &Session::courbesEventLines)
        .function("courbesReading", &Session::courbesReading)
        .function("courbesCharacteristic", &Session::courbesCharacteristic)
        .function("measuresCsv", &Session::measuresCsv)
        .function("description", &Session::description)
        .function("stopBoxWhite", &Session::stopBoxWhite);
    emscripten::function("calcul", &Ionaria::web::calcul);
    emscripten::function("spokenMeasure", &Ionaria::report::spokenMeasureText);
    emscripten::function("text2RangeText", &Ionaria::web::rangeText);
    emscripten::function("halfCellSolutionTitle", &Ionaria::sim::halfCellSolutionTitle);
    emscripten::constant("userFolder", std::string(Session::userFolder));

    // The catalogue's codes by their names, for the page's controls.
    namespace cat = Ionaria::sim::catalogue;
    emscripten::constant("Text2Concentration", cat::Text2Concentration);
    emscripten::constant("Text2Volume", cat::Text2Volume);
    emscripten::constant("Text2MasseG", cat::Text2MasseG);
    emscripten::constant("Text2MasseD", cat::Text2MasseD);
    emscripten::constant("Text2Resistance", cat::Text2Resistance);
    emscripten::constant("Text2ConcentrationG", cat::Text2ConcentrationG);
    emscripten::constant("Text2VolumeG", cat::Text2VolumeG);
    emscripten::constant("Text2ConcentrationD", cat::Text2ConcentrationD);
    emscripten::constant("Text2VolumeD", cat::Text2VolumeD);
    emscripten::constant("Text2Arret", cat::Text2Arret);
    emscripten::enum_<cat::Montage>("Montage")
        .value("Pile", cat::Montage::Pile)
        .value("Tension", cat::Montage::Tension)
        .value("Courant", cat::Montage::Courant);
    emscripten::constant("hScroll2Min", cat::hScroll2Min);
    emscripten::constant("hScroll2Max", cat::hScroll2Max);
    emscripten::constant("upDown1Min", cat::upDown1Min);
    emscripten::constant("upDown1Max", cat::upDown1Max);
    emscripten::constant("upDown2Min", cat::upDown2Min);
    emscripten::constant("upDown2Max", cat::upDown2Max);
    emscripten::constant("keyEnter", static_cast<int>(Ionaria::sim::keyEnter));
    emscripten::constant("keyBackspace", static_cast<int>(Ionaria::sim::keyBackspace));
}
