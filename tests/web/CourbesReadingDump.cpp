// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop's Courbes window reads after a run of the batch mode:
//   web_courbes_reading FILE.C14 SECONDS FARADAY T...
// runs the configuration as the batch does (one simulated second a tick until
// the time shown reaches SECONDS), shows the window on the run's record with
// the law's overlay when FARADAY is 1, reads it at each time T in s (-1: the
// last measurement, as the window opens) and prints the reading, each followed
// by an empty line; then, the characteristic I = f(U) ticked, its threshold's
// text and its points as the window draws them (nothing for the cell),
// followed by an empty line, for tests/web/courbes.mjs to compare with the
// page's.
#include "app/BatchMode.h"
#include "base/Numbers.h"
#include "config/ConfigFile.h"
#include "sim/Characteristic.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "sim/Recorder.h"
#include "ui/CourbesWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>

#include <cmath>
#include <cstdint>
#include <iostream>
#include <string>

int main(int argc, char* argv[]) {
    using namespace Ionaria;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QApplication application(argc, argv);
    const auto seconds = argc > 4 ? base::parseDouble(argv[2]) : std::nullopt;
    if (!seconds || *seconds != std::floor(*seconds)) {
        std::cerr << "usage : web_courbes_reading FICHIER.C14 SECONDES FARADAY T...\n";
        return 2;
    }
    sim::Engine engine;
    sim::Handlers handlers(engine);
    sim::Recorder record(engine);
    engine.setStepObserver(&record);
    handlers.startup();
    if (const auto message = config::ConfigFile::load(argv[1], handlers)) {
        std::cerr << message->title << " : " << message->text << "\n";
        return 1;
    }
    app::BatchMode::runFor(engine, static_cast<long long>(*seconds));
    ui::CourbesWindow window(record);
    window.faradayBox()->setChecked(std::string(argv[3]) == "1");
    for (int k = 4; k < argc; ++k) {
        const auto at = base::parseDouble(argv[k]);
        if (at && *at >= 0.0) {
            window.readAt(*at);
        }
        std::cout << window.readout()->text().toStdString() << "\n\n";
    }
    window.characteristicBox()->setChecked(true);
    if (const auto& characteristic = window.chart().characteristic()) {
        std::cout << characteristic->seuilText() << "\n" << sim::characteristicCsv(*characteristic);
    }
    std::cout << "\n";
    engine.setStepObserver(nullptr);
    return std::cout ? 0 : 1;
}
