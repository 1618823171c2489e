// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/RtfReader.h"

#include "exercises/RtfWriter.h"

#include "base/Windows1252.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageReader>
#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Ionaria::exercises {

namespace {

// Lengths in files are in twips (1/1440 inch); the document works in pixels at
// 96 per inch.
constexpr double twipsPerPixel = 15.0;
constexpr int defaultHalfPoints = 24;
constexpr int maxHalfPoints = 3276;
constexpr int maxWordLetters = 32;
constexpr long long numberCeiling = 2'000'000'000LL;
constexpr int maxDisplayPixels = 20000;
constexpr int ansiCodePage = 1252;
constexpr qsizetype maxFontNameLength = 256;
// Indents and spacings beyond 22 inches are no page's.
constexpr long long maxParagraphTwips = 31680;

enum class Destination { Text, Skip, FontTable, ColorTable, Picture, Upr };

enum class PictureType { None, Png, Jpeg, Other };

struct CharState {
    int font = -1;
    int halfPoints = defaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int foreground = 0;
    int background = 0;
    int vertical = 0; // +1 superscript, -1 subscript
};

struct ParaState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftTwips = 0;
    int rightTwips = 0;
    int firstTwips = 0;
    int beforeTwips = 0;
    int afterTwips = 0;
};

struct GroupState {
    Destination destination = Destination::Text;
    CharState chars;
    ParaState para;
    int unicodeSkip = 1;
};

struct FontEntry {
    QString name;
    int codePage = 0; // 0: the document's code page
};

struct Picture {
    PictureType type = PictureType::None;
    QByteArray data;
    int pendingNibble = -1;
    int widthPixels = 0;
    int heightPixels = 0;
    int goalWidthTwips = 0;
    int goalHeightTwips = 0;
    int scaleXPercent = 100;
    int scaleYPercent = 100;
};

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
    PicW,
    PicH,
    PicWGoal,
    PicHGoal,
    PicScaleX,
    PicScaleY,
};

const std::unordered_map<std::string_view, Word>& wordTable() {
    static const std::unordered_map<std::string_view, Word> table = {
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
        {"row", Word::Par},
        {"column", Word::Par},
        {"line", Word::Line},
        {"tab", Word::Tab},
        {"cell", Word::Cell},
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
        {"picw", Word::PicW},
        {"pich", Word::PicH},
        {"picwgoal", Word::PicWGoal},
        {"pichgoal", Word::PicHGoal},
        {"picscalex", Word::PicScaleX},
        {"picscaley", Word::PicScaleY},
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
        {"pntxta", Word::SkipDestination},
        {"pntxtb", Word::SkipDestination},
        {"pn", Word::SkipDestination},
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
    return table;
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

// Text fit for the document: surrogates paired, no control characters but tabs.
QString sanitized(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out.append(c);
            out.append(text.at(i + 1));
            ++i;
        } else if (c.isSurrogate()) {
            out.append(QChar::ReplacementCharacter);
        } else if (c.unicode() < 0x20 && c != QLatin1Char('\t')) {
            // Decoders of some code pages give control characters for bad bytes.
        } else {
            out.append(c);
        }
    }
    return out;
}

// Reads a file into a document, or, with no document, only counts its
// paragraphs: the same parse, without the document's costs.
class Parser {
public:
    Parser(const QByteArray& bytes, QTextDocument* document)
        : bytes_(bytes), document_(document),
          cursor_(document != nullptr ? QTextCursor(document) : QTextCursor()) {}

    void run();
    // Paragraph marks met so far; the parse ends at the first beyond the cap.
    int paragraphs() const { return paragraphs_; }
    bool tooManyParagraphs() const { return paragraphs_ > RtfReader::maxParagraphs; }

private:
    void openGroup();
    void closeGroup();
    void controlSymbol(char symbol);
    void controlWord(std::string_view name, bool hasNumber, long long number);
    void textWord(Word word, bool hasNumber, int value);
    void pictureWord(Word word, int value);
    void skipBinary(long long count);
    void textByte(char byte);
    void appendText(const QString& text);
    void flushBytes();
    void flushRun();
    void endParagraph();
    void finishPicture();
    void finishFontEntry();
    void flushFontName();
    QString decode(const QByteArray& raw, int codePage);
    QTextCharFormat charFormat() const;
    QTextBlockFormat blockFormat() const;
    int currentCodePage() const;
    GroupState& state() { return stack_.back(); }

