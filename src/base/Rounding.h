// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

namespace Ionaria::base {

// Conversions of real numbers to whole numbers, halves to the even neighbour.
// A value that is not finite or does not fit the target type gives no result:
// the caller skips the statement that needed it.
std::optional<std::int16_t> roundToInt16(double value);
std::optional<std::int32_t> roundToInt32(double value);

// Nearest whole number (halves to even) as a double, without a range check.
double roundHalfEven(double value);

} // namespace Ionaria::base
