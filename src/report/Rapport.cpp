// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/Rapport.h"

#include "base/Numbers.h"
#include "sim/Catalogue.h"
#include "sim/Chemistry.h"
#include "sim/Nernst.h"
#include "sim/Reactions.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Ionaria::report {

namespace cat = sim::catalogue;

namespace {

constexpr render::Color boxColor{255, 255, 230};
// Superscripts and subscripts are the same font moved this far, in pixels;
// the stacked charge and count of sulfate a little further.
constexpr double shift = 4.0;
constexpr double sulfateShift = 5.0;
// Added between two species lines, so that the sulfate's subscript and the
// next line's superscript keep background between them.
constexpr double speciesGap = 3.0;

// The microscopic picture keeps its montage where the macroscopic one leaves
// room under it: the report goes on light panels in the free bands. Above
// the cable, on each side of the generator, the half-equation and the mass
// of the electrode below; the concentrations under the beakers of the cell,
// or between the cable's legs, under the legend, in electrolysis.
struct Panel {
    double left;
    double right;
};
constexpr Panel topLeft{6.0, 170.0};
constexpr Panel topRight{246.0, 410.0};
constexpr double topEquationY = 5.0;
constexpr double topMassY = 22.0;
constexpr double topBottom = 39.0;
constexpr double massMargin = 10.0;
constexpr Panel underLeftBeaker{44.0, 192.0};
constexpr Panel underRightBeaker{224.0, 372.0};
constexpr double underTop = 476.0;
constexpr double underTextY = 479.0;
constexpr double underBottom = 495.0;
constexpr Panel underVessel{60.0, 357.0}; // the electrolysis's pH
constexpr Panel betweenLegs{134.0, 282.0};
constexpr double betweenTop = 247.0; // under the longest legend
constexpr double panelMargin = 5.0;
// The potentials' line, centred: at the macroscopic scale above the
// circuit's top wire and its resistor or generator; at the microscopic one
// inside the ring, under the resistor or generator and above the legend.
constexpr double potentialsCentreX = 208.5;
constexpr double potentialsMacroY = 10.0; // px from the top of the surface
constexpr double potentialsMicroY = 80.0; // px from the top of the surface

class Writer {
public:
    explicit Writer(render::Canvas& canvas) : m_canvas(canvas) {}

    void text(std::string_view t) { m_canvas.print(t); }
    void sup(std::string_view t, double offset = shift) { shifted(t, -offset); }
    void sub(std::string_view t, double offset = shift) { shifted(t, offset); }
    void at(double x, double y) {
        m_canvas.setCurrentX(x);
        m_canvas.setCurrentY(y);
    }

    void massLine(double x, double y, double grams) {
        m_canvas.setFontBold(false);
        at(x, y);
        m_canvas.setFontItalic(true);
        text("m");
        m_canvas.setFontItalic(false);
        sub("électrode");
        text(" = " + base::formatPattern(grams, "# ##0.00") + " g");
        m_canvas.newLine();
    }

    // "] = 1,23 · 10" with the exponent raised, then the unit.
    void concentrationTail(std::optional<double> concentration) {
        if (!concentration || !std::isfinite(*concentration)) {
            return;
        }
        const std::string s = base::formatPattern(*concentration, "0.00E+00");
        const auto exponent = exponentOf(s);
        if (s.size() < 7 || !exponent) {
            return;
        }
        text("] = " + s.substr(0, 4));
        text(" · 10");
        sup(base::formatInteger(*exponent));
        text(" mol · L");
        sup("-1");
    }

    void species(int index) {
        switch (index) {
        case cat::chlorure:
            text("Cl");
            sup("-");
            break;
        case cat::sulfate: {
            text("SO");
            const double x = m_canvas.currentX();
            sub("4", sulfateShift);
            m_canvas.setCurrentX(x);
            sup("2-", sulfateShift);
            break;
        }
        case cat::hydrogene:
            charged("H", "+");
            break;
        case cat::hydroxyde:
            charged("HO", "-");
            break;
        case cat::fer2:
            charged("Fe", "2+");
            break;
        case cat::fer3:
            charged("Fe", "3+");
            break;
        case cat::sodium:
            charged("Na", "+");
            break;
        case cat::zinc2:
            charged("Zn", "2+");
            break;
        case cat::aluminium3:
            charged("Al", "3+");
            break;
        case cat::cuivre2:
            charged("Cu", "2+");
            break;
        default:
            break;
        }
    }

    // The cation of a half-cell by the tag of its nature box.
    void cation(std::string_view tag) {
        if (tag == "0") {
            charged("Al", "3+");
        } else if (tag == "1") {
            charged("Cu", "2+");
        } else if (tag == "2") {
            charged("Fe", "2+");
        } else if (tag == "3") {
            charged("Zn", "2+");
        }
    }

