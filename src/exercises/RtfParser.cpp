// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/RtfParser.h"

#include "exercises/RtfReader.h"

#include <QTextDocument>

#include <algorithm>

namespace Ionaria::exercises::rtf {

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

RtfParser::RtfParser(const QByteArray& bytes, QTextDocument* document)
    : m_bytes(bytes), m_document(document),
      m_cursor(document != nullptr ? QTextCursor(document) : QTextCursor()),
      m_table(document != nullptr) {}

bool RtfParser::tooManyParagraphs() const {
    return m_paragraphs > RtfReader::maxParagraphs;
}

void RtfParser::run() {
    m_stack.reserve(static_cast<std::size_t>(RtfReader::maxGroupDepth) + 1);
    // One edit for the whole text: outside an edit each insertion lays out
    // its whole paragraph again, and a paragraph of many runs costs the square
    // of their number.
    if (m_document != nullptr) {
        m_cursor.beginEditBlock();
    }
    const qsizetype size = m_bytes.size();
    while (m_pos < size && !m_finished) {
        const char c = m_bytes[m_pos++];
        switch (c) {
        case '{':
            openGroup();
            break;
        case '}':
            closeGroup();
            break;
        case '\\':
            backslash();
            break;
        case '\r':
        case '\n':
        case '\0':
            break;
        default:
            if (!m_started) {
                break;
            }
            if (m_skipCount > 0) {
                --m_skipCount;
                break;
            }
            textByte(c);
            break;
        }
    }
    flushBytes();
    flushRun();
    if (m_picture) {
        finishPicture();
    }
    buildPendingTable();
    if (m_document != nullptr) {
        if (!m_stack.empty()) {
            m_cursor.setBlockFormat(RtfFormatting::blockFormat(m_stack.back().para));
        }
        m_cursor.endEditBlock();
    }
}

// After a backslash: a control word (letters, an optional signed number and
// one blank that ends it) or a control symbol.
void RtfParser::backslash() {
    const qsizetype size = m_bytes.size();
    if (m_pos >= size) {
        return;
    }
    const char next = m_bytes[m_pos];
    if (!isLetter(next)) {
        ++m_pos;
        controlSymbol(next);
        return;
    }
    const qsizetype start = m_pos;
    while (m_pos < size && isLetter(m_bytes[m_pos])) {
        ++m_pos;
    }
    const auto letters = std::min<qsizetype>(m_pos - start, maxWordLetters);
    const std::string_view name(m_bytes.constData() + start, static_cast<std::size_t>(letters));
    bool negative = false;
    if (m_pos + 1 < size && m_bytes[m_pos] == '-' && isDigit(m_bytes[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    bool hasNumber = false;
    long long number = 0;
    while (m_pos < size && isDigit(m_bytes[m_pos])) {
        hasNumber = true;
        number = std::min(number * 10 + (m_bytes[m_pos] - '0'), numberCeiling);
        ++m_pos;
    }
    if (m_pos < size && m_bytes[m_pos] == ' ') {
        ++m_pos;
    }
    controlWord(name, hasNumber, negative ? -number : number);
}

void RtfParser::openGroup() {
    flushBytes();
    m_skipCount = 0;
    if (m_stack.empty()) {
        m_stack.emplace_back();
        m_started = true;
        return;
    }
    if (m_stack.size() >= static_cast<std::size_t>(RtfReader::maxGroupDepth)) {
        ++m_overflowDepth;
        return;
    }
    GroupState copy = m_stack.back();
    m_stack.push_back(copy);
    m_formatDirty = true;
}

void RtfParser::closeGroup() {
    flushBytes();
    m_skipCount = 0;
    m_ignorable = false;
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    if (m_stack.empty()) {
        return;
    }
    const Destination closing = m_stack.back().destination;
    if (closing == Destination::FontTable) {
        m_formatting.finishFontEntry();
    }
    if (m_picture && m_stack.size() == m_pictureDepth) {
        finishPicture();
    }
    if (m_stack.size() == 1) {
        m_finished = true;
        return;
    }
    m_stack.pop_back();
    m_formatDirty = true;
}

void RtfParser::controlSymbol(char symbol) {
    if (!m_started) {
        return;
    }
    if (symbol == '\'') {
        int value = 0;
        int digits = 0;
        while (digits < 2 && m_pos < m_bytes.size()) {
            const int digit = hexDigit(m_bytes[m_pos]);
            if (digit < 0) {
                break;
            }
            value = value * 16 + digit;
            ++digits;
            ++m_pos;
        }
        if (digits == 0) {
            return;
        }
        if (m_skipCount > 0) {
            --m_skipCount;
            return;
        }
        textByte(static_cast<char>(value));
        return;
    }
    if (symbol == '*') {
        m_ignorable = true;
        return;
    }
    if (m_skipCount > 0) {
        --m_skipCount;
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

void RtfParser::controlWord(std::string_view name, bool hasNumber, long long number) {
    const Word word = wordOf(name);
    if (!m_started) {
        return;
    }
    if (m_skipCount > 0) {
        --m_skipCount;
        if (word == Word::Bin) {
            skipBinary(number);
        }
        return;
    }
    flushBytes();
    const bool wasIgnorable = m_ignorable;
    m_ignorable = false;
    GroupState& group = state();
    if (wasIgnorable && word != Word::ShpPict && word != Word::Ud && word != Word::Pn) {
        group.destination = Destination::Skip;
        return;
    }
    if (readingWord(word, number)) {
        return;
    }
    const int value = clampToInt(number, -numberCeiling, numberCeiling);
    switch (group.destination) {
    case Destination::Skip:
    case Destination::Upr:
    case Destination::NumberBefore:
    case Destination::NumberAfter:
        return;
    case Destination::Numbering:
        numberingWord(word, value);
        return;
    case Destination::Picture:
        if (m_picture) {
            m_picture->word(word, value);
        }
        return;
    case Destination::FontTable:
        if (m_formatting.fontTableWord(word, value, number)) {
            m_skipCount = group.unicodeSkip;
        }
        return;
    case Destination::ColorTable:
        m_formatting.colorTableWord(word, number);
        return;
    case Destination::Text:
    case Destination::ListText:
        textWord(word, hasNumber, value);
        return;
    }
}

bool RtfParser::readingWord(Word word, long long number) {
    GroupState& group = state();
    switch (word) {
    case Word::Bin:
        if (group.destination == Destination::Picture && m_picture) {
            const qsizetype count =
                static_cast<qsizetype>(std::clamp<long long>(number, 0, m_bytes.size() - m_pos));
            m_picture->appendBinary(m_bytes.constData() + m_pos, count);
            m_pos += count;
        } else {
            skipBinary(number);
        }
        return true;
    case Word::SkipDestination:
        group.destination = Destination::Skip;
        return true;
    case Word::Upr:
        if (group.destination == Destination::Text) {
            group.destination = Destination::Upr;
        }
        return true;
    case Word::Ud:
        if (group.destination == Destination::Upr) {
            group.destination = Destination::Text;
        }
        return true;
    case Word::Uc:
        group.unicodeSkip = clampToInt(number, 0, 16);
        return true;
    default:
        return false;
    }
}

void RtfParser::textWord(Word word, bool hasNumber, int value) {
    GroupState& group = state();
    if (word == Word::InTable && !m_table.rowOpen()) {
        // Text met before the row is the paragraph before the table.
        flushRun();
    }
    if (m_table.definitionWord(word, value, m_formatting)) {
        return;
    }
    if (word == Word::Cell || word == Word::Row) {
        tableWord(word);
        return;
    }
    if (applyCharacterWord(group.chars, word, hasNumber, value)) {
        m_formatDirty = true;
        return;
    }
    if (applyParagraphWord(group.para, word, value)) {
        return;
    }
    if (const auto character = specialCharacter(word)) {
        appendText(QString(QChar(*character)));
        return;
    }
    switch (word) {
    case Word::Rtf:
    case Word::Ansi:
        m_formatting.setDocumentCodePage(ansiCodePage);
        break;
    case Word::Mac:
        m_formatting.setDocumentCodePage(10000);
        break;
    case Word::Pc:
        m_formatting.setDocumentCodePage(437);
        break;
    case Word::Pca:
        m_formatting.setDocumentCodePage(850);
        break;
    case Word::AnsiCpg:
        m_formatting.setDocumentCodePage(value > 0 && value < 65536 ? value : ansiCodePage);
        break;
    case Word::Deff:
        m_formatting.setDefaultFont(value);
        break;
    case Word::FontTable:
        group.destination = Destination::FontTable;
        m_formatting.beginFontTable();
        break;
    case Word::ColorTable:
        group.destination = Destination::ColorTable;
        m_formatting.beginColorTable();
        break;
    case Word::Pict:
        if (!m_picture) {
            flushRun();
            m_picture = std::make_unique<RtfPicture>();
            m_pictureDepth = m_stack.size();
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
        m_skipCount = group.unicodeSkip;
        break;
    }
    case Word::Par:
        endParagraph();
        break;
    case Word::Pn:
        group.destination = Destination::Numbering;
        m_numberingOwner = m_stack.size() >= 2 ? m_stack.size() - 2 : 0;
        {
            ParaState& para = m_stack[m_numberingOwner].para;
            para.numberStyle = NumberStyle::Decimal;
            para.numberLevel = 0;
            para.numberStart = 1;
            para.numberBefore.clear();
            para.numberAfter.clear();
        }
        break;
    case Word::PnText:
        group.destination = Destination::ListText;
        m_listText.clear();
        break;
    default:
        break;
    }
}

void RtfParser::skipBinary(long long count) {
    m_pos += static_cast<qsizetype>(std::clamp<long long>(count, 0, m_bytes.size() - m_pos));
}

void RtfParser::textByte(char byte) {
    switch (state().destination) {
    case Destination::Text:
    case Destination::ListText:
        if (byte == '\t') {
            flushBytes();
            appendText(QStringLiteral("\t"));
        } else if (static_cast<unsigned char>(byte) >= 0x20) {
            m_pendingBytes.append(byte);
        }
        break;
    case Destination::FontTable:
        m_formatting.fontTableByte(byte);
        break;
    case Destination::ColorTable:
        m_formatting.colorTableByte(byte);
        break;
    case Destination::Picture:
        if (m_picture) {
            m_picture->textByte(byte);
        }
        break;
    case Destination::NumberBefore:
    case Destination::NumberAfter:
        numberingText(m_formatting.decode(QByteArray(1, byte), ansiCodePage));
        break;
    case Destination::Skip:
    case Destination::Upr:
    case Destination::Numbering:
        break;
    }
}

} // namespace Ionaria::exercises::rtf
