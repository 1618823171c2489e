// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/DrawOp.h"
#include "render/OperationCanvas.h"

#include <functional>
#include <string>

namespace Ionaria::web {

// What the page measures of a text in a face, in pixels: a browser's canvas
// knows its fonts, the module does not.
struct TextMetrics {
    std::function<double(const render::FontFace&, const std::string&)> width;
    std::function<int(const render::FontFace&)> ascent;
    std::function<int(const render::FontFace&)> height;
};

// The picture's operations as the desktop keeps them, for the page to
// replay, with texts measured by the page.
class WebCanvas : public render::OperationCanvas {
public:
    explicit WebCanvas(TextMetrics metrics);

    // Grows each time the background changes, so that the page draws it
    // again only then.
    int backgroundVersion() const { return m_backgroundVersion; }

protected:
    double measureWidth(std::string_view text) const override;
    int measureAscent() const override;
    int measureHeight() const override;
    void kept(const render::DrawOp& op) override;

private:
    TextMetrics m_metrics;
    int m_backgroundVersion = 0;
};

} // namespace Ionaria::web
