// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/RtfReader.h"
#include "support/HostileRtf.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <malloc.h>

using namespace Ionaria;

namespace {

const std::vector<testing::HostileShape>& shapes() {
    static const auto all = testing::hostileRtfShapes();
    return all;
}

double heapBytes() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

// One hostile file at the size limit read into a fresh document, as the
// exercises window reads it (the check, then the reading): the time, and
// the heap the document holds once read. Run one at a time under
// /usr/bin/time for the peak of the whole process.
void readHostile(benchmark::State& state) {
    const auto& shape = shapes()[static_cast<std::size_t>(state.range(0))];
    const QByteArray bytes =
        shape.make(exercises::RtfReader::maxInputBytes, exercises::RtfReader::maxParagraphs);
    state.SetLabel(shape.name);
    double held = 0.0;
    int blocks = 0;
    for (auto _ : state) {
        const double before = heapBytes();
        QTextDocument document;
        if (exercises::RtfReader::check(bytes)) {
            benchmark::DoNotOptimize(exercises::RtfReader::read(bytes, document));
        }
        held = heapBytes() - before;
        blocks = document.blockCount();
    }
    state.counters["held_MB"] = held / 1e6;
    state.counters["blocks"] = blocks;
    state.counters["input_MB"] = static_cast<double>(bytes.size()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    for (std::size_t i = 0; i < shapes().size(); ++i) {
        benchmark::RegisterBenchmark("readHostile", readHostile)
            ->Arg(static_cast<long>(i))
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
