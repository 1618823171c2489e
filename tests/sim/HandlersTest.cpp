// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/Handlers.h"
#include "SimBench.h"
#include "sim/Catalogue.h"
#include "sim/Engine.h"
#include "sim/Validation.h"

#include <QtTest>

#include <type_traits>
#include <utility>

using Ionaria::sim::catalogue::Montage;

namespace cat = Ionaria::sim::catalogue;

using namespace Ionaria::sim;

namespace {

// The doors into the engine, held by the compiler: whoever is given the
// handlers reads the engine and writes it only through a handler; the
// random sequence and the drawing's writes are private to the engine, its
// hosts and its own tests.
template <class H>
concept writesThroughEngine = requires(H& h) {
    h.engine().Command3_Click();
};
template <class H>
concept checksNaturesDirectly = requires(H& h) {
    h.engine().verifnat();
};
template <class E>
concept drawsRandomNumbers = requires(E& e) {
    e.random();
};
template <class E>
concept handsOutFeedback = requires(E& e) {
    e.drawingFeedback();
};
static_assert(std::is_same_v<decltype(std::declval<Handlers&>().engine()), const Engine&>);
static_assert(!writesThroughEngine<Handlers>);
static_assert(!checksNaturesDirectly<Handlers>);
static_assert(!drawsRandomNumbers<Engine>);
static_assert(!handsOutFeedback<Engine>);
// The shape these concepts look for, where it is open, is found.
struct OpenEngine {
    void Command3_Click() {}
    void random() {}
};
struct OpenHandlers {
    OpenEngine& engine();
};
static_assert(writesThroughEngine<OpenHandlers> && drawsRandomNumbers<OpenEngine>);

using testing::Bench;

// Counts what the engine asks of the picture.
class CountingHost : public EngineHost {
public:
    explicit CountingHost(State& state) : m_state(state) {}
    int fonds = 0;
    int messages = 0;
    int timerEvents = 0;
    std::string line1;
    void fondschema() override {
        ++fonds;
        if (!m_state.natInvalide) {
            m_state.cptDessin = 0;
        }
    }
    void electrodes() override {}
    void drawNatureMessage(const std::string& l1, const std::string&) override {
        ++messages;
        line1 = l1;
    }
    void clearMovingLayer() override {}
    void drawMovingLayer(const Frame&) override {}
    void timerChanged(bool) override { ++timerEvents; }
    void naturesChanged() override {}

private:
    State& m_state;
};

} // namespace

