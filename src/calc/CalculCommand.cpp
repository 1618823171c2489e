// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/CalculCommand.h"

#include "calc/Evaluator.h"
#include "calc/ResultDisplay.h"

#include <cstdint>

namespace Ionaria::calc {

int runCalculCommand(const std::string& expression, bool radians, std::ostream& out) {
    std::string texte = expression;
    std::int16_t codeErreur = kSansErreur;
    calcul(texte, codeErreur, radians ? kRadians : std::int16_t{0});
    if (codeErreur != kSansErreur) {
        out << messageErreur(codeErreur) << '\n';
        return 1;
    }
    const TexteResultat affiche = texteResultat(texte, false);
    out << affiche.texte << '\n';
    return affiche.numerique ? 0 : 1;
}

} // namespace Ionaria::calc
