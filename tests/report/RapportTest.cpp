// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/Rapport.h"
#include "SceneFixture.h"
#include "render/RecordingCanvas.h"
#include "sim/Catalogue.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <type_traits>

using Ionaria::sim::catalogue::Montage;

namespace cat = Ionaria::sim::catalogue;

using namespace Ionaria;
using render::DrawOp;

namespace {

// The report reads a const engine; its one write goes through the feedback
// that the engine's host holds.
static_assert(std::is_same_v<decltype(&report::rapport),
                             void (*)(render::Canvas&, const sim::Engine&, sim::DrawingFeedback&)>);
static_assert(!std::is_constructible_v<render::Schematic, render::Canvas&, sim::Engine&>);
static_assert(std::is_constructible_v<render::Schematic, render::Canvas&, const sim::Engine&,
                                      sim::DrawingFeedback>);

// The report at the macroscopic scale, where the montage leaves the lower
// part of the surface free; the microscopic layout is checked on the
// picture below.
struct Report {
    Report() : handlers(engine) {
        handlers.startup();
        handlers.selectOption1(1);
    }

    std::vector<DrawOp> draw() {
        canvas.clearOps();
        sim::DrawingFeedback feedback = sim::EngineAccess::feedback(engine);
        report::rapport(canvas, engine, feedback);
        return canvas.opsOf(DrawOp::Kind::Text);
    }
    static QString joined(const std::vector<DrawOp>& texts) {
        QStringList list;
        for (const auto& t : texts) {
            list << QString::fromStdString(t.text);
        }
        return list.join('|');
    }

    sim::State& state() { return sim::EngineAccess::state(engine); }
    sim::ParamStore& store() { return sim::EngineAccess::store(engine); }
    sim::Engine engine;
    sim::Handlers handlers;
    render::RecordingCanvas canvas;
};

const DrawOp* findText(const std::vector<DrawOp>& texts, const std::string& text) {
    for (const auto& t : texts) {
        if (t.text == text) {
            return &t;
        }
    }
    return nullptr;
}

// A montage run for a while and then shown as "Afficher l'état du système"
// shows it: the report drawn over the picture of the last tick.
struct Shown {
    Shown(Montage montage, int electrolyte, int nature1, int nature2, bool macro,
          bool nernst = false)
        : scene(makeCanvas()) {
        scene.setUp(montage, electrolyte, nature1, nature2, macro, nernst);
        scene.run(60);
        scene.engine.Command5_Click();
        // What the background holds, to see that the report leaves it readable.
        canvas->clearOps();
        scene.engine.fondschema();
        background = canvas->ops();
        scene.state().dessinSeul = true;
        scene.engine.Timer1_Timer();
        scene.state().dessinSeul = false;
        before = scene.picture.image().copy();
        canvas->clearOps();
        sim::DrawingFeedback feedback = sim::EngineAccess::feedback(scene.engine);
        report::rapport(*canvas, scene.engine, feedback);
        drawn = canvas->ops();
    }

    const QImage& image() const { return scene.picture.image(); }
    int scaleTop() const { return scene.engine.params().isMacro() ? 90 : 0; }
    // The pixel box of a text as drawn.
    QRectF textBox(const DrawOp& t) {
        canvas->setFontSize(t.fontSize);
        canvas->setFontBold(t.font.bold);
        canvas->setFontItalic(t.font.italic);
        return {t.x1, t.y1 - scaleTop(), canvas->textWidth(t.text), canvas->textHeight(t.text)};
    }
    static QRectF cornersBox(const DrawOp& op, int top) {
        return QRectF(QPointF(op.x1, op.y1 - top), QPointF(op.x2, op.y2 - top)).normalized();
    }

