// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Measurement.h"

#include "sim/Catalogue.h"
#include "sim/Chemistry.h"
#include "sim/Engine.h"
#include "sim/Nernst.h"
#include "sim/Reactions.h"

namespace Ionaria::sim {

Measurement Measurement::of(const Engine& engine) {
    const State& s = engine.state();
    Measurement m;
    m.tempsSec = engine.params().mesures.tempsSec;
    m.intensite = s.intensite;
    m.tension = s.tensionAffichee;
    m.masseG = engine.masseElectrode(1);
    m.masseD = engine.masseElectrode(2);
    m.codeG = s.espece[1];
    m.codeD = s.espece[2];
    m.reactionG = static_cast<std::int16_t>(reactionNumberLeft(engine));
    m.reactionD = static_cast<std::int16_t>(reactionNumberRight(engine));
    for (std::size_t k = 0; k < measuredSpecies.size(); ++k) {
        m.quantite[k] = s.quantite[static_cast<std::size_t>(measuredSpecies[k])];
    }
    m.ions1 = s.ions1;
    m.ions2 = s.ions2;
    m.pile = engine.params().isPile();
    if (!m.pile) {
        m.pH =
            sim::pH(s, static_cast<double>(engine.params().Text2[catalogue::Text2Volume].value()));
    }
    if (nernst::enabled(engine.params())) {
        m.potentials = true;
        m.potentielG = s.e01;
        m.potentielD = s.e02;
    }
    return m;
}

} // namespace Ionaria::sim
