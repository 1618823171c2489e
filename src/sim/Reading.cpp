// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Reading.h"

#include "base/Numbers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace Ionaria::sim {

namespace {

// Runs up to these lengths are shown in seconds, then in minutes, s.
constexpr double secondsUpTo = 600.0;
constexpr double minutesUpTo = 3.0 * 3600.0;
// Currents of an ampere or more are shown in A, weaker ones in mA.
constexpr double milliampereBelow = 1.0; // A
// The reading writes plainly from a thousandth to a million.
constexpr double plainFrom = 1e-3;
constexpr double plainBelow = 1e6;
constexpr int readingDigits = 6;

constexpr std::string_view groupSeparator = "\u202F"; // narrow no-break space

// A value's decimal digits, d0.d1d2... × 10^exponent, exact to far more
// digits than any text asks for.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

Decimal decimalOf(double value) {
    constexpr int exactDigits = 40;
    const std::string text = base::writeFloat(value, base::FloatForm::Scientific, exactDigits);
    Decimal d;
    std::size_t at = 0;
    if (text[at] == '-') {
        d.negative = true;
        ++at;
    }
    for (; at < text.size() && text[at] != 'e'; ++at) {
        if (text[at] != '.') {
            d.digits.push_back(text[at]);
        }
    }
    const std::string_view exponent = std::string_view(text).substr(at + 1);
    const bool below = exponent.front() == '-';
    int e = 0;
    for (const char c : exponent.substr(1)) {
        e = e * 10 + (c - '0');
    }
    d.exponent = below ? -e : e;
    return d;
}

// Keeps count significant digits, a half rounded away from zero; fewer than
// one leaves zero.
void roundTo(Decimal& d, int count) {
    if (count < 1) {
        // Only the digit before the first may still round up to it.
        if (count == 0 && d.digits.front() >= '5') {
            d.digits = "1";
            ++d.exponent;
        } else {
            d.digits = "0";
        }
        return;
    }
    const auto n = static_cast<std::size_t>(count);
    if (d.digits.size() <= n) {
        d.digits.append(n - d.digits.size(), '0');
        return;
    }
    const bool up = d.digits[n] >= '5';
    d.digits.resize(n);
    if (!up) {
        return;
    }
    for (std::size_t k = n; k-- > 0;) {
        if (d.digits[k] != '9') {
            ++d.digits[k];
            return;
        }
        d.digits[k] = '0';
    }
    d.digits.insert(d.digits.begin(), '1');
    d.digits.pop_back();
    ++d.exponent;
}

std::string grouped(const std::string& whole) {
    std::string out;
    for (std::size_t k = 0; k < whole.size(); ++k) {
        if (k > 0 && (whole.size() - k) % 3 == 0) {
            out += groupSeparator;
        }
        out.push_back(whole[k]);
    }
    return out;
}

// The digits of d, rounded to its unit's place (exponent..0) and decimals
// after it, written with a comma.
std::string fixedText(const Decimal& d, int decimals) {
    const bool zero = d.digits.find_first_not_of('0') == std::string::npos;
    std::string whole;
    std::string fraction;
    for (int place = std::max(d.exponent, 0); place >= -decimals; --place) {
        const int index = d.exponent - place;
        const char digit = (zero || index < 0 || index >= static_cast<int>(d.digits.size()))
                               ? '0'
                               : d.digits[static_cast<std::size_t>(index)];
        (place >= 0 ? whole : fraction).push_back(digit);
    }
    std::string text = d.negative ? "-" : "";
    text += grouped(whole);
    if (!fraction.empty()) {
        text += ',';
        text += fraction;
    }
    return text;
}

std::string superscript(int exponent) {
    static constexpr std::array<std::string_view, 10> digits = {"⁰", "¹", "²", "³", "⁴",
                                                                "⁵", "⁶", "⁷", "⁸", "⁹"};
    std::string text = exponent < 0 ? "⁻" : "";
    for (const char c : base::formatInteger(std::abs(exponent))) {
        text += digits[static_cast<std::size_t>(c - '0')];
    }
    return text;
}

// Six significant digits without the zeros that end them; the exponent
// form "1E+06" for what rounds up to a million.
std::string generalText(double value) {
    if (value == 0.0) {
        return "0";
    }
    Decimal d = decimalOf(value);
    roundTo(d, readingDigits);
    const std::size_t last = d.digits.find_last_not_of('0');
    d.digits.resize(last + 1);
    if (d.exponent >= readingDigits) {
        std::string text = d.negative ? "-" : "";
        text += d.digits.front();
        if (d.digits.size() > 1) {
            text += ',' + d.digits.substr(1);
        }
        return text + "E+" + (d.exponent < 10 ? "0" : "") + base::formatInteger(d.exponent);
    }
    const int decimals = std::max(0, static_cast<int>(d.digits.size()) - 1 - d.exponent);
    return fixedText(d, decimals);
}

} // namespace

