// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Chemistry.h"

#include "base/DecimalLogarithm.h"
#include "sim/Catalogue.h"
#include "sim/Characteristic.h"
#include "sim/Nernst.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace Ionaria::sim {

namespace cat = catalogue;

namespace {

constexpr float pileCurrentFloor = 1E-06F; // A

// What a reaction consumes that can run out, and the charge in mol of
// electrons that it can give before it does; none when water takes over
// from what runs out (hydrogen and hydroxide ions).
struct Reactant {
    double* amount = nullptr;
    double charge = 0.0;
};

void applyReaction(State& s, int code, int electrode, double x) {
    auto& q = s.quantite;
    auto& masses = s.masseMetal[static_cast<std::size_t>(electrode)];
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
    case cat::fer2:
        q[cat::fer2] -= x / 2.0;
        masses[2] += x * cat::masseFe / 2.0;
        break;
    case cat::zinc2:
        q[cat::zinc2] -= x / 2.0;
        masses[4] += x * cat::masseZn / 2.0;
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
    case cat::hydrogene: {
        // H+ first; once none is left, water takes over within the step.
        const double h = std::clamp(q[cat::hydrogene], 0.0, x);
        q[cat::hydrogene] -= h;
        q[cat::hydroxyde] += x - h;
        break;
    }
    case cat::eau: {
        // HO- first; once none is left, water takes over within the step.
        const double o = std::clamp(q[cat::hydroxyde], 0.0, x);
        q[cat::hydroxyde] -= o;
        q[cat::hydrogene] += x - o;
        break;
    }
    default:
        break;
    }
}

// H+ and HO- left together make water: the smaller amount is used up.
void neutralise(State& s) {
    auto& q = s.quantite;
    const double n = std::min(q[cat::hydrogene], q[cat::hydroxyde]);
    if (n > 0.0) {
        q[cat::hydrogene] -= n;
        q[cat::hydroxyde] -= n;
    }
}

Reactant reactantOf(State& s, int code, int electrode) {
    auto& q = s.quantite;
    auto& masses = s.masseMetal[static_cast<std::size_t>(electrode)];
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
    case cat::fer2:
        return {&q[cat::fer2], 2.0 * q[cat::fer2]};
    case cat::zinc2:
        return {&q[cat::zinc2], 2.0 * q[cat::zinc2]};
    case cat::anodeAluminium:
        return metal(0, 3.0, cat::masseAl);
    case cat::anodeCuivre:
        return metal(1, 2.0, cat::masseCu);
    case cat::anodeFer:
        return metal(2, 2.0, cat::masseFe);
    case cat::anodeZinc:
        return metal(4, 2.0, cat::masseZn);
    default: // water never runs out, and takes over from H+ and HO-
        return {};
    }
}

// The metal of half-cell h (1 or 2) by the tag of its nature box; none for a
// tag other than "0" to "3".
const cat::HalfCellMetal* metalOf(const ParamStore& p, int h) {
    const std::string& tag = p.Combo2[static_cast<std::size_t>(h - 1)].tag;
    if (tag.size() != 1 || tag[0] < '0' || tag[0] > '3') {
        return nullptr;
    }
    return &cat::halfCellMetals[static_cast<std::size_t>(tag[0] - '0')];
}

bool oxidisedAt(int h, int sens) {
    return (h == 1 && sens == 1) || (h == 2 && sens == -1);
}

// What half-cell h consumes: the metal of the oxidised electrode, the cations
// of the other.
Reactant pileReactant(State& s, const ParamStore& p, int h, int sens) {
    const cat::HalfCellMetal* metal = metalOf(p, h);
    if (metal == nullptr) {
        return {};
    }
    if (oxidisedAt(h, sens)) {
        double& masse =
            s.masseMetal[static_cast<std::size_t>(h)][static_cast<std::size_t>(metal->metalCode)];
        return {&masse, metal->n * masse / metal->molarMass};
    }
    double& ions = h == 1 ? s.ions1 : s.ions2;
    return {&ions, metal->n * ions};
}

