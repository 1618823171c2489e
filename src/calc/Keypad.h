// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace Ionaria::calc {

// What a key of the calculator does.
enum class KeyAction {
    Append,   // append the key's text
    Function, // implicit product, then append the key's text
    Pi,       // implicit product, then append pi in the number form
    Plus,
    Minus,
    Multiply,
    Divide,
    Power,          // answer rule, then " ^ "
    Square,         // answer rule, then " ^ 2"
    Answer,         // "ANS"
    Erase,          // "EFFACE": the last token
    ClearAll,       // "AC"
    Execute,        // "EXE"
    MemoryAdd,      // "M+"
    MemorySubtract, // "M-"
    MemoryRecall,   // "RM"
    MemoryClear,    // "CM"
};

// One key of "Machine à calculer": its control name, its caption (with "&"
// before the mnemonic letter), its hint ("" for none), what it does, and the
// text it appends when it does.
struct KeyInfo {
    std::string_view name;
    std::string_view caption;
    std::string_view tooltip;
    KeyAction action;
    std::string_view text;
};

// Every key, in the order the window creates them: the digits, the decimal
// point and "EXP", the unit prefixes, the functions, then the operators and
// the memory. The desktop window places them; the browser's builds its own.
std::span<const KeyInfo> keypadKeys();

// The calculator without its window: the expression being typed, what the
// display shows, the last answer and the error code of the last "EXE". Each
// key or typed character goes through here, so that the desktop window and
// the browser's behave alike.
class Keypad {
public:
    // memoire is the memory register, which outlives any one window.
    explicit Keypad(double& memoire);

    // Does what the key does. Returns true when it calls for a beep (an
    // "EXE" that failed or overflowed).
    bool press(const KeyInfo& key);
    // The key of that control name; false for an unknown name.
    bool pressNamed(std::string_view name, bool* beep = nullptr);
    // A character typed in the display: digits, ".", "e" "d" "E" "D", the
    // parentheses and the operators ("×" "·" multiply, "÷" divides); any
    // other is ignored. The window maps Backspace and Enter to "EFFACE" and
    // "EXE", and a decimal key of any layout to ".". Returns the beep flag.
    bool type(char32_t character);

    // "Radians" rather than "Degrés".
    void setRadians(bool radians) { m_radians = radians; }
    // "Scientifique" rather than "Standard"; choosing either shows the last
    // answer again in that form when a result is on show.
    void setScientifique(bool scientifique);

    const std::string& expression() const { return m_expression; }
    // What the display shows; message is true when it is an error's message.
    const std::string& display() const { return m_display; }
    bool displayIsMessage() const { return m_message; }
    const std::string& reponse() const { return m_reponse; }
    std::int16_t codeErreur() const { return m_codeErreur; }

private:
    void show(std::string text, bool message = false);
    void append(std::string_view text);
    void implicitProduct();
    void answerRule();
    bool displayEmpty() const;
    void answer();
    void erase();
    bool execute();
    void plus();
    void minus();
    void addToMemory(double sign);
    void recallMemory();
    void showAnswerAgain();

    double& m_memoire;
    std::string m_expression;
    std::string m_display;
    bool m_message = false;
    std::string m_reponse;
    std::int16_t m_codeErreur = 0;
    // The last "EXE" showed "Dépassement de capacité": there is no answer to
    // reuse, although the evaluation itself raised no error code.
    bool m_depassement = false;
    bool m_radians = false;
    bool m_scientifique = false;
};

} // namespace Ionaria::calc
