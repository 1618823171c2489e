// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/Recorder.h"

#include <string>
#include <vector>

namespace Ionaria::sim {

// A quantity that the curves show: which channel of the record, and how it
// is named.
struct Quantity {
    enum class Kind { Intensite, Tension, Masse, Concentration, Potentiel, PH };

    std::string id;  // unique within a run: "i", "mG", "EG", "Cu2+", "Cu2+ G"
    std::string key; // as the command line names it: "i", "mG", "Cu2+"
    Kind kind = Kind::Intensite;
    std::size_t channel = 0;
    // Masses: the channel of the mass Faraday's law gives; count otherwise.
    std::size_t loiChannel = channel::count;
    // The value shown per unit of the channel: mol/L per mol for a
    // concentration, 1 otherwise.
    double scale = 1.0;
    std::string symbol; // UTF-8, as the axis writes it: "i", "m", "[Cu²⁺]"
    std::string name;   // UTF-8, as the legend and the boxes write it: "m(G)"
};

// The keys the command line takes, in the order the curves come.
const std::vector<std::string>& quantityKeys();
bool knownQuantityKey(const std::string& key);

// The quantities of the recorded run, in their order: current, voltage, the
// two masses, then the concentrations, and the pH in electrolysis. With onlyPresent, a species that
// was never in the solution since the reset is left out.
std::vector<Quantity> quantitiesOf(const Recorder& record, bool onlyPresent);
// What a key names in the recorded run: a species may be in both half-cells
// of a cell, or in none (its concentration is then zero). Empty for a key
// that names nothing.
std::vector<Quantity> quantitiesFor(const std::string& key, const Recorder& record);

// The half-equation of a reaction number with its charges and indices set
// as superscripts and subscripts, in UTF-8 ("2 H⁺ + 2 e⁻ → H₂"); empty for a
// number without one.
std::string halfEquationPretty(int reactionNumber);
// What an event says: each electrode whose reaction changed, with the
// half-equation in force from then on ("G : 2 H⁺ + 2 e⁻ → H₂").
std::string eventText(const Recorder::Event& event);

} // namespace Ionaria::sim