    const QByteArray& bytes_;
    qsizetype pos_ = 0;
    QTextDocument* document_;
    QTextCursor cursor_;
    int paragraphs_ = 0;

    std::vector<GroupState> stack_;
    int overflowDepth_ = 0;
    bool started_ = false;
    bool finished_ = false;
    bool ignorable_ = false;
    int skipCount_ = 0;

    int documentCodePage_ = ansiCodePage;
    int defaultFont_ = 0;
    std::map<int, FontEntry> fonts_;
    int fontBeingDefined_ = -1;
    QByteArray fontNameBytes_;
    QString fontName_;
    std::vector<QColor> colors_;
    int red_ = 0;
    int green_ = 0;
    int blue_ = 0;
    bool colorSet_ = false;

    std::unique_ptr<Picture> picture_;
    std::size_t pictureDepth_ = 0;
    int imageCount_ = 0;
    qint64 picturePixels_ = 0;

    QByteArray pendingBytes_;
    QString pendingText_;
    QTextCharFormat pendingFormat_;
    bool formatDirty_ = true;
    std::map<int, std::unique_ptr<QStringDecoder>> decoders_;
};

void Parser::run() {
    stack_.reserve(static_cast<std::size_t>(RtfReader::maxGroupDepth) + 1);
    // One edit for the whole text: outside an edit each insertion lays out
    // its whole paragraph again, and a paragraph of many runs costs the square
    // of their number.
    if (document_ != nullptr) {
        cursor_.beginEditBlock();
    }
    const qsizetype size = bytes_.size();
    while (pos_ < size && !finished_) {
        const char c = bytes_[pos_++];
        switch (c) {
        case '{':
            openGroup();
            break;
        case '}':
            closeGroup();
            break;
        case '\\':
            if (pos_ < size) {
                const char next = bytes_[pos_];
                if ((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z')) {
                    const qsizetype start = pos_;
                    while (pos_ < size && ((bytes_[pos_] >= 'a' && bytes_[pos_] <= 'z') ||
                                           (bytes_[pos_] >= 'A' && bytes_[pos_] <= 'Z'))) {
                        ++pos_;
                    }
                    const auto letters = std::min<qsizetype>(pos_ - start, maxWordLetters);
                    const std::string_view name(bytes_.constData() + start,
                                                static_cast<std::size_t>(letters));
                    bool negative = false;
                    if (pos_ + 1 < size && bytes_[pos_] == '-' && bytes_[pos_ + 1] >= '0' &&
                        bytes_[pos_ + 1] <= '9') {
                        negative = true;
                        ++pos_;
                    }
                    bool hasNumber = false;
                    long long number = 0;
                    while (pos_ < size && bytes_[pos_] >= '0' && bytes_[pos_] <= '9') {
                        hasNumber = true;
                        number = std::min(number * 10 + (bytes_[pos_] - '0'), numberCeiling);
                        ++pos_;
                    }
                    if (pos_ < size && bytes_[pos_] == ' ') {
                        ++pos_;
                    }
                    controlWord(name, hasNumber, negative ? -number : number);
                } else {
                    ++pos_;
                    controlSymbol(next);
                }
            }
            break;
        case '\r':
        case '\n':
        case '\0':
            break;
        default:
            if (!started_) {
                break;
            }
            if (skipCount_ > 0) {
                --skipCount_;
                break;
            }
            textByte(c);
            break;
        }
    }
    flushBytes();
    flushRun();
    if (picture_) {
        finishPicture();
    }
    if (document_ != nullptr) {
        if (!stack_.empty()) {
            cursor_.setBlockFormat(blockFormat());
        }
        cursor_.endEditBlock();
    }
}

void Parser::openGroup() {
    flushBytes();
    skipCount_ = 0;
    if (stack_.empty()) {
        stack_.emplace_back();
        started_ = true;
        return;
    }
    if (stack_.size() >= static_cast<std::size_t>(RtfReader::maxGroupDepth)) {
        ++overflowDepth_;
        return;
    }
    GroupState copy = stack_.back();
    stack_.push_back(copy);
    formatDirty_ = true;
}

void Parser::closeGroup() {
    flushBytes();
    skipCount_ = 0;
    ignorable_ = false;
    if (overflowDepth_ > 0) {
        --overflowDepth_;
        return;
    }
    if (stack_.empty()) {
        return;
    }
    const Destination closing = stack_.back().destination;
    if (closing == Destination::FontTable) {
        finishFontEntry();
    }
    if (picture_ && stack_.size() == pictureDepth_) {
        finishPicture();
    }
    if (stack_.size() == 1) {
        finished_ = true;
        return;
    }
    stack_.pop_back();
    formatDirty_ = true;
}

void Parser::controlSymbol(char symbol) {
    if (!started_) {
        return;
    }
    if (symbol == '\'') {
        int value = 0;
        int digits = 0;
        while (digits < 2 && pos_ < bytes_.size()) {
            const int digit = hexDigit(bytes_[pos_]);
            if (digit < 0) {
                break;
            }
            value = value * 16 + digit;
            ++digits;
            ++pos_;
        }
        if (digits == 0) {
            return;
        }
        if (skipCount_ > 0) {
            --skipCount_;
            return;
        }
        textByte(static_cast<char>(value));
        return;
    }
    if (symbol == '*') {
        ignorable_ = true;
        return;
    }
    if (skipCount_ > 0) {
        --skipCount_;
        return;
    }
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        textByte(symbol);
        break;
    case '~':
        appendText(QString(QChar(0x00A0)));
        break;
    case '-':
        appendText(QString(QChar(0x00AD)));
        break;
    case '_':
        appendText(QString(QChar(0x2011)));
        break;
    case '\n':
    case '\r':
        controlWord("par", false, 0);
        break;
    default:
        break;
    }
}

