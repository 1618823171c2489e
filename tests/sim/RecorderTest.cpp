// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Recorder.h"
#include "SimBench.h"
#include "sim/Catalogue.h"
#include "sim/Quantities.h"
#include "sim/Reading.h"
#include "support/EngineAccess.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using Ionaria::sim::catalogue::Montage;

using namespace Ionaria::sim;

namespace {

using testing::Bench;

constexpr std::int32_t hundredHours = 360000; // s
constexpr std::size_t thirtyMegabytes = 30'000'000;

// A montage as a pupil sets it up, then running.
using Setup = std::function<void(Bench&)>;

Setup electrolysis(Montage montage, int electrolyte, int nature1, int nature2,
                   const char* concentration = nullptr) {
    return [=](Bench& b) {
        b.electrolysis(montage, electrolyte, nature1, nature2);
        if (concentration != nullptr) {
            b.text(catalogue::Text2Concentration, concentration);
        }
    };
}

Setup cell(int nature1, int nature2) {
    return [=](Bench& b) {
        b.handlers.selectOption2(Montage::Pile);
        b.handlers.selectCombo2(0, nature1);
        b.handlers.selectCombo2(1, nature2);
    };
}

// Runs the window's way: the record attached from the start, the speed
// scroll bar's steps per tick, until the clock reaches the time or stops.
void runFor(Bench& b, std::int32_t seconds, int stepsPerTick = 7) {
    b.handlers.setHScroll2(stepsPerTick);
    if (!b.p().Timer1) {
        b.engine.Command5_Click();
    }
    std::int32_t before = -1;
    int still = 0;
    while (b.s().tempsSec < seconds && still < 3) {
        before = b.s().tempsSec;
        b.engine.Timer1_Timer();
        still = b.s().tempsSec == before ? still + 1 : 0;
    }
}

// A row the test makes by hand: the clock and two channels at will.
void put(Engine& engine, Recorder& record, std::int32_t t, double tension, float intensite) {
    EngineAccess::store(engine).mesures.tempsSec = t;
    EngineAccess::state(engine).tensionAffichee = tension;
    EngineAccess::state(engine).intensite = intensite;
    record.record();
}

double relativeGap(double a, double b) {
    return std::fabs(a - b) / std::max({std::fabs(a), std::fabs(b), 1e-300});
}

} // namespace

Q_DECLARE_METATYPE(Setup)

class RecorderTest : public QObject {
    Q_OBJECT

private slots:
    // However long the run, the record keeps its size, and the highest and
    // lowest values of every channel wherever they fell.
    void thinningKeepsTheExtremes_data() {
        QTest::addColumn<int>("capacity");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("peakAt");
        QTest::addColumn<int>("troughAt");
        QTest::newRow("no thinning") << 64 << 60 << 17 << 41;
        QTest::newRow("one merge") << 64 << 65 << 64 << 0;
        QTest::newRow("many merges, peak first") << 16 << 5000 << 0 << 2500;
        QTest::newRow("many merges, peak last") << 16 << 5000 << 4999 << 1;
        QTest::newRow("peak and trough in one bucket") << 8 << 1000 << 501 << 502;
        QTest::newRow("default size, 100 hours")
            << int(Recorder::defaultCapacity) << hundredHours << 123457 << 359999;
    }
    void thinningKeepsTheExtremes() {
        QFETCH(int, capacity);
        QFETCH(int, rows);
        QFETCH(int, peakAt);
        QFETCH(int, troughAt);
        Engine engine;
        Recorder record(engine, static_cast<std::size_t>(capacity));
        const auto tension = [&](int t) {
            return t == peakAt ? 50.0 : t == troughAt ? -50.0 : std::sin(t / 40.0);
        };
        for (int t = 0; t < rows; ++t) {
            put(engine, record, t, tension(t), 0.25F + 0.01F * float(t % 7));
        }
        QVERIFY(record.buckets().size() <= std::size_t(capacity));
        QCOMPARE(record.rows(), std::uint64_t(rows));
        std::vector<Recorder::Point> points;
        record.trace(channel::tension, record.buckets().size(), points);
        const auto [low, high] = std::minmax_element(
            points.begin(), points.end(),
            [](const Recorder::Point& a, const Recorder::Point& b) { return a.value < b.value; });
        QCOMPARE(high->value, 50.0);
        QCOMPARE(low->value, -50.0);
        // Each extreme stands within the bucket that holds it.
        const double width = record.rowsPerBucket();
        QVERIFY(std::fabs(high->seconds - peakAt) <= width);
        QVERIFY(std::fabs(low->seconds - troughAt) <= width);
        // A bucket's first row is a real row, whole.
        for (const auto& bucket : record.buckets()) {
            QCOMPARE(bucket.first.tension, tension(bucket.first.tempsSec));
            QCOMPARE(bucket.first.tempsSec % std::int32_t(record.rowsPerBucket()), 0);
        }
        QCOMPARE(record.lastSeconds(), rows - 1);
    }

