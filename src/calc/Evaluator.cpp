// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/Evaluator.h"

#include "calc/NumberText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string_view>

namespace Ionaria::calc {

namespace {

// "LON" and "SQR" are spaced like the others: the text is normalised again
// between passes, and an unspaced code would never be evaluated.
constexpr std::array<std::string_view, 10> kSpacedCodes = {"SQR", "SIN", "COS", "LOG", "TAN",
                                                           "ISI", "EXP", "ITA", "ICO", "LON"};

// Highest rank first; the order makes a ^ b ^ c left-associative and keeps
// a / b * c and a - b + c left to right.
constexpr std::array<std::string_view, 5> kOperateurs = {" ^ ", " / ", " * ", " - ", " + "};

// "ù" in UTF-8, and its capital, typed for a square root.
constexpr std::string_view kRacine = "\xC3\xB9";
constexpr std::string_view kRacineMajuscule = "\xC3\x99";

const double kPi = 4.0 * std::atan(1.0);

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool startsAt(std::string_view text, std::size_t position, std::string_view word) {
    return position <= text.size() && text.substr(position).starts_with(word);
}

bool isFunctionCodeAt(std::string_view text, std::size_t position) {
    if (position + 3 > text.size() || text[position] < 'C' || text[position] > 'T') {
        return false;
    }
    for (const std::string_view code : kSpacedCodes) {
        if (startsAt(text, position, code)) {
            return true;
        }
    }
    return false;
}

void removeBlanks(std::string& text) {
    std::erase(text, ' ');
}

void trim(std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    const std::size_t last = text.find_last_not_of(' ');
    text = text.substr(first, last - first + 1);
}

std::optional<double> finite(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// Arc sine as the calculator has always computed it, through the arc tangent.
std::optional<double> arcSinus(double x) {
    if (x == 1.0) {
        return kPi / 2.0;
    }
    if (x == -1.0) {
        return -kPi / 2.0;
    }
    if (std::fabs(x) > 1.0) {
        return std::nullopt;
    }
    return std::atan(x / std::sqrt(1.0 - x * x));
}

std::optional<double> appliqueFonction(std::string_view code, double x, std::int16_t angle) {
    const bool radians = angle == kRadians;
    const double versRadians = radians ? 1.0 : kPi / 180.0;
    const double versAngle = radians ? 1.0 : 180.0 / kPi;
    if (code == "SQR") {
        return x < 0.0 ? std::nullopt : finite(std::sqrt(x));
    }
    if (code == "EXP") {
        return finite(std::exp(x));
    }
    if (code == "LON") {
        return x <= 0.0 ? std::nullopt : finite(std::log(x));
    }
    if (code == "LOG") {
        return x <= 0.0 ? std::nullopt : finite(std::log(x) / std::log(10.0));
    }
    if (code == "SIN" || code == "COS" || code == "TAN") {
        const auto a = finite(x * versRadians);
        if (!a) {
            return std::nullopt;
        }
        if (code == "SIN") {
            return finite(std::sin(*a));
        }
        if (code == "COS") {
            return finite(std::cos(*a));
        }
        return finite(std::tan(*a));
    }
    if (code == "ISI" || code == "ICO") {
        const auto a = arcSinus(x);
        if (!a) {
            return std::nullopt;
        }
        const double value = code == "ISI" ? *a : kPi / 2.0 - *a;
        return finite(value * versAngle);
    }
    if (code == "ITA") {
        return finite(std::atan(x) * versAngle);
    }
    return std::nullopt;
}

std::optional<double> appliqueOperateur(char operateur, double gauche, double droite) {
    switch (operateur) {
    case '^':
        return finite(std::pow(gauche, droite));
    case '/':
        if (droite == 0.0) {
            return std::nullopt;
        }
        return finite(gauche / droite);
    case '*':
        return finite(gauche * droite);
    case '-':
        return finite(gauche - droite);
    case '+':
        return finite(gauche + droite);
    default:
        return std::nullopt;
    }
}

} // namespace

Evaluator::Evaluator(std::int16_t angle, bool afficheurVide)
    : m_angle(angle), m_afficheurVide(afficheurVide) {}

void Evaluator::calcul(std::string& expression, std::int16_t& codeErreur) {
    codeErreur = kSansErreur;
    m_passes = 0;
    if (expression.size() > kLongueurMax) {
        codeErreur = kErreurLongueur;
        return;
    }
    simplifie(expression);
    verifParentheses(expression, codeErreur);
    if (codeErreur != kSansErreur) {
        return;
    }
    compteTermes(expression);
    std::string copie;
    for (;;) {
        ++m_passes;
        if (expression == copie) {
            simplifie(expression);
        }
        copie = expression;
        if (m_passes > kMaxPasses) {
            codeErreur = kCalculImpossible;
            return;
        }
        if (m_nbFonctions > 0) {
            calculFonctions(expression);
            simplifie(expression);
        }
        if (m_nbParentheses > 0) {
            calculParentheses(expression);
        }
        compteTermes(expression);
        if (m_nbFonctions >= 1 || m_nbParentheses >= 1) {
            continue;
        }
        if (m_nbOperateurs > 0) {
            calculOperateurs(expression);
        }
        compteTermes(expression);
        if (m_nbOperateurs < 1) {
            break;
        }
    }
    trim(expression);
    // A text that is not one number ("E", ".", "()") is no result either.
    if (expression.find(' ') != std::string::npos || !isNumberToken(expression)) {
        codeErreur = kCalculImpossible;
    }
}

void Evaluator::simplifie(std::string& texte) const {
    for (char& c : texte) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    removeBlanks(texte);
    std::string avant;
    do {
        avant = texte;
        const std::size_t longueur = texte.size();
        for (std::size_t i = 0; i < longueur && i + 1 < texte.size(); ++i) {
            const std::string_view paire = std::string_view(texte).substr(i, 2);
            if (paire == "--" || paire == "++") {
                texte.replace(i, 2, "+");
            } else if (paire == "+-" || paire == "-+") {
                texte.replace(i, 2, "-");
            }
        }
        if (texte.starts_with('+')) {
            texte.erase(0, 1);
        }
        for (std::size_t i = 0; i < texte.size(); ++i) {
            if (texte[i] != '(') {
                continue;
            }
            std::size_t j = i + 1;
            if (j < texte.size() && (texte[j] == '-' || texte[j] == '+')) {
                ++j;
            }
            while (j < texte.size() && (isDigit(texte[j]) || texte[j] == '.')) {
                ++j;
            }
            if (j < texte.size() && texte[j] == ')' && j > i + 1) {
                texte.erase(j, 1);
                texte.erase(i, 1);
            }
        }
    } while (texte != avant);
    espaceTermes(texte);
}

void Evaluator::espaceTermes(std::string& texte) {
    removeBlanks(texte);
    if (texte.starts_with('+')) {
        texte.erase(0, 1);
    }
    const std::string_view source = texte;
    std::string espace = " ";
    espace.reserve(source.size() * 3 + 2);
    std::size_t i = 0;
    while (i < source.size()) {
        if (startsAt(source, i, kRacine) || startsAt(source, i, kRacineMajuscule)) {
            espace += "SQR ";
            i += kRacine.size();
            continue;
        }
        if (startsAt(source, i, "LN")) {
            espace += "LON ";
            i += 2;
            continue;
        }
        if (isFunctionCodeAt(source, i)) {
            espace += source.substr(i, 3);
            espace += ' ';
            i += 3;
            continue;
        }
        if (startsAt(source, i, "INV")) {
            // INVSIN, INVCOS, INVTAN: "I" and the first two letters of the
            // function name make the code ISI, ICO, ITA.
            espace += 'I';
            espace += source.substr(i + 3, 2);
            espace += ' ';
            i = std::min(source.size(), i + 6);
            continue;
        }
        const char c = source[i];
        const char precedent = espace.back();
        if (c == '^' || c == '*' || c == '/') {
            espace += ' ';
            espace += c;
            espace += ' ';
        } else if (c == '+') {
            if (precedent == 'D' || precedent == 'E') {
                espace += c;
            } else {
                espace += " + ";
            }
        } else if (c == '-') {
            if (precedent == 'D' || precedent == 'E' || precedent == '(' || precedent == ' ') {
                espace += c;
            } else {
                espace += " - ";
            }
        } else {
            espace += c;
        }
        ++i;
    }
    espace += ' ';
    texte = std::move(espace);
}

void Evaluator::verifParentheses(const std::string& texte, std::int16_t& codeErreur) {
    std::size_t ouvrantes = 0;
    std::size_t fermantes = 0;
    for (std::size_t i = 0; i < texte.size(); ++i) {
        const char c = texte[i];
        if (c == '(') {
            ++ouvrantes;
        } else if (c == ')') {
            ++fermantes;
        } else if (c == '*' || c == '/' || c == '^') {
            if (i + 2 >= texte.size() || texte[i + 2] == ' ') {
                codeErreur = kErreurOperateurs;
            }
        }
    }
    if (ouvrantes != fermantes) {
        codeErreur = kErreurParentheses;
    }
}

void Evaluator::compteTermes(const std::string& texte) {
    m_nbParentheses = 0;
    m_nbFonctions = 0;
    m_nbOperateurs = 0;
    const std::string_view vue = texte;
    for (std::size_t i = 0; i < vue.size(); ++i) {
        if (vue[i] == '(') {
            ++m_nbParentheses;
        }
        if (vue[i] == ' ') {
            for (const std::string_view operateur : kOperateurs) {
                if (startsAt(vue, i, operateur)) {
                    ++m_nbOperateurs;
                }
            }
        }
        if (isFunctionCodeAt(vue, i)) {
            ++m_nbFonctions;
        }
    }
}

bool Evaluator::calculFonctions(std::string& texte) {
    std::size_t i = 0;
    while (i + 3 < texte.size() && m_nbFonctions >= 1) {
        const std::size_t debut = i + 4;
        const bool candidat = isFunctionCodeAt(texte, i) && texte[i + 3] == ' ' &&
                              debut < texte.size() &&
                              (isDigit(texte[debut]) || texte[debut] == '-' || texte[debut] == '.');
        if (!candidat) {
            ++i;
            continue;
        }
        std::size_t fin = texte.find_first_of(") ", debut);
        if (fin == std::string::npos) {
            fin = texte.size();
        }
        const ReadResult argument = readNumber(std::string_view(texte).substr(debut, fin - debut));
        if (argument.status == ReadStatus::Malformed) {
            // Not a number yet ("-SIN 30"): an inner function comes first.
            ++i;
            continue;
        }
        if (argument.status == ReadStatus::Overflow) {
            return false;
        }
        const auto valeur = appliqueFonction(texte.substr(i, 3), argument.value, m_angle);
        const auto ecrit = valeur ? formatNumber(*valeur) : std::nullopt;
        if (!ecrit) {
            return false;
        }
        texte.replace(i, fin - i, *ecrit);
        --m_nbFonctions;
        i = 0;
    }
    return true;
}

bool Evaluator::calculParentheses(std::string& texte) {
    while (m_nbParentheses > 0) {
        const std::size_t ouvrante = texte.rfind('(');
        if (ouvrante == std::string::npos) {
            return true;
        }
        const std::size_t fermante = texte.find(')', ouvrante);
        if (fermante == std::string::npos) {
            return true;
        }
        std::string groupe = texte.substr(ouvrante + 1, fermante - ouvrante - 1);
        for (const char c : groupe) {
            if (c >= 'F' && c <= 'Y') {
                return true;
            }
        }
        simplifie(groupe);
        // A group that could not be reduced to one number keeps its
        // parentheses: unwrapping it would change what its operators apply to.
        if (!calculOperateurs(groupe)) {
            return false;
        }
        std::string reduit = groupe;
        trim(reduit);
        if (reduit.find(' ') != std::string::npos) {
            return false;
        }
        texte.replace(ouvrante, fermante - ouvrante + 1, groupe);
        --m_nbParentheses;
        simplifie(texte);
    }
    return true;
}

bool Evaluator::calculOperateurs(std::string& texte) {
    simplifie(texte);
    std::size_t rang = 0;
    while (rang < kOperateurs.size()) {
        if (m_afficheurVide) {
            return false;
        }
        const std::string_view operateur = kOperateurs[rang];
        const std::size_t position = texte.find(operateur, 1);
        if (position == std::string::npos) {
            ++rang;
            continue;
        }
        const std::size_t blancAvant = texte.rfind(' ', position - 1);
        const std::size_t debut = blancAvant == std::string::npos ? 0 : blancAvant + 1;
        const std::size_t debutDroite = position + operateur.size();
        std::size_t fin = texte.find(' ', debutDroite);
        if (fin == std::string::npos) {
            fin = texte.size();
        }
        const std::string_view vue = texte;
        const ReadResult gauche = readNumber(vue.substr(debut, position - debut));
        const ReadResult droite = readNumber(vue.substr(debutDroite, fin - debutDroite));
        if (gauche.status != ReadStatus::Ok || droite.status != ReadStatus::Ok) {
            return false;
        }
        const auto valeur = appliqueOperateur(operateur[1], gauche.value, droite.value);
        const auto ecrit = valeur ? formatNumber(*valeur) : std::nullopt;
        if (!ecrit) {
            return false;
        }
        texte.replace(debut, fin - debut, *ecrit);
        --m_nbOperateurs;
        if (m_nbOperateurs < 1) {
            return true;
        }
        rang = 0;
    }
    return true;
}

void calcul(std::string& expression, std::int16_t& codeErreur, std::int16_t angle,
            bool afficheurVide) {
    Evaluator evaluateur(angle, afficheurVide);
    evaluateur.calcul(expression, codeErreur);
}

} // namespace Ionaria::calc
