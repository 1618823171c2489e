// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/Canvas.h"
#include "render/ParticleColors.h"
#include "sim/Engine.h"

namespace Ionaria::render {

// The particle exchange at an electrode of the cell, at the microscopic
// scale: atoms leaving a dissolving electrode as cations, or cations settling
// on an electrode as atoms. The particles ride the electrode's queue of
// heights and move one step per particle event as avance goes from 0 to 1.
class ElectrodeProcesses {
public:
    ElectrodeProcesses(Canvas& canvas, const sim::Engine& engine)
        : m_canvas(canvas), m_engine(engine) {}

    // The six procedures of the cell, by metal and direction; r, g, b is the
    // colour of the half-cell's solution, x the electrode's axis and k its
    // number. They draw nothing at the macroscopic scale.
    void elecSolAl(int sens, int r, int g, int b, int x, int k, double avance);
    void elecsolZn(int sens, int r, int g, int b, int x, int k, double avance);
    void elecsolFe(int sens, int r, int g, int b, int x, int k, double avance);
    void elecDepCu(int sens, int r, int g, int b, int x, int k, double avance);
    void elecDepZn(int sens, int r, int g, int b, int x, int k, double avance);
    void elecDepFe(int sens, int r, int g, int b, int x, int k, double avance);

    // The drawings behind them, shared with the electrolysis anode and
    // cathode. An aluminium dissolution shows two ions stepping 27 pixels,
    // the others three stepping 18.
    void dissolution(int sens, Color solution, int x, int k, double avance, Color ion,
                     bool aluminium, Color atomRing);
    // Deposited atoms shade from atomFrom at the surface particle's side to
    // atomTo three slots away.
    void deposit(int sens, Color solution, int x, int k, double avance, Color ion, Color atomFrom,
                 Color atomTo);

private:
    bool macro() const { return m_engine.params().isMacro(); }
    // The ring of the particle reacting at the surface, slot 7.
    void surfaceRing(int x, int k, Color c);
    // A disc filled and outlined by colours given as real components.
    void disc(double x, double y, double radius, std::optional<Color> fill,
              std::optional<Color> outline);

    Canvas& m_canvas;
    const sim::Engine& m_engine;
};

} // namespace Ionaria::render
