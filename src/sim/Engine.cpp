// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Engine.h"

#include "base/Rounding.h"
#include "sim/Catalogue.h"

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

} // namespace

Engine::Engine() = default;

double Engine::masseElectrode(int electrode) const {
    const int highest = m_params.isPile() ? 3 : 4;
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
    const ParamStore& p = m_params;
    s.tempsSec = 0;
    s.decalY = cat::decalYInitial;
    // The animation starts again with the experiment.
    s.cptPas = 0;
    s.cptIon1 = 0;
    s.cptIon2 = 0;
    const double bottom = fondY(s.decalY);

    if (!p.isPile()) {
        const float v = p.Text2[1].value();
        assignNearest(s.niveau1, static_cast<double>(474.0F - v / 500.0F * 150.0F));
        s.niveau2 = s.niveau1;
    } else {
        const float v1 = p.Text2[6].value();
        const float v2 = p.Text2[8].value();
        assignNearest(s.niveau1, static_cast<double>(474.0F - v1 / 200.0F * 150.0F));
        assignNearest(s.niveau2, static_cast<double>(474.0F - v2 / 200.0F * 150.0F));
    }

    if (p.Combo2[0].tagValue() == -1 || p.Combo2[1].tagValue() == -1) {
        return;
    }

    for (auto& row : s.masseMetal) {
        row.fill(0.0);
    }
    const int t1 = nature1();
    const int t2 = nature2();
    if (validCode(t1, 4)) {
        s.masseMetal[1][static_cast<std::size_t>(t1)] = static_cast<double>(p.Text2[2].value());
    }
    if (validCode(t2, 4)) {
        s.masseMetal[2][static_cast<std::size_t>(t2)] = static_cast<double>(p.Text2[3].value());
    }

    if (!p.isPile()) {
        std::fill(s.quantite.begin() + 1, s.quantite.end(), 0.0);
        const float c = p.Text2[0].value();
        const float v = p.Text2[1].value();
        const int index = p.Combo1.listIndex;
        if (index >= 0 && index < static_cast<int>(cat::electrolyteContents.size())) {
            const auto& e = cat::electrolyteContents[static_cast<std::size_t>(index)];
            for (const auto& solute : {e.first, e.second}) {
                const float amount = static_cast<float>(solute.multiplicity) * c * v / 1000.0F;
                s.quantite[static_cast<std::size_t>(solute.species)] = static_cast<double>(amount);
            }
        }
        quielectrolyse();
    } else {
        s.espece[1] = 0;
        s.espece[2] = 0;
        const auto halfCell = [&](const std::string& tag, float c, float v, float& e0,
                                  std::int16_t& nbe, double& ions) {
            for (std::size_t k = 0; k < cat::halfCellMetals.size(); ++k) {
                if (tag == std::to_string(k)) {
                    const auto& metal = cat::halfCellMetals[k];
                    e0 = metal.e0;
                    nbe = static_cast<std::int16_t>(metal.n);
                    ions = static_cast<double>(static_cast<float>(metal.cationsPerSalt) * c * v /
                                               1000.0F);
                }
            }
        };
        halfCell(p.Combo2[0].tag, p.Text2[5].value(), p.Text2[6].value(), s.e01, s.nbe1, s.ions1);
        halfCell(p.Combo2[1].tag, p.Text2[7].value(), p.Text2[8].value(), s.e02, s.nbe2, s.ions2);
    }

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

    fondschema();
}

void Engine::quielectrolyse() {
    State& s = m_state;
    const std::int16_t old1 = s.espece[1];
    const std::int16_t old2 = s.espece[2];

    if (s.quantite[cat::fer3] > 0.0) {
        s.espece[1] = cat::fer3;
        s.nbe1 = 1;
        s.e01 = 0.77F;
    } else if (s.quantite[cat::cuivre2] > 0.000001) {
        s.espece[1] = cat::cuivre2;
        s.nbe1 = 2;
        s.e01 = 0.34F;
    } else {
        s.espece[1] = cat::hydrogene;
        s.nbe1 = 1;
        s.e01 = -0.2F;
    }

    const auto& anode = s.masseMetal[2];
    if (anode[0] > 0.0) {
        s.espece[2] = cat::anodeAluminium;
        s.nbe2 = 3;
        s.e02 = -1.67F;
    } else if (anode[4] > 0.0) {
        s.espece[2] = cat::anodeZinc;
        s.nbe2 = 2;
        s.e02 = -0.76F;
    } else if (anode[2] > 0.0) {
        s.espece[2] = cat::anodeFer;
        s.nbe2 = 2;
        s.e02 = -0.44F;
    } else if (anode[1] > 0.0) {
        s.espece[2] = cat::anodeCuivre;
        s.nbe2 = 2;
        s.e02 = 0.34F;
    } else if (s.quantite[cat::chlorure] > 0.0) {
        s.espece[2] = cat::chlorure;
        s.nbe2 = 1;
        s.e02 = 1.36F;
    } else {
        s.espece[2] = cat::eau;
        s.nbe2 = 2;
        s.e02 = 1.43F;
    }

    if (s.espece[1] != old1 || s.espece[2] != old2) {
        s.cptDessin = 60;
    }
}

