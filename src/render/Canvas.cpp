// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/Canvas.h"

#include "base/Rounding.h"

#include <algorithm>

namespace Ionaria::render {

std::optional<Color> rgb(double r, double g, double b) {
    const auto component = [](double value) -> std::optional<int> {
        const auto rounded = base::roundToInt16(value);
        if (!rounded || *rounded < 0) {
            return std::nullopt;
        }
        return std::min<int>(*rounded, 255);
    };
    const auto cr = component(r);
    const auto cg = component(g);
    const auto cb = component(b);
    if (!cr || !cg || !cb) {
        return std::nullopt;
    }
    return Color{*cr, *cg, *cb};
}

std::string fontFamily(std::string_view face) {
    return face == "Arial" ? std::string("Liberation Sans") : std::string(face);
}

int fontPixelSize(double points) {
    const double px = std::clamp(points, 1.0, 200.0) * 96.0 / 72.0;
    return static_cast<int>(base::roundHalfEven(px));
}

void Canvas::printLine(std::string_view text) {
    print(text);
    newLine();
}

void Canvas::newLine() {
    const double height = textHeight("A");
    moveCursor(0.0, m_currentY + height);
}

} // namespace Ionaria::render
