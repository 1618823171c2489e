// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace Ionaria::sim {

// The state of the simulated montage. Arrays indexed by compartment or
// electrode use 1 and 2; index 0 exists and is never used.
struct State {
    std::int16_t decalY = 0;
    std::int16_t niveau1 = 0;                           // y of the liquid surface, compartment 1
    std::int16_t niveau2 = 0;                           // y of the liquid surface, compartment 2
    std::array<std::array<std::int16_t, 15>, 3> posY{}; // particle queues, slots 1 to 14
    std::array<std::int16_t, 3> espece{};               // reaction code at electrode 1 / 2
    std::int16_t nbe1 = 0;
    std::int16_t nbe2 = 0;
    float e01 = 0.0F; // E0 of the couple of electrode 1, in V
    float e02 = 0.0F;
    std::array<std::array<double, 5>, 3> masseMetal{}; // g, by electrode and nature code
    std::array<double, 11> quantite{};                 // mol, by species number
    double ions1 = 0.0;                                // mol of cations, half-cell 1
    double ions2 = 0.0;
    float intensite = 0.0F; // A
    std::int32_t tempsSec = 0;
    std::int32_t resteSec = 0;
    bool natInvalide = false;
    std::int16_t cptDessin = 0;
    std::int32_t cptPas = 0;
    std::int16_t cptIon1 = 0;
    std::int16_t cptIon2 = 0;
    bool dessinSeul = false;
    bool timerEtait = false;
    std::int16_t rougeSol1 = 0, vertSol1 = 0, bleuSol1 = 0; // electrolysis solution
    std::int16_t rougeSol2 = 0, vertSol2 = 0, bleuSol2 = 0; // half-cell 1
    std::int16_t rougeSol3 = 0, vertSol3 = 0, bleuSol3 = 0; // half-cell 2
    std::array<std::string, 7> nomOnglet{};
    std::array<std::int16_t, 7> bordOnglet{};
    std::int16_t ongletActif = 0;

    // The voltage of the last step as the voltage label shows it, with its
    // sign, in V.
    double tensionAffichee = 0.0;
    // The two lines of the refusal message of the nature check, empty when
    // the last check accepted the montage.
    std::string messageNat1;
    std::string messageNat2;
};

} // namespace Ionaria::sim
