#include "report/ExperimentPicture.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

using namespace Ionaria;

namespace {

// A running montage with its picture, a few seconds into the experiment so
// that the ticks measured are ordinary ones.
struct Running {
    explicit Running(int montage, int scale) : picture(engine), handlers(engine) {
        engine.setHost(&picture);
        handlers.startup();
        handlers.selectOption2(montage);
        if (montage == 0) {
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
        r.engine.state().cptDessin = 1;
        r.engine.Timer1_Timer();
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

} // namespace

// Arguments: montage (0 cell, 1 voltage, 2 current), scale (0 micro, 1 macro).
BENCHMARK(tick)->ArgsProduct({{0, 1, 2}, {0, 1}})->Unit(benchmark::kMicrosecond);
BENCHMARK(fondschema)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
