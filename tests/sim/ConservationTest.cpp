// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimBench.h"
#include "sim/Catalogue.h"
#include "sim/Engine.h"

#include <QtTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <string>

using Ionaria::sim::catalogue::Montage;

using namespace Ionaria::sim;
namespace cat = Ionaria::sim::catalogue;

namespace {

using testing::Bench;

// The sanitizers slow the engine down many times: fewer montages there.
#if defined(__SANITIZE_ADDRESS__)
constexpr int montages = 12;
#else
constexpr int montages = 90;
#endif
constexpr std::int32_t hundredHours = 360000; // s

constexpr double molarMass[5] = {cat::masseAl, cat::masseCu, cat::masseFe, 0.0, cat::masseZn};

// What a step may convert: at most the charge of the current that flowed.
double charge(double amperes) {
    return amperes / cat::faraday;
}

// The amounts of each element, in mol, as far as the montage holds them.
struct Elements {
    double iron = 0.0;
    double copper = 0.0;
    double zinc = 0.0;
    double aluminium = 0.0;
    double chloride = 0.0;
    double halfCell[3] = {0.0, 0.0, 0.0}; // metal of each half-cell, ions and electrode

    static Elements of(const Engine& engine) {
        const State& s = engine.state();
        Elements e;
        if (engine.params().isPile()) {
            for (int h = 1; h <= 2; ++h) {
                const int tag = h == 1 ? engine.nature1() : engine.nature2();
                const auto& metal = cat::halfCellMetals[std::size_t(tag)];
                e.halfCell[h] =
                    (h == 1 ? s.ions1 : s.ions2) +
                    s.masseMetal[std::size_t(h)][std::size_t(metal.metalCode)] / metal.molarMass;
            }
            return e;
        }
        const auto metal = [&s](int code) {
            return (s.masseMetal[1][std::size_t(code)] + s.masseMetal[2][std::size_t(code)]) /
                   molarMass[code];
        };
        e.iron = s.quantite[cat::fer2] + s.quantite[cat::fer3] + metal(2);
        e.copper = s.quantite[cat::cuivre2] + metal(1);
        e.zinc = s.quantite[cat::zinc2] + metal(4);
        e.aluminium = s.quantite[cat::aluminium3] + metal(0);
        e.chloride = s.quantite[cat::chlorure];
        return e;
    }
};

// What a step changes, kept from the step before.
struct Amounts {
    std::array<std::array<double, 5>, 3> masseMetal{};
    std::array<double, 11> quantite{};
    double ions1 = 0.0;
    double ions2 = 0.0;
    float intensite = 0.0F;
    std::int32_t tempsSec = 0;

    explicit Amounts(const State& s)
        : masseMetal(s.masseMetal), quantite(s.quantite), ions1(s.ions1), ions2(s.ions2),
          intensite(s.intensite), tempsSec(s.tempsSec) {}
};

bool same(double a, double b) {
    return std::fabs(a - b) <= 1e-9 * std::max(std::fabs(a), std::fabs(b)) + 1e-15;
}

// Checks the state after every step of a run.
class Auditor : public StepObserver {
public:
    explicit Auditor(const Engine& engine)
        : m_engine(engine), m_start(Elements::of(engine)), m_before(engine.state()),
          m_startCharge(ionicCharge(engine.state())) {}

