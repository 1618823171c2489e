// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BatchMode.h"

#include "base/CarefulFile.h"
#include "base/Numbers.h"
#include "config/ConfigFile.h"
#include "sim/Catalogue.h"
#include "sim/Handlers.h"
#include "sim/MeasureCsv.h"
#include "sim/Nernst.h"
#include "sim/Reactions.h"
#include "sim/Recorder.h"

#include <iostream>
#include <memory>
#include <optional>

namespace Ionaria::app {

namespace cat = sim::catalogue;

namespace {

constexpr const char* standardOutput = "sortie standard";

// Writes one row per step, as the steps happen, and hands the step on to
// the record of the curves when there is one.
class CsvWriter : public sim::StepObserver {
public:
    // out is where the rows go, nullptr when they go nowhere.
    CsvWriter(const sim::Engine& engine, std::ostream* out, sim::CsvDialect dialect,
              sim::StepObserver* record)
        : m_engine(engine), m_out(out), m_dialect(dialect), m_record(record) {}

    void stepDone(bool programmedStop) override {
        if (m_out != nullptr) {
            m_row.clear();
            sim::appendCsvRow(m_row, sim::Measurement::of(m_engine), m_dialect);
            *m_out << m_row;
        }
        m_stopped = m_stopped || programmedStop;
        if (m_record != nullptr) {
            m_record->stepDone(programmedStop);
        }
    }
    // A programmed stop, or an output that failed: nothing more can be written.
    bool stopped() const { return m_stopped || (m_out != nullptr && !*m_out); }

private:
    const sim::Engine& m_engine;
    std::ostream* m_out;
    sim::CsvDialect m_dialect;
    sim::StepObserver* m_record;
    std::string m_row;
    bool m_stopped = false;
};

// Where the rows go: standard output, a new file beside the old one, which
// stays whole until the run has written them all, or nowhere.
class CsvOutput {
public:
    // False when the new file cannot be made.
    bool open(const std::optional<std::string>& path, std::ostream& standard,
              sim::CsvDialect dialect, bool potentials) {
        if (!path) {
            return true;
        }
        if (*path == "-") {
            m_out = &standard;
        } else {
            m_file = std::make_unique<base::CarefulFile>(*path);
            if (!m_file->open().ok()) {
                return false;
            }
            m_buffer = std::make_unique<base::CarefulStreamBuf>(*m_file);
            m_stream = std::make_unique<std::ostream>(m_buffer.get());
            m_out = m_stream.get();
        }
        *m_out << sim::csvHeader(dialect, potentials);
        return true;
    }
    // The stream of the rows; nullptr when there are none to write.
    std::ostream* stream() const { return m_out; }
    bool toStandardOutput() const { return m_out != nullptr && !m_file; }
    // Puts the file in place; false when a row could not be written.
    bool finish() {
        if (m_out == nullptr) {
            return true;
        }
        m_out->flush();
        return *m_out && (!m_file || m_file->commit().ok());
    }

private:
    std::unique_ptr<base::CarefulFile> m_file;
    std::unique_ptr<base::CarefulStreamBuf> m_buffer;
    std::unique_ptr<std::ostream> m_stream;
    std::ostream* m_out = nullptr;
};

// The ticks of a run. The picture is the background of the last redraw with
// the moving layer of the last tick, so the run keeps, when asked, the engine
// as it stood before the tick that last redrew the background.
struct Ticks {
    std::unique_ptr<sim::Engine> beforeRedraw;
    long long sinceRedraw = 0;
};

Ticks runTicks(sim::Engine& engine, const CsvWriter& writer, long long seconds, bool keepPicture) {
    Ticks ticks;
    while (true) {
        if (keepPicture && engine.tickRedrawsBackground()) {
            if (!ticks.beforeRedraw) {
                ticks.beforeRedraw = std::make_unique<sim::Engine>(engine);
            } else {
                *ticks.beforeRedraw = engine;
            }
            ticks.sinceRedraw = 0;
        }
        ++ticks.sinceRedraw;
        if (!BatchMode::tick(engine, seconds) || writer.stopped()) {
            break;
        }
    }
    return ticks;
}

} // namespace

void BatchMode::startTimer(sim::Engine& engine) {
    if (!engine.params().Timer1) {
        engine.Command5_Click();
    }
    engine.setStepsPerTickOverride(1);
}

bool BatchMode::tick(sim::Engine& engine, long long seconds) {
    const std::int32_t before = engine.state().tempsSec;
    engine.Timer1_Timer();
    return engine.state().tempsSec != before && engine.params().Timer1 &&
           engine.params().mesures.tempsSec < seconds;
}

void BatchMode::runFor(sim::Engine& engine, long long seconds) {
    startTimer(engine);
    while (tick(engine, seconds)) {
    }
}

std::string BatchMode::csvHeader(const sim::ParamStore& params) {
    return sim::csvHeader(sim::CsvDialect::Standard, sim::nernst::enabled(params));
}

std::string BatchMode::csvRow(const sim::Engine& engine) {
    std::string row;
    sim::appendCsvRow(row, sim::Measurement::of(engine), sim::CsvDialect::Standard);
    return row;
}

std::string BatchMode::summary(const sim::Engine& engine) {
    const auto& p = engine.params();
    const auto& s = engine.state();
    std::string text;
    text += "Montage : " + std::string(cat::montageCaption(p.Option2)) + "\n";
    text += "Durée : " + p.Labeltps() + "\n";
    text += "Intensité : " + p.Labelint() + "\n";
    text += "Tension : " + p.Labelu() + "\n";
    const char* names[] = {"", "G", "D"};
    for (int e = 1; e <= 2; ++e) {
        text += std::string("Masse de l'électrode ") + names[e] + " : " +
                base::formatPattern(engine.masseElectrode(e), "# ##0.00") + " g\n";
    }
    if (sim::nernst::enabled(p)) {
        text += "Potentiels : " + sim::nernst::potentialsText(s) + "\n";
    }
    if (s.intensite == 0.0F) {
        text += "Aucun courant : pas de réaction aux électrodes.\n";
        return text;
    }
    const int numbers[] = {0, sim::reactionNumberLeft(engine), sim::reactionNumberRight(engine)};
    for (int e = 1; e <= 2; ++e) {
        const auto* equation = sim::halfEquation(numbers[e]);
        text += std::string("Électrode ") + names[e] + " : " +
                (equation != nullptr ? sim::halfEquationText(*equation) : std::string("—")) + "\n";
    }
    return text;
}

void BatchMode::LastFrame::draw(sim::EngineHost& host) const {
    const auto& s = engine.state();
    engine.setStepObserver(nullptr);
    if (s.natInvalide) {
        host.drawNatureMessage(s.messageNat1, s.messageNat2);
        return;
    }
    engine.setHost(&host);
    engine.fondschema();
    for (long long tick = 1; tick <= ticks; ++tick) {
        engine.setHost(tick == ticks ? &host : nullptr);
        engine.Timer1_Timer();
    }
    engine.setHost(nullptr);
}

int BatchMode::run(const CommandLine& options, std::ostream& out, std::ostream& err,
                   const LastTick& lastTick) {
    auto engine = std::make_unique<sim::Engine>();
    sim::Handlers handlers(*engine);
    handlers.startup();
    if (const auto message = config::ConfigFile::load(options.configFile, handlers)) {
        err << message->title << " : " << message->text << "\n";
        return loadError;
    }
    const auto& s = engine->state();
    if (s.natInvalide) {
        err << s.messageNat1 << "\n" << s.messageNat2 << "\n";
        if (lastTick) {
            lastTick(LastFrame{*engine, 0});
        }
        return refused;
    }

    CsvOutput csv;
    if (!csv.open(options.csvPath, out, options.courbes.csvDialect,
                  sim::nernst::enabled(engine->params()))) {
        err << "Ecriture impossible sur disque : " << *options.csvPath << "\n";
        return outputError;
    }
    // The curves record the run as the window's record does.
    std::unique_ptr<sim::Recorder> record;
    if (options.courbes.path) {
        record = std::make_unique<sim::Recorder>(*engine);
    }
    CsvWriter writer(*engine, csv.stream(), options.courbes.csvDialect, record.get());
    if (csv.stream() != nullptr) {
        engine->setStepObserver(&writer);
    } else if (record) {
        engine->setStepObserver(record.get());
    }

    startTimer(*engine);
    const Ticks ticks = runTicks(*engine, writer, options.seconds, static_cast<bool>(lastTick));
    engine->setStepObserver(nullptr);
    if (!csv.finish()) {
        err << "Ecriture impossible sur disque : "
            << (csv.toStandardOutput() ? std::string(standardOutput) : *options.csvPath) << "\n";
        return outputError;
    }
    if (lastTick) {
        // Without a tick that ran, the picture is the montage as it stands.
        LastFrame last = ticks.beforeRedraw ? LastFrame{*ticks.beforeRedraw, ticks.sinceRedraw}
                                            : LastFrame{*engine, 0};
        last.record = record.get();
        last.atEnd = engine.get();
        if (!lastTick(last)) {
            return outputError;
        }
    }
    if (!csv.toStandardOutput()) {
        out << summary(*engine);
        out.flush();
        if (!out) {
            err << "Ecriture impossible sur disque : " << standardOutput << "\n";
            return outputError;
        }
    }
    return ok;
}

} // namespace Ionaria::app
