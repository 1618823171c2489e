// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's handlers driven by rows of edits, for tests/web/panels.mjs to
// compare with what the page's panels leave in the WebAssembly session. Each
// line of FILE is a row: a configuration file, then edits, each a handler's
// name and its arguments joined by ':' ("editText2:1:2,5", "selectCombo2:0:3",
// "selectOption2:Courant", "batch:600" for the batch's run of that many
// seconds). Writes, for each row, the controls' values, the measures, the
// refusal and the desktop's description of the picture, one "name=value" a
// line (a line break within a value written "\n"), then an empty line.
//   web_panels_dump FILE
#include "app/BatchMode.h"
#include "config/ConfigFile.h"
#include "report/StateDescription.h"
#include "sim/Catalogue.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"

#include <charconv>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace Ionaria;
namespace cat = sim::catalogue;

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    std::string part;
    while (std::getline(in, part, separator)) {
        parts.push_back(part);
    }
    return parts;
}

int integer(const std::string& text) {
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

bool edit(sim::Engine& engine, sim::Handlers& h, const std::vector<std::string>& e) {
    const std::string& name = e[0];
    const auto arg = [&e](std::size_t i) { return integer(e.at(i)); };
    if (name == "editText2") {
        h.Text2_GotFocus(arg(1));
        h.setText2(arg(1), e.at(2));
        h.Text2_LostFocus(arg(1));
    } else if (name == "selectCombo1") {
        h.selectCombo1(arg(1));
    } else if (name == "selectCombo2") {
        h.selectCombo2(arg(1), arg(2));
    } else if (name == "selectOption1") {
        h.selectOption1(arg(1));
    } else if (name == "selectOption2") {
        const auto montage = e.at(1) == "Pile"      ? cat::Montage::Pile
                             : e.at(1) == "Tension" ? cat::Montage::Tension
                                                    : cat::Montage::Courant;
        h.selectOption2(montage);
    } else if (name == "setCheck1") {
        h.setCheck1(arg(1));
    } else if (name == "setCheck2") {
        h.setCheck2(arg(1));
    } else if (name == "setCheck3") {
        h.setCheck3(arg(1));
    } else if (name == "setCheck4") {
        h.setCheck4(arg(1));
    } else if (name == "setHScroll2") {
        h.setHScroll2(arg(1));
    } else if (name == "setUpDown1") {
        h.setUpDown1(arg(1));
    } else if (name == "setUpDown2") {
        h.setUpDown2(arg(1));
    } else if (name == "batch") {
        app::BatchMode::runFor(engine, arg(1));
    } else {
        return false;
    }
    return true;
}

void dump(const sim::Engine& engine) {
    const auto& p = engine.params();
    for (std::size_t i = 0; i < p.Text2.size(); ++i) {
        std::cout << "Text2_" << i << "=" << p.Text2[i].text() << "\n";
    }
    std::cout << "Combo1=" << p.Combo1.listIndex << "\n";
    for (std::size_t k = 0; k < p.Combo2.size(); ++k) {
        std::cout << "Combo2_" << k << "=" << p.Combo2[k].listIndex << "\n";
    }
    std::cout << "Option1=" << p.Option1 << "\n"
              << "Option2=" << cat::montageCode(p.Option2) << "\n"
              << "Check1=" << p.Check1 << "\n"
              << "Check2=" << p.Check2 << "\n"
              << "Check3=" << p.Check3 << "\n"
              << "Check4=" << p.Check4 << "\n"
              << "HScroll2=" << p.HScroll2 << "\n"
              << "UpDown1=" << p.UpDown1 << "\n"
              << "UpDown2=" << p.UpDown2 << "\n"
              << "Label1=" << p.Label1 << "\n"
              << "Label2=" << p.Label2 << "\n"
              << "temps=" << p.Labeltps() << "\n"
              << "intensite=" << p.Labelint() << "\n"
              << "tension=" << p.Labelu() << "\n"
              << "stopBoxWhite=" << (p.stopBoxWhite ? 1 : 0) << "\n";
    const sim::State& s = engine.state();
    std::cout << "refus=" << escaped(s.natInvalide ? s.messageNat1 + "\n" + s.messageNat2 : "")
              << "\n"
              << "description=" << escaped(report::stateDescription(engine).toStdString())
              << "\n\n";
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "usage : web_panels_dump FICHIER\n";
        return 1;
    }
    std::ifstream in(argv[1]);
    std::string line;
    while (std::getline(in, line)) {
        const std::vector<std::string> words = split(line, ' ');
        if (words.empty()) {
            continue;
        }
        sim::Engine engine;
        sim::Handlers handlers(engine);
        handlers.startup();
        if (const auto message = config::ConfigFile::load(words[0], handlers)) {
            std::cerr << words[0] << " : " << message->text << "\n";
            return 1;
        }
        for (std::size_t i = 1; i < words.size(); ++i) {
            if (!edit(engine, handlers, split(words[i], ':'))) {
                std::cerr << "modification inconnue : " << words[i] << "\n";
                return 1;
            }
        }
        dump(engine);
    }
    return 0;
}
