// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Ionaria::base {

// Every conversion between a binary floating value and decimal text in the
// program goes through writeFloat and readFloat, and nothing else: they use
// "." whatever the C library's locale (which Qt sets from the environment),
// and they are the one place to change where a standard library lacks the
// floating std::to_chars or std::from_chars.
enum class FloatForm {
    General,    // printf's %.*g: "0.25", "1.5e-07", "1e+20"
    Scientific, // printf's %.*e: "2.50e-01"
    Fixed,      // printf's %.*f: "0.250"
};

// The value as printf would write it in the "C" locale with this form and
// precision; "inf", "-inf" or "nan" for a value that is not finite.
std::string writeFloat(double value, FloatForm form, int precision);

// The fewest significant digits that read back as the very value, of the type
// it is stored in ("0.05" for the float 0.05F, not "0.0500000007"), in the
// shorter of printf's %f and %e forms; "inf", "-inf" or "nan" for a value that
// is not finite.
std::string writeShortest(double value);
std::string writeShortest(float value);

enum class FloatStatus {
    Ok,
    Malformed,
    // Beyond the range of a double, too large or too small to be told apart
    // from 0; the caller decides which from the text.
    OutOfRange,
};

struct FloatRead {
    FloatStatus status = FloatStatus::Malformed;
    double value = 0.0;
};

// Reads the whole text as a number in the form "[-]digits[.digits]
// [e[sign]digits]" (at least one mantissa digit, "e" or "E"), whatever the
// locale. No leading "+", blanks, hexadecimal, "inf" or "nan".
FloatRead readFloat(std::string_view text);

// Reads a number as the program does: single precision, a decimal comma as
// typed in French ("0,01", "2,5", "1E-05") or a point from files written
// elsewhere ("0.01"). Blanks around the number are allowed. Anything else,
// including a value beyond the single-precision range, gives no result.
std::optional<float> parseSingle(std::string_view text);

// Same reading in double precision, for callers that keep full precision.
std::optional<double> parseDouble(std::string_view text);

// The general number format of a single-precision value in a French locale:
// seven significant digits, the exponent form below 1E-04 and from 1E+07
// ("0,0123", "1E-05", "360000", "2,5", "1,234568E+07").
std::string formatGeneral(float value);

// The general number format of a whole number ("4", "-1").
std::string formatInteger(long long value);

// Applies a fixed display pattern with a decimal comma: "### ##0.00",
// "### ##0.0", "# ##0.00" and "#0.0" (fixed decimals, a space between groups
// of thousands where the pattern has one, no leading blanks) and "0.00E+00"
// (a mantissa with two decimals, the exponent with its sign and two digits).
// Halves are rounded away from zero on the value's 15 significant digits.
std::string formatPattern(double value, std::string_view pattern);

} // namespace Ionaria::base
