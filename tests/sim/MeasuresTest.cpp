// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimBench.h"
#include "sim/Catalogue.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "sim/MeasureCsv.h"
#include "sim/Measurement.h"
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

// What the montage shows: the current and the voltage of the cell and of the
// generators, the programmed stop, the labels and the half-equations.
class MeasuresTest : public QObject {
    Q_OBJECT

private slots:
    void cellCurrent() {
        Bench b;
        b.handlers.selectOption2(Montage::Pile);
        b.handlers.selectCombo2(0, 1); // copper
        b.handlers.selectCombo2(1, 3); // zinc
        QVERIFY(!b.s().natInvalide);
        // By hand: 0,01 mol/L in 200 mL is 0.002 mol of cations in each
        // half-cell; G = 10.72 x 1000 x 0.002 / 200 + 16 x 0.01 (copper) +
        // 10.56 x 1000 x 0.002 / 200 + 16 x 0.01 (zinc) = 0.5328 S; r = 0.1 /
        // (0.001 x 200 / 200 x 0.5328) = 187.688 ohm, times 5 / 10 g of the
        // thinner electrode: 93.8438 ohm; I = (0.34 + 0.76) V / (10 + 93.8438)
        // ohm = 0.01059283 A.
        QVERIFY(near(static_cast<double>(b.s().intensite), 0.01059283, 1e-6));
        // Copper at the left has the higher potential: the zinc dissolves.
        QCOMPARE(b.engine.direction(), -1);
        QVERIFY(b.s().tensionAffichee < 0.0);
        QCOMPARE(reactionNumberLeft(b.engine), 10);
        QCOMPARE(reactionNumberRight(b.engine), 16);
        b.p().Timer1 = true;
        b.s().tempsSec = 1;
        const double zinc = b.s().masseMetal[2][3];
        const double ions = b.s().ions2;
        int sens = -1;
        b.engine.variations(sens);
        QVERIFY(b.s().masseMetal[2][3] < zinc);
        QVERIFY(b.s().ions2 > ions);
    }

    void equalCouplesGiveNoCurrent() {
        Bench b;
        b.handlers.selectOption2(Montage::Pile);
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
        b.handlers.selectOption2(Montage::Pile);
        b.handlers.selectCombo2(0, 3); // zinc, the anode
        b.handlers.selectCombo2(1, 1);
        b.text(cat::Text2MasseG, "1");
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
        b.electrolysis(Montage::Tension, 0, 3, 3);
        b.text(cat::Text2Concentration, "1");
        b.handlers.setUpDown1(100);
        b.s().tempsSec = 1;
        int sens = -1;
        b.engine.variations(sens);
        QCOMPARE(b.s().intensite, 2.0F);
        // By hand: the step converts 2 A for one second, 2 / 96500 mol of
        // electrons, at both electrodes (hydrogen at the cathode, chlorine at
        // the anode): 0.5 - 2.0725E-05 mol of H+ and of Cl- are left in
        // 500 mL, G = 1000 x (34.97 + 7.631) x 0.49997927 / 500 = 42.599234 S,
        // and the voltage is 1.36 + 0.2 + 2 / G = 1.6069493 V.
        QVERIFY(near(b.s().tensionAffichee, 1.6069493, 1e-7));
        QCOMPARE(b.p().Labelint(), std::string("2,00 A (limite du générateur)"));
    }

