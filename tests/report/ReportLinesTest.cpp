// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ReportLines.h"
#include "SceneFixture.h"
#include "render/RecordingCanvas.h"
#include "report/Rapport.h"

#include <QTest>

#include <string>
#include <vector>

using namespace Ionaria;
using Ionaria::sim::catalogue::Montage;

namespace {

std::string concatenated(const std::vector<std::string>& texts) {
    std::string all;
    for (const auto& t : texts) {
        all += t;
    }
    return all;
}

bool startsWith(const std::string& text, std::string_view start) {
    return text.compare(0, start.size(), start) == 0;
}

} // namespace

class ReportLinesTest : public QObject {
    Q_OBJECT

private slots:
    void sameTextsAsDrawn_data() {
        QTest::addColumn<Montage>("montage");
        QTest::addColumn<int>("electrolyte");
        QTest::addColumn<int>("nature1");
        QTest::addColumn<int>("nature2");
        QTest::addColumn<bool>("macro");
        QTest::addColumn<bool>("nernst");
        QTest::addColumn<int>("ticks");
        QTest::newRow("chlorure de sodium, macro")
            << Montage::Tension << 4 << 3 << 3 << true << false << 60;
        QTest::newRow("chlorure de sodium, micro")
            << Montage::Tension << 4 << 3 << 3 << false << false << 60;
        // The stacked sulfate stays on its line.
        QTest::newRow("sulfate de cuivre, courant")
            << Montage::Courant << 6 << 1 << 3 << true << false << 60;
        QTest::newRow("sulfate de cuivre, micro")
            << Montage::Courant << 6 << 1 << 3 << false << false << 60;
        QTest::newRow("pile, macro") << Montage::Pile << 0 << 1 << 3 << true << false << 60;
        QTest::newRow("pile, micro, potentiels")
            << Montage::Pile << 0 << 1 << 3 << false << true << 60;
        QTest::newRow("pile, macro, potentiels")
            << Montage::Pile << 0 << 0 << 1 << true << true << 60;
        QTest::newRow("au départ") << Montage::Tension << 4 << 3 << 3 << true << false << 0;
    }
    // Every text the report draws is in the lines, in the drawing's order,
    // and each line is a whole statement of the report: a mass, a
    // concentration from its bracket to its unit, the pH, the potentials or
    // a half-equation, never a raised or lowered part alone nor two masses
    // or two half-equations together.
    void sameTextsAsDrawn() {
        QFETCH(Montage, montage);
        QFETCH(int, electrolyte);
        QFETCH(int, nature1);
        QFETCH(int, nature2);
        QFETCH(bool, macro);
        QFETCH(bool, nernst);
        QFETCH(int, ticks);
        Scene scene;
        scene.setUp(montage, electrolyte, nature1, nature2, macro, nernst);
        if (ticks > 0) {
            scene.run(ticks);
        }
        QVERIFY(!scene.engine.state().natInvalide);

        const std::vector<std::string> lines = report::rapportLines(scene.engine);
        render::RecordingCanvas canvas;
        sim::DrawingFeedback feedback = sim::EngineAccess::feedback(scene.engine);
        report::rapport(canvas, scene.engine, feedback);
        QCOMPARE(concatenated(lines), concatenated(canvas.texts()));

        int masses = 0;
        int equations = 0;
        for (const std::string& line : lines) {
            const auto count = [&line](std::string_view part) {
                int n = 0;
                for (auto at = line.find(part); at != std::string::npos;
                     at = line.find(part, at + 1)) {
                    ++n;
                }
                return n;
            };
            masses += count("mélectrode = ");
            equations += count("→");
            QVERIFY2(count("mélectrode = ") + count("→") <= 1, line.c_str());
            const bool statement = startsWith(line, "mélectrode = ") || startsWith(line, "[") ||
                                   startsWith(line, "pH = ") || startsWith(line, "E(") ||
                                   count("→") == 1;
            QVERIFY2(statement, line.c_str());
            if (startsWith(line, "[")) {
                // Water's ions and the pH share a line under the vessel.
                const std::string_view unit = "mol · L-1";
                const bool unitLast =
                    line.size() > unit.size() && line.substr(line.size() - unit.size()) == unit;
                QVERIFY2(unitLast || line.find("   pH = ") != std::string::npos, line.c_str());
                QVERIFY2(count("[") == 1 || !macro, line.c_str());
            }
        }
        QCOMPARE(masses, 2);
        // The half-equations while a current flows.
        QCOMPARE(equations, scene.engine.state().intensite != 0.0F ? 2 : 0);
    }

    // The report clears negative masses in the state as it draws; its lines
    // show them cleared and leave the state as it was.
    void readsWithoutWriting() {
        Scene scene;
        scene.setMacro(true);
        scene.state().masseMetal[1][3] = -2.0;
        const std::vector<std::string> lines = report::rapportLines(scene.engine);
        QCOMPARE(scene.engine.state().masseMetal[1][3], -2.0);
        QVERIFY(!lines.empty());
        QCOMPARE(lines.front(), std::string("mélectrode = 0,00 g"));
    }
};

QTEST_MAIN(ReportLinesTest)
#include "ReportLinesTest.moc"
