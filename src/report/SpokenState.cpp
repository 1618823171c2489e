// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/SpokenState.h"

#include "base/Numbers.h"
#include "report/Rapport.h"
#include "sim/Catalogue.h"
#include "sim/Chemistry.h"
#include "sim/DrawingFeedback.h"
#include "sim/Nernst.h"
#include "sim/Reactions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Ionaria::report {

namespace {

namespace cat = sim::catalogue;

// U+00A0, the no-break space, in UTF-8.
constexpr std::string_view noBreakSpace = "\xC2\xA0";

std::string selected(const sim::ListBox& box) {
    if (box.listIndex < 0 || box.listIndex >= box.count()) {
        return {};
    }
    return box.items[static_cast<std::size_t>(box.listIndex)];
}

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

std::string joined(const std::vector<std::string>& parts, char separator) {
    std::string out;
    for (const std::string& part : parts) {
        if (!out.empty()) {
            out += separator;
        }
        out += part;
    }
    return out;
}

// French puts the plural from two on: "1,50 volt", "2 volts".
bool plural(const std::string& number) {
    std::string plain = number;
    replaceAll(plain, noBreakSpace, "");
    plain.erase(std::remove(plain.begin(), plain.end(), ' '), plain.end());
    const auto value = base::parseDouble(plain);
    return value && std::fabs(*value) >= 2.0;
}

struct UnitWords {
    std::string_view symbol;
    std::string_view singular;
    std::string_view plural;
};

constexpr std::array<UnitWords, 8> units = {{
    {"h", "heure", "heures"},
    {"min", "minute", "minutes"},
    {"s", "seconde", "secondes"},
    {"mV", "millivolt", "millivolts"},
    {"V", "volt", "volts"},
    {"mA", "milliampère", "milliampères"},
    {"A", "ampère", "ampères"},
    {"g", "gramme", "grammes"},
}};

// "1 min 5 s" as "1 minute 5 secondes", "56,7 mA" as "56,7 milliampères":
// a number is kept as written, each unit after it said in words.
std::string spokenQuantity(const std::string& shown) {
    std::vector<std::string> tokens;
    std::size_t start = 0;
    while (start <= shown.size()) {
        const std::size_t end = std::min(shown.find(' ', start), shown.size());
        if (end > start) {
            tokens.push_back(shown.substr(start, end - start));
        }
        start = end + 1;
    }
    std::vector<std::string> words;
    std::string number;
    for (const std::string& token : tokens) {
        const auto unit = std::find_if(units.begin(), units.end(),
                                       [&token](const UnitWords& u) { return token == u.symbol; });
        if (unit == units.end()) {
            // Groups of thousands are written apart: "1 234,5" is one number.
            number += token;
            continue;
        }
        if (!number.empty()) {
            words.push_back(number);
        }
        words.emplace_back(plural(number) ? unit->plural : unit->singular);
        number.clear();
    }
    if (!number.empty()) {
        words.push_back(number);
    }
    return joined(words, ' ');
}

// "9,96 fois 10 puissance moins 2 mole par litre".
std::string spokenConcentration(double molPerLitre) {
    const std::string s = base::formatPattern(molPerLitre, "0.00E+00");
    const std::size_t e = s.find('E');
    if (e == std::string::npos || e + 2 > s.size()) {
        return {};
    }
    const std::string mantissa = s.substr(0, e);
    const auto exponent = base::parseDouble(std::string_view(s).substr(e + 1));
    if (!exponent) {
        return {};
    }
    const auto power = static_cast<long long>(std::lround(*exponent));
    std::string text = mantissa;
    if (power != 0) {
        text += " fois 10 puissance ";
        if (power < 0) {
            text += "moins ";
        }
        text += base::formatInteger(power < 0 ? -power : power);
    }
    const bool many = power > 0 || (power == 0 && plural(mantissa));
    return text + (many ? " moles par litre" : " mole par litre");
}

// The ions by their species number, as a sentence names them.
std::string_view ionName(int species) {
    switch (species) {
    case cat::chlorure:
        return "ions chlorure";
    case cat::sulfate:
        return "ions sulfate";
    case cat::fer2:
        return "ions fer(II)";
    case cat::fer3:
        return "ions fer(III)";
    case cat::sodium:
        return "ions sodium";
    case cat::zinc2:
        return "ions zinc(II)";
    case cat::aluminium3:
        return "ions aluminium(III)";
    case cat::cuivre2:
        return "ions cuivre(II)";
    case cat::hydrogene:
        return "ions hydrogène";
    case cat::hydroxyde:
        return "ions hydroxyde";
    default:
        return {};
    }
}

// The cation of a half-cell by the tag of its nature box.
int cationOfTag(const std::string& tag) {
    static constexpr std::array<int, 4> cations = {cat::aluminium3, cat::cuivre2, cat::fer2,
                                                   cat::zinc2};
    if (tag.size() != 1 || tag[0] < '0' || tag[0] > '3') {
        return 0;
    }
    return cations[static_cast<std::size_t>(tag[0] - '0')];
}

std::optional<double> concentration(double amountMol, const sim::NumBox& volumeMl) {
    const auto v = static_cast<double>(volumeMl.value());
    if (!volumeMl.isNumber() || v == 0.0 || !std::isfinite(amountMol)) {
        return std::nullopt;
    }
    return 1000.0 * amountMol / v;
}

void concentrationLine(std::vector<std::string>& lines, int species, std::optional<double> c) {
    const std::string_view ions = ionName(species);
    if (ions.empty() || !c || !std::isfinite(*c)) {
        return;
    }
    const std::string value = spokenConcentration(*c);
    if (!value.empty()) {
        lines.push_back("Concentration en " + std::string(ions) + " : " + value + ".");
    }
}

bool isBlank(std::string_view text, std::size_t at, std::size_t& length) {
    if (text.substr(at, noBreakSpace.size()) == noBreakSpace) {
        length = noBreakSpace.size();
        return true;
    }
    length = 1;
    const char c = text[at];
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Runs of blanks made one space, none at either end.
std::string simplified(std::string_view text) {
    std::string out;
    bool blank = false;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = 1;
        if (isBlank(text, at, length)) {
            blank = true;
        } else {
            if (blank && !out.empty()) {
                out += ' ';
            }
            blank = false;
            out += text[at];
        }
        at += length;
    }
    return out;
}

// "Cu2+ + 2 e- donne Cu": the drawn form on one line, its arrow in words.
std::string spokenEquation(int number) {
    const sim::HalfEquation* equation = sim::halfEquation(number);
    if (equation == nullptr) {
        return {};
    }
    std::string text = sim::halfEquationText(*equation);
    replaceAll(text, " → ", " donne ");
    replaceAll(text, "→", " donne ");
    return simplified(text);
}

constexpr std::array<std::string_view, 2> sides = {"G", "D"};

void montageLines(std::vector<std::string>& lines, const sim::ParamStore& p) {
    lines.push_back(std::string(cat::montageCaption(p.Option2)) + ".");
    for (std::size_t e = 0; e < 2; ++e) {
        const std::string nature = selected(p.Combo2[e]);
        if (!nature.empty()) {
            lines.push_back("Nature de l'électrode " + std::string(sides[e]) + " : " + nature +
                            ".");
        }
    }
    if (!p.isPile()) {
        lines.emplace_back("Le pôle moins du générateur est relié à l'électrode G, son pôle "
                           "plus à l'électrode D.");
        const std::string solution = selected(p.Combo1);
        if (!solution.empty()) {
            lines.push_back("Solution : " + solution + ".");
        }
    }
}

void measureLines(std::vector<std::string>& lines, const sim::ParamStore& p) {
    const std::array<std::pair<std::string_view, std::string>, 3> measures = {{
        {"Durée", p.Labeltps()},
        {"Tension", p.Labelu()},
        {"Intensité", p.Labelint()},
    }};
    for (const auto& [name, shown] : measures) {
        if (!shown.empty()) {
            lines.push_back(std::string(name) + " : " + spokenQuantity(shown) + ".");
        }
    }
}

} // namespace

