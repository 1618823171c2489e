// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/Schematic.h"
#include "PictureFixture.h"
#include "render/SolutionColor.h"
#include "sim/Catalogue.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <utility>

using Ionaria::sim::catalogue::Montage;

namespace cat = Ionaria::sim::catalogue;

using namespace Ionaria;
using render::Color;
using render::DrawOp;

Q_DECLARE_METATYPE(Ionaria::render::Color)

namespace {

// The black outline of electrode k's bar, as recorded.
const DrawOp* barOutline(const render::RecordingCanvas& c, int k) {
    const double axis = k == 1 ? 117.5 : 297.5;
    const DrawOp* found = nullptr;
    for (const auto& op : c.ops()) {
        if (op.kind == DrawOp::Kind::Box && op.color == render::black && op.y2 == 473.0 &&
            std::fabs((op.x1 + op.x2) / 2.0 - axis) < 0.01) {
            found = &op;
        }
    }
    return found;
}

// A surface that draws nothing, for the colours that the drawing works out.
class BlindCanvas : public render::Canvas {
public:
    int scaleWidth() const override { return 417; }
    int scaleHeight() const override { return 497; }
    void line(double, double, double, double, Color) override {}
    void box(double, double, double, double, Color) override {}
    void fillBox(double, double, double, double, Color) override {}
    using Canvas::circle;
    void circle(double, double, double, Color) override {}
    void arc(double, double, double, double, double, double, Color) override {}
    void setFontName(std::string_view) override {}
    void setFontSize(double) override {}
    void setFontBold(bool) override {}
    void setFontItalic(bool) override {}
    double fontSize() const override { return 8.0; }
    bool fontBold() const override { return false; }
    bool fontItalic() const override { return false; }
    double textWidth(std::string_view) const override { return 0.0; }
    double textHeight(std::string_view) const override { return 12.0; }
    void print(std::string_view) override {}
    void cls() override {}
    void clearPicture() override {}
    void makeBackground() override {}
};

// The colour of a solution as the drawing would give it after every step,
// and the largest change of a component from one step to the next.
class ColourWatch : public sim::StepObserver {
public:
    ColourWatch(sim::Engine& engine, int solution)
        : m_schematic(m_canvas, engine, sim::EngineAccess::feedback(engine)), m_engine(engine),
          m_solution(solution) {
        m_last = colour();
    }
    void stepDone(bool) override {
        const Color now = colour();
        m_largest = std::max({m_largest, std::abs(now.r - m_last.r), std::abs(now.g - m_last.g),
                              std::abs(now.b - m_last.b)});
        m_last = now;
        ++m_steps;
    }
    int largest() const { return m_largest; }
    int steps() const { return m_steps; }
    Color last() const { return m_last; }

private:
    Color colour() {
        m_schematic.electrodes();
        const auto& s = m_engine.state();
        switch (m_solution) {
        case 2:
            return {s.rougeSol2, s.vertSol2, s.bleuSol2};
        case 3:
            return {s.rougeSol3, s.vertSol3, s.bleuSol3};
        default:
            return {s.rougeSol1, s.vertSol1, s.bleuSol1};
        }
    }

    BlindCanvas m_canvas;
    render::Schematic m_schematic;
    sim::Engine& m_engine;
    int m_solution;
    Color m_last;
    int m_largest = 0;
    int m_steps = 0;
};

} // namespace

class SchematicTest : public QObject {
    Q_OBJECT

private slots:
    void gradientRows_data();
    void gradientRows();
    void vesselAndTerminals_data();
    void vesselAndTerminals();
    void barWidth_data();
    void barWidth();
    void solutionRule_data();
    void solutionRule();
    void ironColoursChangeSmoothly_data();
    void ironColoursChangeSmoothly();
    void solutionColourInPicture_data();
    void solutionColourInPicture();
    void electrodeColour_data();
    void electrodeColour();
    void legendRows_data();
    void legendRows();
    void refusedMontageDrawsNothing();
    void natureMessageCentred();
    void negativeMassesCleared();
};

void SchematicTest::gradientRows_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<Color>("expected");
    QTest::newRow("top") << 0 << Color{255, 200, 155};
    QTest::newRow("middle") << 248 << Color{255, 227, 205};
    QTest::newRow("bottom") << 496 << Color{255, 255, 255};
}

void SchematicTest::gradientRows() {
    QFETCH(int, row);
    QFETCH(Color, expected);
    for (const int scale : {0, 1}) {
        Picture p;
        p.handlers.selectOption1(scale);
        QCOMPARE(p.at(3, row), expected);
        QCOMPARE(p.at(414, row), expected);
    }
}

