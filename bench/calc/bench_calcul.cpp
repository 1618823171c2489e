// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/Evaluator.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace Ionaria;

namespace {

// Expressions of the longest length the calculator takes, each of a form
// that makes the rewriting work hardest: many operators, deep groups,
// functions of functions, groups holding functions.
std::string longest(int form) {
    const std::size_t length = calc::kLongueurMax;
    std::string text;
    switch (form) {
    case 0:
        text = "1";
        while (text.size() + 4 <= length) {
            text += " + 1";
        }
        break;
    case 1: {
        const std::size_t depth = (length - 1) / 4;
        text = std::string(depth, '(') + "1";
        for (std::size_t i = 0; i < depth; ++i) {
            text += "+1)";
        }
        break;
    }
    case 2:
        while (text.size() + 5 <= length) {
            text += "sin ";
        }
        text += "1";
        break;
    default:
        text = "sin (2 * 3)";
        while (text.size() + 14 <= length) {
            text += " + sin (2 * 3)";
        }
        break;
    }
    return text;
}

void evaluate(benchmark::State& state) {
    const std::string expression = longest(static_cast<int>(state.range(0)));
    static const char* const names[] = {"operators", "nested groups", "functions of functions",
                                        "groups under functions"};
    state.SetLabel(names[state.range(0)]);
    for (auto _ : state) {
        std::string texte = expression;
        std::int16_t codeErreur = 0;
        calc::calcul(texte, codeErreur, 0);
        benchmark::DoNotOptimize(texte);
    }
    state.counters["length"] = static_cast<double>(expression.size());
}

} // namespace

BENCHMARK(evaluate)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