std::string spokenMeasureText(const std::string& shown) {
    return spokenQuantity(shown);
}

std::string spokenState(const sim::Engine& engine) {
    // The masses the report shows are those once negative ones are cleared:
    // the copy is cleared, the run is not.
    sim::State s = engine.state();
    const sim::ParamStore& p = engine.params();
    const bool pile = p.isPile();
    const sim::ElectrodeMasses masses = sim::clearNegativeMasses(s, p.highestNatureCode());

    std::vector<std::string> lines;
    montageLines(lines, p);
    measureLines(lines, p);
    const std::array<double, 2> grams = {masses.electrode1, masses.electrode2};
    for (std::size_t e = 0; e < 2; ++e) {
        const std::string mass = base::formatPattern(grams[e], "# ##0.00");
        lines.push_back("Masse de l'électrode " + std::string(sides[e]) + " : " +
                        spokenQuantity(mass + " g") + ".");
    }
    if (pile) {
        concentrationLine(lines, cationOfTag(p.Combo2[0].tag),
                          concentration(s.ions1, p.Text2[cat::Text2VolumeG]));
        concentrationLine(lines, cationOfTag(p.Combo2[1].tag),
                          concentration(s.ions2, p.Text2[cat::Text2VolumeD]));
    } else {
        for (const int species : reportedSpecies(s)) {
            concentrationLine(lines, species,
                              concentration(s.quantite[static_cast<std::size_t>(species)],
                                            p.Text2[cat::Text2Volume]));
        }
        const sim::NumBox& volume = p.Text2[cat::Text2Volume];
        if (volume.isNumber() && volume.value() > 0.0F) {
            lines.push_back(
                "pH : " +
                base::formatPattern(sim::pH(s, static_cast<double>(volume.value())), "0.00") + ".");
        }
    }
    if (s.intensite != 0.0F) {
        const std::array<int, 2> numbers = {sim::reactionNumberLeft(engine),
                                            sim::reactionNumberRight(engine)};
        for (std::size_t e = 0; e < 2; ++e) {
            const std::string equation = spokenEquation(numbers[e]);
            if (!equation.empty()) {
                lines.push_back("Électrode " + std::string(sides[e]) + " : " + equation + ".");
            }
        }
    }
    if (sim::nernst::enabled(p)) {
        const std::array<float, 2> potentials = {s.e01, s.e02};
        for (std::size_t e = 0; e < 2; ++e) {
            const std::string volts =
                base::formatPattern(static_cast<double>(potentials[e]), "0.000");
            lines.push_back("Potentiel de l'électrode " + std::string(sides[e]) + " : " +
                            spokenQuantity(volts + " V") + ".");
        }
    }
    return joined(lines, '\n');
}

} // namespace Ionaria::report
