// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BatchMode.h"
#include "base/RecordFile.h"
#include "report/ExperimentPicture.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "support/EngineAccess.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>

using Ionaria::sim::catalogue::Montage;

using namespace Ionaria;

namespace {

// A running montage with its picture, a few seconds into the experiment so
// that the ticks measured are ordinary ones.
struct Running {
    explicit Running(int montage, int scale) : picture(engine), handlers(engine) {
        engine.setHost(&picture);
        handlers.startup();
        handlers.selectOption2(*sim::catalogue::montageOfCode(montage));
        if (montage == sim::catalogue::montageCode(Montage::Pile)) {
            handlers.selectCombo2(0, 3);
            handlers.selectCombo2(1, 1);
        }
        handlers.selectOption1(scale);
        engine.Command5_Click();
        for (int i = 0; i < 400; ++i) {
            engine.Timer1_Timer();
        }
    }
    sim::Engine engine;
    report::ExperimentPicture picture;
    sim::Handlers handlers;
};

// The clearing, the chemistry and the moving layer of one tick, without the
// background redraws that come every 61 ticks.
void tick(benchmark::State& state) {
    Running r(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        sim::EngineAccess::state(r.engine).cptDessin = 1;
        r.engine.Timer1_Timer();
        benchmark::DoNotOptimize(r.picture.image().constBits());
    }
}

// A tick drawn at a scale of the window (tenths): 25 is a full HD
// projector. At the macroscopic scale each tick also draws the report.
void tickAtScale(benchmark::State& state) {
    Running r(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    r.picture.canvas().setScale(static_cast<double>(state.range(2)) / 10.0);
    for (auto _ : state) {
        sim::EngineAccess::state(r.engine).cptDessin = 1;
        r.engine.Timer1_Timer();
        benchmark::DoNotOptimize(r.picture.image().constBits());
    }
}

// A change of the window's size: the background and the frame drawn again
// from their operations at the new scale (tenths, and the next size).
void rescale(benchmark::State& state) {
    Running r(1, static_cast<int>(state.range(0)));
    const double scale = static_cast<double>(state.range(1)) / 10.0;
    bool other = false;
    for (auto _ : state) {
        r.picture.canvas().setScale(other ? scale + 0.05 : scale);
        other = !other;
        benchmark::DoNotOptimize(r.picture.image().constBits());
    }
}

void fondschema(benchmark::State& state) {
    Running r(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        r.engine.fondschema();
        benchmark::DoNotOptimize(r.picture.image().constBits());
    }
}

// A 100-hour run of the batch mode that ends with its picture, as --png
// draws it: the background of the last redraw and the last tick.
void batchWithPicture(benchmark::State& state) {
    const auto path = (std::filesystem::temp_directory_path() / "ionaria-bench-png.C14").string();
    base::RecordFile::writeAll(path, {"KIVAR", "2",    "0",   "0",    "1",   "30",  "25",
                                      "3",     "3",    "6",   "1",    "500", "100", "100",
                                      "10",    "0,01", "200", "0,01", "200", "10"});
    app::CommandLine options;
    options.mode = app::CommandLine::Mode::Batch;
    options.configFile = path;
    options.seconds = 360000;
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        QImage image;
        const int status =
            app::BatchMode::run(options, out, err, [&image](const app::BatchMode::LastFrame& last) {
                report::ExperimentPicture picture(last.engine);
                last.draw(picture);
                image = picture.image();
                return true;
            });
        if (status != 0 || image.isNull()) {
            state.SkipWithError("batch run failed");
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}

} // namespace

// Arguments: montage (0 cell, 1 voltage, 2 current), scale (0 micro, 1 macro).
BENCHMARK(tick)->ArgsProduct({{0, 1, 2}, {0, 1}})->Unit(benchmark::kMicrosecond);
// Arguments: montage, scale of view, window scale in tenths.
BENCHMARK(tickAtScale)->ArgsProduct({{0, 1}, {0, 1}, {10, 25}})->Unit(benchmark::kMicrosecond);
BENCHMARK(rescale)->ArgsProduct({{0, 1}, {15, 25}})->Unit(benchmark::kMillisecond);
BENCHMARK(fondschema)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMicrosecond);
BENCHMARK(batchWithPicture)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