    // The lowest and highest of a bucket are drawn in the order they came:
    // a curve that only rises never turns back.
    void thinnedTraceKeepsTheDirection_data() {
        QTest::addColumn<double>("slope");
        QTest::addColumn<int>("columns");
        QTest::newRow("rising, buckets grouped") << 0.001 << 10;
        QTest::newRow("falling, buckets grouped") << -0.001 << 10;
        QTest::newRow("rising, a bucket a column") << 0.001 << 1000;
        QTest::newRow("falling, a bucket a column") << -0.001 << 1000;
    }
    void thinnedTraceKeepsTheDirection() {
        QFETCH(double, slope);
        QFETCH(int, columns);
        Engine engine;
        Recorder record(engine, 32);
        for (int t = 0; t < 3000; ++t) {
            put(engine, record, t, 1.0 + slope * t, 0.1F);
        }
        std::vector<Recorder::Point> points;
        record.trace(channel::tension, std::size_t(columns), points);
        QVERIFY(points.size() > 10);
        for (std::size_t k = 1; k < points.size(); ++k) {
            QVERIFY2((points[k].value - points[k - 1].value) * slope >= 0.0,
                     qPrintable(QString::number(k)));
            QVERIFY(points[k].seconds >= points[k - 1].seconds);
        }
        QCOMPARE(points.back().value, 1.0 + slope * 2999);
    }

    void memoryIsBounded_data() {
        QTest::addColumn<int>("rows");
        QTest::newRow("one row") << 1;
        QTest::newRow("the full size") << int(Recorder::defaultCapacity);
        QTest::newRow("one row more") << int(Recorder::defaultCapacity) + 1;
        QTest::newRow("100 hours") << hundredHours;
        QTest::newRow("1000 hours") << 10 * hundredHours;
    }
    void memoryIsBounded() {
        QFETCH(int, rows);
        Engine engine;
        Recorder record(engine);
        for (int t = 0; t < rows; ++t) {
            put(engine, record, t, t % 2, 0.1F);
        }
        QVERIFY2(record.memoryBytes() <= thirtyMegabytes,
                 qPrintable(QString::number(record.memoryBytes())));
        QVERIFY(record.buckets().size() <= Recorder::defaultCapacity);
        QCOMPARE(record.lastSeconds(), rows - 1);
        QCOMPARE(Recorder::value(record.buckets().front(), channel::tension), 0.0);
    }

