// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ReportLines.h"

#include "report/Rapport.h"
#include "sim/DrawingFeedback.h"

#include <cmath>
#include <cstddef>

namespace Ionaria::report {

namespace {

// A surface that draws nothing and keeps the printed texts, a run joining the
// line before it when it starts where that line's last run ended or, stacked
// over it, where that run started, within a raised or lowered part's height.
// Widths are one pixel a character: they place the runs the same way
// whatever the font, and the lines need no more.
class LineCanvas : public render::Canvas {
public:
    std::vector<std::string> lines;

    int scaleWidth() const override { return surfaceWidth; }
    int scaleHeight() const override { return surfaceHeight; }
    void line(double, double, double, double, render::Color) override {}
    void box(double, double, double, double, render::Color) override {}
    void fillBox(double, double, double, double, render::Color) override {}
    using Canvas::circle;
    void circle(double cx, double cy, double, render::Color) override { moveCursor(cx, cy); }
    void arc(double, double, double, double, double, double, render::Color) override {}
    void setFontName(std::string_view) override {}
    void setFontSize(double points) override { m_points = points; }
    void setFontBold(bool bold) override { m_bold = bold; }
    void setFontItalic(bool italic) override { m_italic = italic; }
    double fontSize() const override { return m_points; }
    bool fontBold() const override { return m_bold; }
    bool fontItalic() const override { return m_italic; }
    double textWidth(std::string_view text) const override {
        double characters = 0.0;
        for (const char c : text) {
            // Each UTF-8 character has one byte that is not a continuation.
            if ((static_cast<unsigned char>(c) & 0xC0U) != 0x80U) {
                characters += 1.0;
            }
        }
        return characters;
    }
    double textHeight(std::string_view) const override { return lineHeight; }

    void print(std::string_view text) override {
        const double x = currentX();
        const double y = currentY();
        const bool joins = !lines.empty() && std::fabs(y - m_lineY) <= maxShift &&
                           (near(x, m_runEnd) || near(x, m_runStart));
        if (joins) {
            lines.back() += text;
        } else {
            lines.emplace_back(text);
            m_lineY = y;
        }
        m_runStart = x;
        m_runEnd = x + textWidth(text);
        setCurrentX(m_runEnd);
    }

    void cls() override { moveCursor(0.0, 0.0); }
    void clearPicture() override {}
    void makeBackground() override {}

private:
    static constexpr int surfaceWidth = 417;
    static constexpr int surfaceHeight = 497;
    static constexpr double lineHeight = 10.0;
    // The farthest a raised or lowered part moves from its line, px.
    static constexpr double maxShift = 5.0;
    static bool near(double a, double b) { return std::fabs(a - b) < 1e-9; }

    double m_points = 8.0;
    bool m_bold = false;
    bool m_italic = false;
    double m_lineY = 0.0;
    double m_runStart = 0.0;
    double m_runEnd = 0.0;
};

} // namespace

std::vector<std::string> rapportLines(const sim::Engine& engine) {
    sim::State copy = engine.state();
    sim::DrawingFeedback feedback(copy);
    LineCanvas canvas;
    rapport(canvas, engine, feedback);
    return std::move(canvas.lines);
}

} // namespace Ionaria::report
