#include "render/RecordingCanvas.h"
#include "report/Rapport.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"

#include <QTest>

using namespace Ionaria;
using render::DrawOp;

namespace {

struct Report {
    Report() : handlers(engine) { handlers.startup(); }

    std::vector<DrawOp> draw() {
        canvas.clearOps();
        report::rapport(canvas, engine);
        return canvas.opsOf(DrawOp::Kind::Text);
    }
    static QString joined(const std::vector<DrawOp>& texts) {
        QStringList list;
        for (const auto& t : texts) {
            list << QString::fromStdString(t.text);
        }
        return list.join('|');
    }

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

} // namespace

class TestRapport : public QObject {
    Q_OBJECT

private slots:
    void negativeMassClearedAndShownAsZero();
    void speciesLinesWithoutGaps();
    void concentrationPieces();
    void noCurrentNoBoxes();
    void halfEquations_data();
    void halfEquations();
    void unusableVolumeSkipsTail();
};

void TestRapport::negativeMassClearedAndShownAsZero() {
    Report r;
    r.engine.state().masseMetal[1] = {0.0, 0.0, 0.0, -2.0, 0.0};
    const auto texts = r.draw();
    QCOMPARE(r.engine.state().masseMetal[1][3], 0.0);
    QCOMPARE(texts[0].text, std::string("m"));
    QVERIFY(texts[0].italic);
    QCOMPARE(texts[1].text, std::string("électrode"));
    QCOMPARE(texts[1].y1, texts[0].y1 + 4.0);
    QCOMPARE(texts[2].text, std::string(" = 0,00 g"));
    QCOMPARE(texts[0].x1, 61.0);
    QCOMPARE(texts[0].y1, 485.0);
}

void TestRapport::speciesLinesWithoutGaps() {
    Report r;
    auto& q = r.engine.state().quantite;
    q = {};
    q[1] = 0.005;  // chloride
    q[2] = 0.0;    // no sulfate: no line
    q[3] = 0.01;   // never listed
    q[4] = 0.01;   // never listed
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
    QCOMPARE(species.join(','), QStringLiteral("Cl,Na,Cu"));
    const double pitch = r.canvas.textHeight("A") + 4.0;
    QCOMPARE(lines[0], 485.0 + r.canvas.textHeight("A") + 8.0);
    QCOMPARE(lines[1] - lines[0], pitch);
    QCOMPARE(lines[2] - lines[1], pitch);
}

void TestRapport::concentrationPieces() {
    Report r;
    auto& q = r.engine.state().quantite;
    q = {};
    q[7] = 0.0123 * 500.0 / 1000.0; // 0.0123 mol/L in 500 mL
    r.engine.state().intensite = 0.0F;
    const auto texts = r.draw();
    QCOMPARE(Report::joined(texts).section('|', 6),
             QStringLiteral("[|Na|+|] = 1,23| · 10|-2| mol · L|-1"));
    const DrawOp* mantissa = findText(texts, "] = 1,23");
    const DrawOp* exponent = findText(texts, "-2");
    const DrawOp* unit = findText(texts, "-1");
    QVERIFY(mantissa && exponent && unit);
    QCOMPARE(exponent->y1, mantissa->y1 - 4.0);
    QCOMPARE(unit->y1, mantissa->y1 - 4.0);
}

void TestRapport::noCurrentNoBoxes() {
    Report r;
    r.engine.state().intensite = 0.0F;
    r.draw();
    QVERIFY(r.canvas.opsOf(DrawOp::Kind::FillBox).empty());
    QVERIFY(r.canvas.opsOf(DrawOp::Kind::Box).empty());
}

void TestRapport::halfEquations_data() {
    QTest::addColumn<int>("montage");
    QTest::addColumn<int>("left"); // tag or reaction code
    QTest::addColumn<int>("right");
    QTest::addColumn<float>("e01");
    QTest::addColumn<float>("e02");
    QTest::addColumn<QString>("leftText");
    QTest::addColumn<QString>("rightText");
    QTest::newRow("electrolysis 3, 1") << 1 << 3 << 1 << 0.0F << 0.0F << "2 H|+ | + 2 e|- |→ | H|2 "
                                       << "2 Cl|- |→| Cl|2 | + 2 e|-";
    QTest::newRow("electrolysis 10, 11")
        << 1 << 10 << 11 << 0.0F << 0.0F << "Cu|2+| + 2 e|- |→ | Cu"
        << "2 H|2|O |→ | 4 H|+| + O|2| + 4 e|-";
    QTest::newRow("electrolysis 2, 12: empty boxes") << 1 << 2 << 12 << 0.0F << 0.0F << ""
                                                     << "";
    QTest::newRow("cell zinc | copper")
        << 0 << 3 << 1 << -0.76F << 0.34F << "Zn |→ | Zn|2+| + 2 e|-"
        << "Cu|2+| + 2 e|- |→ | Cu";
    QTest::newRow("cell equal potentials: two reductions")
        << 0 << 1 << 1 << 0.34F << 0.34F << "Cu|2+| + 2 e|- |→ | Cu"
        << "Cu|2+| + 2 e|- |→ | Cu";
}

void TestRapport::halfEquations() {
    QFETCH(int, montage);
    QFETCH(int, left);
    QFETCH(int, right);
    QFETCH(float, e01);
    QFETCH(float, e02);
    QFETCH(QString, leftText);
    QFETCH(QString, rightText);
    Report r;
    if (montage == 0) {
        r.handlers.selectOption2(0);
        r.handlers.selectCombo2(0, left);
        r.handlers.selectCombo2(1, right);
    } else {
        r.engine.state().espece[1] = static_cast<std::int16_t>(left);
        r.engine.state().espece[2] = static_cast<std::int16_t>(right);
    }
    r.engine.state().e01 = e01;
    r.engine.state().e02 = e02;
    r.engine.state().intensite = 0.01F;
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

void TestRapport::unusableVolumeSkipsTail() {
    Report r;
    r.handlers.selectOption2(0);
    r.handlers.selectCombo2(0, 3);
    r.handlers.selectCombo2(1, 1);
    r.engine.params().Text2[6].setText("");
    r.engine.params().Text2[8].setText("0");
    r.engine.state().intensite = 0.0F;
    const auto texts = r.draw();
    const QString all = Report::joined(texts);
    QVERIFY(all.contains(QStringLiteral("[|Zn|2+|m|électrode")));
    QVERIFY(all.endsWith(QStringLiteral("[|Cu|2+")));
}

QTEST_MAIN(TestRapport)
#include "tst_rapport.moc"