TimeUnit timeUnitFor(double lastSeconds) {
    if (lastSeconds <= secondsUpTo) {
        return {"s", 1.0};
    }
    if (lastSeconds <= minutesUpTo) {
        return {"min", 60.0};
    }
    return {"h", 3600.0};
}

ShownUnit shownUnitOf(const Quantity& q, double largestAmperes) {
    switch (q.kind) {
    case Quantity::Kind::Intensite:
        return largestAmperes < milliampereBelow ? ShownUnit{"mA", 1000.0} : ShownUnit{"A", 1.0};
    case Quantity::Kind::Tension:
    case Quantity::Kind::Potentiel:
        return {"V", 1.0};
    case Quantity::Kind::Masse:
        return {"g", 1.0};
    case Quantity::Kind::Concentration:
        return {"mol·L⁻¹", q.scale};
    case Quantity::Kind::PH:
        return {};
    }
    return {};
}

ShownUnit shownUnitOf(const Quantity& q, const Recorder& record, std::size_t columns,
                      std::vector<Recorder::Point>& scratch) {
    double largestAmperes = 0.0;
    if (q.kind == Quantity::Kind::Intensite) {
        record.trace(q.channel, columns, scratch);
        for (const auto& p : scratch) {
            largestAmperes = std::max(largestAmperes, std::fabs(p.value));
        }
    }
    return shownUnitOf(q, largestAmperes);
}

std::string axisTitleOf(const Quantity& q, const ShownUnit& shown) {
    return shown.unit.empty() ? q.symbol : q.symbol + " (" + shown.unit + ")";
}

int decimalsFor(double step) {
    if (!(step > 0.0) || !std::isfinite(step)) {
        return 0;
    }
    int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
    const double scaled = step * std::pow(10.0, decimals);
    if (std::fabs(scaled - std::round(scaled)) > 1e-6 * scaled) {
        ++decimals;
    }
    return std::min(decimals, 9);
}

AxisScale niceScale(double low, double high, int intervals) {
    if (!std::isfinite(low) || !std::isfinite(high)) {
        low = 0.0;
        high = 1.0;
    }
    if (high - low <= 1e-12 * std::max(1.0, std::fabs(high))) {
        const double pad = high != 0.0 ? std::fabs(high) * 0.01 : 1.0;
        low -= pad;
        high += pad;
    }
    const double raw = (high - low) / intervals;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10.0 * power;
    for (const double m : {1.0, 2.0, 2.5, 5.0}) {
        if (m * power >= raw * (1.0 - 1e-9)) {
            step = m * power;
            break;
        }
    }
    AxisScale scale;
    scale.first = std::floor(low / step + 1e-9) * step;
    scale.last = std::ceil(high / step - 1e-9) * step;
    scale.step = step;
    scale.decimals = decimalsFor(step);
    scale.ticks = static_cast<int>(std::lround((scale.last - scale.first) / step)) + 1;
    return scale;
}

AxisScale valueScaleOf(const Quantity& q, double low, double high) {
    constexpr int intervals = 4;
    const bool signedQuantity = q.kind == Quantity::Kind::Tension ||
                                q.kind == Quantity::Kind::Intensite ||
                                q.kind == Quantity::Kind::Potentiel;
    AxisScale scale = niceScale(low, high, intervals);
    if (!signedQuantity && low >= 0.0 && scale.first < 0.0) {
        scale = niceScale(0.0, std::max(high, scale.last), intervals);
    }
    return scale;
}

