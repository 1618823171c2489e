// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureFixture.h"
#include "render/ElectrolysisParticles.h"
#include "render/MovingLayer.h"

#include <QTest>

using Ionaria::sim::catalogue::Montage;

using namespace Ionaria;
using render::Color;
using render::DrawOp;

namespace {

constexpr double dy = -30.0; // decalY
constexpr double foot = dy + 445.0;

// A disc as the tests write it: "x y rRADIUS fill/outline", or for a circle
// drawn without fill "x y rRADIUS ring outline wWIDTH".
QString describe(const DrawOp& op) {
    const auto rgb = [](Color c) { return QStringLiteral("%1,%2,%3").arg(c.r).arg(c.g).arg(c.b); };
    QString text = QStringLiteral("%1 %2 r%3 ")
                       .arg(QString::number(op.x1, 'g', 7), QString::number(op.y1, 'g', 7))
                       .arg(op.radius);
    if (!op.filled) {
        return text + QStringLiteral("ring ") + rgb(op.color) +
               QStringLiteral(" w%1").arg(op.width);
    }
    return text + rgb(op.fill) + '/' + rgb(op.color);
}

QStringList circles(const render::RecordingCanvas& canvas) {
    QStringList found;
    for (const auto& op : canvas.opsOf(DrawOp::Kind::Circle)) {
        found << describe(op);
    }
    return found;
}

// Both electrodes' queues hold, from slot 1 to 14, pairs of heights and
// single ones: slot 7, the surface's particle, at 355; slots 8 and 9 a pair.
constexpr std::array<std::int16_t, 15> queue = {0,   410, 410, 390, 390, 370, 370, 355,
                                                340, 340, 320, 320, 300, 300, 300};
constexpr std::int16_t surface = 290; // the liquid's surface, niveau1 and niveau2

} // namespace

// The particles of the reactions of the electrolysis at the microscopic scale,
// the ions of the salt bridge and the resistor. The expected discs were worked
// out by hand from the rules of the drawing, for the queue above, a solution
// of colour S = (60, 120, 180) and the progress 0.5 at electrode 1, 0.25 at
// electrode 2:
//   - a species of colour C blended at weight w has the fill (C w + S (6 - w))
//     / 6 and the outline S (6 - w) / 6, halves rounded to even;
//   - electrode 1 (x = 118) takes ions from its right: x = 118 - h ((7 - j) +
//     0.5) for slot j, h = 9 for one-electron ions, 18 for copper; the second
//     ion of a pair (slot j as high as slot j - 1) comes from the left, x =
//     118 + h ((7 - j) + 0.5);
//   - electrode 2 (x = 298) sends the ions it forms to its left, x = 298 - h
//     ((6 - i) + 0.25), h = 18, or 27 for aluminium; water's ions leave on
//     both sides;
//   - a molecule of gas formed at slot i (slot i not as high as slot i + 1)
//     climbs to the surface in six events: yc = y - ((6 - i) + progress) (y -
//     290) / 6, oxygen twice as fast;
//   - the surface's particle is a ring of radius 5 and width 3 at slot 7.
class ParticlesTest : public QObject {
    Q_OBJECT

private slots:
    void electrolysis_data();
    void electrolysis();
    void bridgeIons_data();
    void bridgeIons();
    void resistorBySens_data();
    void resistorBySens();
    void generatorBySens_data();
    void generatorBySens();
};