    // A cell's anode fades away and its current with it; once nothing is
    // left, no current crosses the resistor.
    void cellWithoutAnode() {
        Bench b;
        b.handlers.selectOption2(Montage::Pile);
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
        b.handlers.selectOption2(Montage::Pile);
        b.handlers.selectCombo2(0, left);
        b.handlers.selectCombo2(1, right);
        b.text(cat::Text2ConcentrationG, "0,1");
        b.text(cat::Text2ConcentrationD, "0,1");
        b.text(cat::Text2Resistance, resistance.toUtf8().constData());
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

    void programmedStop() {
        Bench b;
        b.handlers.setCheck1(1);
        QVERIFY(b.p().stopBoxWhite);
        b.text(cat::Text2Arret, "10");
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

    // The rows say what they hold: the shortest number that reads back as
    // the value stored, nothing where the montage has no vessel, and a
    // spreadsheet's header in French with units and no reaction codes.
    void csvRows_data() {
        QTest::addColumn<bool>("pile");
        QTest::addColumn<int>("dialect");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("row");
        QTest::newRow("electrolysis, csv")
            << false << int(CsvDialect::Standard)
            << "t_s,I_A,U_V,m_G_g,m_D_g,code_G,code_D,Cl-,SO4 2-,H+,Fe2+,Fe3+,Na+,Zn2+,Al3+,"
               "Cu2+,ions_G,ions_D,HO-,pH"
            << "12,0.05,2.5,10.1,10,10,11,0,0.02,0.001,0,0,0,0,0,0.009,0,0,0,2.3";
        QTest::newRow("cell, csv")
            << true << int(CsvDialect::Standard)
            << "t_s,I_A,U_V,m_G_g,m_D_g,code_G,code_D,Cl-,SO4 2-,H+,Fe2+,Fe3+,Na+,Zn2+,Al3+,"
               "Cu2+,ions_G,ions_D,HO-,pH"
            << "12,0.05,2.5,10.1,10,,,,,,,,,,,,0.002,0.003,,";
        QTest::newRow("electrolysis, spreadsheet")
            << false << int(CsvDialect::Tableur)
            << "t (s);i (A);U (V);m(G) (g);m(D) (g);n(Cl-) (mol);n(SO4 2-) (mol);n(H+) (mol);"
               "n(Fe2+) (mol);n(Fe3+) (mol);n(Na+) (mol);n(Zn2+) (mol);n(Al3+) (mol);"
               "n(Cu2+) (mol);n(cations G) (mol);n(cations D) (mol);n(HO-) (mol);pH"
            << "12;0,05;2,5;10,1;10;0;0,02;0,001;0;0;0;0;0;0,009;0;0;0;2,3";
    }

    void csvRows() {
        QFETCH(bool, pile);
        QFETCH(int, dialect);
        QFETCH(QString, header);
        QFETCH(QString, row);
        Measurement m;
        m.tempsSec = 12;
        m.intensite = 0.05F;
        m.tension = 2.5;
        m.masseG = 10.1;
        m.masseD = 10.0;
        m.codeG = 10;
        m.codeD = 11;
        m.quantite[1] = 0.02;  // SO4 2-
        m.quantite[2] = 0.001; // H+
        m.quantite[8] = 0.009; // Cu2+
        m.pile = pile;
        m.pH = 2.3;
        if (pile) {
            m.ions1 = 0.002;
            m.ions2 = 0.003;
        }
        const auto d = CsvDialect(dialect);
        QCOMPARE(QString::fromStdString(csvHeader(d)), header + "\n");
        std::string out;
        appendCsvRow(out, m, d);
        QCOMPARE(QString::fromStdString(out), row + "\n");
    }

    void halfEquationTexts() {
        QCOMPARE(halfEquationText(*halfEquation(1)), std::string("2 Cl- → Cl2 + 2 e-"));
        QCOMPARE(halfEquationText(*halfEquation(11)), std::string("2 H2O → 4 H+ + O2 + 4 e-"));
        QCOMPARE(halfEquationText(*halfEquation(10)), std::string("Cu2+ + 2 e- → Cu"));
        QCOMPARE(halfEquationText(*halfEquation(12)), std::string("2 H2O + 2 e- → H2 + 2 HO-"));
        QCOMPARE(halfEquationText(*halfEquation(4)), std::string("4 HO- → O2 + 2 H2O + 4 e-"));
        QVERIFY(halfEquation(2) == nullptr);
        QVERIFY(halfEquation(7) == nullptr);
    }
};

QTEST_GUILESS_MAIN(MeasuresTest)
#include "MeasuresTest.moc"
