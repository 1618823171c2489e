// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/Keypad.h"

#include "calc/Evaluator.h"
#include "calc/NumberText.h"
#include "calc/ResultDisplay.h"

#include <array>
#include <cmath>

namespace Ionaria::calc {

namespace {

using enum KeyAction;

constexpr std::array kKeys{
    KeyInfo{"B0", "0", "", Append, "0"},
    KeyInfo{"B1", "1", "", Append, "1"},
    KeyInfo{"B2", "2", "", Append, "2"},
    KeyInfo{"B3", "3", "", Append, "3"},
    KeyInfo{"B4", "4", "", Append, "4"},
    KeyInfo{"B5", "5", "", Append, "5"},
    KeyInfo{"B6", "6", "", Append, "6"},
    KeyInfo{"B7", "7", "", Append, "7"},
    KeyInfo{"B8", "8", "", Append, "8"},
    KeyInfo{"B9", "9", "", Append, "9"},
    KeyInfo{"Bpoint", ".", "", Append, "."},
    KeyInfo{"BtoEXP", "EXP", "", Append, "E"},
    KeyInfo{"pico", "p", "pico", Append, "E-12"},
    KeyInfo{"nano", "n", "nano", Append, "E-9"},
    KeyInfo{"micro", "µ", "micro", Append, "E-6"},
    KeyInfo{"mil", "m", "milli", Append, "E-3"},
    KeyInfo{"kilo", "k", "kilo", Append, "E+3"},
    KeyInfo{"mega", "M", "", Append, "E+6"},
    KeyInfo{"giga", "G", "Giga", Append, "E+9"},
    KeyInfo{"tera", "T", "", Append, "E+12"},
    KeyInfo{"bsin", "&SIN", "Sinus", Function, "sin "},
    KeyInfo{"Bcos", "&COS", "Cosinus", Function, "cos "},
    KeyInfo{"Btan", "&TAN", "Tangente", Function, "tan "},
    KeyInfo{"invsin", "INV S&IN", "Inverse sinus", Function, "invSIN "},
    KeyInfo{"invcos", "INV C&OS", "Inverse cosinus", Function, "invCOS "},
    KeyInfo{"Btoncommande3", "INV T&AN", "Inverse tangente", Function, "invTAN "},
    KeyInfo{"Bln", "l&n", "", Function, "ln "},
    KeyInfo{"Blog", "&Log", "", Function, "log "},
    KeyInfo{"Bexp", "eˣ", "", Function, "exp "},
    KeyInfo{"B10x", "10ˣ", "", Function, "10 ^ "},
    KeyInfo{"racine", "√", "Racine carré", Function, "SQR "},
    KeyInfo{"Command5", "1/x", "Inverse", Function, "1 / "},
    KeyInfo{"pi", "π", "", Pi, ""},
    KeyInfo{"puissance", "xʸ", "", Power, ""},
    KeyInfo{"btcarre", "x²", "", Square, ""},
    KeyInfo{"Bpo", "(", "", Function, "("},
    KeyInfo{"bpf", ")", "", Append, ")"},
    KeyInfo{"ANS", "ANS", "Dernière réponse", Answer, ""},
    KeyInfo{"Command1", "M+", "Ajouter à la méoire", MemoryAdd, ""},
    KeyInfo{"Command2", "M-", "Soustraire à la mémoire", MemorySubtract, ""},
    KeyInfo{"Command3", "RM", "Rappel mémoire", MemoryRecall, ""},
    KeyInfo{"Command4", "CM", "Effacer la mémoire", MemoryClear, ""},
    KeyInfo{"EFFACE", "←", "Effacer dernier caractère", Erase, ""},
    KeyInfo{"RAZ", "AC", "Tout effacer", ClearAll, ""},
    KeyInfo{"div", "÷", "", Divide, ""},
    KeyInfo{"multip", "x", "", Multiply, ""},
    KeyInfo{"plus", "+", "", Plus, ""},
    KeyInfo{"moins", "-", "", Minus, ""},
    KeyInfo{"EXE", "EXE", "Calculer", Execute, ""},
};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool endsWith(const std::string& text, char c) {
    return !text.empty() && text.back() == c;
}

const KeyInfo& keyOf(KeyAction action, std::string_view text = {}) {
    for (const KeyInfo& key : kKeys) {
        if (key.action == action && (text.empty() || key.text == text)) {
            return key;
        }
    }
    return kKeys.front();
}

} // namespace

std::span<const KeyInfo> keypadKeys() {
    return kKeys;
}

Keypad::Keypad(double& memoire) : m_memoire(memoire) {}

bool Keypad::press(const KeyInfo& key) {
    switch (key.action) {
    case Append:
        append(key.text);
        break;
    case Function:
        implicitProduct();
        append(key.text);
        break;
    case Pi:
        implicitProduct();
        append(formatNumber(4.0 * std::atan(1.0)).value_or(""));
        break;
    case Plus:
        plus();
        break;
    case Minus:
        minus();
        break;
    case Multiply:
    case Divide:
        if (!displayEmpty()) {
            answerRule();
            append(key.action == Multiply ? " * " : " / ");
        }
        break;
    case Power:
        answerRule();
        append(" ^ ");
        break;
    case Square:
        answerRule();
        append(" ^ 2");
        break;
    case Answer:
        answer();
        break;
    case Erase:
        erase();
        break;
    case ClearAll:
        m_expression.clear();
        show(m_expression);
        break;
    case Execute:
        return execute();
    case MemoryAdd:
        addToMemory(1.0);
        break;
    case MemorySubtract:
        addToMemory(-1.0);
        break;
    case MemoryRecall:
        recallMemory();
        break;
    case MemoryClear:
        m_memoire = 0.0;
        break;
    }
    return false;
}

bool Keypad::pressNamed(std::string_view name, bool* beep) {
    for (const KeyInfo& key : kKeys) {
        if (key.name == name) {
            const bool sounds = press(key);
            if (beep != nullptr) {
                *beep = sounds;
            }
            return true;
        }
    }
    return false;
}

bool Keypad::type(char32_t character) {
    if (character >= U'0' && character <= U'9') {
        append(std::string(1, static_cast<char>(character)));
        return false;
    }
    switch (character) {
    case U'.':
        append(".");
        return false;
    case U'e':
    case U'E':
    case U'd':
    case U'D':
        append("E");
        return false;
    case U'(':
        return press(keyOf(Function, "("));
    case U')':
        append(")");
        return false;
    case U'*':
    case U'×':
    case U'·':
        return press(keyOf(Multiply));
    case U'+':
        return press(keyOf(Plus));
    case U'-':
        return press(keyOf(Minus));
    case U'/':
    case U'÷':
        return press(keyOf(Divide));
    case U'^':
        return press(keyOf(Power));
    default:
        return false;
    }
}

void Keypad::setScientifique(bool scientifique) {
    m_scientifique = scientifique;
    showAnswerAgain();
}

void Keypad::show(std::string text, bool message) {
    m_display = std::move(text);
    m_message = message;
}

void Keypad::append(std::string_view text) {
    m_expression += text;
    show(m_expression);
}

void Keypad::implicitProduct() {
    if (!m_expression.empty() && !endsWith(m_expression, '(') && !endsWith(m_expression, '-') &&
        !endsWith(m_expression, ' ')) {
        m_expression += " * ";
    }
}

void Keypad::answerRule() {
    if (trimmed(m_expression).empty()) {
        answer();
    }
}

bool Keypad::displayEmpty() const {
    return trimmed(m_display).empty();
}

void Keypad::answer() {
    if (m_codeErreur == kSansErreur && !m_depassement) {
        m_expression += trimmed(m_reponse);
    }
    show(m_expression);
}

void Keypad::erase() {
    if (m_expression.empty()) {
        return;
    }
    const std::size_t last = m_expression.size() - 1;
    if (m_expression[last] != ' ') {
        // One character, whole: the answer may have brought a letter of more
        // than one byte.
        std::size_t start = last;
        while (start > 0 && (static_cast<unsigned char>(m_expression[start]) & 0xC0U) == 0x80U) {
            --start;
        }
        m_expression.erase(start);
    } else if (last >= 1 &&
               std::string_view("*+/-^").find(m_expression[last - 1]) != std::string_view::npos) {
        m_expression.erase(last >= 2 ? last - 2 : 0);
    } else if (last == 0) {
        m_expression.clear();
    } else {
        const std::size_t cut = m_expression.find_last_of(" (", last - 1);
        m_expression.erase(cut == std::string::npos ? 0 : cut + 1);
    }
    show(m_expression);
}

bool Keypad::execute() {
    m_codeErreur = kSansErreur;
    m_depassement = false;
    std::string copie = m_expression;
    // The display shows the patience message while the evaluation runs, and
    // the evaluation is told whether the display is empty then: it is not.
    show(std::string(kPatience));
    calcul(copie, m_codeErreur, m_radians ? kRadians : std::int16_t{0}, displayEmpty());
    bool beep = false;
    std::string texte;
    if (m_codeErreur == kSansErreur) {
        TexteResultat resultat = texteResultat(copie, m_scientifique);
        texte = std::move(resultat.texte);
        if (!resultat.numerique) {
            m_depassement = true;
            beep = true;
        }
        m_expression.clear();
    } else {
        texte = std::string(messageErreur(m_codeErreur));
        beep = true;
    }
    show(texte, m_codeErreur != kSansErreur);
    m_reponse = std::move(texte);
    return beep;
}

void Keypad::plus() {
    if (displayEmpty()) {
        return;
    }
    answerRule();
    append(endsWith(m_expression, 'E') ? "+" : " + ");
}

void Keypad::minus() {
    if (m_expression.empty() || endsWith(m_expression, '(') || endsWith(m_expression, ' ') ||
        endsWith(m_expression, 'E')) {
        append("-");
    } else if (endsWith(m_expression, '-')) {
        append(" -");
    } else {
        append(" - ");
    }
}

void Keypad::addToMemory(double sign) {
    const ReadResult lu = readLeadingNumber(m_display);
    if (lu.status != ReadStatus::Ok) {
        return;
    }
    // A sum beyond the range of a double leaves the memory as it was.
    const double somme = m_memoire + sign * lu.value;
    if (std::isfinite(somme)) {
        m_memoire = somme;
    }
}

void Keypad::recallMemory() {
    const auto texte = m_scientifique ? formatScientific(m_memoire) : formatNumber(m_memoire);
    if (texte) {
        append(*texte);
    }
}

void Keypad::showAnswerAgain() {
    if (!m_expression.empty() || m_codeErreur != kSansErreur || m_depassement ||
        m_reponse.empty()) {
        return;
    }
    const ReadResult lu = readLeadingNumber(m_reponse);
    if (lu.status != ReadStatus::Ok) {
        return;
    }
    if (const auto texte = texteNombre(lu.value, m_scientifique)) {
        show(*texte);
    }
}

} // namespace Ionaria::calc