void Parser::controlWord(std::string_view name, bool hasNumber, long long number) {
    const auto& table = wordTable();
    const auto found = table.find(name);
    const Word word = found != table.end() ? found->second : Word::Unknown;
    if (!started_) {
        return;
    }
    if (skipCount_ > 0) {
        --skipCount_;
        if (word == Word::Bin) {
            skipBinary(number);
        }
        return;
    }
    flushBytes();
    const bool wasIgnorable = ignorable_;
    ignorable_ = false;
    GroupState& group = state();
    if (wasIgnorable && word != Word::ShpPict && word != Word::Ud) {
        group.destination = Destination::Skip;
        return;
    }
    const int value = clampToInt(number, -numberCeiling, numberCeiling);
    switch (word) {
    case Word::Bin:
        if (group.destination == Destination::Picture && picture_) {
            const qsizetype count =
                static_cast<qsizetype>(std::clamp<long long>(number, 0, bytes_.size() - pos_));
            picture_->data.append(bytes_.constData() + pos_, count);
            pos_ += count;
        } else {
            skipBinary(number);
        }
        return;
    case Word::SkipDestination:
        group.destination = Destination::Skip;
        return;
    case Word::Upr:
        if (group.destination == Destination::Text) {
            group.destination = Destination::Upr;
        }
        return;
    case Word::Ud:
        if (group.destination == Destination::Upr) {
            group.destination = Destination::Text;
        }
        return;
    case Word::Uc:
        group.unicodeSkip = clampToInt(number, 0, 16);
        return;
    default:
        break;
    }
    switch (group.destination) {
    case Destination::Skip:
    case Destination::Upr:
        return;
    case Destination::Picture:
        pictureWord(word, value);
        return;
    case Destination::FontTable:
        if (word == Word::F) {
            finishFontEntry();
            if (fonts_.size() < static_cast<std::size_t>(RtfReader::maxFonts) ||
                fonts_.contains(value)) {
                fontBeingDefined_ = value;
                fonts_[value];
            }
        } else if (word == Word::FCharset && fontBeingDefined_ >= 0) {
            fonts_[fontBeingDefined_].codePage = codePageOfCharset(value, 0);
        } else if (word == Word::Cpg && fontBeingDefined_ >= 0) {
            fonts_[fontBeingDefined_].codePage = clampToInt(number, 0, 65535);
        } else if (word == Word::U && fontBeingDefined_ >= 0) {
            flushFontName();
            const int unit = value < 0 ? value + 65536 : value;
            if (unit >= 0x20 && unit < 65536 && fontName_.size() < 4 * maxFontNameLength) {
                fontName_.append(QChar(static_cast<char16_t>(unit)));
            }
            skipCount_ = group.unicodeSkip;
        }
        return;
    case Destination::ColorTable:
        if (word == Word::Red) {
            red_ = clampToInt(number, 0, 255);
            colorSet_ = true;
        } else if (word == Word::Green) {
            green_ = clampToInt(number, 0, 255);
            colorSet_ = true;
        } else if (word == Word::Blue) {
            blue_ = clampToInt(number, 0, 255);
            colorSet_ = true;
        }
        return;
    case Destination::Text:
        textWord(word, hasNumber, value);
        return;
    }
}

