// SPDX-License-Identifier: GPL-3.0-or-later
// The values the page is given: the picture's operations packed as it reads
// them, the measures of its texts asked of it, and lists, numbers and axes as
// JavaScript values.
#pragma once

#include "render/DrawOp.h"
#include "sim/ParamStore.h"
#include "sim/Reading.h"
#include "web/WebCanvas.h"

#include <emscripten/val.h>

#include <string>
#include <vector>

namespace Ionaria::web {

// The operations as the page reads them: a fixed number of doubles an
// operation, and each text with its family.
struct PackedOps {
    std::vector<double> numbers;
    std::vector<std::string> texts;
    friend bool operator==(const PackedOps&, const PackedOps&) = default;
};

// The kinds the page paints, in web/picture.js's field order; the others
// are left out.
void pack(const std::vector<render::DrawOp>& ops, PackedOps& out);

// { numbers: Float64Array, texts: [text, family, ...] }: numbers is a view
// of the module's memory, good until the next call into the module, which
// the page copies or reads at once.
emscripten::val opsOf(const PackedOps& packed);

// The page's measures of the texts, with the answers kept.
TextMetrics metricsOf(emscripten::val measurer);

template <typename Texts> emscripten::val arrayOf(const Texts& texts) {
    emscripten::val out = emscripten::val::array();
    for (const auto& t : texts) {
        out.call<void>("push", std::string(t));
    }
    return out;
}

emscripten::val listOf(const sim::ListBox& box);

// A copy the page owns of numbers of the module's memory.
emscripten::val float64Array(const std::vector<double>& numbers);

// An axis as the desktop's curves draw it: its range, its graduations and
// their labels, written the French way.
emscripten::val axisOf(const sim::AxisScale& scale);

} // namespace Ionaria::web
