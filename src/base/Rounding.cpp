// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Rounding.h"

#include <cmath>
#include <limits>

namespace Ionaria::base {

double roundHalfEven(double value) {
    const double floorValue = std::floor(value);
    const double diff = value - floorValue;
    if (diff < 0.5) {
        return floorValue;
    }
    if (diff > 0.5) {
        return floorValue + 1.0;
    }
    return std::fmod(floorValue, 2.0) == 0.0 ? floorValue : floorValue + 1.0;
}

namespace {

template <typename Int> std::optional<Int> roundChecked(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const double rounded = roundHalfEven(value);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
        return std::nullopt;
    }
    return static_cast<Int>(rounded);
}

} // namespace

std::optional<std::int16_t> roundToInt16(double value) {
    return roundChecked<std::int16_t>(value);
}

std::optional<std::int32_t> roundToInt32(double value) {
    return roundChecked<std::int32_t>(value);
}

} // namespace Ionaria::base
