// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Nernst.h"
#include "SimBench.h"
#include "sim/Catalogue.h"
#include "sim/Engine.h"
#include "sim/MeasureCsv.h"
#include "sim/Quantities.h"
#include "sim/Recorder.h"

#include <QtTest>

#include <cmath>

using Ionaria::sim::catalogue::Montage;

using namespace Ionaria::sim;
namespace cat = Ionaria::sim::catalogue;

namespace {

using testing::Bench;

// Cell natures by list position, electrolysis natures by theirs.
constexpr int pileAl = 0;
constexpr int pileCu = 1;
constexpr int pileFe = 2;
constexpr int pileZn = 3;
constexpr int elecCu = 1;
constexpr int elecGraphite = 3;
constexpr int elecZn = 4;
// Electrolytes by list position.
constexpr int acideChlorhydrique = 0;
constexpr int chlorureCuivre = 3;
constexpr int chlorureSodium = 4;
constexpr int sulfateCuivre = 6;
constexpr int sulfateFer3 = 8;

// A cell of two half-cells at the given concentrations, with the option on
// or off, reset.
void pile(Bench& b, int nature1, const char* c1, int nature2, const char* c2, bool nernst) {
    b.handlers.selectOption2(Montage::Pile);
    b.handlers.setCheck3(nernst ? 1 : 0);
    b.text(cat::Text2ConcentrationG, c1);
    b.text(cat::Text2ConcentrationD, c2);
    b.handlers.selectCombo2(0, nature1);
    b.handlers.selectCombo2(1, nature2);
}

void electrolysis(Bench& b, int electrolyte, const char* c, int nature1, int nature2, bool nernst) {
    b.handlers.setUpDown1(25);
    b.electrolysis(Montage::Tension, electrolyte, nature1, nature2);
    b.handlers.setCheck3(nernst ? 1 : 0);
    b.text(cat::Text2Concentration, c);
}

double copperOf(const Bench& b, int h) {
    const State& s = b.engine.state();
    return (h == 1 ? s.ions1 : s.ions2) + s.masseMetal[std::size_t(h)][1] / cat::masseCu;
}

} // namespace

// Potentials that follow the concentrations, and the cells they make
// possible.
class NernstTest : public QObject {
    Q_OBJECT

private slots:
    // The expected values are worked out by hand from E = E° + (0,05916/n)
    // log10 c, for the concentrations the boxes give (aluminium sulfate
    // holds two cations per formula unit), and the floor 1E-06 mol/L for a
    // species the solution does not hold yet.
    void pilePotentials_data() {
        QTest::addColumn<int>("nature");
        QTest::addColumn<QString>("c");
        QTest::addColumn<double>("expected");
        QTest::newRow("copper 1") << pileCu << "1" << 0.34;
        QTest::newRow("copper 0,01") << pileCu << "0,01" << 0.28084;
        QTest::newRow("copper 1E-05") << pileCu << "0,00001" << 0.19210;
        QTest::newRow("zinc 0,001") << pileZn << "0,001" << -0.84874;
        QTest::newRow("zinc 0,1") << pileZn << "0,1" << -0.78958;
        QTest::newRow("iron 0,01") << pileFe << "0,01" << -0.49916;
        QTest::newRow("aluminium 0,05: 0,1 mol/L of Al3+") << pileAl << "0,05" << -1.68972;
        QTest::newRow("aluminium 0,5: 1 mol/L of Al3+") << pileAl << "0,5" << -1.67;
    }
    void pilePotentials() {
        QFETCH(int, nature);
        QFETCH(QString, c);
        QFETCH(double, expected);
        Bench b;
        const QByteArray text = c.toLatin1();
        pile(b, nature, text.constData(), nature, "1", true);
        QVERIFY(!b.s().natInvalide);
        QVERIFY2(std::fabs(double(b.s().e01) - expected) < 2e-5,
                 qPrintable(QString::number(double(b.s().e01), 'f', 6)));
        // Without the option the standard value stays, whatever the
        // concentration.
        Bench off;
        pile(off, nature, text.constData(), nature, text.constData(), false);
        QCOMPARE(off.s().e01, cat::halfCellMetals[std::size_t(nature)].e0);
    }