    // Centred only roughly on the pen: the width is that of the plain form.
    void halfEquation(int number) {
        const sim::HalfEquation* equation = sim::halfEquation(number);
        if (equation == nullptr) {
            return;
        }
        m_canvas.setCurrentX(m_canvas.currentX() - m_canvas.textWidth(equation->widthText) / 2.0);
        for (const auto& run : equation->runs) {
            switch (run.kind) {
            case sim::ReactionRun::Kind::Sup:
                sup(run.text);
                break;
            case sim::ReactionRun::Kind::Sub:
                sub(run.text);
                break;
            case sim::ReactionRun::Kind::Normal:
            case sim::ReactionRun::Kind::Arrow:
                // The arrow is a character of the normal face.
                text(run.text);
                break;
            }
        }
    }

    void equationBox(double left, double right, double penX, int number) {
        panel(left, 259.0, right, 280.0);
        at(penX, 263.0);
        halfEquation(number);
    }

    // A light box with a black outline, which the text is written over.
    void panel(double left, double top, double right, double bottom) {
        m_canvas.fillBox(left, top, right, bottom, boxColor);
        const render::FillStyle style = m_canvas.fillStyle();
        m_canvas.setFillStyle(render::FillStyle::Transparent);
        m_canvas.box(left, top, right, bottom, render::black);
        m_canvas.setFillStyle(style);
    }

private:
    void shifted(std::string_view t, double dy) {
        const double y = m_canvas.currentY();
        m_canvas.setCurrentY(y + dy);
        m_canvas.print(t);
        m_canvas.setCurrentY(y);
    }

    void charged(std::string_view symbol, std::string_view charge) {
        text(symbol);
        sup(charge);
    }

    // The exponent of "1,23E-02" as a whole number.
    static std::optional<int> exponentOf(const std::string& s) {
        if (s.size() < 3) {
            return std::nullopt;
        }
        std::string_view tail(s.data() + s.size() - 3, 3);
        if (tail.front() == '+') {
            tail.remove_prefix(1);
        }
        int value = 0;
        const auto [ptr, ec] = std::from_chars(tail.data(), tail.data() + tail.size(), value);
        if (ec != std::errc() || ptr != tail.data() + tail.size()) {
            return std::nullopt;
        }
        return value;
    }

    render::Canvas& m_canvas;
};

// 1000 × amount / volume, in mol/L; none when the volume box holds no usable
// number.
std::optional<double> concentration(double amountMol, const sim::NumBox& volumeMl) {
    const auto v = static_cast<double>(volumeMl.value());
    if (!volumeMl.isNumber() || v == 0.0) {
        return std::nullopt;
    }
    return 1000.0 * amountMol / v;
}

} // namespace

std::vector<int> reportedSpecies(const sim::State& s) {
    std::vector<int> listed;
    for (int i = 1; i <= 10; ++i) {
        const double amount = s.quantite[static_cast<std::size_t>(i)];
        if (!(amount > 0.0)) {
            continue;
        }
        listed.push_back(i);
    }
    return listed;
}

