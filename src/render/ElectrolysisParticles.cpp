// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/ElectrolysisParticles.h"

#include "render/ParticleColors.h"

#include "base/Rounding.h"
#include "sim/Catalogue.h"
#include "sim/Chemistry.h"

namespace Ionaria::render {

namespace cat = sim::catalogue;

namespace {

constexpr double cathodeX = 118.0;
constexpr double anodeX = 298.0;

} // namespace

Color ElectrolysisParticles::solution() const {
    const sim::State& s = m_engine.state();
    return {s.rougeSol1, s.vertSol1, s.bleuSol1};
}

double ElectrolysisParticles::slot(int k, int i) const {
    return m_engine.state().posY[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)];
}

void ElectrolysisParticles::blended(Color species, double weight, double x, double y,
                                    double radius) {
    const Color s = solution();
    const auto fill = rgb((species.r * weight + s.r * (6.0 - weight)) / 6.0,
                          (species.g * weight + s.g * (6.0 - weight)) / 6.0,
                          (species.b * weight + s.b * (6.0 - weight)) / 6.0);
    const auto outline =
        rgb(s.r * (6.0 - weight) / 6.0, s.g * (6.0 - weight) / 6.0, s.b * (6.0 - weight) / 6.0);
    if (!fill || !outline) {
        return;
    }
    m_canvas.setFillColor(*fill);
    m_canvas.circle(x, y, radius, *outline);
}

std::uint64_t ElectrolysisParticles::draw(double avance1, double avance2, base::Random& jitter) {
    m_draws = 0;
    cathode(avance1, jitter);
    anode(avance2, jitter);
    return m_draws;
}

void ElectrolysisParticles::cathode(double avance, base::Random& jitter) {
    const sim::State& s = m_engine.state();
    const bool macro = m_engine.params().isMacro();
    const int code = s.espece[1];
    Canvas& c = m_canvas;

    if (code == cat::hydrogene && macro) {
        bubbles(1, 114.0, bubbleWhite, avance, jitter);
        return;
    }
    if (macro) {
        return;
    }
    const auto ring = [&](Color colour) {
        const int width = c.drawWidth();
        c.setFillStyle(FillStyle::Transparent);
        c.setDrawWidth(3);
        c.circle(cathodeX, slot(1, 7), 5.0, colour);
        c.setDrawWidth(width);
        c.setFillStyle(FillStyle::Solid);
    };

    switch (code) {
    case cat::fer3:
        for (int j = 8; j <= 13; ++j) {
            blended(ionFer3, 14 - j, cathodeX - 9.0 * ((7 - j) + avance), slot(1, j), 5.0);
        }
        for (int i = 1; i <= 6; ++i) {
            blended(ionFer2, i, cathodeX - 9.0 * ((6 - i) + avance), slot(1, i), 5.0);
        }
        ring(ionFer3);
        break;
    case cat::cuivre2:
        m_processes.deposit(-1, solution(), static_cast<int>(cathodeX), 1, avance, ionCuivre2,
                            copperFrom, copperTo);
        break;
    case cat::fer2:
        m_processes.deposit(-1, solution(), static_cast<int>(cathodeX), 1, avance, ionFer2,
                            greyFrom, greyTo);
        break;
    case cat::zinc2:
        m_processes.deposit(-1, solution(), static_cast<int>(cathodeX), 1, avance, ionZinc2,
                            greyFrom, greyTo);
        break;
    case cat::hydrogene: {
        if (sim::halfEquationNumber(s, 1) == cat::eauReduite) {
            // Water reduced: the HO- formed leave on both sides.
            for (int i = 4; i <= 6; ++i) {
                const double weight = 2.0 * (i - 3);
                const double offset = 18.0 * ((6 - i) + avance);
                blended(hydroxydeColor, weight, cathodeX - offset, slot(1, i), 4.0);
                blended(hydroxydeColor, weight, cathodeX + offset, slot(1, i), 4.0);
            }
            ring(eauColor);
            dihydrogene(avance);
            break;
        }
        for (int j = 8; j <= 13; ++j) {
            // The second ion of a pair comes from the other side.
            const double side = slot(1, j) != slot(1, j - 1) ? -1.0 : 1.0;
            blended(hydrogeneColor, 14 - j, cathodeX + side * 9.0 * ((7 - j) + avance), slot(1, j),
                    4.0);
        }
        ring(hydrogeneColor);
        dihydrogene(avance);
        break;
    }
    default:
        break;
    }
}

void ElectrolysisParticles::dihydrogene(double avance) {
    const sim::State& s = m_engine.state();
    Canvas& c = m_canvas;
    for (int i = 1; i <= 6; ++i) {
        if (slot(1, i) == slot(1, i + 1)) {
            continue;
        }
        const double yc = slot(1, i) - ((6 - i) + avance) * (slot(1, i) - s.niveau1) / 6.0;
        c.setFillColor(hydrogeneColor);
        c.circle(cathodeX, yc - 8.0, 4.0, black);
        c.circle(cathodeX, yc + 8.0, 4.0, black);
        c.setFillColor(moleculeElectronColor);
        c.circle(cathodeX, yc - 2.0, 2.0, black);
        c.circle(cathodeX, yc + 2.0, 2.0, black);
    }
}

