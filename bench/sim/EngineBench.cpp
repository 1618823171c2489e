// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BatchMode.h"
#include "base/RecordFile.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace Ionaria;

namespace {

// An engine after start-up with the given montage, running one second per tick.
struct Running {
    sim::Engine engine;
    sim::Handlers handlers{engine};
    Running(sim::catalogue::Montage montage, int nature1, int nature2, bool nernst = false) {
        handlers.startup();
        handlers.selectOption2(montage);
        handlers.setCheck3(nernst ? 1 : 0);
        handlers.selectCombo2(0, nature1);
        handlers.selectCombo2(1, nature2);
        if (!engine.params().Timer1) {
            engine.Command5_Click();
        }
        engine.setStepsPerTickOverride(1);
    }
};

void simulatedSecond(benchmark::State& bench, sim::catalogue::Montage montage, int nature1,
                     int nature2, bool nernst = false) {
    Running run(montage, nature1, nature2, nernst);
    for (auto _ : bench) {
        run.engine.Timer1_Timer();
        benchmark::DoNotOptimize(run.engine.state().intensite);
        if (run.engine.state().tempsSec > 300000) {
            bench.PauseTiming();
            run.engine.Command3_Click();
            bench.ResumeTiming();
        }
    }
    bench.SetItemsProcessed(bench.iterations());
}

void BM_ElectrolysisSecond(benchmark::State& bench) {
    simulatedSecond(bench, sim::catalogue::Montage::Tension, 3, 3);
}
void BM_CellSecond(benchmark::State& bench) {
    simulatedSecond(bench, sim::catalogue::Montage::Pile, 1, 3);
}
// The same with the potentials that follow the concentrations.
void BM_ElectrolysisSecondNernst(benchmark::State& bench) {
    simulatedSecond(bench, sim::catalogue::Montage::Tension, 3, 3, true);
}
void BM_CellSecondNernst(benchmark::State& bench) {
    simulatedSecond(bench, sim::catalogue::Montage::Pile, 1, 3, true);
}

// Copper sulfate between graphite electrodes at 250 mA, microscopic scale.
std::string sampleFile() {
    const auto path = (std::filesystem::temp_directory_path() / "ionaria-bench.C14").string();
    base::RecordFile::writeAll(path, {"KIVAR", "2",    "0",   "0",    "1",   "30",  "25",
                                      "3",     "3",    "6",   "1",    "500", "100", "100",
                                      "10",    "0,01", "200", "0,01", "200", "10"});
    return path;
}

// Hydrochloric acid at 1 mol/L under 10 V, limited to 2 A, macroscopic
// scale: gas at both electrodes, whose bubbles the ticks count and skip.
std::string bubblesFile() {
    const auto path =
        (std::filesystem::temp_directory_path() / "ionaria-bench-bulles.C14").string();
    base::RecordFile::writeAll(path, {"KIVAR", "1",    "1",   "0",    "1",   "100", "25",
                                      "3",     "3",    "0",   "1",    "500", "100", "100",
                                      "10",    "0,01", "200", "0,01", "200", "10"});
    return path;
}

// A 100-hour run of the batch mode, with and without its CSV.
void batchRun(benchmark::State& bench, bool csv, const std::string& file = sampleFile()) {
    app::CommandLine options;
    options.mode = app::CommandLine::Mode::Batch;
    options.configFile = file;
    options.seconds = 360000;
    if (csv) {
        options.csvPath = "/dev/null";
    }
    for (auto _ : bench) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = app::BatchMode::run(options, out, err);
        if (status != 0) {
            bench.SkipWithError("batch run failed");
        }
        benchmark::DoNotOptimize(out.str().size());
    }
}

void BM_Batch100Hours(benchmark::State& bench) {
    batchRun(bench, false);
}
void BM_Batch100HoursCsv(benchmark::State& bench) {
    batchRun(bench, true);
}
void BM_Batch100HoursBubbles(benchmark::State& bench) {
    batchRun(bench, false, bubblesFile());
}

} // namespace

BENCHMARK(BM_ElectrolysisSecond);
BENCHMARK(BM_CellSecond);
BENCHMARK(BM_ElectrolysisSecondNernst);
BENCHMARK(BM_CellSecondNernst);
BENCHMARK(BM_Batch100Hours)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Batch100HoursCsv)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Batch100HoursBubbles)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