namespace {

// The lines of the electrolysis's species, in their order, then the pH.
constexpr int pHLine = 0;
std::vector<int> listedSpecies(const sim::State& s) {
    std::vector<int> listed = reportedSpecies(s);
    listed.push_back(pHLine);
    return listed;
}

void speciesLine(Writer& w, const sim::Engine& engine, int species) {
    const sim::NumBox& volume = engine.params().Text2[cat::Text2Volume];
    if (species == pHLine) {
        if (volume.isNumber() && volume.value() > 0.0F) {
            w.text("pH = " +
                   base::formatPattern(sim::pH(engine.state(), static_cast<double>(volume.value())),
                                       "0.00"));
        }
        return;
    }
    w.text("[");
    w.species(species);
    w.concentrationTail(
        concentration(engine.state().quantite[static_cast<std::size_t>(species)], volume));
}

// The report at the microscopic scale, on panels in the free bands.
void rapportMicro(render::Canvas& canvas, const sim::Engine& engine, double massG, double massD) {
    const sim::State& s = engine.state();
    const sim::ParamStore& p = engine.params();
    Writer w(canvas);
    const bool equations = s.intensite != 0.0F;
    const int numbers[2] = {sim::reactionNumberLeft(engine), sim::reactionNumberRight(engine)};
    const double masses[2] = {massG, massD};
    const Panel tops[2] = {topLeft, topRight};
    canvas.setFontBold(false);
    for (int e = 0; e < 2; ++e) {
        const Panel& top = tops[e];
        w.panel(top.left, equations ? 1.0 : topMassY - 5.0, top.right, topBottom);
        if (equations) {
            w.at((top.left + top.right) / 2.0, topEquationY);
            w.halfEquation(numbers[e]);
        }
        w.massLine(top.left + massMargin, topMassY, masses[e]);
    }

    if (p.isPile()) {
        const Panel unders[2] = {underLeftBeaker, underRightBeaker};
        const double ions[2] = {s.ions1, s.ions2};
        for (int e = 0; e < 2; ++e) {
            const Panel& under = unders[e];
            w.panel(under.left, underTop, under.right, underBottom);
            w.at(under.left + 4.0, underTextY);
            w.text("[");
            w.cation(p.Combo2[static_cast<std::size_t>(e)].tag);
            w.concentrationTail(
                concentration(ions[e], p.Text2[e == 0 ? cat::Text2VolumeG : cat::Text2VolumeD]));
        }
        return;
    }

    // Water's ion and the pH under the vessel, in the band the cell's beakers
    // use: between the legs a fourth line would reach the liquid.
    std::vector<int> listed;
    std::vector<int> water;
    for (const int species : reportedSpecies(s)) {
        (species == cat::hydrogene || species == cat::hydroxyde ? water : listed)
            .push_back(species);
    }
    water.push_back(pHLine);
    w.panel(underVessel.left, underTop, underVessel.right, underBottom);
    w.at(underVessel.left + panelMargin, underTextY);
    for (std::size_t k = 0; k < water.size(); ++k) {
        if (k > 0) {
            w.text("   ");
        }
        speciesLine(w, engine, water[k]);
    }
    if (listed.empty()) {
        return;
    }
    const double height = canvas.textHeight("A");
    const double pitch = height + shift + speciesGap;
    const double firstY = betweenTop + panelMargin + shift;
    const double lastY = firstY + pitch * static_cast<double>(listed.size() - 1);
    w.panel(betweenLegs.left, betweenTop, betweenLegs.right,
            lastY + height + sulfateShift + panelMargin - shift);
    double y = firstY;
    for (const int species : listed) {
        w.at(betweenLegs.left + panelMargin, y);
        speciesLine(w, engine, species);
        y += pitch;
    }
}

// "E(G) = … V   E(D) = … V", when the potentials follow the concentrations.
void potentialsLine(render::Canvas& canvas, const sim::State& s, bool micro) {
    Writer w(canvas);
    const std::string line = sim::nernst::potentialsText(s);
    canvas.setFontBold(false);
    canvas.setFontItalic(false);
    const double width = canvas.textWidth(line);
    const double left = potentialsCentreX - width / 2.0;
    // Pixels of the surface, whatever its scale's top.
    const double y = canvas.scaleTop() + (micro ? potentialsMicroY : potentialsMacroY);
    if (micro) {
        w.panel(left - panelMargin, y - 3.0, left + width + panelMargin,
                y + canvas.textHeight(line) + 3.0);
    }
    w.at(left, y);
    w.text(line);
}

} // namespace

void rapport(render::Canvas& canvas, const sim::Engine& engine, sim::DrawingFeedback& feedback) {
    const sim::State& s = engine.state();
    const sim::ParamStore& p = engine.params();
    const bool pile = p.isPile();
    Writer w(canvas);

    canvas.setForeColor(render::black);
    canvas.setFontSize(8.0);
    canvas.setFontItalic(false);

    const sim::ElectrodeMasses masses = feedback.clearNegativeMasses(p.highestNatureCode());
    const double a = masses.electrode1;
    const double b = masses.electrode2;
    if (sim::nernst::enabled(p)) {
        potentialsLine(canvas, s, !p.isMacro());
    }

    if (!p.isMacro()) {
        rapportMicro(canvas, engine, a, b);
        return;
    }

    if (!pile) {
        w.massLine(61.0, 485.0, a);
        w.massLine(250.0, 485.0, b);
        canvas.setCurrentY(canvas.currentY() + 4.0);
        bool first = true;
        for (const int i : listedSpecies(s)) {
            if (i == pHLine) {
                // Beside the first line: under the vessel, the lines reach
                // the bottom of the picture already.
                continue;
            }
            canvas.setCurrentY(canvas.currentY() + 4.0 + (first ? 0.0 : speciesGap));
            if (first) {
                const double y = canvas.currentY();
                canvas.setCurrentX(300.0);
                speciesLine(w, engine, pHLine);
                canvas.setCurrentY(y);
            }
            canvas.setCurrentX(155.0);
            speciesLine(w, engine, i);
            canvas.newLine();
            first = false;
        }
    } else {
        w.massLine(61.0, 500.0, a);
        canvas.setCurrentY(canvas.currentY() + 8.0);
        canvas.setCurrentX(51.0);
        w.text("[");
        w.cation(p.Combo2[0].tag);
        w.concentrationTail(concentration(s.ions1, p.Text2[cat::Text2VolumeG]));

        w.massLine(250.0, 500.0, b);
        canvas.setCurrentY(canvas.currentY() + 8.0);
        canvas.setCurrentX(240.0);
        w.text("[");
        w.cation(p.Combo2[1].tag);
        w.concentrationTail(concentration(s.ions2, p.Text2[cat::Text2VolumeD]));
    }

    if (s.intensite == 0.0F) {
        return;
    }
    w.equationBox(48.0, 189.0, 118.0, sim::reactionNumberLeft(engine));
    w.equationBox(227.0, 368.0, 298.0, sim::reactionNumberRight(engine));
}

} // namespace Ionaria::report