void ElectrolysisParticles::anode(double avance, base::Random& jitter) {
    const sim::State& s = m_engine.state();
    const bool macro = m_engine.params().isMacro();
    const int code = s.espece[2];
    Canvas& c = m_canvas;

    if (macro) {
        if (code == cat::chlorure) {
            bubbles(2, 294.0, bubbleChlore, avance, jitter);
        } else if (code == cat::eau) {
            bubbles(2, 294.0, bubbleWhite, avance, jitter);
        }
        return;
    }
    const auto ring = [&](Color colour) {
        const int width = c.drawWidth();
        c.setFillStyle(FillStyle::Transparent);
        c.setDrawWidth(3);
        c.circle(anodeX, slot(2, 7), 5.0, colour);
        c.setDrawWidth(width);
        c.setFillStyle(FillStyle::Solid);
    };
    const int x0 = static_cast<int>(anodeX);

    switch (code) {
    case cat::anodeAluminium:
        m_processes.dissolution(-1, solution(), x0, 2, avance, ionAluminium3, true, atomRingGrey);
        break;
    case cat::anodeZinc:
        m_processes.dissolution(-1, solution(), x0, 2, avance, ionZinc2, false, atomRingGrey);
        break;
    case cat::anodeFer:
        m_processes.dissolution(-1, solution(), x0, 2, avance, ionFer2, false, atomRingGrey);
        break;
    case cat::anodeCuivre:
        m_processes.dissolution(-1, solution(), x0, 2, avance, ionCuivre2, false, cuivreAnodeRing);
        break;
    case cat::chlorure:
        for (int j = 8; j <= 13; ++j) {
            const double side = slot(2, j) != slot(2, j - 1) ? -1.0 : 1.0;
            blended(chlorureColor, 14 - j, anodeX + side * 9.0 * ((7 - j) + avance), slot(2, j),
                    4.0);
        }
        ring(chlorureColor);
        for (int i = 1; i <= 6; ++i) {
            if (slot(2, i) == slot(2, i + 1)) {
                continue;
            }
            c.setFillColor(dichloreColor);
            c.circle(anodeX, slot(2, i) - ((6 - i) + avance) * (slot(2, i) - s.niveau2) / 6.0, 9.0,
                     black);
        }
        break;
    case cat::eau:
        if (sim::halfEquationNumber(s, 2) == cat::hydroxydeOxyde) {
            // HO- come to the electrode as the chloride ions do.
            for (int j = 8; j <= 13; ++j) {
                const double side = slot(2, j) != slot(2, j - 1) ? -1.0 : 1.0;
                blended(hydroxydeColor, 14 - j, anodeX + side * 9.0 * ((7 - j) + avance),
                        slot(2, j), 4.0);
            }
            ring(hydroxydeColor);
        } else {
            for (int i = 4; i <= 6; ++i) {
                // The ions formed leave on both sides of the electrode.
                const double weight = 2.0 * (i - 3);
                const double offset = 18.0 * ((6 - i) + avance);
                blended(hydrogeneColor, weight, anodeX - offset, slot(2, i), 4.0);
                blended(hydrogeneColor, weight, anodeX + offset, slot(2, i), 4.0);
            }
            ring(eauColor);
        }
        for (int i = 4; i <= 6; ++i) {
            if (slot(2, i) == slot(2, i + 1)) {
                continue;
            }
            c.setFillColor(dioxygeneColor);
            c.circle(anodeX, slot(2, i) - ((6 - i) + 2.0 * avance) * (slot(2, i) - s.niveau2) / 6.0,
                     9.0, black);
        }
        break;
    default:
        break;
    }
}

void ElectrolysisParticles::bubbles(int k, double x0, Color colour, double avance,
                                    base::Random& jitter) {
    const sim::State& s = m_engine.state();
    const auto rule = sim::gasRule(k, s.espece[static_cast<std::size_t>(k)]);
    if (!rule) {
        return;
    }
    m_canvas.setFillColor(colour);
    sim::forEachBubbleTrain(s, k, *rule, avance, [&](const sim::BubbleTrain& train) {
        for (int y = train.yc; y >= train.surface; y -= train.spacing) {
            m_canvas.circle(x0 + 8.0 * jitter.next(), y, 3.0, black);
            ++m_draws;
        }
        for (int y = train.yc; y <= train.lowest; y += train.spacing) {
            m_canvas.circle(x0 + 8.0 * jitter.next(), y, 3.0, black);
            ++m_draws;
        }
    });
}

} // namespace Ionaria::render
