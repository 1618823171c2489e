#include "report/Rapport.h"

#include "base/Numbers.h"
#include "sim/Catalogue.h"
#include "sim/Reactions.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

namespace Ionaria::report {

namespace cat = sim::catalogue;

namespace {

constexpr render::Color boxColor{255, 255, 230};
// Superscripts and subscripts are the same font moved this far, in pixels;
// the stacked charge and count of sulfate a little further.
constexpr double shift = 4.0;
constexpr double sulfateShift = 5.0;

class Writer {
public:
    explicit Writer(render::Canvas& canvas) : c(canvas) {}

    void text(std::string_view t) { c.print(t); }
    void sup(std::string_view t, double offset = shift) { shifted(t, -offset); }
    void sub(std::string_view t, double offset = shift) { shifted(t, offset); }
    void at(double x, double y) {
        c.setCurrentX(x);
        c.setCurrentY(y);
    }

    void massLine(double x, double y, double grams) {
        c.setFontBold(false);
        at(x, y);
        c.setFontItalic(true);
        text("m");
        c.setFontItalic(false);
        sub("électrode");
        text(" = " + base::formatPattern(grams, "# ##0.00") + " g");
        c.newLine();
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
            const double x = c.currentX();
            sub("4", sulfateShift);
            c.setCurrentX(x);
            sup("2-", sulfateShift);
            break;
        }
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
        c.setCurrentX(c.currentX() - c.textWidth(equation->widthText) / 2.0);
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
        c.fillBox(left, 259.0, right, 280.0, boxColor);
        const render::FillStyle style = c.fillStyle();
        c.setFillStyle(render::FillStyle::Transparent);
        c.box(left, 259.0, right, 280.0, render::black);
        c.setFillStyle(style);
        at(penX, 263.0);
        halfEquation(number);
    }

private:
    void shifted(std::string_view t, double dy) {
        const double y = c.currentY();
        c.setCurrentY(y + dy);
        c.print(t);
        c.setCurrentY(y);
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

    render::Canvas& c;
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

void rapport(render::Canvas& canvas, sim::Engine& engine) {
    sim::State& s = engine.state();
    const sim::ParamStore& p = engine.params();
    const bool pile = p.isPile();
    Writer w(canvas);

    canvas.setForeColor(render::black);
    canvas.setFontSize(8.0);
    canvas.setFontItalic(false);

    const std::size_t highest = pile ? 3 : 4;
    double a = 0.0;
    double b = 0.0;
    for (std::size_t m = 0; m <= highest; ++m) {
        for (std::size_t e = 1; e <= 2; ++e) {
            if (s.masseMetal[e][m] < 0.0) {
                s.masseMetal[e][m] = 0.0;
            }
        }
        a += s.masseMetal[1][m];
        b += s.masseMetal[2][m];
    }

    if (!pile) {
        w.massLine(61.0, 485.0, a);
        w.massLine(250.0, 485.0, b);
        canvas.setCurrentY(canvas.currentY() + 4.0);
        for (int i = 1; i <= 10; ++i) {
            const double amount = s.quantite[static_cast<std::size_t>(i)];
            if (i == cat::hydrogene || i == 4 || !(amount > 0.0)) {
                continue;
            }
            canvas.setCurrentY(canvas.currentY() + 4.0);
            canvas.setCurrentX(155.0);
            w.text("[");
            w.species(i);
            w.concentrationTail(concentration(amount, p.Text2[1]));
            canvas.newLine();
        }
    } else {
        w.massLine(61.0, 500.0, a);
        canvas.setCurrentY(canvas.currentY() + 8.0);
        canvas.setCurrentX(51.0);
        w.text("[");
        w.cation(p.Combo2[0].tag);
        w.concentrationTail(concentration(s.ions1, p.Text2[6]));

        w.massLine(250.0, 500.0, b);
        canvas.setCurrentY(canvas.currentY() + 8.0);
        canvas.setCurrentX(240.0);
        w.text("[");
        w.cation(p.Combo2[1].tag);
        w.concentrationTail(concentration(s.ions2, p.Text2[8]));
    }

    if (s.intensite == 0.0F) {
        return;
    }
    w.equationBox(48.0, 189.0, 118.0, sim::reactionNumberLeft(engine));
    w.equationBox(227.0, 368.0, 298.0, sim::reactionNumberRight(engine));
}

} // namespace Ionaria::report
