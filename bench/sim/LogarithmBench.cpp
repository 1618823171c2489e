// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/DecimalLogarithm.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstddef>

namespace {

// Concentrations as the engine meets them, mol/L: the pH's H+ and the
// potentials' activities, from the floor up.
std::array<double, 64> concentrations() {
    std::array<double, 64> values{};
    double c = 1e-14;
    for (auto& v : values) {
        v = c;
        c *= 1.6;
    }
    return values;
}

// The engine's logarithm, the same bits in every build; one call a tick for
// the pH, two more with the Nernst option.
void BM_DecimalLogarithm(benchmark::State& bench) {
    const auto values = concentrations();
    std::size_t i = 0;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(Ionaria::base::decimalLogarithm(values[i++ % values.size()]));
    }
}

// The C library's, which the former replaces, for scale.
void BM_LibraryLog10(benchmark::State& bench) {
    const auto values = concentrations();
    std::size_t i = 0;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(std::log10(values[i++ % values.size()]));
    }
}

} // namespace

BENCHMARK(BM_DecimalLogarithm);
BENCHMARK(BM_LibraryLog10);
