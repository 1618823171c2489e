// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/CalculCommand.h"

#include "calc/Evaluator.h"
#include "calc/ResultDisplay.h"

#include <array>
#include <cstdint>
#include <utility>

namespace Ionaria::calc {

std::string expressionEcrite(std::string_view expression) {
    static constexpr std::array<std::pair<std::string_view, char>, 4> signes = {{
        {",", '.'},
        {"\xC3\x97", '*'}, // ×
        {"\xC2\xB7", '*'}, // ·
        {"\xC3\xB7", '/'}, // ÷
    }};
    std::string texte;
    texte.reserve(expression.size());
    while (!expression.empty()) {
        bool remplace = false;
        for (const auto& [signe, evaluateur] : signes) {
            if (expression.starts_with(signe)) {
                texte.push_back(evaluateur);
                expression.remove_prefix(signe.size());
                remplace = true;
                break;
            }
        }
        if (!remplace) {
            texte.push_back(expression.front());
            expression.remove_prefix(1);
        }
    }
    return texte;
}

int runCalculCommand(const std::string& expression, bool radians, std::ostream& out) {
    std::string texte = expressionEcrite(expression);
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
