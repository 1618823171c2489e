// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/FloatTextFallback.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace Ionaria::base {

// The one use of the C library's number conversions in the program. The
// WebAssembly build's C library ignores the locale in printf and strtod (its
// decimal point is always "."), and both are correctly rounded, as glibc's
// are: printf rounds the exact binary value half to even at the asked
// precision, strtod reads to the nearest double. std::to_chars with a
// precision is defined as printf in the "C" locale and std::from_chars as
// strtod, so the digits are the desktop's; tests/base/FloatTextFallbackTest
// checks it against std::to_chars and std::from_chars.
std::string fallbackWriteFloat(double value, FloatForm form, int precision) {
    const char* format = "%.*g";
    if (form == FloatForm::Scientific) {
        format = "%.*e";
    } else if (form == FloatForm::Fixed) {
        format = "%.*f";
    }
    const std::size_t decimals = precision > 0 ? static_cast<std::size_t>(precision) : 0U;
    std::string text(32 + decimals + (form == FloatForm::Fixed ? 309U : 0U), '\0');
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
    const int written = std::snprintf(text.data(), text.size(), format, precision, value);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    if (written < 0 || static_cast<std::size_t>(written) >= text.size()) {
        return {};
    }
    text.resize(static_cast<std::size_t>(written));
    return text;
}

FloatRead fallbackReadFloat(std::string_view text) {
    const std::size_t first = text.starts_with('-') ? 1 : 0;
    if (first >= text.size() ||
        (std::isdigit(static_cast<unsigned char>(text[first])) == 0 && text[first] != '.')) {
        return {};
    }
    // strtod also reads hexadecimal, which std::from_chars's general form
    // does not; a decimal text has no other letter than its exponent's.
    bool nonZeroDigit = false;
    bool inExponent = false;
    for (std::size_t i = first; i < text.size(); ++i) {
        const char c = text[i];
        if (c == 'e' || c == 'E') {
            inExponent = true;
        } else if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
            nonZeroDigit = nonZeroDigit || (!inExponent && c != '0');
        } else if (c != '.' && c != '+' && c != '-') {
            return {};
        }
    }
    const std::string copy(text);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size()) {
        return {};
    }
    // std::from_chars tells a value beyond the range of a double, whichever
    // way strtod sets errno for a subnormal result.
    if (std::isinf(value) || (value == 0.0 && nonZeroDigit)) {
        return {FloatStatus::OutOfRange, 0.0};
    }
    return {FloatStatus::Ok, value};
}

} // namespace Ionaria::base