    // A reset, by the button or by a choice that runs it, starts the record
    // again from the initial state.
    void resetClearsTheRecord_data() {
        QTest::addColumn<Setup>("change");
        QTest::newRow("Retour à l'état initial")
            << Setup([](Bench& b) { b.engine.Command3_Click(); });
        QTest::newRow("another electrolyte") << Setup([](Bench& b) { b.handlers.selectCombo1(6); });
        QTest::newRow("another montage")
            << Setup([](Bench& b) { b.handlers.selectOption2(Montage::Pile); });
        QTest::newRow("a typed value")
            << Setup([](Bench& b) { b.text(catalogue::Text2Concentration, "0,02"); });
    }
    void resetClearsTheRecord() {
        QFETCH(Setup, change);
        Bench b;
        Recorder record(b.engine);
        b.engine.setStepObserver(&record);
        electrolysis(Montage::Courant, 6, 3, 3, "0,001")(b);
        runFor(b, 2400);
        QVERIFY(record.rows() > 2000);
        QVERIFY(!record.events().empty());
        change(b);
        QCOMPARE(record.rows(), std::uint64_t(1));
        QVERIFY(record.events().empty());
        QCOMPARE(record.lastSeconds(), 0);
        QCOMPARE(record.buckets().front().first.masseG, b.engine.masseElectrode(1));
        QCOMPARE(record.run().montage, b.p().Option2);
    }

    // Without current the clock stands and the record with it, however long
    // the animation runs.
    void aStandingMontageAddsNoRows() {
        Bench b;
        Recorder record(b.engine);
        b.engine.setStepObserver(&record);
        cell(1, 1)(b);
        const auto rows = record.rows();
        runFor(b, 100);
        for (int tick = 0; tick < 200; ++tick) {
            b.engine.Timer1_Timer();
        }
        QCOMPARE(record.rows(), rows);
    }

    // The law from the recorded current gives the recorded masses while the
    // reactions go on.
    void faradayMatchesWithoutExhaustion_data() {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<int>("seconds");
        QTest::newRow("copper deposit, current generator")
            << electrolysis(Montage::Courant, 6, 3, 3) << 3600;
        QTest::newRow("soluble copper anode") << electrolysis(Montage::Courant, 6, 1, 1) << 7200;
        QTest::newRow("zinc sulfate, zinc anode, voltage generator")
            << electrolysis(Montage::Tension, 9, 3, 4) << 3600;
        QTest::newRow("zinc-copper cell") << cell(3, 1) << 3600;
        QTest::newRow("aluminium-iron cell") << cell(0, 2) << 1800;
    }
    void faradayMatchesWithoutExhaustion() {
        QFETCH(Setup, setup);
        QFETCH(int, seconds);
        Bench b;
        Recorder record(b.engine);
        b.engine.setStepObserver(&record);
        setup(b);
        runFor(b, seconds);
        QVERIFY(record.rowsPerBucket() == 1);
        QVERIFY(record.lastSeconds() >= seconds);
        const auto& first = record.buckets().front();
        const auto& last = record.buckets().back();
        // Something was deposited or dissolved, and the law follows it.
        QVERIFY(std::fabs(last.first.masseG - first.first.masseG) > 1e-3 ||
                std::fabs(last.first.masseD - first.first.masseD) > 1e-3);
        for (const auto& bucket : record.buckets()) {
            QVERIFY2(relativeGap(bucket.loi[0], bucket.first.masseG) <= 1e-6,
                     qPrintable(QString("G at %1 s").arg(bucket.first.tempsSec)));
            QVERIFY2(relativeGap(bucket.loi[1], bucket.first.masseD) <= 1e-6,
                     qPrintable(QString("D at %1 s").arg(bucket.first.tempsSec)));
        }
    }

