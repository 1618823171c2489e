// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Chemistry.h"
#include "SimBench.h"
#include "sim/Catalogue.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "sim/Reactions.h"

#include <QtTest>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

using Ionaria::sim::catalogue::Montage;

using namespace Ionaria::sim;

namespace {

using testing::Bench;
using testing::faradayConstant;
using testing::near;
namespace cat = Ionaria::sim::catalogue;

} // namespace

// The chemistry of a step: the reaction at each electrode, Faraday's law, and
// what happens when a reactant or an electrode runs out.
class ChemistryTest : public QObject {
    Q_OBJECT

private slots:
    void reactionChoice_data() {
        QTest::addColumn<double>("fe3");
        QTest::addColumn<double>("cu2");
        QTest::addColumn<double>("chloride");
        QTest::addColumn<QList<double>>("anode"); // masses of natures 0 to 4
        QTest::addColumn<int>("code1");
        QTest::addColumn<int>("code2");
        QTest::addColumn<int>("nbe2");
        QTest::addColumn<float>("e02");
        const QList<double> graphite{0, 0, 0, 10, 0};
        QTest::newRow("iron(III) before copper(II)")
            << 1e-3 << 1e-3 << 0.0 << graphite << 6 << 11 << 2 << 1.43F;
        QTest::newRow("tiny iron(III) still first")
            << 1e-12 << 0.0 << 0.0 << graphite << 6 << 11 << 2 << 1.43F;
        QTest::newRow("copper at the threshold")
            << 0.0 << 0.000001 << 0.0 << graphite << 3 << 11 << 2 << 1.43F;
        QTest::newRow("copper above it")
            << 0.0 << 0.0000011 << 0.0 << graphite << 10 << 11 << 2 << 1.43F;
        QTest::newRow("chloride on graphite")
            << 0.0 << 0.0 << 1e-3 << graphite << 3 << 1 << 1 << 1.36F;
        QTest::newRow("aluminium first")
            << 0.0 << 0.0 << 1e-3 << QList<double>{1, 1, 1, 0, 1} << 3 << 13 << 3 << -1.67F;
        QTest::newRow("zinc before iron")
            << 0.0 << 0.0 << 0.0 << QList<double>{0, 1, 1, 0, 1} << 3 << 16 << 2 << -0.76F;
        QTest::newRow("iron before copper")
            << 0.0 << 0.0 << 0.0 << QList<double>{0, 1, 1, 0, 0} << 3 << 15 << 2 << -0.44F;
        QTest::newRow("copper anode")
            << 0.0 << 0.0 << 1e-3 << QList<double>{0, 1, 0, 0, 0} << 3 << 14 << 2 << 0.34F;
        QTest::newRow("used-up anode")
            << 0.0 << 0.0 << 0.0 << QList<double>{0, 0, 0, 0, 0} << 3 << 11 << 2 << 1.43F;
    }

    void reactionChoice() {
        QFETCH(double, fe3);
        QFETCH(double, cu2);
        QFETCH(double, chloride);
        QFETCH(QList<double>, anode);
        QFETCH(int, code1);
        QFETCH(int, code2);
        QFETCH(int, nbe2);
        QFETCH(float, e02);
        Bench b;
        auto& s = b.s();
        s.quantite.fill(0.0);
        s.quantite[6] = fe3;
        s.quantite[10] = cu2;
        s.quantite[1] = chloride;
        for (int m = 0; m < 5; ++m) {
            s.masseMetal[2][std::size_t(m)] = anode[m];
        }
        s.espece = {0, std::int16_t(code1), std::int16_t(code2)};
        s.cptDessin = 5;
        b.engine.quielectrolyse();
        QCOMPARE(int(s.espece[1]), code1);
        QCOMPARE(int(s.espece[2]), code2);
        QCOMPARE(int(s.nbe2), nbe2);
        QCOMPARE(s.e02, e02);
        QCOMPARE(int(s.cptDessin), 5); // unchanged codes ask for no redraw
        s.espece[1] = 0;
        b.engine.quielectrolyse();
        QCOMPARE(s.cptDessin, redrawCounterLimit);
    }

