// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureFixture.h"
#include "render/ElectrodeProcesses.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

using Ionaria::sim::catalogue::Montage;

using namespace Ionaria;
using render::DrawOp;
using render::ElectrodeProcesses;

namespace {

using Procedure = void (ElectrodeProcesses::*)(int, int, int, int, int, int, double);

Procedure procedure(int index) {
    static const Procedure all[6] = {
        &ElectrodeProcesses::elecSolAl, &ElectrodeProcesses::elecsolZn,
        &ElectrodeProcesses::elecsolFe, &ElectrodeProcesses::elecDepCu,
        &ElectrodeProcesses::elecDepZn, &ElectrodeProcesses::elecDepFe};
    return all[index];
}

std::vector<DrawOp> circlesOfRadius(const render::RecordingCanvas& c, double radius) {
    std::vector<DrawOp> found;
    for (const auto& op : c.opsOf(DrawOp::Kind::Circle)) {
        if (op.radius == radius) {
            found.push_back(op);
        }
    }
    return found;
}

// The circles of the moving layer of the last tick, drawn after its clearing.
std::vector<DrawOp> movingCircles(const render::RecordingCanvas& c, double radius) {
    std::vector<DrawOp> found;
    for (const auto& op : c.ops()) {
        if (op.kind == DrawOp::Kind::Cls) {
            found.clear();
        } else if (op.kind == DrawOp::Kind::Circle && op.radius == radius) {
            found.push_back(op);
        }
    }
    return found;
}

// How far the electrons of a part of the moving layer went down between two
// frames: the median of each electron's step to the nearest one of the
// frame before. Negative: they went up.
double medianStepDown(const std::vector<DrawOp>& before, const std::vector<DrawOp>& after,
                      const std::function<bool(const DrawOp&)>& inPart) {
    std::vector<double> steps;
    for (const auto& a : after) {
        if (!inPart(a)) {
            continue;
        }
        double best = 1e9;
        for (const auto& b : before) {
            if (inPart(b) && std::hypot(a.x1 - b.x1, a.y1 - b.y1) < std::hypot(best, 0.0) &&
                std::abs(a.x1 - b.x1) < 8.0) {
                best = a.y1 - b.y1;
            }
        }
        if (std::abs(best) < 7.0) {
            steps.push_back(best);
        }
    }
    if (steps.empty()) {
        return 0.0;
    }
    std::sort(steps.begin(), steps.end());
    return steps[steps.size() / 2];
}

} // namespace

class TickTest : public QObject {
    Q_OBJECT

private slots:
    void backgroundRefresh_data();
    void backgroundRefresh();
    void bubbles_data();
    void bubbles();
    void proceduresAtMacroScale_data();
    void proceduresAtMacroScale();
    void offsetsFollowSens_data();
    void offsetsFollowSens();
    void noCurrentNothingMoves();
    void ringLeavesGapBetweenElectrodes();
    void queueShift_data();
    void queueShift();
    void cellProcessesByNatureAndSens_data();
    void cellProcessesByNatureAndSens();
    void scaleChangeWhilePaused();
    void electronsLeaveTheAnode_data();
    void electronsLeaveTheAnode();
    void stateAdvancesWithoutPicture_data();
    void stateAdvancesWithoutPicture();
    void generatorPolarity_data();
    void generatorPolarity();
};

void TickTest::generatorPolarity_data() {
    QTest::addColumn<Montage>("montage");
    QTest::addColumn<int>("scale");
    for (const Montage montage : {Montage::Tension, Montage::Courant}) {
        for (int scale : {0, 1}) {
            QTest::addRow("montage %d scale %d", sim::catalogue::montageCode(montage), scale)
                << montage << scale;
        }
    }
}

// Both generators, at both scales, show "–" on the side of G, where the
// reduction is, and "+" on the side of D, with or without a current.
void TickTest::generatorPolarity() {
    QFETCH(Montage, montage);
    QFETCH(int, scale);
    Picture p;
    p.handlers.selectOption2(montage);
    p.handlers.selectOption1(scale);
    for (int ticks : {0, 3}) {
        if (ticks > 0) {
            p.run(ticks);
        }
        p.canvas().clearOps();
        p.run(1);
        // The two marks stand on one line, a pixel apart at most; charges
        // of the report and the legend are "+" too, elsewhere.
        const auto texts = p.canvas().opsOf(DrawOp::Kind::Text);
        int pairs = 0;
        for (const DrawOp& minus : texts) {
            for (const DrawOp& plus : texts) {
                if (minus.text == "–" && plus.text == "+" && std::fabs(plus.y1 - minus.y1) <= 1.0 &&
                    minus.x1 < 208.0 && plus.x1 > 208.0 && plus.x1 - minus.x1 < 70.0) {
                    ++pairs;
                }
            }
        }
        QCOMPARE(pairs, 1);
    }
}

