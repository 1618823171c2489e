// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Validation.h"

#include "base/Numbers.h"
#include "sim/Catalogue.h"

#include <algorithm>
#include <cmath>

namespace Ionaria::sim {

std::string validatedText2(int index, const std::string& text) {
    if (index < 0 || index >= static_cast<int>(catalogue::text2Ranges.size())) {
        return text;
    }
    float value = base::parseSingle(text).value_or(0.0F);
    if (index == catalogue::Text2Arret) {
        value = std::floor(value);
    }
    const auto& range = catalogue::text2Ranges[static_cast<std::size_t>(index)];
    value = std::clamp(value, range.low, range.high);
    const std::string threeDigits = base::formatPattern(static_cast<double>(value), "0.00E+00");
    value = base::parseSingle(threeDigits).value_or(value);
    return base::formatGeneral(value);
}

std::string text2RangeText(int index, std::string_view unit) {
    if (index < 0 || index >= static_cast<int>(catalogue::text2Ranges.size())) {
        return {};
    }
    const auto& range = catalogue::text2Ranges[static_cast<std::size_t>(index)];
    const auto end = [unit](float value) {
        return base::formatPattern(static_cast<double>(value), "# ##0") + " " + std::string(unit);
    };
    return end(range.low) + " à " + end(range.high);
}

char32_t filterText2Key(char32_t key) {
    if (key == U'.') {
        key = U',';
    }
    const bool digit = key >= U'0' && key <= U'9';
    if (digit || key == U',' || key == keyBackspace || key == keyEnter) {
        return key;
    }
    return 0;
}

} // namespace Ionaria::sim
