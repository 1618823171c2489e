// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace Ionaria::sim {

// The text a numeric box shows once validated: the reading of the typed text
// (0 when it is not a number), clamped to the box's range (whole seconds
// first for the stop time), kept to three significant digits and written back
// in the general number format.
std::string validatedText2(int index, const std::string& text);

// The range a numeric box enforces as the pages write it, each end a whole
// number with its unit and thousands grouped: "200 mL à 500 mL",
// "5 Ω à 1 000 Ω". Empty for an index that names no box.
std::string text2RangeText(int index, std::string_view unit);

// The key filter of the numeric boxes: a full stop becomes a comma; digits,
// the comma, backspace and Enter pass; any other key is discarded (0).
char32_t filterText2Key(char32_t key);

inline constexpr char32_t keyBackspace = 8;
inline constexpr char32_t keyEnter = 13;

} // namespace Ionaria::sim