void Parser::textWord(Word word, bool hasNumber, int value) {
    GroupState& group = state();
    CharState& chars = group.chars;
    ParaState& para = group.para;
    const bool on = !hasNumber || value != 0;
    switch (word) {
    case Word::Rtf:
    case Word::Ansi:
        documentCodePage_ = ansiCodePage;
        break;
    case Word::Mac:
        documentCodePage_ = 10000;
        break;
    case Word::Pc:
        documentCodePage_ = 437;
        break;
    case Word::Pca:
        documentCodePage_ = 850;
        break;
    case Word::AnsiCpg:
        documentCodePage_ = value > 0 && value < 65536 ? value : ansiCodePage;
        break;
    case Word::Deff:
        defaultFont_ = value;
        break;
    case Word::FontTable:
        group.destination = Destination::FontTable;
        fontBeingDefined_ = -1;
        fontNameBytes_.clear();
        fontName_.clear();
        break;
    case Word::ColorTable:
        group.destination = Destination::ColorTable;
        red_ = green_ = blue_ = 0;
        colorSet_ = false;
        break;
    case Word::Pict:
        if (!picture_) {
            flushRun();
            picture_ = std::make_unique<Picture>();
            pictureDepth_ = stack_.size();
            group.destination = Destination::Picture;
        } else {
            group.destination = Destination::Skip;
        }
        break;
    case Word::U: {
        const int unit = value < 0 ? value + 65536 : value;
        if ((unit >= 0x20 || unit == '\t') && unit < 65536) {
            appendText(QString(QChar(static_cast<char16_t>(unit))));
        }
        skipCount_ = group.unicodeSkip;
        break;
    }
    case Word::F:
        chars.font = value;
        formatDirty_ = true;
        break;
    case Word::Fs:
        chars.halfPoints = value > 0 ? std::min(value, maxHalfPoints) : defaultHalfPoints;
        formatDirty_ = true;
        break;
    case Word::B:
        chars.bold = on;
        formatDirty_ = true;
        break;
    case Word::I:
        chars.italic = on;
        formatDirty_ = true;
        break;
    case Word::Ul:
        chars.underline = on;
        formatDirty_ = true;
        break;
    case Word::UlNone:
        chars.underline = false;
        formatDirty_ = true;
        break;
    case Word::Strike:
        chars.strike = on;
        formatDirty_ = true;
        break;
    case Word::Cf:
        chars.foreground = value;
        formatDirty_ = true;
        break;
    case Word::Highlight:
    case Word::Cb:
        chars.background = value;
        formatDirty_ = true;
        break;
    case Word::Super:
        chars.vertical = 1;
        formatDirty_ = true;
        break;
    case Word::Sub:
        chars.vertical = -1;
        formatDirty_ = true;
        break;
    case Word::NoSuperSub:
        chars.vertical = 0;
        formatDirty_ = true;
        break;
    case Word::Up:
        chars.vertical = !hasNumber || value > 0 ? 1 : (value < 0 ? -1 : 0);
        formatDirty_ = true;
        break;
    case Word::Dn:
        chars.vertical = !hasNumber || value > 0 ? -1 : (value < 0 ? 1 : 0);
        formatDirty_ = true;
        break;
    case Word::Plain:
        chars = CharState{};
        formatDirty_ = true;
        break;
    case Word::Pard:
        para = ParaState{};
        break;
    case Word::Ql:
        para.alignment = Qt::AlignLeft;
        break;
    case Word::Qr:
        para.alignment = Qt::AlignRight;
        break;
    case Word::Qc:
        para.alignment = Qt::AlignHCenter;
        break;
    case Word::Qj:
        para.alignment = Qt::AlignJustify;
        break;
    case Word::Li:
        para.leftTwips = clampToInt(value, -maxParagraphTwips, maxParagraphTwips);
        break;
    case Word::Ri:
        para.rightTwips = clampToInt(value, -maxParagraphTwips, maxParagraphTwips);
        break;
    case Word::Fi:
        para.firstTwips = clampToInt(value, -maxParagraphTwips, maxParagraphTwips);
        break;
    case Word::Sb:
        para.beforeTwips = clampToInt(value, -maxParagraphTwips, maxParagraphTwips);
        break;
    case Word::Sa:
        para.afterTwips = clampToInt(value, -maxParagraphTwips, maxParagraphTwips);
        break;
    case Word::Par:
        endParagraph();
        break;
    case Word::Line:
        appendText(QString(QChar::LineSeparator));
        break;
    case Word::Tab:
    case Word::Cell:
        appendText(QStringLiteral("\t"));
        break;
    case Word::EmDash:
        appendText(QString(QChar(0x2014)));
        break;
    case Word::EnDash:
        appendText(QString(QChar(0x2013)));
        break;
    case Word::EmSpace:
        appendText(QString(QChar(0x2003)));
        break;
    case Word::EnSpace:
        appendText(QString(QChar(0x2002)));
        break;
    case Word::Bullet:
        appendText(QString(QChar(0x2022)));
        break;
    case Word::LQuote:
        appendText(QString(QChar(0x2018)));
        break;
    case Word::RQuote:
        appendText(QString(QChar(0x2019)));
        break;
    case Word::LDblQuote:
        appendText(QString(QChar(0x201C)));
        break;
    case Word::RDblQuote:
        appendText(QString(QChar(0x201D)));
        break;
    default:
        break;
    }
}

