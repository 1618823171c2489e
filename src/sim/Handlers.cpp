// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Handlers.h"

#include "base/Numbers.h"
#include "sim/Catalogue.h"
#include "sim/Validation.h"

#include <algorithm>

namespace Ionaria::sim {

namespace cat = catalogue;

void Handlers::startup() {
    ParamStore& p = store();
    setUpDown1(cat::upDown1Start);
    setUpDown2(cat::upDown2Start);
    p.Combo1.items.assign(cat::electrolytes.begin(), cat::electrolytes.end());
    selectCombo1(cat::electrolyteChlorureDeSodium);
    selectOption2(cat::Montage::Tension);
}

void Handlers::Form_Activate() {
    state().dessinSeul = false;
}

void Handlers::afterLoad() {
    m_engine.verifnat();
    m_engine.Command3_Click();
}

void Handlers::setTimer(bool running) {
    ParamStore& p = store();
    if (p.Timer1 == running) {
        return;
    }
    p.Timer1 = running;
    if (auto* host = m_engine.host()) {
        host->timerChanged(running);
    }
}

void Handlers::setText2(int index, std::string text) {
    if (index < 0 || index >= static_cast<int>(store().Text2.size())) {
        return;
    }
    store().Text2[static_cast<std::size_t>(index)].setText(std::move(text));
}

void Handlers::Text2_GotFocus(int index) {
    if (index == cat::Text2Arret) {
        return;
    }
    state().timerEtait = store().Timer1;
    setTimer(false);
}

char32_t Handlers::Text2_KeyPress(int index, char32_t key) {
    const char32_t accepted = filterText2Key(key);
    if (accepted == keyEnter) {
        Text2_LostFocus(index);
    }
    return accepted;
}

void Handlers::Text2_LostFocus(int index) {
    ParamStore& p = store();
    if (index < 0 || index >= static_cast<int>(p.Text2.size())) {
        return;
    }
    auto& box = p.Text2[static_cast<std::size_t>(index)];
    box.setText(validatedText2(index, box.text()));
    if (index != cat::Text2Arret) {
        // The check runs before the reset too, so that the reset draws the
        // montage when the new value makes it acceptable again.
        m_engine.verifnat();
        m_engine.Command3_Click();
        setTimer(state().timerEtait);
    }
    state().natInvalide = false;
    m_engine.verifnat();
}

void Handlers::selectCombo1(int index) {
    ListBox& box = store().Combo1;
    if (index < -1 || index >= box.count()) {
        return;
    }
    box.listIndex = index;
    Combo1_Click();
}

void Handlers::Combo1_Click() {
    m_engine.verifnat();
    m_engine.Command3_Click();
}

void Handlers::selectCombo2(int boxIndex, int index) {
    if (boxIndex < 0 || boxIndex > 1) {
        return;
    }
    ListBox& box = store().Combo2[static_cast<std::size_t>(boxIndex)];
    if (index < -1 || index >= box.count()) {
        return;
    }
    box.listIndex = index;
    Combo2_Click(boxIndex);
}

void Handlers::Combo2_Click(int boxIndex) {
    if (boxIndex < 0 || boxIndex > 1) {
        return;
    }
    ListBox& box = store().Combo2[static_cast<std::size_t>(boxIndex)];
    box.tag = std::to_string(box.listIndex);
    m_engine.verifnat();
    if (auto* host = m_engine.host()) {
        host->naturesChanged();
    }
    m_engine.Command3_Click();
}

void Handlers::selectOption1(int index) {
    if (index < 0 || index > 1) {
        return;
    }
    store().Option1 = index;
    Option1_Click();
}

void Handlers::Option1_Click() {
    State& s = state();
    if (!store().Timer1) {
        s.dessinSeul = true;
    }
    m_engine.fondschema();
    m_engine.Timer1_Timer();
    s.dessinSeul = false;
}

void Handlers::selectOption2(cat::Montage montage) {
    store().Option2 = montage;
    Option2_Click();
}

void Handlers::fillNatures(ListBox& box) const {
    if (m_engine.params().isPile()) {
        box.items.assign(cat::naturesPile.begin(), cat::naturesPile.end());
    } else {
        box.items.assign(cat::naturesElectrolyse.begin(), cat::naturesElectrolyse.end());
    }
}

void Handlers::Option2_Click() {
    ParamStore& p = store();
    m_engine.Command3_Click();
    state().natInvalide = false;
    const int t1 = p.Combo2[0].tagValue();
    const int t2 = p.Combo2[1].tagValue();
    const int remembered[2] = {t1, t2};
    for (int k = 0; k < 2; ++k) {
        ListBox& box = p.Combo2[static_cast<std::size_t>(k)];
        box.items.clear();
        box.listIndex = -1;
        fillNatures(box);
        const int t = remembered[k];
        selectCombo2(k, t < box.count() ? t : 0);
    }
    for (int k = 0; k < 2; ++k) {
        if (p.Combo2[static_cast<std::size_t>(k)].tagValue() == -1) {
            // The fourth of either list.
            selectCombo2(k, p.isPile() ? cat::natureZincPile : cat::natureGraphite);
        }
    }
    m_engine.Command3_Click();
}

void Handlers::setCheck1(int value) {
    store().Check1 = value == 1 ? 1 : 0;
    Check1_Click();
}

void Handlers::Check1_Click() {
    store().stopBoxWhite = store().Check1 == 1;
}

void Handlers::setCheck2(int value) {
    store().Check2 = value == 1 ? 1 : 0;
}

void Handlers::setCheck3(int value) {
    store().Check3 = value == 1 ? 1 : 0;
    Check3_Click();
}

void Handlers::Check3_Click() {
    m_engine.verifnat();
    m_engine.Command3_Click();
}

void Handlers::setCheck4(int value) {
    store().Check4 = value == 1 ? 1 : 0;
    Check4_Click();
}

void Handlers::Check4_Click() {
    m_engine.verifnat();
    m_engine.Command3_Click();
}

void Handlers::setHScroll2(int value) {
    store().HScroll2 = std::clamp(value, cat::hScroll2Min, cat::hScroll2Max);
}

void Handlers::setUpDown1(int value) {
    ParamStore& p = store();
    p.UpDown1 = std::clamp(value, cat::upDown1Min, cat::upDown1Max);
    p.Label1 = base::formatPattern(p.UpDown1 / 10.0, "#0.0") + " V";
}

void Handlers::setUpDown2(int value) {
    ParamStore& p = store();
    p.UpDown2 = std::clamp(value, cat::upDown2Min, cat::upDown2Max);
    // From 1 A on, in amperes, as the current's measurement is shown.
    p.Label2 = p.UpDown2 < 100 ? std::to_string(p.UpDown2 * 10) + " mA"
                               : base::formatPattern(p.UpDown2 / 100.0, "0.00") + " A";
}

} // namespace Ionaria::sim
