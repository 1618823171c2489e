// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Engine.h"

#include "base/Rounding.h"
#include "sim/Catalogue.h"
#include "sim/Chemistry.h"
#include "sim/Nernst.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Ionaria::sim {

namespace cat = catalogue;

namespace {

constexpr double fondY(std::int16_t decalY) {
    return static_cast<double>(decalY) + cat::fondCuve;
}

void assignNearest(std::int16_t& target, double value) {
    if (const auto rounded = base::roundToInt16(value)) {
        target = *rounded;
    }
}

bool validCode(int code, int highest) {
    return code >= 0 && code <= highest;
}

bool scheduledRedraw(const State& s) {
    return s.tempsSec < redrawScheduleEndSec && s.tempsSec % redrawSchedulePeriodSec == 0;
}

} // namespace

Engine::Engine() = default;

double Engine::masseElectrode(int electrode) const {
    const int highest = m_params.highestNatureCode();
    double total = 0.0;
    for (int m = 0; m <= highest; ++m) {
        total +=
            m_state.masseMetal[static_cast<std::size_t>(electrode)][static_cast<std::size_t>(m)];
    }
    return total;
}

void Engine::fondschema() {
    if (m_host != nullptr) {
        m_host->fondschema();
    } else if (!m_state.natInvalide) {
        m_state.cptDessin = 0;
    }
}

void Engine::electrodes() {
    if (m_host != nullptr) {
        m_host->electrodes();
    }
}

void Engine::RAZ() {
    if (m_observer != nullptr) {
        m_observer->runReset();
    }
    State& s = m_state;
    s.tempsSec = 0;
    s.decalY = cat::decalYInitial;
    // The animation starts again with the experiment.
    s.cptPas = 0;
    s.cptIon1 = 0;
    s.cptIon2 = 0;
    resetLevels();
    if (m_params.Combo2[0].tagValue() == -1 || m_params.Combo2[1].tagValue() == -1) {
        return;
    }
    for (auto& row : s.masseMetal) {
        row.fill(0.0);
    }
    const int t1 = nature1();
    const int t2 = nature2();
    if (validCode(t1, cat::natureZincElectrolyse)) {
        s.masseMetal[1][static_cast<std::size_t>(t1)] =
            static_cast<double>(m_params.Text2[cat::Text2MasseG].value());
    }
    if (validCode(t2, cat::natureZincElectrolyse)) {
        s.masseMetal[2][static_cast<std::size_t>(t2)] =
            static_cast<double>(m_params.Text2[cat::Text2MasseD].value());
    }
    if (!m_params.isPile()) {
        resetElectrolysis();
    } else {
        resetCell();
    }
    resetParticleHeights();
    fondschema();
}

void Engine::resetLevels() {
    State& s = m_state;
    const ParamStore& p = m_params;
    if (!p.isPile()) {
        const float v = p.Text2[cat::Text2Volume].value();
        assignNearest(s.niveau1, static_cast<double>(474.0F - v / 500.0F * 150.0F));
        s.niveau2 = s.niveau1;
    } else {
        const float v1 = p.Text2[cat::Text2VolumeG].value();
        const float v2 = p.Text2[cat::Text2VolumeD].value();
        assignNearest(s.niveau1, static_cast<double>(474.0F - v1 / 200.0F * 150.0F));
        assignNearest(s.niveau2, static_cast<double>(474.0F - v2 / 200.0F * 150.0F));
    }
}

void Engine::resetElectrolysis() {
    State& s = m_state;
    const ParamStore& p = m_params;
    std::fill(s.quantite.begin() + 1, s.quantite.end(), 0.0);
    const float c = p.Text2[cat::Text2Concentration].value();
    const float v = p.Text2[cat::Text2Volume].value();
    const int index = p.Combo1.listIndex;
    if (index >= 0 && index < static_cast<int>(cat::electrolyteContents.size())) {
        const auto& e = cat::electrolyteContents[static_cast<std::size_t>(index)];
        for (const auto& solute : {e.first, e.second}) {
            const float amount = static_cast<float>(solute.multiplicity) * c * v / 1000.0F;
            s.quantite[static_cast<std::size_t>(solute.species)] = static_cast<double>(amount);
        }
    }
    quielectrolyse();
}

void Engine::resetCell() {
    State& s = m_state;
    const ParamStore& p = m_params;
    s.espece[1] = 0;
    s.espece[2] = 0;
    const auto halfCell = [&](const std::string& tag, float c, float v, float& e0,
                              std::int16_t& nbe, double& ions) {
        for (std::size_t k = 0; k < cat::halfCellMetals.size(); ++k) {
            if (tag == std::to_string(k)) {
                const auto& metal = cat::halfCellMetals[k];
                e0 = metal.e0;
                nbe = static_cast<std::int16_t>(metal.n);
                ions =
                    static_cast<double>(static_cast<float>(metal.cationsPerSalt) * c * v / 1000.0F);
            }
        }
    };
    halfCell(p.Combo2[0].tag, p.Text2[cat::Text2ConcentrationG].value(),
             p.Text2[cat::Text2VolumeG].value(), s.e01, s.nbe1, s.ions1);
    halfCell(p.Combo2[1].tag, p.Text2[cat::Text2ConcentrationD].value(),
             p.Text2[cat::Text2VolumeD].value(), s.e02, s.nbe2, s.ions2);
    nernst::applyPile(s, p);
}

