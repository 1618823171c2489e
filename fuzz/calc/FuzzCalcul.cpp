// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/Evaluator.h"
#include "calc/NumberText.h"
#include "calc/ResultDisplay.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace Ionaria::calc;

namespace {

// Expressions are typed on the calculator: longer inputs only slow the search.
constexpr std::size_t kMaxLength = 512;

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void evaluate(const std::string& input, std::int16_t angle, bool afficheurVide) {
    Evaluator evaluateur(angle, afficheurVide);
    std::string texte = input;
    std::int16_t codeErreur = -1;
    evaluateur.calcul(texte, codeErreur);
    check(codeErreur >= kSansErreur && codeErreur <= kErreurLongueur);
    check((codeErreur == kErreurLongueur) == (input.size() > kLongueurMax));
    check(evaluateur.passes() <= Evaluator::kMaxPasses + 1);
    if (codeErreur != kSansErreur) {
        check(!messageErreur(codeErreur).empty());
        return;
    }
    check(isNumberToken(texte));
    for (const bool scientifique : {false, true}) {
        const TexteResultat affiche = texteResultat(texte, scientifique);
        check(!affiche.texte.empty());
        if (affiche.numerique) {
            check(readLeadingNumber(affiche.texte).status == ReadStatus::Ok);
        }
    }
}

// Every text written for a value must read back to it within 15 digits.
void roundTrip(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(double)) {
        return;
    }
    double value = 0.0;
    std::memcpy(&value, data, sizeof value);
    const auto texte = formatNumber(value);
    if (!texte) {
        check(!std::isfinite(value) || std::fabs(value) > 1.7976931348623e308);
        return;
    }
    const ReadResult lu = readNumber(*texte);
    check(lu.status == ReadStatus::Ok);
    check(std::fabs(lu.value - value) <= std::fabs(value) * 1e-14 || std::fabs(value) < 1e-300);
}

} // namespace

// The first byte chooses the angle mode and whether the display is blank;
// the rest is the expression.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > kMaxLength) {
        return -1;
    }
    const std::int16_t angle = (data[0] & 1U) != 0 ? kRadians : std::int16_t{0};
    const bool afficheurVide = (data[0] & 0x0EU) == 0x0EU;
    const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
    evaluate(input, angle, afficheurVide);
    roundTrip(data + 1, size - 1);
    return 0;
}
