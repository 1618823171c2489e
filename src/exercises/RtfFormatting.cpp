// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/RtfFormatting.h"

#include "exercises/RtfReader.h"
#include "exercises/RtfWriter.h"

#include "base/Windows1252.h"
#include "look/Faces.h"

#include <QStringDecoder>

#include <algorithm>
#include <string_view>

namespace Ionaria::exercises::rtf {

namespace {

constexpr int maxHalfPoints = 3276;
constexpr qsizetype maxFontNameLength = 256;
// Indents and spacings beyond 22 inches are no page's.
constexpr long long maxParagraphTwips = 31680;
// Formats kept for reuse; a text uses a few dozen.
constexpr std::size_t maxKeptFormats = 256;

} // namespace

bool applyCharacterWord(CharState& chars, Word word, bool hasNumber, int value) {
    const bool on = !hasNumber || value != 0;
    switch (word) {
    case Word::F:
        chars.font = value;
        return true;
    case Word::Fs:
        chars.halfPoints = value > 0 ? std::min(value, maxHalfPoints) : defaultHalfPoints;
        return true;
    case Word::B:
        chars.bold = on;
        return true;
    case Word::I:
        chars.italic = on;
        return true;
    case Word::Ul:
        chars.underline = on;
        return true;
    case Word::UlNone:
        chars.underline = false;
        return true;
    case Word::Strike:
        chars.strike = on;
        return true;
    case Word::Cf:
        chars.foreground = value;
        return true;
    case Word::Highlight:
    case Word::Cb:
        chars.background = value;
        return true;
    case Word::Super:
        chars.vertical = 1;
        return true;
    case Word::Sub:
        chars.vertical = -1;
        return true;
    case Word::NoSuperSub:
        chars.vertical = 0;
        return true;
    case Word::Up:
        chars.vertical = !hasNumber || value > 0 ? 1 : (value < 0 ? -1 : 0);
        return true;
    case Word::Dn:
        chars.vertical = !hasNumber || value > 0 ? -1 : (value < 0 ? 1 : 0);
        return true;
    case Word::Plain:
        chars = CharState{};
        return true;
    default:
        return false;
    }
}

bool applyParagraphWord(ParaState& para, Word word, int value) {
    const auto twips = [value] { return clampToInt(value, -maxParagraphTwips, maxParagraphTwips); };
    switch (word) {
    case Word::Pard:
        para = ParaState{};
        return true;
    case Word::Ql:
        para.alignment = Qt::AlignLeft;
        return true;
    case Word::Qr:
        para.alignment = Qt::AlignRight;
        return true;
    case Word::Qc:
        para.alignment = Qt::AlignHCenter;
        return true;
    case Word::Qj:
        para.alignment = Qt::AlignJustify;
        return true;
    case Word::Li:
        para.leftTwips = twips();
        return true;
    case Word::Ri:
        para.rightTwips = twips();
        return true;
    case Word::Fi:
        para.firstTwips = twips();
        return true;
    case Word::Sb:
        para.beforeTwips = twips();
        return true;
    case Word::Sa:
        para.afterTwips = twips();
        return true;
    case Word::ListOverride:
        para.listOverride = std::max(value, 0);
        return true;
    case Word::ListLevel:
        para.listLevel = std::clamp(value, 0, maxListLevel);
        return true;
    default:
        return false;
    }
}

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

RtfFormatting::RtfFormatting() = default;
RtfFormatting::~RtfFormatting() = default;

void RtfFormatting::beginFontTable() {
    m_formats.clear();
    m_fontBeingDefined = -1;
    m_fontNameBytes.clear();
    m_fontName.clear();
}

bool RtfFormatting::fontTableWord(Word word, int value, long long number) {
    if (word == Word::F) {
        finishFontEntry();
        if (m_fonts.size() < static_cast<std::size_t>(RtfReader::maxFonts) ||
            m_fonts.contains(value)) {
            m_fontBeingDefined = value;
            m_fonts[value];
        }
    } else if (word == Word::FCharset && m_fontBeingDefined >= 0) {
        m_fonts[m_fontBeingDefined].codePage = codePageOfCharset(value, 0);
    } else if (word == Word::Cpg && m_fontBeingDefined >= 0) {
        m_fonts[m_fontBeingDefined].codePage = clampToInt(number, 0, 65535);
    } else if (word == Word::U && m_fontBeingDefined >= 0) {
        flushFontName();
        const int unit = value < 0 ? value + 65536 : value;
        if (unit >= 0x20 && unit < 65536 && m_fontName.size() < 4 * maxFontNameLength) {
            m_fontName.append(QChar(static_cast<char16_t>(unit)));
        }
        return true;
    }
    return false;
}

void RtfFormatting::fontTableByte(char byte) {
    if (byte == ';') {
        finishFontEntry();
    } else if (m_fontBeingDefined >= 0 && m_fontNameBytes.size() < 4 * maxFontNameLength) {
        m_fontNameBytes.append(byte);
    }
}

void RtfFormatting::flushFontName() {
    if (m_fontBeingDefined >= 0 && !m_fontNameBytes.isEmpty()) {
        const int codePage = m_fonts[m_fontBeingDefined].codePage;
        m_fontName += decode(m_fontNameBytes, codePage != 0 ? codePage : m_documentCodePage);
    }
    m_fontNameBytes.clear();
}

void RtfFormatting::finishFontEntry() {
    flushFontName();
    if (m_fontBeingDefined >= 0) {
        const QString name =
            RtfWriter::fontTableName(sanitized(m_fontName)).left(maxFontNameLength).trimmed();
        if (!name.isEmpty()) {
            m_fonts[m_fontBeingDefined].name = name;
            m_formats.clear();
        }
    }
    m_fontName.clear();
    m_fontBeingDefined = -1;
}

void RtfFormatting::beginColorTable() {
    m_red = m_green = m_blue = 0;
    m_colorSet = false;
}

void RtfFormatting::colorTableWord(Word word, long long number) {
    if (word == Word::Red) {
        m_red = clampToInt(number, 0, 255);
        m_colorSet = true;
    } else if (word == Word::Green) {
        m_green = clampToInt(number, 0, 255);
        m_colorSet = true;
    } else if (word == Word::Blue) {
        m_blue = clampToInt(number, 0, 255);
        m_colorSet = true;
    }
}

void RtfFormatting::colorTableByte(char byte) {
    if (byte != ';') {
        return;
    }
    if (m_colors.size() < static_cast<std::size_t>(RtfReader::maxColors)) {
        m_colors.push_back(m_colorSet ? QColor(m_red, m_green, m_blue) : QColor());
        m_formats.clear();
    }
    m_red = m_green = m_blue = 0;
    m_colorSet = false;
}

QString RtfFormatting::decode(const QByteArray& raw, int codePage) {
    if (codePage == ansiCodePage || codePage <= 0) {
        return QString::fromStdString(
            base::windows1252ToUtf8(std::string_view(raw.constData(), std::size_t(raw.size()))));
    }
    if (!m_decoders.contains(codePage) &&
        m_decoders.size() >= static_cast<std::size_t>(RtfReader::maxCodePages)) {
        return decode(raw, ansiCodePage);
    }
    auto& slot = m_decoders[codePage];
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

int RtfFormatting::codePage(const CharState& chars) const {
    const int font = chars.font >= 0 ? chars.font : m_defaultFont;
    const auto it = m_fonts.find(font);
    if (it != m_fonts.end() && it->second.codePage != 0) {
        return it->second.codePage;
    }
    return m_documentCodePage;
}

QTextCharFormat RtfFormatting::charFormat(const CharState& chars) const {
    if (const auto kept = m_formats.find(chars); kept != m_formats.end()) {
        return kept->second;
    }
    if (m_formats.size() >= maxKeptFormats) {
        m_formats.clear();
    }
    return m_formats.emplace(chars, makeCharFormat(chars)).first->second;
}

QTextCharFormat RtfFormatting::makeCharFormat(const CharState& chars) const {
    QTextCharFormat format;
    const int font = chars.font >= 0 ? chars.font : m_defaultFont;
    const auto it = m_fonts.find(font);
    if (it != m_fonts.end() && !it->second.name.isEmpty()) {
        // A character the named font lacks, or a font this machine lacks,
        // comes from the text face rather than from the platform's choice.
        format.setFontFamilies(QStringList{it->second.name, QString::fromLatin1(look::textFamily)});
    }
    format.setFontPointSize(chars.halfPoints / 2.0);
    format.setFontWeight(chars.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(chars.italic);
    format.setFontUnderline(chars.underline);
    format.setFontStrikeOut(chars.strike);
    if (const QColor foreground = color(chars.foreground); foreground.isValid()) {
        format.setForeground(foreground);
    }
    if (const QColor background = color(chars.background); background.isValid()) {
        format.setBackground(background);
    }
    if (chars.vertical > 0) {
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    } else if (chars.vertical < 0) {
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    }
    return format;
}

QColor RtfFormatting::color(int index) const {
    return index > 0 && static_cast<std::size_t>(index) < m_colors.size()
               ? m_colors[static_cast<std::size_t>(index)]
               : QColor();
}

QTextBlockFormat RtfFormatting::blockFormat(const ParaState& para) {
    QTextBlockFormat format;
    format.setAlignment(para.alignment);
    format.setLeftMargin(para.leftTwips / twipsPerPixel);
    format.setRightMargin(para.rightTwips / twipsPerPixel);
    format.setTextIndent(para.firstTwips / twipsPerPixel);
    format.setTopMargin(para.beforeTwips / twipsPerPixel);
    format.setBottomMargin(para.afterTwips / twipsPerPixel);
    return format;
}

} // namespace Ionaria::exercises::rtf