    render::RecordingCanvas* canvas = nullptr;
    Scene scene;
    std::vector<DrawOp> background;
    std::vector<DrawOp> drawn;
    QImage before;

private:
    std::unique_ptr<render::QtCanvas> makeCanvas() {
        auto c = std::make_unique<render::RecordingCanvas>();
        canvas = c.get();
        return c;
    }
};

// The groups of rows of a region that hold black ink, each separated from
// the next by at least two rows without any.
int inkLines(const QImage& image, const QRect& region) {
    int lines = 0;
    int blank = 2;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        bool ink = false;
        for (int x = region.left(); x <= region.right() && !ink; ++x) {
            ink = image.pixel(x, y) == qRgb(0, 0, 0);
        }
        if (ink) {
            lines += blank >= 2 ? 1 : 0;
            blank = 0;
        } else {
            ++blank;
        }
    }
    return lines;
}

} // namespace

class RapportTest : public QObject {
    Q_OBJECT

private slots:
    void negativeMassClearedAndShownAsZero();
    void speciesLinesWithoutGaps();
    void concentrationPieces();
    void noCurrentNoBoxes();
    void halfEquations_data();
    void halfEquations();
    void unusableVolumeSkipsTail();
    void layout_data();
    void layout();
};

void RapportTest::negativeMassClearedAndShownAsZero() {
    Report r;
    r.state().masseMetal[1] = {0.0, 0.0, 0.0, -2.0, 0.0};
    const auto texts = r.draw();
    QCOMPARE(r.engine.state().masseMetal[1][3], 0.0);
    QCOMPARE(texts[0].text, std::string("m"));
    QVERIFY(texts[0].font.italic);
    QCOMPARE(texts[1].text, std::string("électrode"));
    QCOMPARE(texts[1].y1, texts[0].y1 + 4.0);
    QCOMPARE(texts[2].text, std::string(" = 0,00 g"));
    QCOMPARE(texts[0].x1, 61.0);
    QCOMPARE(texts[0].y1, 485.0);
}

void RapportTest::speciesLinesWithoutGaps() {
    Report r;
    auto& q = r.state().quantite;
    q = {};
    q[1] = 0.005;  // chloride
    q[2] = 0.0;    // no sulfate: no line
    q[3] = 0.01;   // H+, listed as any other ion
    q[4] = 0.01;   // HO-, likewise
    q[7] = 0.005;  // sodium
    q[10] = 0.001; // copper(II)
    const auto texts = r.draw();
    std::vector<double> lines;
    QStringList species;
    for (std::size_t i = 0; i + 1 < texts.size(); ++i) {
        if (texts[i].text == "[") {
            lines.push_back(texts[i].y1);
            QCOMPARE(texts[i].x1, 155.0);
            species << QString::fromStdString(texts[i + 1].text);
        }
    }
    QCOMPARE(species.join(','), QStringLiteral("Cl,H,HO,Na,Cu"));
    // 3 pixels more than a text line and the shift, so that a subscript and
    // the next superscript keep background between them.
    const double pitch = r.canvas.textHeight("A") + 4.0 + 3.0;
    QCOMPARE(lines[0], 485.0 + r.canvas.textHeight("A") + 8.0);
    QCOMPARE(lines[1] - lines[0], pitch);
    QCOMPARE(lines[2] - lines[1], pitch);
}

void RapportTest::concentrationPieces() {
    Report r;
    auto& q = r.state().quantite;
    q = {};
    q[7] = 0.0123 * 500.0 / 1000.0; // 0.0123 mol/L in 500 mL
    r.state().intensite = 0.0F;
    const auto texts = r.draw();
    QCOMPARE(Report::joined(texts).section('|', 6),
             QStringLiteral("pH = 7,00|[|Na|+|] = 1,23| · 10|-2| mol · L|-1"));
    const DrawOp* mantissa = findText(texts, "] = 1,23");
    const DrawOp* exponent = findText(texts, "-2");
    const DrawOp* unit = findText(texts, "-1");
    QVERIFY(mantissa && exponent && unit);
    QCOMPARE(exponent->y1, mantissa->y1 - 4.0);
    QCOMPARE(unit->y1, mantissa->y1 - 4.0);
}

void RapportTest::noCurrentNoBoxes() {
    Report r;
    r.state().intensite = 0.0F;
    r.draw();
    QVERIFY(r.canvas.opsOf(DrawOp::Kind::FillBox).empty());
    QVERIFY(r.canvas.opsOf(DrawOp::Kind::Box).empty());
}

