// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/PageValues.h"

#include <emscripten/val.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Ionaria::web {

using emscripten::val;

namespace {

val faceOf(const render::FontFace& face) {
    val out = val::object();
    out.set("family", face.family);
    out.set("pixelSize", face.pixelSize);
    out.set("bold", face.bold);
    out.set("italic", face.italic);
    return out;
}

// What the page reads of one operation, a fixed number of doubles in this
// order (web/picture.js reads them by the same names): the whole list goes
// over as one typed array, its texts and families beside it.
enum OpField : std::size_t {
    Kind,
    X1,
    Y1,
    X2,
    Y2,
    Radius,
    Start,
    End,
    Aspect,
    ColorRgb,
    Filled,
    FillRgb,
    Width,
    ScaleTop,
    Ascent,
    FontPixelSize,
    FontStyle,
    Stride
};

// The kinds the page paints, by the number it reads; the others are not sent.
enum class PageKind { Line, Box, FillBox, Circle, Arc, Text };

std::optional<PageKind> pageKind(render::DrawOp::Kind kind) {
    switch (kind) {
    case render::DrawOp::Kind::Line:
        return PageKind::Line;
    case render::DrawOp::Kind::Box:
        return PageKind::Box;
    case render::DrawOp::Kind::FillBox:
        return PageKind::FillBox;
    case render::DrawOp::Kind::Circle:
        return PageKind::Circle;
    case render::DrawOp::Kind::Arc:
        return PageKind::Arc;
    case render::DrawOp::Kind::Text:
        return PageKind::Text;
    case render::DrawOp::Kind::Cls:
    case render::DrawOp::Kind::ClearPicture:
    case render::DrawOp::Kind::MakeBackground:
        break;
    }
    return std::nullopt;
}

// 0xRRGGBB.
double rgbOf(render::Color c) {
    return static_cast<double>((c.r << 16) | (c.g << 8) | c.b);
}

// Bold 1, italic 2.
constexpr int boldFlag = 1;
constexpr int italicFlag = 2;

// The page's measures of the texts, kept: a tick prints the same labels and
// most of the same numbers again, and each question to the page costs more
// than the drawing of a text. A face's ascent and height are asked once.
class MeasureCache {
public:
    explicit MeasureCache(val measurer) : m_measurer(std::move(measurer)) {}

    double width(const render::FontFace& face, const std::string& text) {
        std::string key = keyOf(face);
        key += text;
        if (const auto found = m_widths.find(key); found != m_widths.end()) {
            return found->second;
        }
        if (m_widths.size() >= widthsMost) {
            m_widths.clear();
        }
        const double w = m_measurer.call<double>("width", faceOf(face), text);
        m_widths.emplace(std::move(key), w);
        return w;
    }
    int ascent(const render::FontFace& face) { return heights(face).first; }
    int height(const render::FontFace& face) { return heights(face).second; }

private:
    // The texts of a few seconds of ticks: the numbers that change each tick
    // are forgotten together now and then.
    static constexpr std::size_t widthsMost = 4096;

    static std::string keyOf(const render::FontFace& face) {
        std::string key = face.family;
        key += '\0';
        key += std::to_string(face.pixelSize);
        key += face.bold ? 'b' : '-';
        key += face.italic ? 'i' : '-';
        key += '\0';
        return key;
    }
    const std::pair<int, int>& heights(const render::FontFace& face) {
        const std::string key = keyOf(face);
        auto found = m_heights.find(key);
        if (found == m_heights.end()) {
            const val f = faceOf(face);
            found = m_heights
                        .emplace(key, std::pair{m_measurer.call<int>("ascent", f),
                                                m_measurer.call<int>("height", f)})
                        .first;
        }
        return found->second;
    }

    val m_measurer;
    std::unordered_map<std::string, double> m_widths;
    std::unordered_map<std::string, std::pair<int, int>> m_heights;
};

} // namespace

void pack(const std::vector<render::DrawOp>& ops, PackedOps& out) {
    out.numbers.clear();
    out.texts.clear();
    for (const render::DrawOp& o : ops) {
        const auto kind = pageKind(o.kind);
        if (!kind) {
            continue;
        }
        const std::size_t at = out.numbers.size();
        out.numbers.resize(at + Stride, 0.0);
        double* n = out.numbers.data() + at;
        n[Kind] = static_cast<double>(*kind);
        n[X1] = o.x1;
        n[Y1] = o.y1;
        n[X2] = o.x2;
        n[Y2] = o.y2;
        n[Radius] = o.radius;
        n[Start] = o.start;
        n[End] = o.end;
        n[Aspect] = o.aspect;
        n[ColorRgb] = rgbOf(o.color);
        n[Filled] = o.filled ? 1.0 : 0.0;
        n[FillRgb] = rgbOf(o.fill);
        n[Width] = o.width;
        n[ScaleTop] = o.scaleTop;
        if (*kind == PageKind::Text) {
            n[Ascent] = o.ascent;
            n[FontPixelSize] = o.font.pixelSize;
            n[FontStyle] = (o.font.bold ? boldFlag : 0) | (o.font.italic ? italicFlag : 0);
            out.texts.push_back(o.text);
            out.texts.push_back(o.font.family);
        }
    }
}

val opsOf(const PackedOps& packed) {
    val texts = val::array();
    for (const std::string& t : packed.texts) {
        texts.call<void>("push", t);
    }
    val out = val::object();
    out.set("numbers",
            val(emscripten::typed_memory_view(packed.numbers.size(), packed.numbers.data())));
    out.set("texts", texts);
    return out;
}

TextMetrics metricsOf(val measurer) {
    auto cache = std::make_shared<MeasureCache>(std::move(measurer));
    TextMetrics m;
    m.width = [cache](const render::FontFace& face, const std::string& text) {
        return cache->width(face, text);
    };
    m.ascent = [cache](const render::FontFace& face) { return cache->ascent(face); };
    m.height = [cache](const render::FontFace& face) { return cache->height(face); };
    return m;
}

val listOf(const sim::ListBox& box) {
    val out = val::object();
    out.set("items", arrayOf(box.items));
    out.set("listIndex", box.listIndex);
    out.set("tag", box.tag);
    return out;
}

val float64Array(const std::vector<double>& numbers) {
    return val::global("Float64Array")
        .new_(emscripten::typed_memory_view(numbers.size(), numbers.data()));
}

val axisOf(const sim::AxisScale& scale) {
    val splits = val::array();
    val labels = val::array();
    for (int k = 0; k < scale.ticks; ++k) {
        const double value = scale.ticks > 1
                                 ? scale.first + k * (scale.last - scale.first) / (scale.ticks - 1)
                                 : scale.first;
        splits.call<void>("push", value);
        labels.call<void>("push", sim::frenchFixed(value, scale.decimals));
    }
    val out = val::object();
    out.set("min", scale.first);
    out.set("max", scale.last);
    out.set("splits", splits);
    out.set("labels", labels);
    return out;
}

} // namespace Ionaria::web