void ParticlesTest::electrolysis_data() {
    QTest::addColumn<int>("electrode");
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("discs");
    QTest::newRow("1, 6: Fe3+ reduced")
        << 1 << 6
        << QStringList{// Fe3+ arriving from the right, fading from slot 8
                       "122.5 340 r5 255,180,0/0,0,0", "131.5 340 r5 222,170,30/10,20,30",
                       "140.5 320 r5 190,160,60/20,40,60", "149.5 320 r5 158,150,90/30,60,90",
                       "158.5 300 r5 125,140,120/40,80,120", "167.5 300 r5 92,130,150/50,100,150",
                       // Fe2+ leaving to the left, pure at slot 6
                       "68.5 410 r5 50,142,180/50,100,150", "77.5 410 r5 40,165,180/40,80,120",
                       "86.5 390 r5 30,188,180/30,60,90", "95.5 390 r5 20,210,180/20,40,60",
                       "104.5 370 r5 10,232,180/10,20,30", "113.5 370 r5 0,255,180/0,0,0",
                       "118 355 r5 ring 255,180,0 w3"};
    QTest::newRow("1, 10: Cu2+ reduced")
        << 1 << 10
        << QStringList{// copper deposited on the electrode, from (255, 200, 150) to
                       // (255, 180, 0), its outline darkening towards the surface
                       "118 390 r5 255,193,100/170,133,100", "118 370 r5 255,187,50/85,67,50",
                       "118 370 r5 255,180,0/0,0,0",
                       // Cu2+ arriving from the right, 18 pixels a step
                       "127 340 r5 0,180,255/0,0,0", "145 340 r5 20,160,230/20,40,60",
                       "163 320 r5 40,140,205/40,80,120", "118 355 r5 ring 0,180,255 w3"};
    QTest::newRow("1, 3: H+ reduced")
        << 1 << 3
        << QStringList{// H+ pairs: the first from the right, its partner from the left
                       "122.5 340 r4 255,0,255/0,0,0", "104.5 340 r4 222,20,242/10,20,30",
                       "140.5 320 r4 190,40,230/20,40,60", "86.5 320 r4 158,60,218/30,60,90",
                       "158.5 300 r4 125,80,205/40,80,120", "68.5 300 r4 92,100,192/50,100,150",
                       "118 355 r5 ring 255,0,255 w3",
                       // H2 molecules of slots 2, 4 and 6 climbing: yc = 320, 348.33,
                       // 363.33; two atoms 8 above and below, two electrons 2
                       "118 312 r4 255,0,255/0,0,0", "118 328 r4 255,0,255/0,0,0",
                       "118 318 r2 0,255,180/0,0,0", "118 322 r2 0,255,180/0,0,0",
                       "118 340.3333 r4 255,0,255/0,0,0", "118 356.3333 r4 255,0,255/0,0,0",
                       "118 346.3333 r2 0,255,180/0,0,0", "118 350.3333 r2 0,255,180/0,0,0",
                       "118 355.3333 r4 255,0,255/0,0,0", "118 371.3333 r4 255,0,255/0,0,0",
                       "118 361.3333 r2 0,255,180/0,0,0", "118 365.3333 r2 0,255,180/0,0,0"};
    QTest::newRow("2, 13: aluminium anode")
        << 2 << 13
        << QStringList{// two Al3+ of weights 2 and 5 (of 6), 27 pixels a step
                       "264.25 370 r5 110,137,177/40,80,120", "291.25 370 r5 185,162,172/10,20,30",
                       "298 355 r5 ring 100,100,100 w3"};
    QTest::newRow("2, 16: zinc anode")
        << 2 << 16
        << QStringList{"257.5 390 r5 110,150,177/40,80,120", "275.5 370 r5 160,180,173/20,40,60",
                       "293.5 370 r5 210,210,170/0,0,0", "298 355 r5 ring 100,100,100 w3"};
    QTest::newRow("2, 15: iron anode")
        << 2 << 15
        << QStringList{"257.5 390 r5 40,165,180/40,80,120", "275.5 370 r5 20,210,180/20,40,60",
                       "293.5 370 r5 0,255,180/0,0,0", "298 355 r5 ring 100,100,100 w3"};
    QTest::newRow("2, 14: copper anode")
        << 2 << 14
        << QStringList{"257.5 390 r5 40,140,205/40,80,120", "275.5 370 r5 20,160,230/20,40,60",
                       "293.5 370 r5 0,180,255/0,0,0", "298 355 r5 ring 200,150,0 w3"};
    QTest::newRow("2, 1: Cl- oxidised")
        << 2 << 1
        << QStringList{// Cl- pairs: from the right of the anode, then its partner
                       // from the left (the anode's right is x > 298)
                       "304.75 340 r4 240,255,0/0,0,0", "282.25 340 r4 210,232,30/10,20,30",
                       "322.75 320 r4 180,210,60/20,40,60", "264.25 320 r4 150,188,90/30,60,90",
                       "340.75 300 r4 120,165,120/40,80,120", "246.25 300 r4 90,142,150/50,100,150",
                       "298 355 r5 ring 240,255,0 w3",
                       // Cl2 of slots 2, 4 and 6: yc = 325, 352.5, 366.67
                       "298 325 r9 180,255,0/0,0,0", "298 352.5 r9 180,255,0/0,0,0",
                       "298 366.6667 r9 180,255,0/0,0,0"};
    QTest::newRow("2, 11: water oxidised")
        << 2 << 11
        << QStringList{// H+ leaving on both sides, 18 pixels a step
                       "257.5 390 r4 125,80,205/40,80,120", "338.5 390 r4 125,80,205/40,80,120",
                       "275.5 370 r4 190,40,230/20,40,60", "320.5 370 r4 190,40,230/20,40,60",
                       "293.5 370 r4 255,0,255/0,0,0", "302.5 370 r4 255,0,255/0,0,0",
                       "298 355 r5 ring 155,205,255 w3",
                       // O2 of slots 4 and 6, twice as fast: yc = 348.33, 363.33
                       "298 348.3333 r9 255,0,0/0,0,0", "298 363.3333 r9 255,0,0/0,0,0"};
}

