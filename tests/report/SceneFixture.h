// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/ExperimentPicture.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "support/EngineAccess.h"
#include "support/Ticks.h"

#include <memory>

// A montage set up through the parameter handlers, as the window sets it,
// with the picture attached from the start.
struct Scene {
    explicit Scene(std::unique_ptr<Ionaria::render::QtCanvas> canvas = nullptr)
        : picture(engine, std::move(canvas)), handlers(engine) {
        engine.setHost(&picture);
        handlers.startup();
    }

    // The state, for the cases that set it directly.
    Ionaria::sim::State& state() { return Ionaria::sim::EngineAccess::state(engine); }

    void setMontage(Ionaria::sim::catalogue::Montage montage) { handlers.selectOption2(montage); }
    void setMacro(bool macro) { handlers.selectOption1(macro ? 1 : 0); }
    // A whole setting as the panels make it: the montage, its electrolyte
    // (an electrolysis only), both natures, Nernst's option, the speed and
    // the scale.
    void setUp(Ionaria::sim::catalogue::Montage montage, int electrolyte, int nature1, int nature2,
               bool macro, bool nernst) {
        setMontage(montage);
        if (montage != Ionaria::sim::catalogue::Montage::Pile) {
            handlers.selectCombo1(electrolyte);
        }
        handlers.selectCombo2(0, nature1);
        handlers.selectCombo2(1, nature2);
        handlers.setCheck3(nernst ? 1 : 0);
        handlers.setUpDown2(25);
        setMacro(macro);
    }
    // Starts the timer and runs ticks as the timer would.
    void run(int ticks) { Ionaria::testing::runTicks(engine, ticks); }

    Ionaria::sim::Engine engine;
    Ionaria::report::ExperimentPicture picture;
    Ionaria::sim::Handlers handlers;
};
