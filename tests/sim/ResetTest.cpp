// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimBench.h"
#include "sim/Catalogue.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "sim/Reactions.h"

#include <QtTest>

#include <cmath>
#include <memory>

using Ionaria::sim::catalogue::Montage;

namespace cat = Ionaria::sim::catalogue;

using namespace Ionaria::sim;

namespace {

using testing::Bench;
using testing::near;

} // namespace

// The reset and the start-up: levels, masses, amounts, couples and the
// particles' heights of the initial state, and the one step the reset takes.
class ResetTest : public QObject {
    Q_OBJECT

private slots:
    void startupState() {
        Bench b;
        QCOMPARE(b.p().Option2, Montage::Tension);
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
        // The reset's own tick computed the current of the initial state. By
        // hand: 0.005 mol each of Cl- and Na+ in 500 mL give G = 1000 x (7.631
        // + 5.008) x 0.005 / 500 = 0.12639 S; the couples Cl2/Cl- (1.36 V)
        // and H+/H2 (-0.2 V) leave 2.5 - 1.56 = 0.94 V of the generator, and
        // I = 0.94 x 0.12639 = 0.1188066 A.
        QVERIFY(near(static_cast<double>(b.s().intensite), 0.1188066, 1e-6));
        QCOMPARE(b.p().Timer1, false);
    }

    void levels_data() {
        QTest::addColumn<Montage>("montage");
        QTest::addColumn<QString>("v1");
        QTest::addColumn<QString>("v2");
        QTest::addColumn<int>("niveau1");
        QTest::addColumn<int>("niveau2");
        QTest::newRow("vessel full") << Montage::Tension << "500"
                                     << "" << 324 << 324;
        QTest::newRow("vessel 200 mL") << Montage::Courant << "200"
                                       << "" << 414 << 414;
        QTest::newRow("vessel 350 mL") << Montage::Tension << "350"
                                       << "" << 369 << 369;
        QTest::newRow("cell 200 and 80") << Montage::Pile << "200"
                                         << "80" << 324 << 414;
        QTest::newRow("cell 130 and 199") << Montage::Pile << "130"
                                          << "199" << 376 << 325;
    }

    void levels() {
        QFETCH(Montage, montage);
        QFETCH(QString, v1);
        QFETCH(QString, v2);
        QFETCH(int, niveau1);
        QFETCH(int, niveau2);
        Bench b;
        b.handlers.selectOption2(montage);
        if (montage == Montage::Pile) {
            b.text(cat::Text2VolumeG, v1.toUtf8().constData());
            b.text(cat::Text2VolumeD, v2.toUtf8().constData());
        } else {
            b.text(cat::Text2Volume, v1.toUtf8().constData());
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
        b.handlers.selectOption2(Montage::Pile);
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
        b.electrolysis(Montage::Courant, 6, 3, 3);
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
            b.handlers.Text2_GotFocus(cat::Text2MasseG);
            b.handlers.setText2(cat::Text2MasseG, "10");
            b.handlers.Text2_LostFocus(cat::Text2MasseG);
            break;
        default:
            b.handlers.selectOption2(Montage::Courant);
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
};

QTEST_GUILESS_MAIN(ResetTest)
#include "ResetTest.moc"
