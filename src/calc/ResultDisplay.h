// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Ionaria::calc {

// Shown in the display while "EXE" evaluates.
inline constexpr std::string_view kPatience = "    Patience... Calculs en cours.     ";
// Shown when a result that reads as a number lies beyond the range of a double.
inline constexpr std::string_view kDepassement = "Dépassement de capacité";

// The message of an evaluation error code (1 to 4); any other code reads as
// an impossible computation.
std::string_view messageErreur(std::int16_t codeErreur);

// A value as the display shows it: the number form with a leading blank when
// the value is not negative (" 14", "-2.5"), or with scientific true the
// pattern "#.#######E+00". No text for a value that is not finite.
std::optional<std::string> texteNombre(double value, bool scientifique);

struct TexteResultat {
    std::string texte;
    // False when the text is a message ("Dépassement de capacité") rather than
    // a number; the calculator then beeps and offers no answer to reuse.
    bool numerique = false;
};

// What "EXE" shows for a successful evaluation whose text is resultat.
TexteResultat texteResultat(std::string_view resultat, bool scientifique);

} // namespace Ionaria::calc
