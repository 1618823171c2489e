// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Reactions.h"

#include "sim/Catalogue.h"
#include "sim/Chemistry.h"
#include "sim/Engine.h"

#include <array>

namespace Ionaria::sim {

namespace {

namespace cat = catalogue;
using K = ReactionRun::Kind;

// A table of fourteen equations, one run a line: longer than a function
// should be, and plainer so than cut in pieces.
// NOLINTNEXTLINE(readability-function-size)
const std::array<HalfEquation, 14>& table() {
    static const std::array<HalfEquation, 14> equations = {{
        {1,
         "2 Cl- + 2 e- = Cl2",
         {{K::Normal, "2 Cl"},
          {K::Sup, "- "},
          {K::Arrow, "→"},
          {K::Normal, " Cl"},
          {K::Sub, "2 "},
          {K::Normal, " + 2 e"},
          {K::Sup, "-"}}},
        {3,
         "2 H+ + 2 e- = H2",
         {{K::Normal, "2 H"},
          {K::Sup, "+ "},
          {K::Normal, " + 2 e"},
          {K::Sup, "- "},
          {K::Arrow, "→ "},
          {K::Normal, " H"},
          {K::Sub, "2 "}}},
        {cat::hydroxydeOxyde,
         "4 HO- = O2 + 2 H2O + 4 e-",
         {{K::Normal, "4 HO"},
          {K::Sup, "- "},
          {K::Arrow, "→ "},
          {K::Normal, " O"},
          {K::Sub, "2"},
          {K::Normal, " + 2 H"},
          {K::Sub, "2"},
          {K::Normal, "O + 4 e"},
          {K::Sup, "-"}}},
        {5,
         "Fe2+ + 2 e- = Fe",
         {{K::Normal, "Fe"},
          {K::Sup, "2+"},
          {K::Normal, " + 2 e"},
          {K::Sup, "- "},
          {K::Arrow, "→ "},
          {K::Normal, " Fe"}}},
        {6,
         "Fe3+ + e- = Fe2+",
         {{K::Normal, "Fe"},
          {K::Sup, "3+"},
          {K::Normal, " + e"},
          {K::Sup, "- "},
          {K::Arrow, "→ "},
          {K::Normal, " Fe"},
          {K::Sup, "2+ "}}},
        {8,
         "Zn2+ + 2 e- = Zn",
         {{K::Normal, "Zn"},
          {K::Sup, "2+"},
          {K::Normal, " + 2 e"},
          {K::Sup, "- "},
          {K::Arrow, "→ "},
          {K::Normal, " Zn"}}},
        {9,
         "Al3+ + 3 e- = Al",
         {{K::Normal, "Al"},
          {K::Sup, "3+"},
          {K::Normal, " + 3 e"},
          {K::Sup, "- "},
          {K::Arrow, "→ "},
          {K::Normal, " Al"}}},
        {10,
         "Cu2+ + 2 e- = Cu",
         {{K::Normal, "Cu"},
          {K::Sup, "2+"},
          {K::Normal, " + 2 e"},
          {K::Sup, "- "},
          {K::Arrow, "→ "},
          {K::Normal, " Cu"}}},
        {11,
         "2 H2O = 4 H+ + 4 e- + O2",
         {{K::Normal, "2 H"},
          {K::Sub, "2"},
          {K::Normal, "O "},
          {K::Arrow, "→ "},
          {K::Normal, " 4 H"},
          {K::Sup, "+"},
          {K::Normal, " + O"},
          {K::Sub, "2"},
          {K::Normal, " + 4 e"},
          {K::Sup, "-"}}},
        {cat::eauReduite,
         "2 H2O + 2 e- = H2 + 2 HO-",
         {{K::Normal, "2 H"},
          {K::Sub, "2"},
          {K::Normal, "O + 2 e"},
          {K::Sup, "- "},
          {K::Arrow, "→ "},
          {K::Normal, " H"},
          {K::Sub, "2"},
          {K::Normal, " + 2 HO"},
          {K::Sup, "-"}}},
        {13,
         "Al = Al3+ + 3 e-",
         {{K::Normal, "Al "},
          {K::Arrow, "→ "},
          {K::Normal, " Al"},
          {K::Sup, "3+"},
          {K::Normal, " + 3 e"},
          {K::Sup, "-"}}},
        {14,
         "Cu = Cu2+ + 2 e-",
         {{K::Normal, "Cu "},
          {K::Arrow, "→ "},
          {K::Normal, " Cu"},
          {K::Sup, "2+"},
          {K::Normal, " + 2 e"},
          {K::Sup, "-"}}},
        {15,
         "Fe = Fe2+ + 2 e-",
         {{K::Normal, "Fe "},
          {K::Arrow, "→ "},
          {K::Normal, " Fe"},
          {K::Sup, "2+"},
          {K::Normal, " + 2 e"},
          {K::Sup, "-"}}},
        {16,
         "Zn = Zn2+ + 2 e-",
         {{K::Normal, "Zn "},
          {K::Arrow, "→ "},
          {K::Normal, " Zn"},
          {K::Sup, "2+"},
          {K::Normal, " + 2 e"},
          {K::Sup, "-"}}},
    }};
    return equations;
}

// Reaction numbers of a half-cell's metal, by tag "0" to "3".
constexpr std::array<int, 4> oxidationNumbers = {13, 14, 15, 16};
constexpr std::array<int, 4> reductionNumbers = {9, 10, 5, 8};

int cellNumber(const std::string& tag, bool oxidised) {
    if (tag.size() != 1 || tag[0] < '0' || tag[0] > '3') {
        return 0;
    }
    const auto k = static_cast<std::size_t>(tag[0] - '0');
    return oxidised ? oxidationNumbers[k] : reductionNumbers[k];
}

} // namespace

const HalfEquation* halfEquation(int number) {
    for (const auto& equation : table()) {
        if (equation.number == number) {
            return &equation;
        }
    }
    return nullptr;
}

std::string halfEquationText(const HalfEquation& equation) {
    std::string text;
    for (const auto& run : equation.runs) {
        text += run.text;
    }
    // Runs carry the spacing of the drawing; plain text wants single spaces.
    std::string collapsed;
    for (char c : text) {
        if (c == ' ' && (collapsed.empty() || collapsed.back() == ' ')) {
            continue;
        }
        collapsed.push_back(c);
    }
    while (!collapsed.empty() && collapsed.back() == ' ') {
        collapsed.pop_back();
    }
    return collapsed;
}

int reactionNumberLeft(const Engine& engine) {
    const auto& s = engine.state();
    if (!engine.params().isPile()) {
        return halfEquationNumber(s, 1);
    }
    return cellNumber(engine.params().Combo2[0].tag, s.e01 < s.e02);
}

int reactionNumberRight(const Engine& engine) {
    const auto& s = engine.state();
    if (!engine.params().isPile()) {
        return halfEquationNumber(s, 2);
    }
    return cellNumber(engine.params().Combo2[1].tag, !(s.e01 <= s.e02));
}

} // namespace Ionaria::sim
