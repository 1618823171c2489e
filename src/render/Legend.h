// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/Canvas.h"

#include <string_view>

namespace Ionaria::render {

// The key of the microscopic picture: a sample of each particle beside its
// formula, with raised charges and lowered counts.
class Legend {
public:
    explicit Legend(Canvas& canvas) : m_canvas(canvas) {}

    // The cell: electrons, sulfate and potassium of the salt bridge, then the
    // cations of the two half-cells by the tags of their nature boxes.
    void drawCell(std::string_view tag1, std::string_view tag2);
    // Electrolysis: electrons, then the species of the half-equations at the
    // two electrodes (sim::halfEquationNumber).
    void drawElectrolysis(int equation1, int equation2);

private:
    // A sample particle at (x, y) outlined in black.
    void sample(double x, double y, double radius, Color fill);
    void sample(double x, double y, double radius, Color fill, Color outline);
    // Symbol with a raised charge and a lowered state suffix; returns the y
    // of the suffix.
    double charged(double x, double y, std::string_view symbol, std::string_view charge,
                   std::string_view suffix);
    // Symbol with a lowered count; returns the y of the count.
    double counted(double x, double y, std::string_view symbol, std::string_view count);
    // A row of the one-column layout: sample at y + 7, text at y; returns the
    // top of the next row.
    double cationRow(double circleX, double textX, double y, Color fill, double radius,
                     std::string_view symbol, std::string_view charge);
    double moleculeRow(double y, Color fill, double radius, std::string_view symbol);

    Canvas& m_canvas;
};

} // namespace Ionaria::render
