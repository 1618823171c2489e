// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "support/EngineAccess.h"

#include <algorithm>
#include <cmath>

namespace Ionaria::sim::testing {

// Agreement within a relative tolerance, with a floor for values near zero.
inline bool near(double a, double b, double relative = 1e-6) {
    return std::fabs(a - b) <= relative * std::max(std::fabs(a), std::fabs(b)) + 1e-15;
}

// The charge of a mole of electrons that the engine uses, in C/mol.
constexpr double faradayConstant = 96500.0;

// A started engine, as the window has it after start-up.
struct Bench {
    Engine engine;
    Handlers handlers{engine};
    Bench() { handlers.startup(); }
    State& s() { return EngineAccess::state(engine); }
    ParamStore& p() { return EngineAccess::store(engine); }

    void electrolysis(Ionaria::sim::catalogue::Montage montage, int electrolyte, int nature1,
                      int nature2) {
        handlers.selectOption2(montage);
        handlers.selectCombo1(electrolyte);
        handlers.selectCombo2(0, nature1);
        handlers.selectCombo2(1, nature2);
    }
    // Types a value into a numeric box and leaves it.
    void text(int index, const char* value) {
        handlers.setText2(index, value);
        handlers.Text2_LostFocus(index);
    }
};

} // namespace Ionaria::sim::testing