void Parser::pictureWord(Word word, int value) {
    if (!picture_) {
        return;
    }
    Picture& picture = *picture_;
    switch (word) {
    case Word::PngBlip:
        picture.type = PictureType::Png;
        break;
    case Word::JpegBlip:
        picture.type = PictureType::Jpeg;
        break;
    case Word::OtherBlip:
        picture.type = PictureType::Other;
        break;
    case Word::PicW:
        picture.widthPixels = std::clamp(value, 0, maxDisplayPixels);
        break;
    case Word::PicH:
        picture.heightPixels = std::clamp(value, 0, maxDisplayPixels);
        break;
    case Word::PicWGoal:
        picture.goalWidthTwips = std::max(value, 0);
        break;
    case Word::PicHGoal:
        picture.goalHeightTwips = std::max(value, 0);
        break;
    case Word::PicScaleX:
        picture.scaleXPercent = std::clamp(value, 1, 1000);
        break;
    case Word::PicScaleY:
        picture.scaleYPercent = std::clamp(value, 1, 1000);
        break;
    default:
        break;
    }
}

void Parser::skipBinary(long long count) {
    pos_ += static_cast<qsizetype>(std::clamp<long long>(count, 0, bytes_.size() - pos_));
}

void Parser::textByte(char byte) {
    GroupState& group = state();
    switch (group.destination) {
    case Destination::Text:
        if (byte == '\t') {
            flushBytes();
            appendText(QStringLiteral("\t"));
        } else if (static_cast<unsigned char>(byte) >= 0x20) {
            pendingBytes_.append(byte);
        }
        break;
    case Destination::FontTable:
        if (byte == ';') {
            finishFontEntry();
        } else if (fontBeingDefined_ >= 0 && fontNameBytes_.size() < 4 * maxFontNameLength) {
            fontNameBytes_.append(byte);
        }
        break;
    case Destination::ColorTable:
        if (byte == ';') {
            if (colors_.size() < static_cast<std::size_t>(RtfReader::maxColors)) {
                colors_.push_back(colorSet_ ? QColor(red_, green_, blue_) : QColor());
            }
            red_ = green_ = blue_ = 0;
            colorSet_ = false;
        }
        break;
    case Destination::Picture:
        if (picture_) {
            Picture& picture = *picture_;
            if (const int digit = hexDigit(byte); digit >= 0) {
                if (picture.pendingNibble < 0) {
                    picture.pendingNibble = digit;
                } else {
                    picture.data.append(static_cast<char>(picture.pendingNibble * 16 + digit));
                    picture.pendingNibble = -1;
                }
            }
        }
        break;
    case Destination::Skip:
    case Destination::Upr:
        break;
    }
}

