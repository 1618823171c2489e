// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Nernst.h"

#include "base/DecimalLogarithm.h"
#include "base/Numbers.h"
#include "sim/Catalogue.h"

#include <algorithm>

namespace Ionaria::sim::nernst {

namespace cat = catalogue;

double activity(double amountMol, double volumeMl) {
    if (!(volumeMl > 0.0)) {
        return activityFloor;
    }
    const double c = 1000.0 * amountMol / volumeMl;
    // A NaN amount reads as the floor too.
    return c > activityFloor ? c : activityFloor;
}

double metalPotential(double e0, int n, double cationActivity) {
    return e0 + k / static_cast<double>(n) *
                    base::decimalLogarithm(std::max(cationActivity, activityFloor));
}

double ironPotential(double fe3Activity, double fe2Activity) {
    return 0.77 + k * base::decimalLogarithm(std::max(fe3Activity, activityFloor) /
                                             std::max(fe2Activity, activityFloor));
}

double chlorinePotential(double chlorideActivity) {
    return 1.36 - k * base::decimalLogarithm(std::max(chlorideActivity, activityFloor));
}

std::string potentialsText(const State& s) {
    return "E(G) = " + base::formatPattern(static_cast<double>(s.e01), "0.000") +
           " V   E(D) = " + base::formatPattern(static_cast<double>(s.e02), "0.000") + " V";
}

namespace {

// The potential of half-cell h (1 or 2); a nature the cell does not know
// leaves e as it is.
void halfCellPotential(const State& s, const ParamStore& p, int h, float& e) {
    const std::string& tag = p.Combo2[static_cast<std::size_t>(h - 1)].tag;
    if (tag.size() != 1 || tag[0] < '0' || tag[0] > '3') {
        return;
    }
    const auto& metal = cat::halfCellMetals[static_cast<std::size_t>(tag[0] - '0')];
    const float v = p.Text2[h == 1 ? cat::Text2VolumeG : cat::Text2VolumeD].value();
    const double a = activity(h == 1 ? s.ions1 : s.ions2, static_cast<double>(v));
    e = static_cast<float>(metalPotential(static_cast<double>(metal.e0), metal.n, a));
}

} // namespace

void applyPile(State& s, const ParamStore& p) {
    if (!enabled(p)) {
        return;
    }
    halfCellPotential(s, p, 1, s.e01);
    halfCellPotential(s, p, 2, s.e02);
}

void applyElectrolyse(State& s, const ParamStore& p) {
    if (!enabled(p)) {
        return;
    }
    const auto v = static_cast<double>(p.Text2[cat::Text2Volume].value());
    const auto a = [&](int species) {
        return activity(s.quantite[static_cast<std::size_t>(species)], v);
    };
    const auto metal = [&](std::size_t tag, int species) {
        const auto& m = cat::halfCellMetals[tag];
        return static_cast<float>(metalPotential(static_cast<double>(m.e0), m.n, a(species)));
    };
    switch (s.espece[1]) {
    case cat::fer3:
        s.e01 = static_cast<float>(ironPotential(a(cat::fer3), a(cat::fer2)));
        break;
    case cat::cuivre2:
        s.e01 = metal(1, cat::cuivre2);
        break;
    case cat::fer2:
        s.e01 = metal(2, cat::fer2);
        break;
    case cat::zinc2:
        s.e01 = metal(3, cat::zinc2);
        break;
    default: // hydrogen ions
        break;
    }
    switch (s.espece[2]) {
    case cat::anodeAluminium:
        s.e02 = metal(0, cat::aluminium3);
        break;
    case cat::anodeCuivre:
        s.e02 = metal(1, cat::cuivre2);
        break;
    case cat::anodeFer:
        s.e02 = metal(2, cat::fer2);
        break;
    case cat::anodeZinc:
        s.e02 = metal(3, cat::zinc2);
        break;
    case cat::chlorure:
        s.e02 = static_cast<float>(chlorinePotential(a(cat::chlorure)));
        break;
    default: // water
        break;
    }
}

} // namespace Ionaria::sim::nernst