void ParticlesTest::electrolysis() {
    QFETCH(int, electrode);
    QFETCH(int, code);
    QFETCH(QStringList, discs);
    Picture p;
    sim::State& s = p.state();
    s.posY[1] = queue;
    s.posY[2] = queue;
    s.niveau1 = surface;
    s.niveau2 = surface;
    s.rougeSol1 = 60;
    s.vertSol1 = 120;
    s.bleuSol1 = 180;
    // An acid vessel: the cathode's code 3 reduces H+, not water.
    s.quantite[3] = 0.01;
    // The other electrode's code draws nothing.
    s.espece[1] = static_cast<std::int16_t>(electrode == 1 ? code : 0);
    s.espece[2] = static_cast<std::int16_t>(electrode == 2 ? code : 0);
    render::ElectrolysisParticles particles(p.canvas(), p.engine);
    base::Random jitter;
    p.canvas().setFillStyle(render::FillStyle::Solid);
    p.canvas().clearOps();
    QCOMPARE(particles.draw(0.5, 0.25, jitter), std::uint64_t{0});
    QCOMPARE(circles(p.canvas()), discs);
    // At the macroscopic scale only gases show, as bubbles.
    p.store().Option1 = 1;
    p.canvas().clearOps();
    particles.draw(0.5, 0.25, jitter);
    for (const auto& op : p.canvas().opsOf(DrawOp::Kind::Circle)) {
        QCOMPARE(op.radius, 3.0);
    }
    QCOMPARE(p.canvas().opsOf(DrawOp::Kind::Circle).empty(), code != 3 && code != 1 && code != 11);
}

// The salt bridge's ions at the phases 0.19 and 0.24 of the ring, worked out
// by hand: the ion of angle g is at x = 43 cos(g) sens + 208, y = 171 sin(g) +
// 415, for g from 3.28 to 6.48; potassium (255, 100, 100) of radius 4 at x,
// sulfate (255, 255, 200) of radius 7 at 416 - x, one in two. Below the
// plug's top, y = 415, an ion takes over the last 35 pixels the colour of the
// solution it enters: (c (35 - d) + cs d) / 35 at depth d. Half-cell 1 is
// blue (0, 0, 255), half-cell 2 green (0, 255, 0); potassium enters the
// half-cell the current goes to: 2 for sens = 1, 1 for sens = -1.
void ParticlesTest::bridgeIons_data() {
    QTest::addColumn<int>("sens");
    QTest::addColumn<double>("phase");
    QTest::addColumn<QStringList>("entering");
    QTest::newRow("sens 1, 10 px deep")
        << 1 << 0.19
        << QStringList{"251 425 r4 182,144,71/182,144,71", "165 425 r7 182,182,216/182,182,216"};
    QTest::newRow("sens 1, 19 px deep")
        << 1 << 0.24
        << QStringList{"251 434 r4 117,184,46/117,184,46", "165 434 r7 117,117,230/117,117,230"};
    QTest::newRow("sens -1, 10 px deep")
        << -1 << 0.19
        << QStringList{"165 425 r4 182,71,144/182,71,144", "251 425 r7 182,255,143/182,255,143"};
    QTest::newRow("sens -1, 19 px deep")
        << -1 << 0.24
        << QStringList{"165 434 r4 117,46,184/117,46,184", "251 434 r7 117,255,91/117,255,91"};
}

