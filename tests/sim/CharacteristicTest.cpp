// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Characteristic.h"
#include "SimBench.h"
#include "sim/Catalogue.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

using Ionaria::sim::catalogue::Montage;

using namespace Ionaria::sim;

namespace {

using testing::Bench;
namespace cat = Ionaria::sim::catalogue;

} // namespace

// The current-voltage characteristic of the montage: what the generators
// drive, the curve drawn for it, its threshold as written, and the
// generator's limit.
class CharacteristicTest : public QObject {
    Q_OBJECT

private slots:
    // Each generator gives points of one characteristic I = max(0, (U - D) G):
    // no current below the back-voltage D, then a line of slope G; the
    // current generator's points lie on the voltage generator's line.
    void bothGeneratorsOnOneCharacteristic_data() {
        QTest::addColumn<int>("electrolyte");
        QTest::addColumn<int>("nature1");
        QTest::addColumn<int>("nature2");
        for (int electrolyte = 0; electrolyte < 10; ++electrolyte) {
            for (int anode = 0; anode <= 4; ++anode) {
                Bench b;
                b.electrolysis(Montage::Tension, electrolyte, 3, anode);
                if (!b.s().natInvalide) {
                    QTest::addRow("electrolyte %d, anode %d", electrolyte, anode)
                        << electrolyte << 3 << anode;
                }
            }
        }
    }

    void bothGeneratorsOnOneCharacteristic() {
        QFETCH(int, electrolyte);
        QFETCH(int, nature1);
        QFETCH(int, nature2);
        Bench v;
        v.electrolysis(Montage::Tension, electrolyte, nature1, nature2);
        const double delta = double(v.s().e02 - v.s().e01);
        // What Courbes draws for the present state, before either generator
        // is run.
        const std::optional<Characteristic> curve = characteristic(v.s(), v.p());
        QVERIFY(curve.has_value());
        QCOMPARE(curve->seuilV, delta);
        QCOMPARE(curve->points.front().tensionV, 0.0);
        QCOMPARE(curve->points.back().tensionV, Characteristic::maxVoltageV);
        for (const Characteristic::Point& p : curve->points) {
            if (p.tensionV <= delta) {
                QCOMPARE(p.intensiteA, 0.0);
            }
        }
        if (delta > 0.0) {
            QVERIFY(std::any_of(curve->points.begin(), curve->points.end(),
                                [&](const auto& p) { return p.tensionV == delta; }));
        }
        struct Point {
            double u;
            double i;
            bool limite;
            double shownU;
        };
        std::vector<Point> points;
        for (int tenths = 0; tenths <= 100; ++tenths) {
            v.handlers.setUpDown1(tenths);
            // The state stands still: each point converts nothing.
            v.s().tempsSec = 0;
            int sens = -1;
            v.engine.variations(sens);
            points.push_back({tenths / 10.0, double(v.s().intensite), v.p().mesures.limite,
                              v.p().mesures.tension});
        }
        const Point* first = nullptr;
        const Point* last = nullptr;
        for (const Point& p : points) {
            if (p.u <= delta) {
                QCOMPARE(p.i, 0.0);
            } else if (!p.limite) {
                first = first != nullptr ? first : &p;
                last = &p;
            }
        }
        QVERIFY(first != nullptr && last != first);
        const double slope = (last->i - first->i) / (last->u - first->u);
        for (const Point& p : points) {
            if (p.u > delta && !p.limite) {
                QVERIFY2(std::fabs(p.i - (p.u - delta) * slope) < 1e-5,
                         qPrintable(QString("U = %1, I = %2").arg(p.u).arg(p.i)));
            }
            if (!p.limite) {
                QVERIFY2(std::fabs(p.i - curve->intensiteA(p.u)) < 1e-5 * std::max(1.0, p.i),
                         qPrintable(QString("U = %1, I = %2").arg(p.u).arg(p.i)));
            }
            if (p.limite) {
                QCOMPARE(p.i, 2.0);
                // The voltage shown is the one that drives 2 A.
                QVERIFY(std::fabs(p.shownU - (delta + 2.0 / slope)) < 1e-4 * p.shownU);
            }
        }

        Bench c;
        c.electrolysis(Montage::Courant, electrolyte, nature1, nature2);
        for (int hundredths : {1, 25, 120, 200}) {
            c.handlers.setUpDown2(hundredths);
            c.s().tempsSec = 0;
            int sens = -1;
            c.engine.variations(sens);
            const double i = hundredths / 100.0;
            const double u = c.p().mesures.tension;
            QVERIFY2(std::fabs(u - (delta + i / slope)) < 1e-4 * std::max(1.0, std::fabs(u)),
                     qPrintable(QString("I = %1, U = %2").arg(i).arg(u)));
            QVERIFY2(std::fabs(curve->intensiteA(u) - i) < 1e-4 * std::max(1.0, i),
                     qPrintable(QString("I = %1, U = %2").arg(i).arg(u)));
        }
    }

    // The threshold as Courbes writes it, and a cell's characteristic, which
    // drives a current from 0 V and has no threshold within the range.
    void characteristicThreshold_data() {
        QTest::addColumn<double>("seuil");
        QTest::addColumn<QString>("text");
        QTest::addRow("electrolyser") << 1.5649 << QStringLiteral("seuil ≈ 1,56 V");
        QTest::addRow("rounded up") << 0.895 << QStringLiteral("seuil ≈ 0,90 V");
        QTest::addRow("cell") << -0.51 << QStringLiteral("seuil ≈ -0,51 V");
    }
    void characteristicThreshold() {
        QFETCH(double, seuil);
        QFETCH(QString, text);
        Characteristic c;
        c.seuilV = seuil;
        c.conductanceS = 0.5;
        QCOMPARE(QString::fromStdString(c.seuilText()), text);
        QCOMPARE(c.intensiteA(0.0), seuil < 0.0 ? -seuil * 0.5 : 0.0);
        QCOMPARE(c.intensiteA(seuil + 2.0), 1.0);
    }

    void characteristicOfTheCell() {
        Bench b;
        b.handlers.selectOption2(Montage::Pile);
        QVERIFY(!characteristic(b.s(), b.p()).has_value());
    }

    void generatorLimitIsShown() {
        Bench b;
        b.electrolysis(Montage::Tension, 1, 3, 3);
        b.text(cat::Text2Concentration, "0,1");
        b.handlers.setUpDown1(100);
        int sens = -1;
        b.engine.variations(sens);
        QCOMPARE(b.s().intensite, 2.0F);
        QCOMPARE(QString::fromStdString(b.p().Labelint()),
                 QStringLiteral("2,00 A (limite du générateur)"));
        b.handlers.setUpDown1(15);
        b.engine.variations(sens);
        QVERIFY(b.s().intensite < 2.0F);
        QVERIFY(b.p().Labelint().find("limite") == std::string::npos);
    }
};

QTEST_GUILESS_MAIN(CharacteristicTest)
#include "CharacteristicTest.moc"
