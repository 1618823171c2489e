// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/AnswerTextEdit.h"
#include "exercises/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextDocument>

#include <benchmark/benchmark.h>

using namespace Ionaria;

namespace {

// The text box of the exercises at the window's design size, px.
constexpr int boxWidth = 247;
constexpr int boxHeight = 164;

// A statement of one run of characters with no place to break a line, as
// large as the reader takes: the reading, then the layout of the whole text
// in the exercises' box, as opening it costs.
void openLongRun(benchmark::State& state) {
    const auto characters = static_cast<qsizetype>(state.range(0));
    const QByteArray bytes = "{\\rtf1\\ansi " + QByteArray(characters, 'a') + "}";
    exercises::AnswerTextEdit box;
    box.resize(boxWidth, boxHeight);
    for (auto _ : state) {
        QTextDocument document;
        benchmark::DoNotOptimize(exercises::RtfReader::read(bytes, document));
        box.setDocument(&document);
        benchmark::DoNotOptimize(document.documentLayout()->documentSize());
        box.setDocument(nullptr);
    }
    state.counters["characters"] = static_cast<double>(characters);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const long largest = static_cast<long>(exercises::RtfReader::maxInputBytes) - 32;
    benchmark::RegisterBenchmark("openLongRun", openLongRun)
        ->Arg(200000)
        ->Arg(400000)
        ->Arg(largest)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
