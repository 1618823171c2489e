// SPDX-License-Identifier: GPL-3.0-or-later
#include "SceneFixture.h"
#include "render/RecordingCanvas.h"

#include <QDir>
#include <QTest>

#include <algorithm>
#include <cmath>

using Ionaria::sim::catalogue::Montage;

using Ionaria::render::DrawOp;
using Ionaria::render::RecordingCanvas;

namespace {

// The montage's vertical offset: every y below is decalY plus the picture's
// own figure.
constexpr double dy = -30.0;

int count(const std::vector<DrawOp>& ops, const std::function<bool(const DrawOp&)>& keep) {
    return static_cast<int>(std::count_if(ops.begin(), ops.end(), keep));
}

bool circleOf(const DrawOp& op, double radius) {
    return op.kind == DrawOp::Kind::Circle && op.radius == radius;
}

// On the ellipse of centre (cx, cy) and semi-axes a, b, within a pixel.
bool onEllipse(const DrawOp& op, double cx, double cy, double a, double b) {
    const double x = (op.x1 - cx) / a;
    const double y = (op.y1 - cy) / b;
    return std::fabs(std::sqrt(x * x + y * y) - 1.0) < 1.5 / std::min(a, b);
}

bool printed(const std::vector<DrawOp>& ops, const char* text) {
    return count(ops, [text](const DrawOp& op) {
               return op.kind == DrawOp::Kind::Text && op.text == text;
           }) > 0;
}

} // namespace

// The scenes of the experiment drawn whole through the engine's tick, after
// 200 simulated seconds: each shows the elements of its montage and its
// scale, and none of the others'. With IONARIA_PNG_DIR set, each frame is
// also written there to be looked at.
class ScenesTest : public QObject {
    Q_OBJECT

private:
    static void save(const Scene& scene, const char* name) {
        const QString dir = qEnvironmentVariable("IONARIA_PNG_DIR");
        if (!dir.isEmpty()) {
            QVERIFY(scene.picture.writePng(QDir(dir).filePath(QString::fromLatin1(name) + ".png")));
        }
    }

private slots:
    void scenes_data();
    void scenes();
    void refused();
};

void ScenesTest::scenes_data() {
    QTest::addColumn<Montage>("montage");
    QTest::addColumn<bool>("macro");
    QTest::newRow("pile-micro") << Montage::Pile << false;
    QTest::newRow("pile-macro") << Montage::Pile << true;
    QTest::newRow("tension-micro") << Montage::Tension << false;
    QTest::newRow("tension-macro") << Montage::Tension << true;
    QTest::newRow("courant-micro") << Montage::Courant << false;
    QTest::newRow("courant-macro") << Montage::Courant << true;
}