void Engine::resetParticleHeights() {
    State& s = m_state;
    const double bottom = fondY(s.decalY);
    const auto height = [&](std::int16_t niveau) {
        const double r = m_random.next();
        return (bottom - niveau - 10.0) * r + niveau + 5.0;
    };
    for (std::size_t j = 1; j <= 13; j += 2) {
        assignNearest(s.posY[1][j], height(s.niveau1));
        if (s.espece[1] != cat::hydrogene) {
            assignNearest(s.posY[1][j + 1], height(s.niveau1));
        } else {
            s.posY[1][j + 1] = s.posY[1][j];
        }
        assignNearest(s.posY[2][j], height(s.niveau2));
        if (s.espece[2] != cat::chlorure && s.espece[2] != cat::eau) {
            assignNearest(s.posY[2][j + 1], height(s.niveau2));
        } else {
            s.posY[2][j + 1] = s.posY[2][j];
        }
    }
}

void Engine::quielectrolyse() {
    sim::quielectrolyse(m_state, m_params.Check4 == 1);
    nernst::applyElectrolyse(m_state, m_params);
}

bool Engine::electrodeUsedUp() const {
    const int highest = std::min(m_params.Combo2[0].count(), 5) - 1;
    double sum1 = 0.0;
    double sum2 = 0.0;
    for (int m = 0; m <= highest; ++m) {
        sum1 += m_state.masseMetal[1][static_cast<std::size_t>(m)];
        sum2 += m_state.masseMetal[2][static_cast<std::size_t>(m)];
    }
    return sum1 <= 0.0 || sum2 <= 0.0;
}

void Engine::variations(int& sens) {
    State& s = m_state;
    ParamStore& p = m_params;
    if (p.Option2 == cat::Montage::Courant) {
        // The generator drives no current through a used-up electrode.
        s.intensite = electrodeUsedUp() ? 0.0F : static_cast<float>(p.UpDown2) / 100.0F;
    }
    int steps = 1;
    if (p.Timer1 && !m_resetTick) {
        steps = m_stepsOverride > 0 ? m_stepsOverride : p.HScroll2;
    }
    double u = 0.0;
    for (int k = 1; k <= steps; ++k) {
        double x = static_cast<double>(s.intensite) / cat::faraday;
        if (s.tempsSec == 0) {
            x = 0.0;
        }
        double conductance = 0.0;
        if (!p.isPile()) {
            stepElectrolyse(s, p, x, conductance, u);
        } else {
            stepPile(s, p, x, sens, conductance, u);
        }
        p.mesures.limite = limitCurrent(s, p, conductance, u);
        if (stopWhenUsedUp(s, p, u)) {
            p.mesures.limite = false;
            electrodes();
        }
        const bool stop = countSecond();
        showMeasures(u);
        if (m_observer != nullptr) {
            m_observer->stepDone(stop);
        }
        if (stop) {
            Command5_Click();
            break;
        }
    }
}

bool Engine::countSecond() {
    State& s = m_state;
    ParamStore& p = m_params;
    // Time runs only while a current flows.
    if (!(s.intensite > 0.0F)) {
        return false;
    }
    const bool stop = p.Check1 == 1 && static_cast<double>(p.Text2[cat::Text2Arret].value()) ==
                                           static_cast<double>(s.tempsSec);
    p.mesures.tempsShown = true;
    p.mesures.tempsSec = s.tempsSec;
    s.resteSec = s.tempsSec % 3600;
    // At the end of its 32-bit range the clock stays, rather than wrap.
    if (s.tempsSec < std::numeric_limits<std::int32_t>::max()) {
        ++s.tempsSec;
    }
    return stop;
}

void Engine::showMeasures(double u) {
    ParamStore& p = m_params;
    p.mesures.intensiteShown = true;
    p.mesures.intensite = m_state.intensite;
    p.mesures.tensionShown = true;
    p.mesures.tension = u;
    m_state.tensionAffichee = u;
}

void Engine::setNatureMessage(const char* line1, const char* line2) {
    m_state.natInvalide = true;
    m_state.messageNat1 = line1;
    m_state.messageNat2 = line2;
}

