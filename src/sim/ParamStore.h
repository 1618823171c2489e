// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/Catalogue.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Ionaria::sim {

// A numeric box: the text as shown and its number, parsed once when the text
// changes so that the engine never parses text while it runs.
class NumBox {
public:
    NumBox() = default;
    explicit NumBox(std::string text) { setText(std::move(text)); }

    void setText(std::string text);
    const std::string& text() const { return m_text; }
    // The single-precision reading of the text; 0 when it is not a number.
    float value() const { return m_value; }
    bool isNumber() const { return m_isNumber; }

private:
    std::string m_text;
    float m_value = 0.0F;
    bool m_isNumber = false;
};

// A list box: its entries, the selected position (-1 for none) and the tag,
// the text into which a nature box copies its selected position.
struct ListBox {
    std::vector<std::string> items;
    int listIndex = -1;
    std::string tag = "-1";

    int count() const { return static_cast<int>(items.size()); }
    // The tag read as a whole number; -1 when it holds none.
    int tagValue() const;
};

// The three measurement labels hold numbers; their texts are made when read,
// so that a run of many steps formats them once.
struct MeasureLabels {
    bool tempsShown = false;
    std::int32_t tempsSec = 0; // the seconds the time label shows
    bool intensiteShown = false;
    float intensite = 0.0F; // A
    bool limite = false;    // the voltage generator holds the current at its limit
    bool tensionShown = false;
    double tension = 0.0; // V, with its sign
};

// Every parameter control of the main window, with the value it holds. The
// Handlers write the controls; the engine writes the measurement labels and
// starts and stops Timer1 with its pause and reset commands. Everyone else
// reads it through a const engine.
struct ParamStore {
    ParamStore();

    std::array<NumBox, 10> Text2;  // the numeric boxes, by catalogue::Text2… index
    ListBox Combo1;                // electrolyte of the electrolysis
    std::array<ListBox, 2> Combo2; // natures of electrodes 1 and 2; their tags hold the code
    int Option1 = 0;               // 0 microscopic, 1 macroscopic
    catalogue::Montage Option2 = catalogue::Montage::Tension;
    int Check1 = 0;            // programmed stop
    int Check2 = 0;            // slowed animation
    int Check3 = 0;            // potentials follow the concentrations (Nernst)
    int Check4 = 0;            // hydrogen's overpotential on zinc and iron
    int HScroll2 = 1;          // simulated seconds per tick
    int UpDown1 = 30;          // generator voltage, tenths of a volt
    int UpDown2 = 5;           // generator current, hundredths of an ampere
    bool Timer1 = false;       // whether the animation timer runs
    bool stopBoxWhite = false; // background of the stop-time box: white, else grey
    std::string Label1;        // generator voltage, "2,5 V"
    std::string Label2;        // generator current, "50 mA"
    MeasureLabels mesures;     // Labeltps, Labelint and Labelu, as numbers

    bool isPile() const { return Option2 == catalogue::Montage::Pile; }
    // The last nature code of the montage's electrode lists, zinc's: an
    // electrolysis's list has graphite besides the four metals.
    int highestNatureCode() const {
        return isPile() ? catalogue::natureZincPile : catalogue::natureZincElectrolyse;
    }
    bool isMacro() const { return Option1 == 1; }

    std::string Labeltps() const;
    std::string Labelint() const;
    std::string Labelu() const;
};

// Texts of the measurement labels.
std::string timeLabelText(std::int32_t seconds);
std::string currentLabelText(float amperes);
std::string voltageLabelText(double volts);

} // namespace Ionaria::sim