void TickTest::backgroundRefresh_data() {
    QTest::addColumn<int>("tempsSec");
    QTest::addColumn<int>("cptDessin");
    QTest::addColumn<int>("redraws");
    const int end = sim::redrawScheduleEndSec;
    const int period = sim::redrawSchedulePeriodSec;
    const int over = sim::redrawCounterLimit + 1;
    QTest::newRow("last scheduled second") << end - period << 5 << 1;
    QTest::newRow("end of the schedule") << end << 5 << 0;
    QTest::newRow("between two scheduled seconds") << end - period / 2 << 5 << 0;
    QTest::newRow("end of the schedule, counter over its limit") << end << over << 1;
    QTest::newRow("counter at its limit") << end << int{sim::redrawCounterLimit} << 0;
    // The first redraw puts the counter back to 0.
    QTest::newRow("scheduled, counter over its limit: once") << end - period << over << 1;
}

void TickTest::backgroundRefresh() {
    QFETCH(int, tempsSec);
    QFETCH(int, cptDessin);
    QFETCH(int, redraws);
    Picture p;
    p.state().tempsSec = tempsSec;
    p.state().cptDessin = static_cast<std::int16_t>(cptDessin);
    p.canvas().clearOps();
    p.state().dessinSeul = true;
    p.engine.Timer1_Timer();
    const auto made = p.canvas().opsOf(DrawOp::Kind::MakeBackground).size();
    QCOMPARE(static_cast<int>(made), redraws);
    // The moving layer is always drawn over a cleared surface.
    QCOMPARE(p.canvas().opsOf(DrawOp::Kind::Cls).size(), std::size_t{1});
}

void TickTest::bubbles_data() {
    QTest::addColumn<int>("centiamperes");
    QTest::addColumn<int>("spacing");
    QTest::newRow("40 mA: none") << 4 << 0;
    QTest::newRow("50 mA") << 5 << 31;
    QTest::newRow("250 mA") << 25 << 28;
}

void TickTest::bubbles() {
    QFETCH(int, centiamperes);
    QFETCH(int, spacing);
    Picture p;
    p.handlers.selectOption2(Montage::Courant);
    p.handlers.selectOption1(1);
    p.handlers.setUpDown2(centiamperes);
    p.run(30);
    p.canvas().clearOps();
    p.run(1);
    std::set<int> gaps;
    std::vector<DrawOp> atCathode;
    for (const auto& op : circlesOfRadius(p.canvas(), 3.0)) {
        QVERIFY(op.filled);
        QCOMPARE(op.color, render::black);
        if (op.x1 >= 114.0 && op.x1 < 122.0) {
            if (!atCathode.empty()) {
                gaps.insert(std::abs(static_cast<int>(op.y1 - atCathode.back().y1)));
            }
            atCathode.push_back(op);
        }
    }
    if (spacing == 0) {
        QVERIFY(circlesOfRadius(p.canvas(), 3.0).empty());
    } else {
        QVERIFY(!atCathode.empty());
        QVERIFY(gaps.count(spacing) == 1);
        QCOMPARE(atCathode.front().fill, render::white);
        QCOMPARE(atCathode.front().scaleTop, 90);
    }
}

void TickTest::proceduresAtMacroScale_data() {
    QTest::addColumn<int>("index");
    int index = 0;
    for (const char* name :
         {"elecSolAl", "elecsolZn", "elecsolFe", "elecDepCu", "elecDepZn", "elecDepFe"}) {
        QTest::newRow(name) << index++;
    }
}

void TickTest::proceduresAtMacroScale() {
    QFETCH(int, index);
    Picture p;
    p.setPile(3, 1);
    ElectrodeProcesses processes(p.canvas(), p.engine);
    p.store().Option1 = 1;
    p.canvas().clearOps();
    (processes.*procedure(index))(1, 230, 240, 250, 118, 1, 0.5);
    QVERIFY(p.canvas().ops().empty());
    p.store().Option1 = 0;
    (processes.*procedure(index))(1, 230, 240, 250, 118, 1, 0.5);
    const auto circles = p.canvas().opsOf(DrawOp::Kind::Circle);
    QCOMPARE(circles.size(), index == 0 ? std::size_t{3} : (index < 3 ? std::size_t{4} : 7U));
    // The surface particle is a ring three pixels wide.
    QCOMPARE(circles.back().width, 3);
    QVERIFY(!circles.back().filled);
}

