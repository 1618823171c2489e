// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>

class QWidget;

namespace Ionaria::look {

// The faces of the program, chosen by name rather than left to the platform:
// a fresh install has only the fonts the package depends on, and a family the
// platform picks may lack a character or be monospaced.

// Every text outside the experiment picture and its panels: the curves, their
// exports, the calculator, the dialogs, the print title, the exercises. It has
// every character the program writes, the superscript and subscript digits and
// signs of the formulas (² ³ ⁺ ⁻ ₂ ₄), → · Ω Δ λ μ « » and the French accents.
inline constexpr const char* textFamily = "DejaVu Sans";

// The picture and the printed panels of the main window: "Arial" metrics, so
// that the picture is the same pixels on every machine.
inline constexpr const char* designFamily = "Liberation Sans";

// The text face at a size in pixels.
QFont textFont(int pixels, bool bold = false);

// The text face at the size of the platform's own font, for the controls of a
// dialog: the size stays the user's choice, the family is ours.
QFont controlFont();

// The value of an SVG font-family attribute: the family, then the generic one
// for a viewer that does not have it.
QString svgFamilies();

// Gives a window or dialog the text face at the size of its current font.
void useTextFace(QWidget* window);

} // namespace Ionaria::look
