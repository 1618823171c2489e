// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Numbers.h"

#if defined(IONARIA_FLOAT_TEXT_FALLBACK)
#include "base/FloatTextFallback.h"
#endif

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace Ionaria::base {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Checks the shape [sign] digits [sep digits] [E [sign] digits] and returns
// it with a point as the separator, ready for from_chars.
std::optional<std::string> normalise(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    std::string out;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') {
            out.push_back('-');
        }
        ++i;
    }
    std::size_t mantissaDigits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0) {
        out.push_back(text[i++]);
        ++mantissaDigits;
    }
    if (i < text.size() && (text[i] == ',' || text[i] == '.')) {
        out.push_back('.');
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0) {
            out.push_back(text[i++]);
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        out.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            out.push_back(text[i++]);
        }
        std::size_t exponentDigits = 0;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0) {
            out.push_back(text[i++]);
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return std::nullopt;
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    return out;
}

// The value's 15 significant digits and its decimal exponent: value =
// 0.d1d2...d15 x 10^(exponent + 1), that is d1 stands for 10^exponent.
struct Decimal {
    bool negative = false;
    std::string digits; // 15 digits, no leading zero unless the value is 0
    int exponent = 0;
};

Decimal toDecimal(double value) {
    Decimal d;
    const std::string text = writeFloat(value, FloatForm::Scientific, 14);
    std::string_view s(text);
    if (!s.empty() && s.front() == '-') {
        d.negative = true;
        s.remove_prefix(1);
    }
    const std::size_t e = s.find('e');
    for (std::size_t i = 0; i < e && i < s.size(); ++i) {
        if (s[i] != '.') {
            d.digits.push_back(s[i]);
        }
    }
    if (e != std::string_view::npos) {
        int exponent = 0;
        const auto* first = s.data() + e + 1;
        if (*first == '+') {
            ++first;
        }
        std::from_chars(first, s.data() + s.size(), exponent);
        d.exponent = exponent;
    }
    return d;
}

// Rounds the digit string half up so that `keep` digits remain; returns true
// when the rounding carried into a new leading digit.
bool roundDigits(std::string& digits, int keep) {
    if (keep < 0) {
        digits.assign(1, '0');
        return false;
    }
    const auto k = static_cast<std::size_t>(keep);
    if (digits.size() <= k) {
        digits.append(k - digits.size(), '0');
        return false;
    }
    const bool up = digits[k] >= '5';
    digits.resize(k);
    if (!up) {
        return false;
    }
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            return false;
        }
    }
    digits.insert(digits.begin(), '1');
    return true;
}

std::string groupThousands(const std::string& integerPart) {
    std::string out;
    const std::size_t n = integerPart.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) {
            out.push_back(' ');
        }
        out.push_back(integerPart[i]);
    }
    return out;
}

bool allZero(const std::string& s) {
    for (char c : s) {
        if (c != '0') {
            return false;
        }
    }
    return true;
}

std::string formatFixed(double value, int decimals, int minIntegerDigits, bool grouped) {
    Decimal d = toDecimal(value);
    std::string integerPart;
    std::string fraction;
    if (value == 0.0) {
        integerPart.assign(1, '0');
        fraction.assign(static_cast<std::size_t>(decimals), '0');
    } else {
        // Digits kept: those standing for 10^exponent down to 10^-decimals.
        const int keep = d.exponent + 1 + decimals;
        std::string digits = d.digits;
        int exponent = d.exponent;
        if (keep <= 0) {
            // The value is below half of the last decimal unless its first
            // digit rounds it up into that place.
            const bool up = keep == 0 && !digits.empty() && digits[0] >= '5';
            digits.assign(1, up ? '1' : '0');
            exponent = -decimals;
        } else if (roundDigits(digits, keep)) {
            ++exponent;
        }
        // Place the point: digits[0] stands for 10^exponent.
        const int integerDigits = exponent + 1;
        if (integerDigits <= 0) {
            integerPart.assign(1, '0');
            fraction.assign(static_cast<std::size_t>(-integerDigits), '0');
            fraction += digits;
        } else {
            const auto split = static_cast<std::size_t>(integerDigits);
            if (digits.size() < split) {
                digits.append(split - digits.size(), '0');
            }
            integerPart = digits.substr(0, split);
            fraction = digits.substr(split);
        }
        fraction.resize(static_cast<std::size_t>(decimals), '0');
        while (integerPart.size() > 1 && integerPart.front() == '0') {
            integerPart.erase(integerPart.begin());
        }
    }
    while (static_cast<int>(integerPart.size()) < minIntegerDigits) {
        integerPart.insert(integerPart.begin(), '0');
    }
    if (minIntegerDigits == 0 && integerPart == "0") {
        integerPart.clear();
    }
    std::string out;
    if (d.negative && !(allZero(integerPart) && allZero(fraction))) {
        out.push_back('-');
    }
    out += grouped ? groupThousands(integerPart) : integerPart;
    if (decimals > 0) {
        out.push_back(',');
        out += fraction;
    }
    return out;
}

