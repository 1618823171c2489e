// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimBench.h"
#include "sim/Catalogue.h"

#include <QtTest>

#include <cstdint>
#include <limits>

using namespace Ionaria::sim;

namespace {

constexpr std::int32_t clockEnd = std::numeric_limits<std::int32_t>::max();

} // namespace

// The simulated clock at the end of its 32-bit range: it stays there, in the
// window's ticks of several steps as in the batch mode's single steps, and
// its label still reads.
class ClockTest : public QObject {
    Q_OBJECT

private slots:
    void clockSaturates_data() {
        QTest::addColumn<int>("stepsPerTick");
        QTest::addColumn<int>("fromEnd");
        QTest::newRow("one step a tick, from the last second") << 1 << 1;
        QTest::newRow("one step a tick, from a few seconds before") << 1 << 5;
        QTest::newRow("the fastest ticks") << int(catalogue::hScroll2Max) << 3;
    }
    void clockSaturates() {
        QFETCH(int, stepsPerTick);
        QFETCH(int, fromEnd);
        testing::Bench b;
        b.handlers.setHScroll2(stepsPerTick);
        b.p().Timer1 = true;
        b.engine.Timer1_Timer();
        QVERIFY(b.s().intensite > 0.0F);
        b.s().tempsSec = clockEnd - fromEnd;
        for (int tick = 0; tick < fromEnd + 3; ++tick) {
            b.engine.Timer1_Timer();
            QVERIFY(b.s().tempsSec > 0);
        }
        QCOMPARE(b.s().tempsSec, clockEnd);
        QCOMPARE(b.p().mesures.tempsSec, clockEnd);
        QCOMPARE(b.p().Labeltps(), std::string("596523 h 14 min 7 s"));
    }
};

QTEST_GUILESS_MAIN(ClockTest)
#include "ClockTest.moc"