void RapportTest::halfEquations_data() {
    QTest::addColumn<Montage>("montage");
    QTest::addColumn<int>("left"); // tag or reaction code
    QTest::addColumn<int>("right");
    QTest::addColumn<float>("e01");
    QTest::addColumn<float>("e02");
    QTest::addColumn<QString>("leftText");
    QTest::addColumn<QString>("rightText");
    // No H+ in the vessel: water is reduced.
    QTest::newRow("electrolysis 3, 1")
        << Montage::Tension << 3 << 1 << 0.0F << 0.0F << "2 H|2|O + 2 e|- |→ | H|2| + 2 HO|-"
        << "2 Cl|- |→| Cl|2 | + 2 e|-";
    QTest::newRow("electrolysis 10, 11")
        << Montage::Tension << 10 << 11 << 0.0F << 0.0F << "Cu|2+| + 2 e|- |→ | Cu"
        << "2 H|2|O |→ | 4 H|+| + O|2| + 4 e|-";
    QTest::newRow("electrolysis 2, 7: empty boxes")
        << Montage::Tension << 2 << 7 << 0.0F << 0.0F << ""
        << "";
    QTest::newRow("cell zinc | copper")
        << Montage::Pile << 3 << 1 << -0.76F << 0.34F << "Zn |→ | Zn|2+| + 2 e|-"
        << "Cu|2+| + 2 e|- |→ | Cu";
    QTest::newRow("cell equal potentials: two reductions")
        << Montage::Pile << 1 << 1 << 0.34F << 0.34F << "Cu|2+| + 2 e|- |→ | Cu"
        << "Cu|2+| + 2 e|- |→ | Cu";
}

void RapportTest::halfEquations() {
    QFETCH(Montage, montage);
    QFETCH(int, left);
    QFETCH(int, right);
    QFETCH(float, e01);
    QFETCH(float, e02);
    QFETCH(QString, leftText);
    QFETCH(QString, rightText);
    Report r;
    if (montage == Montage::Pile) {
        r.handlers.selectOption2(Montage::Pile);
        r.handlers.selectCombo2(0, left);
        r.handlers.selectCombo2(1, right);
    } else {
        r.state().espece[1] = static_cast<std::int16_t>(left);
        r.state().espece[2] = static_cast<std::int16_t>(right);
    }
    r.state().e01 = e01;
    r.state().e02 = e02;
    r.state().intensite = 0.01F;
    const auto texts = r.draw();
    const auto fills = r.canvas.opsOf(DrawOp::Kind::FillBox);
    QCOMPARE(fills.size(), std::size_t{2});
    QCOMPARE(fills[0].color, (render::Color{255, 255, 230}));
    QCOMPARE(fills[0].x1, 48.0);
    QCOMPARE(fills[1].x2, 368.0);
    QCOMPARE(r.canvas.opsOf(DrawOp::Kind::Box).size(), std::size_t{2});
    QStringList inLeft;
    QStringList inRight;
    for (const auto& t : texts) {
        if (t.y1 >= 255.0 && t.y1 <= 270.0) {
            (t.x1 < 208.0 ? inLeft : inRight) << QString::fromStdString(t.text);
        }
    }
    QCOMPARE(inLeft.join('|'), leftText);
    QCOMPARE(inRight.join('|'), rightText);
}

void RapportTest::unusableVolumeSkipsTail() {
    Report r;
    r.handlers.selectOption2(Montage::Pile);
    r.handlers.selectCombo2(0, 3);
    r.handlers.selectCombo2(1, 1);
    r.store().Text2[cat::Text2VolumeG].setText("");
    r.store().Text2[cat::Text2VolumeD].setText("0");
    r.state().intensite = 0.0F;
    const auto texts = r.draw();
    const QString all = Report::joined(texts);
    QVERIFY(all.contains(QStringLiteral("[|Zn|2+|m|électrode")));
    QVERIFY(all.endsWith(QStringLiteral("[|Cu|2+")));
}