    // One step of Faraday's law, for each reaction code.
    void faraday_data() {
        QTest::addColumn<int>("electrolyte");
        QTest::addColumn<int>("nature1");
        QTest::addColumn<int>("nature2");
        QTest::addColumn<int>("code1");
        QTest::addColumn<int>("code2");
        // Per mol of electrons: change of species 1..10, then of masses (electrode, nature).
        QTest::addColumn<QList<double>>("perMol");
        QTest::addColumn<QList<double>>(
            "massPerMol"); // electrode 1 nature n1, electrode 2 nature n2
        QTest::newRow("Cu2+ reduced, water oxidised into H+")
            << 6 << 3 << 3 << 10 << 11 << QList<double>{0, 0, 1, 0, 0, 0, 0, 0, 0, -0.5}
            << QList<double>{63.5 / 2, 0};
        QTest::newRow("water reduced into HO-, Cl- oxidised")
            << 4 << 3 << 3 << 3 << 1 << QList<double>{-1, 0, 0, 1, 0, 0, 0, 0, 0, 0}
            << QList<double>{0, 0};
        QTest::newRow("H+ reduced, Cl- oxidised")
            << 0 << 3 << 3 << 3 << 1 << QList<double>{-1, 0, -1, 0, 0, 0, 0, 0, 0, 0}
            << QList<double>{0, 0};
        QTest::newRow("H+ reduced, water oxidised into H+")
            << 1 << 3 << 3 << 3 << 11 << QList<double>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}
            << QList<double>{0, 0};
        QTest::newRow("Fe3+ reduced")
            << 8 << 3 << 3 << 6 << 11 << QList<double>{0, 0, 1, 0, 1, -1, 0, 0, 0, 0}
            << QList<double>{0, 0};
        QTest::newRow("aluminium anode")
            << 4 << 3 << 0 << 3 << 13 << QList<double>{0, 0, 0, 1, 0, 0, 0, 0, 1.0 / 3, 0}
            << QList<double>{0, -27.0 / 3};
        QTest::newRow("zinc anode")
            << 9 << 3 << 4 << 3 << 16 << QList<double>{0, 0, 0, 1, 0, 0, 0, 0.5, 0, 0}
            << QList<double>{0, -65.4 / 2};
        QTest::newRow("iron anode")
            << 4 << 3 << 2 << 3 << 15 << QList<double>{0, 0, 0, 1, 0.5, 0, 0, 0, 0, 0}
            << QList<double>{0, -55.8 / 2};
        QTest::newRow("copper anode on copper sulfate")
            << 6 << 3 << 1 << 10 << 14 << QList<double>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}
            << QList<double>{63.5 / 2, -63.5 / 2};
    }

    void faraday() {
        QFETCH(int, electrolyte);
        QFETCH(int, nature1);
        QFETCH(int, nature2);
        QFETCH(int, code1);
        QFETCH(int, code2);
        QFETCH(QList<double>, perMol);
        QFETCH(QList<double>, massPerMol);
        Bench b;
        b.electrolysis(Montage::Courant, electrolyte, nature1, nature2);
        QVERIFY(!b.s().natInvalide);
        b.handlers.setUpDown2(25);
        b.s().tempsSec = 5;
        const auto before = b.s().quantite;
        const double m1 = b.s().masseMetal[1][std::size_t(nature1)];
        const double m2 = b.s().masseMetal[2][std::size_t(nature2)];
        int sens = -1;
        b.engine.variations(sens);
        QCOMPARE(int(b.s().espece[1]), code1);
        QCOMPARE(int(b.s().espece[2]), code2);
        const double x = static_cast<double>(0.25F) / faradayConstant;
        for (int i = 1; i <= 10; ++i) {
            const double expected = before[std::size_t(i)] + perMol[i - 1] * x;
            QVERIFY2(near(b.s().quantite[std::size_t(i)], expected, 1e-12),
                     qPrintable(QString("species %1").arg(i)));
        }
        const double copperDeposit = code1 == 10 && nature1 != 1 ? x * 63.5 / 2 : 0.0;
        QVERIFY(near(b.s().masseMetal[1][std::size_t(nature1)],
                     m1 + (nature1 == 1 ? massPerMol[0] * x : 0.0), 1e-12));
        QVERIFY(near(b.s().masseMetal[1][1],
                     (nature1 == 1 ? m1 + massPerMol[0] * x : copperDeposit), 1e-12));
        QVERIFY(near(b.s().masseMetal[2][std::size_t(nature2)], m2 + massPerMol[1] * x, 1e-12));
        QCOMPARE(b.s().tempsSec, 6);
    }

    // Half an hour at 0.25 A in 200 mL at 0.1 mol/L: n = I t / F mol of
    // electrons. H+ and HO- as the half-equations make and use them, and the
    // pH from whichever is left.
    void waterIons_data() {
        QTest::addColumn<int>("electrolyte");
        QTest::addColumn<QString>("concentration");
        // Ions per formula unit at the start, and mol per mol of electrons.
        QTest::addColumn<QList<double>>("hydrogen");
        QTest::addColumn<QList<double>>("hydroxide");
        QTest::newRow("copper sulfate: H+ = n")
            << 6 << "0,1" << QList<double>{0, 1} << QList<double>{0, 0};
        QTest::newRow("sodium chloride: HO- = n")
            << 4 << "0,1" << QList<double>{0, 0} << QList<double>{0, 1};
        QTest::newRow("hydrochloric acid: H+ falls with Cl-")
            << 0 << "0,1" << QList<double>{1, -1} << QList<double>{0, 0};
        QTest::newRow("sulfuric acid: H+ stays")
            << 1 << "0,1" << QList<double>{2, 0} << QList<double>{0, 0};
        // The chloride runs out within a minute and a half; the HO- then
        // oxidised at the anode are those the cathode makes.
        QTest::newRow("sodium chloride, chloride used up")
            << 4 << "0,001" << QList<double>{1, 0} << QList<double>{0, 0};
    }

    void waterIons() {
        QFETCH(int, electrolyte);
        QFETCH(QString, concentration);
        QFETCH(QList<double>, hydrogen);
        QFETCH(QList<double>, hydroxide);
        Bench b;
        b.electrolysis(Montage::Courant, electrolyte, 3, 3);
        b.text(cat::Text2Concentration, qPrintable(concentration));
        b.text(cat::Text2Volume, "200");
        b.handlers.setUpDown2(25);
        constexpr int seconds = 1800;
        // The first step converts nothing.
        for (int k = 0; k <= seconds; ++k) {
            int sens = -1;
            b.engine.variations(sens);
        }
        QCOMPARE(b.s().tempsSec, seconds + 1);
        const double n = 0.25 * seconds / faradayConstant;
        // The amounts the reset puts in 200 mL, in single precision as it does.
        const auto initial = [&b](double perFormula) {
            return double(float(perFormula) * b.p().Text2[cat::Text2Concentration].value() *
                          200.0F / 1000.0F);
        };
        double h = initial(hydrogen[0]) + hydrogen[1] * n;
        double ho = initial(hydroxide[0]) + hydroxide[1] * n;
        if (electrolyte == 4 && concentration == "0,001") {
            // The charge the chloride carried, now held by HO-.
            ho = h;
            h = 0.0;
        }
        QVERIFY2(near(b.s().quantite[cat::hydrogene], h, 1e-9),
                 qPrintable(QString::number(b.s().quantite[cat::hydrogene], 'g', 12)));
        QVERIFY2(near(b.s().quantite[cat::hydroxyde], ho, 1e-9),
                 qPrintable(QString::number(b.s().quantite[cat::hydroxyde], 'g', 12)));
        const double expectedPH = h > ho ? -std::log10(h / 0.2) : 14.0 + std::log10(ho / 0.2);
        QVERIFY2(std::fabs(pH(b.s(), 200.0) - expectedPH) < 1e-6,
                 qPrintable(QString::number(pH(b.s(), 200.0), 'g', 12)));
    }

    void neutralWaterHasPH7() {
        State s;
        QCOMPARE(pH(s, 200.0), 7.0);
        s.quantite[cat::hydrogene] = 1e-3;
        s.quantite[cat::hydroxyde] = 1e-3;
        QCOMPARE(pH(s, 200.0), 7.0);
        // Far below water's own ions, an acid hardly moves the pH.
        s.quantite[cat::hydroxyde] = 0.0;
        s.quantite[cat::hydrogene] = 2e-11;
        QVERIFY(pH(s, 200.0) < 7.0 && pH(s, 200.0) > 6.99);
    }

    // The half-equation shown follows what water does: H+ reduced while
    // there is some, water once there is none; HO- oxidised while there is
    // some.
    void waterHalfEquations_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("electrode");
        QTest::addColumn<double>("hydrogen");
        QTest::addColumn<double>("hydroxide");
        QTest::addColumn<int>("shown");
        QTest::newRow("H+ present") << 3 << 1 << 1e-3 << 0.0 << 3;
        QTest::newRow("no H+") << 3 << 1 << 0.0 << 1e-3 << 12;
        QTest::newRow("HO- present") << 11 << 2 << 0.0 << 1e-3 << 4;
        QTest::newRow("no HO-") << 11 << 2 << 1e-3 << 0.0 << 11;
        QTest::newRow("chloride") << 1 << 2 << 0.0 << 1e-3 << 1;
    }

    void waterHalfEquations() {
        QFETCH(int, code);
        QFETCH(int, electrode);
        QFETCH(double, hydrogen);
        QFETCH(double, hydroxide);
        QFETCH(int, shown);
        State s;
        s.espece[std::size_t(electrode)] = std::int16_t(code);
        s.quantite[cat::hydrogene] = hydrogen;
        s.quantite[cat::hydroxyde] = hydroxide;
        QCOMPARE(halfEquationNumber(s, electrode), shown);
    }

    // Zinc sulfate between graphite electrodes, 0.25 A for an hour: with
    // hydrogen's overpotential, M I t / 2F = 0.305 g of zinc on the cathode;
    // without, water is reduced and no zinc forms.
    void zincSulfateWithOverpotential_data() {
        QTest::addColumn<int>("check4");
        QTest::addColumn<int>("code1");
        QTest::addColumn<double>("zinc"); // g on the cathode after an hour
        QTest::newRow("with") << 1 << 8 << 65.4 * 0.25 * 3600 / (2 * faradayConstant);
        QTest::newRow("without") << 0 << 3 << 0.0;
    }

    void zincSulfateWithOverpotential() {
        QFETCH(int, check4);
        QFETCH(int, code1);
        QFETCH(double, zinc);
        Bench b;
        b.electrolysis(Montage::Courant, 9, 3, 3);
        b.text(cat::Text2Concentration, "0,1");
        b.text(cat::Text2Volume, "200");
        b.handlers.setUpDown2(25);
        b.handlers.setCheck4(check4);
        QVERIFY(!b.s().natInvalide);
        for (int k = 0; k <= 3600; ++k) {
            int sens = -1;
            b.engine.variations(sens);
        }
        QCOMPARE(int(b.s().espece[1]), code1);
        QVERIFY(near(b.s().masseMetal[1][4], zinc, 1e-9));
        QCOMPARE(QString::number(b.s().masseMetal[1][4], 'f', 3),
                 QString(check4 == 1 ? "0.305" : "0.000"));
        // The anode makes one H+ per electron either way.
        const double n = 0.25 * 3600 / faradayConstant;
        QVERIFY(near(b.s().quantite[cat::hydrogene], check4 == 1 ? n : 0.0, 1e-9));
        QVERIFY(near(b.s().quantite[cat::hydroxyde], 0.0, 1e-9));
    }

    void firstStepConvertsNothing() {
        Bench b;
        b.electrolysis(Montage::Courant, 6, 3, 3);
        const double copper = b.s().quantite[10];
        int sens = -1;
        b.engine.variations(sens); // tempsSec is 0 after the reset
        QCOMPARE(b.s().quantite[10], copper);
        QCOMPARE(b.s().tempsSec, 1);
    }

    void copperRunsOut() {
        Bench b;
        b.electrolysis(Montage::Courant, 6, 3, 3);
        b.text(cat::Text2Concentration, "0,00001");
        b.text(cat::Text2Volume, "200");
        b.handlers.setUpDown2(25);
        QCOMPARE(int(b.s().espece[1]), 10);
        b.p().Timer1 = true;
        int steps = 0;
        while (b.s().espece[1] == 10 && steps < 100) {
            int sens = -1;
            b.engine.variations(sens);
            ++steps;
        }
        QCOMPARE(int(b.s().espece[1]), 3);
        QVERIFY(b.s().quantite[10] <= 0.000001);
        QVERIFY(b.s().quantite[10] >= 0.0);
        QCOMPARE(b.s().cptDessin, redrawCounterLimit);
        // The copper deposited is what the ions lost.
        QVERIFY(near(b.s().masseMetal[1][1], (2e-6 - b.s().quantite[10]) * 63.5, 1e-3));
    }

    void zincAnodeIsUsedUp() {
        Bench b;
        b.electrolysis(Montage::Courant, 9, 3, 4);
        b.text(cat::Text2MasseD, "1");
        b.handlers.setUpDown2(25);
        QCOMPARE(int(b.s().espece[2]), 16);
        b.p().Timer1 = true;
        b.handlers.setHScroll2(39);
        for (int i = 0; i < 400 && b.s().espece[2] == 16; ++i) {
            int sens = -1;
            b.engine.variations(sens);
        }
        QCOMPARE(int(b.s().espece[2]), 11);
        QCOMPARE(b.s().masseMetal[2][4], 0.0);
        // 1 g of zinc carries 2 x 1 / 65.4 mol of electrons at 0.25 A.
        const double seconds = 2.0 / 65.4 * faradayConstant / static_cast<double>(0.25F);
        QVERIFY(std::fabs(b.s().tempsSec - seconds) < 40.0);
    }

    // The step in which a reactant runs out converts only what it held.
    void lastOfAReactant_data() {
        QTest::addColumn<Montage>("montage");
        QTest::addColumn<int>("electrolyte");
        QTest::addColumn<int>("nature1");
        QTest::addColumn<int>("nature2");
        QTest::addColumn<QStringList>("texts"); // box=value
        QTest::addColumn<int>("gone");          // species number, or 0: the metal of electrode 2
        QTest::newRow("iron(III), 1E-05 mol/L, 250 mA")
            << Montage::Courant << 8 << 3 << 3 << QStringList{"0=0,00001", "1=200"} << 6;
        QTest::newRow("chloride oxidised to the last ion")
            << Montage::Courant << 4 << 3 << 3 << QStringList{"0=0,00001", "1=200"} << 1;
        QTest::newRow("aluminium anode used up")
            << Montage::Courant << 4 << 3 << 0 << QStringList{"3=1", "0=1"} << 0;
        QTest::newRow("iron anode used up")
            << Montage::Courant << 4 << 3 << 2 << QStringList{"3=1", "0=1"} << 0;
        QTest::newRow("copper(II) of a cell runs dry")
            << Montage::Pile << 0 << 3 << 1 << QStringList{"7=0,00001", "8=80", "5=1"} << 10;
    }

    void lastOfAReactant() {
        QFETCH(Montage, montage);
        QFETCH(int, electrolyte);
        QFETCH(int, nature1);
        QFETCH(int, nature2);
        QFETCH(QStringList, texts);
        QFETCH(int, gone);
        Bench b;
        if (montage == Montage::Pile) {
            b.handlers.selectOption2(Montage::Pile);
            b.handlers.selectCombo2(0, nature1);
            b.handlers.selectCombo2(1, nature2);
        } else {
            b.electrolysis(montage, electrolyte, nature1, nature2);
        }
        for (const QString& t : texts) {
            b.text(t.section('=', 0, 0).toInt(), t.section('=', 1).toUtf8().constData());
        }
        b.handlers.setUpDown2(25);
        QVERIFY(!b.s().natInvalide);
        const State start = b.s();
        const State& s = b.s();
        const auto remaining = [&s, gone, montage, nature2] {
            if (montage == Montage::Pile) {
                return s.ions2;
            }
            return gone > 0 ? s.quantite[std::size_t(gone)] : s.masseMetal[2][std::size_t(nature2)];
        };
        b.handlers.setHScroll2(39);
        b.p().Timer1 = true;
        for (int tick = 0; tick < 5000 && remaining() > 0.0; ++tick) {
            b.engine.Timer1_Timer();
        }
        QCOMPARE(remaining(), 0.0);
        QCOMPARE(s.cptDessin, redrawCounterLimit);
        const auto& q = s.quantite;
        const auto& q0 = start.quantite;
        const auto& m = s.masseMetal;
        const auto& m0 = start.masseMetal;
        for (std::size_t i = 1; i <= 10; ++i) {
            QVERIFY(q[i] >= 0.0);
        }
        if (montage == Montage::Pile) {
            // Zinc on the left dissolves, copper(II) on the right is reduced:
            // no more copper is deposited than the solution held.
            const double zincLost = (m0[1][3] - m[1][3]) / 65.4;
            const double copperGained = (m[2][1] - m0[2][1]) / 63.5;
            QVERIFY(near(copperGained, start.ions2, 1e-9));
            QVERIFY(near(zincLost, s.ions1 - start.ions1, 1e-9));
            QVERIFY(near(zincLost, copperGained, 1e-9));
            QCOMPARE(s.intensite, 0.0F);
        } else {
            // Iron(III) becomes as much iron(II), no more; the metal of the
            // anode goes into the solution.
            QVERIFY(near(q[5] + q[6], q0[5] + q0[6] + (m0[2][2] - m[2][2]) / 55.8, 1e-12));
            QVERIFY(near(q[9], q0[9] + (m0[2][0] - m[2][0]) / 27.0, 1e-12));
            QVERIFY(q[1] <= q0[1]);
        }
    }

    // With the anode used up, the current stops, whatever the generator, and
    // the voltage shown is that without current.
    void usedUpAnodeStopsTheCurrent_data() {
        QTest::addColumn<Montage>("montage");
        QTest::addColumn<int>("electrolyte");
        QTest::addColumn<int>("nature1");
        QTest::addColumn<int>("nature2");
        QTest::newRow("current generator, copper anode") << Montage::Courant << 6 << 3 << 1;
        QTest::newRow("current generator, zinc anode") << Montage::Courant << 9 << 3 << 4;
        QTest::newRow("voltage generator, zinc anode") << Montage::Tension << 9 << 3 << 4;
    }

    void usedUpAnodeStopsTheCurrent() {
        QFETCH(Montage, montage);
        QFETCH(int, electrolyte);
        QFETCH(int, nature1);
        QFETCH(int, nature2);
        Bench b;
        b.electrolysis(montage, electrolyte, nature1, nature2);
        b.text(cat::Text2Concentration, "0,1");
        b.handlers.setUpDown1(100);
        b.text(cat::Text2MasseD, "1");
        b.handlers.setUpDown2(25);
        QVERIFY(!b.s().natInvalide);
        b.handlers.setHScroll2(39);
        b.engine.Command5_Click();
        const auto anode = [&b] { return b.engine.masseElectrode(2); };
        for (int tick = 0; tick < 20000 && anode() > 0.0; ++tick) {
            b.engine.Timer1_Timer();
        }
        QVERIFY(anode() == 0.0);
        b.engine.Timer1_Timer();
        const State used = b.s();
        for (int tick = 0; tick < 20; ++tick) {
            b.engine.Timer1_Timer();
        }
        // Nothing moves any more: the clock and the matter stand still.
        QCOMPARE(b.s().tempsSec, used.tempsSec);
        QVERIFY(b.s().masseMetal == used.masseMetal);
        QVERIFY(b.s().quantite == used.quantite);
        QCOMPARE(b.s().ions1, used.ions1);
        QCOMPARE(b.s().intensite, 0.0F);
        QCOMPARE(b.p().Labelint(), std::string("0,0 mA"));
        // The voltage generator's own voltage, or the current generator's
        // threshold.
        const double atZeroCurrent = montage == Montage::Tension
                                         ? b.p().UpDown1 / 10.0
                                         : static_cast<double>(b.s().e02 - b.s().e01);
        QCOMPARE(b.p().Labelu(), voltageLabelText(atZeroCurrent));
    }
};

QTEST_GUILESS_MAIN(ChemistryTest)
#include "ChemistryTest.moc"
