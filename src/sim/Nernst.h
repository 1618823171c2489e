// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/ParamStore.h"
#include "sim/State.h"

#include <string>

// Potentials that follow the concentrations, at 25 °C, when the option
// Check3 is ticked; the standard values of the catalogue otherwise.
namespace Ionaria::sim::nernst {

// RT·ln(10)/F at 298.15 K, V.
inline constexpr double k = 0.05916;
// Activities are concentrations in mol/L, never below this one, so that a
// species the solution does not hold yet keeps a finite potential.
inline constexpr double activityFloor = 1E-06; // mol/L

// amountMol in volumeMl as an activity: mol/L, floored; the floor when the
// volume is not positive.
double activity(double amountMol, double volumeMl);

// M^n+/M: e0 + (k/n)·log10 a.
double metalPotential(double e0, int n, double cationActivity);
// Fe3+/Fe2+: 0.77 + k·log10(a(Fe3+)/a(Fe2+)).
double ironPotential(double fe3Activity, double fe2Activity);
// Cl2/Cl-: 1.36 - k·log10 a(Cl-).
double chlorinePotential(double chlorideActivity);

// Whether the store asks for these potentials.
inline bool enabled(const ParamStore& p) {
    return p.Check3 == 1;
}

// "E(G) = 0,281 V   E(D) = 0,340 V": the potentials of the state, as the
// report and the batch summary show them.
std::string potentialsText(const State& s);

// The cell: e01 and e02 from the cations of each half-cell, when enabled.
void applyPile(State& s, const ParamStore& p);
// The electrolysis: e01 and e02 of the couples that quielectrolyse chose,
// from the amounts in the vessel, when enabled. Hydrogen ions and water keep
// their values, which stand for more than a concentration term.
void applyElectrolyse(State& s, const ParamStore& p);

} // namespace Ionaria::sim::nernst