    void stepDone(bool) override {
        ++m_steps;
        const State& s = m_engine.state();
        if (!m_failure.empty()) {
            return;
        }
        for (std::size_t i = 1; i <= 10; ++i) {
            expect(s.quantite[i] >= 0.0, "negative amount");
        }
        for (const auto& electrode : s.masseMetal) {
            for (const double grams : electrode) {
                expect(grams >= 0.0, "negative mass");
            }
        }
        expect(s.ions1 >= 0.0 && s.ions2 >= 0.0, "negative cations");

        const Elements now = Elements::of(m_engine);
        expect(same(now.iron, m_start.iron), "iron not conserved");
        expect(same(now.copper, m_start.copper), "copper not conserved");
        expect(same(now.zinc, m_start.zinc), "zinc not conserved");
        expect(same(now.aluminium, m_start.aluminium), "aluminium not conserved");
        expect(now.chloride <= m_before.quantite[cat::chlorure], "chloride created");
        if (!m_engine.params().isPile()) {
            // The solution stays neutral, water's ions counted.
            // To the rounding of sums as large as the ions' charges.
            double scale = 0.0;
            for (std::size_t i = 1; i <= 10; ++i) {
                scale += std::fabs(cat::charges[i] * s.quantite[i]);
            }
            expect(std::fabs(ionicCharge(s) - m_startCharge) <= 1e-15 + 1e-9 * scale,
                   "solution charged");
            expect(!(s.quantite[cat::hydrogene] > 0.0 && s.quantite[cat::hydroxyde] > 0.0),
                   "H+ and HO- together");
        }
        expect(same(now.halfCell[1], m_start.halfCell[1]), "metal of half-cell 1 not conserved");
        expect(same(now.halfCell[2], m_start.halfCell[2]), "metal of half-cell 2 not conserved");

        // The charge each electrode converted, where its reaction shows it.
        const std::optional<double> cathode = converted(1);
        const std::optional<double> anode = converted(2);
        const double flowed = m_before.tempsSec == 0
                                  ? 0.0
                                  : charge(std::max(double(m_before.intensite), generator()));
        for (const auto& c : {cathode, anode}) {
            if (c) {
                expect(*c >= -1e-15 && *c <= flowed * (1.0 + 1e-9) + 1e-15,
                       "more charge converted than flowed");
            }
        }
        if (cathode && anode) {
            expect(same(*cathode, *anode), "unequal charges at the electrodes");
            m_bothSeen = m_bothSeen || *cathode > 0.0;
        }
        m_exhausted = m_exhausted || ranOut();
        m_before = Amounts(s);
    }

    const std::string& failure() const { return m_failure; }
    long long steps() const { return m_steps; }
    bool exhausted() const { return m_exhausted; }
    bool bothSeen() const { return m_bothSeen; }

private:
    void expect(bool ok, const char* what) {
        if (!ok && m_failure.empty()) {
            m_failure =
                std::string(what) + " at " + std::to_string(m_engine.state().tempsSec) + " s";
        }
    }

    double generator() const {
        const ParamStore& p = m_engine.params();
        return p.Option2 == Montage::Courant ? p.UpDown2 / 100.0 : 0.0;
    }

    // A reactant of the montage that has just run out.
    bool ranOut() const {
        const State& s = m_engine.state();
        const auto gone = [](double before, double now) { return before > 0.0 && now == 0.0; };
        for (std::size_t i : {1U, 6U, 10U}) {
            if (gone(m_before.quantite[i], s.quantite[i])) {
                return true;
            }
        }
        for (std::size_t e = 1; e <= 2; ++e) {
            for (std::size_t m = 0; m < 5; ++m) {
                if (gone(m_before.masseMetal[e][m], s.masseMetal[e][m])) {
                    return true;
                }
            }
        }
        return gone(m_before.ions1, s.ions1) || gone(m_before.ions2, s.ions2);
    }

    // Mol of electrons taken or given at electrode k during the step, from
    // what its reaction changed; none for hydrogen ions and water, which
    // change no amount.
    std::optional<double> converted(int k) const {
        const State& s = m_engine.state();
        const auto lost = [&](int h) {
            return h == 1 ? m_before.ions1 - s.ions1 : m_before.ions2 - s.ions2;
        };
        const auto metalLost = [&](std::size_t e, std::size_t m) {
            return (m_before.masseMetal[e][m] - s.masseMetal[e][m]) / molarMass[m];
        };
        if (m_engine.params().isPile()) {
            const int tag = k == 1 ? m_engine.nature1() : m_engine.nature2();
            const auto& metal = cat::halfCellMetals[std::size_t(tag)];
            const auto e = std::size_t(k);
            const double n = metal.n;
            const double atoms = (m_before.masseMetal[e][std::size_t(metal.metalCode)] -
                                  s.masseMetal[e][std::size_t(metal.metalCode)]) /
                                 metal.molarMass;
            const double cations = lost(k);
            // The anode loses atoms, the cathode cations.
            return n * std::max(atoms, cations);
        }
        const auto q = [&](std::size_t i) { return m_before.quantite[i] - s.quantite[i]; };
        switch (s.espece[std::size_t(k)]) {
        case cat::fer3:
            return q(cat::fer3);
        case cat::cuivre2:
            return -2.0 * metalLost(1, 1);
        case cat::chlorure:
            return q(cat::chlorure);
        case cat::anodeAluminium:
            return 3.0 * metalLost(2, 0);
        case cat::anodeCuivre:
            return 2.0 * metalLost(2, 1);
        case cat::anodeFer:
            return 2.0 * metalLost(2, 2);
        case cat::anodeZinc:
            return 2.0 * metalLost(2, 4);
        default:
            return std::nullopt;
        }
    }

