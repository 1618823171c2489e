// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/ElectrodeProcesses.h"

namespace Ionaria::render {

namespace {

Color solutionOf(int r, int g, int b) {
    return {r, g, b};
}

// (a × wa + b × wb) / 6 per component.
std::optional<Color> mix(Color a, double wa, Color b, double wb) {
    return rgb((a.r * wa + b.r * wb) / 6.0, (a.g * wa + b.g * wb) / 6.0,
               (a.b * wa + b.b * wb) / 6.0);
}

} // namespace

void ElectrodeProcesses::disc(double x, double y, double radius, std::optional<Color> fill,
                              std::optional<Color> outline) {
    if (!fill || !outline) {
        return;
    }
    m_canvas.setFillColor(*fill);
    m_canvas.circle(x, y, radius, *outline);
}

void ElectrodeProcesses::surfaceRing(int x, int k, Color c) {
    const int width = m_canvas.drawWidth();
    m_canvas.setFillStyle(FillStyle::Transparent);
    m_canvas.setDrawWidth(3);
    m_canvas.circle(x, m_engine.state().posY[static_cast<std::size_t>(k)][7], 5.0, c);
    m_canvas.setDrawWidth(width);
    m_canvas.setFillStyle(FillStyle::Solid);
}

void ElectrodeProcesses::dissolution(int sens, Color solution, int x, int k, double avance,
                                     Color ion, bool aluminium, Color atomRing) {
    if (k < 1 || k > 2) {
        return;
    }
    const auto& queue = m_engine.state().posY[static_cast<std::size_t>(k)];
    const double step = aluminium ? 27.0 : 18.0;
    for (int i = aluminium ? 5 : 4; i <= 6; ++i) {
        // The ion of slot 6 leaves the surface; those further out fade into
        // the solution.
        const double xi = x + step * sens * ((6 - i) + avance);
        const double yi = queue[static_cast<std::size_t>(i)];
        if (aluminium) {
            const double m = 3.0 * (i - 4);
            disc(xi, yi, 5.0, mix(solution, 7.0 - m, ion, m - 1.0),
                 mix(solution, 7.0 - m, black, 0));
        } else {
            const double m = 2.0 * (i - 3);
            disc(xi, yi, 5.0, mix(solution, 6.0 - m, ion, m), mix(solution, 6.0 - m, black, 0));
        }
    }
    surfaceRing(x, k, atomRing);
}

void ElectrodeProcesses::deposit(int sens, Color solution, int x, int k, double avance, Color ion,
                                 Color atomFrom, Color atomTo) {
    if (k < 1 || k > 2) {
        return;
    }
    const auto& queue = m_engine.state().posY[static_cast<std::size_t>(k)];
    for (int i = 4; i <= 6; ++i) {
        const double m = 2.0 * (i - 3);
        disc(x, queue[static_cast<std::size_t>(i)], 5.0, mix(atomFrom, 6.0 - m, atomTo, m),
             mix(atomFrom, 6.0 - m, black, 0));
    }
    for (int j = 8; j <= 10; ++j) {
        // The ion of slot 8 reaches the surface at the end of the event.
        const double m = 2.0 * (j - 7) + 6.0;
        const double xj = x + 18.0 * sens * ((7 - j) + avance);
        disc(xj, queue[static_cast<std::size_t>(j)], 5.0, mix(solution, m - 8.0, ion, 14.0 - m),
             mix(solution, m - 8.0, black, 0));
    }
    surfaceRing(x, k, ion);
}

void ElectrodeProcesses::elecSolAl(int sens, int r, int g, int b, int x, int k, double avance) {
    if (macro()) {
        return;
    }
    dissolution(sens, solutionOf(r, g, b), x, k, avance, ionAluminium3, true, atomRingGrey);
}

void ElectrodeProcesses::elecsolZn(int sens, int r, int g, int b, int x, int k, double avance) {
    if (macro()) {
        return;
    }
    dissolution(sens, solutionOf(r, g, b), x, k, avance, ionZinc2, false, atomRingGrey);
}

void ElectrodeProcesses::elecsolFe(int sens, int r, int g, int b, int x, int k, double avance) {
    if (macro()) {
        return;
    }
    dissolution(sens, solutionOf(r, g, b), x, k, avance, ionFer2, false, atomRingGrey);
}

void ElectrodeProcesses::elecDepCu(int sens, int r, int g, int b, int x, int k, double avance) {
    if (macro()) {
        return;
    }
    deposit(sens, solutionOf(r, g, b), x, k, avance, ionCuivre2, copperFrom, copperTo);
}

void ElectrodeProcesses::elecDepZn(int sens, int r, int g, int b, int x, int k, double avance) {
    if (macro()) {
        return;
    }
    deposit(sens, solutionOf(r, g, b), x, k, avance, ionZinc2, greyFrom, greyTo);
}

void ElectrodeProcesses::elecDepFe(int sens, int r, int g, int b, int x, int k, double avance) {
    if (macro()) {
        return;
    }
    deposit(sens, solutionOf(r, g, b), x, k, avance, ionFer2, greyFrom, greyTo);
}

} // namespace Ionaria::render