    // The couples of the electrolysis at the reset: the cathode's and the
    // anode's, by hand as above; hydrogen ions (-0,2 V) and water (1,43 V)
    // keep their values.
    void electrolysisPotentials_data() {
        QTest::addColumn<int>("electrolyte");
        QTest::addColumn<QString>("c");
        QTest::addColumn<int>("nature1");
        QTest::addColumn<int>("nature2");
        QTest::addColumn<double>("e01");
        QTest::addColumn<double>("e02");
        QTest::newRow("copper sulfate 0,1, water")
            << sulfateCuivre << "0,1" << elecGraphite << elecGraphite << 0.31042 << 1.43;
        QTest::newRow("copper chloride 0,05: 0,1 mol/L of Cl-")
            << chlorureCuivre << "0,05" << elecGraphite << elecGraphite << 0.301514 << 1.41916;
        QTest::newRow("iron(III) 0,01 over no iron(II): 0,02 / 1E-06")
            << sulfateFer3 << "0,01" << elecGraphite << elecGraphite << 1.02445 << 1.43;
        QTest::newRow("hydrochloric acid 0,1")
            << acideChlorhydrique << "0,1" << elecGraphite << elecGraphite << -0.2 << 1.41916;
        QTest::newRow("salt water, copper anode over no Cu2+")
            << chlorureSodium << "0,01" << elecGraphite << elecCu << -0.2 << 0.16252;
        QTest::newRow("salt water, zinc anode over no Zn2+")
            << chlorureSodium << "0,01" << elecGraphite << elecZn << -0.2 << -0.93748;
        QTest::newRow("salt water 1E-05, chloride")
            << chlorureSodium << "0,00001" << elecGraphite << elecGraphite << -0.2 << 1.65580;
    }
    void electrolysisPotentials() {
        QFETCH(int, electrolyte);
        QFETCH(QString, c);
        QFETCH(int, nature1);
        QFETCH(int, nature2);
        QFETCH(double, e01);
        QFETCH(double, e02);
        Bench b;
        const QByteArray text = c.toLatin1();
        electrolysis(b, electrolyte, text.constData(), nature1, nature2, true);
        QVERIFY(!b.s().natInvalide);
        QVERIFY2(std::fabs(double(b.s().e01) - e01) < 2e-5,
                 qPrintable(QString::number(double(b.s().e01), 'f', 6)));
        QVERIFY2(std::fabs(double(b.s().e02) - e02) < 2e-5,
                 qPrintable(QString::number(double(b.s().e02), 'f', 6)));
    }

    // The relation itself, at the floor and beyond it.
    void floor_data() {
        QTest::addColumn<double>("amountMol");
        QTest::addColumn<double>("volumeMl");
        QTest::addColumn<double>("activity");
        QTest::newRow("0,002 mol in 200 mL") << 0.002 << 200.0 << 0.01;
        QTest::newRow("nothing") << 0.0 << 200.0 << 1e-6;
        QTest::newRow("below the floor") << 1e-12 << 200.0 << 1e-6;
        QTest::newRow("a negative amount") << -1.0 << 200.0 << 1e-6;
        QTest::newRow("no volume") << 1.0 << 0.0 << 1e-6;
        QTest::newRow("not a number") << std::nan("") << 200.0 << 1e-6;
    }
    void floor() {
        QFETCH(double, amountMol);
        QFETCH(double, volumeMl);
        QFETCH(double, activity);
        const double a = nernst::activity(amountMol, volumeMl);
        QVERIFY(std::fabs(a - activity) <= 1e-12 * activity);
        QVERIFY(std::isfinite(nernst::metalPotential(0.34, 2, a)));
        QVERIFY(std::isfinite(nernst::ironPotential(a, a)));
        QVERIFY(std::isfinite(nernst::chlorinePotential(a)));
    }

    // The initial voltage of cells, from the couples' difference:
    // copper 0,01 | 1 gives (0,05916 / 2) × 2; zinc 0,001 | copper 1 gives
    // 1,10 + (0,05916 / 2) × 3.
    void initialDelta_data() {
        QTest::addColumn<int>("nature1");
        QTest::addColumn<QString>("c1");
        QTest::addColumn<int>("nature2");
        QTest::addColumn<QString>("c2");
        QTest::addColumn<double>("delta");
        QTest::addColumn<int>("sens");
        QTest::newRow("copper concentration cell")
            << pileCu << "0,01" << pileCu << "1" << 0.05916 << 1;
        QTest::newRow("the same, dilute on the right")
            << pileCu << "1" << pileCu << "0,01" << -0.05916 << -1;
        QTest::newRow("zinc-copper 1 | 1") << pileZn << "1" << pileCu << "1" << 1.10 << 1;
        QTest::newRow("zinc-copper 0,001 | 1")
            << pileZn << "0,001" << pileCu << "1" << 1.18874 << 1;
        QTest::newRow("copper-zinc 1 | 0,001")
            << pileCu << "1" << pileZn << "0,001" << -1.18874 << -1;
    }
    void initialDelta() {
        QFETCH(int, nature1);
        QFETCH(QString, c1);
        QFETCH(int, nature2);
        QFETCH(QString, c2);
        QFETCH(double, delta);
        QFETCH(int, sens);
        Bench b;
        const QByteArray t1 = c1.toLatin1();
        const QByteArray t2 = c2.toLatin1();
        pile(b, nature1, t1.constData(), nature2, t2.constData(), true);
        QVERIFY(!b.s().natInvalide);
        const double d = double(b.s().e02) - double(b.s().e01);
        QVERIFY2(std::fabs(d - delta) < 1e-4, qPrintable(QString::number(d, 'f', 6)));
        // The dilute side, or the more reducing metal, is the anode.
        QCOMPARE(b.engine.direction(), sens);
        // The voltage shown at the reset is the cell's, across the resistor.
        QVERIFY(b.s().intensite > 0.0F);
        QVERIFY(std::fabs(b.s().tensionAffichee) < std::fabs(delta));
    }