void Parser::appendText(const QString& text) {
    if (state().destination != Destination::Text || document_ == nullptr) {
        return;
    }
    flushBytes();
    if (formatDirty_) {
        QTextCharFormat format = charFormat();
        if (format != pendingFormat_) {
            flushRun();
            pendingFormat_ = format;
        }
        formatDirty_ = false;
    }
    pendingText_.append(text);
}

void Parser::flushBytes() {
    if (pendingBytes_.isEmpty()) {
        return;
    }
    if (document_ == nullptr) {
        pendingBytes_.clear();
        return;
    }
    const QByteArray raw = pendingBytes_;
    pendingBytes_.clear();
    appendText(decode(raw, currentCodePage()));
}

void Parser::flushRun() {
    if (pendingText_.isEmpty()) {
        return;
    }
    cursor_.insertText(sanitized(pendingText_), pendingFormat_);
    pendingText_.clear();
}

void Parser::endParagraph() {
    if (++paragraphs_ > RtfReader::maxParagraphs) {
        finished_ = true;
        return;
    }
    if (document_ == nullptr) {
        return;
    }
    flushRun();
    const QTextBlockFormat format = blockFormat();
    cursor_.setBlockFormat(format);
    cursor_.insertBlock(format, charFormat());
}

void Parser::flushFontName() {
    if (fontBeingDefined_ >= 0 && !fontNameBytes_.isEmpty()) {
        const int codePage = fonts_[fontBeingDefined_].codePage;
        fontName_ += decode(fontNameBytes_, codePage != 0 ? codePage : documentCodePage_);
    }
    fontNameBytes_.clear();
}

void Parser::finishFontEntry() {
    flushFontName();
    if (fontBeingDefined_ >= 0) {
        const QString name =
            RtfWriter::fontTableName(sanitized(fontName_)).left(maxFontNameLength).trimmed();
        if (!name.isEmpty()) {
            fonts_[fontBeingDefined_].name = name;
        }
    }
    fontName_.clear();
    fontBeingDefined_ = -1;
}

void Parser::finishPicture() {
    const std::unique_ptr<Picture> picture = std::move(picture_);
    pictureDepth_ = 0;
    if (document_ == nullptr || imageCount_ >= RtfReader::maxPictures ||
        (picture->type != PictureType::Png && picture->type != PictureType::Jpeg)) {
        return;
    }
    QBuffer buffer;
    buffer.setData(picture->data);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return;
    }
    QImageReader reader(&buffer, picture->type == PictureType::Png ? "png" : "jpeg");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > RtfReader::maxPictureSidePixels ||
        size.height() > RtfReader::maxPictureSidePixels ||
        qint64{size.width()} * size.height() > RtfReader::maxPicturePixels - picturePixels_) {
        return;
    }
    // Counted before decoding: a picture that fails still cost the decoding.
    picturePixels_ += qint64{size.width()} * size.height();
    const QImage image = reader.read();
    if (image.isNull()) {
        return;
    }
    // Whole twips, as the writer stores them, so that sizes survive a round trip.
    const auto shownPixels = [](int goalTwips, int imagePixels, int scalePercent) {
        const double twips =
            goalTwips > 0 ? goalTwips : static_cast<double>(imagePixels) * twipsPerPixel;
        return std::clamp(std::round(twips * scalePercent / 100.0) / twipsPerPixel, 1.0,
                          static_cast<double>(maxDisplayPixels));
    };
    const double width =
        shownPixels(picture->goalWidthTwips, image.width(), picture->scaleXPercent);
    const double height =
        shownPixels(picture->goalHeightTwips, image.height(), picture->scaleYPercent);
    const QString name = QStringLiteral("rtf-image-%1.png").arg(++imageCount_);
    document_->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(width);
    format.setHeight(height);
    flushRun();
    cursor_.insertImage(format);
}

