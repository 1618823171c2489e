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

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace Ionaria::web {

namespace {

using emscripten::val;

val colorOf(render::Color c) {
    val out = val::array();
    out.call<void>("push", c.r, c.g, c.b);
    return out;
}

val faceOf(const render::FontFace& face) {
    val out = val::object();
    out.set("family", face.family);
    out.set("pixelSize", face.pixelSize);
    out.set("bold", face.bold);
    out.set("italic", face.italic);
    return out;
}

const char* kindName(render::DrawOp::Kind kind) {
    switch (kind) {
    case render::DrawOp::Kind::Line:
        return "line";
    case render::DrawOp::Kind::Box:
        return "box";
    case render::DrawOp::Kind::FillBox:
        return "fillBox";
    case render::DrawOp::Kind::Circle:
        return "circle";
    case render::DrawOp::Kind::Arc:
        return "arc";
    case render::DrawOp::Kind::Text:
        return "text";
    case render::DrawOp::Kind::Cls:
    case render::DrawOp::Kind::ClearPicture:
    case render::DrawOp::Kind::MakeBackground:
        break;
    }
    return "none";
}

val opsOf(const std::vector<render::DrawOp>& ops) {
    val out = val::array();
    for (const render::DrawOp& o : ops) {
        val v = val::object();
        v.set("kind", std::string(kindName(o.kind)));
        v.set("x1", o.x1);
        v.set("y1", o.y1);
        v.set("x2", o.x2);
        v.set("y2", o.y2);
        v.set("radius", o.radius);
        v.set("start", o.start);
        v.set("end", o.end);
        v.set("aspect", o.aspect);
        v.set("color", colorOf(o.color));
        v.set("filled", o.filled);
        v.set("fill", colorOf(o.fill));
        v.set("width", o.width);
        v.set("scaleTop", o.scaleTop);
        if (o.kind == render::DrawOp::Kind::Text) {
            v.set("text", o.text);
            v.set("font", faceOf(o.font));
            v.set("ascent", o.ascent);
        }
        out.call<void>("push", v);
    }
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
    val backgroundOps() const { return opsOf(m_canvas->backgroundOps()); }
    val frameOps() const { return opsOf(m_canvas->frameOps()); }

private:
    std::unique_ptr<sim::Engine> m_engine;
    sim::Handlers m_handlers;
    WebCanvas* m_canvas = nullptr;
    std::unique_ptr<render::Picture> m_picture;
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