void SchematicTest::vesselAndTerminals_data() {
    QTest::addColumn<Montage>("montage");
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("volume");
    QTest::addColumn<int>("scale");
    QTest::addColumn<int>("niveau");
    QTest::newRow("electrolysis 500 mL") << Montage::Tension << 1 << "500" << 0 << 324;
    QTest::newRow("electrolysis 350 mL") << Montage::Tension << 1 << "350" << 0 << 369;
    QTest::newRow("electrolysis 200 mL macro") << Montage::Tension << 1 << "200" << 1 << 414;
    QTest::newRow("half-cell 200 mL") << Montage::Pile << 6 << "200" << 0 << 324;
    QTest::newRow("half-cell 80 mL macro") << Montage::Pile << 6 << "80" << 1 << 414;
}

void SchematicTest::vesselAndTerminals() {
    QFETCH(Montage, montage);
    QFETCH(int, box);
    QFETCH(QString, volume);
    QFETCH(int, scale);
    QFETCH(int, niveau);
    Picture p;
    if (montage == Montage::Pile) {
        p.setPile(3, 1);
    }
    p.handlers.selectOption1(scale);
    p.handlers.setText2(box, volume.toStdString());
    p.handlers.Text2_LostFocus(box);
    QCOMPARE(static_cast<int>(p.engine.state().niveau1), niveau);
    const int top = scale == 1 ? 90 : 0;
    const auto at = [&](int x, int y) { return p.at(x, y - top); };
    QCOMPARE(at(48, 300), render::black);        // left wall
    QCOMPARE(at(48, 473), render::black);        // down to the bottom
    QVERIFY(at(48, 288) != render::black);       // walls rise to 290
    QCOMPARE(at(100, 474), render::black);       // bottom
    QCOMPARE(at(60, niveau - 1), render::black); // surface
    QVERIFY(at(60, niveau) != render::black);
    const int rightWall = montage == Montage::Pile ? 188 : 368;
    QCOMPARE(at(rightWall, 400), render::black);
    QCOMPARE(at(111, niveau - 20), (Color{0, 100, 180}));
    QCOMPARE(at(108, niveau - 20), (Color{100, 150, 250}));
    QCOMPARE(at(128, niveau - 20), (Color{0, 50, 100}));
    QCOMPARE(at(105, niveau - 10), render::black);
    const int niveau2 = p.engine.state().niveau2;
    QCOMPARE(at(291, niveau2 - 20), (Color{255, 150, 0}));
    QCOMPARE(at(288, niveau2 - 20), (Color{255, 200, 150}));
}

void SchematicTest::barWidth_data() {
    QTest::addColumn<Montage>("montage");
    QTest::addColumn<QString>("mass");
    QTest::addColumn<double>("halfWidth");
    QTest::newRow("10 g, full vessel") << Montage::Tension << "10" << 2.0 * std::sqrt(10.0);
    QTest::newRow("50 g, full vessel") << Montage::Tension << "50" << 2.0 * std::sqrt(50.0);
    QTest::newRow("100 g, full vessel") << Montage::Tension << "100" << 20.0;
    QTest::newRow("10 g, 80 mL half-cell") << Montage::Pile << "10" << 10.0;
}

void SchematicTest::barWidth() {
    QFETCH(Montage, montage);
    QFETCH(QString, mass);
    QFETCH(double, halfWidth);
    Picture p;
    if (montage == Montage::Pile) {
        p.setPile(3, 1);
        p.handlers.setText2(cat::Text2VolumeG, "80");
        p.handlers.Text2_LostFocus(cat::Text2VolumeG);
    }
    p.handlers.setText2(cat::Text2MasseG, mass.toStdString());
    p.handlers.Text2_LostFocus(cat::Text2MasseG);
    const DrawOp* outline = barOutline(p.canvas(), 1);
    QVERIFY(outline != nullptr);
    QCOMPARE(outline->x1, 117.0 - halfWidth);
    QCOMPARE(outline->x2, 118.0 + halfWidth);
    QCOMPARE(outline->y1, static_cast<double>(p.engine.state().niveau1));
    QCOMPARE(outline->y2, 473.0);
    const Color bar = p.at(static_cast<int>(118 + halfWidth) - 1, 440);
    const Color outside = p.at(static_cast<int>(118 + halfWidth) + 2, 440);
    QVERIFY(bar != outside);
}

