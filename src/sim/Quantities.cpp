// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Quantities.h"

#include "sim/Reactions.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace Ionaria::sim {

namespace {

struct Species {
    int number;
    std::string_view key;
    std::string_view symbol;
};

constexpr std::array<Species, 10> species = {{
    {1, "Cl-", "[Cl⁻]"},
    {2, "SO42-", "[SO₄²⁻]"},
    {3, "H+", "[H⁺]"},
    {4, "HO-", "[HO⁻]"},
    {5, "Fe2+", "[Fe²⁺]"},
    {6, "Fe3+", "[Fe³⁺]"},
    {7, "Na+", "[Na⁺]"},
    {8, "Zn2+", "[Zn²⁺]"},
    {9, "Al3+", "[Al³⁺]"},
    {10, "Cu2+", "[Cu²⁺]"},
}};

// The sulfate ion as the CSV header writes it.
constexpr std::string_view sulfateHeaderKey = "SO4 2-";

Quantity fixed(std::string_view key, Quantity::Kind kind, std::size_t c, std::string_view symbol,
               std::string_view name, std::size_t loi = channel::count) {
    Quantity q;
    q.id = key;
    q.key = key;
    q.kind = kind;
    q.channel = c;
    q.loiChannel = loi;
    q.symbol = symbol;
    q.name = name;
    return q;
}

double perLitre(double volumeMillilitres) {
    return volumeMillilitres > 0.0 ? 1000.0 / volumeMillilitres : 0.0;
}

// The concentrations of a species in the run: the vessel's, or those of the
// half-cells whose cations it is.
std::vector<Quantity> concentrations(const Species& sp, const Recorder& record, bool onlyPresent) {
    const Recorder::Run& run = record.run();
    std::vector<Quantity> out;
    const auto make = [&](std::size_t c, double scale, std::string id, std::string name) {
        Quantity q;
        q.id = std::move(id);
        q.key = sp.key;
        q.kind = Quantity::Kind::Concentration;
        q.channel = c;
        q.scale = scale;
        q.symbol = sp.symbol;
        q.name = std::move(name);
        out.push_back(std::move(q));
    };
    if (run.pile()) {
        if (run.cation1 == sp.number) {
            make(channel::ions1, perLitre(run.volume1), std::string(sp.key) + " G",
                 std::string(sp.symbol) + " côté G");
        }
        if (run.cation2 == sp.number) {
            make(channel::ions2, perLitre(run.volume2), std::string(sp.key) + " D",
                 std::string(sp.symbol) + " côté D");
        }
        if (out.empty() && !onlyPresent) {
            // The cell measures its cations alone: any other species is absent.
            make(channel::ofSpecies(sp.number), 0.0, std::string(sp.key), std::string(sp.symbol));
        }
        return out;
    }
    const std::size_t c = channel::ofSpecies(sp.number);
    if (!onlyPresent || record.everNonZero(c)) {
        make(c, perLitre(run.volumeCuve), std::string(sp.key), std::string(sp.symbol));
    }
    return out;
}

std::vector<Quantity> measures() {
    using K = Quantity::Kind;
    return {fixed("i", K::Intensite, channel::intensite, "i", "i"),
            fixed("U", K::Tension, channel::tension, "U", "U"),
            fixed("mG", K::Masse, channel::masseG, "m", "m(G)", channel::loiG),
            fixed("mD", K::Masse, channel::masseD, "m", "m(D)", channel::loiD)};
}

// The potentials of the couples, recorded when they follow the
// concentrations.
std::vector<Quantity> potentials() {
    using K = Quantity::Kind;
    return {fixed("EG", K::Potentiel, channel::potentielG, "E", "E(G)"),
            fixed("ED", K::Potentiel, channel::potentielD, "E", "E(D)")};
}

// A character of a charge or an index as its superscript or subscript.
std::string_view raised(char c, bool up) {
    static constexpr std::array<std::string_view, 10> superDigits = {"⁰", "¹", "²", "³", "⁴",
                                                                     "⁵", "⁶", "⁷", "⁸", "⁹"};
    static constexpr std::array<std::string_view, 10> subDigits = {"₀", "₁", "₂", "₃", "₄",
                                                                   "₅", "₆", "₇", "₈", "₉"};
    if (c >= '0' && c <= '9') {
        return (up ? superDigits : subDigits)[static_cast<std::size_t>(c - '0')];
    }
    if (c == '+') {
        return up ? "⁺" : "₊";
    }
    if (c == '-') {
        return up ? "⁻" : "₋";
    }
    return {};
}

} // namespace

