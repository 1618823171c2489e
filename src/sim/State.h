// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace Ionaria::sim {

// The redraw counter: above this many ticks since the last full redraw of the
// background, the next tick redraws it. The chemistry sets the counter to the
// limit to ask for an early redraw when a reaction changes.
inline constexpr std::int16_t redrawCounterLimit = 60;
// Besides, in the first redrawScheduleEndSec seconds of a run, every
// redrawSchedulePeriodSec-th second starts with a full redraw.
inline constexpr int redrawScheduleEndSec = 300;
inline constexpr int redrawSchedulePeriodSec = 10;

// The state of the simulated montage. Arrays indexed by compartment or
// electrode use 1 and 2; index 0 exists and is never used. Lengths are pixels
// of the experiment picture, y downwards.
//
// Who writes it: the engine's procedures (reset, nature check, chemistry,
// tick), the parameter handlers (timerEtait, dessinSeul, natInvalide, as the
// controls' events do) and the drawing, through DrawingFeedback only (the
// redraw counter, the solution colours, negative masses cleared). Everyone
// else reads it through a const engine.
struct State {
    std::int16_t decalY = 0;  // vertical offset of the montage, px (vessels' bottom at +504)
    std::int16_t niveau1 = 0; // y of the liquid surface of compartment 1, px
    std::int16_t niveau2 = 0; // y of the liquid surface of compartment 2, px
    std::array<std::array<std::int16_t, 15>, 3> posY{}; // particle queues' heights, px, slots 1-14
    std::array<std::int16_t, 3> espece{}; // electrolysis reaction code per electrode; 0 in the cell
    std::int16_t nbe1 = 0; // electrons of electrode 1's couple; 0: nothing to simulate
    std::int16_t nbe2 = 0; // electrons of electrode 2's couple; 0: nothing to simulate
    float e01 = 0.0F;      // potential of electrode 1's couple, V: standard, or by Check3 Nernst's
    float e02 = 0.0F;      // potential of electrode 2's couple, V: standard, or by Check3 Nernst's
    std::array<std::array<double, 5>, 3> masseMetal{}; // metal, g, by electrode and nature code
    std::array<double, 11> quantite{}; // electrolysis amounts, mol, by species number 1 to 10
    double ions1 = 0.0;                // cell: metal cations of half-cell 1, mol
    double ions2 = 0.0;                // cell: metal cations of half-cell 2, mol
    float intensite = 0.0F;            // current, A
    std::int32_t tempsSec = 0;         // elapsed simulated time, s
    // The time label's seconds less its whole hours, s. Nothing reads it: the
    // label is formatted from tempsSec when shown. It stays, written where the
    // label is, so that the record keeps every field under the name the
    // procedures give it.
    std::int32_t resteSec = 0;
    bool natInvalide = false;     // the nature check refused the montage: the tick does nothing
    std::int16_t cptDessin = 0;   // ticks since the last full redraw; see redrawCounterLimit
    std::int32_t cptPas = 0;      // ticks of the electron ring's phase since the reset
    std::int16_t cptIon1 = 0;     // ticks since the last particle event at electrode 1
    std::int16_t cptIon2 = 0;     // ticks since the last particle event at electrode 2
    bool dessinSeul = false;      // a drawing-only tick: the chemistry does not advance
    bool timerEtait = false;      // whether the timer ran when a numeric box took the focus
    std::int16_t rougeSol1 = 0;   // colour of the electrolysis solution, red, 0 to 255
    std::int16_t vertSol1 = 0;    // colour of the electrolysis solution, green, 0 to 255
    std::int16_t bleuSol1 = 0;    // colour of the electrolysis solution, blue, 0 to 255
    std::int16_t rougeSol2 = 0;   // colour of half-cell 1's solution, red, 0 to 255
    std::int16_t vertSol2 = 0;    // colour of half-cell 1's solution, green, 0 to 255
    std::int16_t bleuSol2 = 0;    // colour of half-cell 1's solution, blue, 0 to 255
    std::int16_t rougeSol3 = 0;   // colour of half-cell 2's solution, red, 0 to 255
    std::int16_t vertSol3 = 0;    // colour of half-cell 2's solution, green, 0 to 255
    std::int16_t bleuSol3 = 0;    // colour of half-cell 2's solution, blue, 0 to 255
    double tensionAffichee = 0.0; // the voltage of the last step as its label shows it, signed, V
    std::string messageNat1;      // first line of the nature check's refusal; empty when accepted
    std::string messageNat2;      // second line of the nature check's refusal; empty when accepted
    // The tab fields nomOnglet, bordOnglet and ongletActif are the tab
    // strip's (ui::TabStrip), their only reader and writer.
};

// The total mass of each electrode, g, over the nature codes 0 to the highest
// of the montage, and whether a negative entry was set to 0 on the way.
struct ElectrodeMasses {
    double electrode1 = 0.0;
    double electrode2 = 0.0;
    bool cleared = false;
};

// Sets to 0 every negative masseMetal entry of both electrodes for the nature
// codes 0 to highestCode (at most 4), then sums each electrode's entries over
// those codes. The chemistry, the drawing of the electrodes and the report
// all clear an electrode that lost more than it had before they weigh it.
ElectrodeMasses clearNegativeMasses(State& state, int highestCode);

} // namespace Ionaria::sim
