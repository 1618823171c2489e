// SPDX-License-Identifier: GPL-3.0-or-later
// The experiment for the page: a configuration loaded by the desktop's
// loader, the engine ticked by the page's clock and the picture drawn by the
// desktop's routines on a surface whose operations the page replays.
#include "app/BatchMode.h"
#include "calc/CalculCommand.h"
#include "config/ConfigFile.h"
#include "render/Picture.h"
#include "report/Rapport.h"
#include "report/ReportLines.h"
#include "report/SpokenState.h"
#include "sim/Catalogue.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "sim/Validation.h"
#include "web/WebCanvas.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
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

} // namespace

// One experiment and its picture. The measurer is the page's object with
// width(face, text), ascent(face) and height(face), in pixels.
class Session {
public:
    explicit Session(val measurer)
        : m_engine(std::make_unique<sim::Engine>()), m_handlers(*m_engine) {
        auto canvas = std::make_unique<WebCanvas>(metricsOf(std::move(measurer)));
        m_canvas = canvas.get();
        m_picture = std::make_unique<render::Picture>(
            *m_engine, std::move(canvas),
            [](render::Canvas& c, const sim::Engine& e, sim::DrawingFeedback& f) {
                report::rapport(c, e, f);
            });
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

    // Simulated seconds per tick as the batch mode runs them (1), or the
    // window's own pace (0).
    void setStepsPerTick(int steps) { m_engine->setStepsPerTickOverride(steps); }

    void tick() { m_engine->Timer1_Timer(); }
    // The run of the batch mode: the timer started, one simulated second a
    // tick until the measured time reaches the seconds, the timer stops or a
    // tick no longer advances. The picture is then the batch's last one.
    void runAsBatch(int seconds) {
        if (!m_engine->params().Timer1) {
            m_engine->Command5_Click();
        }
        m_engine->setStepsPerTickOverride(1);
        while (true) {
            const std::int32_t before = m_engine->state().tempsSec;
            m_engine->Timer1_Timer();
            if (m_engine->state().tempsSec == before || !m_engine->params().Timer1 ||
                m_engine->params().mesures.tempsSec >= seconds) {
                break;
            }
        }
    }
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

private:
    std::unique_ptr<sim::Engine> m_engine;
    sim::Handlers m_handlers;
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
        .function("description", &Session::description)
        .function("stopBoxWhite", &Session::stopBoxWhite);
    emscripten::function("calcul", &Ionaria::web::calcul);
    emscripten::function("spokenMeasure", &Ionaria::report::spokenMeasureText);
    emscripten::function("text2RangeText", &Ionaria::web::rangeText);

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
