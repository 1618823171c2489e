// SPDX-License-Identifier: GPL-3.0-or-later
// The experiment for the page: a configuration loaded by the desktop's
// loader, the engine ticked by the page's clock and the picture drawn by the
// desktop's routines on a surface whose operations the page replays.
#include "web/Session.h"

#include "config/ConfigFile.h"
#include "report/Rapport.h"
#include "report/ReportLines.h"
#include "report/SpokenState.h"

#include <emscripten/heap.h>
#include <emscripten/val.h>

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Ionaria::web {

Session::Session(val measurer)
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

std::string Session::load(const std::string& path) {
    m_engine->setHost(m_picture.get());
    if (const auto message = config::ConfigFile::load(path, m_handlers)) {
        return message->title + " : " + message->text;
    }
    m_engine->fondschema();
    return {};
}

std::string Session::save(const std::string& path) const {
    if (const auto message = config::ConfigFile::save(path, m_engine->params())) {
        return message->title + " : " + message->text;
    }
    return {};
}

std::string Session::configurationPath(const std::string& typedName) {
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

std::string Session::messageNoName() {
    const auto message = config::ConfigFile::messageNoName();
    return message.title + " : " + message.text;
}

val Session::measures() const {
    const auto& p = m_engine->params();
    val out = val::object();
    out.set("temps", p.Labeltps());
    out.set("intensite", p.Labelint());
    out.set("tension", p.Labelu());
    return out;
}

val Session::setText2(int index, const std::string& text) {
    m_handlers.setText2(index, text);
    return refusal();
}

val Session::Text2_GotFocus(int index) {
    m_handlers.Text2_GotFocus(index);
    return refusal();
}

int Session::Text2_KeyPress(int index, int key) {
    return static_cast<int>(m_handlers.Text2_KeyPress(index, static_cast<char32_t>(key)));
}

val Session::Text2_LostFocus(int index) {
    m_handlers.Text2_LostFocus(index);
    return refusal();
}

val Session::editText2(int index, const std::string& text) {
    m_handlers.Text2_GotFocus(index);
    m_handlers.setText2(index, text);
    m_handlers.Text2_LostFocus(index);
    return refusal();
}

val Session::selectCombo1(int index) {
    m_handlers.selectCombo1(index);
    return refusal();
}

val Session::selectCombo2(int box, int index) {
    m_handlers.selectCombo2(box, index);
    return refusal();
}

val Session::selectOption1(int index) {
    m_handlers.selectOption1(index);
    return refusal();
}

val Session::selectOption2(sim::catalogue::Montage montage) {
    m_handlers.selectOption2(montage);
    return refusal();
}

val Session::setCheck1(int value) {
    m_handlers.setCheck1(value);
    return refusal();
}

val Session::setCheck2(int value) {
    m_handlers.setCheck2(value);
    return refusal();
}

val Session::setCheck3(int value) {
    m_handlers.setCheck3(value);
    return refusal();
}

val Session::setCheck4(int value) {
    m_handlers.setCheck4(value);
    return refusal();
}

val Session::setHScroll2(int value) {
    m_handlers.setHScroll2(value);
    return refusal();
}

val Session::setUpDown1(int value) {
    m_handlers.setUpDown1(value);
    return refusal();
}

val Session::setUpDown2(int value) {
    m_handlers.setUpDown2(value);
    return refusal();
}

val Session::refusal() const {
    const sim::State& s = m_engine->state();
    if (!s.natInvalide) {
        return val::array();
    }
    return arrayOf(std::vector<std::string>{s.messageNat1, s.messageNat2});
}

val Session::controls() const {
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

int Session::backgroundVersion() {
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

val Session::backgroundOps() {
    backgroundVersion();
    return opsOf(m_background);
}

val Session::frameOps() {
    pack(m_canvas->frameOps(), m_frame);
    return opsOf(m_frame);
}

double Session::memoryBytes() const {
    return static_cast<double>(emscripten_get_heap_size());
}

val Session::reportLines() const {
    return arrayOf(report::rapportLines(*m_engine));
}

std::string Session::description() const {
    return report::spokenState(*m_engine);
}

} // namespace Ionaria::web
