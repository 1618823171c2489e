// SPDX-License-Identifier: GPL-3.0-or-later
// Writes, for doubles drawn with a fixed seed, the text of each form and
// precision that the program writes and the bits read back from it, through
// base::writeFloat and base::readFloat, and its shortest texts
// (base::writeShortest). Built for the desktop and for Node,
// its two outputs must be the same (tests/web/parity.sh): the WebAssembly
// build converts through its C library, the desktop through std::to_chars.
//   web_numbers_dump COUNT
#include "base/Numbers.h"

#include <cstdint>
#include <cstring>
#include <iostream>
#include <random>
#include <string>

namespace {

// The bits of one type as another (the emscripten build's library has no
// std::bit_cast).
template <class To, class From> To sameBits(const From& from) {
    static_assert(sizeof(To) == sizeof(From));
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
}

} // namespace

int main(int argc, char* argv[]) {
    using Ionaria::base::FloatForm;
    if (argc != 2) {
        std::cerr << "usage : web_numbers_dump NOMBRE\n";
        return 1;
    }
    const long count = std::stol(argv[1]);
    struct Form {
        FloatForm form;
        int precision;
    };
    const Form forms[] = {{FloatForm::General, 7},    {FloatForm::General, 10},
                          {FloatForm::General, 15},   {FloatForm::General, 17},
                          {FloatForm::Scientific, 7}, {FloatForm::Scientific, 14}};
    std::mt19937_64 generator(20261208U);
    // The engine is the same everywhere, the distributions of the standard
    // library are not; and IEEE multiplication and division round alike
    // everywhere, the C library's pow need not.
    constexpr double powersOfTen[] = {1e0, 1e1, 1e2, 1e3,  1e4,  1e5, 1e6,
                                      1e7, 1e8, 1e9, 1e10, 1e11, 1e12};
    std::string out;
    for (long i = 0; i < count; ++i) {
        double value = sameBits<double>(generator());
        if (i % 2 == 1) {
            // A few decimal digits, scaled: the ties and carries of the
            // program's ranges.
            const auto mantissa = static_cast<double>(1 + generator() % 999999U);
            const auto exponent = static_cast<int>(generator() % 25U) - 12;
            const double scale = powersOfTen[exponent < 0 ? -exponent : exponent];
            value = exponent < 0 ? mantissa / scale : mantissa * scale;
        }
        for (const Form& form : forms) {
            const std::string text = Ionaria::base::writeFloat(value, form.form, form.precision);
            const auto read = Ionaria::base::readFloat(text);
            out += text;
            out += ' ';
            out += std::to_string(static_cast<int>(read.status));
            out += ' ';
            out += std::to_string(sameBits<std::uint64_t>(read.value));
            out += '\n';
        }
        // The shortest texts that read back, as the measurements' CSV has them.
        out += Ionaria::base::writeShortest(value);
        out += ' ';
        out += Ionaria::base::writeShortest(static_cast<float>(value));
        out += '\n';
        if (out.size() > 65536) {
            std::cout << out;
            out.clear();
        }
    }
    std::cout << out;
    return 0;
}