    // When the copper ions run out the cathode gives hydrogen: the mass
    // stops, the law goes on, from the event on.
    void faradayDepartsWhenCopperRunsOut_data() {
        QTest::addColumn<Setup>("setup");
        QTest::newRow("current generator") << electrolysis(Montage::Courant, 6, 3, 3, "0,001");
        QTest::newRow("voltage generator") << electrolysis(Montage::Tension, 6, 3, 3, "0,001");
    }
    void faradayDepartsWhenCopperRunsOut() {
        QFETCH(Setup, setup);
        Bench b;
        Recorder record(b.engine);
        b.engine.setStepObserver(&record);
        setup(b);
        runFor(b, 7200, 1);
        QCOMPARE(record.events().size(), std::size_t(1));
        const auto& event = record.events().front();
        QCOMPARE(event.previousG, std::int16_t(catalogue::cuivre2));
        QCOMPARE(event.codeG, std::int16_t(catalogue::hydrogene));
        QCOMPARE(eventText(event), std::string("G : 2 H⁺ + 2 e⁻ → H₂"));
        double gapAfter = 0.0;
        for (const auto& bucket : record.buckets()) {
            const double gap = bucket.loi[0] - bucket.first.masseG;
            // The step that uses up the last ions may convert less than the
            // current's charge: the row before the event may already depart.
            if (bucket.first.tempsSec < event.tempsSec - 1) {
                QVERIFY2(relativeGap(bucket.loi[0], bucket.first.masseG) <= 1e-6,
                         qPrintable(QString::number(bucket.first.tempsSec)));
            } else if (bucket.first.tempsSec > event.tempsSec) {
                // The law keeps rising by the current's copper.
                QVERIFY(gap > gapAfter);
                gapAfter = gap;
            }
        }
        const auto& last = record.buckets().back().first;
        QVERIFY(last.intensite > 0.0F);
        QVERIFY(gapAfter > 1e-3);
    }