void Engine::applyReaction(int code, int electrode, double x) {
    auto& q = m_state.quantite;
    auto& masses = m_state.masseMetal[static_cast<std::size_t>(electrode)];
    switch (code) {
    case cat::chlorure:
        q[cat::chlorure] -= x;
        break;
    case cat::fer3:
        q[cat::fer3] -= x;
        q[cat::fer2] += x;
        break;
    case cat::cuivre2:
        q[cat::cuivre2] -= x / 2.0;
        masses[1] += x * cat::masseCu / 2.0;
        break;
    case cat::anodeAluminium:
        q[cat::aluminium3] += x / 3.0;
        masses[0] -= x * cat::masseAl / 3.0;
        break;
    case cat::anodeCuivre:
        q[cat::cuivre2] += x / 2.0;
        masses[1] -= x * cat::masseCu / 2.0;
        break;
    case cat::anodeFer:
        q[cat::fer2] += x / 2.0;
        masses[2] -= x * cat::masseFe / 2.0;
        break;
    case cat::anodeZinc:
        q[cat::zinc2] += x / 2.0;
        masses[4] -= x * cat::masseZn / 2.0;
        break;
    default: // hydrogen and water change no amount
        break;
    }
}

Engine::Reactant Engine::reactantOf(int code, int electrode) {
    auto& q = m_state.quantite;
    auto& masses = m_state.masseMetal[static_cast<std::size_t>(electrode)];
    const auto metal = [&](std::size_t nature, double n, double molarMass) {
        return Reactant{&masses[nature], n * masses[nature] / molarMass};
    };
    switch (code) {
    case cat::chlorure:
        return {&q[cat::chlorure], q[cat::chlorure]};
    case cat::fer3:
        return {&q[cat::fer3], q[cat::fer3]};
    case cat::cuivre2:
        return {&q[cat::cuivre2], 2.0 * q[cat::cuivre2]};
    case cat::anodeAluminium:
        return metal(0, 3.0, cat::masseAl);
    case cat::anodeCuivre:
        return metal(1, 2.0, cat::masseCu);
    case cat::anodeFer:
        return metal(2, 2.0, cat::masseFe);
    case cat::anodeZinc:
        return metal(4, 2.0, cat::masseZn);
    default: // hydrogen ions and water never run out
        return {};
    }
}

void Engine::stepElectrolyse(double x, double& conductance, double& u) {
    State& s = m_state;
    const ParamStore& p = m_params;
    quielectrolyse();
    // No reactant gives more charge than it holds: the charge converted at
    // both electrodes is bounded by the first to run out, which is then
    // used up exactly.
    const int codes[3] = {0, s.espece[1], s.espece[2]};
    double converted = x;
    for (int e = 1; e <= 2; ++e) {
        const Reactant r = reactantOf(codes[e], e);
        if (r.amount != nullptr && x > 0.0 && r.charge <= converted) {
            converted = std::max(r.charge, 0.0);
        }
    }
    for (int e = 1; e <= 2; ++e) {
        const Reactant r = reactantOf(codes[e], e);
        applyReaction(codes[e], e, converted);
        if (r.amount != nullptr && x > 0.0 && r.charge <= converted) {
            *r.amount = 0.0;
            s.cptDessin = 60;
        }
    }
    for (std::size_t i = 1; i <= 10; ++i) {
        if (s.quantite[i] < 0.0) {
            s.quantite[i] = 0.0;
            s.cptDessin = 60;
        }
    }
    double sum = 0.0;
    for (std::size_t i = 1; i <= 10; ++i) {
        sum += cat::conductivity[i] * s.quantite[i];
    }
    const auto volume = static_cast<double>(p.Text2[1].value());
    if (volume != 0.0) {
        conductance = 1000.0 * sum / volume;
    }
    const auto delta = static_cast<double>(s.e02 - s.e01);
    if (p.Option2 == cat::montageTension) {
        const double ug = p.UpDown1 / 10.0;
        s.intensite = static_cast<float>((ug - std::fabs(delta)) * conductance);
        u = ug;
    } else if (p.Option2 == cat::montageCourant) {
        if (conductance != 0.0) {
            u = delta + static_cast<double>(s.intensite) / conductance;
        } else {
            u = delta;
            s.intensite = 0.0F;
        }
    }
}