// Converts x mol of electrons in both half-cells, no reactant giving more
// charge than it holds, and adds each half-cell's conductance. Returns
// whether a reactant ran out.
bool convertPile(State& s, const ParamStore& p, double x, int sens, double& conductance) {
    double converted = x;
    for (int h = 1; h <= 2; ++h) {
        const Reactant r = pileReactant(s, p, h, sens);
        if (r.amount != nullptr && x > 0.0 && r.charge <= converted) {
            converted = std::max(r.charge, 0.0);
        }
    }
    bool ranOut = false;
    for (int h = 1; h <= 2; ++h) {
        const cat::HalfCellMetal* metal = metalOf(p, h);
        if (metal == nullptr) {
            continue;
        }
        const Reactant r = pileReactant(s, p, h, sens);
        const float c =
            p.Text2[h == 1 ? cat::Text2ConcentrationG : cat::Text2ConcentrationD].value();
        const float v = p.Text2[h == 1 ? cat::Text2VolumeG : cat::Text2VolumeD].value();
        double& ions = h == 1 ? s.ions1 : s.ions2;
        double& masse =
            s.masseMetal[static_cast<std::size_t>(h)][static_cast<std::size_t>(metal->metalCode)];
        const double n = metal->n;
        if (oxidisedAt(h, sens)) {
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
    return ranOut;
}

// The cell's internal resistance, Ω: from the conductance and the smaller
// volume, larger as the thinner electrode wears; 0 while a half-cell holds no
// cations.
double internalResistance(const State& s, const ParamStore& p, double conductance) {
    double r = 0.0;
    if (!(s.ions1 > 0.0 && s.ions2 > 0.0)) {
        return r;
    }
    const double vMin = static_cast<double>(
        std::min(p.Text2[cat::Text2VolumeG].value(), p.Text2[cat::Text2VolumeD].value()));
    const double denominator = 0.001 * vMin / 200.0 * conductance;
    if (denominator != 0.0) {
        r = 0.1 / denominator;
    }
    const int t1 = p.Combo2[0].tagValue();
    const int t2 = p.Combo2[1].tagValue();
    if (t1 >= 0 && t1 <= 4 && t2 >= 0 && t2 <= 4) {
        const double mMin = std::min(s.masseMetal[1][static_cast<std::size_t>(t1)],
                                     s.masseMetal[2][static_cast<std::size_t>(t2)]);
        r = mMin > 0.0 ? 5.0 * r / mMin : 1E9;
    }
    return r;
}

} // namespace

void quielectrolyse(State& s, bool surtension) {
    const std::int16_t old1 = s.espece[1];
    const std::int16_t old2 = s.espece[2];

    // With hydrogen's overpotential (E0 - 0.8 V for H+/H2), iron(II) and
    // zinc(II) come before it.
    if (s.quantite[cat::fer3] > 0.0) {
        s.espece[1] = cat::fer3;
        s.nbe1 = 1;
        s.e01 = 0.77F;
    } else if (s.quantite[cat::cuivre2] > 0.000001) {
        s.espece[1] = cat::cuivre2;
        s.nbe1 = 2;
        s.e01 = 0.34F;
    } else if (surtension && s.quantite[cat::fer2] > 0.0) {
        s.espece[1] = cat::fer2;
        s.nbe1 = 2;
        s.e01 = cat::halfCellMetals[2].e0;
    } else if (surtension && s.quantite[cat::zinc2] > 0.0) {
        s.espece[1] = cat::zinc2;
        s.nbe1 = 2;
        s.e01 = cat::halfCellMetals[3].e0;
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
        s.cptDessin = redrawCounterLimit;
    }
}

int halfEquationNumber(const State& s, int electrode) {
    const auto& q = s.quantite;
    if (electrode == 1) {
        return s.espece[1] == cat::hydrogene && !(q[cat::hydrogene] > 0.0) ? cat::eauReduite
                                                                           : s.espece[1];
    }
    return s.espece[2] == cat::eau && q[cat::hydroxyde] > 0.0 ? cat::hydroxydeOxyde : s.espece[2];
}

double pH(const State& s, double volumeMl) {
    if (!(volumeMl > 0.0)) {
        return 7.0;
    }
    // The excess of H+ over HO-, mol/L, shared out by water's equilibrium.
    const double c = 1000.0 * (s.quantite[cat::hydrogene] - s.quantite[cat::hydroxyde]) / volumeMl;
    const double root = std::sqrt(c * c + 4.0 * cat::produitIoniqueEau);
    // Of the two forms of the same root, the one that loses no digits.
    const double h = c >= 0.0 ? (c + root) / 2.0 : 2.0 * cat::produitIoniqueEau / (root - c);
    return -base::decimalLogarithm(h);
}

void stepElectrolyse(State& s, const ParamStore& p, double x, double& conductance, double& u) {
    const int shown1 = halfEquationNumber(s, 1);
    const int shown2 = halfEquationNumber(s, 2);
    quielectrolyse(s, p.Check4 == 1);
    // No reactant gives more charge than it holds: the charge converted at
    // both electrodes is bounded by the first to run out, which is then
    // used up exactly.
    const int codes[3] = {0, s.espece[1], s.espece[2]};
    double converted = x;
    for (int e = 1; e <= 2; ++e) {
        const Reactant r = reactantOf(s, codes[e], e);
        if (r.amount != nullptr && x > 0.0 && r.charge <= converted) {
            converted = std::max(r.charge, 0.0);
        }
    }
    for (int e = 1; e <= 2; ++e) {
        const Reactant r = reactantOf(s, codes[e], e);
        applyReaction(s, codes[e], e, converted);
        if (r.amount != nullptr && x > 0.0 && r.charge <= converted) {
            *r.amount = 0.0;
            s.cptDessin = redrawCounterLimit;
        }
    }
    for (std::size_t i = 1; i <= 10; ++i) {
        if (s.quantite[i] < 0.0) {
            s.quantite[i] = 0.0;
            s.cptDessin = redrawCounterLimit;
        }
    }
    neutralise(s);
    // The legend follows what water does.
    if (halfEquationNumber(s, 1) != shown1 || halfEquationNumber(s, 2) != shown2) {
        s.cptDessin = redrawCounterLimit;
    }
    // The back-voltage of the amounts the current now meets.
    nernst::applyElectrolyse(s, p);
    if (p.Text2[cat::Text2Volume].value() != 0.0F) {
        conductance = vesselConductance(s, p);
    }
    const auto delta = static_cast<double>(s.e02 - s.e01);
    if (p.Option2 == cat::Montage::Tension) {
        const double ug = p.UpDown1 / 10.0;
        // Below the back-voltage no current flows; a montage that is itself
        // a cell (delta < 0) drives one even at 0 V.
        s.intensite = static_cast<float>(std::max(0.0, (ug - delta) * conductance));
        u = ug;
    } else if (p.Option2 == cat::Montage::Courant) {
        if (conductance != 0.0) {
            u = delta + static_cast<double>(s.intensite) / conductance;
        } else {
            u = delta;
            s.intensite = 0.0F;
        }
    }
}

void stepPile(State& s, const ParamStore& p, double x, int sens, double& conductance, double& u) {
    const bool ranOut = convertPile(s, p, x, sens, conductance);
    nernst::applyPile(s, p);
    const auto delta = static_cast<double>(s.e02 - s.e01);
    const double r = internalResistance(s, p, conductance);
    if (r > 0.0) {
        const double total = static_cast<double>(p.Text2[cat::Text2Resistance].value()) + r;
        if (total != 0.0) {
            s.intensite = static_cast<float>(std::fabs(delta) / total);
        }
    }
    // As the potentials even out the current only tends to zero: below a
    // microampere the cell counts as spent, and the clock stops.
    if (nernst::enabled(p) && s.intensite < pileCurrentFloor) {
        s.intensite = 0.0F;
    }
    if (ranOut) {
        s.intensite = 0.0F;
        s.cptDessin = redrawCounterLimit;
    }
    for (double* ions : {&s.ions1, &s.ions2}) {
        if (*ions < 0.0) {
            *ions = 0.0;
            s.intensite = 0.0F;
            s.cptDessin = redrawCounterLimit;
        }
    }
    if (clearNegativeMasses(s, 3).cleared) {
        s.intensite = 0.0F;
        s.cptDessin = redrawCounterLimit;
    }
    if (conductance != 0.0) {
        // The voltage across the resistor, which the current goes through.
        u = static_cast<double>(p.Text2[cat::Text2Resistance].value()) *
            static_cast<double>(s.intensite);
    } else {
        u = std::fabs(delta);
        s.intensite = 0.0F;
    }
    u *= sens;
}

bool limitCurrent(State& s, const ParamStore& p, double conductance, double& u) {
    if (!(s.intensite > 2.0F && p.Option2 == cat::Montage::Tension)) {
        return false;
    }
    const auto delta = static_cast<double>(s.e02 - s.e01);
    s.intensite = 2.0F;
    // The voltage the generator falls to, on the same characteristic.
    if (conductance != 0.0) {
        u = delta + 2.0 / conductance;
        return true;
    }
    u = delta;
    s.intensite = 0.0F;
    return false;
}

bool stopWhenUsedUp(State& s, const ParamStore& p, double& u) {
    const ElectrodeMasses masses = clearNegativeMasses(s, std::min(p.Combo2[0].count(), 5) - 1);
    if (masses.electrode1 != 0.0 && masses.electrode2 != 0.0) {
        return false;
    }
    s.intensite = 0.0F;
    // The voltage without current: the generator's own, the couples'
    // difference, or none across the cell's resistor.
    if (p.Option2 == cat::Montage::Tension) {
        u = p.UpDown1 / 10.0;
    } else if (p.Option2 == cat::Montage::Courant) {
        u = static_cast<double>(s.e02 - s.e01);
    } else {
        u = 0.0;
    }
    return true;
}

} // namespace Ionaria::sim
