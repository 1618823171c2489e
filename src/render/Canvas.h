// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Ionaria::render {

// An RGB colour, each component 0 to 255.
struct Color {
    int r = 0;
    int g = 0;
    int b = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color black{0, 0, 0};
inline constexpr Color white{255, 255, 255};
inline constexpr Color lightRed{255, 0, 0}; // palette colour 12

// A colour from components computed as real numbers: each is rounded to a
// whole number (halves to even) and taken as 255 above 255. A component that
// is not a number, does not fit a short integer or is negative gives no
// colour, and the element that needed it is skipped.
std::optional<Color> rgb(double r, double g, double b);

enum class FillStyle { Solid, Transparent };

// A face as a surface draws it: the family, the size in whole pixels, bold
// and italic. Every surface, on the desktop or in a browser, makes its own
// font from it.
struct FontFace {
    std::string family = "Liberation Sans";
    int pixelSize = 11;
    bool bold = false;
    bool italic = false;
    friend bool operator==(const FontFace&, const FontFace&) = default;
};

// The family drawn for a face's name: "Arial" and the faces without a glyph
// set of their own are drawn in one of the same metrics.
std::string fontFamily(std::string_view face);
// The pixel size of a point size meant at 96 dots per inch, held between 1
// and 200 points.
int fontPixelSize(double points);

// A drawing surface in pixels, x to the right and y downwards, with the
// drawing state of a picture box: pen width, fore colour (text and default
// outlines), fill style and colour, font, print cursor and the y of its top
// edge. Positions are real numbers, rounded to the nearest pixel when drawn;
// a position that is not a number or lies far outside any surface is not
// drawn.
class Canvas {
public:
    virtual ~Canvas() = default;

    // The surface's inner size in pixels.
    virtual int scaleWidth() const = 0;
    virtual int scaleHeight() const = 0;

    // The y drawn on the top row (0 or 90 here).
    void setScaleTop(int top) { m_scaleTop = top; }
    int scaleTop() const { return m_scaleTop; }

    void setDrawWidth(int pixels) { m_drawWidth = pixels < 1 ? 1 : pixels; }
    int drawWidth() const { return m_drawWidth; }
    void setForeColor(Color c) { m_foreColor = c; }
    Color foreColor() const { return m_foreColor; }
    void setFillStyle(FillStyle style) { m_fillStyle = style; }
    FillStyle fillStyle() const { return m_fillStyle; }
    void setFillColor(Color c) { m_fillColor = c; }
    Color fillColor() const { return m_fillColor; }

    // A line of the pen width; a one-pixel line leaves out its end point.
    virtual void line(double x1, double y1, double x2, double y2, Color c) = 0;
    // The border of the box with both corners included, filled first with
    // the fill colour when the fill style is solid.
    virtual void box(double x1, double y1, double x2, double y2, Color c) = 0;
    // The box with both corners included, filled with the colour.
    virtual void fillBox(double x1, double y1, double x2, double y2, Color c) = 0;
    // A circle outlined in the colour with the pen width and filled by the
    // fill style; the print cursor moves to its centre.
    virtual void circle(double cx, double cy, double radius, Color outline) = 0;
    void circle(double cx, double cy, double radius) { circle(cx, cy, radius, m_foreColor); }
    // An elliptical arc; angles in radians counter-clockwise from the
    // rightmost point. An aspect below 1 keeps the radius as the horizontal
    // semi-axis and multiplies it for the vertical one; above 1 the radius is
    // the vertical semi-axis and is divided for the horizontal one.
    virtual void arc(double cx, double cy, double radius, double start, double end, double aspect,
                     Color c) = 0;

    // Font: the face ("Arial" is drawn in a face of the same metrics), the
    // size in points at 96 dots per inch, bold and italic.
    virtual void setFontName(std::string_view face) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setFontBold(bool bold) = 0;
    virtual void setFontItalic(bool italic) = 0;
    virtual double fontSize() const = 0;
    virtual bool fontBold() const = 0;
    virtual bool fontItalic() const = 0;
    // Measurement of a text in the current font, in pixels.
    virtual double textWidth(std::string_view text) const = 0;
    virtual double textHeight(std::string_view text) const = 0;

    // The print cursor, in drawing units.
    void setCurrentX(double x) { m_currentX = x; }
    void setCurrentY(double y) { m_currentY = y; }
    double currentX() const { return m_currentX; }
    double currentY() const { return m_currentY; }
    // Prints UTF-8 text in the fore colour with its top-left corner at the
    // cursor, which moves just right of the text...
    virtual void print(std::string_view text) = 0;
    // ...or, after the text, to the start of the next line.
    void printLine(std::string_view text);
    void newLine();

    // Clears back to the persistent background; the cursor goes home.
    virtual void cls() = 0;
    // Replaces the background with an empty picture and shows it.
    virtual void clearPicture() = 0;
    // Makes the current image the persistent background.
    virtual void makeBackground() = 0;

protected:
    void moveCursor(double x, double y) {
        m_currentX = x;
        m_currentY = y;
    }

private:
    int m_scaleTop = 0;
    int m_drawWidth = 1;
    Color m_foreColor = black;
    FillStyle m_fillStyle = FillStyle::Transparent;
    Color m_fillColor = black;
    double m_currentX = 0.0;
    double m_currentY = 0.0;
};

} // namespace Ionaria::render