std::string formatScientific(double value, int decimals, int exponentDigits) {
    std::string mantissa;
    int exponent = 0;
    bool negative = false;
    if (value != 0.0) {
        Decimal d = toDecimal(value);
        negative = d.negative;
        std::string digits = d.digits;
        exponent = d.exponent;
        if (roundDigits(digits, decimals + 1)) {
            ++exponent;
            digits.resize(static_cast<std::size_t>(decimals) + 1);
        }
        mantissa = digits;
    } else {
        mantissa.assign(static_cast<std::size_t>(decimals) + 1, '0');
    }
    std::string out;
    if (negative) {
        out.push_back('-');
    }
    out.push_back(mantissa[0]);
    if (decimals > 0) {
        out.push_back(',');
        out += mantissa.substr(1);
    }
    out.push_back('E');
    out.push_back(exponent < 0 ? '-' : '+');
    std::string e = std::to_string(exponent < 0 ? -exponent : exponent);
    while (static_cast<int>(e.size()) < exponentDigits) {
        e.insert(e.begin(), '0');
    }
    return out + e;
}

} // namespace

std::string writeFloat(double value, FloatForm form, int precision) {
#if defined(IONARIA_FLOAT_TEXT_FALLBACK)
    return fallbackWriteFloat(value, form, precision);
#else
    std::chars_format format = std::chars_format::general;
    if (form == FloatForm::Scientific) {
        format = std::chars_format::scientific;
    } else if (form == FloatForm::Fixed) {
        format = std::chars_format::fixed;
    }
    // Room for the sign, the point, the exponent, the precision's digits and,
    // in the fixed form, the 309 integer digits of the largest double.
    const std::size_t decimals = precision > 0 ? static_cast<std::size_t>(precision) : 0U;
    std::string text(32 + decimals + (form == FloatForm::Fixed ? 309U : 0U), '\0');
    const auto [end, error] =
        std::to_chars(text.data(), text.data() + text.size(), value, format, precision);
    if (error != std::errc{}) {
        return {};
    }
    text.resize(static_cast<std::size_t>(end - text.data()));
    return text;
#endif
}

namespace {

template <typename Number> std::string shortest(Number value) {
#if defined(IONARIA_FLOAT_TEXT_FALLBACK)
    if (!std::isfinite(value)) {
        return writeFloat(static_cast<double>(value), FloatForm::General, 1);
    }
    // The fewest digits that read back; then, as to_chars writes them, the
    // shorter of the fixed and the scientific notation, the fixed one on a
    // tie ("10", not "1e+01"). Up to digits10 digits, the decimals of one
    // length lie further apart than a normal number's rounding interval is
    // wide: a text that short which reads back is then the value rounded to
    // digits10 digits, less its trailing zeros. Only past digits10, or for a
    // subnormal number, whose interval is wider, are the lengths tried one by
    // one (a CSV writes hundreds of thousands of numbers, and each printf
    // costs).
    const bool normal = std::isnormal(value);
    const int fewest = normal ? std::numeric_limits<Number>::digits10 : 1;
    constexpr int most = std::numeric_limits<Number>::max_digits10;
    const auto readsBack = [value](const std::string& text) {
        const FloatRead back = readFloat(text);
        return back.status == FloatStatus::Ok && static_cast<Number>(back.value) == value;
    };
    std::string scientific;
    for (int precision = fewest; precision <= most; ++precision) {
        scientific = writeFloat(static_cast<double>(value), FloatForm::Scientific, precision - 1);
        if (!readsBack(scientific)) {
            continue;
        }
        if (normal && precision == fewest) {
            const std::size_t lastDigit =
                scientific.find_last_not_of('0', scientific.find('e') - 1);
            const auto kept = static_cast<int>(std::count_if(
                scientific.begin(), scientific.begin() + static_cast<std::ptrdiff_t>(lastDigit) + 1,
                [](char c) { return c >= '0' && c <= '9'; }));
            if (kept < fewest) {
                scientific =
                    writeFloat(static_cast<double>(value), FloatForm::Scientific, kept - 1);
            }
        }
        break;
    }
    const std::size_t e = scientific.find('e');
    const bool negative = scientific.starts_with('-');
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < e; ++i) {
        if (scientific[i] != '.') {
            digits += scientific[i];
        }
    }
    // printf's exponent: a sign, then two digits or more.
    int exponent = 0;
    for (std::size_t i = e + 2; i < scientific.size(); ++i) {
        exponent = exponent * 10 + (scientific[i] - '0');
    }
    if (scientific[e + 1] == '-') {
        exponent = -exponent;
    }
    const int count = static_cast<int>(digits.size());
    std::string fixed = negative ? "-" : "";
    if (exponent < 0) {
        fixed += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else if (exponent >= count - 1) {
        // A whole number is written with all its digits, those after the
        // shortest ones included ("972156032" for that float, not "972156000").
        fixed = writeFloat(static_cast<double>(value), FloatForm::Fixed, 0);
    } else {
        fixed += digits.substr(0, static_cast<std::size_t>(exponent) + 1) + '.' +
                 digits.substr(static_cast<std::size_t>(exponent) + 1);
    }
    return fixed.size() <= scientific.size() ? fixed : scientific;
#else
    std::string text(std::numeric_limits<Number>::max_digits10 + 16, '\0');
    const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{}) {
        return {};
    }
    text.resize(static_cast<std::size_t>(end - text.data()));
    return text;
#endif
}

} // namespace

