// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/Canvas.h"

#include <string>

namespace Ionaria::render {

// One drawing operation as it was asked for, with the drawing state that
// applied to it.
struct DrawOp {
    enum class Kind { Line, Box, FillBox, Circle, Arc, Text, Cls, ClearPicture, MakeBackground };
    Kind kind = Kind::Line;
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
    double radius = 0.0;
    double start = 0.0;
    double end = 0.0;
    double aspect = 1.0;
    Color color;
    bool filled = false;
    Color fill;
    int width = 1;
    std::string text;
    // The size a text was asked in, points.
    double fontSize = 0.0;
    int scaleTop = 0;
    // The face of a text, at the picture's own size, and its ascent as the
    // surface that measured it gave it, px.
    FontFace font;
    int ascent = 0;
};

} // namespace Ionaria::render