void ScenesTest::scenes() {
    QFETCH(Montage, montage);
    QFETCH(bool, macro);
    auto recording = std::make_unique<RecordingCanvas>();
    RecordingCanvas* canvas = recording.get();
    Scene scene(std::move(recording));
    scene.setMontage(montage);
    const bool pile = montage == Montage::Pile;
    if (pile) {
        scene.handlers.selectCombo2(0, 3); // zinc, the anode
        scene.handlers.selectCombo2(1, 1); // copper
    }
    scene.setMacro(macro);
    scene.run(199);
    canvas->clearOps();
    scene.run(1);
    save(scene, QTest::currentDataTag());
    QVERIFY(scene.picture.Frame1Visible());
    QVERIFY(scene.engine.state().intensite > 0.0F);
    const std::vector<DrawOp> tick = canvas->ops();
    canvas->clearOps();
    scene.engine.fondschema();
    const std::vector<DrawOp> background = canvas->ops();

    // The background: the salt bridge's arcs (from 18 to 4 pixels wide,
    // around (208, decalY + 445), radius 171) in the cell only; the meters at
    // the macroscopic scale only.
    QCOMPARE(count(background,
                   [](const DrawOp& op) {
                       return op.kind == DrawOp::Kind::Arc && op.x1 == 208.0 &&
                              op.y1 == dy + 445.0 && op.radius == 171.0;
                   }),
             pile ? 15 : 0);
    for (const char* meter : {"A", "V", "COM"}) {
        QCOMPARE(printed(background, meter), macro);
    }

    // The electron ring, 169 pixels around (208, decalY + 198) with the
    // aspect 0.7, at the microscopic scale only; 50 electrons a turn less the
    // arc between the electrodes.
    const int ring = count(tick, [](const DrawOp& op) {
        return circleOf(op, 2.0) && onEllipse(op, 208.0, dy + 198.0, 169.0, 169.0 * 0.7);
    });
    QVERIFY2(macro ? ring == 0 : ring >= 30, qPrintable(QString::number(ring)));
    // The salt-bridge ions ride 43 by 171 pixels around (208, decalY + 445):
    // potassium of radius 4, sulfate of radius 7, in their own colours until
    // they near the solutions; in the cell at the microscopic scale only.
    const std::pair<double, Ionaria::render::Color> bridgeIons[] = {{4.0, {255, 100, 100}},
                                                                    {7.0, {255, 255, 200}}};
    for (const auto& [radius, colour] : bridgeIons) {
        const int ions = count(tick, [radius = radius, colour = colour](const DrawOp& op) {
            return circleOf(op, radius) && op.fill == colour &&
                   onEllipse(op, 208.0, dy + 445.0, 43.0, 171.0);
        });
        QVERIFY2(pile && !macro ? ions > 3 : ions == 0, qPrintable(QString::number(ions)));
    }
    // Gas bubbles (radius 3) along the electrodes of the macroscopic
    // electrolysis: hydrogen at G, chlorine at D.
    const int bubbles = count(tick, [](const DrawOp& op) { return circleOf(op, 3.0); });
    QVERIFY2(!pile && macro ? bubbles > 4 : bubbles == 0, qPrintable(QString::number(bubbles)));

    // The generator or the resistor at the top of the circuit.
    const double symbolY = macro ? dy + 160.0 : dy + 80.0;
    const double symbolRadius = macro ? 13.0 : 20.0;
    QCOMPARE(count(tick,
                   [&](const DrawOp& op) {
                       return circleOf(op, symbolRadius) && op.x1 == 208.0 && op.y1 == symbolY;
                   }),
             pile ? 0 : 1);
    // Across the generator's circle, a horizontal stroke for the voltage
    // generator, a vertical one for the current generator.
    const double half = symbolRadius;
    const bool across = count(tick, [&](const DrawOp& op) {
                            return op.kind == DrawOp::Kind::Line && op.x1 == 208.0 - half &&
                                   op.x2 == 208.0 + half && op.y1 == symbolY && op.y2 == symbolY;
                        }) == 1;
    const bool upright = count(tick, [&](const DrawOp& op) {
                             return op.kind == DrawOp::Kind::Line && op.x1 == 208.0 &&
                                    op.x2 == 208.0 && op.y1 == symbolY - half &&
                                    op.y2 == symbolY + half;
                         }) == 1;
    QCOMPARE(across, montage == Montage::Tension);
    QCOMPARE(upright, montage == Montage::Courant);
    const bool resistorBox = count(tick, [&](const DrawOp& op) {
                                 return op.kind == DrawOp::Kind::Box &&
                                        op.x1 == (macro ? 188 : 178) &&
                                        op.y1 == (macro ? dy + 153 : dy + 70);
                             }) == 1;
    QCOMPARE(resistorBox, pile);
    QCOMPARE(printed(tick, "R"), pile);
    // Both generators show their polarity, at both scales.
    QCOMPARE(printed(tick, "+") && printed(tick, "–"), !pile);
    QCOMPARE(printed(tick, "I"), macro && montage != Montage::Tension);

    // The terminals at every tick; the state report at the macroscopic scale,
    // with the mass of both electrodes and the half-equations.
    QVERIFY(printed(tick, "G") && printed(tick, "D"));
    QCOMPARE(count(tick, [](const DrawOp& op) { return op.text == "m"; }), macro ? 2 : 0);
    QCOMPARE(printed(tick, "→") || printed(tick, "→ "), macro);
}

void ScenesTest::refused() {
    auto recording = std::make_unique<RecordingCanvas>();
    RecordingCanvas* canvas = recording.get();
    Scene scene(std::move(recording));
    scene.handlers.selectCombo1(0); // hydrochloric acid
    canvas->clearOps();
    scene.handlers.selectCombo2(0, 4); // zinc: it reacts with the acid by itself
    QVERIFY(scene.engine.state().natInvalide);
    QVERIFY(printed(canvas->ops(), "Réaction spontanée à la surface des électrodes :"));
    QVERIFY(printed(canvas->ops(), "modifier la nature des électrodes ou l'électrolyte."));
    canvas->clearOps();
    scene.run(5);
    save(scene, "refused");
    QVERIFY(!scene.picture.Frame1Visible());
    // The ticks of a refused montage draw nothing: its message stays.
    QVERIFY(canvas->ops().empty());
}

QTEST_MAIN(ScenesTest)
#include "ScenesTest.moc"
