// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/MovingLayer.h"

#include "render/ParticleColors.h"
#include "render/Schematic.h"

#include "base/Rounding.h"
#include "sim/Catalogue.h"

#include <cmath>
#include <cstdint>

namespace Ionaria::render {

namespace cat = sim::catalogue;

namespace {

constexpr double turn = 6.28;
constexpr double electronStep = 0.1256; // 50 electrons per turn

Color solution2(const sim::State& s) {
    return {s.rougeSol2, s.vertSol2, s.bleuSol2};
}
Color solution3(const sim::State& s) {
    return {s.rougeSol3, s.vertSol3, s.bleuSol3};
}

// A bridge ion takes the colour of the solution it enters over its last 35
// pixels.
std::optional<Color> bridgeColor(Color ion, Color entered, int d) {
    if (d > 0) {
        return ion;
    }
    const double depth = std::abs(d);
    return rgb((ion.r * (35.0 - depth) + entered.r * depth) / 35.0,
               (ion.g * (35.0 - depth) + entered.g * depth) / 35.0,
               (ion.b * (35.0 - depth) + entered.b * depth) / 35.0);
}

} // namespace

void MovingLayer::draw(const sim::Frame& frame) {
    m_jitter = frame.jitter;
    m_draws = 0;
    if (!frame.valid) {
        return;
    }
    const sim::State& s = m_engine.state();
    const sim::ParamStore& p = m_engine.params();
    const bool macro = p.isMacro();
    const bool pile = p.isPile();
    const int sens = frame.sens;

    if (s.intensite != 0.0F) {
        if (!macro) {
            ring(frame.phase, sens);
            if (pile) {
                saltBridge(frame.phase, sens);
            }
        }
        m_canvas.setFillColor(electronColor);
        if (!macro) {
            electronsInElectrodes(frame.offset, sens);
        }
    }

    labels();

    if (s.intensite == 0.0F) {
        m_canvas.setFillStyle(FillStyle::Transparent);
        if (pile) {
            resistor(sens);
        } else {
            generator();
        }
        return;
    }
    if (pile) {
        cellProcesses(sens, frame.avance1, frame.avance2);
        resistor(sens);
    } else {
        m_draws += m_particles.draw(frame.avance1, frame.avance2, m_jitter);
        generator();
    }
}

void MovingLayer::ring(double phase, int sens) {
    const double dy = m_engine.state().decalY;
    m_canvas.setFillStyle(FillStyle::Solid);
    m_canvas.setFillColor(electronColor);
    for (double a = 0.0; a <= turn; a += electronStep) {
        const double g = a + phase;
        // The arc between the electrodes stays empty.
        const bool visible = g < 1.0 || (g > 2.14 && g < 7.28) || g > 8.42;
        if (!visible) {
            continue;
        }
        const auto x = base::roundToInt16(169.0 * std::cos(g) * sens + 208.0);
        const auto y = base::roundToInt16(169.0 * std::sin(g) * 0.7 + dy + 198.0);
        if (x && y) {
            m_canvas.circle(*x, *y, 2.0, black);
        }
    }
}

void MovingLayer::saltBridge(double phase, int sens) {
    const sim::State& s = m_engine.state();
    const double foot = s.decalY + 445.0;
    const Color potassiumEnters = sens == 1 ? solution3(s) : solution2(s);
    const Color sulfateEnters = sens == 1 ? solution2(s) : solution3(s);
    int n = 0;
    for (double a = 0.0; a <= turn; a += electronStep) {
        double g = a + phase;
        if (g > 6.48) {
            g -= turn;
        }
        ++n;
        if (g < 3.28 || g > 6.48) {
            continue;
        }
        const auto x = base::roundToInt16(43.0 * std::cos(g) * sens + 208.0);
        const auto y = base::roundToInt16(171.0 * std::sin(g) + foot);
        if (!x || !y) {
            continue;
        }
        const int d = s.decalY + 445 - *y;
        if (const auto c = bridgeColor({255, 100, 100}, potassiumEnters, d)) {
            m_canvas.setFillColor(*c);
            m_canvas.circle(*x, *y, 4.0, *c);
        }
        if (n % 2 == 0) {
            if (const auto c = bridgeColor({255, 255, 200}, sulfateEnters, d)) {
                m_canvas.setFillColor(*c);
                m_canvas.circle(416 - *x, *y, 7.0, *c);
            }
        }
    }
}

void MovingLayer::electronsInElectrodes(double offset, int sens) {
    const sim::State& s = m_engine.state();
    m_canvas.setFillColor(electronColor);
    for (const int k : {2, 1}) {
        const int surface = s.posY[static_cast<std::size_t>(k)][7];
        const double axis = k == 1 ? 118.0 : 298.0;
        // The columns move with the cable's electrons: for sens = +1 up and
        // out of electrode 1, the anode, and down into electrode 2.
        const double direction = k == 1 ? -1.0 : 1.0;
        for (int y0 = s.decalY + 300; y0 <= surface; y0 += 15) {
            const double ry = m_jitter.next();
            const auto y =
                base::roundToInt16(y0 + direction * offset * (15.0 + 0.2 * ry) * sens - 1.0);
            const double rx = m_jitter.next();
            m_draws += 2;
            const auto x = base::roundToInt16(axis + 0.2 * rx);
            if (x && y && *y < surface && *y >= 269) {
                m_canvas.circle(*x, *y, 2.0, black);
            }
        }
    }
}

void MovingLayer::labels() {
    const sim::State& s = m_engine.state();
    Canvas& c = m_canvas;
    c.setFillStyle(FillStyle::Transparent);
    c.setFontName("Arial");
    c.setFontSize(8.0);
    c.setFontBold(true);
    Schematic::terminals(c, s);
    c.setFillStyle(FillStyle::Solid);
}

void MovingLayer::cellProcesses(int sens, double avance1, double avance2) {
    const sim::State& s = m_engine.state();
    const int tag1 = m_engine.nature1();
    const int tag2 = m_engine.nature2();
    const auto half1 = [&](auto procedure) {
        (m_processes.*procedure)(sens, s.rougeSol2, s.vertSol2, s.bleuSol2, 118, 1, avance1);
    };
    const auto half2 = [&](auto procedure) {
        (m_processes.*procedure)(sens, s.rougeSol3, s.vertSol3, s.bleuSol3, 298, 2, avance2);
    };
    // The electrode of the lower potential dissolves, the other receives a
    // deposit; aluminium only dissolves and copper only receives.
    if (tag1 == 0 && sens == 1) {
        half1(&ElectrodeProcesses::elecSolAl);
    }
    if (tag2 == 0 && sens == -1) {
        half2(&ElectrodeProcesses::elecSolAl);
    }
    if (tag1 == 1 && sens == -1) {
        half1(&ElectrodeProcesses::elecDepCu);
    }
    if (tag2 == 1 && sens == 1) {
        half2(&ElectrodeProcesses::elecDepCu);
    }
    if (tag1 == 3 && sens == -1) {
        half1(&ElectrodeProcesses::elecDepZn);
    }
    if (tag2 == 3 && sens == 1) {
        half2(&ElectrodeProcesses::elecDepZn);
    }
    if (tag1 == 3 && sens == 1) {
        half1(&ElectrodeProcesses::elecsolZn);
    }
    if (tag2 == 3 && sens == -1) {
        half2(&ElectrodeProcesses::elecsolZn);
    }
    if (tag1 == 2 && sens == -1) {
        half1(&ElectrodeProcesses::elecDepFe);
    }
    if (tag2 == 2 && sens == 1) {
        half2(&ElectrodeProcesses::elecDepFe);
    }
    if (tag1 == 2 && sens == 1) {
        half1(&ElectrodeProcesses::elecsolFe);
    }
    if (tag2 == 2 && sens == -1) {
        half2(&ElectrodeProcesses::elecsolFe);
    }
}

void MovingLayer::generator() {
    const double dy = m_engine.state().decalY;
    const bool tension = m_engine.params().Option2 == cat::Montage::Tension;
    Canvas& c = m_canvas;
    c.setFillStyle(FillStyle::Solid);
    c.setDrawWidth(2);
    c.setFillColor(white);
    if (!m_engine.params().isMacro()) {
        c.circle(208.0, dy + 80.0, 20.0);
        if (tension) {
            c.line(188.0, dy + 80.0, 228.0, dy + 80.0, black);
        } else {
            c.line(208.0, dy + 60.0, 208.0, dy + 100.0, black);
        }
        // Above the cable, on each side of the generator.
        polarity(176.0, 232.0, dy + 48.0);
    } else {
        c.setDrawWidth(1);
        c.circle(208.0, dy + 160.0, 13.0);
        const auto text = [&](double x, double y, const char* t) {
            c.setCurrentX(x);
            c.setCurrentY(y);
            c.print(t);
        };
        if (tension) {
            c.line(195.0, dy + 160.0, 221.0, dy + 160.0, black);
            c.setFontBold(false);
            c.setForeColor(black);
            c.setFontSize(10.0);
            text(185.0, dy + 142.0, "–");
            text(224.0, dy + 143.0, "+");
        } else {
            c.line(208.0, dy + 147.0, 208.0, dy + 173.0, black);
            polarity(185.0, 224.0, dy + 142.0);
            c.setFontBold(false);
            c.setForeColor(black);
            c.setFontSize(10.0);
            text(260.0, dy + 152.0, ">");
            c.setFontItalic(true);
            text(262.0, dy + 140.0, "I");
            c.setFontItalic(false);
            c.setFontBold(true);
        }
    }
    c.setDrawWidth(1);
    c.setFillStyle(FillStyle::Transparent);
    if (m_engine.params().isMacro()) {
        report();
    }
}

// The generator's terminals: its negative one feeds electrode G, where the
// reduction takes place, its positive one electrode D. The font is left as
// it was found.
void MovingLayer::polarity(double minusX, double plusX, double y) {
    Canvas& c = m_canvas;
    const double size = c.fontSize();
    const bool bold = c.fontBold();
    const bool italic = c.fontItalic();
    const Color colour = c.foreColor();
    c.setFontSize(10.0);
    c.setFontBold(false);
    c.setFontItalic(false);
    c.setForeColor(black);
    c.setCurrentX(minusX);
    c.setCurrentY(y);
    c.print("–");
    c.setCurrentX(plusX);
    c.setCurrentY(y + 1.0);
    c.print("+");
    c.setFontSize(size);
    c.setFontBold(bold);
    c.setFontItalic(italic);
    c.setForeColor(colour);
}

void MovingLayer::resistor(int sens) {
    const double dy = m_engine.state().decalY;
    Canvas& c = m_canvas;
    const auto text = [&](double x, double y, const char* t) {
        c.setCurrentX(x);
        c.setCurrentY(y);
        c.print(t);
    };
    c.setFillStyle(FillStyle::Solid);
    c.setFillColor(white);
    c.setDrawWidth(1);
    if (!m_engine.params().isMacro()) {
        c.setDrawWidth(2);
        c.box(178.0, dy + 70.0, 238.0, dy + 90.0, black);
        c.setFontSize(12.0);
        c.setFontBold(false);
        c.setFontItalic(false);
        c.setForeColor(black);
        text(200.0, dy + 71.0, "R");
        c.setDrawWidth(1);
    } else {
        c.box(188.0, dy + 153.0, 228.0, dy + 167.0, black);
        if (m_engine.state().intensite != 0.0F) {
            c.setFontSize(10.0);
            c.setFontBold(false);
            c.setFontItalic(false);
            c.setForeColor(black);
            text(202.0, dy + 152.0, "R");
            text(260.0, dy + 152.0, sens == -1 ? ">" : "<");
            c.setFontItalic(true);
            text(262.0, dy + 140.0, "I");
            c.setFontItalic(false);
        }
    }
    c.setFillStyle(FillStyle::Transparent);
    if (m_engine.params().isMacro()) {
        report();
    }
}

void MovingLayer::report() {
    if (m_report) {
        m_report();
    }
}

} // namespace Ionaria::render
