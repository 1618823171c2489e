// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/ValueCheck.h"

#include "base/Numbers.h"
#include "config/ConfigFile.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "sim/Measurement.h"
#include "sim/Quantities.h"
#include "sim/Recorder.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <memory>

namespace Ionaria::exercises {

namespace {

// The value of a channel of the record in a measurement.
double channelValue(const sim::Measurement& m, std::size_t c) {
    switch (c) {
    case sim::channel::intensite:
        return static_cast<double>(m.intensite);
    case sim::channel::tension:
        return m.tension;
    case sim::channel::masseG:
        return m.masseG;
    case sim::channel::masseD:
        return m.masseD;
    case sim::channel::ions1:
        return m.ions1;
    case sim::channel::ions2:
        return m.ions2;
    case sim::channel::potentielG:
        return static_cast<double>(m.potentielG);
    case sim::channel::potentielD:
        return static_cast<double>(m.potentielD);
    default:
        break;
    }
    if (c >= sim::channel::firstQuantite && c < sim::channel::ions1) {
        return m.quantite[c - sim::channel::firstQuantite];
    }
    return 0.0;
}

// The values of the engine as it stands, as the window and the batch's
// summary write them.
void appendValues(std::vector<ValueCheck::Row>& rows, const ValueCheck::Row& where,
                  const sim::Engine& engine, const sim::Recorder& record) {
    const auto add = [&rows, &where](const std::string& quantity, const std::string& value) {
        ValueCheck::Row row = where;
        row.quantity = quantity;
        row.value = value;
        rows.push_back(std::move(row));
    };
    const auto& p = engine.params();
    const sim::Measurement m = sim::Measurement::of(engine);
    add("Durée", p.Labeltps());
    add("Intensité", p.Labelint());
    add("Tension", p.Labelu());
    add("Masse de l'électrode G", base::formatPattern(m.masseG, "# ##0.00") + " g");
    add("Masse de l'électrode D", base::formatPattern(m.masseD, "# ##0.00") + " g");
    for (const sim::Quantity& q : sim::quantitiesOf(record, true)) {
        if (q.kind == sim::Quantity::Kind::Concentration) {
            add(q.name,
                base::formatPattern(channelValue(m, q.channel) * q.scale, "0.00E+00") + " mol/L");
        } else if (q.kind == sim::Quantity::Kind::Potentiel) {
            add(q.name, base::formatPattern(channelValue(m, q.channel), "0.000") + " V");
        }
    }
    const bool current = engine.state().intensite != 0.0F;
    for (const auto& [name, reaction] :
         {std::pair{"Électrode G", m.reactionG}, std::pair{"Électrode D", m.reactionD}}) {
        const std::string equation = current ? sim::halfEquationPretty(reaction) : std::string();
        add(name, equation.empty() ? std::string("aucune réaction") : equation);
    }
}

} // namespace

std::optional<std::vector<long long>> ValueCheck::parseDurations(const std::string& text) {
    std::vector<long long> seconds;
    std::size_t i = 0;
    const auto separator = [](char c) {
        return c == ' ' || c == '\t' || c == ',' || c == ';' || c == '\n' || c == '\r';
    };
    while (i < text.size()) {
        if (separator(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !separator(text[end])) {
            ++end;
        }
        long long value = 0;
        const auto [ptr, ec] = std::from_chars(text.data() + i, text.data() + end, value);
        if (ec != std::errc() || ptr != text.data() + end || value < 0 || value > maxSeconds) {
            return std::nullopt;
        }
        seconds.push_back(value);
        i = end;
    }
    std::sort(seconds.begin(), seconds.end());
    seconds.erase(std::unique(seconds.begin(), seconds.end()), seconds.end());
    if (seconds.empty() || seconds.size() > maxDurations) {
        return std::nullopt;
    }
    return seconds;
}

std::vector<ValueCheck::Row> ValueCheck::run(const std::string& path,
                                             const std::vector<long long>& seconds) {
    std::vector<Row> rows;
    Row where;
    where.configuration = std::filesystem::path(path).filename().string();
    auto engine = std::make_unique<sim::Engine>();
    sim::Handlers handlers(*engine);
    handlers.startup();
    if (const auto message = config::ConfigFile::load(path, handlers)) {
        where.quantity = message->title;
        where.value = message->text;
        rows.push_back(where);
        return rows;
    }
    const auto& s = engine->state();
    if (s.natInvalide) {
        where.quantity = "Montage refusé";
        where.value = s.messageNat1 + " " + s.messageNat2;
        rows.push_back(where);
        return rows;
    }
    sim::Recorder record(*engine);
    record.record();
    engine->setStepObserver(&record);
    if (!engine->params().Timer1) {
        engine->Command5_Click();
    }
    engine->setStepsPerTickOverride(1);
    bool running = true;
    for (const long long target : seconds) {
        while (running && engine->params().mesures.tempsSec < target) {
            const std::int32_t before = s.tempsSec;
            engine->Timer1_Timer();
            // A programmed stop, or a step in which time stood, ends the run.
            running = s.tempsSec != before && engine->params().Timer1;
        }
        where.asked = base::formatInteger(target);
        appendValues(rows, where, *engine, record);
    }
    engine->setStepObserver(nullptr);
    return rows;
}

} // namespace Ionaria::exercises
