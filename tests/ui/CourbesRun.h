// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/MessageBoxes.h"
#include "sim/Catalogue.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "sim/Recorder.h"

#include <QStringList>

#include <cstdint>

namespace Ionaria::testing {

// A montage with its record, run the window's way.
struct CourbesRun {
    sim::Engine engine;
    sim::Handlers handlers{engine};
    sim::Recorder record{engine};

    CourbesRun() {
        engine.setStepObserver(&record);
        handlers.startup();
    }
    ~CourbesRun() { engine.setStepObserver(nullptr); }
    CourbesRun(const CourbesRun&) = delete;
    CourbesRun& operator=(const CourbesRun&) = delete;

    // Copper sulfate at c mol/L on graphite, the current generator's 50 mA:
    // at 0,001 mol/L the copper ions run out after about 1930 s.
    void copperDeposit(const char* concentration = "0,001") {
        handlers.selectOption2(Ionaria::sim::catalogue::Montage::Courant);
        handlers.selectCombo1(6);
        handlers.setText2(sim::catalogue::Text2Concentration, concentration);
        handlers.Text2_LostFocus(sim::catalogue::Text2Concentration);
    }
    // Runs until the time shown reaches the duration, as the batch does.
    void runFor(std::int32_t seconds, int stepsPerTick = 39) {
        handlers.setHScroll2(stepsPerTick);
        if (!engine.params().Timer1) {
            engine.Command5_Click();
        }
        while (engine.params().mesures.tempsSec < seconds && engine.params().Timer1) {
            engine.Timer1_Timer();
        }
        engine.Command5_Click();
    }
};

// Message boxes that a test reads instead of a user.
class ScriptedBoxes : public config::MessageBoxes {
public:
    QStringList criticals; // "title | text"
    void critical(QWidget*, const QString& title, const QString& text) override {
        criticals << title + " | " + text;
    }
    bool warningYesNo(QWidget*, const QString&, const QString&) override { return false; }
};

} // namespace Ionaria::testing