void ParticlesTest::bridgeIons() {
    QFETCH(int, sens);
    QFETCH(double, phase);
    QFETCH(QStringList, entering);
    Picture p;
    p.setPile(3, 1);
    sim::State& s = p.state();
    s.rougeSol2 = 0;
    s.vertSol2 = 0;
    s.bleuSol2 = 255;
    s.rougeSol3 = 0;
    s.vertSol3 = 255;
    s.bleuSol3 = 0;
    QVERIFY(s.intensite != 0.0F);
    sim::Frame frame;
    frame.valid = true;
    frame.ringPeriod = 100.0;
    frame.sens = sens;
    frame.phase = phase;
    render::MovingLayer layer(p.canvas(), p.engine);
    p.canvas().clearOps();
    layer.draw(frame);
    QStringList below;
    int above = 0;
    for (const auto& op : p.canvas().opsOf(DrawOp::Kind::Circle)) {
        if (op.radius != 4.0 && op.radius != 7.0) {
            continue;
        }
        if (op.y1 > foot) {
            below << describe(op);
        } else {
            // Above the plugs an ion keeps its own colour.
            const Color own = op.radius == 4.0 ? Color{255, 100, 100} : Color{255, 255, 200};
            QCOMPARE(op.fill, own);
            ++above;
        }
    }
    QCOMPARE(below, entering);
    QVERIFY(above > 20);
}

// The resistor and, at the macroscopic scale while a current flows, the arrow
// of the current: ">" when it runs from electrode 2 to electrode 1 (sens =
// -1), "<" the other way.
void ParticlesTest::resistorBySens_data() {
    QTest::addColumn<bool>("macro");
    QTest::addColumn<int>("sens");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("microscopic, sens 1") << false << 1 << QStringList{"R 200,41 12 pt"};
    QTest::newRow("microscopic, sens -1") << false << -1 << QStringList{"R 200,41 12 pt"};
    QTest::newRow("macroscopic, sens 1")
        << true << 1 << QStringList{"R 202,122 10 pt", "< 260,122 10 pt", "I 262,110 10 pt italic"};
    QTest::newRow("macroscopic, sens -1")
        << true << -1
        << QStringList{"R 202,122 10 pt", "> 260,122 10 pt", "I 262,110 10 pt italic"};
}

void ParticlesTest::resistorBySens() {
    QFETCH(bool, macro);
    QFETCH(int, sens);
    QFETCH(QStringList, texts);
    Picture p;
    p.setPile(3, 1);
    p.store().Option1 = macro ? 1 : 0;
    sim::Frame frame;
    frame.valid = true;
    frame.ringPeriod = 100.0;
    frame.sens = sens;
    render::MovingLayer layer(p.canvas(), p.engine);
    p.canvas().clearOps();
    layer.draw(frame);
    QStringList drawn;
    for (const auto& op : p.canvas().opsOf(DrawOp::Kind::Text)) {
        if (op.text != "G" && op.text != "D") {
            drawn << QStringLiteral("%1 %2,%3 %4 pt%5")
                         .arg(QString::fromStdString(op.text))
                         .arg(op.x1)
                         .arg(op.y1)
                         .arg(op.fontSize)
                         .arg(op.font.italic ? " italic" : "");
        }
    }
    QCOMPARE(drawn, texts);
    // The resistor's box: (178, 40)-(238, 60) with a pen of 2 pixels, or
    // (188, 123)-(228, 137) with a pen of 1.
    const auto boxes = p.canvas().opsOf(DrawOp::Kind::Box);
    const bool found = std::any_of(boxes.begin(), boxes.end(), [macro](const DrawOp& op) {
        return macro ? op.x1 == 188 && op.y1 == dy + 153 && op.x2 == 228 && op.y2 == dy + 167 &&
                           op.width == 1
                     : op.x1 == 178 && op.y1 == dy + 70 && op.x2 == 238 && op.y2 == dy + 90 &&
                           op.width == 2;
    });
    QVERIFY(found);
}

