// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/NumberText.h"

#include "base/Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace Ionaria::calc {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isExponentLetter(char c) {
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// Length of the longest prefix of text that has the shape of a number, 0 when
// there is none. An exponent letter without digits is not part of the number.
std::size_t numberLength(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    const std::size_t mantissaEnd = i;
    if (i < text.size() && isExponentLetter(text[i])) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        std::size_t exponentDigits = 0;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return mantissaEnd;
        }
    }
    return i;
}

// Decimal exponent of the leading significant digit, used only to tell an
// underflow from an overflow once the conversion has said "out of range".
long long magnitude(std::string_view number) {
    std::size_t i = 0;
    if (i < number.size() && (number[i] == '+' || number[i] == '-')) {
        ++i;
    }
    long long position = -1;
    long long integerDigits = 0;
    bool found = false;
    for (; i < number.size() && isDigit(number[i]); ++i) {
        if (!found && number[i] != '0') {
            found = true;
            position = integerDigits;
        }
        ++integerDigits;
    }
    long long result = 0;
    if (found) {
        result = integerDigits - position - 1;
    }
    if (i < number.size() && number[i] == '.') {
        ++i;
        long long fractionIndex = 0;
        for (; i < number.size() && isDigit(number[i]); ++i) {
            if (!found && number[i] != '0') {
                found = true;
                result = -(fractionIndex + 1);
            }
            ++fractionIndex;
        }
    }
    if (i < number.size() && isExponentLetter(number[i])) {
        ++i;
        bool negative = false;
        if (i < number.size() && (number[i] == '+' || number[i] == '-')) {
            negative = number[i] == '-';
            ++i;
        }
        long long exponent = 0;
        constexpr long long saturation = 1'000'000;
        for (; i < number.size() && isDigit(number[i]); ++i) {
            exponent = std::min(saturation, exponent * 10 + (number[i] - '0'));
        }
        result += negative ? -exponent : exponent;
    }
    return result;
}

ReadResult convert(std::string_view number) {
    std::string normalised;
    normalised.reserve(number.size());
    for (std::size_t i = 0; i < number.size(); ++i) {
        const char c = number[i];
        if (i == 0 && c == '+') {
            continue;
        }
        normalised.push_back(isExponentLetter(c) ? 'e' : c);
    }
    const base::FloatRead read = base::readFloat(normalised);
    if (read.status == base::FloatStatus::OutOfRange) {
        if (magnitude(number) < 0) {
            return {ReadStatus::Ok, 0.0};
        }
        return {ReadStatus::Overflow, 0.0};
    }
    if (read.status != base::FloatStatus::Ok || !std::isfinite(read.value)) {
        return {ReadStatus::Malformed, 0.0};
    }
    return {ReadStatus::Ok, read.value};
}

void upperExponent(std::string& text) {
    for (char& c : text) {
        if (c == 'e') {
            c = 'E';
        }
    }
}

} // namespace

std::optional<std::string> formatNumber(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    if (value == 0.0) {
        return std::string("0");
    }
    std::string text = base::writeFloat(value, base::FloatForm::General, 15);
    upperExponent(text);
    // Near the largest double, 15 digits round beyond it: such a text could
    // not be read back.
    if (readNumber(text).status != ReadStatus::Ok) {
        return std::nullopt;
    }
    if (text.starts_with("0.")) {
        text.erase(0, 1);
    } else if (text.starts_with("-0.")) {
        text.erase(1, 1);
    }
    return text;
}

std::optional<std::string> formatScientific(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    if (value == 0.0) {
        value = 0.0;
    }
    std::string text = base::writeFloat(value, base::FloatForm::Scientific, 7);
    const std::size_t exponent = text.find('e');
    std::size_t mantissaEnd = exponent;
    while (mantissaEnd > 0 && text[mantissaEnd - 1] == '0') {
        --mantissaEnd;
    }
    if (mantissaEnd > 0 && text[mantissaEnd - 1] == '.') {
        --mantissaEnd;
    }
    text.erase(mantissaEnd, exponent - mantissaEnd);
    upperExponent(text);
    return text;
}

ReadResult readNumber(std::string_view token) {
    if (token.empty() || numberLength(token) != token.size()) {
        return {ReadStatus::Malformed, 0.0};
    }
    return convert(token);
}

bool isNumberToken(std::string_view token) {
    return !token.empty() && numberLength(token) == token.size();
}

ReadResult readLeadingNumber(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && text[start] == ' ') {
        ++start;
    }
    text.remove_prefix(start);
    const std::size_t length = numberLength(text);
    if (length == 0) {
        return {ReadStatus::Ok, 0.0};
    }
    return convert(text.substr(0, length));
}

} // namespace Ionaria::calc