void RapportTest::layout_data() {
    QTest::addColumn<Montage>("montage");
    QTest::addColumn<int>("electrolyte");
    QTest::addColumn<int>("nature1");
    QTest::addColumn<int>("nature2");
    QTest::addColumn<bool>("macro");
    QTest::addColumn<int>("lines"); // of concentrations
    QTest::addColumn<bool>("nernst");
    for (const bool nernst : {false, true}) {
        for (const bool macro : {false, true}) {
            const char* scale = macro ? "macro" : "micro";
            const char* potentials = nernst ? ", potentials" : "";
            QTest::addRow("cell zinc | copper, %s%s", scale, potentials)
                << Montage::Pile << 0 << 3 << 1 << macro << 1 << nernst;
            // With HO- and H+, which water forms.
            QTest::addRow("sodium chloride, zinc anode, %s%s", scale, potentials)
                << Montage::Courant << 4 << 3 << 4 << macro << 4 << nernst;
            QTest::addRow("iron(III) sulfate, %s%s", scale, potentials)
                << Montage::Courant << 8 << 3 << 3 << macro << 4 << nernst;
            QTest::addRow("cell copper | copper, no current, %s%s", scale, potentials)
                << Montage::Pile << 0 << 1 << 1 << macro << 1 << nernst;
        }
    }
}

namespace {

// At the microscopic scale nothing is drawn over the liquid, where the
// particles react, nor over the cable's legs, nor over the legend.
void clearOfParticlesAndLegend(Shown& r, const std::vector<QRectF>& panels) {
    const auto& s = r.scene.engine.state();
    const int top = std::min(s.niveau1, s.niveau2);
    const QRect liquid(49, top, 319, 474 - top);
    const QRect legs[2] = {QRect(110, 270, 17, top - 22 - 270),
                           QRect(290, 270, 17, top - 22 - 270)};
    for (const QRect& area : {liquid, legs[0], legs[1]}) {
        QCOMPARE(r.image().copy(area), r.before.copy(area));
    }
    for (const auto& op : r.background) {
        if (op.kind != DrawOp::Kind::Text && op.kind != DrawOp::Kind::Circle) {
            continue;
        }
        const QRectF legend =
            op.kind == DrawOp::Kind::Text
                ? r.textBox(op)
                : QRectF(op.x1 - op.radius, op.y1 - op.radius, 2 * op.radius, 2 * op.radius);
        for (const QRectF& panel : panels) {
            QVERIFY2(!panel.intersects(legend),
                     qPrintable(QString::fromStdString(op.text) +
                                QStringLiteral(" at %1,%2").arg(op.x1).arg(op.y1)));
        }
    }
}

// Consecutive lines keep at least two rows of background between their ink:
// a subscript never touches the next line's superscript.
void linesKeepApart(Shown& r, const std::vector<QRectF>& panels, Montage montage, bool macro,
                    int lines) {
    if (montage != Montage::Pile) {
        QRect region;
        int expected = lines;
        if (macro) {
            region = QRect(40, 485 - 90, 377, 497 - (485 - 90));
            expected += 1; // the masses
        } else {
            const QRectF panel = panels.back();
            region = panel.toRect().adjusted(1, 1, -1, -1);
            // Water's ion goes under the vessel, on the pH's line.
            expected -= 1;
            const QRect under = panels[panels.size() - 2].toRect().adjusted(1, 1, -1, -1);
            QCOMPARE(under.top(), 477);
            QCOMPARE(inkLines(r.image(), under), 1);
        }
        QCOMPARE(inkLines(r.image(), region), expected);
    } else if (macro) {
        QCOMPARE(inkLines(r.image(), QRect(40, 500 - 90, 170, 87)), 2);
    }
}

// The line of the potentials, once, over nothing else of the report nor of
// the montage: its texts, circles, boxes and wires, but the background's
// gradient, which spans the whole width.
void potentialsClear(Shown& r) {
    const DrawOp* line = nullptr;
    int count = 0;
    for (const auto& op : r.drawn) {
        if (op.kind == DrawOp::Kind::Text && op.text.rfind("E(G) = ", 0) == 0) {
            line = &op;
            ++count;
        }
    }
    QCOMPARE(count, 1);
    if (line == nullptr) {
        QFAIL("no line of the potentials");
    }
    const QRectF box = r.textBox(*line).adjusted(-2, -2, 2, 2);
    for (const auto& op : r.drawn) {
        if (op.kind == DrawOp::Kind::Text && &op != line) {
            QVERIFY2(!box.intersects(r.textBox(op)), op.text.c_str());
        }
    }
    for (const auto& op : r.background) {
        QRectF other;
        switch (op.kind) {
        case DrawOp::Kind::Text:
            other = r.textBox(op);
            break;
        case DrawOp::Kind::Circle:
            other = QRectF(op.x1 - op.radius, op.y1 - op.radius - r.scaleTop(), 2 * op.radius,
                           2 * op.radius);
            break;
        case DrawOp::Kind::Line:
        case DrawOp::Kind::Box:
            if (std::fabs(op.x2 - op.x1) >= 416.0) {
                continue;
            }
            other = Shown::cornersBox(op, r.scaleTop()).adjusted(0, 0, 1, 1);
            break;
        default:
            continue;
        }
        QVERIFY2(
            !box.intersects(other),
            qPrintable(
                QString::fromStdString(op.text) +
                QStringLiteral(" at %1,%2 %3,%4").arg(op.x1).arg(op.y1).arg(op.x2).arg(op.y2)));
    }
}

} // namespace