void Engine::stepPile(double x, int sens, double& conductance, double& u) {
    State& s = m_state;
    const ParamStore& p = m_params;
    const auto metalOf = [&](int h) -> const cat::HalfCellMetal* {
        const std::string& tag = p.Combo2[static_cast<std::size_t>(h - 1)].tag;
        if (tag.size() != 1 || tag[0] < '0' || tag[0] > '3') {
            return nullptr;
        }
        return &cat::halfCellMetals[static_cast<std::size_t>(tag[0] - '0')];
    };
    const auto oxidisedAt = [sens](int h) {
        return (h == 1 && sens == 1) || (h == 2 && sens == -1);
    };
    // What each half-cell consumes: the metal of the oxidised electrode, the
    // cations of the other. No reactant gives more charge than it holds.
    const auto reactant = [&](int h) -> Reactant {
        const cat::HalfCellMetal* metal = metalOf(h);
        if (metal == nullptr) {
            return {};
        }
        if (oxidisedAt(h)) {
            double& masse = s.masseMetal[static_cast<std::size_t>(h)]
                                        [static_cast<std::size_t>(metal->metalCode)];
            return {&masse, metal->n * masse / metal->molarMass};
        }
        double& ions = h == 1 ? s.ions1 : s.ions2;
        return {&ions, metal->n * ions};
    };
    double converted = x;
    for (int h = 1; h <= 2; ++h) {
        const Reactant r = reactant(h);
        if (r.amount != nullptr && x > 0.0 && r.charge <= converted) {
            converted = std::max(r.charge, 0.0);
        }
    }
    bool ranOut = false;
    for (int h = 1; h <= 2; ++h) {
        const cat::HalfCellMetal* metal = metalOf(h);
        if (metal == nullptr) {
            continue;
        }
        const Reactant r = reactant(h);
        const float c = p.Text2[h == 1 ? 5U : 7U].value();
        const float v = p.Text2[h == 1 ? 6U : 8U].value();
        double& ions = h == 1 ? s.ions1 : s.ions2;
        double& masse =
            s.masseMetal[static_cast<std::size_t>(h)][static_cast<std::size_t>(metal->metalCode)];
        const double n = metal->n;
        if (oxidisedAt(h)) {
            ions += converted / n;
            masse -= converted * metal->molarMass / n;
        } else {
            ions -= converted / n;
            masse += converted * metal->molarMass / n;
        }
        if (r.amount != nullptr && x > 0.0 && r.charge <= converted) {
            *r.amount = 0.0;
            ranOut = true;
        }
        if (v != 0.0F) {
            conductance += metal->cationFactor * 1000.0 * ions / static_cast<double>(v) +
                           metal->anionFactor * static_cast<double>(c);
        }
    }

    const auto delta = static_cast<double>(s.e02 - s.e01);
    double r = 0.0;
    if (s.ions1 > 0.0 && s.ions2 > 0.0) {
        const double vMin = static_cast<double>(std::min(p.Text2[6].value(), p.Text2[8].value()));
        const double denominator = 0.001 * vMin / 200.0 * conductance;
        if (denominator != 0.0) {
            r = 0.1 / denominator;
        }
        const int t1 = nature1();
        const int t2 = nature2();
        if (validCode(t1, 4) && validCode(t2, 4)) {
            const double mMin = std::min(s.masseMetal[1][static_cast<std::size_t>(t1)],
                                         s.masseMetal[2][static_cast<std::size_t>(t2)]);
            r = mMin > 0.0 ? 5.0 * r / mMin : 1E9;
        }
    }
    if (r > 0.0) {
        const double total = static_cast<double>(p.Text2[4].value()) + r;
        if (total != 0.0) {
            s.intensite = static_cast<float>(std::fabs(delta) / total);
        }
    }
    if (ranOut) {
        s.intensite = 0.0F;
        s.cptDessin = 60;
    }
    for (double* ions : {&s.ions1, &s.ions2}) {
        if (*ions < 0.0) {
            *ions = 0.0;
            s.intensite = 0.0F;
            s.cptDessin = 60;
        }
    }
    for (std::size_t m = 0; m <= 3; ++m) {
        for (std::size_t e = 1; e <= 2; ++e) {
            if (s.masseMetal[e][m] < 0.0) {
                s.masseMetal[e][m] = 0.0;
                s.intensite = 0.0F;
                s.cptDessin = 60;
            }
        }
    }
    if (conductance != 0.0) {
        // The voltage across the resistor, which the current goes through.
        u = static_cast<double>(p.Text2[4].value()) * static_cast<double>(s.intensite);
    } else {
        u = std::fabs(delta);
        s.intensite = 0.0F;
    }
    u *= sens;
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
    if (p.Option2 == cat::montageCourant) {
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
            stepElectrolyse(x, conductance, u);
        } else {
            stepPile(x, sens, conductance, u);
        }

        const auto delta = static_cast<double>(s.e02 - s.e01);
        if (s.intensite > 2.0F && p.Option2 == cat::montageTension) {
            s.intensite = 2.0F;
            if (conductance != 0.0) {
                u = std::fabs(delta) + 2.0 / conductance;
            } else {
                u = std::fabs(delta);
                s.intensite = 0.0F;
            }
        }

        const int highest = std::min(p.Combo2[0].count(), 5) - 1;
        double sum1 = 0.0;
        double sum2 = 0.0;
        for (int m = 0; m <= highest; ++m) {
            auto& m1 = s.masseMetal[1][static_cast<std::size_t>(m)];
            auto& m2 = s.masseMetal[2][static_cast<std::size_t>(m)];
            m1 = std::max(m1, 0.0);
            m2 = std::max(m2, 0.0);
            sum1 += m1;
            sum2 += m2;
        }
        if (sum1 == 0.0 || sum2 == 0.0) {
            s.intensite = 0.0F;
            // The voltage without current: the generator's own, the couples'
            // difference, or none across the cell's resistor.
            if (p.Option2 == cat::montageTension) {
                u = p.UpDown1 / 10.0;
            } else if (p.Option2 == cat::montageCourant) {
                u = static_cast<double>(s.e02 - s.e01);
            } else {
                u = 0.0;
            }
            electrodes();
        }

        bool stop = false;
        if (s.intensite > 0.0F) {
            stop = p.Check1 == 1 && static_cast<double>(p.Text2[cat::text2StopBox].value()) ==
                                        static_cast<double>(s.tempsSec);
            p.mesures.tempsShown = true;
            p.mesures.tempsSec = s.tempsSec;
            s.resteSec = s.tempsSec % 3600;
            // At the end of its 32-bit range the clock stays, rather than wrap.
            if (s.tempsSec < std::numeric_limits<std::int32_t>::max()) {
                ++s.tempsSec;
            }
        }
        p.mesures.intensiteShown = true;
        p.mesures.intensite = s.intensite;
        p.mesures.tensionShown = true;
        p.mesures.tension = u;
        s.tensionAffichee = u;
        if (m_observer != nullptr) {
            m_observer->stepDone(stop);
        }
        if (stop) {
            Command5_Click();
            break;
        }
    }
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
        if (p.Combo2[0].listIndex == p.Combo2[1].listIndex &&
            p.Text2[5].text() != p.Text2[7].text()) {
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
        if (electrolyte < 2 && refuses({0, 2, 4})) {
            hit = true;
        }
        if (electrolyte == 3 && refuses({0, 2, 4})) {
            hit = true;
        }
        if (electrolyte == 6 && refuses({0, 2, 4})) {
            hit = true;
        }
        if (electrolyte == 8 && refuses({0, 1, 2, 4})) {
            hit = true;
        }
        if (electrolyte == 7 && refuses({0, 4})) {
            hit = true;
        }
        if (electrolyte == 9 && refuses({0})) {
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
    const State& s = m_state;
    return tickRuns() && ((s.tempsSec < 300 && s.tempsSec % 10 == 0) || s.cptDessin > 60);
}

void Engine::Timer1_Timer() {
    State& s = m_state;
    if (!tickRuns()) {
        return;
    }
    if (s.tempsSec < 300 && s.tempsSec % 10 == 0) {
        fondschema();
    }
    if (s.cptDessin > 60) {
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
