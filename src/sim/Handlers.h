// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/Catalogue.h"
#include "sim/Engine.h"

#include <string>

namespace Ionaria::sim {

// The handlers of the parameter controls, on the parameter store. The window,
// the configuration loader and the batch mode all change parameters through
// them, so that every change runs the same checks and resets.
class Handlers {
public:
    explicit Handlers(Engine& engine) : m_engine(engine) {}

    // Read only: every write to the engine goes through a handler.
    const Engine& engine() const { return m_engine; }

    // The parameter part of the window's start-up: generator settings, the
    // electrolyte list and the voltage-generator montage.
    void startup();
    // The state part of the window's activation: no drawing-only tick is
    // left pending.
    void Form_Activate();
    // The end of loading a configuration: the nature check sees the loaded
    // values, not those in force before, then the montage goes back to its
    // initial state.
    void afterLoad();

    // Numeric boxes.
    void setText2(int index, std::string text); // typing, before validation
    void Text2_GotFocus(int index);
    // Returns the key as the box takes it (0: discarded); Enter validates.
    char32_t Text2_KeyPress(int index, char32_t key);
    void Text2_LostFocus(int index);

    // Lists: the selection runs the click handler, as a user's choice does.
    void selectCombo1(int index);
    void Combo1_Click();
    void selectCombo2(int box, int index);
    void Combo2_Click(int box);

    // Option groups and check boxes.
    void selectOption1(int index);
    void Option1_Click();
    void selectOption2(catalogue::Montage montage);
    void Option2_Click();
    void setCheck1(int value);
    void Check1_Click();
    void setCheck2(int value);
    // The potentials follow the concentrations: the initial state changes.
    void setCheck3(int value);
    void Check3_Click();
    void setCheck4(int value);
    void Check4_Click();

    // Scroll bar and spin buttons, clamped to their ranges.
    void setHScroll2(int value);
    void setUpDown1(int value);
    void setUpDown2(int value);

private:
    ParamStore& store() { return m_engine.m_params; }
    State& state() { return m_engine.m_state; }
    void fillNatures(ListBox& box) const;
    void setTimer(bool running);

    Engine& m_engine;
};

} // namespace Ionaria::sim