void SchematicTest::solutionRule_data() {
    QTest::addColumn<int>("ion");
    QTest::addColumn<double>("amount");
    QTest::addColumn<double>("volume");
    QTest::addColumn<Color>("expected");
    const auto cu = static_cast<int>(render::ColoredIon::Cuivre2);
    const auto fe2 = static_cast<int>(render::ColoredIon::Fer2);
    const auto fe3 = static_cast<int>(render::ColoredIon::Fer3);
    QTest::newRow("copper 0.1 mol/L") << cu << 0.02 << 200.0 << Color{45, 170, 250};
    QTest::newRow("copper 1 mol/L") << cu << 0.2 << 200.0 << Color{2, 22, 250};
    QTest::newRow("copper above 1 mol/L") << cu << 1.0 << 200.0 << Color{2, 22, 250};
    QTest::newRow("no copper") << cu << 0.0 << 200.0 << Color{230, 240, 250};
    QTest::newRow("iron(II) 1 mol/L") << fe2 << 0.5 << 500.0 << Color{21, 240, 22};
    QTest::newRow("iron(III) 1 mol/L") << fe3 << 0.5 << 500.0 << Color{230, 139, 2};
    // From 0.01 mol/L on the iron tints are whole; below, they fade out.
    QTest::newRow("iron(III) 0.01 mol/L") << fe3 << 0.005 << 500.0 << Color{230, 176, 95};
    QTest::newRow("iron(II) 0.01 mol/L") << fe2 << 0.002 << 200.0 << Color{163, 240, 170};
    QTest::newRow("iron(III) 5E-05 mol/L") << fe3 << 0.00001 << 200.0 << Color{230, 240, 250};
    QTest::newRow("iron(II) 1E-05 mol/L") << fe2 << 0.000002 << 200.0 << Color{230, 240, 250};
    QTest::newRow("volume zero") << cu << 0.02 << 0.0 << Color{230, 240, 250};
    QTest::newRow("negative amount") << cu << -0.5 << 200.0 << Color{230, 240, 250};
}

void SchematicTest::solutionRule() {
    QFETCH(int, ion);
    QFETCH(double, amount);
    QFETCH(double, volume);
    QFETCH(Color, expected);
    render::SolutionColor c;
    c.apply(static_cast<render::ColoredIon>(ion), amount, volume);
    QCOMPARE((Color{c.r, c.g, c.b}), expected);
}

void SchematicTest::ironColoursChangeSmoothly_data() {
    QTest::addColumn<Montage>("montage");
    QTest::addColumn<QString>("concentration");
    QTest::addColumn<QString>("volume");
    QTest::addColumn<int>("setting"); // generator current in cA, or voltage in dV
    QTest::addColumn<int>("seconds");
    // The iron(III) of the exercise is reduced to iron(II), then gone.
    QTest::newRow("0,01 mol/L, 50 mA") << Montage::Courant << "0,01"
                                       << "200" << 5 << 7800;
    QTest::newRow("1E-05 mol/L, 250 mA") << Montage::Courant << "0,00001"
                                         << "200" << 25 << 60;
    QTest::newRow("0,005 mol/L, 250 mA") << Montage::Courant << "0,005"
                                         << "200" << 25 << 1600;
    QTest::newRow("0,01 mol/L, 10 V, 2 A") << Montage::Tension << "0,01"
                                           << "200" << 100 << 400;
}

void SchematicTest::ironColoursChangeSmoothly() {
    QFETCH(Montage, montage);
    QFETCH(QString, concentration);
    QFETCH(QString, volume);
    QFETCH(int, setting);
    QFETCH(int, seconds);
    sim::Engine engine;
    sim::Handlers handlers(engine);
    handlers.startup();
    handlers.selectOption2(montage);
    handlers.selectCombo1(8); // iron(III) sulfate between graphite electrodes
    for (const auto& [box, text] : {std::pair{0, concentration}, std::pair{1, volume}}) {
        handlers.setText2(box, text.toStdString());
        handlers.Text2_LostFocus(box);
    }
    QVERIFY(!engine.state().natInvalide);
    if (montage == Montage::Courant) {
        handlers.setUpDown2(setting);
    } else {
        handlers.setUpDown1(setting);
    }
    ColourWatch watch(engine, 1);
    engine.setStepObserver(&watch);
    sim::EngineAccess::store(engine).Timer1 = true;
    engine.setStepsPerTickOverride(1);
    bool ironGone = false;
    for (int t = 0; t < seconds; ++t) {
        engine.Timer1_Timer();
        ironGone = ironGone || engine.state().quantite[6] == 0.0;
    }
    engine.setStepObserver(nullptr);
    QVERIFY(ironGone);
    QVERIFY(watch.steps() >= seconds);
    QVERIFY2(watch.largest() <= 3, qPrintable(QString::number(watch.largest())));
}

