// SPDX-License-Identifier: GPL-3.0-or-later
// Writes random settings as .C14 files, for the parity of the WebAssembly
// batch with the desktop's (tests/web/parity.sh):
//   web_draw_settings FOLDER COUNT
// Each montage, electrolyte, pair of electrodes, box value and option is
// chosen as a user would, through the handlers, with a fixed seed; the same
// files on every machine.
#include "base/Numbers.h"
#include "config/ConfigFile.h"
#include "sim/Catalogue.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "support/EngineAccess.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <random>
#include <string>

using Ionaria::sim::catalogue::Montage;

namespace {

using namespace Ionaria;

// A value drawn evenly on a logarithmic scale within a box's range, with three
// significant digits and a decimal comma, as typed.
std::string drawn(std::mt19937& random, int box) {
    const auto& range = sim::catalogue::text2Ranges[static_cast<std::size_t>(box)];
    std::uniform_real_distribution<double> u(std::log(static_cast<double>(range.low)),
                                             std::log(static_cast<double>(range.high)));
    std::string text = base::writeFloat(std::exp(u(random)), base::FloatForm::General, 3);
    std::replace(text.begin(), text.end(), '.', ',');
    std::replace(text.begin(), text.end(), 'e', 'E');
    return text;
}

void type(sim::Handlers& handlers, int box, const std::string& value) {
    handlers.setText2(box, value);
    handlers.Text2_LostFocus(box);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "usage : web_draw_settings DOSSIER NOMBRE\n";
        return 1;
    }
    const std::string folder = argv[1];
    const int count = std::stoi(argv[2]);
    std::mt19937 random(20261208U);
    for (int n = 0; n < count; ++n) {
        sim::Engine engine;
        sim::Handlers handlers(engine);
        handlers.startup();
        const Montage montage = *sim::catalogue::montageOfCode(n % sim::catalogue::montageCount);
        handlers.selectOption2(montage);
        do {
            std::uniform_int_distribution<int> nature(
                0, montage == Montage::Pile ? sim::catalogue::natureZincPile
                                            : sim::catalogue::natureZincElectrolyse);
            std::uniform_int_distribution<int> electrolyte(0, 9);
            if (montage != Montage::Pile) {
                handlers.selectCombo1(electrolyte(random));
            }
            handlers.selectCombo2(0, nature(random));
            handlers.selectCombo2(1, nature(random));
            for (int box = sim::catalogue::Text2Concentration; box <= sim::catalogue::Text2VolumeD;
                 ++box) {
                type(handlers, box, drawn(random, box));
            }
            // Two half-cells of the same metal need the same concentration.
            if (montage == Montage::Pile && engine.nature1() == engine.nature2()) {
                type(handlers, sim::catalogue::Text2ConcentrationD,
                     sim::EngineAccess::store(engine)
                         .Text2[sim::catalogue::Text2ConcentrationG]
                         .text());
            }
        } while (sim::EngineAccess::state(engine).natInvalide);
        // Nernst's potentials and hydrogen's overpotential, each on for half
        // the settings of every montage; they take no draw, so that the
        // others stay as they were.
        handlers.setCheck3((n / 3) % 2);
        handlers.setCheck4((n / 6) % 2);
        handlers.setUpDown1(std::uniform_int_distribution<int>(25, 100)(random));
        handlers.setUpDown2(std::uniform_int_distribution<int>(1, 25)(random));
        const std::string path = folder + "/tirage-" + std::to_string(n) + ".C14";
        if (const auto failure = config::ConfigFile::save(path, sim::EngineAccess::store(engine))) {
            std::cerr << "web_draw_settings : " << path << " non écrit\n";
            return 1;
        }
    }
    return 0;
}
