// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Ionaria::sim {

class Engine;

// A piece of a half-equation as the state report draws it.
struct ReactionRun {
    enum class Kind { Normal, Sup, Sub, Arrow };
    Kind kind;
    std::string_view text;
};

struct HalfEquation {
    int number = 0;
    // The text whose width centres the drawn line, as the program writes it
    // ("2 Cl- + 2 e- = Cl2").
    std::string_view widthText;
    // The drawn form, with the electrons on the side where they appear.
    std::vector<ReactionRun> runs;
};

// The half-equation of a reaction number; nullptr for a number without one.
const HalfEquation* halfEquation(int number);

// The drawn form as plain text, with the arrow ("2 Cl- → Cl2 + 2 e-").
std::string halfEquationText(const HalfEquation& equation);

// The reaction numbers at electrode 1 (left) and 2 (right): the reaction
// codes in electrolysis, with water's half-equation as it goes (see
// halfEquationNumber); in the cell, chosen from the natures and the order
// of the two potentials. 0 when there is none.
int reactionNumberLeft(const Engine& engine);
int reactionNumberRight(const Engine& engine);

} // namespace Ionaria::sim