void SchematicTest::solutionColourInPicture_data() {
    QTest::addColumn<Montage>("montage");
    QTest::addColumn<QString>("concentration");
    QTest::addColumn<Color>("expected");
    QTest::newRow("half-cell 0.1 mol/L") << Montage::Pile << "0,1" << Color{45, 170, 250};
    QTest::newRow("half-cell 1 mol/L") << Montage::Pile << "1" << Color{2, 22, 250};
    QTest::newRow("vessel 0.1 mol/L") << Montage::Tension << "0,1" << Color{45, 170, 250};
}

void SchematicTest::solutionColourInPicture() {
    QFETCH(Montage, montage);
    QFETCH(QString, concentration);
    QFETCH(Color, expected);
    Picture p;
    const sim::State& s = p.state();
    if (montage == Montage::Pile) {
        p.setPile(1, 3);
        p.handlers.setText2(cat::Text2ConcentrationG, concentration.toStdString());
        p.handlers.Text2_LostFocus(cat::Text2ConcentrationG);
        QCOMPARE((Color{s.rougeSol2, s.vertSol2, s.bleuSol2}), expected);
        QCOMPARE((Color{s.rougeSol3, s.vertSol3, s.bleuSol3}), (Color{230, 240, 250}));
    } else {
        p.handlers.selectCombo1(6); // copper(II) sulfate, graphite electrodes
        p.handlers.setText2(cat::Text2Concentration, concentration.toStdString());
        p.handlers.Text2_LostFocus(cat::Text2Concentration);
        QCOMPARE((Color{s.rougeSol1, s.vertSol1, s.bleuSol1}), expected);
    }
    // At x = 98 the shading factor is exactly 1.
    QCOMPARE(p.at(98, 450), expected);
}

void SchematicTest::electrodeColour_data() {
    QTest::addColumn<Montage>("montage");
    QTest::addColumn<int>("tag");
    QTest::addColumn<double>("copperDeposit");
    QTest::addColumn<Color>("expected");
    QTest::newRow("graphite") << Montage::Tension << 3 << 0.0 << Color{0, 0, 0};
    QTest::newRow("zinc, electrolysis") << Montage::Tension << 4 << 0.0 << Color{180, 180, 200};
    QTest::newRow("zinc, cell") << Montage::Pile << 3 << 0.0 << Color{180, 180, 200};
    QTest::newRow("aluminium, cell") << Montage::Pile << 0 << 0.0 << Color{255, 255, 255};
    QTest::newRow("copper on graphite") << Montage::Tension << 3 << 0.001 << Color{255, 200, 150};
}

void SchematicTest::electrodeColour() {
    QFETCH(Montage, montage);
    QFETCH(int, tag);
    QFETCH(double, copperDeposit);
    QFETCH(Color, expected);
    Picture p;
    if (montage == Montage::Pile) {
        p.setPile(tag, 1);
    } else {
        p.handlers.selectCombo2(0, tag);
    }
    p.state().masseMetal[1][1] += copperDeposit;
    p.engine.fondschema();
    // The middle rows of the bar are darkened by a quarter per cent at most.
    const sim::State& s = p.state();
    const double middle = (473.0 + s.niveau1) / 2.0;
    const Color got = p.at(118, static_cast<int>(std::ceil(middle)));
    const auto near = [](int a, int b) { return std::abs(a - b) <= 1; };
    QVERIFY2(near(got.r, expected.r) && near(got.g, expected.g) && near(got.b, expected.b),
             qPrintable(QStringLiteral("%1 %2 %3").arg(got.r).arg(got.g).arg(got.b)));
}

