// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Engine.h"
#include "SimBench.h"
#include "sim/Catalogue.h"
#include "sim/Handlers.h"
#include "sim/Reactions.h"

#include <QtTest>

#include <cmath>
#include <memory>

using namespace Ionaria::sim;

namespace {

using testing::Bench;

bool near(double a, double b, double relative = 1e-6) {
    return std::fabs(a - b) <= relative * std::max(std::fabs(a), std::fabs(b)) + 1e-15;
}

constexpr double faradayConstant = 96500.0;

} // namespace

class EngineTest : public QObject {
    Q_OBJECT

private slots:
    void startupState() {
        Bench b;
        QCOMPARE(b.p().Option2, 1);
        QCOMPARE(b.p().Option1, 0);
        QCOMPARE(b.p().Combo1.listIndex, 4);
        QCOMPARE(b.p().Combo2[0].tag, std::string("3"));
        QCOMPARE(b.p().Combo2[1].tag, std::string("3"));
        QCOMPARE(b.p().Combo2[0].items.size(), std::size_t{5});
        QCOMPARE(b.p().UpDown1, 25);
        QCOMPARE(b.p().Label1, std::string("2,5 V"));
        QCOMPARE(b.p().UpDown2, 5);
        QCOMPARE(b.p().Label2, std::string("50 mA"));
        QCOMPARE(b.p().Labeltps(), std::string("0 s"));
        QCOMPARE(b.s().tempsSec, 0);
        QVERIFY(near(b.s().quantite[7], 0.005, 1e-6));
        QVERIFY(near(b.s().quantite[1], 0.005, 1e-6));
        QCOMPARE(b.s().espece[1], std::int16_t{3});
        QCOMPARE(b.s().espece[2], std::int16_t{1});
        QCOMPARE(b.s().masseMetal[1][3], 10.0);
        QCOMPARE(b.s().masseMetal[2][3], 10.0);
        // The reset's own tick computed the current of the initial state.
        const double g = 1000.0 * (7.631 * b.s().quantite[1] + 5.008 * b.s().quantite[7]) / 500.0;
        QVERIFY(near(static_cast<double>(b.s().intensite),
                     (2.5 - static_cast<double>(1.36F + 0.2F)) * g, 1e-5));
        QCOMPARE(b.p().Timer1, false);
    }

    void levels_data() {
        QTest::addColumn<int>("montage");
        QTest::addColumn<QString>("v1");
        QTest::addColumn<QString>("v2");
        QTest::addColumn<int>("niveau1");
        QTest::addColumn<int>("niveau2");
        QTest::newRow("vessel full") << 1 << "500"
                                     << "" << 324 << 324;
        QTest::newRow("vessel 200 mL") << 2 << "200"
                                       << "" << 414 << 414;
        QTest::newRow("vessel 350 mL") << 1 << "350"
                                       << "" << 369 << 369;
        QTest::newRow("cell 200 and 80") << 0 << "200"
                                         << "80" << 324 << 414;
        QTest::newRow("cell 130 and 199") << 0 << "130"
                                          << "199" << 376 << 325;
    }
    void levels() {
        QFETCH(int, montage);
        QFETCH(QString, v1);
        QFETCH(QString, v2);
        QFETCH(int, niveau1);
        QFETCH(int, niveau2);
        Bench b;
        b.handlers.selectOption2(montage);
        if (montage == 0) {
            b.text(6, v1.toUtf8().constData());
            b.text(8, v2.toUtf8().constData());
        } else {
            b.text(1, v1.toUtf8().constData());
        }
        QCOMPARE(int(b.s().niveau1), niveau1);
        QCOMPARE(int(b.s().niveau2), niveau2);
        // Every particle starts in the liquid, 5 units from its surface and bottom.
        for (int k = 1; k <= 2; ++k) {
            const int level = k == 1 ? niveau1 : niveau2;
            for (int j = 1; j <= 14; ++j) {
                const int y = b.s().posY[std::size_t(k)][std::size_t(j)];
                QVERIFY2(y >= level + 5 && y <= 474 - 5, qPrintable(QString::number(y)));
            }
        }
    }

