// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string_view>

// The fixed chemical catalogue: montages, electrode natures, electrolytes,
// species numbers and reaction codes, redox couples, molar masses and the
// parameter ranges.
namespace Ionaria::sim::catalogue {

// The montages, by their code: the index of the montage option group and the
// number a configuration file holds. A cell on its resistor, an electrolysis
// with a voltage generator, an electrolysis with a current generator.
enum class Montage { Pile = 0, Tension = 1, Courant = 2 };
inline constexpr int montageCount = 3;

constexpr int montageCode(Montage montage) {
    return static_cast<int>(montage);
}

// The montage of a code; none outside the option group.
constexpr std::optional<Montage> montageOfCode(int code) {
    if (code < 0 || code >= montageCount) {
        return std::nullopt;
    }
    return static_cast<Montage>(code);
}

inline constexpr std::array<std::string_view, montageCount> montageCaptions = {
    "Association de deux ½ piles", "Électrolyse avec un générateur de tension",
    "Électrolyse avec un générateur de courant"};

constexpr std::string_view montageCaption(Montage montage) {
    return montageCaptions[static_cast<std::size_t>(montageCode(montage))];
}

// Electrode natures, by list position (the nature code).
inline constexpr std::array<std::string_view, 5> naturesElectrolyse = {"Aluminium", "Cuivre", "Fer",
                                                                       "Graphite", "Zinc"};
inline constexpr std::array<std::string_view, 4> naturesPile = {"Aluminium", "Cuivre", "Fer",
                                                                "Zinc"};
// The nature codes by name. Zinc ends both lists, after graphite in an
// electrolysis's.
inline constexpr int natureAluminium = 0;
inline constexpr int natureCuivre = 1;
inline constexpr int natureFer = 2;
inline constexpr int natureGraphite = 3;
inline constexpr int natureZincPile = 3;
inline constexpr int natureZincElectrolyse = 4;

// Electrolytes of the electrolysis vessel, by list position.
inline constexpr std::array<std::string_view, 10> electrolytes = {
    "Acide chlorhydrique",   "Acide sulfurique",   "Chlorure d'aluminium III",
    "Chlorure de cuivre II", "Chlorure de sodium", "Sulfate d'aluminium III",
    "Sulfate de cuivre II",  "Sulfate de fer II",  "Sulfate de fer III",
    "Sulfate de zinc"};
inline constexpr int electrolyteAcideChlorhydrique = 0;
inline constexpr int electrolyteAcideSulfurique = 1;
inline constexpr int electrolyteChlorureAluminium = 2;
inline constexpr int electrolyteChlorureCuivre = 3;
inline constexpr int electrolyteChlorureDeSodium = 4;
inline constexpr int electrolyteSulfateAluminium = 5;
inline constexpr int electrolyteSulfateCuivre = 6;
inline constexpr int electrolyteSulfateFer2 = 7;
inline constexpr int electrolyteSulfateFer3 = 8;
inline constexpr int electrolyteSulfateZinc = 9;

// Species numbers (index of the amounts) and reaction codes.
inline constexpr int chlorure = 1;
inline constexpr int sulfate = 2;
inline constexpr int hydrogene = 3;
inline constexpr int hydroxyde = 4;
inline constexpr int fer2 = 5;
inline constexpr int fer3 = 6;
inline constexpr int sodium = 7;
inline constexpr int zinc2 = 8;
inline constexpr int aluminium3 = 9;
inline constexpr int cuivre2 = 10;
inline constexpr int eau = 11;
// The half-equation numbers of water's other two processes: water reduced
// at the cathode once no H+ is left, HO- oxidised at the anode while the
// solution holds some. The reaction codes stay 3 and 11.
inline constexpr int eauReduite = 12;
inline constexpr int hydroxydeOxyde = hydroxyde;
inline constexpr int anodeAluminium = 13;
inline constexpr int anodeCuivre = 14;
inline constexpr int anodeFer = 15;
inline constexpr int anodeZinc = 16;

// Names of species 1 to 10 as the program writes them.
inline constexpr std::array<std::string_view, 11> speciesNames = {
    "", "Cl-", "SO4 2-", "H+", "HO-", "Fe2+", "Fe3+", "Na+", "Zn2+", "Al3+", "Cu2+"};

// Charges of species 1 to 10.
inline constexpr std::array<int, 11> charges = {0, -1, -2, 1, -1, 2, 3, 1, 2, 3, 2};

// Molar ionic conductivity factors of species 1 to 10, multiplying the
// amount in mol in the conductance of the electrolyte.
inline constexpr std::array<double, 11> conductivity = {0.0,  7.631, 16.0,  34.97, 19.8, 10.8,
                                                        20.4, 5.008, 10.56, 18.3,  10.72};

// The overpotential of hydrogen on zinc and iron, V: with the option, their
// cations are reduced before water while they last.
inline constexpr double surtensionH2 = 0.8;

// Water's ionic product at 25 °C, (mol/L)².
inline constexpr double produitIoniqueEau = 1E-14;

// One species put in the vessel: multiplicity x c x V / 1000 mol.
struct Solute {
    int species = 0;
    int multiplicity = 0;
};
struct Electrolyte {
    Solute first;
    Solute second;
};
inline constexpr std::array<Electrolyte, 10> electrolyteContents = {{
    {{hydrogene, 1}, {chlorure, 1}},
    {{hydrogene, 2}, {sulfate, 1}},
    {{aluminium3, 1}, {chlorure, 3}},
    {{cuivre2, 1}, {chlorure, 2}},
    {{sodium, 1}, {chlorure, 1}},
    {{aluminium3, 2}, {sulfate, 3}},
    {{cuivre2, 1}, {sulfate, 1}},
    {{fer2, 1}, {sulfate, 1}},
    {{fer3, 2}, {sulfate, 3}},
    {{zinc2, 1}, {sulfate, 1}},
}};

// Molar masses in g/mol and the Faraday constant in C/mol.
inline constexpr double masseAl = 27.0;
inline constexpr double masseCu = 63.5;
inline constexpr double masseFe = 55.8;
inline constexpr double masseZn = 65.4;
inline constexpr double faraday = 96500.0;

// Metals of the cell's half-cells, by tag "0" to "3": electrons n, molar
// mass M, metal code, cation and anion conductivity factors, E0 in volts and
// cations per formula unit of the dissolved salt.
struct HalfCellMetal {
    int n;
    double molarMass;
    int metalCode;
    double cationFactor;
    double anionFactor;
    float e0;
    double cationsPerSalt;
};
inline constexpr std::array<HalfCellMetal, 4> halfCellMetals = {{
    {3, masseAl, 0, 18.3, 48.0, -1.67F, 2.0},
    {2, masseCu, 1, 10.72, 16.0, 0.34F, 1.0},
    {2, masseFe, 2, 10.8, 16.0, -0.44F, 1.0},
    {2, masseZn, 3, 10.56, 16.0, -0.76F, 1.0},
}};

// The ten numeric boxes Text2, by index.
inline constexpr int Text2Concentration = 0;  // electrolyte, mol/L
inline constexpr int Text2Volume = 1;         // electrolysis vessel, mL
inline constexpr int Text2MasseG = 2;         // electrode G (1), g
inline constexpr int Text2MasseD = 3;         // electrode D (2), g
inline constexpr int Text2Resistance = 4;     // the cell's resistor, Ω
inline constexpr int Text2ConcentrationG = 5; // half-cell 1, mol/L
inline constexpr int Text2VolumeG = 6;        // half-cell 1, mL
inline constexpr int Text2ConcentrationD = 7; // half-cell 2, mol/L
inline constexpr int Text2VolumeD = 8;        // half-cell 2, mL
inline constexpr int Text2Arret = 9;          // time of the programmed stop, s

// Ranges of the numeric boxes, as enforced when a box is validated.
struct Range {
    float low;
    float high;
};
inline constexpr std::array<Range, 10> text2Ranges = {{
    {1E-05F, 1.0F},
    {200.0F, 500.0F},
    {1.0F, 100.0F},
    {1.0F, 100.0F},
    {5.0F, 1000.0F},
    {1E-05F, 1.0F},
    {80.0F, 200.0F},
    {1E-05F, 1.0F},
    {80.0F, 200.0F},
    {0.0F, 360000.0F},
}};

// Texts shown before any edit.
inline constexpr std::array<std::string_view, 10> text2Design = {
    "0,01", "500", "10", "10", "10", "0,01", "200", "0,01", "200", "10"};

// Ranges of the other controls.
inline constexpr int hScroll2Min = 1;
inline constexpr int hScroll2Max = 39;
inline constexpr int upDown1Min = 0;    // tenths of a volt
inline constexpr int upDown1Max = 100;  // tenths of a volt
inline constexpr int upDown1Start = 25; // tenths of a volt, at start-up
inline constexpr int upDown2Min = 1;    // hundredths of an ampere
inline constexpr int upDown2Max = 200;  // hundredths of an ampere
inline constexpr int upDown2Start = 5;  // hundredths of an ampere, at start-up

// Geometry shared by the engine and the drawing, in pixels of the picture.
inline constexpr int decalYInitial = -30;
inline constexpr int fondCuve = 504; // bottom of the vessels, relative to decalY

} // namespace Ionaria::sim::catalogue