// The legend of the electrolysis: each row's pieces, and the top of each row
// (the y of its first piece, at x = 204). A row of a charged ion has its
// symbol at y, its charge at y - 5 and its "(aq)" at y + 5, a gas its count
// at y + 5, and the next row starts 25 below that last piece: 30 below. The
// hydrogen molecule's row starts at Y0 with its text at Y0 + 1, and the next
// at Y0 + 31. The first row, the electron, is at 103.
void SchematicTest::legendRows_data() {
    QTest::addColumn<int>("espece1");
    QTest::addColumn<int>("espece2");
    QTest::addColumn<QString>("texts");
    QTest::addColumn<QList<double>>("rowTops");
    const QString e = "e|-|(électrode)|";
    QTest::newRow("3, 1") << 3 << 1 << e + "Cl|-|(aq)|Cl|2 (g)|H|+|(aq)|H|2 (g)"
                          << QList<double>{103, 133, 163, 193, 224};
    QTest::newRow("3, 11: H+ once")
        << 3 << 11 << e + "H|+|(aq)|H|2 (g)|O|2 (g)" << QList<double>{103, 133, 164, 194};
    QTest::newRow("10, 11") << 10 << 11 << e + "Cu|2+|(aq)|H|+|(aq)|O|2 (g)"
                            << QList<double>{103, 133, 163, 193};
    QTest::newRow("6, 13") << 6 << 13 << e + "Fe|2+|(aq)|Fe|3+|(aq)|Al|3+|(aq)"
                           << QList<double>{103, 133, 163, 193};
    QTest::newRow("6, 15: Fe2+ once")
        << 6 << 15 << e + "Fe|2+|(aq)|Fe|3+|(aq)" << QList<double>{103, 133, 163};
    QTest::newRow("10, 14: Cu2+ once") << 10 << 14 << e + "Cu|2+|(aq)" << QList<double>{103, 133};
    QTest::newRow("3, 15") << 3 << 15 << e + "H|+|(aq)|H|2 (g)|Fe|2+|(aq)"
                           << QList<double>{103, 133, 164, 194};
    QTest::newRow("3, 16") << 3 << 16 << e + "H|+|(aq)|H|2 (g)|Zn|2+|(aq)"
                           << QList<double>{103, 133, 164, 194};
}

void SchematicTest::legendRows() {
    QFETCH(int, espece1);
    QFETCH(int, espece2);
    QFETCH(QString, texts);
    QFETCH(QList<double>, rowTops);
    Picture p;
    p.state().espece[1] = static_cast<std::int16_t>(espece1);
    p.state().espece[2] = static_cast<std::int16_t>(espece2);
    // An acid vessel: code 3 reduces H+, not water.
    p.state().quantite[3] = 0.01;
    p.canvas().clearOps();
    p.engine.electrodes();
    QStringList drawn;
    QList<double> tops;
    for (const auto& op : p.canvas().opsOf(DrawOp::Kind::Text)) {
        drawn << QString::fromStdString(op.text);
        if (op.x1 == 204.0) {
            tops << op.y1;
        }
    }
    QCOMPARE(drawn.join('|'), texts);
    QCOMPARE(tops, rowTops);
}

void SchematicTest::refusedMontageDrawsNothing() {
    Picture p;
    p.handlers.selectCombo1(0);
    p.handlers.selectCombo2(0, 4);
    QVERIFY(p.engine.state().natInvalide);
    p.canvas().clearOps();
    p.state().cptDessin = 7;
    p.engine.fondschema();
    p.run(3);
    QVERIFY(p.canvas().ops().empty());
    QVERIFY(!p.host.Frame1Visible());
    QCOMPARE(p.engine.state().cptDessin, std::int16_t{7});
}

void SchematicTest::natureMessageCentred() {
    Picture p;
    p.handlers.selectOption1(1);
    p.canvas().clearOps();
    p.host.drawNatureMessage("Les piles de concentration ne sont pas traitées :",
                             "modifier la nature d'une demi-pile.");
    const auto texts = p.canvas().opsOf(DrawOp::Kind::Text);
    QCOMPARE(texts.size(), std::size_t{2});
    QCOMPARE(texts[0].color, render::lightRed);
    QCOMPARE(texts[1].color, render::black);
    QCOMPARE(texts[0].fontSize, 12.0);
    auto& c = p.canvas();
    QCOMPARE(texts[0].x1, (417.0 - c.textWidth(texts[0].text)) / 2.0);
    QCOMPARE(texts[1].x1, (417.0 - c.textWidth(texts[1].text)) / 2.0);
    QCOMPARE(texts[1].y1, texts[0].y1 + c.textHeight("A"));
    // The two lines stand about the middle of the visible surface.
    QCOMPARE(texts[1].y1 - c.scaleTop(), 497.0 / 2.0);
    QCOMPARE(p.at(2, 2), render::white);
}

void SchematicTest::negativeMassesCleared() {
    Picture p;
    p.state().masseMetal[2][3] = -0.5;
    p.state().masseMetal[1][4] = -1.0;
    p.canvas().clearOps();
    p.engine.fondschema();
    QCOMPARE(p.engine.state().masseMetal[2][3], 0.0);
    QCOMPARE(p.engine.state().masseMetal[1][4], 0.0);
    // An electrode of no mass is not drawn at all.
    QVERIFY(barOutline(p.canvas(), 2) == nullptr);
    QVERIFY(barOutline(p.canvas(), 1) != nullptr);
}

QTEST_MAIN(SchematicTest)
#include "SchematicTest.moc"
