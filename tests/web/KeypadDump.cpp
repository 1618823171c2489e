// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's keypad driven by sequences of keys, one sequence a line, for
// tests/web/calculator.mjs to compare with the browser's calculator. One
// keypad takes every line in turn, as one page does; a line's words are key
// names, "radians",
// "degres", "scientifique", "standard", "Enter", "Backspace", or "t:TEXT",
// the characters typed in the display (a comma is the decimal key, as the
// window reads it). Writes what the display shows after each line, then a
// tab and 1 when it is a message.
//   web_keypad_dump FILE
#include "calc/Keypad.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

// The code points of a UTF-8 text.
std::u32string codePoints(const std::string& text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80U ? 1 : lead < 0xE0U ? 2 : lead < 0xF0U ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x7FU >> length);
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k) {
            c = (c << 6U) | (static_cast<unsigned char>(text[i + k]) & 0x3FU);
        }
        out.push_back(c);
        i += length;
    }
    return out;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "usage : web_keypad_dump FICHIER\n";
        return 1;
    }
    std::ifstream in(argv[1]);
    double memoire = 0.0;
    Ionaria::calc::Keypad keypad(memoire);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string word;
        while (words >> word) {
            if (word == "radians" || word == "degres") {
                keypad.setRadians(word == "radians");
            } else if (word == "scientifique" || word == "standard") {
                keypad.setScientifique(word == "scientifique");
            } else if (word == "Enter") {
                keypad.pressNamed("EXE");
            } else if (word == "Backspace") {
                keypad.pressNamed("EFFACE");
            } else if (word.starts_with("t:")) {
                for (const char32_t c : codePoints(word.substr(2))) {
                    keypad.type(c == U',' ? U'.' : c);
                }
            } else if (!keypad.pressNamed(word)) {
                std::cerr << "touche inconnue : " << word << '\n';
                return 1;
            }
        }
        std::cout << keypad.display() << '\t' << (keypad.displayIsMessage() ? 1 : 0) << '\n';
    }
    return 0;
}
