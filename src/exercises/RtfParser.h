// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exercises/RtfFormatting.h"
#include "exercises/RtfPicture.h"
#include "exercises/RtfTableBuilder.h"
#include "exercises/RtfTables.h"

#include <QByteArray>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>

#include <map>
#include <memory>
#include <string_view>
#include <vector>

class QTextDocument;

namespace Ionaria::exercises::rtf {

// Reads a file into a document, or, with no document, only counts its
// paragraphs: the same parse, without the document's costs. The tokenizer
// splits the bytes into groups, control words, control symbols and text; the
// parser sends each to the destination of its group: the text, the font or
// colour table, a picture, or nowhere.
// Characters read with no place to break a line among them, at most; the
// reader adds a zero-width space there, which the writer leaves out.
inline constexpr int maxUnbrokenRun = 100;
inline constexpr QChar zeroWidthSpace(0x200B);

class RtfParser {
public:
    RtfParser(const QByteArray& bytes, QTextDocument* document);

    void run();
    // Paragraph marks met so far; the parse ends at the first beyond the cap.
    int paragraphs() const { return m_paragraphs; }
    bool tooManyParagraphs() const;
    // Whether a paragraph had more runs of one format than the reader keeps.
    bool formatsCut() const { return m_formatsCut; }

private:
    enum class Destination {
        Text,
        Skip,
        FontTable,
        ColorTable,
        Picture,
        Upr,
        ListText,  // the number of a paragraph as the file writes it
        Numbering, // how the number of a paragraph is made (\pn)
        NumberBefore,
        NumberAfter,
    };

    struct GroupState {
        Destination destination = Destination::Text;
        CharState chars;
        ParaState para;
        int unicodeSkip = 1; // fallback bytes after \u
    };

    // The tokenizer (RtfParser.cpp).
    void backslash();
    void openGroup();
    void closeGroup();
    void controlSymbol(char symbol);
    void controlWord(std::string_view name, bool hasNumber, long long number);
    // The words that change the destination or the reading itself; true
    // when word was one of them.
    bool readingWord(Word word, long long number);
    void textWord(Word word, bool hasNumber, int value);
    void skipBinary(long long count);
    void textByte(char byte);

    // The text and its runs, down to the pictures (RtfParserDocument.cpp).
    void appendText(const QString& text);
    // Counts a run of text where the group's format changes; past the last
    // run kept, the text keeps that run's format to the paragraph's end.
    void countFormatRun();
    void appendRun(const QString& text);
    void flushBytes();
    void flushRun();
    // The text with a zero-width space after every maxUnbrokenRun characters
    // that hold no place to break a line: the layout of a line searches the
    // rest of its run for one, so that a long run costs its square.
    QString withBreaks(const QString& text);
    void endParagraph();
    void finishPicture();
    // Tables and numbered paragraphs.
    void buildPendingTable();
    void tableWord(Word word);
    void numberingWord(Word word, int value);
    void numberingText(const QString& text);
    void startParagraph();
    QString numberOf(const ParaState& para);
    GroupState& state() { return m_stack.back(); }

    const QByteArray& m_bytes;
    qsizetype m_pos = 0;
    QTextDocument* m_document;
    QTextCursor m_cursor;
    int m_paragraphs = 0;

    std::vector<GroupState> m_stack;
    int m_overflowDepth = 0; // groups opened beyond the depth bound, read as their parent
    bool m_started = false;
    bool m_finished = false;
    bool m_ignorable = false; // after \*: an unknown destination is skipped
    int m_skipCount = 0;      // bytes still to skip after \u

    RtfFormatting m_formatting;

    std::unique_ptr<RtfPicture> m_picture;
    std::size_t m_pictureDepth = 0;
    PictureBudget m_pictureBudget;

    RtfTableBuilder m_table;
    bool m_paragraphStarted = false;
    QString m_listText;               // the number the file wrote for the next paragraph
    std::size_t m_numberingOwner = 0; // the group whose paragraph a \pn group numbers
    std::map<std::pair<int, int>, int> m_counters; // last number of each list and level

    QByteArray m_pendingBytes;
    QString m_pendingText;
    QTextCharFormat m_pendingFormat;
    bool m_formatDirty = true;
    CharState m_runChars;     // the format of the text being appended
    int m_formatRuns = 0;     // in the paragraph being read
    int m_textFormatRuns = 0; // in the whole text
    bool m_formatsCut = false;
    int m_unbroken = 0; // characters since the last place to break the line
};

} // namespace Ionaria::exercises::rtf
