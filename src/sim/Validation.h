// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace Ionaria::sim {

// The text a numeric box shows once validated: the reading of the typed text
// (0 when it is not a number), clamped to the box's range (whole seconds
// first for the stop time), kept to three significant digits and written back
// in the general number format.
std::string validatedText2(int index, const std::string& text);

// The key filter of the numeric boxes: a full stop becomes a comma; digits,
// the comma, backspace and Enter pass; any other key is discarded (0).
char32_t filterText2Key(char32_t key);

inline constexpr char32_t keyBackspace = 8;
inline constexpr char32_t keyEnter = 13;

} // namespace Ionaria::sim