void TickTest::offsetsFollowSens_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("avance");
    QTest::addColumn<int>("slot");
    QTest::addColumn<double>("offset"); // for sens = +1
    QTest::newRow("iron leaves, start") << 2 << 0.0 << 6 << 0.0;
    QTest::newRow("iron leaves, half way") << 2 << 0.5 << 6 << 9.0;
    QTest::newRow("iron leaves, slot 4") << 2 << 1.0 << 4 << 54.0;
    QTest::newRow("aluminium leaves, half way") << 0 << 0.5 << 6 << 13.5;
    QTest::newRow("copper arrives, start") << 3 << 0.0 << 8 << -18.0;
    QTest::newRow("copper arrives, end") << 3 << 1.0 << 8 << 0.0;
    QTest::newRow("zinc arrives, slot 10") << 4 << 0.5 << 10 << -45.0;
}

void TickTest::offsetsFollowSens() {
    QFETCH(int, index);
    QFETCH(double, avance);
    QFETCH(int, slot);
    QFETCH(double, offset);
    Picture p;
    auto& queue = p.state().posY[2];
    for (int i = 1; i <= 13; ++i) {
        queue[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(300 + 10 * i);
    }
    ElectrodeProcesses processes(p.canvas(), p.engine);
    for (const int sens : {1, -1}) {
        p.canvas().clearOps();
        (processes.*procedure(index))(sens, 230, 240, 250, 298, 2, avance);
        bool found = false;
        for (const auto& op : p.canvas().opsOf(DrawOp::Kind::Circle)) {
            if (op.y1 == 300 + 10 * slot && op.width == 1) {
                QCOMPARE(op.x1, 298.0 + sens * offset);
                found = true;
            }
        }
        QVERIFY(found);
    }
}

void TickTest::noCurrentNothingMoves() {
    Picture p;
    p.setPile(1, 1); // the same couple at the same concentration
    QVERIFY(!p.engine.state().natInvalide);
    p.run(3);
    const auto queue = p.engine.state().posY;
    const auto cptIon1 = p.engine.state().cptIon1;
    p.canvas().clearOps();
    p.run(5);
    QCOMPARE(p.engine.state().intensite, 0.0F);
    QCOMPARE(p.engine.state().cptIon1, cptIon1);
    QVERIFY(p.engine.state().posY == queue);
    QVERIFY(movingCircles(p.canvas(), 2.0).empty());
    QVERIFY(movingCircles(p.canvas(), 4.0).empty());
    QVERIFY(movingCircles(p.canvas(), 5.0).empty());
    const auto texts = p.canvas().texts();
    QCOMPARE(std::count(texts.begin(), texts.end(), "R"), 5);
    QVERIFY(std::count(texts.begin(), texts.end(), "G") >= 5);
}

void TickTest::ringLeavesGapBetweenElectrodes() {
    Picture p;
    p.run(40);
    p.canvas().clearOps();
    p.run(1);
    int ring = 0;
    for (const auto& op : movingCircles(p.canvas(), 2.0)) {
        const bool inElectrode = op.x1 == 118.0 || op.x1 == 298.0;
        if (inElectrode && op.y1 >= 269.0) {
            continue;
        }
        ++ring;
        QVERIFY2(!(op.y1 > 267.0 && op.x1 > 120.0 && op.x1 < 296.0),
                 qPrintable(QStringLiteral("%1,%2").arg(op.x1).arg(op.y1)));
    }
    QVERIFY(ring >= 40 && ring <= 42);
}

void TickTest::queueShift_data() {
    QTest::addColumn<int>("espece2");
    QTest::addColumn<bool>("pairOpen");
    QTest::addColumn<bool>("partner");
    QTest::newRow("chlorine, second atom") << 1 << true << true;
    QTest::newRow("chlorine, new molecule") << 1 << false << false;
    QTest::newRow("oxygen, second atom") << 11 << true << true;
    QTest::newRow("copper anode") << 14 << true << false;
}

void TickTest::queueShift() {
    QFETCH(int, espece2);
    QFETCH(bool, pairOpen);
    QFETCH(bool, partner);
    Picture p;
    p.run(2);
    sim::State& s = p.state();
    s.espece[2] = static_cast<std::int16_t>(espece2);
    auto& queue = s.posY[2];
    for (int i = 1; i <= 13; ++i) {
        queue[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(330 + 5 * i);
    }
    queue[12] = pairOpen ? 390 : 395; // 13 holds 395
    const auto before = queue;
    s.cptIon2 = 32000; // beyond any period: the event comes now
    s.dessinSeul = true;
    p.engine.Timer1_Timer();
    for (std::size_t i = 1; i <= 12; ++i) {
        QCOMPARE(queue[i], before[i + 1]);
    }
    QCOMPARE(s.cptIon2, std::int16_t{0});
    if (partner) {
        QCOMPARE(queue[13], queue[12]);
    } else {
        QVERIFY(queue[13] >= s.niveau2 + 5 && queue[13] <= 474 - 5);
    }
}

void TickTest::cellProcessesByNatureAndSens_data() {
    QTest::addColumn<int>("tag1");
    QTest::addColumn<int>("tag2");
    QTest::addColumn<int>("ringsLeft"); // ring colour of slot 7, left electrode
    QTest::addColumn<int>("ringsRight");
    // 0: atom grey (dissolution), 1: copper ion, 2: zinc ion, 3: iron ion
    QTest::newRow("zinc | copper") << 3 << 1 << 0 << 1;
    QTest::newRow("copper | zinc") << 1 << 3 << 1 << 0;
    QTest::newRow("aluminium | iron") << 0 << 2 << 0 << 3;
    QTest::newRow("iron | zinc") << 2 << 3 << 3 << 0;
    QTest::newRow("zinc | aluminium") << 3 << 0 << 2 << 0;
}

void TickTest::cellProcessesByNatureAndSens() {
    QFETCH(int, tag1);
    QFETCH(int, tag2);
    QFETCH(int, ringsLeft);
    QFETCH(int, ringsRight);
    const render::Color colours[4] = {render::atomRingGrey, render::ionCuivre2, render::ionZinc2,
                                      render::ionFer2};
    Picture p;
    p.setPile(tag1, tag2);
    p.run(20);
    p.canvas().clearOps();
    p.run(1);
    std::vector<DrawOp> left;
    std::vector<DrawOp> right;
    for (const auto& op : movingCircles(p.canvas(), 5.0)) {
        if (op.width == 3) {
            (op.x1 == 118.0 ? left : right).push_back(op);
        }
    }
    QCOMPARE(left.size(), std::size_t{1});
    QCOMPARE(right.size(), std::size_t{1});
    QCOMPARE(right.front().x1, 298.0);
    QCOMPARE(left.front().color, colours[ringsLeft]);
    QCOMPARE(right.front().color, colours[ringsRight]);
}

void TickTest::scaleChangeWhilePaused() {
    Picture p;
    p.run(5);
    p.engine.Command5_Click(); // pause
    const auto seconds = p.engine.state().tempsSec;
    p.canvas().clearOps();
    p.handlers.selectOption1(1);
    QCOMPARE(p.engine.state().tempsSec, seconds);
    bool generatorDrawn = false;
    for (const auto& op : circlesOfRadius(p.canvas(), 13.0)) {
        generatorDrawn = generatorDrawn || (op.x1 == 208.0 && op.y1 == 130.0 && op.scaleTop == 90);
    }
    QVERIFY(generatorDrawn);
}

void TickTest::electronsLeaveTheAnode_data() {
    QTest::addColumn<Montage>("montage");
    QTest::addColumn<int>("tag1");
    QTest::addColumn<int>("tag2");
    QTest::addColumn<int>("anode");
    QTest::newRow("cell zinc | copper, sens +1") << Montage::Pile << 3 << 1 << 1;
    QTest::newRow("cell copper | zinc, sens -1") << Montage::Pile << 1 << 3 << 2;
    QTest::newRow("cell aluminium | iron") << Montage::Pile << 0 << 2 << 1;
    QTest::newRow("voltage generator") << Montage::Tension << 3 << 3 << 2;
    QTest::newRow("current generator") << Montage::Courant << 3 << 3 << 2;
}

// Up and out of the anode, down into the cathode: the columns inside the
// electrodes move as the cable's electrons do where the cable meets them.
void TickTest::electronsLeaveTheAnode() {
    QFETCH(Montage, montage);
    QFETCH(int, tag1);
    QFETCH(int, tag2);
    QFETCH(int, anode);
    Picture p;
    // Some 50 mA: the electrons step a few pixels per tick.
    const auto text = [&p](int box, const char* value) {
        p.handlers.setText2(box, value);
        p.handlers.Text2_LostFocus(box);
    };
    if (montage == Montage::Pile) {
        p.setPile(tag1, tag2);
        text(5, "0,1");
        text(7, "0,1");
    } else {
        p.handlers.selectOption2(montage);
        text(0, "0,005");
    }
    QVERIFY(!p.engine.state().natInvalide);
    p.run(30);
    for (int pair = 0; pair < 6; ++pair) {
        p.canvas().clearOps();
        p.run(1);
        const auto before = movingCircles(p.canvas(), 2.0);
        p.canvas().clearOps();
        p.run(1);
        const auto after = movingCircles(p.canvas(), 2.0);
        for (const int k : {1, 2}) {
            const double axis = k == 1 ? 118.0 : 298.0;
            const double down = k == anode ? -1.0 : 1.0;
            const double column = medianStepDown(before, after, [axis](const DrawOp& op) {
                return op.x1 == axis && op.y1 >= 269.0 && op.fill == render::electronColor;
            });
            // The cable just above the electrode's leg.
            const double cable = medianStepDown(before, after, [axis](const DrawOp& op) {
                return std::abs(op.x1 - axis) < 45.0 && op.y1 > 190.0 && op.y1 < 269.0;
            });
            QVERIFY2(column * down > 0.5,
                     qPrintable(QStringLiteral("electrode %1: %2 px down").arg(k).arg(column)));
            QVERIFY2(cable * down > 0.5,
                     qPrintable(QStringLiteral("cable at %1: %2 px down").arg(k).arg(cable)));
        }
    }
}

void TickTest::stateAdvancesWithoutPicture_data() {
    QTest::addColumn<Montage>("montage");
    QTest::addColumn<int>("scale");
    QTest::addColumn<int>("centiamperes");
    QTest::addColumn<bool>("jitter"); // whether the drawing draws random numbers
    QTest::newRow("cell, microscopic") << Montage::Pile << 0 << 5 << true;
    QTest::newRow("cell, macroscopic") << Montage::Pile << 1 << 5 << false;
    QTest::newRow("hydrogen and chlorine, microscopic") << Montage::Courant << 0 << 25 << true;
    QTest::newRow("bubbles, 250 mA") << Montage::Courant << 1 << 25 << true;
    QTest::newRow("few bubbles, 50 mA") << Montage::Courant << 1 << 5 << true;
    QTest::newRow("no bubbles, 40 mA") << Montage::Courant << 1 << 4 << false;
}

// The ring, the particle queues with their random heights and the counters
// advance at every tick whether a picture draws them or not; the tick skips
// exactly the draws that the drawing makes, so that both go on alike.
void TickTest::stateAdvancesWithoutPicture() {
    QFETCH(Montage, montage);
    QFETCH(int, scale);
    QFETCH(int, centiamperes);
    QFETCH(bool, jitter);
    Picture drawn;
    sim::Engine blind;
    sim::Handlers handlers(blind);
    handlers.startup();
    for (auto* h : {&drawn.handlers, &handlers}) {
        h->selectOption2(montage);
        if (montage == Montage::Pile) {
            h->selectCombo2(0, 3);
            h->selectCombo2(1, 1);
        }
        h->selectOption1(scale);
        h->setUpDown2(centiamperes);
    }
    drawn.engine.Command5_Click();
    blind.Command5_Click();
    const sim::State& a = drawn.engine.state();
    const sim::State& b = blind.state();
    std::uint64_t draws = 0;
    for (int tick = 0; tick < 400; ++tick) {
        drawn.engine.Timer1_Timer();
        blind.Timer1_Timer();
        QCOMPARE(drawn.host.movingLayer().lastDraws(), drawn.engine.frame().jitterDraws);
        draws += drawn.engine.frame().jitterDraws;
        QVERIFY(a.posY == b.posY);
        QCOMPARE(a.cptPas, b.cptPas);
        QCOMPARE(a.cptIon1, b.cptIon1);
        QCOMPARE(a.cptIon2, b.cptIon2);
        QVERIFY(sim::EngineAccess::random(drawn.engine) == sim::EngineAccess::random(blind));
    }
    QCOMPARE(draws > 0, jitter);
    // Particles came and went.
    QVERIFY(a.cptPas > 0);
}

QTEST_MAIN(TickTest)
#include "TickTest.moc"
