// SPDX-License-Identifier: GPL-3.0-or-later
// "Machine à calculer" for the browser: the desktop's keypad behind embind.
// The page builds its keys from keypadKeys() and hands them, and what is
// typed in its display, to the same keypad as the window.
#include "calc/Keypad.h"

#include <emscripten/bind.h>

#include <string>

namespace Ionaria::web {

namespace {

// The memory register outlives a calculator, as on the desktop for the
// program's run: here, for the page's.
double memoire = 0.0;

} // namespace

class Calculatrice {
public:
    // Returns true when the key calls for a beep; an unknown name does nothing.
    bool press(const std::string& name) {
        bool beep = false;
        m_keypad.pressNamed(name, &beep);
        return beep;
    }
    // A character typed in the display, by its code point.
    bool type(int codePoint) { return m_keypad.type(static_cast<char32_t>(codePoint)); }
    void setRadians(bool radians) { m_keypad.setRadians(radians); }
    void setScientifique(bool scientifique) { m_keypad.setScientifique(scientifique); }
    std::string expression() const { return m_keypad.expression(); }
    std::string display() const { return m_keypad.display(); }
    bool displayIsMessage() const { return m_keypad.displayIsMessage(); }

private:
    calc::Keypad m_keypad{memoire};
};

emscripten::val keys() {
    auto out = emscripten::val::array();
    for (const calc::KeyInfo& key : calc::keypadKeys()) {
        auto one = emscripten::val::object();
        one.set("name", std::string(key.name));
        one.set("caption", std::string(key.caption));
        one.set("tooltip", std::string(key.tooltip));
        out.call<void>("push", one);
    }
    return out;
}

} // namespace Ionaria::web

EMSCRIPTEN_BINDINGS(ionaria_calculatrice) {
    using Ionaria::web::Calculatrice;
    emscripten::class_<Calculatrice>("Calculatrice")
        .constructor<>()
        .function("press", &Calculatrice::press)
        .function("type", &Calculatrice::type)
        .function("setRadians", &Calculatrice::setRadians)
        .function("setScientifique", &Calculatrice::setScientifique)
        .function("expression", &Calculatrice::expression)
        .function("display", &Calculatrice::display)
        .function("displayIsMessage", &Calculatrice::displayIsMessage);
    emscripten::function("keypadKeys", &Ionaria::web::keys);
}