std::string halfEquationPretty(int reactionNumber) {
    const HalfEquation* equation = halfEquation(reactionNumber);
    if (equation == nullptr) {
        return {};
    }
    std::string text;
    for (const ReactionRun& run : equation->runs) {
        const bool shifted =
            run.kind == ReactionRun::Kind::Sup || run.kind == ReactionRun::Kind::Sub;
        for (const char c : run.text) {
            const std::string_view moved = raised(c, run.kind == ReactionRun::Kind::Sup);
            if (shifted && !moved.empty()) {
                text += moved;
            } else {
                text.push_back(c);
            }
        }
    }
    // The runs carry the spacing of the drawing; a line of text wants single
    // spaces.
    std::string collapsed;
    for (const char c : text) {
        if (c != ' ' || (!collapsed.empty() && collapsed.back() != ' ')) {
            collapsed.push_back(c);
        }
    }
    while (!collapsed.empty() && collapsed.back() == ' ') {
        collapsed.pop_back();
    }
    return collapsed;
}

std::string eventText(const Recorder::Event& event) {
    std::string text;
    const auto add = [&text](const char* electrode, int reaction) {
        const std::string equation = halfEquationPretty(reaction);
        text += std::string(text.empty() ? "" : " ; ") + electrode + " : " +
                (equation.empty() ? std::string("—") : equation);
    };
    if (event.codeG != event.previousG) {
        add("G", event.reactionG);
    }
    if (event.codeD != event.previousD) {
        add("D", event.reactionD);
    }
    return text;
}

namespace {

// The pH of the electrolysis vessel.
Quantity acidity() {
    return fixed("pH", Quantity::Kind::PH, channel::pH, "pH", "pH");
}

} // namespace

const std::vector<std::string>& quantityKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> k = {"i", "U", "mG", "mD", "EG", "ED"};
        for (const Species& sp : species) {
            k.emplace_back(sp.key);
        }
        k.emplace_back("pH");
        return k;
    }();
    return keys;
}

bool knownQuantityKey(const std::string& key) {
    const auto& keys = quantityKeys();
    return key == sulfateHeaderKey || std::find(keys.begin(), keys.end(), key) != keys.end();
}

std::vector<Quantity> quantitiesOf(const Recorder& record, bool onlyPresent) {
    std::vector<Quantity> out = measures();
    if (record.run().potentials) {
        for (Quantity& q : potentials()) {
            out.push_back(std::move(q));
        }
    }
    for (const Species& sp : species) {
        for (Quantity& q : concentrations(sp, record, onlyPresent)) {
            out.push_back(std::move(q));
        }
    }
    if (!record.run().pile()) {
        out.push_back(acidity());
    }
    return out;
}

std::vector<Quantity> quantitiesFor(const std::string& key, const Recorder& record) {
    for (Quantity& q : measures()) {
        if (q.key == key) {
            return {std::move(q)};
        }
    }
    for (Quantity& q : potentials()) {
        if (q.key == key) {
            // Without the option the record holds no potentials.
            return record.run().potentials ? std::vector<Quantity>{std::move(q)}
                                           : std::vector<Quantity>{};
        }
    }
    if (key == "pH") {
        // The cell has no vessel to measure.
        return record.run().pile() ? std::vector<Quantity>{} : std::vector<Quantity>{acidity()};
    }
    const std::string_view wanted = key == sulfateHeaderKey ? species[1].key : key;
    for (const Species& sp : species) {
        if (sp.key == wanted) {
            return concentrations(sp, record, false);
        }
    }
    return {};
}

} // namespace Ionaria::sim