    void electrolyteAmounts_data() {
        QTest::addColumn<int>("electrolyte");
        QTest::addColumn<QList<int>>("species");
        QTest::addColumn<QList<double>>("amounts");
        QTest::newRow("HCl") << 0 << QList<int>{3, 1} << QList<double>{0.005, 0.005};
        QTest::newRow("H2SO4") << 1 << QList<int>{3, 2} << QList<double>{0.01, 0.005};
        QTest::newRow("AlCl3") << 2 << QList<int>{9, 1} << QList<double>{0.005, 0.015};
        QTest::newRow("CuCl2") << 3 << QList<int>{10, 1} << QList<double>{0.005, 0.01};
        QTest::newRow("NaCl") << 4 << QList<int>{7, 1} << QList<double>{0.005, 0.005};
        QTest::newRow("Al2(SO4)3") << 5 << QList<int>{9, 2} << QList<double>{0.01, 0.015};
        QTest::newRow("CuSO4") << 6 << QList<int>{10, 2} << QList<double>{0.005, 0.005};
        QTest::newRow("FeSO4") << 7 << QList<int>{5, 2} << QList<double>{0.005, 0.005};
        QTest::newRow("Fe2(SO4)3") << 8 << QList<int>{6, 2} << QList<double>{0.01, 0.015};
        QTest::newRow("ZnSO4") << 9 << QList<int>{8, 2} << QList<double>{0.005, 0.005};
    }
    void electrolyteAmounts() {
        QFETCH(int, electrolyte);
        QFETCH(QList<int>, species);
        QFETCH(QList<double>, amounts);
        Bench b;
        b.handlers.selectCombo1(electrolyte);
        QVERIFY(!b.s().natInvalide);
        for (int i = 1; i <= 10; ++i) {
            const auto at = species.indexOf(i);
            const double expected = at >= 0 ? amounts[at] : 0.0;
            QVERIFY2(
                near(b.s().quantite[std::size_t(i)], expected, 1e-6),
                qPrintable(QString("species %1: %2").arg(i).arg(b.s().quantite[std::size_t(i)])));
        }
    }

    void cellReset() {
        Bench b;
        b.handlers.selectOption2(0);
        b.handlers.selectCombo2(0, 0);
        b.handlers.selectCombo2(1, 1);
        QCOMPARE(b.s().espece[1], std::int16_t{0});
        QVERIFY(near(b.s().ions1, 0.004, 1e-6));
        QVERIFY(near(b.s().ions2, 0.002, 1e-6));
        QCOMPARE(b.s().e01, -1.67F);
        QCOMPARE(b.s().nbe1, std::int16_t{3});
        QCOMPARE(b.s().e02, 0.34F);
        QCOMPARE(b.s().nbe2, std::int16_t{2});
    }

    void pairsOfParticles() {
        Bench b; // sodium chloride: hydrogen at 1, chlorine at 2
        for (std::size_t j = 1; j <= 13; j += 2) {
            QCOMPARE(b.s().posY[1][j], b.s().posY[1][j + 1]);
            QCOMPARE(b.s().posY[2][j], b.s().posY[2][j + 1]);
        }
        b.handlers.selectCombo1(9); // zinc sulfate with a zinc anode
        b.handlers.selectCombo2(1, 4);
        QCOMPARE(b.s().espece[2], std::int16_t{16});
        int equal = 0;
        for (std::size_t j = 1; j <= 13; j += 2) {
            equal += b.s().posY[2][j] == b.s().posY[2][j + 1] ? 1 : 0;
        }
        QVERIFY(equal < 7);
    }

    void unselectedNatureStopsTheReset() {
        Bench b;
        b.s().masseMetal[1][3] = 42.0;
        b.s().quantite[7] = 1.0;
        b.p().Combo2[1].tag = "-1";
        b.engine.RAZ();
        QCOMPARE(b.s().masseMetal[1][3], 42.0);
        QCOMPARE(b.s().quantite[7], 1.0);
        QCOMPARE(int(b.s().niveau1), 324);
    }