// The generator's symbol: a circle with a stroke across it for a voltage
// generator, along the wire for a current generator; at the macroscopic scale
// smaller, lower, with the arrow of its current; its poles at every scale, the
// negative one on the side of electrode G. The arrow is the
// generator's own and does not turn with the direction of the current.
void ParticlesTest::generatorBySens_data() {
    QTest::addColumn<Montage>("montage");
    QTest::addColumn<bool>("macro");
    QTest::addColumn<int>("sens");
    QTest::addColumn<QStringList>("drawn");
    for (const int sens : {1, -1}) {
        QTest::addRow("voltage, microscopic, sens %d", sens)
            << Montage::Tension << false << sens
            << QStringList{"circle 208,50 r20 w2", "line 188,50-228,50 w2", "– 176,18 10 pt",
                           "+ 232,19 10 pt"};
        QTest::addRow("current, microscopic, sens %d", sens)
            << Montage::Courant << false << sens
            << QStringList{"circle 208,50 r20 w2", "line 208,30-208,70 w2", "– 176,18 10 pt",
                           "+ 232,19 10 pt"};
        QTest::addRow("voltage, macroscopic, sens %d", sens)
            << Montage::Tension << true << sens
            << QStringList{"circle 208,130 r13 w1", "line 195,130-221,130 w1", "– 185,112 10 pt",
                           "+ 224,113 10 pt"};
        QTest::addRow("current, macroscopic, sens %d", sens)
            << Montage::Courant << true << sens
            << QStringList{"circle 208,130 r13 w1", "line 208,117-208,143 w1",
                           "– 185,112 10 pt",       "+ 224,113 10 pt",
                           "> 260,122 10 pt",       "I 262,110 10 pt italic"};
    }
}

void ParticlesTest::generatorBySens() {
    QFETCH(Montage, montage);
    QFETCH(bool, macro);
    QFETCH(int, sens);
    QFETCH(QStringList, drawn);
    Picture p;
    p.handlers.selectOption2(montage);
    p.store().Option1 = macro ? 1 : 0;
    sim::Frame frame;
    frame.valid = true;
    frame.ringPeriod = 100.0;
    frame.sens = sens;
    render::MovingLayer layer(p.canvas(), p.engine);
    p.canvas().clearOps();
    layer.draw(frame);
    // What lies within the generator's circle, and the texts but the labels
    // of the electrodes.
    QStringList found;
    const double centre = macro ? dy + 160.0 : dy + 80.0;
    const double radius = macro ? 13.0 : 20.0;
    const auto inside = [&](double x, double y) {
        return std::abs(x - 208.0) <= radius && std::abs(y - centre) <= radius;
    };
    for (const auto& op : p.canvas().ops()) {
        if (op.kind == DrawOp::Kind::Circle && op.radius == radius) {
            found << QStringLiteral("circle %1,%2 r%3 w%4")
                         .arg(op.x1)
                         .arg(op.y1)
                         .arg(op.radius)
                         .arg(op.width);
        } else if (op.kind == DrawOp::Kind::Line && inside(op.x1, op.y1) && inside(op.x2, op.y2)) {
            found << QStringLiteral("line %1,%2-%3,%4 w%5")
                         .arg(op.x1)
                         .arg(op.y1)
                         .arg(op.x2)
                         .arg(op.y2)
                         .arg(op.width);
        } else if (op.kind == DrawOp::Kind::Text && op.text != "G" && op.text != "D") {
            found << QStringLiteral("%1 %2,%3 %4 pt%5")
                         .arg(QString::fromStdString(op.text))
                         .arg(op.x1)
                         .arg(op.y1)
                         .arg(op.fontSize)
                         .arg(op.font.italic ? " italic" : "");
        }
    }
    QCOMPARE(found, drawn);
}

QTEST_MAIN(ParticlesTest)
#include "ParticlesTest.moc"
