// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Ionaria::calc {

// The number form the evaluator writes into its text and reads back, the same
// whatever the locale: at most 15 significant digits, "." as the decimal point,
// no leading zero before it (".5", "-.25") and the exponent form with a sign and
// at least two digits for magnitudes below 1E-04 or from 1E+15 ("1E-05",
// "1E+20"). Negative zero is written "0". A value that is not finite, or so
// close to the largest double that its 15 digits lie beyond it, has no text:
// the caller must not write it anywhere.
std::optional<std::string> formatNumber(double value);

// The pattern "#.#######E+00" of the scientific display: one mantissa digit,
// up to seven decimals without trailing zeros, "E", the exponent's sign and at
// least two digits ("1.4E+01", "-2.5E-03", "1E+00", "0E+00").
std::optional<std::string> formatScientific(double value);

enum class ReadStatus { Ok, Malformed, Overflow };

struct ReadResult {
    ReadStatus status = ReadStatus::Malformed;
    double value = 0.0;
};

// Reads a whole token as a number: an optional sign, digits with an optional
// "." (at least one digit), and an optional exponent "E" or "D" (either case)
// with an optional sign and at least one digit. Values too small for a double
// read as 0; values too large are reported as an overflow.
ReadResult readNumber(std::string_view token);

// Whether the token has the shape of a number, whatever its magnitude.
bool isNumberToken(std::string_view token);

// Reads the leading numeric part of a display text, after leading blanks, as
// the memory keys do: " 14" gives 14, "1.4E+01" gives 14, "2 * 3" gives 2,
// and a text without one ("Calcul impossible") gives 0.
ReadResult readLeadingNumber(std::string_view text);

} // namespace Ionaria::calc