    void resetShowsZeroTime() {
        Bench b;
        b.p().Timer1 = true;
        for (int i = 0; i < 5; ++i) {
            b.engine.Timer1_Timer();
        }
        QVERIFY(b.s().tempsSec > 0);
        b.engine.Command3_Click();
        QCOMPARE(b.s().tempsSec, 0);
        QCOMPARE(b.p().Labeltps(), std::string("0 s"));
        QCOMPARE(b.p().Timer1, true);
    }

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
        QCOMPARE(int(s.cptDessin), 60);
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
        QTest::newRow("Cu2+ reduced, water oxidised")
            << 6 << 3 << 3 << 10 << 11 << QList<double>{0, 0, 0, 0, 0, 0, 0, 0, 0, -0.5}
            << QList<double>{63.5 / 2, 0};
        QTest::newRow("H+ reduced, Cl- oxidised")
            << 4 << 3 << 3 << 3 << 1 << QList<double>{-1, 0, 0, 0, 0, 0, 0, 0, 0, 0}
            << QList<double>{0, 0};
        QTest::newRow("Fe3+ reduced")
            << 8 << 3 << 3 << 6 << 11 << QList<double>{0, 0, 0, 0, 1, -1, 0, 0, 0, 0}
            << QList<double>{0, 0};
        QTest::newRow("aluminium anode")
            << 4 << 3 << 0 << 3 << 13 << QList<double>{0, 0, 0, 0, 0, 0, 0, 0, 1.0 / 3, 0}
            << QList<double>{0, -27.0 / 3};
        QTest::newRow("zinc anode")
            << 9 << 3 << 4 << 3 << 16 << QList<double>{0, 0, 0, 0, 0, 0, 0, 0.5, 0, 0}
            << QList<double>{0, -65.4 / 2};
        QTest::newRow("iron anode")
            << 4 << 3 << 2 << 3 << 15 << QList<double>{0, 0, 0, 0, 0.5, 0, 0, 0, 0, 0}
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
        b.electrolysis(2, electrolyte, nature1, nature2);
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

    void firstStepConvertsNothing() {
        Bench b;
        b.electrolysis(2, 6, 3, 3);
        const double copper = b.s().quantite[10];
        int sens = -1;
        b.engine.variations(sens); // tempsSec is 0 after the reset
        QCOMPARE(b.s().quantite[10], copper);
        QCOMPARE(b.s().tempsSec, 1);
    }

    void copperRunsOut() {
        Bench b;
        b.electrolysis(2, 6, 3, 3);
        b.text(0, "0,00001");
        b.text(1, "200");
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
        QCOMPARE(int(b.s().cptDessin), 60);
        // The copper deposited is what the ions lost.
        QVERIFY(near(b.s().masseMetal[1][1], (2e-6 - b.s().quantite[10]) * 63.5, 1e-3));
    }

