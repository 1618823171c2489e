// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/RtfTables.h"

#include <algorithm>
#include <array>
#include <map>
#include <unordered_map>
#include <utility>

namespace Ionaria::exercises::rtf {

namespace {

// The control words the reader knows, and what each is to it; words of the
// same effect share one.
constexpr std::pair<std::string_view, Word> words[] = {
    {"rtf", Word::Rtf},
    {"ansi", Word::Ansi},
    {"mac", Word::Mac},
    {"pc", Word::Pc},
    {"pca", Word::Pca},
    {"ansicpg", Word::AnsiCpg},
    {"deff", Word::Deff},
    {"uc", Word::Uc},
    {"u", Word::U},
    {"upr", Word::Upr},
    {"ud", Word::Ud},
    {"bin", Word::Bin},
    {"fonttbl", Word::FontTable},
    {"colortbl", Word::ColorTable},
    {"pict", Word::Pict},
    {"shppict", Word::ShpPict},
    {"red", Word::Red},
    {"green", Word::Green},
    {"blue", Word::Blue},
    {"f", Word::F},
    {"fcharset", Word::FCharset},
    {"cpg", Word::Cpg},
    {"fs", Word::Fs},
    {"b", Word::B},
    {"i", Word::I},
    {"ul", Word::Ul},
    {"uld", Word::Ul},
    {"uldash", Word::Ul},
    {"uldashd", Word::Ul},
    {"uldashdd", Word::Ul},
    {"uldb", Word::Ul},
    {"ulth", Word::Ul},
    {"ulw", Word::Ul},
    {"ulwave", Word::Ul},
    {"ulnone", Word::UlNone},
    {"strike", Word::Strike},
    {"striked", Word::Strike},
    {"cf", Word::Cf},
    {"highlight", Word::Highlight},
    {"cb", Word::Cb},
    {"chcbpat", Word::Cb},
    {"super", Word::Super},
    {"sub", Word::Sub},
    {"nosupersub", Word::NoSuperSub},
    {"up", Word::Up},
    {"dn", Word::Dn},
    {"plain", Word::Plain},
    {"pard", Word::Pard},
    {"ql", Word::Ql},
    {"qr", Word::Qr},
    {"qc", Word::Qc},
    {"qj", Word::Qj},
    {"li", Word::Li},
    {"lin", Word::Li},
    {"ri", Word::Ri},
    {"rin", Word::Ri},
    {"fi", Word::Fi},
    {"sb", Word::Sb},
    {"sa", Word::Sa},
    {"par", Word::Par},
    {"sect", Word::Par},
    {"page", Word::Par},
    {"row", Word::Row},
    {"nestrow", Word::Par},
    {"column", Word::Par},
    {"line", Word::Line},
    {"tab", Word::Tab},
    {"cell", Word::Cell},
    {"nestcell", Word::Tab},
    {"emdash", Word::EmDash},
    {"endash", Word::EnDash},
    {"emspace", Word::EmSpace},
    {"enspace", Word::EnSpace},
    {"bullet", Word::Bullet},
    {"lquote", Word::LQuote},
    {"rquote", Word::RQuote},
    {"ldblquote", Word::LDblQuote},
    {"rdblquote", Word::RDblQuote},
    {"pngblip", Word::PngBlip},
    {"jpegblip", Word::JpegBlip},
    {"emfblip", Word::OtherBlip},
    {"wmetafile", Word::OtherBlip},
    {"macpict", Word::OtherBlip},
    {"dibitmap", Word::OtherBlip},
    {"wbitmap", Word::OtherBlip},
    {"pmmetafile", Word::OtherBlip},
    {"picwgoal", Word::PicWGoal},
    {"pichgoal", Word::PicHGoal},
    {"picscalex", Word::PicScaleX},
    {"picscaley", Word::PicScaleY},
    {"intbl", Word::InTable},
    {"trowd", Word::RowDefaults},
    {"cellx", Word::CellRight},
    {"trgaph", Word::RowGap},
    {"trleft", Word::RowLeft},
    {"trqc", Word::RowCentred},
    {"trqr", Word::RowRight},
    {"trhdr", Word::RowHeader},
    {"clmgf", Word::MergeFirst},
    {"clmrg", Word::MergeNext},
    {"clvmgf", Word::VerticalMergeFirst},
    {"clvmrg", Word::VerticalMergeNext},
    {"clbrdrt", Word::CellBorderTop},
    {"clbrdrl", Word::CellBorderLeft},
    {"clbrdrb", Word::CellBorderBottom},
    {"clbrdrr", Word::CellBorderRight},
    {"trbrdrt", Word::RowBorderTop},
    {"trbrdrl", Word::RowBorderLeft},
    {"trbrdrb", Word::RowBorderBottom},
    {"trbrdrr", Word::RowBorderRight},
    {"trbrdrh", Word::RowBorderInnerH},
    {"trbrdrv", Word::RowBorderInnerV},
    {"brdrt", Word::ParagraphBorder},
    {"brdrl", Word::ParagraphBorder},
    {"brdrb", Word::ParagraphBorder},
    {"brdrr", Word::ParagraphBorder},
    {"box", Word::ParagraphBorder},
    {"brdrbar", Word::ParagraphBorder},
    {"brdrbtw", Word::ParagraphBorder},
    {"brdrnone", Word::BorderNone},
    {"brdrnil", Word::BorderNone},
    {"brdrtbl", Word::BorderNone},
    {"brdrs", Word::BorderSingle},
    {"brdrth", Word::BorderSingle},
    {"brdrsh", Word::BorderSingle},
    {"brdrhair", Word::BorderSingle},
    {"brdrwavy", Word::BorderSingle},
    {"brdrdb", Word::BorderDouble},
    {"brdrtriple", Word::BorderDouble},
    {"brdrwavydb", Word::BorderDouble},
    {"brdrdot", Word::BorderDotted},
    {"brdrdash", Word::BorderDashed},
    {"brdrdashsm", Word::BorderDashed},
    {"brdrdashd", Word::BorderDotDash},
    {"brdrdashdd", Word::BorderDotDotDash},
    {"brdrinset", Word::BorderInset},
    {"brdroutset", Word::BorderOutset},
    {"brdrw", Word::BorderWidth},
    {"brdrcf", Word::BorderColor},
    {"clcbpat", Word::CellShading},
    {"clvertalt", Word::CellTop},
    {"clvertalc", Word::CellMiddle},
    {"clvertalb", Word::CellBottom},
    {"pn", Word::Pn},
    {"pntext", Word::PnText},
    {"listtext", Word::PnText},
    {"pntxtb", Word::PnTextBefore},
    {"pntxta", Word::PnTextAfter},
    {"pndec", Word::PnDecimal},
    {"pnucrm", Word::PnUpperRoman},
    {"pnlcrm", Word::PnLowerRoman},
    {"pnucltr", Word::PnUpperLetter},
    {"pnlcltr", Word::PnLowerLetter},
    {"pnlvlblt", Word::PnBullet},
    {"pnlvl", Word::PnLevel},
    {"pnstart", Word::PnStart},
    {"ls", Word::ListOverride},
    {"ilvl", Word::ListLevel},
    // Destinations whose content is not part of the text.
    {"info", Word::SkipDestination},
    {"stylesheet", Word::SkipDestination},
    {"header", Word::SkipDestination},
    {"headerl", Word::SkipDestination},
    {"headerr", Word::SkipDestination},
    {"headerf", Word::SkipDestination},
    {"footer", Word::SkipDestination},
    {"footerl", Word::SkipDestination},
    {"footerr", Word::SkipDestination},
    {"footerf", Word::SkipDestination},
    {"footnote", Word::SkipDestination},
    {"annotation", Word::SkipDestination},
    {"object", Word::SkipDestination},
    {"nonshppict", Word::SkipDestination},
    {"fldinst", Word::SkipDestination},
    {"listtable", Word::SkipDestination},
    {"listoverridetable", Word::SkipDestination},
    {"rsidtbl", Word::SkipDestination},
    {"revtbl", Word::SkipDestination},
    {"filetbl", Word::SkipDestination},
    {"xmlnstbl", Word::SkipDestination},
    {"txe", Word::SkipDestination},
    {"xe", Word::SkipDestination},
    {"tc", Word::SkipDestination},
    {"template", Word::SkipDestination},
    {"author", Word::SkipDestination},
    {"operator", Word::SkipDestination},
    {"title", Word::SkipDestination},
    {"subject", Word::SkipDestination},
    {"keywords", Word::SkipDestination},
    {"comment", Word::SkipDestination},
    {"doccomm", Word::SkipDestination},
    {"private", Word::SkipDestination},
};

} // namespace

Word wordOf(std::string_view name) {
    static const std::unordered_map<std::string_view, Word> table(std::begin(words),
                                                                  std::end(words));
    const auto found = table.find(name);
    return found != table.end() ? found->second : Word::Unknown;
}

std::optional<char16_t> specialCharacter(Word word) {
    switch (word) {
    case Word::Line:
        return u'\u2028';
    case Word::Tab:
    case Word::Cell:
        return u'\t';
    case Word::EmDash:
        return u'\u2014';
    case Word::EnDash:
        return u'\u2013';
    case Word::EmSpace:
        return u'\u2003';
    case Word::EnSpace:
        return u'\u2002';
    case Word::Bullet:
        return u'\u2022';
    case Word::LQuote:
        return u'\u2018';
    case Word::RQuote:
        return u'\u2019';
    case Word::LDblQuote:
        return u'\u201C';
    case Word::RDblQuote:
        return u'\u201D';
    default:
        return std::nullopt;
    }
}

int codePageOfCharset(int charset, int documentCodePage) {
    static const std::map<int, int> pages = {{77, 10000}, {128, 932},  {129, 949},  {134, 936},
                                             {136, 950},  {161, 1253}, {162, 1254}, {163, 1258},
                                             {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251},
                                             {222, 874},  {238, 1250}, {255, 437}};
    const auto it = pages.find(charset);
    return it != pages.end() ? it->second : documentCodePage;
}

int clampToInt(long long value, long long low, long long high) {
    return static_cast<int>(std::clamp(value, low, high));
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace Ionaria::exercises::rtf
