// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/StateDescription.h"

#include "base/Numbers.h"
#include "report/Rapport.h"
#include "sim/Catalogue.h"
#include "sim/Chemistry.h"
#include "sim/DrawingFeedback.h"
#include "sim/Nernst.h"
#include "sim/Reactions.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>

namespace Ionaria::report {

namespace {

namespace cat = sim::catalogue;

QString qtext(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString selected(const sim::ListBox& box) {
    if (box.listIndex < 0 || box.listIndex >= box.count()) {
        return {};
    }
    return qtext(box.items[static_cast<std::size_t>(box.listIndex)]);
}

// French puts the plural from two on: "1,50 volt", "2 volts".
bool plural(const QString& number) {
    QString plain = number;
    plain.remove(QLatin1Char(' ')).remove(QChar(0x00A0));
    const auto value = base::parseDouble(plain.toStdString());
    return value && std::fabs(*value) >= 2.0;
}

struct UnitWords {
    const char* symbol;
    const char* singular;
    const char* plural;
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
QString spokenQuantity(const QString& shown) {
    const QStringList tokens = shown.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList words;
    QString number;
    for (const QString& token : tokens) {
        const auto unit = std::find_if(units.begin(), units.end(), [&token](const UnitWords& u) {
            return token == QLatin1String(u.symbol);
        });
        if (unit == units.end()) {
            // Groups of thousands are written apart: "1 234,5" is one number.
            number += token;
            continue;
        }
        if (!number.isEmpty()) {
            words << number;
        }
        words << QString::fromUtf8(plural(number) ? unit->plural : unit->singular);
        number.clear();
    }
    if (!number.isEmpty()) {
        words << number;
    }
    return words.join(QLatin1Char(' '));
}

// "9,96 fois 10 puissance moins 2 mole par litre".
QString spokenConcentration(double molPerLitre) {
    const std::string s = base::formatPattern(molPerLitre, "0.00E+00");
    const std::size_t e = s.find('E');
    if (e == std::string::npos || e + 2 > s.size()) {
        return {};
    }
    const QString mantissa = qtext(std::string_view(s).substr(0, e));
    const auto exponent = base::parseDouble(std::string_view(s).substr(e + 1));
    if (!exponent) {
        return {};
    }
    const auto power = static_cast<long long>(std::lround(*exponent));
    QString text = mantissa;
    if (power != 0) {
        text += QStringLiteral(" fois 10 puissance ");
        if (power < 0) {
            text += QStringLiteral("moins ");
        }
        text += qtext(base::formatInteger(power < 0 ? -power : power));
    }
    const bool many = power > 0 || (power == 0 && plural(mantissa));
    return text + (many ? QStringLiteral(" moles par litre") : QStringLiteral(" mole par litre"));
}

// The ions by their species number, as a sentence names them.
QString ionName(int species) {
    switch (species) {
    case cat::chlorure:
        return QStringLiteral("ions chlorure");
    case cat::sulfate:
        return QStringLiteral("ions sulfate");
    case cat::fer2:
        return QStringLiteral("ions fer(II)");
    case cat::fer3:
        return QStringLiteral("ions fer(III)");
    case cat::sodium:
        return QStringLiteral("ions sodium");
    case cat::zinc2:
        return QStringLiteral("ions zinc(II)");
    case cat::aluminium3:
        return QStringLiteral("ions aluminium(III)");
    case cat::cuivre2:
        return QStringLiteral("ions cuivre(II)");
    case cat::hydrogene:
        return QStringLiteral("ions hydrogène");
    case cat::hydroxyde:
        return QStringLiteral("ions hydroxyde");
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

void concentrationLine(QStringList& lines, int species, std::optional<double> c) {
    const QString ions = ionName(species);
    if (ions.isEmpty() || !c || !std::isfinite(*c)) {
        return;
    }
    const QString value = spokenConcentration(*c);
    if (!value.isEmpty()) {
        lines << QStringLiteral("Concentration en %1 : %2.").arg(ions, value);
    }
}

// "Cu2+ + 2 e- donne Cu": the drawn form on one line, its arrow in words.
QString spokenEquation(int number) {
    const sim::HalfEquation* equation = sim::halfEquation(number);
    if (equation == nullptr) {
        return {};
    }
    QString text = qtext(sim::halfEquationText(*equation));
    text.replace(QStringLiteral(" → "), QStringLiteral(" donne "));
    text.replace(QStringLiteral("→"), QStringLiteral(" donne "));
    return text.simplified();
}

void montageLines(QStringList& lines, const sim::ParamStore& p) {
    lines << qtext(cat::montageCaption(p.Option2)) + QLatin1Char('.');
    const std::array<QString, 2> sides = {QStringLiteral("G"), QStringLiteral("D")};
    for (std::size_t e = 0; e < 2; ++e) {
        const QString nature = selected(p.Combo2[e]);
        if (!nature.isEmpty()) {
            lines << QStringLiteral("Nature de l'électrode %1 : %2.").arg(sides[e], nature);
        }
    }
    if (!p.isPile()) {
        lines << QStringLiteral("Le pôle moins du générateur est relié à l'électrode G, son pôle "
                                "plus à l'électrode D.");
        const QString solution = selected(p.Combo1);
        if (!solution.isEmpty()) {
            lines << QStringLiteral("Solution : %1.").arg(solution);
        }
    }
}

void measureLines(QStringList& lines, const sim::ParamStore& p) {
    const std::array<std::pair<QString, std::string>, 3> measures = {{
        {QStringLiteral("Durée"), p.Labeltps()},
        {QStringLiteral("Tension"), p.Labelu()},
        {QStringLiteral("Intensité"), p.Labelint()},
    }};
    for (const auto& [name, shown] : measures) {
        if (!shown.empty()) {
            lines << QStringLiteral("%1 : %2.").arg(name, spokenQuantity(qtext(shown)));
        }
    }
}

} // namespace

QString spokenMeasure(const QString& shown) {
    return spokenQuantity(shown);
}

QString stateDescription(const sim::Engine& engine) {
    // The masses the report shows are those once negative ones are cleared:
    // the copy is cleared, the run is not.
    sim::State s = engine.state();
    const sim::ParamStore& p = engine.params();
    const bool pile = p.isPile();
    const sim::ElectrodeMasses masses = sim::clearNegativeMasses(s, p.highestNatureCode());

    QStringList lines;
    montageLines(lines, p);
    measureLines(lines, p);
    const std::array<double, 2> grams = {masses.electrode1, masses.electrode2};
    const std::array<QString, 2> sides = {QStringLiteral("G"), QStringLiteral("D")};
    for (std::size_t e = 0; e < 2; ++e) {
        const QString mass = qtext(base::formatPattern(grams[e], "# ##0.00"));
        lines << QStringLiteral("Masse de l'électrode %1 : %2.")
                     .arg(sides[e], spokenQuantity(mass + QStringLiteral(" g")));
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
            lines << QStringLiteral("pH : %1.")
                         .arg(qtext(base::formatPattern(
                             sim::pH(s, static_cast<double>(volume.value())), "0.00")));
        }
    }
    if (s.intensite != 0.0F) {
        const std::array<int, 2> numbers = {sim::reactionNumberLeft(engine),
                                            sim::reactionNumberRight(engine)};
        for (std::size_t e = 0; e < 2; ++e) {
            const QString equation = spokenEquation(numbers[e]);
            if (!equation.isEmpty()) {
                lines << QStringLiteral("Électrode %1 : %2.").arg(sides[e], equation);
            }
        }
    }
    if (sim::nernst::enabled(p)) {
        const std::array<float, 2> potentials = {s.e01, s.e02};
        for (std::size_t e = 0; e < 2; ++e) {
            const QString volts =
                qtext(base::formatPattern(static_cast<double>(potentials[e]), "0.000"));
            lines << QStringLiteral("Potentiel de l'électrode %1 : %2.")
                         .arg(sides[e], spokenQuantity(volts + QStringLiteral(" V")));
        }
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace Ionaria::report