    void zincAnodeIsUsedUp() {
        Bench b;
        b.electrolysis(2, 9, 3, 4);
        b.text(3, "1");
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

    void cellCurrent() {
        Bench b;
        b.handlers.selectOption2(0);
        b.handlers.selectCombo2(0, 1); // copper
        b.handlers.selectCombo2(1, 3); // zinc
        QVERIFY(!b.s().natInvalide);
        const double c = static_cast<double>(0.01F);
        const double ions = static_cast<double>(0.01F * 200.0F / 1000.0F);
        const double g = 10.72 * 1000 * ions / 200 + 16 * c + 10.56 * 1000 * ions / 200 + 16 * c;
        const double r = 5.0 * (20000.0 / (200.0 * g)) / 10.0;
        const double expected = static_cast<double>(0.34F - -0.76F) / (10.0 + r);
        QVERIFY(near(static_cast<double>(b.s().intensite), expected, 1e-5));
        // Copper at the left has the higher potential: the zinc dissolves.
        QCOMPARE(b.engine.direction(), -1);
        QVERIFY(b.s().tensionAffichee < 0.0);
        QCOMPARE(reactionNumberLeft(b.engine), 10);
        QCOMPARE(reactionNumberRight(b.engine), 16);
        b.p().Timer1 = true;
        b.s().tempsSec = 1;
        const double zinc = b.s().masseMetal[2][3];
        int sens = -1;
        b.engine.variations(sens);
        QVERIFY(b.s().masseMetal[2][3] < zinc);
        QVERIFY(b.s().ions2 > ions);
    }

    void equalCouplesGiveNoCurrent() {
        Bench b;
        b.handlers.selectOption2(0);
        b.handlers.selectCombo2(0, 2);
        b.handlers.selectCombo2(1, 2);
        QVERIFY(!b.s().natInvalide);
        b.p().Timer1 = true;
        const std::int32_t t = b.s().tempsSec;
        b.engine.Timer1_Timer();
        QCOMPARE(b.s().intensite, 0.0F);
        QCOMPARE(b.s().tempsSec, t);
        QCOMPARE(reactionNumberLeft(b.engine), 5);
        QCOMPARE(reactionNumberRight(b.engine), 5);
    }

    void exhaustedCellAnode() {
        Bench b;
        b.handlers.selectOption2(0);
        b.handlers.selectCombo2(0, 3); // zinc, the anode
        b.handlers.selectCombo2(1, 1);
        b.text(2, "1");
        b.p().Timer1 = true;
        b.handlers.setHScroll2(39);
        b.s().masseMetal[1][3] = 1e-9;
        b.s().tempsSec = 3;
        int sens = 1;
        b.engine.variations(sens);
        b.engine.variations(sens);
        QCOMPARE(b.s().masseMetal[1][3], 0.0);
        QVERIFY(b.s().intensite < 1e-6F);
        const std::int32_t t = b.s().tempsSec;
        b.engine.variations(sens);
        QCOMPARE(b.s().tempsSec, t);
    }

    void currentLimit() {
        Bench b;
        b.electrolysis(1, 0, 3, 3);
        b.text(0, "1");
        b.handlers.setUpDown1(100);
        b.s().tempsSec = 1;
        int sens = -1;
        b.engine.variations(sens);
        QCOMPARE(b.s().intensite, 2.0F);
        const double g = 1000.0 * (34.97 * b.s().quantite[3] + 7.631 * b.s().quantite[1]) / 500.0;
        QVERIFY(near(b.s().tensionAffichee, static_cast<double>(1.36F - -0.2F) + 2.0 / g, 1e-6));
        QCOMPARE(b.p().Labelint(), std::string("2,00 A"));
    }

    void programmedStop() {
        Bench b;
        b.handlers.setCheck1(1);
        QVERIFY(b.p().stopBoxWhite);
        b.text(9, "10");
        b.p().Timer1 = true;
        int ticks = 0;
        while (b.p().Timer1 && ticks < 100) {
            b.engine.Timer1_Timer();
            ++ticks;
        }
        QCOMPARE(b.p().Labeltps(), std::string("10 s"));
        QCOMPARE(b.s().tempsSec, 11);
        QCOMPARE(ticks, 11);
    }

    void timeLabels_data() {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("label");
        QTest::newRow("0") << 0 << "0 s";
        QTest::newRow("59") << 59 << "59 s";
        QTest::newRow("60") << 60 << "1 min 0 s";
        QTest::newRow("3600") << 3600 << "1 h 0 min 0 s";
        QTest::newRow("3725") << 3725 << "1 h 2 min 5 s";
        QTest::newRow("360000") << 360000 << "100 h 0 min 0 s";
    }
    void timeLabels() {
        QFETCH(int, seconds);
        QFETCH(QString, label);
        QCOMPARE(QString::fromStdString(timeLabelText(seconds)), label);
    }

    void measureLabels() {
        QCOMPARE(currentLabelText(0.5F), std::string("500,0 mA"));
        QCOMPARE(currentLabelText(1.0F), std::string("1,00 A"));
        QCOMPARE(currentLabelText(0.0F), std::string("0,0 mA"));
        QCOMPARE(voltageLabelText(-0.5), std::string("-500,0 mV"));
        QCOMPARE(voltageLabelText(2.5), std::string("2,50 V"));
        QCOMPARE(voltageLabelText(-1.09), std::string("-1,09 V"));
    }

    // The step in which a reactant runs out converts only what it held.
    void lastOfAReactant_data() {
        QTest::addColumn<int>("montage");
        QTest::addColumn<int>("electrolyte");
        QTest::addColumn<int>("nature1");
        QTest::addColumn<int>("nature2");
        QTest::addColumn<QStringList>("texts"); // box=value
        QTest::addColumn<int>("gone");          // species number, or 0: the metal of electrode 2
        QTest::newRow("iron(III), 1E-05 mol/L, 250 mA")
            << 2 << 8 << 3 << 3 << QStringList{"0=0,00001", "1=200"} << 6;
        QTest::newRow("chloride oxidised to the last ion")
            << 2 << 4 << 3 << 3 << QStringList{"0=0,00001", "1=200"} << 1;
        QTest::newRow("aluminium anode used up")
            << 2 << 4 << 3 << 0 << QStringList{"3=1", "0=1"} << 0;
        QTest::newRow("iron anode used up") << 2 << 4 << 3 << 2 << QStringList{"3=1", "0=1"} << 0;
        QTest::newRow("copper(II) of a cell runs dry")
            << 0 << 0 << 3 << 1 << QStringList{"7=0,00001", "8=80", "5=1"} << 10;
    }
    void lastOfAReactant() {
        QFETCH(int, montage);
        QFETCH(int, electrolyte);
        QFETCH(int, nature1);
        QFETCH(int, nature2);
        QFETCH(QStringList, texts);
        QFETCH(int, gone);
        Bench b;
        if (montage == 0) {
            b.handlers.selectOption2(0);
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
            if (montage == 0) {
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
        QCOMPARE(int(s.cptDessin), 60);
        const auto& q = s.quantite;
        const auto& q0 = start.quantite;
        const auto& m = s.masseMetal;
        const auto& m0 = start.masseMetal;
        for (std::size_t i = 1; i <= 10; ++i) {
            QVERIFY(q[i] >= 0.0);
        }
        if (montage == 0) {
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
        QTest::addColumn<int>("montage");
        QTest::addColumn<int>("electrolyte");
        QTest::addColumn<int>("nature1");
        QTest::addColumn<int>("nature2");
        QTest::newRow("current generator, copper anode") << 2 << 6 << 3 << 1;
        QTest::newRow("current generator, zinc anode") << 2 << 9 << 3 << 4;
        QTest::newRow("voltage generator, zinc anode") << 1 << 9 << 3 << 4;
    }
    void usedUpAnodeStopsTheCurrent() {
        QFETCH(int, montage);
        QFETCH(int, electrolyte);
        QFETCH(int, nature1);
        QFETCH(int, nature2);
        Bench b;
        if (montage == 0) {
            b.handlers.selectOption2(0);
            b.handlers.selectCombo2(0, nature1);
            b.handlers.selectCombo2(1, nature2);
            b.text(5, "1");
            b.text(7, "1");
        } else {
            b.electrolysis(montage, electrolyte, nature1, nature2);
            b.text(0, "0,1");
            b.handlers.setUpDown1(100);
        }
        b.text(3, "1");
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
        double atZeroCurrent = 0.0;
        if (montage == 1) {
            atZeroCurrent = b.p().UpDown1 / 10.0;
        } else if (montage == 2) {
            atZeroCurrent = static_cast<double>(b.s().e02 - b.s().e01);
        }
        QCOMPARE(b.p().Labelu(), voltageLabelText(atZeroCurrent));
    }

    // A cell's anode fades away and its current with it; once nothing is
    // left, no current crosses the resistor.
    void cellWithoutAnode() {
        Bench b;
        b.handlers.selectOption2(0);
        b.handlers.selectCombo2(0, 1);
        b.handlers.selectCombo2(1, 3);
        b.engine.Command5_Click();
        b.engine.Timer1_Timer();
        b.s().masseMetal[2][3] = 0.0;
        b.engine.Timer1_Timer();
        QCOMPARE(b.s().intensite, 0.0F);
        QCOMPARE(b.p().Labelu(), std::string("0,0 mV"));
    }

    // The voltage shown is the one across the resistor the current goes
    // through.
    void cellVoltageFollowsOhmsLaw_data() {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("right");
        QTest::addColumn<QString>("resistance");
        QTest::addColumn<int>("sens");
        QTest::newRow("zinc | copper, 10 ohms") << 3 << 1 << "10" << 1;
        QTest::newRow("copper | zinc, 10 ohms") << 1 << 3 << "10" << -1;
        QTest::newRow("copper | zinc, 5 ohms") << 1 << 3 << "5" << -1;
        QTest::newRow("aluminium | copper, 100 ohms") << 0 << 1 << "100" << 1;
        QTest::newRow("iron | zinc, 1000 ohms") << 2 << 3 << "1000" << -1;
    }
    void cellVoltageFollowsOhmsLaw() {
        QFETCH(int, left);
        QFETCH(int, right);
        QFETCH(QString, resistance);
        QFETCH(int, sens);
        Bench b;
        b.handlers.selectOption2(0);
        b.handlers.selectCombo2(0, left);
        b.handlers.selectCombo2(1, right);
        b.text(5, "0,1");
        b.text(7, "0,1");
        b.text(4, resistance.toUtf8().constData());
        b.engine.Command5_Click();
        for (int tick = 0; tick < 10; ++tick) {
            b.engine.Timer1_Timer();
            const double r = resistance.toDouble();
            const double expected = sens * r * static_cast<double>(b.s().intensite);
            QVERIFY(b.s().intensite > 0.0F);
            QVERIFY2(
                near(b.s().tensionAffichee, expected, 1e-9),
                qPrintable(QString("%1 V, R I = %2 V").arg(b.s().tensionAffichee).arg(expected)));
            QCOMPARE(b.p().Labelu(), voltageLabelText(expected));
            // Less than the difference of the potentials: the cell's own
            // resistance takes the rest.
            QVERIFY(std::fabs(expected) < std::fabs(static_cast<double>(b.s().e02 - b.s().e01)));
        }
    }

    // Every reset, whatever the speed, shows the initial state: its tick
    // takes one step, which converts nothing.
    void resetTakesOneStep_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("Retour à l'état initial") << 0;
        QTest::newRow("electrolyte chosen") << 1;
        QTest::newRow("nature chosen") << 2;
        QTest::newRow("box validated") << 3;
        QTest::newRow("montage chosen") << 4;
    }
    void resetTakesOneStep() {
        QFETCH(int, how);
        Bench b;
        b.electrolysis(2, 6, 3, 3);
        b.handlers.setUpDown2(25);
        b.handlers.setHScroll2(39);
        b.engine.Command5_Click();
        for (int tick = 0; tick < 10; ++tick) {
            b.engine.Timer1_Timer();
        }
        QVERIFY(b.s().masseMetal[1][1] > 0.0);
        switch (how) {
        case 0:
            b.engine.Command3_Click();
            break;
        case 1:
            b.handlers.selectCombo1(6);
            break;
        case 2:
            b.handlers.selectCombo2(0, 3);
            break;
        case 3:
            b.handlers.Text2_GotFocus(2);
            b.handlers.setText2(2, "10");
            b.handlers.Text2_LostFocus(2);
            break;
        default:
            b.handlers.selectOption2(2);
            break;
        }
        QVERIFY(b.p().Timer1);
        QCOMPARE(b.s().tempsSec, 0);
        QCOMPARE(b.p().Labeltps(), std::string("0 s"));
        QCOMPARE(b.s().masseMetal[1][1], 0.0);
        QCOMPARE(b.s().masseMetal[1][3], 10.0);
        QCOMPARE(b.s().quantite[10], static_cast<double>(0.01F * 500.0F / 1000.0F));
        // The animation starts again too: the reset's tick is its first.
        QCOMPARE(b.s().cptPas, 1);
    }

    void razRestartsTheAnimation() {
        Bench b;
        b.s().cptPas = 1234;
        b.s().cptIon1 = 56;
        b.s().cptIon2 = 78;
        b.engine.RAZ();
        QCOMPARE(b.s().cptPas, 0);
        QCOMPARE(int(b.s().cptIon1), 0);
        QCOMPARE(int(b.s().cptIon2), 0);
    }

    void halfEquationTexts() {
        QCOMPARE(halfEquationText(*halfEquation(1)), std::string("2 Cl- → Cl2 + 2 e-"));
        QCOMPARE(halfEquationText(*halfEquation(11)), std::string("2 H2O → 4 H+ + O2 + 4 e-"));
        QCOMPARE(halfEquationText(*halfEquation(10)), std::string("Cu2+ + 2 e- → Cu"));
        QVERIFY(halfEquation(2) == nullptr);
        QVERIFY(halfEquation(12) == nullptr);
    }
};

QTEST_GUILESS_MAIN(EngineTest)
#include "EngineTest.moc"