QString Parser::decode(const QByteArray& raw, int codePage) {
    if (codePage == ansiCodePage || codePage <= 0) {
        return QString::fromStdString(
            base::windows1252ToUtf8(std::string_view(raw.constData(), std::size_t(raw.size()))));
    }
    if (!decoders_.contains(codePage) &&
        decoders_.size() >= static_cast<std::size_t>(RtfReader::maxCodePages)) {
        return decode(raw, ansiCodePage);
    }
    auto& slot = decoders_[codePage];
    if (!slot) {
        const QByteArray name = codePage == 10000 ? QByteArrayLiteral("macintosh")
                                : codePage == 437 || codePage == 850
                                    ? "IBM" + QByteArray::number(codePage)
                                    : "windows-" + QByteArray::number(codePage);
        slot = std::make_unique<QStringDecoder>(name.constData());
    }
    if (!slot->isValid()) {
        return decode(raw, ansiCodePage);
    }
    QString text = slot->decode(raw);
    return text;
}

int Parser::currentCodePage() const {
    const int font = stack_.back().chars.font >= 0 ? stack_.back().chars.font : defaultFont_;
    const auto it = fonts_.find(font);
    if (it != fonts_.end() && it->second.codePage != 0) {
        return it->second.codePage;
    }
    return documentCodePage_;
}

QTextCharFormat Parser::charFormat() const {
    const CharState& chars = stack_.back().chars;
    QTextCharFormat format;
    const int font = chars.font >= 0 ? chars.font : defaultFont_;
    const auto it = fonts_.find(font);
    if (it != fonts_.end() && !it->second.name.isEmpty()) {
        format.setFontFamilies(QStringList{it->second.name});
    }
    format.setFontPointSize(chars.halfPoints / 2.0);
    format.setFontWeight(chars.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(chars.italic);
    format.setFontUnderline(chars.underline);
    format.setFontStrikeOut(chars.strike);
    const auto colorAt = [this](int index) {
        return index > 0 && static_cast<std::size_t>(index) < colors_.size()
                   ? colors_[static_cast<std::size_t>(index)]
                   : QColor();
    };
    if (const QColor color = colorAt(chars.foreground); color.isValid()) {
        format.setForeground(color);
    }
    if (const QColor color = colorAt(chars.background); color.isValid()) {
        format.setBackground(color);
    }
    if (chars.vertical > 0) {
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    } else if (chars.vertical < 0) {
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    }
    return format;
}

QTextBlockFormat Parser::blockFormat() const {
    const ParaState& para = stack_.back().para;
    QTextBlockFormat format;
    format.setAlignment(para.alignment);
    format.setLeftMargin(para.leftTwips / twipsPerPixel);
    format.setRightMargin(para.rightTwips / twipsPerPixel);
    format.setTextIndent(para.firstTwips / twipsPerPixel);
    format.setTopMargin(para.beforeTwips / twipsPerPixel);
    format.setBottomMargin(para.afterTwips / twipsPerPixel);
    return format;
}

} // namespace

bool RtfReader::isRtf(const QByteArray& bytes) {
    qsizetype start = 0;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        start = 3;
    }
    while (start < bytes.size() && (bytes[start] == ' ' || bytes[start] == '\t' ||
                                    bytes[start] == '\r' || bytes[start] == '\n')) {
        ++start;
    }
    return QByteArrayView(bytes).sliced(start).startsWith("{\\rtf");
}

RtfReader::Result RtfReader::check(const QByteArray& bytes) {
    if (!isRtf(bytes)) {
        return {Status::NotRichText};
    }
    if (bytes.size() > maxInputBytes) {
        return {Status::TooLarge};
    }
    Parser counter(bytes, nullptr);
    counter.run();
    return {counter.tooManyParagraphs() ? Status::TooManyParagraphs : Status::Read};
}

RtfReader::Result RtfReader::read(const QByteArray& bytes, QTextDocument& document) {
    document.clear();
    const Result checked = check(bytes);
    if (!checked) {
        return checked;
    }
    document.setUndoRedoEnabled(false);
    Parser parser(bytes, &document);
    parser.run();
    document.setUndoRedoEnabled(true);
    document.setModified(false);
    return {};
}

} // namespace Ionaria::exercises