void RapportTest::layout() {
    QFETCH(Montage, montage);
    QFETCH(int, electrolyte);
    QFETCH(int, nature1);
    QFETCH(int, nature2);
    QFETCH(bool, macro);
    QFETCH(int, lines);
    QFETCH(bool, nernst);
    Shown r(montage, electrolyte, nature1, nature2, macro, nernst);
    const bool current = !QString(QTest::currentDataTag()).contains("no current");
    QCOMPARE(r.scene.engine.state().intensite != 0.0F, current);
    // Half-equations only while a current flows.
    QCOMPARE(std::count_if(r.drawn.begin(), r.drawn.end(),
                           [](const DrawOp& op) { return op.text == "→ " || op.text == "→"; }) > 0,
             current);
    const QString dir = qEnvironmentVariable("IONARIA_PNG_DIR");
    if (!dir.isEmpty()) {
        QString name = QString(QTest::currentDataTag()).replace(QRegularExpression("[^a-z]+"), "-");
        QVERIFY(r.scene.picture.writePng(QDir(dir).filePath("rapport-" + name + ".png")));
    }
    const QRectF surface(0, 0, 417, 497);
    std::vector<QRectF> texts;
    std::vector<QRectF> panels;
    int brackets = 0;
    for (const auto& op : r.drawn) {
        if (op.kind == DrawOp::Kind::Text) {
            texts.push_back(r.textBox(op));
            brackets += op.text == "[" ? 1 : 0;
            // Every line fits inside the surface.
            QVERIFY2(surface.contains(texts.back()),
                     qPrintable(QString::fromStdString(op.text) +
                                QStringLiteral(" at %1,%2").arg(op.x1).arg(op.y1)));
        } else if (op.kind == DrawOp::Kind::FillBox) {
            panels.push_back(Shown::cornersBox(op, r.scaleTop()));
        }
    }
    QCOMPARE(brackets, montage == Montage::Pile ? 2 : lines);
    QCOMPARE(std::count_if(r.drawn.begin(), r.drawn.end(),
                           [](const DrawOp& op) { return op.text == "m"; }),
             2L);

    if (!macro) {
        clearOfParticlesAndLegend(r, panels);
    }
    if (nernst) {
        potentialsClear(r);
    } else {
        QVERIFY(std::none_of(r.drawn.begin(), r.drawn.end(), [](const DrawOp& op) {
            return op.text.find("E(G)") != std::string::npos;
        }));
    }
    linesKeepApart(r, panels, montage, macro, lines);
}

QTEST_MAIN(RapportTest)
#include "RapportTest.moc"