std::string frenchFixed(double value, int decimals) {
    if (!std::isfinite(value)) {
        return base::writeShortest(value);
    }
    if (value == 0.0) {
        return fixedText(Decimal{false, "0", 0}, decimals);
    }
    Decimal d = decimalOf(value);
    roundTo(d, d.exponent + 1 + decimals);
    return fixedText(d, decimals);
}

std::string readingNumber(double value) {
    const double size = std::fabs(value);
    if (!std::isfinite(value)) {
        return base::writeShortest(value);
    }
    if (value == 0.0 || (size >= plainFrom && size < plainBelow)) {
        return generalText(value);
    }
    constexpr int mantissaDecimals = 5;
    Decimal d = decimalOf(value);
    roundTo(d, 1 + mantissaDecimals);
    const int exponent = d.exponent;
    d.exponent = 0;
    return fixedText(d, mantissaDecimals) + " × 10" + superscript(exponent);
}

std::string readingTimeText(double seconds, const TimeUnit& unit) {
    const std::string inSeconds = frenchFixed(seconds, 0) + " s";
    if (unit.seconds == 1.0) {
        return inSeconds;
    }
    return frenchFixed(seconds / unit.seconds, 2) + " " + unit.symbol + " (" + inSeconds + ")";
}

std::string readingValueText(const Quantity& q, double value) {
    switch (q.kind) {
    case Quantity::Kind::Intensite:
        return std::fabs(value) < milliampereBelow ? readingNumber(value * 1000.0) + " mA"
                                                   : readingNumber(value) + " A";
    case Quantity::Kind::Tension:
    case Quantity::Kind::Potentiel:
        return readingNumber(value) + " V";
    case Quantity::Kind::Masse:
        return readingNumber(value) + " g";
    case Quantity::Kind::Concentration:
        return readingNumber(value * q.scale) + " mol·L⁻¹";
    case Quantity::Kind::PH:
        return readingNumber(value);
    }
    return {};
}

std::vector<std::string> readingLines(const Recorder& record, std::optional<double> seconds,
                                      bool faraday) {
    const Recorder::Bucket* bucket =
        record.at(seconds.value_or(static_cast<double>(record.lastSeconds())));
    if (bucket == nullptr) {
        return {"Aucune mesure : lancez l'expérience."};
    }
    const TimeUnit unit = timeUnitFor(record.lastSeconds());
    std::vector<std::string> lines;
    lines.push_back("t = " + readingTimeText(bucket->first.tempsSec, unit));
    for (const Quantity& q : quantitiesOf(record, true)) {
        std::string line =
            q.name + " = " + readingValueText(q, Recorder::value(*bucket, q.channel));
        if (faraday && q.loiChannel < channel::count) {
            line += " (loi de Faraday : " +
                    readingValueText(q, Recorder::value(*bucket, q.loiChannel)) + ")";
        }
        lines.push_back(std::move(line));
    }
    if (bucket->first.intensite == 0.0F) {
        lines.emplace_back("Aucun courant");
    } else {
        for (const auto& [electrode, reaction] :
             {std::pair{"G", bucket->first.reactionG}, std::pair{"D", bucket->first.reactionD}}) {
            const std::string equation = halfEquationPretty(reaction);
            if (!equation.empty()) {
                lines.push_back(std::string(electrode) + " : " + equation);
            }
        }
    }
    if (record.rowsPerBucket() > 1) {
        lines.push_back("(une mesure gardée toutes les " +
                        base::formatInteger(record.rowsPerBucket()) + " s, avec les extrêmes)");
    }
    return lines;
}

std::vector<std::string> eventLines(const Recorder& record, std::size_t shown) {
    const auto& events = record.events();
    if (events.empty()) {
        return {};
    }
    const TimeUnit unit = timeUnitFor(record.lastSeconds());
    std::vector<std::string> lines{"Changements de réaction :"};
    const std::size_t count = std::min(events.size(), shown);
    for (std::size_t e = 0; e < count; ++e) {
        lines.push_back("t = " + readingTimeText(events[e].tempsSec, unit) + " — " +
                        eventText(events[e]));
    }
    if (events.size() > count) {
        lines.push_back("… et " +
                        base::formatInteger(static_cast<long long>(events.size() - count)) +
                        " autres");
    }
    return lines;
}

} // namespace Ionaria::sim
