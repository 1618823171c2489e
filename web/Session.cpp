// SPDX-License-Identifier: GPL-3.0-or-later
// The experiment for the page: a configuration loaded by the desktop's
// loader, the engine ticked by the page's clock and the picture drawn by the
// desktop's routines on a surface whose operations the page replays.
#include "app/BatchMode.h"
#include "calc/CalculCommand.h"
#include "config/ConfigFile.h"
#include "render/Picture.h"
#include "report/Rapport.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
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

// The operations as { numbers: Float64Array, texts: [text, family, ...] }:
// numbers is a view of the module's memory, good until the next call into
// the module, which the page copies or reads at once.
val opsOf(const std::vector<render::DrawOp>& ops, std::vector<double>& numbers) {
    numbers.clear();
    val texts = val::array();
    for (const render::DrawOp& o : ops) {
        const auto kind = pageKind(o.kind);
        if (!kind) {
            continue;
        }
        const std::size_t at = numbers.size();
        numbers.resize(at + Stride, 0.0);
        double* n = numbers.data() + at;
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
            texts.call<void>("push", o.text, o.font.family);
        }
    }
    val out = val::object();
    out.set("numbers", val(emscripten::typed_memory_view(numbers.size(), numbers.data())));
    out.set("texts", texts);
    return out;
}

TextMetrics metricsOf(val measurer) {
    TextMetrics m;
    m.width = [measurer](const render::FontFace& face, const std::string& text) {
        return measurer.call<double>("width", faceOf(face), text);
    };
    m.ascent = [measurer](const render::FontFace& face) {
        return measurer.call<int>("ascent", faceOf(face));
    };
    m.height = [measurer](const render::FontFace& face) {
        return measurer.call<int>("height", faceOf(face));
    };
    return m;
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

    int backgroundVersion() const { return m_canvas->backgroundVersion(); }
    val backgroundOps() { return opsOf(m_canvas->backgroundOps(), m_numbers); }
    val frameOps() { return opsOf(m_canvas->frameOps(), m_numbers); }

private:
    std::unique_ptr<sim::Engine> m_engine;
    sim::Handlers m_handlers;
    WebCanvas* m_canvas = nullptr;
    std::unique_ptr<render::Picture> m_picture;
    // The last operations given to the page, kept for its view of them.
    std::vector<double> m_numbers;
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
        .function("frameOps", &Session::frameOps);
    emscripten::function("calcul", &Ionaria::web::calcul);
}
