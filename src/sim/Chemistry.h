// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/ParamStore.h"
#include "sim/State.h"

namespace Ionaria::sim {

// The chemistry of one elementary step of one second, on the state and the
// parameters alone: Faraday's law at each electrode, the conductance, the
// current and the voltage. Engine::variations runs the steps and does what
// needs the picture or the clock around them.

// Chooses the reaction at each electrode of the electrolysis from the amounts
// in the vessel and the metal of the anode, with its couple; asks for an
// early redraw when the choice changes. With surtension (hydrogen's
// overpotential on zinc and iron), iron(II) and zinc(II) are reduced before
// water.
void quielectrolyse(State& s, bool surtension = false);

// One step of the electrolysis: x mol of electrons, the charge of the
// previous second, converted at both electrodes, water taking over from H+
// and HO- where they run out, which then neutralise each other; then the
// conductance of the vessel (S) and the generator's current and voltage u
// (V).
void stepElectrolyse(State& s, const ParamStore& p, double x, double& conductance, double& u);

// One step of the cell, for the direction sens of the current: x mol of
// electrons converted in both half-cells, the conductance (S), the internal
// resistance and the current through the resistor, and the voltage u across
// it (V), signed by sens.
void stepPile(State& s, const ParamStore& p, double x, int sens, double& conductance, double& u);

// The voltage generator drives at most 2 A: a larger current is brought back
// to it, with the voltage that it then takes. Returns whether it did.
bool limitCurrent(State& s, const ParamStore& p, double conductance, double& u);

// The half-equation at an electrode (1 or 2) of the electrolysis: the
// reaction code, but for water reduced once no H+ is left at the cathode
// (eauReduite) and HO- oxidised while some is left at the anode
// (hydroxydeOxyde).
int halfEquationNumber(const State& s, int electrode);

// The pH of the electrolysis vessel of volumeMl mL, from its H+ and HO- and
// water's ionic product; 7 when both are negligible.
double pH(const State& s, double volumeMl);

// An electrode that carries no metal left stops the current; u becomes the
// voltage without current. Returns whether that happened, so that the
// electrodes are drawn again.
bool stopWhenUsedUp(State& s, const ParamStore& p, double& u);

} // namespace Ionaria::sim