class HandlersTest : public QObject {
    Q_OBJECT

private slots:
    void validation_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letters give the lower bound") << 1 << "abc"
                                                      << "200";
        QTest::newRow("empty box") << 2 << ""
                                   << "1";
        QTest::newRow("2.5 mL is below the range") << 6 << "2.5"
                                                   << "80";
        QTest::newRow("2,5 g is kept") << 2 << "2,5"
                                       << "2,5";
        QTest::newRow("three digits") << 0 << "0,01234"
                                      << "0,0123";
        QTest::newRow("below the concentrations") << 5 << "0,000001"
                                                  << "1E-05";
        QTest::newRow("above the concentrations") << 7 << "3"
                                                  << "1";
        QTest::newRow("resistance high") << 4 << "5000"
                                         << "1000";
        QTest::newRow("resistance low") << 4 << "0,5"
                                        << "5";
        QTest::newRow("stop time digits") << 9 << "1234"
                                          << "1230";
        QTest::newRow("stop time whole part") << 9 << "12,7"
                                              << "12";
        QTest::newRow("stop time above") << 9 << "400000"
                                         << "360000";
        QTest::newRow("stop time zero") << 9 << "0"
                                        << "0";
        QTest::newRow("rounded third digit") << 3 << "99,96"
                                             << "100";
        QTest::newRow("vessel") << 1 << "333,3"
                                << "333";
    }
    void validation() {
        QFETCH(int, box);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QCOMPARE(QString::fromStdString(validatedText2(box, typed.toStdString())), shown);
    }

    void keyFilter_data() {
        QTest::addColumn<uint>("key");
        QTest::addColumn<uint>("taken");
        QTest::newRow("digit") << uint('7') << uint('7');
        QTest::newRow("point to comma") << uint('.') << uint(',');
        QTest::newRow("comma") << uint(',') << uint(',');
        QTest::newRow("backspace") << uint(8) << uint(8);
        QTest::newRow("enter") << uint(13) << uint(13);
        QTest::newRow("letter") << uint('a') << uint(0);
        QTest::newRow("minus") << uint('-') << uint(0);
        QTest::newRow("exponent") << uint('E') << uint(0);
        QTest::newRow("space") << uint(' ') << uint(0);
        QTest::newRow("accented") << uint(U'é') << uint(0);
    }
    void keyFilter() {
        QFETCH(uint, key);
        QFETCH(uint, taken);
        QCOMPARE(uint(filterText2Key(char32_t(key))), taken);
    }

    void enterValidates() {
        Bench b;
        b.handlers.setText2(cat::Text2Volume, "2,5");
        QCOMPARE(uint(b.handlers.Text2_KeyPress(cat::Text2Volume, keyEnter)), uint(keyEnter));
        QCOMPARE(b.p().Text2[cat::Text2Volume].text(), std::string("200"));
        QCOMPARE(int(b.s().niveau1), 414);
    }

    void editingPausesTheAnimation() {
        Bench b;
        b.p().Timer1 = true;
        b.handlers.Text2_GotFocus(cat::Text2MasseG);
        QVERIFY(!b.p().Timer1);
        b.handlers.setText2(cat::Text2MasseG, "20");
        b.handlers.Text2_LostFocus(cat::Text2MasseG);
        QVERIFY(b.p().Timer1);
        QCOMPARE(b.s().masseMetal[1][3], 20.0);

        b.p().Timer1 = false;
        b.handlers.Text2_GotFocus(cat::Text2MasseG);
        b.handlers.Text2_LostFocus(cat::Text2MasseG);
        QVERIFY(!b.p().Timer1);
    }

    void stopBoxDoesNotReset() {
        Bench b;
        b.p().Timer1 = true;
        for (int i = 0; i < 3; ++i) {
            b.engine.Timer1_Timer();
        }
        const std::int32_t t = b.s().tempsSec;
        b.handlers.Text2_GotFocus(cat::Text2Arret);
        QVERIFY(b.p().Timer1);
        b.handlers.setText2(cat::Text2Arret, "1234");
        b.handlers.Text2_LostFocus(cat::Text2Arret);
        QCOMPARE(b.p().Text2[cat::Text2Arret].text(), std::string("1230"));
        QCOMPARE(b.s().tempsSec, t);
    }

    void montageSwitch_data() {
        QTest::addColumn<Montage>("from");
        QTest::addColumn<Montage>("to");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("kept");
        QTest::addColumn<QString>("name");
        QTest::newRow("graphite becomes zinc")
            << Montage::Tension << Montage::Pile << 3 << 3 << "Zinc";
        QTest::newRow("zinc becomes graphite")
            << Montage::Pile << Montage::Tension << 3 << 3 << "Graphite";
        QTest::newRow("electrolysis zinc becomes aluminium")
            << Montage::Tension << Montage::Pile << 4 << 0 << "Aluminium";
        QTest::newRow("copper stays copper")
            << Montage::Courant << Montage::Pile << 1 << 1 << "Cuivre";
        QTest::newRow("between the generators")
            << Montage::Tension << Montage::Courant << 4 << 4 << "Zinc";
    }
    void montageSwitch() {
        QFETCH(Montage, from);
        QFETCH(Montage, to);
        QFETCH(int, index);
        QFETCH(int, kept);
        QFETCH(QString, name);
        Bench b;
        b.handlers.selectOption2(from);
        b.handlers.selectCombo1(4);
        b.handlers.selectCombo2(0, index);
        b.handlers.selectOption2(to);
        const auto& box = b.p().Combo2[0];
        QCOMPARE(box.listIndex, kept);
        QCOMPARE(box.tag, std::to_string(kept));
        QCOMPARE(QString::fromStdString(box.items[std::size_t(kept)]), name);
        QCOMPARE(box.items.size(), std::size_t(to == Montage::Pile ? 4 : 5));
    }

    void refusals_data() {
        QTest::addColumn<Montage>("montage");
        QTest::addColumn<int>("electrolyte");
        QTest::addColumn<int>("nature1");
        QTest::addColumn<int>("nature2");
        QTest::addColumn<QString>("c1");
        QTest::addColumn<QString>("c2");
        QTest::addColumn<bool>("refused");
        const QString same = "0,01";
        QTest::newRow("concentration cell")
            << Montage::Pile << 4 << 1 << 1 << same << "0,1" << true;
        QTest::newRow("same couple, same concentration")
            << Montage::Pile << 4 << 1 << 1 << same << same << false;
        QTest::newRow("two couples") << Montage::Pile << 4 << 1 << 3 << same << "0,1" << false;
        QTest::newRow("iron(III) on graphite")
            << Montage::Tension << 8 << 3 << 3 << same << same << false;
        QTest::newRow("iron(III) with copper")
            << Montage::Tension << 8 << 1 << 3 << same << same << true;
        QTest::newRow("sodium chloride, aluminium")
            << Montage::Tension << 4 << 0 << 0 << same << same << false;
        QTest::newRow("zinc sulfate, zinc")
            << Montage::Courant << 9 << 4 << 4 << same << same << false;
        QTest::newRow("zinc sulfate, aluminium right")
            << Montage::Courant << 9 << 3 << 0 << same << same << true;
        QTest::newRow("acid, zinc both sides")
            << Montage::Tension << 0 << 4 << 4 << same << same << true;
        QTest::newRow("sulfuric acid, iron")
            << Montage::Tension << 1 << 2 << 3 << same << same << true;
        QTest::newRow("acid, copper") << Montage::Tension << 0 << 1 << 1 << same << same << false;
        QTest::newRow("copper chloride, iron")
            << Montage::Tension << 3 << 3 << 2 << same << same << true;
        QTest::newRow("copper sulfate, copper")
            << Montage::Tension << 6 << 1 << 1 << same << same << false;
        QTest::newRow("copper sulfate, zinc")
            << Montage::Tension << 6 << 4 << 3 << same << same << true;
        QTest::newRow("iron(II) sulfate, iron")
            << Montage::Tension << 7 << 2 << 2 << same << same << false;
        QTest::newRow("iron(II) sulfate, zinc")
            << Montage::Tension << 7 << 3 << 4 << same << same << true;
        QTest::newRow("aluminium sulfate, anything")
            << Montage::Tension << 5 << 0 << 4 << same << same << false;
    }
    void refusals() {
        QFETCH(Montage, montage);
        QFETCH(int, electrolyte);
        QFETCH(int, nature1);
        QFETCH(int, nature2);
        QFETCH(QString, c1);
        QFETCH(QString, c2);
        QFETCH(bool, refused);
        Bench b;
        CountingHost host(b.s());
        b.engine.setHost(&host);
        b.handlers.selectOption2(montage);
        b.handlers.selectCombo1(electrolyte);
        b.handlers.setText2(cat::Text2ConcentrationG, c1.toStdString());
        b.handlers.setText2(cat::Text2ConcentrationD, c2.toStdString());
        b.handlers.selectCombo2(0, nature1);
        host.messages = 0;
        b.handlers.selectCombo2(1, nature2);
        QCOMPARE(b.s().natInvalide, refused);
        QCOMPARE(host.messages, refused ? 1 : 0);
        if (refused) {
            const std::string expected = montage == Montage::Pile
                                             ? "Les piles de concentration ne sont pas traitées :"
                                             : "Réaction spontanée à la surface des électrodes :";
            QCOMPARE(host.line1, expected);
            QCOMPARE(b.s().messageNat1, expected);
            // A refused montage does not run: the tick does nothing.
            const std::int32_t t = b.s().tempsSec;
            b.p().Timer1 = true;
            b.engine.Timer1_Timer();
            QCOMPARE(b.s().tempsSec, t);
        }
    }

    // The option of the concentrations accepts concentration cells and no
    // other refusal; switching it checks and resets at once.
    void nernstOption_data() {
        QTest::addColumn<Montage>("montage");
        QTest::addColumn<int>("electrolyte");
        QTest::addColumn<int>("nature1");
        QTest::addColumn<int>("nature2");
        QTest::addColumn<QString>("c2");
        QTest::addColumn<bool>("refusedOff");
        QTest::addColumn<bool>("refusedOn");
        QTest::newRow("copper concentration cell")
            << Montage::Pile << 4 << 1 << 1 << "1" << true << false;
        QTest::newRow("zinc concentration cell")
            << Montage::Pile << 4 << 3 << 3 << "0,001" << true << false;
        QTest::newRow("same couple, same text")
            << Montage::Pile << 4 << 1 << 1 << "0,01" << false << false;
        QTest::newRow("two couples") << Montage::Pile << 4 << 3 << 1 << "1" << false << false;
        QTest::newRow("iron(III) with copper")
            << Montage::Tension << 8 << 1 << 3 << "1" << true << true;
        QTest::newRow("acid, zinc") << Montage::Courant << 0 << 4 << 3 << "1" << true << true;
        QTest::newRow("salt water, aluminium")
            << Montage::Tension << 4 << 0 << 0 << "1" << false << false;
    }
    void nernstOption() {
        QFETCH(Montage, montage);
        QFETCH(int, electrolyte);
        QFETCH(int, nature1);
        QFETCH(int, nature2);
        QFETCH(QString, c2);
        QFETCH(bool, refusedOff);
        QFETCH(bool, refusedOn);
        Bench b;
        CountingHost host(b.s());
        b.engine.setHost(&host);
        b.handlers.selectOption2(montage);
        b.handlers.selectCombo1(electrolyte);
        b.handlers.setText2(cat::Text2ConcentrationG, "0,01");
        b.handlers.setText2(cat::Text2ConcentrationD, c2.toStdString());
        b.handlers.selectCombo2(0, nature1);
        b.handlers.selectCombo2(1, nature2);
        QCOMPARE(b.s().natInvalide, refusedOff);
        for (const int value : {1, 0, 1}) {
            host.fonds = 0;
            host.messages = 0;
            b.s().tempsSec = 123;
            b.handlers.setCheck3(value);
            QCOMPARE(b.p().Check3, value);
            const bool refused = value == 1 ? refusedOn : refusedOff;
            QCOMPARE(b.s().natInvalide, refused);
            QCOMPARE(host.messages, refused ? 1 : 0);
            // The reset: the clock back at zero, the montage drawn again.
            QCOMPARE(b.s().tempsSec, 0);
            QVERIFY(refused || host.fonds > 0);
        }
        b.handlers.setCheck3(7);
        QCOMPARE(b.p().Check3, 0);
    }

    void editAcceptingTheMontageDrawsIt() {
        Bench b;
        CountingHost host(b.s());
        b.engine.setHost(&host);
        b.handlers.selectOption2(Montage::Pile);
        b.handlers.selectCombo2(0, 1);
        b.handlers.setText2(cat::Text2ConcentrationD, "0,1");
        b.handlers.selectCombo2(1, 1);
        QVERIFY(b.s().natInvalide);
        host.fonds = 0;
        b.handlers.setText2(cat::Text2ConcentrationD, "0,01");
        b.handlers.Text2_LostFocus(cat::Text2ConcentrationD);
        QVERIFY(!b.s().natInvalide);
        QVERIFY(host.fonds > 0);
        QCOMPARE(int(b.s().cptDessin), 1);
    }

    void scaleChangeWhilePausedDoesNotAdvance() {
        Bench b;
        const std::int32_t t = b.s().tempsSec;
        const double mass = b.s().masseMetal[1][3];
        b.handlers.selectOption1(1);
        QCOMPARE(b.s().tempsSec, t);
        QCOMPARE(b.s().masseMetal[1][3], mass);
        QVERIFY(!b.s().dessinSeul);
        b.p().Timer1 = true;
        b.handlers.selectOption1(0);
        QCOMPARE(b.s().tempsSec, t + 1);
    }

    void spinLabels() {
        Bench b;
        b.handlers.setUpDown1(100);
        QCOMPARE(b.p().Label1, std::string("10,0 V"));
        b.handlers.setUpDown1(-3);
        QCOMPARE(b.p().UpDown1, 0);
        QCOMPARE(b.p().Label1, std::string("0,0 V"));
        b.handlers.setUpDown2(25);
        QCOMPARE(b.p().Label2, std::string("250 mA"));
        b.handlers.setUpDown2(99);
        QCOMPARE(b.p().Label2, std::string("990 mA"));
        b.handlers.setUpDown2(140);
        QCOMPARE(b.p().Label2, std::string("1,40 A"));
        b.handlers.setUpDown2(999);
        QCOMPARE(b.p().UpDown2, 200);
        QCOMPARE(b.p().Label2, std::string("2,00 A"));
        b.handlers.setUpDown2(0);
        QCOMPARE(b.p().UpDown2, 1);
        b.handlers.setHScroll2(0);
        QCOMPARE(b.p().HScroll2, 1);
    }

    void pauseToggles() {
        Bench b;
        CountingHost host(b.s());
        b.engine.setHost(&host);
        b.engine.Command5_Click();
        QVERIFY(b.p().Timer1);
        b.engine.Command5_Click();
        QVERIFY(!b.p().Timer1);
        QCOMPARE(host.timerEvents, 2);
    }

    void redrawCounter() {
        Bench b;
        CountingHost host(b.s());
        b.engine.setHost(&host);
        b.p().Timer1 = true;
        // Past 300 s the background is redrawn every 61 ticks only: at ticks 62 and 123.
        b.s().tempsSec = 1000;
        b.s().cptDessin = 0;
        host.fonds = 0;
        for (int i = 0; i < 123; ++i) {
            b.engine.Timer1_Timer();
        }
        QCOMPARE(host.fonds, 2);
        // Below 300 s every tick at a multiple of 10 redraws too.
        b.s().tempsSec = 290;
        host.fonds = 0;
        b.engine.Timer1_Timer();
        QCOMPARE(host.fonds, 1);
        b.s().tempsSec = 300;
        host.fonds = 0;
        b.engine.Timer1_Timer();
        QCOMPARE(host.fonds, 0);
    }
};

QTEST_GUILESS_MAIN(HandlersTest)
#include "HandlersTest.moc"
