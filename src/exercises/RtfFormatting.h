// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exercises/RtfTables.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>

#include <map>
#include <memory>
#include <tuple>
#include <vector>

class QStringDecoder;

namespace Ionaria::exercises::rtf {

inline constexpr int defaultHalfPoints = 24;
// Lists nest at most this deep (levels 0 to 8 in files).
inline constexpr int maxListLevel = 8;

// The character formatting that a group sets and its subgroups inherit.
struct CharState {
    int font = -1; // index into the font table; -1 for the document's default
    int halfPoints = defaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int foreground = 0; // index into the colour table; 0 for the default
    int background = 0; // index into the colour table; 0 for none
    int vertical = 0;   // +1 superscript, -1 subscript

    // Every field, in order, for comparing states.
    auto fields() const {
        return std::tie(font, halfPoints, bold, italic, underline, strike, foreground, background,
                        vertical);
    }
    bool operator==(const CharState&) const = default;
    // Any strict order will do: the states key the formats already made.
    bool operator<(const CharState& other) const { return fields() < other.fields(); }
};

// How a paragraph's number is written (\pn groups).
enum class NumberStyle { None, Decimal, UpperRoman, LowerRoman, UpperLetter, LowerLetter, Bullet };

// The paragraph formatting, in twips, and its numbering.
struct ParaState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftTwips = 0;
    int rightTwips = 0;
    int firstTwips = 0;
    int beforeTwips = 0;
    int afterTwips = 0;
    NumberStyle numberStyle = NumberStyle::None;
    int numberLevel = 0;
    int numberStart = 1;
    QString numberBefore;
    QString numberAfter;
    int listOverride = 0; // \ls: the list of the paragraph, 0 for none
    int listLevel = 0;
};

// Applies a character formatting word; false when the word is not one.
bool applyCharacterWord(CharState& chars, Word word, bool hasNumber, int value);
// Applies a paragraph formatting word; false when the word is not one.
bool applyParagraphWord(ParaState& para, Word word, int value);

// Text fit for the document: surrogates paired, no control characters but
// tabs.
QString sanitized(const QString& text);

// What the document defines once for all its groups: its code page, its
// default font, the font table with each font's code page, the colour table,
// and the decoders of the code pages met. It turns a group's formatting into
// the document's formats.
class RtfFormatting {
public:
    RtfFormatting();
    ~RtfFormatting();
    RtfFormatting(const RtfFormatting&) = delete;
    RtfFormatting& operator=(const RtfFormatting&) = delete;

    void setDocumentCodePage(int codePage) { m_documentCodePage = codePage; }
    void setDefaultFont(int font) {
        m_defaultFont = font;
        m_formats.clear();
    }

    // The font table: its words and its bytes (the names, entries ended by
    // ";"). fontTableWord returns true after \u, whose fallback bytes the
    // parser then skips.
    void beginFontTable();
    bool fontTableWord(Word word, int value, long long number);
    void fontTableByte(char byte);
    // Ends the entry being defined, at ";", at the next \f or at the end of
    // the table.
    void finishFontEntry();

    // The colour table: entries of \red, \green and \blue ended by ";".
    void beginColorTable();
    void colorTableWord(Word word, long long number);
    void colorTableByte(char byte);

    // The code page of text in the formatting chars.
    int codePage(const CharState& chars) const;
    // Bytes of a code page as text; code pages beyond the first few read as
    // Windows-1252.
    QString decode(const QByteArray& raw, int codePage);
    // The same format object for the same formatting, as long as the tables
    // stay as they are: the document then finds it among its formats without
    // hashing it again.
    QTextCharFormat charFormat(const CharState& chars) const;
    // The colour of an entry of the colour table; invalid for the default
    // entry 0 and beyond the table.
    QColor color(int index) const;
    static QTextBlockFormat blockFormat(const ParaState& para);

private:
    struct FontEntry {
        QString name;
        int codePage = 0; // 0: the document's code page
    };
    void flushFontName();
    QTextCharFormat makeCharFormat(const CharState& chars) const;

    int m_documentCodePage = ansiCodePage;
    int m_defaultFont = 0;
    std::map<int, FontEntry> m_fonts;
    int m_fontBeingDefined = -1;
    QByteArray m_fontNameBytes;
    QString m_fontName;
    std::vector<QColor> m_colors;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_colorSet = false;
    std::map<int, std::unique_ptr<QStringDecoder>> m_decoders;
    // The formats made so far, emptied when a table changes or when full.
    mutable std::map<CharState, QTextCharFormat> m_formats;
};

} // namespace Ionaria::exercises::rtf