    // The half-equations of the events, charges raised and indices lowered.
    void halfEquationsAsText_data() {
        QTest::addColumn<int>("reaction");
        QTest::addColumn<QString>("text");
        QTest::newRow("water") << 11 << QString("2 H₂O → 4 H⁺ + O₂ + 4 e⁻");
        QTest::newRow("iron III") << 6 << QString("Fe³⁺ + e⁻ → Fe²⁺");
        QTest::newRow("chloride") << 1 << QString("2 Cl⁻ → Cl₂ + 2 e⁻");
        QTest::newRow("none") << 0 << QString();
    }
    void halfEquationsAsText() {
        QFETCH(int, reaction);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(halfEquationPretty(reaction)), text);
    }

    // The concentrations are those of the vessel, or of each half-cell.
    void concentrationsOfTheRun_data() {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<double>("molPerLitre");
        QTest::newRow("copper sulfate")
            << electrolysis(Montage::Courant, 6, 3, 3) << "Cu2+" << QStringList{"[Cu²⁺]"} << 0.01;
        QTest::newRow("sulfate as the CSV writes it") << electrolysis(Montage::Courant, 6, 3, 3)
                                                      << "SO4 2-" << QStringList{"[SO₄²⁻]"} << 0.01;
        QTest::newRow("zinc in half-cell G")
            << cell(3, 1) << "Zn2+" << QStringList{"[Zn²⁺] côté G"} << 0.01;
        QTest::newRow("copper in both half-cells")
            << cell(1, 1) << "Cu2+" << QStringList{"[Cu²⁺] côté G", "[Cu²⁺] côté D"} << 0.01;
        QTest::newRow("absent from the cell") << cell(3, 1) << "Na+" << QStringList{"[Na⁺]"} << 0.0;
    }
    void concentrationsOfTheRun() {
        QFETCH(Setup, setup);
        QFETCH(QString, key);
        QFETCH(QStringList, names);
        QFETCH(double, molPerLitre);
        Bench b;
        Recorder record(b.engine);
        b.engine.setStepObserver(&record);
        setup(b);
        const auto quantities = quantitiesFor(key.toStdString(), record);
        QStringList found;
        for (const auto& q : quantities) {
            found << QString::fromStdString(q.name);
            const double c = q.scale * Recorder::value(record.buckets().front(), q.channel);
            QVERIFY2(std::fabs(c - molPerLitre) <= 1e-6, qPrintable(QString::number(c)));
        }
        QCOMPARE(found, names);
    }

    // A current's plot is in mA until its largest value, however short and
    // however thinned the record, reaches the ampere.
    void currentUnitFollowsTheLargestCurrent_data() {
        QTest::addColumn<int>("capacity");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("peakAt");
        QTest::addColumn<QString>("unit");
        QTest::newRow("no peak") << 64 << 60 << -1 << "mA";
        QTest::newRow("one second at 2 A") << 64 << 60 << 31 << "A";
        QTest::newRow("peak in a thinned record") << 16 << 5000 << 2501 << "A";
    }
    void currentUnitFollowsTheLargestCurrent() {
        QFETCH(int, capacity);
        QFETCH(int, rows);
        QFETCH(int, peakAt);
        Engine engine;
        Recorder record(engine, static_cast<std::size_t>(capacity));
        for (int t = 0; t < rows; ++t) {
            put(engine, record, t, 1.0, t == peakAt ? 2.0F : 0.05F);
        }
        Quantity intensite;
        intensite.kind = Quantity::Kind::Intensite;
        intensite.channel = channel::intensite;
        std::vector<Recorder::Point> scratch;
        const ShownUnit shown = shownUnitOf(intensite, record, 300, scratch);
        QTEST(QString::fromStdString(shown.unit), "unit");
        QCOMPARE(shown.factor, shown.unit == "mA" ? 1000.0 : 1.0);
    }

    // What Courbes reads at a time: the time in the axis's unit, each
    // quantity, the law beside the masses when asked, the reaction at each
    // electrode then, and the changes of reaction after.
    void readingLinesTellTheRecord() {
        Bench b;
        Recorder record(b.engine);
        QCOMPARE(readingLines(record, std::nullopt, false),
                 std::vector<std::string>{"Aucune mesure : lancez l'expérience."});
        b.engine.setStepObserver(&record);
        electrolysis(Montage::Courant, 6, 3, 3, "0,001")(b);
        runFor(b, 7200, 1);
        QCOMPARE(record.events().size(), std::size_t(1));

        const auto before = readingLines(record, 100.0, true);
        QCOMPARE(before.front(), std::string("t = 1,67 min (100 s)"));
        const auto line = [](const std::vector<std::string>& lines, const std::string& start) {
            const auto found = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
                return l.rfind(start, 0) == 0;
            });
            return found == lines.end() ? std::string() : *found;
        };
        QVERIFY(line(before, "m(G) = ").find(" (loi de Faraday : ") != std::string::npos);
        QVERIFY(line(before, "i = ").find("loi de Faraday") == std::string::npos);
        QCOMPARE(line(before, "G : "), std::string("G : Cu²⁺ + 2 e⁻ → Cu"));
        QVERIFY(line(readingLines(record, 100.0, false), "m(G) = ").find("Faraday") ==
                std::string::npos);
        const auto after = readingLines(record, std::nullopt, false);
        QCOMPARE(line(after, "G : "), std::string("G : 2 H⁺ + 2 e⁻ → H₂"));

        const auto events = eventLines(record, 10);
        QCOMPARE(events.size(), std::size_t(2));
        QCOMPARE(events[0], std::string("Changements de réaction :"));
        QVERIFY(events[1].rfind("t = ", 0) == 0);
        QVERIFY(events[1].find(" — G : 2 H⁺ + 2 e⁻ → H₂") != std::string::npos);
        QCOMPARE(eventLines(record, 0).back(), std::string("… et 1 autres"));
    }

    // Without current the reading says so; a thinned record says how many
    // seconds each kept measurement stands for.
    void readingLinesOfAThinnedRecordWithoutCurrent() {
        Engine engine;
        Recorder record(engine, 16);
        for (int t = 0; t < 5000; ++t) {
            put(engine, record, t, 1.0, 0.0F);
        }
        const auto lines = readingLines(record, 2500.0, false);
        QVERIFY(std::find(lines.begin(), lines.end(), "Aucun courant") != lines.end());
        QVERIFY(record.rowsPerBucket() > 1);
        QCOMPARE(lines.back(), "(une mesure gardée toutes les " +
                                   std::to_string(record.rowsPerBucket()) +
                                   " s, avec les extrêmes)");
        QVERIFY(eventLines(record, 10).empty());
    }
};

QTEST_GUILESS_MAIN(RecorderTest)
#include "RecorderTest.moc"
