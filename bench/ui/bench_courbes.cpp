// SPDX-License-Identifier: GPL-3.0-or-later
// The curves: recording one simulated second, in time and memory; the window
// redrawn over a 100-hour record; and the tick of the main window at its
// fastest speed with the curves' window open.
#include "base/RecordFile.h"
#include "config/ConfigFile.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "sim/Recorder.h"
#include "support/EngineAccess.h"
#include "ui/CourbesWindow.h"
#include "ui/IllusView.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QGraphicsView>
#include <QPixmap>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

using namespace Ionaria;

// The bytes the program holds, and the most it held: every allocation of the
// benchmark goes through here.
namespace {
std::atomic<std::size_t> heldBytes{0};
std::atomic<std::size_t> peakBytes{0};
constexpr std::size_t header = alignof(std::max_align_t);

void* take(std::size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size + header));
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    *reinterpret_cast<std::size_t*>(block) = size;
    const std::size_t now = heldBytes += size;
    std::size_t peak = peakBytes.load();
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
    return block + header;
}

void give(void* pointer) noexcept {
    if (pointer != nullptr) {
        auto* block = static_cast<unsigned char*>(pointer) - header;
        heldBytes -= *reinterpret_cast<std::size_t*>(block);
        std::free(block);
    }
}
} // namespace

void* operator new(std::size_t size) {
    return take(size);
}
void* operator new[](std::size_t size) {
    return take(size);
}
void operator delete(void* pointer) noexcept {
    give(pointer);
}
void operator delete[](void* pointer) noexcept {
    give(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    give(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    give(pointer);
}

namespace {

constexpr std::int32_t hundredHours = 360000; // s

// Copper sulfate at 1 mol/L on 100 g electrodes under 250 mA: 100 hours of
// deposit without running out.
std::string longRunFile() {
    const auto path =
        (std::filesystem::temp_directory_path() / "ionaria-bench-courbes.C14").string();
    base::RecordFile::writeAll(path, {"KIVAR", "2",    "0",   "0",    "1",   "30",  "25",
                                      "3",     "3",    "6",   "1",    "500", "100", "100",
                                      "10",    "0,01", "200", "0,01", "200", "10"});
    return path;
}

struct Run {
    sim::Engine engine;
    sim::Handlers handlers{engine};
    explicit Run(const std::string& file) {
        handlers.startup();
        config::ConfigFile::load(file, handlers);
        engine.setStepsPerTickOverride(1);
        engine.Command5_Click();
    }
};

// One simulated second recorded: the row taken from the engine and kept,
// the thinning included, over a run of 100 hours. The memory counters are
// those of the record at the end, and the most the program held above what
// it held before the run.
void recordOneSecond(benchmark::State& state) {
    Run run(longRunFile());
    // The clock alone moves, so that every row differs from the one before.
    auto& mesures = sim::EngineAccess::store(run.engine).mesures;
    for (auto _ : state) {
        state.PauseTiming();
        const std::size_t before = heldBytes.load();
        peakBytes = before;
        sim::Recorder record(run.engine);
        state.ResumeTiming();
        for (std::int32_t t = 0; t < hundredHours; ++t) {
            mesures.tempsSec = t;
            record.record();
        }
        benchmark::DoNotOptimize(record.rows());
        state.PauseTiming();
        state.counters["record_MB"] = static_cast<double>(record.memoryBytes()) / 1e6;
        state.counters["peak_MB"] = static_cast<double>(peakBytes.load() - before) / 1e6;
        state.counters["bytes_per_s"] =
            static_cast<double>(record.memoryBytes()) / static_cast<double>(hundredHours);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * hundredHours);
}

// 100 hours of the real chemistry, recorded as the window records them.
struct LongRun {
    Run run{longRunFile()};
    sim::Recorder record{run.engine};
    LongRun() {
        run.engine.setStepObserver(&record);
        while (run.engine.params().mesures.tempsSec < hundredHours) {
            run.engine.Timer1_Timer();
        }
    }
};

// The window redrawn over a 100-hour record: one more second, the plots read
// again and the whole window painted, as every tenth of a second while the
// run goes on. Argument: 0 for the current and the masses, 1 for six plots
// and the law.
void redrawHundredHours(benchmark::State& state) {
    static LongRun long100;
    ui::CourbesWindow window(long100.record);
    window.resize(980, 660);
    window.faradayBox()->setChecked(state.range(0) == 1);
    for (const char* id : {"U", "Cu2+", "SO42-"}) {
        if (QCheckBox* box = window.quantityBox(QString::fromLatin1(id))) {
            box->setChecked(state.range(0) == 1);
        }
    }
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        long100.run.engine.Timer1_Timer();
        window.refreshIfChanged();
        benchmark::DoNotOptimize(window.grab().cacheKey());
    }
    state.counters["plots"] = window.chart().plotCount();
    state.counters["rows"] = static_cast<double>(long100.record.rows());
}

// The main window's tick at its fastest speed (39 simulated seconds), the
// curves' window open with the law: the ticks as the timer runs them, and,
// every fifth of them (its tenth of a second), the curves' redraw and both
// windows painted, as the event loop paints them.
void tickWithCourbesOpen(benchmark::State& state) {
    QTemporaryDir folder;
    ui::MainWindow main(folder.path());
    main.show();
    main.handlers().setHScroll2(39);
    main.refreshFromStore();
    main.Command12_Click();
    ui::CourbesWindow& courbes = *main.courbesWindow();
    courbes.faradayBox()->setChecked(true);
    main.Command5_Click();
    QApplication::processEvents();
    long ticks = 0;
    const bool withRedraws = state.range(0) == 1;
    for (auto _ : state) {
        QMetaObject::invokeMethod(&main.Timer1, "timeout", Qt::DirectConnection);
        main.illus->repaint();
        if (withRedraws && ++ticks % 5 == 0) {
            courbes.refreshIfChanged();
            courbes.view()->viewport()->repaint();
        }
    }
    main.Timer1.stop();
    state.counters["simulated_s"] = main.engine().state().tempsSec;
}

} // namespace

BENCHMARK(recordOneSecond)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(redrawHundredHours)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
// Argument: 0 for the tick alone (the record taking its rows), 1 with the
// curves' redraws shared out over the ticks.
BENCHMARK(tickWithCourbesOpen)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
