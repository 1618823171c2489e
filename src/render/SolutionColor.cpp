// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/SolutionColor.h"

#include "base/Rounding.h"

#include <algorithm>
#include <cmath>

namespace Ionaria::render {

namespace {

constexpr double fullTintIron = 0.01; // mol/L

void assign(std::int16_t& target, double value) {
    if (const auto rounded = base::roundToInt16(value)) {
        target = *rounded;
    }
}

} // namespace

void SolutionColor::apply(ColoredIon ion, double amountMol, double volumeMl) {
    if (!(volumeMl > 0.0) || !std::isfinite(amountMol)) {
        return;
    }
    const double concentration = 1000.0 * amountMol / volumeMl; // mol/L
    const double x = std::min(concentration, 1.0);
    const double n = ion == ColoredIon::Fer2 ? 4.0 : 8.0;
    // Z runs from 1 (no ion) to 100 (1 mol/L and more).
    double z = x > 0.0 ? 100.0 / (1.0 - n * std::log(x)) : 1.0;
    z = std::max(z, 1.0);
    const double zPrime = 0.9 + z / 10.0;
    const SolutionColor untinted = *this;
    switch (ion) {
    case ColoredIon::Cuivre2:
        assign(r, r / z);
        assign(g, g / zPrime);
        return;
    case ColoredIon::Fer2:
        assign(r, r / zPrime);
        assign(b, g / zPrime);
        break;
    case ColoredIon::Fer3:
        assign(b, b / z);
        assign(g, 0.6 * r + 0.4 * b);
        break;
    }
    // The iron rules replace a component by another: their tint fades out
    // with the last of the ions, so that the colour does not jump when they
    // come or go. From 0.01 mol/L on the tint is whole.
    const double weight = std::min(1.0, std::max(concentration, 0.0) / fullTintIron);
    if (weight < 1.0) {
        const auto fade = [weight](std::int16_t& component, std::int16_t from) {
            assign(component, from + weight * (component - from));
        };
        fade(r, untinted.r);
        fade(g, untinted.g);
        fade(b, untinted.b);
    }
}

} // namespace Ionaria::render