    // Σ z·n over the vessel's species, mol of charge.
    static double ionicCharge(const State& s) {
        double sum = 0.0;
        for (std::size_t i = 1; i <= 10; ++i) {
            sum += cat::charges[i] * s.quantite[i];
        }
        return sum;
    }

    const Engine& m_engine;
    Elements m_start;
    Amounts m_before;
    double m_startCharge = 0.0;
    std::string m_failure;
    long long m_steps = 0;
    bool m_exhausted = false;
    bool m_bothSeen = false;
};

// A value drawn evenly on a logarithmic scale within a box's range, written
// as the box shows it.
std::string drawn(std::mt19937& random, int box) {
    const auto& range = cat::text2Ranges[std::size_t(box)];
    std::uniform_real_distribution<double> u(std::log(double(range.low)),
                                             std::log(double(range.high)));
    char text[32];
    std::snprintf(text, sizeof text, "%.3G", std::exp(u(random)));
    std::string s(text);
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

} // namespace

class ConservationTest : public QObject {
    Q_OBJECT

private slots:
    // Random montages within the ranges, each run up to 100 simulated hours
    // or until its current stops: matter is neither created nor lost, both
    // electrodes convert the same charge, and nothing goes below zero.
    void randomMontages() {
        std::mt19937 random(20240610U);
        int exhausted = 0;
        int bothSeen = 0;
        long long totalSteps = 0;
        for (int n = 0; n < montages; ++n) {
            Bench b;
            const Montage montage = *cat::montageOfCode(n % cat::montageCount);
            b.handlers.selectOption2(montage);
            do {
                std::uniform_int_distribution<int> nature(
                    0, montage == Montage::Pile ? cat::natureZincPile : cat::natureZincElectrolyse);
                std::uniform_int_distribution<int> electrolyte(0, 9);
                if (montage != Montage::Pile) {
                    b.handlers.selectCombo1(electrolyte(random));
                }
                b.handlers.selectCombo2(0, nature(random));
                b.handlers.selectCombo2(1, nature(random));
                for (int box : {0, 1, 2, 3, 4, 5, 6, 7, 8}) {
                    b.text(box, drawn(random, box).c_str());
                }
                // Two half-cells of the same metal need the same concentration.
                if (montage == Montage::Pile && b.engine.nature1() == b.engine.nature2()) {
                    b.text(cat::Text2ConcentrationD,
                           b.p().Text2[cat::Text2ConcentrationG].text().c_str());
                }
            } while (b.s().natInvalide);
            b.handlers.setUpDown1(
                std::uniform_int_distribution<int>(cat::upDown1Min, cat::upDown1Max)(random));
            b.handlers.setUpDown2(
                std::uniform_int_distribution<int>(cat::upDown2Min, cat::upDown2Max)(random));
            b.engine.Command3_Click();

            Auditor auditor(b.engine);
            b.engine.setStepObserver(&auditor);
            b.handlers.setHScroll2(39);
            b.p().Timer1 = true;
            while (b.s().tempsSec < hundredHours && auditor.failure().empty()) {
                const std::int32_t t = b.s().tempsSec;
                b.engine.Timer1_Timer();
                if (b.s().tempsSec == t) {
                    break;
                }
            }
            b.engine.setStepObserver(nullptr);
            const QString where = QStringLiteral("montage %1 (%2, %3 | %4, %5): ")
                                      .arg(n)
                                      .arg(cat::montageCode(montage))
                                      .arg(b.engine.nature1())
                                      .arg(b.engine.nature2())
                                      .arg(b.p().Combo1.listIndex);
            QVERIFY2(auditor.failure().empty(),
                     qPrintable(where + QString::fromStdString(auditor.failure())));
            QVERIFY(auditor.steps() > 0);
            exhausted += auditor.exhausted() ? 1 : 0;
            totalSteps += auditor.steps();
            bothSeen += auditor.bothSeen() ? 1 : 0;
        }
        // The draws reach what matters: reactants that run out, and charges
        // seen at both electrodes.
        qInfo() << "exhausted" << exhausted << "both" << bothSeen << "steps" << totalSteps;
        QVERIFY2(exhausted >= montages / 4, qPrintable(QString::number(exhausted)));
        QVERIFY2(bothSeen >= montages / 3, qPrintable(QString::number(bothSeen)));
    }
};

QTEST_GUILESS_MAIN(ConservationTest)
#include "ConservationTest.moc"
