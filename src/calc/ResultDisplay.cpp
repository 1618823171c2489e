// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/ResultDisplay.h"

#include "calc/Evaluator.h"
#include "calc/NumberText.h"

namespace Ionaria::calc {

std::string_view messageErreur(std::int16_t codeErreur) {
    switch (codeErreur) {
    case kErreurParentheses:
        return "Erreur saisie: revoir les parenthèses";
    case kErreurOperateurs:
        return "Erreur saisie: incompréhension sur opérateurs: ^ * / + -";
    case kErreurLongueur:
        static_assert(kLongueurMax == 500, "the message gives the length");
        return "Erreur saisie: expression trop longue (500 caractères au plus)";
    default:
        return "Calcul impossible";
    }
}

std::optional<std::string> texteNombre(double value, bool scientifique) {
    if (scientifique) {
        return formatScientific(value);
    }
    auto texte = formatNumber(value);
    if (texte && !(value < 0.0)) {
        texte->insert(0, 1, ' ');
    }
    return texte;
}

TexteResultat texteResultat(std::string_view resultat, bool scientifique) {
    const ReadResult lu = readLeadingNumber(resultat);
    if (lu.status == ReadStatus::Ok) {
        if (auto texte = texteNombre(lu.value, scientifique)) {
            return {std::move(*texte), true};
        }
    }
    return {std::string(kDepassement), false};
}

} // namespace Ionaria::calc
