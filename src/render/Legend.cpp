// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/Legend.h"

#include "render/ParticleColors.h"

#include "sim/Catalogue.h"

#include <array>

namespace Ionaria::render {

namespace cat = sim::catalogue;

namespace {

// Superscripts and subscripts are the same font moved this far, in pixels.
constexpr double raise = 5.0;
constexpr double rowPitch = 25.0;

struct Cation {
    std::string_view symbol;
    std::string_view charge;
    Color color;
};

// The cation of a half-cell, by the tag of its nature box.
constexpr std::array<Cation, 4> cellCations = {{
    {"Al", "3+", ionAluminium3},
    {"Cu", "2+", ionCuivre2},
    {"Fe", "2+", ionFer2},
    {"Zn", "2+", ionZinc2},
}};

const Cation* cellCation(std::string_view tag) {
    if (tag.size() != 1 || tag[0] < '0' || tag[0] > '3') {
        return nullptr;
    }
    return &cellCations[static_cast<std::size_t>(tag[0] - '0')];
}

} // namespace

void Legend::sample(double x, double y, double radius, Color fill) {
    sample(x, y, radius, fill, black);
}

void Legend::sample(double x, double y, double radius, Color fill, Color outline) {
    m_canvas.setFillColor(fill);
    m_canvas.circle(x, y, radius, outline);
}

double Legend::charged(double x, double y, std::string_view symbol, std::string_view charge,
                       std::string_view suffix) {
    m_canvas.setCurrentX(x);
    m_canvas.setCurrentY(y);
    m_canvas.print(symbol);
    m_canvas.setCurrentY(y - raise);
    m_canvas.print(charge);
    m_canvas.setCurrentY(y + raise);
    m_canvas.print(suffix);
    return y + raise;
}

double Legend::counted(double x, double y, std::string_view symbol, std::string_view count) {
    m_canvas.setCurrentX(x);
    m_canvas.setCurrentY(y);
    m_canvas.print(symbol);
    m_canvas.setCurrentY(y + raise);
    m_canvas.print(count);
    return y + raise;
}

double Legend::cationRow(double circleX, double textX, double y, Color fill, double radius,
                         std::string_view symbol, std::string_view charge) {
    sample(circleX, y + 7.0, radius, fill);
    return charged(textX, y, symbol, charge, "(aq)") + rowPitch;
}

double Legend::moleculeRow(double y, Color fill, double radius, std::string_view symbol) {
    sample(190.0, y + 7.0, radius, fill);
    return counted(204.0, y, symbol, "2 (g)") + rowPitch;
}

void Legend::drawCell(std::string_view tag1, std::string_view tag2) {
    sample(130.0, 110.0, 2.0, electronColor);
    charged(144.0, 103.0, "e", "-", "(électrode)");

    sample(130.0, 140.0, 7.0, sulfateColor, sulfateColor);
    m_canvas.setCurrentX(144.0);
    m_canvas.setCurrentY(133.0);
    m_canvas.print("SO");
    const double countX = m_canvas.currentX();
    m_canvas.setCurrentY(133.0 + raise);
    m_canvas.print("4 (aq)");
    // The charge stands over the count.
    m_canvas.setCurrentX(countX);
    m_canvas.setCurrentY(133.0 - raise);
    m_canvas.print("2-");

    sample(130.0, 170.0, 4.0, potassiumColor, potassiumColor);
    charged(144.0, 163.0, "K", "+", "(aq)");

    double y = 103.0;
    for (const auto tag : {tag1, tag2}) {
        if (const Cation* cation = cellCation(tag)) {
            y = cationRow(230.0, 244.0, y, cation->color, 5.0, cation->symbol, cation->charge);
        }
    }
}

void Legend::drawElectrolysis(int equation1, int equation2) {
    const auto has = [&](int code) { return equation1 == code || equation2 == code; };
    bool hydrogeneShown = false;
    bool hydroxydeShown = false;
    bool fer2Shown = false;
    bool cuivre2Shown = false;

    sample(190.0, 110.0, 2.0, electronColor);
    double y = charged(204.0, 103.0, "e", "-", "(électrode)") + rowPitch;

    const auto dihydrogene = [&] {
        const double y0 = y;
        sample(190.0, y0 - 1.0, 4.0, hydrogeneColor);
        sample(190.0, y0 + 15.0, 4.0, hydrogeneColor);
        sample(190.0, y0 + 5.0, 2.0, moleculeElectronColor);
        sample(190.0, y0 + 9.0, 2.0, moleculeElectronColor);
        y = counted(204.0, y0 + 1.0, "H", "2 (g)") + rowPitch;
    };
    if (has(cat::chlorure)) {
        y = cationRow(190.0, 204.0, y, chlorureColor, 4.0, "Cl", "-");
        y = moleculeRow(y, dichloreColor, 9.0, "Cl");
    }
    if (has(cat::hydrogene)) {
        y = cationRow(190.0, 204.0, y, hydrogeneColor, 4.0, "H", "+");
        hydrogeneShown = true;
        dihydrogene();
    }
    if (has(cat::eauReduite)) {
        y = cationRow(190.0, 204.0, y, hydroxydeColor, 4.0, "HO", "-");
        hydroxydeShown = true;
        dihydrogene();
    }
    if (has(cat::fer3)) {
        y = cationRow(190.0, 204.0, y, ionFer2, 5.0, "Fe", "2+");
        y = cationRow(190.0, 204.0, y, ionFer3, 5.0, "Fe", "3+");
        fer2Shown = true;
    }
    // Iron(II) and zinc(II) reduced while H2 waits for its overpotential.
    if (equation1 == cat::fer2) {
        y = cationRow(190.0, 204.0, y, ionFer2, 5.0, "Fe", "2+");
        fer2Shown = true;
    }
    if (equation1 == cat::zinc2) {
        y = cationRow(190.0, 204.0, y, ionZinc2, 5.0, "Zn", "2+");
    }
    if (has(cat::cuivre2)) {
        y = cationRow(190.0, 204.0, y, ionCuivre2, 5.0, "Cu", "2+");
        cuivre2Shown = true;
    }
    if (has(cat::eau)) {
        if (!hydrogeneShown) {
            y = cationRow(190.0, 204.0, y, hydrogeneColor, 4.0, "H", "+");
        }
        y = moleculeRow(y, dioxygeneColor, 9.0, "O");
    }
    if (equation2 == cat::hydroxydeOxyde) {
        if (!hydroxydeShown) {
            y = cationRow(190.0, 204.0, y, hydroxydeColor, 4.0, "HO", "-");
        }
        y = moleculeRow(y, dioxygeneColor, 9.0, "O");
    }
    if (has(cat::anodeAluminium)) {
        y = cationRow(190.0, 204.0, y, ionAluminium3, 5.0, "Al", "3+");
    }
    if (has(cat::anodeCuivre) && !cuivre2Shown) {
        y = cationRow(190.0, 204.0, y, ionCuivre2, 5.0, "Cu", "2+");
    }
    if (has(cat::anodeFer) && !fer2Shown) {
        y = cationRow(190.0, 204.0, y, ionFer2, 5.0, "Fe", "2+");
    }
    if (has(cat::anodeZinc) && equation1 != cat::zinc2) {
        cationRow(190.0, 204.0, y, ionZinc2, 5.0, "Zn", "2+");
    }
}

} // namespace Ionaria::render
