// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/Schematic.h"

#include "render/Legend.h"
#include "render/SolutionColor.h"
#include "sim/Catalogue.h"
#include "sim/Chemistry.h"

#include <array>
#include <cmath>

namespace Ionaria::render {

namespace cat = sim::catalogue;

namespace {

constexpr Color cableShades[4] = {black, {200, 150, 100}, {250, 200, 150}, {255, 230, 215}};
constexpr int cableWidths[4] = {16, 14, 6, 2};

// Colour of an electrode by the metal on its surface; code 3 is zinc in the
// cell and graphite in electrolysis.
Color metalColor(int metal, bool pile) {
    switch (metal) {
    case 0:
        return {255, 255, 255};
    case 1:
        return {255, 200, 150};
    case 2:
        return {210, 210, 210};
    case 3:
        return pile ? Color{180, 180, 200} : Color{0, 0, 0};
    case 4:
        return {180, 180, 200};
    default:
        return {255, 255, 255};
    }
}

SolutionColor tinted(std::initializer_list<std::pair<ColoredIon, double>> ions, double volume) {
    SolutionColor colour;
    for (const auto& [ion, amount] : ions) {
        colour.apply(ion, amount, volume);
    }
    return colour;
}

double volumeOf(const sim::NumBox& box) {
    return box.isNumber() ? static_cast<double>(box.value()) : 0.0;
}

} // namespace

void Schematic::fondschema() {
    const sim::State& s = m_engine.state();
    const sim::ParamStore& p = m_engine.params();
    Canvas& c = m_canvas;
    if (s.natInvalide) {
        m_frame1Visible = false;
        return;
    }
    m_frame1Visible = true;
    c.clearPicture();
    c.setScaleTop(0);

    gradient();
    if (!p.isMacro()) {
        cable();
    } else {
        wiresMacro();
    }

    if (!p.isPile()) {
        vessel(48, 368, s.niveau1);
    } else {
        vessel(48, 188, s.niveau1);
        vessel(228, 368, s.niveau2);
    }

    terminals(m_canvas, s);

    electrodes();

    if (p.isPile()) {
        saltBridge();
    }
    if (p.isMacro()) {
        meters();
    }

    c.makeBackground();
    m_feedback.backgroundRedrawn();
}

void Schematic::gradient() {
    const double h = m_canvas.scaleHeight();
    const double w = m_canvas.scaleWidth();
    for (int i = 0; i <= m_canvas.scaleHeight(); ++i) {
        if (const auto colour = rgb(255.0, 200.0 + 55.0 * i / h, 155.0 + 100.0 * i / h)) {
            m_canvas.line(0.0, i, w, i, *colour);
        }
    }
}

void Schematic::cable() {
    const sim::State& s = m_engine.state();
    Canvas& c = m_canvas;
    const double cy = s.decalY + 198.0;
    const double legTop = s.decalY + 300.0;
    for (int pass = 0; pass < 4; ++pass) {
        c.setDrawWidth(cableWidths[pass]);
        c.arc(208.0, cy, 170.0, 0.0, 4.14, 0.7, cableShades[pass]);
        c.line(118.0, legTop, 118.0, s.niveau1, cableShades[pass]);
    }
    for (int pass = 0; pass < 4; ++pass) {
        c.setDrawWidth(cableWidths[pass]);
        c.arc(208.0, cy, 170.0, 5.28, 6.28, 0.7, cableShades[pass]);
        c.line(298.0, legTop, 298.0, s.niveau2, cableShades[pass]);
    }
    c.setDrawWidth(1);
    // The two arcs meet at the rightmost point; the patch hides the seam.
    c.fillBox(371.0, s.decalY + 189.0, 384.0, s.decalY + 207.0, cableShades[1]);
    c.fillBox(375.0, s.decalY + 189.0, 380.0, s.decalY + 207.0, cableShades[2]);
    c.fillBox(377.0, s.decalY + 189.0, 378.0, s.decalY + 207.0, cableShades[3]);
}

void Schematic::wiresMacro() {
    const sim::State& s = m_engine.state();
    Canvas& c = m_canvas;
    c.setScaleTop(90);
    c.setDrawWidth(1);
    c.line(118.0, s.decalY + 240.0, 118.0, s.niveau1 - 21.0, black);
    c.line(298.0, s.decalY + 240.0, 298.0, s.niveau2 - 21.0, black);
}

void Schematic::vessel(int left, int right, int niveau) {
    const double bottom = m_engine.state().decalY + static_cast<double>(cat::fondCuve);
    const double top = m_engine.state().decalY + 320.0;
    Canvas& c = m_canvas;
    c.fillBox(left, niveau, right, bottom, white);
    c.line(left, bottom, right, bottom, black);
    c.line(left, top, left, bottom, black);
    c.line(right, top, right, bottom, black);
    c.fillBox(left, niveau - 1.0, right, niveau - 1.0, black);
}

namespace {

void terminal(Canvas& c, int left, int niveau, Color base, Color light, Color dark,
              const char* label) {
    const double top = niveau - 21.0;
    const double bottom = niveau - 1.0;
    c.fillBox(left, top, left + 25.0, bottom, base);
    c.fillBox(left + 2.0, top, left + 4.0, bottom, light);
    c.fillBox(left + 22.0, top, left + 25.0, bottom, dark);
    c.box(left, top, left + 25.0, bottom, black);
    c.setForeColor(white);
    c.setCurrentX(left + 10.0);
    c.setCurrentY(niveau - 18.0);
    c.print(label);
}

} // namespace

void Schematic::terminals(Canvas& canvas, const sim::State& state) {
    terminal(canvas, 105, state.niveau1, {0, 100, 180}, {100, 150, 250}, {0, 50, 100}, "G");
    terminal(canvas, 285, state.niveau2, {255, 150, 0}, {255, 200, 150}, {200, 100, 50}, "D");
}

void Schematic::saltBridge() {
    const sim::State& s = m_engine.state();
    Canvas& c = m_canvas;
    const double foot = s.decalY + 445.0;
    for (int k = 18; k >= 4; --k) {
        const int grey = 255 - 10 * k;
        c.setDrawWidth(k);
        c.arc(208.0, foot, 171.0, 0.0, 3.14, 4.0, {grey, grey, grey});
    }
    c.setDrawWidth(1);
    for (const int offset : {-45, 41}) {
        for (int k = 9; k >= 2; --k) {
            const int grey = 255 - 20 * k;
            c.line(210 - k + offset, foot, 210 - k + offset, foot + 10.0, {grey, grey, grey});
            c.line(209 + k + offset, foot, 209 + k + offset, foot + 10.0, {grey, grey, grey});
        }
        c.fillBox(208 + offset, foot, 211 + offset, foot + 9.0, {215, 215, 215});
    }
    c.box(48.0, s.niveau1 - 1.0, 188.0, s.niveau1 - 1.0, black);
    c.box(228.0, s.niveau2 - 1.0, 368.0, s.niveau2 - 1.0, black);
}

void Schematic::meters() {
    const double dy = m_engine.state().decalY;
    Canvas& c = m_canvas;
    c.setDrawWidth(1);
    c.box(118.0, dy + 160.0, 298.0, dy + 240.0, black);
    c.setFillStyle(FillStyle::Solid);
    c.setFillColor(black);
    c.circle(118.0, dy + 240.0, 2.0, black);
    c.circle(298.0, dy + 240.0, 2.0, black);
    c.setFillColor(white);
    c.circle(298.0, dy + 200.0, 13.0, black);
    c.circle(208.0, dy + 240.0, 13.0, black);
    c.setForeColor(black);
    c.setFontSize(10.0);
    c.setFontBold(false);
    const auto centred = [&](double x, double y, const char* text) {
        c.setCurrentX(x - c.textWidth(text) / 2.0);
        c.setCurrentY(y - c.textHeight(text) / 2.0);
        c.print(text);
    };
    centred(298.0, dy + 200.0, "A");
    centred(208.0, dy + 240.0, "V");
    c.setFontSize(8.0);
    c.setCurrentX(170.0);
    c.setCurrentY(dy + 225.0);
    c.print("COM");
    c.setFontSize(10.0);
    c.setFillStyle(FillStyle::Transparent);
    c.setDrawWidth(1);
}

void Schematic::paintLiquid(int firstX, int lastX, int niveau, int shadeOffset, Color base) {
    const double bottom = m_engine.state().decalY + static_cast<double>(cat::fondCuve);
    for (int x = firstX; x <= lastX; ++x) {
        // About 7 % brighter at the left wall, 6 % darker at the right one.
        const double k = std::pow(98.0 / (x - shadeOffset), 0.1);
        if (const auto colour = rgb(base.r * k, base.g * k, base.b * k)) {
            m_canvas.line(x, niveau, x, bottom, *colour);
        }
    }
}

void Schematic::electrodes() {
    const sim::State& s = m_engine.state();
    const sim::ParamStore& p = m_engine.params();
    Canvas& c = m_canvas;
    const bool pile = p.isPile();
    using Solution = sim::DrawingFeedback::Solution;

    if (pile) {
        const auto halfCell = [&](int tag, double ions, const sim::NumBox& volume) {
            if (tag == 1) {
                return tinted({{ColoredIon::Cuivre2, ions}}, volumeOf(volume));
            }
            if (tag == 2) {
                return tinted({{ColoredIon::Fer2, ions}}, volumeOf(volume));
            }
            return SolutionColor{};
        };
        const SolutionColor sol2 =
            halfCell(m_engine.nature1(), s.ions1, p.Text2[cat::Text2VolumeG]);
        m_feedback.setSolutionColour(Solution::DemiPile1, sol2.r, sol2.g, sol2.b);
        paintLiquid(49, 187, s.niveau1, 0, {sol2.r, sol2.g, sol2.b});
        const SolutionColor sol3 =
            halfCell(m_engine.nature2(), s.ions2, p.Text2[cat::Text2VolumeD]);
        m_feedback.setSolutionColour(Solution::DemiPile2, sol3.r, sol3.g, sol3.b);
        paintLiquid(229, 367, s.niveau2, 180, {sol3.r, sol3.g, sol3.b});
    } else {
        SolutionColor sol1;
        const double volume = volumeOf(p.Text2[cat::Text2Volume]);
        if (s.quantite[cat::fer2] > 0.0) {
            sol1.apply(ColoredIon::Fer2, s.quantite[cat::fer2], volume);
        }
        if (s.quantite[cat::fer3] > 0.0) {
            sol1.apply(ColoredIon::Fer3, s.quantite[cat::fer3], volume);
        }
        if (s.quantite[cat::cuivre2] > 0.0) {
            sol1.apply(ColoredIon::Cuivre2, s.quantite[cat::cuivre2], volume);
        }
        m_feedback.setSolutionColour(Solution::Electrolyse, sol1.r, sol1.g, sol1.b);
        paintLiquid(49, 367, s.niveau1, 0, {sol1.r, sol1.g, sol1.b});
    }

    const int highest = p.highestNatureCode();
    const sim::ElectrodeMasses masses = m_feedback.clearNegativeMasses(highest);
    electrodeBar(1, m_engine.nature1(), highest, masses.electrode1);
    electrodeBar(2, m_engine.nature2(), highest, masses.electrode2);

    c.setFontSize(8.0);
    c.setForeColor(black);
    c.setFontBold(false);

    if (!p.isMacro()) {
        c.setFillStyle(FillStyle::Solid);
        Legend legend(c);
        if (pile) {
            legend.drawCell(p.Combo2[0].tag, p.Combo2[1].tag);
        } else {
            legend.drawElectrolysis(sim::halfEquationNumber(s, 1), sim::halfEquationNumber(s, 2));
        }
        c.setFillStyle(FillStyle::Transparent);
    }
}

void Schematic::electrodeBar(int electrode, int tag, int highest, double mass) {
    const sim::State& s = m_engine.state();
    const auto& masses = s.masseMetal[static_cast<std::size_t>(electrode)];
    const bool pile = m_engine.params().isPile();
    const bool validTag = tag >= 0 && tag <= highest;

    // The metal on the surface: the electrode's own when it carries nothing
    // else, otherwise the first deposit found.
    int surface = 0;
    if (validTag && masses[static_cast<std::size_t>(tag)] == mass) {
        surface = tag;
    } else {
        for (int m = 0; m <= highest; ++m) {
            if (m != tag && masses[static_cast<std::size_t>(m)] != 0.0) {
                surface = m;
                break;
            }
        }
    }

    const int niveau = electrode == 1 ? s.niveau1 : s.niveau2;
    const double immersed = s.decalY + static_cast<double>(cat::fondCuve) - niveau;
    if (!(immersed != 0.0)) {
        return;
    }
    // The bar keeps an area in proportion to the mass whatever the level.
    const double scaled = mass * 150.0 / immersed;
    if (!(scaled > 0.0) || !std::isfinite(scaled)) {
        return;
    }
    const double w = 2.0 * std::sqrt(scaled);
    const double left = (electrode == 1 ? 117.0 : 297.0) - w;
    const double right = (electrode == 1 ? 118.0 : 298.0) + w;
    const double last = s.decalY + 503.0;
    const double middle = (last + niveau) / 2.0;
    const Color base = metalColor(surface, pile);
    for (int y = niveau; y <= static_cast<int>(last); ++y) {
        const double shade = 1.0 + std::fabs(y - middle) / 200.0;
        if (const auto colour = rgb(base.r / shade, base.g / shade, base.b / shade)) {
            m_canvas.line(left, y, right, y, *colour);
        }
    }
    m_canvas.box(left, niveau, right, last, black);
}

void Schematic::drawNatureMessage(const std::string& line1, const std::string& line2) {
    Canvas& c = m_canvas;
    c.clearPicture();
    c.setFontSize(12.0);
    c.setFontBold(false);
    // Centred on the visible surface, whatever its top.
    c.setCurrentY(c.scaleTop() + c.scaleHeight() / 2.0 - c.textHeight(line1));
    c.setForeColor(lightRed);
    c.setCurrentX((c.scaleWidth() - c.textWidth(line1)) / 2.0);
    c.printLine(line1);
    c.setForeColor(black);
    c.setCurrentX((c.scaleWidth() - c.textWidth(line2)) / 2.0);
    c.printLine(line2);
}

} // namespace Ionaria::render