std::string writeShortest(double value) {
    return shortest(value);
}

std::string writeShortest(float value) {
    return shortest(value);
}

FloatRead readFloat(std::string_view text) {
#if defined(IONARIA_FLOAT_TEXT_FALLBACK)
    return fallbackReadFloat(text);
#else
    const std::size_t first = text.starts_with('-') ? 1 : 0;
    // from_chars also reads "inf" and "nan", which no number text of the
    // program holds.
    if (first >= text.size() ||
        (std::isdigit(static_cast<unsigned char>(text[first])) == 0 && text[first] != '.')) {
        return {};
    }
    double value = 0.0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    const auto [ptr, error] = std::from_chars(begin, end, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range && ptr == end) {
        return {FloatStatus::OutOfRange, 0.0};
    }
    if (error != std::errc{} || ptr != end) {
        return {};
    }
    return {FloatStatus::Ok, value};
#endif
}

std::optional<double> parseDouble(std::string_view text) {
    const auto normalised = normalise(text);
    if (!normalised) {
        return std::nullopt;
    }
    const FloatRead read = readFloat(*normalised);
    if (read.status != FloatStatus::Ok || !std::isfinite(read.value)) {
        return std::nullopt;
    }
    return read.value;
}

std::optional<float> parseSingle(std::string_view text) {
    const auto value = parseDouble(text);
    if (!value || std::fabs(*value) > static_cast<double>(std::numeric_limits<float>::max())) {
        return std::nullopt;
    }
    return static_cast<float>(*value);
}

std::string formatGeneral(float value) {
    if (value == 0.0F || !std::isfinite(value)) {
        return "0";
    }
    std::string out = writeFloat(static_cast<double>(value), FloatForm::General, 7);
    for (char& c : out) {
        if (c == '.') {
            c = ',';
        } else if (c == 'e') {
            c = 'E';
        }
    }
    return out;
}

std::string formatInteger(long long value) {
    return std::to_string(value);
}

std::string formatPattern(double value, std::string_view pattern) {
    if (!std::isfinite(value)) {
        return {};
    }
    const std::size_t ePos = pattern.find_first_of("Ee");
    const std::string_view numberPart = pattern.substr(0, ePos);
    const std::size_t point = numberPart.find('.');
    const std::string_view integerPattern = numberPart.substr(0, point);
    const int decimals =
        point == std::string_view::npos ? 0 : static_cast<int>(numberPart.size() - point - 1);
    if (ePos != std::string_view::npos) {
        int exponentDigits = 0;
        for (char c : pattern.substr(ePos)) {
            exponentDigits += c == '0' ? 1 : 0;
        }
        return formatScientific(value, decimals, exponentDigits);
    }
    int minIntegerDigits = 0;
    bool grouped = false;
    for (char c : integerPattern) {
        minIntegerDigits += c == '0' ? 1 : 0;
        grouped = grouped || c == ' ' || c == ',';
    }
    return formatFixed(value, decimals, minIntegerDigits, grouped);
}

} // namespace Ionaria::base
