// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace Ionaria::calc {

// Error codes of an evaluation.
inline constexpr std::int16_t kSansErreur = 0;
inline constexpr std::int16_t kCalculImpossible = 1;
inline constexpr std::int16_t kErreurParentheses = 2;
inline constexpr std::int16_t kErreurOperateurs = 3;
// The expression is longer than kLongueurMax.
inline constexpr std::int16_t kErreurLongueur = 4;

// Each pass rescans and rebuilds the whole text, so the work grows with the
// square of the length: longer expressions than a pupil types (a few dozen
// characters, here bytes of UTF-8) are refused before any rewriting.
inline constexpr std::size_t kLongueurMax = 500;

// Angle mode: this value selects radians, any other degrees.
inline constexpr std::int16_t kRadians = 1;

// Evaluates a calculator expression by rewriting its text until one number is
// left: functions whose argument is a number are replaced by their value,
// innermost parenthesised groups by theirs, then the two-operand operators are
// applied one occurrence at a time. Each step works on the same text.
//
// A step that meets an impossible computation (division by zero, logarithm or
// root of a negative number, arc sine beyond 1, a value beyond the range of a
// double) leaves the text as it is and returns false; the text then stops
// shrinking and the pass limit ends the evaluation with kCalculImpossible.
// Nothing that is not a finite number is ever written into the text.
class Evaluator {
public:
    // afficheurVide tells that the calculator's display is blank; the operators
    // are then left alone, as the calculator has nothing to compute from.
    Evaluator(std::int16_t angle, bool afficheurVide);

    // On return, either codeErreur is kSansErreur and expression holds the
    // result in the number form of NumberText.h, or it holds a partial
    // rewriting that the caller discards (an expression beyond kLongueurMax
    // is left as it is, with kErreurLongueur).
    void calcul(std::string& expression, std::int16_t& codeErreur);

    // Normalises: upper case, "--" "+-" "-+" "++" folded, a leading "+"
    // dropped, parentheses around a plain number removed, then espaceTermes.
    void simplifie(std::string& texte) const;
    // One blank around every operator, after every function code and at each
    // end; a sign after "(", an operator, an exponent letter or at the start
    // stays attached to its number. Input forms "LN", "INVSIN"... and "ù" are
    // turned into the three-letter codes.
    static void espaceTermes(std::string& texte);
    // Sets kErreurOperateurs for "*", "/" or "^" without an operand after it,
    // then kErreurParentheses (which wins) when "(" and ")" do not pair up.
    static void verifParentheses(const std::string& texte, std::int16_t& codeErreur);
    void compteTermes(const std::string& texte);
    bool calculFonctions(std::string& texte);
    bool calculParentheses(std::string& texte);
    bool calculOperateurs(std::string& texte);

    // Passes of the main loop made by the last calcul.
    int passes() const { return m_passes; }

    static constexpr int kMaxPasses = 100;

private:
    std::int16_t m_angle;
    bool m_afficheurVide;
    int m_nbParentheses = 0;
    int m_nbFonctions = 0;
    int m_nbOperateurs = 0;
    int m_passes = 0;
};

// The evaluation as the calculator's "EXE" runs it.
void calcul(std::string& expression, std::int16_t& codeErreur, std::int16_t angle,
            bool afficheurVide = false);

} // namespace Ionaria::calc
