// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

// The tables of the rich-text reader: the control words it knows, the code
// pages of the character sets, and the units and bounds its parts share.
namespace Ionaria::exercises::rtf {

// Lengths in files are in twips (1/1440 inch); the document works in pixels at
// 96 per inch.
inline constexpr double twipsPerPixel = 15.0;
inline constexpr int ansiCodePage = 1252;
// Numbers in control words are taken up to this magnitude.
inline constexpr long long numberCeiling = 2'000'000'000LL;
// A control word's letters beyond this many are not part of its name.
inline constexpr int maxWordLetters = 32;
// No picture is shown wider or taller than this, px.
inline constexpr int maxDisplayPixels = 20000;
// Cell edges, row indents and border widths beyond these, twips, are no page's.
inline constexpr int maxTableTwips = 63360;
inline constexpr int maxBorderTwips = 255;
// The text width of an A4 page with 2 cm margins. Tables wider than 9 cm take
// the share of the window's width that their file gives them of this width,
// so that a table made for the page fits the narrower exercise box; narrower
// ones keep their widths.
inline constexpr int pageTextTwips = 9638;
inline constexpr int maxFixedTableTwips = 5102;

enum class Word {
    Unknown,
    Rtf,
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    Uc,
    U,
    Upr,
    Ud,
    Bin,
    FontTable,
    ColorTable,
    SkipDestination,
    Pict,
    ShpPict,
    Red,
    Green,
    Blue,
    F,
    FCharset,
    Cpg,
    Fs,
    B,
    I,
    Ul,
    UlNone,
    Strike,
    Cf,
    Highlight,
    Cb,
    Super,
    Sub,
    NoSuperSub,
    Up,
    Dn,
    Plain,
    Pard,
    Ql,
    Qr,
    Qc,
    Qj,
    Li,
    Ri,
    Fi,
    Sb,
    Sa,
    Par,
    Line,
    Tab,
    Cell,
    EmDash,
    EnDash,
    EmSpace,
    EnSpace,
    Bullet,
    LQuote,
    RQuote,
    LDblQuote,
    RDblQuote,
    PngBlip,
    JpegBlip,
    OtherBlip,
    PicWGoal,
    PicHGoal,
    PicScaleX,
    PicScaleY,
    // Tables: the row, its cells' definitions and their borders.
    Row,
    InTable,
    RowDefaults,
    CellRight,
    RowGap,
    RowLeft,
    RowCentred,
    RowRight,
    RowHeader,
    MergeFirst,
    MergeNext,
    VerticalMergeFirst,
    VerticalMergeNext,
    CellBorderTop,
    CellBorderLeft,
    CellBorderBottom,
    CellBorderRight,
    RowBorderTop,
    RowBorderLeft,
    RowBorderBottom,
    RowBorderRight,
    RowBorderInnerH,
    RowBorderInnerV,
    ParagraphBorder,
    BorderNone,
    BorderSingle,
    BorderDouble,
    BorderDotted,
    BorderDashed,
    BorderDotDash,
    BorderDotDotDash,
    BorderInset,
    BorderOutset,
    BorderWidth,
    BorderColor,
    CellShading,
    CellTop,
    CellMiddle,
    CellBottom,
    // Numbered paragraphs: the numbering group and its words, the text of
    // the number, and the list of the paragraph.
    Pn,
    PnText,
    PnTextBefore,
    PnTextAfter,
    PnDecimal,
    PnUpperRoman,
    PnLowerRoman,
    PnUpperLetter,
    PnLowerLetter,
    PnBullet,
    PnLevel,
    PnStart,
    ListOverride,
    ListLevel,
};

// The word of a control word's name; Unknown for one the reader skips.
Word wordOf(std::string_view name);

// The character a word of the text stands for (\emdash, \tab, \line ...).
std::optional<char16_t> specialCharacter(Word word);

// The code page of a font's character set (\fcharset); documentCodePage for
// a set without one of its own.
int codePageOfCharset(int charset, int documentCodePage);

// The value of a hexadecimal digit; -1 for another character.
int hexDigit(char c);

int clampToInt(long long value, long long low, long long high);

} // namespace Ionaria::exercises::rtf