    // With both concentrations at 1 mol/L the option changes nothing in a
    // zinc-copper cell: the same current, step after step.
    void standardConcentrationsMatch() {
        Bench on;
        Bench off;
        pile(on, pileZn, "1", pileCu, "1", true);
        pile(off, pileZn, "1", pileCu, "1", false);
        for (Bench* b : {&on, &off}) {
            b->p().Timer1 = true;
            b->engine.setStepsPerTickOverride(1);
        }
        for (int tick = 0; tick < 50; ++tick) {
            on.engine.Timer1_Timer();
            off.engine.Timer1_Timer();
            QVERIFY(std::fabs(on.s().intensite - off.s().intensite) <= 1e-5F * off.s().intensite);
        }
        QCOMPARE(on.s().tempsSec, off.s().tempsSec);
    }

    // Copper at 0,01 | 1 mol/L: the current falls as the concentrations even
    // out, and no copper is made or lost on either side.
    void concentrationCellWearsOut() {
        Bench b;
        pile(b, pileCu, "0,01", pileCu, "1", true);
        b.text(cat::Text2Resistance, "5");
        b.text(cat::Text2VolumeG, "80");
        b.text(cat::Text2VolumeD, "80");
        QVERIFY(!b.s().natInvalide);
        const double copper1 = copperOf(b, 1);
        const double copper2 = copperOf(b, 2);
        b.p().Timer1 = true;
        b.engine.setStepsPerTickOverride(2000);
        float current = b.s().intensite;
        double gap = b.s().ions2 - b.s().ions1;
        const float first = current;
        QVERIFY(first > 0.0F);
        for (int tick = 0; tick < 100; ++tick) {
            b.engine.Timer1_Timer();
            QVERIFY2(b.s().intensite <= current, qPrintable(QString::number(tick)));
            const double newGap = b.s().ions2 - b.s().ions1;
            QVERIFY(newGap < gap);
            QVERIFY(newGap > 0.0);
            current = b.s().intensite;
            gap = newGap;
            // Each half-cell keeps its copper: what leaves the electrode
            // enters the solution, and the other way round.
            QVERIFY(std::fabs(copperOf(b, 1) - copper1) < 1e-9 * copper1);
            QVERIFY(std::fabs(copperOf(b, 2) - copper2) < 1e-9 * copper2);
        }
        QVERIFY(current < 0.9F * first);
        QCOMPARE(b.engine.direction(), 1);
    }

    // Once the current falls below a microampere the cell is spent: the
    // clock stops and stays. Copper at 0,001 | 0,00103 mol/L through 5 Ω,
    // 80 mL and 100 g electrodes starts at about 1,6 µA.
    void spentCellStopsTheClock() {
        Bench b;
        pile(b, pileCu, "0,001", pileCu, "0,00103", true);
        b.text(cat::Text2Resistance, "5");
        b.text(cat::Text2VolumeG, "80");
        b.text(cat::Text2VolumeD, "80");
        b.text(cat::Text2MasseG, "100");
        b.text(cat::Text2MasseD, "100");
        QVERIFY(b.s().intensite >= 1e-6F);
        QVERIFY(b.s().intensite < 2e-6F);
        b.p().Timer1 = true;
        b.engine.setStepsPerTickOverride(5000);
        std::int32_t before = -1;
        for (int tick = 0; tick < 400 && b.s().tempsSec != before; ++tick) {
            before = b.s().tempsSec;
            b.engine.Timer1_Timer();
        }
        QCOMPARE(b.s().tempsSec, before);
        QVERIFY(b.s().tempsSec > 0);
        QCOMPARE(b.s().intensite, 0.0F);
        b.engine.Timer1_Timer();
        QCOMPARE(b.s().tempsSec, before);
    }