void Engine::verifnat() {
    State& s = m_state;
    const ParamStore& p = m_params;
    s.natInvalide = false;
    s.messageNat1.clear();
    s.messageNat2.clear();
    if (p.isPile()) {
        // With the potentials following the concentrations, a concentration
        // cell is one like any other.
        if (!nernst::enabled(p) && p.Combo2[0].listIndex == p.Combo2[1].listIndex &&
            p.Text2[cat::Text2ConcentrationG].text() != p.Text2[cat::Text2ConcentrationD].text()) {
            setNatureMessage("Les piles de concentration ne sont pas traitées :",
                             "modifier la nature d'une demi-pile.");
        }
    } else {
        const int electrolyte = p.Combo1.listIndex;
        const int t1 = nature1();
        const int t2 = nature2();
        const auto refuses = [&](std::initializer_list<int> codes) {
            for (int code : codes) {
                if (t1 == code || t2 == code) {
                    return true;
                }
            }
            return false;
        };
        bool hit = false;
        // The two acids, and a list with no choice yet.
        if (electrolyte <= cat::electrolyteAcideSulfurique &&
            refuses({cat::natureAluminium, cat::natureFer, cat::natureZincElectrolyse})) {
            hit = true;
        }
        if (electrolyte == cat::electrolyteChlorureCuivre &&
            refuses({cat::natureAluminium, cat::natureFer, cat::natureZincElectrolyse})) {
            hit = true;
        }
        if (electrolyte == cat::electrolyteSulfateCuivre &&
            refuses({cat::natureAluminium, cat::natureFer, cat::natureZincElectrolyse})) {
            hit = true;
        }
        if (electrolyte == cat::electrolyteSulfateFer3 &&
            refuses({cat::natureAluminium, cat::natureCuivre, cat::natureFer,
                     cat::natureZincElectrolyse})) {
            hit = true;
        }
        if (electrolyte == cat::electrolyteSulfateFer2 &&
            refuses({cat::natureAluminium, cat::natureZincElectrolyse})) {
            hit = true;
        }
        if (electrolyte == cat::electrolyteSulfateZinc && refuses({cat::natureAluminium})) {
            hit = true;
        }
        if (hit) {
            setNatureMessage("Réaction spontanée à la surface des électrodes :",
                             "modifier la nature des électrodes ou l'électrolyte.");
        }
    }
    if (s.natInvalide && m_host != nullptr) {
        m_host->drawNatureMessage(s.messageNat1, s.messageNat2);
    }
}

void Engine::Command5_Click() {
    m_params.Timer1 = !m_params.Timer1;
    if (m_host != nullptr) {
        m_host->timerChanged(m_params.Timer1);
    }
}

void Engine::Command3_Click() {
    const bool wasRunning = m_params.Timer1;
    m_params.mesures.tempsShown = true;
    m_params.mesures.tempsSec = 0;
    RAZ();
    fondschema();
    // The measurements of the initial state come from one step, whatever
    // the speed.
    m_resetTick = true;
    Timer1_Timer();
    m_resetTick = false;
    m_params.mesures.tempsShown = true;
    m_params.mesures.tempsSec = 0;
    m_state.tempsSec = 0;
    if (m_params.Timer1 != wasRunning) {
        m_params.Timer1 = wasRunning;
        if (m_host != nullptr) {
            m_host->timerChanged(wasRunning);
        }
    }
}

double Engine::ringPeriod() const {
    const State& s = m_state;
    double t = s.intensite >= 0.000001F ? 1.8 / static_cast<double>(s.intensite) : 1800000.0;
    if (!m_params.isMacro() && m_params.Check2 == 1) {
        t = 500.0;
    }
    return std::max(t, 17.0);
}

int Engine::direction() {
    State& s = m_state;
    if (!m_params.isPile()) {
        return -1;
    }
    if (s.e01 == s.e02) {
        s.intensite = 0.0F;
    }
    return s.e01 < s.e02 ? 1 : -1;
}

bool Engine::tickRuns() const {
    return !m_state.natInvalide && m_state.nbe2 != 0 && m_state.nbe1 != 0;
}

bool Engine::tickRedrawsBackground() const {
    return tickRuns() && (scheduledRedraw(m_state) || m_state.cptDessin > redrawCounterLimit);
}

void Engine::Timer1_Timer() {
    State& s = m_state;
    if (!tickRuns()) {
        return;
    }
    if (scheduledRedraw(s)) {
        fondschema();
    }
    if (s.cptDessin > redrawCounterLimit) {
        fondschema();
    }
    if (s.cptDessin < 32767) {
        ++s.cptDessin;
    }
    if (m_host != nullptr) {
        m_host->clearMovingLayer();
    }
    const double period = ringPeriod();
    int sens = direction();
    if (!s.dessinSeul) {
        variations(sens);
    }
    // The moving layer advances at every tick, drawn or not.
    m_frame = advanceMovingLayer(s, m_params, m_random, period, sens);
    if (m_host != nullptr) {
        m_host->drawMovingLayer(m_frame);
    }
}

} // namespace Ionaria::sim
