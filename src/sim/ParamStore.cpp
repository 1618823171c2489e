// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/ParamStore.h"

#include "base/Numbers.h"
#include "sim/Catalogue.h"

#include <charconv>
#include <cmath>

namespace Ionaria::sim {

void NumBox::setText(std::string text) {
    m_text = std::move(text);
    const auto parsed = base::parseSingle(m_text);
    m_isNumber = parsed.has_value();
    m_value = parsed.value_or(0.0F);
}

int ListBox::tagValue() const {
    int value = -1;
    const char* first = tag.data();
    const char* last = tag.data() + tag.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last) {
        return -1;
    }
    return value;
}

ParamStore::ParamStore() {
    for (std::size_t i = 0; i < Text2.size(); ++i) {
        Text2[i].setText(std::string(catalogue::text2Design[i]));
    }
}

std::string timeLabelText(std::int32_t seconds) {
    const std::int32_t h = seconds / 3600;
    const std::int32_t reste = seconds - 3600 * h;
    const std::int32_t mn = reste / 60;
    const std::int32_t s = reste - 60 * mn;
    std::string label = std::to_string(s) + " s";
    if (h >= 1 || mn >= 1) {
        label = std::to_string(mn) + " min " + label;
    }
    if (h > 0) {
        label = std::to_string(h) + " h " + label;
    }
    return label;
}

std::string currentLabelText(float amperes) {
    if (amperes < 1.0F) {
        return base::formatPattern(static_cast<double>(amperes) * 1000.0, "### ##0.0") + " mA";
    }
    return base::formatPattern(static_cast<double>(amperes), "### ##0.00") + " A";
}

std::string voltageLabelText(double volts) {
    if (std::fabs(volts) < 1.0) {
        return base::formatPattern(volts * 1000.0, "### ##0.0") + " mV";
    }
    return base::formatPattern(volts, "### ##0.00") + " V";
}

std::string ParamStore::Labeltps() const {
    return mesures.tempsShown ? timeLabelText(mesures.tempsSec) : std::string();
}

std::string ParamStore::Labelint() const {
    if (!mesures.intensiteShown) {
        return {};
    }
    return currentLabelText(mesures.intensite) +
           (mesures.limite ? " (limite du générateur)" : std::string());
}

std::string ParamStore::Labelu() const {
    return mesures.tensionShown ? voltageLabelText(mesures.tension) : std::string();
}

} // namespace Ionaria::sim