    // Equal concentrations of the same metal: accepted, with no current.
    void equalConcentrationsGiveNoCurrent_data() {
        QTest::addColumn<QString>("c2");
        QTest::newRow("the same text") << "0,01";
        QTest::newRow("another text of the same value") << "0,010";
        QTest::newRow("a difference below a microampere") << "0,0100001";
    }
    void equalConcentrationsGiveNoCurrent() {
        QFETCH(QString, c2);
        Bench b;
        const QByteArray t2 = c2.toLatin1();
        pile(b, pileCu, "0,01", pileCu, t2.constData(), true);
        QVERIFY(!b.s().natInvalide);
        QCOMPARE(b.s().intensite, 0.0F);
        b.p().Timer1 = true;
        b.engine.Timer1_Timer();
        QCOMPARE(b.s().tempsSec, 0);
    }

    // The back-voltage of a copper sulfate electrolysis at 0,01 mol/L under
    // 2,5 V: 1,43 - 0,34 = 1,09 V without the option, 1,43 - 0,28084 =
    // 1,14916 V with it, so the current is in the ratio 1,35084 / 1,41.
    void backVoltage() {
        Bench on;
        Bench off;
        electrolysis(on, sulfateCuivre, "0,01", elecGraphite, elecGraphite, true);
        electrolysis(off, sulfateCuivre, "0,01", elecGraphite, elecGraphite, false);
        QVERIFY(off.s().intensite > 0.0F);
        const double ratio = double(on.s().intensite) / double(off.s().intensite);
        QVERIFY2(std::fabs(ratio - 1.35084 / 1.41) < 1e-5, qPrintable(QString::number(ratio)));
        // The potential follows the copper left in the 500 mL, step after
        // step, and the water's stays.
        on.p().Timer1 = true;
        on.engine.setStepsPerTickOverride(200);
        for (int tick = 0; tick < 5; ++tick) {
            on.engine.Timer1_Timer();
            const double cu = 1000.0 * on.s().quantite[cat::cuivre2] / 500.0;
            QVERIFY(cu < 0.01);
            QVERIFY(std::fabs(double(on.s().e01) - (0.34 + 0.02958 * std::log10(cu))) < 2e-6);
            QCOMPARE(on.s().e02, 1.43F);
        }
    }

    // The record of the curves follows the potentials when the option is
    // on, and its rows write them at the end; without it, neither.
    void recordedPotentials_data() {
        QTest::addColumn<bool>("nernst");
        QTest::newRow("on") << true;
        QTest::newRow("off") << false;
    }
    void recordedPotentials() {
        QFETCH(bool, nernst);
        Bench b;
        pile(b, pileZn, "0,001", pileCu, "1", nernst);
        Recorder record(b.engine);
        b.engine.setStepObserver(&record);
        b.p().Timer1 = true;
        b.engine.setStepsPerTickOverride(100);
        for (int tick = 0; tick < 10; ++tick) {
            b.engine.Timer1_Timer();
        }
        QVERIFY(!record.empty());
        QCOMPARE(record.run().potentials, nernst);
        QStringList ids;
        for (const Quantity& q : quantitiesOf(record, true)) {
            ids << QString::fromStdString(q.id);
        }
        QCOMPARE(ids.contains("EG"), nernst);
        QCOMPARE(ids.contains("ED"), nernst);
        QCOMPARE(quantitiesFor("EG", record).size(), std::size_t(nernst ? 1 : 0));
        const Recorder::Bucket& last = record.buckets().back();
        if (nernst) {
            // Zinc at 0,001 mol/L at first: -0,76 - 0,0887 V; copper at 1.
            const Recorder::Bucket& first = record.buckets().front();
            QVERIFY(std::fabs(Recorder::value(first, channel::potentielG) + 0.84874) < 1e-4);
            QVERIFY(std::fabs(Recorder::value(first, channel::potentielD) - 0.34) < 1e-4);
            QCOMPARE(Recorder::value(last, channel::potentielG), double(b.s().e01));
        }
        std::string csv = csvHeader(CsvDialect::Standard, record.run().potentials);
        appendCsvRow(csv, last.first, CsvDialect::Standard);
        const QStringList lines = QString::fromStdString(csv).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].endsWith(",E_G_V,E_D_V"), nernst);
        QCOMPARE(lines[0].count(','), nernst ? 21 : 19);
        QCOMPARE(lines[1].count(','), lines[0].count(','));
    }
};

QTEST_APPLESS_MAIN(NernstTest)
#include "NernstTest.moc"
