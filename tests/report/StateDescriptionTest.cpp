// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/StateDescription.h"
#include "sim/Catalogue.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "support/EngineAccess.h"
#include "support/Ticks.h"

#include <QRegularExpression>
#include <QTest>

using Ionaria::sim::catalogue::Montage;

using namespace Ionaria;
namespace cat = sim::catalogue;

namespace {

// A line a voice reads as a string of figures.
bool bare(const QString& line) {
    static const QRegularExpression figures(QStringLiteral("^[\\s\\d+\\-−·,.=()\\[\\]/]*$"));
    return figures.match(line).hasMatch();
}

struct Run {
    Run() : handlers(engine) { handlers.startup(); }

    void run(int ticks) { Ionaria::testing::runTicks(engine, ticks); }
    QStringList lines() const { return report::stateDescription(engine).split(QLatin1Char('\n')); }

    sim::Engine engine;
    sim::Handlers handlers;
};

} // namespace

class StateDescriptionTest : public QObject {
    Q_OBJECT

private slots:
    void spokenMeasure_data() {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("zero") << "0 s"
                              << "0 seconde";
        QTest::newRow("minutes") << "1 min 5 s"
                                 << "1 minute 5 secondes";
        QTest::newRow("hours") << "2 h 0 min 12 s"
                               << "2 heures 0 minute 12 secondes";
        QTest::newRow("milliamperes") << "56,7 mA"
                                      << "56,7 milliampères";
        QTest::newRow("one volt and a half") << "1,50 V"
                                             << "1,50 volt";
        QTest::newRow("two volts") << "2,00 V"
                                   << "2,00 volts";
        QTest::newRow("negative millivolts") << "-523,4 mV"
                                             << "-523,4 millivolts";
        QTest::newRow("grouped thousands") << "1 234,56 A"
                                           << "1234,56 ampères";
        QTest::newRow("nothing shown") << ""
                                       << "";
    }
    void spokenMeasure() {
        QFETCH(QString, shown);
        QFETCH(QString, spoken);
        QCOMPARE(report::spokenMeasure(shown), spoken);
    }

    // The concentration of an ion as a sentence: the power of ten and the
    // unit in words, on the line of the ion's name.
    void concentrationIsOneSentence_data() {
        QTest::addColumn<double>("amountMol");
        QTest::addColumn<QString>("expected");
        QTest::newRow("hundredths")
            << 0.0498
            << "Concentration en ions cuivre(II) : 9,96 fois 10 puissance moins 2 mole par litre.";
        QTest::newRow("one") << 0.5 << "Concentration en ions cuivre(II) : 1,00 mole par litre.";
        QTest::newRow("tens") << 10.0
                              << "Concentration en ions cuivre(II) : 2,00 fois 10 puissance 1 "
                                 "moles par litre.";
    }
    void concentrationIsOneSentence() {
        QFETCH(double, amountMol);
        QFETCH(QString, expected);
        Run r;
        r.handlers.selectCombo1(3); // "Chlorure de cuivre II"
        QCOMPARE(r.engine.params().Text2[cat::Text2Volume].value(), 500.0F);
        sim::EngineAccess::state(r.engine).quantite[cat::cuivre2] = amountMol;
        QVERIFY2(r.lines().contains(expected), qPrintable(r.lines().join('\n')));
    }

    // Every montage, at both scales, before and during a run: short
    // sentences, none of them a string of figures, the arrow said in words.
    void everyLineIsASentence_data() {
        QTest::addColumn<Montage>("montage");
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("ticks");
        for (const Montage montage : {Montage::Pile, Montage::Tension, Montage::Courant}) {
            for (int scale = 0; scale < 2; ++scale) {
                for (int ticks : {0, 200}) {
                    QTest::addRow("montage %d scale %d ticks %d", cat::montageCode(montage), scale,
                                  ticks)
                        << montage << scale << ticks;
                }
            }
        }
    }
    void everyLineIsASentence() {
        QFETCH(Montage, montage);
        QFETCH(int, scale);
        QFETCH(int, ticks);
        Run r;
        r.handlers.selectOption2(montage);
        r.handlers.selectOption1(scale);
        r.run(ticks);
        const QStringList lines = r.lines();
        const QString all = lines.join('\n');
        QVERIFY2(lines.size() >= 6, qPrintable(all));
        for (const QString& line : lines) {
            QVERIFY2(line.endsWith(QLatin1Char('.')), qPrintable(line));
            QVERIFY2(!bare(line), qPrintable(line));
            QVERIFY2(!line.contains(QStringLiteral("→")), qPrintable(line));
            QVERIFY2(!line.contains(QStringLiteral("·")), qPrintable(line));
        }
        QVERIFY2(all.contains(QStringLiteral("Masse de l'électrode G : ")), qPrintable(all));
        QVERIFY2(all.contains(QStringLiteral("Masse de l'électrode D : ")), qPrintable(all));
        QVERIFY2(all.contains(QStringLiteral(" grammes.")), qPrintable(all));
        QVERIFY2(all.contains(QStringLiteral("Concentration en ions ")), qPrintable(all));
        QVERIFY2(all.contains(QStringLiteral("Durée : ")), qPrintable(all));
        if (r.engine.state().intensite != 0.0F) {
            QVERIFY2(
                all.contains(QRegularExpression(QStringLiteral("^Électrode G : .+ donne .+\\.$"),
                                                QRegularExpression::MultilineOption)),
                qPrintable(all));
            QVERIFY2(
                all.contains(QRegularExpression(QStringLiteral("^Électrode D : .+ donne .+\\.$"),
                                                QRegularExpression::MultilineOption)),
                qPrintable(all));
        }
    }

    // The cell with copper and zinc: the reaction at each electrode as the
    // picture writes it, the charges kept beside their symbols.
    void cellEquations() {
        Run r;
        r.handlers.selectOption2(Montage::Pile);
        r.handlers.selectCombo2(0, 1); // copper
        r.handlers.selectCombo2(1, 3); // zinc
        r.run(50);
        const QStringList lines = r.lines();
        QVERIFY2(lines.contains(QStringLiteral("Électrode G : Cu2+ + 2 e- donne Cu.")),
                 qPrintable(lines.join('\n')));
        QVERIFY2(lines.contains(QStringLiteral("Électrode D : Zn donne Zn2+ + 2 e-.")),
                 qPrintable(lines.join('\n')));
    }

    // Telling the state leaves the run as it was.
    void describingChangesNothing() {
        Run r;
        r.run(100);
        const sim::State before = r.engine.state();
        (void)report::stateDescription(r.engine);
        QCOMPARE(r.engine.state().masseMetal, before.masseMetal);
        QCOMPARE(r.engine.state().quantite, before.quantite);
    }
};

QTEST_GUILESS_MAIN(StateDescriptionTest)
#include "StateDescriptionTest.moc"
