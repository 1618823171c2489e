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

// Numbers of list items beyond this are no list's; numbers written by the
// file longer than maxNumberLength are cut.
constexpr int maxNumber = 32767;
constexpr qsizetype maxNumberLength = 64;

QString romanOf(int number) {
    static constexpr std::pair<int, const char*> digits[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    QString text;
    for (const auto& [value, letters] : digits) {
        while (number >= value) {
            text += QLatin1String(letters);
            number -= value;
        }
    }
    return text;
}

QString lettersOf(int number) {
    QString text;
    while (number > 0) {
        --number;
        text.prepend(QChar(u'a' + number % 26));
        number /= 26;
    }
    return text;
}

QString numberText(int number, NumberStyle style) {
    switch (style) {
    case NumberStyle::UpperRoman:
        return number > 0 && number < 4000 ? romanOf(number).toUpper() : QString::number(number);
    case NumberStyle::LowerRoman:
        return number > 0 && number < 4000 ? romanOf(number) : QString::number(number);
    case NumberStyle::UpperLetter:
        return number > 0 ? lettersOf(number).toUpper() : QString::number(number);
    case NumberStyle::LowerLetter:
        return number > 0 ? lettersOf(number) : QString::number(number);
    default:
        return QString::number(number);
    }
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

void RtfParser::appendText(const QString& text) {
    if (state().destination == Destination::ListText) {
        if (m_document != nullptr && m_listText.size() < maxNumberLength) {
            m_listText += text;
        }
        return;
    }
    if (state().destination != Destination::Text) {
        return;
    }
    countFormatRun();
    if (m_document == nullptr) {
        return;
    }
    startParagraph();
    appendRun(text);
}

void RtfParser::countFormatRun() {
    const CharState& chars = state().chars;
    if (m_formatRuns > 0 && chars == m_runChars) {
        return;
    }
    if (m_formatRuns >= RtfReader::maxFormatRuns ||
        (m_formatRuns > 0 && m_textFormatRuns >= RtfReader::maxTextFormatRuns)) {
        m_formatsCut = true;
        return;
    }
    ++m_formatRuns;
    ++m_textFormatRuns;
    m_runChars = chars;
    m_formatDirty = true;
}

void RtfParser::appendRun(const QString& text) {
    flushBytes();
    if (m_formatDirty) {
        QTextCharFormat format = m_formatting.charFormat(m_runChars);
        if (format != m_pendingFormat) {
            flushRun();
            m_pendingFormat = format;
        }
        m_formatDirty = false;
    }
    m_pendingText.append(text);
}

void RtfParser::flushBytes() {
    if (m_pendingBytes.isEmpty()) {
        return;
    }
    if (m_document == nullptr) {
        m_pendingBytes.clear();
        appendText({});
        return;
    }
    const QByteArray raw = m_pendingBytes;
    m_pendingBytes.clear();
    appendText(m_formatting.decode(raw, m_formatting.codePage(m_stack.back().chars)));
}

void RtfParser::flushRun() {
    if (m_pendingText.isEmpty()) {
        return;
    }
    const QString text = withBreaks(sanitized(m_pendingText));
    m_pendingText.clear();
    if (m_table.rowOpen()) {
        m_table.addText(text, m_pendingFormat);
        return;
    }
    buildPendingTable();
    m_cursor.insertText(text, m_pendingFormat);
}

void RtfParser::buildPendingTable() {
    if (m_table.pending()) {
        m_table.build(m_cursor);
    }
}

QString RtfParser::withBreaks(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.isSpace() || c == zeroWidthSpace || c == QLatin1Char('-')) {
            m_unbroken = 0;
        } else if (++m_unbroken > maxUnbrokenRun && !c.isLowSurrogate()) {
            out.append(zeroWidthSpace);
            m_unbroken = 1;
        }
        out.append(c);
    }
    return out;
}

void RtfParser::endParagraph() {
    if (++m_paragraphs > RtfReader::maxParagraphs) {
        m_finished = true;
        return;
    }
    if (m_document == nullptr) {
        m_formatRuns = 0;
        return;
    }
    startParagraph();
    flushRun();
    m_unbroken = 0;
    m_paragraphStarted = false;
    m_formatRuns = 0;
    const QTextBlockFormat format = RtfFormatting::blockFormat(m_stack.back().para);
    const QTextCharFormat next = m_formatting.charFormat(m_stack.back().chars);
    if (m_table.rowOpen()) {
        m_table.endParagraph(format, next);
        return;
    }
    buildPendingTable();
    m_cursor.setBlockFormat(format);
    m_cursor.insertBlock(format, next);
}

// \cell and \row end a cell and a row when a row is open; elsewhere a cell
// mark is a tab, as older readers of this program kept it, and a row mark a
// paragraph mark.
void RtfParser::tableWord(Word word) {
    if (!m_table.rowOpen()) {
        if (word == Word::Row) {
            endParagraph();
        } else {
            appendText(QStringLiteral("\t"));
        }
        return;
    }
    // Each cell is a paragraph of the document.
    if (++m_paragraphs > RtfReader::maxParagraphs) {
        m_finished = true;
        return;
    }
    if (m_document != nullptr) {
        if (word == Word::Cell) {
            startParagraph();
        }
        flushRun();
    }
    m_paragraphStarted = false;
    m_formatRuns = 0;
    if (word == Word::Cell) {
        m_table.endCell(RtfFormatting::blockFormat(m_stack.back().para));
    } else {
        m_table.endRow();
    }
}

void RtfParser::numberingWord(Word word, int value) {
    if (m_numberingOwner >= m_stack.size()) {
        return;
    }
    ParaState& para = m_stack[m_numberingOwner].para;
    switch (word) {
    case Word::PnDecimal:
        para.numberStyle = NumberStyle::Decimal;
        break;
    case Word::PnUpperRoman:
        para.numberStyle = NumberStyle::UpperRoman;
        break;
    case Word::PnLowerRoman:
        para.numberStyle = NumberStyle::LowerRoman;
        break;
    case Word::PnUpperLetter:
        para.numberStyle = NumberStyle::UpperLetter;
        break;
    case Word::PnLowerLetter:
        para.numberStyle = NumberStyle::LowerLetter;
        break;
    case Word::PnBullet:
        para.numberStyle = NumberStyle::Bullet;
        break;
    case Word::PnLevel:
        para.numberLevel = std::clamp(value, 0, maxListLevel + 1);
        break;
    case Word::PnStart:
        para.numberStart = std::clamp(value, 0, maxNumber);
        break;
    case Word::PnTextBefore:
        state().destination = Destination::NumberBefore;
        para.numberBefore.clear();
        break;
    case Word::PnTextAfter:
        state().destination = Destination::NumberAfter;
        para.numberAfter.clear();
        break;
    default:
        break;
    }
}

void RtfParser::numberingText(const QString& text) {
    if (m_numberingOwner >= m_stack.size()) {
        return;
    }
    ParaState& para = m_stack[m_numberingOwner].para;
    QString& target =
        state().destination == Destination::NumberBefore ? para.numberBefore : para.numberAfter;
    if (target.size() < maxNumberLength) {
        target += sanitized(text);
    }
}

// The number goes before the first text of a paragraph: the one the file
// wrote when it wrote one (\pntext, \listtext), else one made from the
// paragraph's numbering, as some word processors write only that.
void RtfParser::startParagraph() {
    if (m_paragraphStarted || m_document == nullptr) {
        return;
    }
    m_paragraphStarted = true;
    QString marker = m_listText;
    m_listText.clear();
    while (!marker.isEmpty() && marker.front() == QLatin1Char(' ')) {
        marker.remove(0, 1);
    }
    if (marker.trimmed().isEmpty()) {
        marker = numberOf(state().para);
        if (!marker.isEmpty()) {
            marker += QLatin1Char('\t');
        }
    }
    if (!marker.isEmpty()) {
        appendRun(marker);
    }
}

QString RtfParser::numberOf(const ParaState& para) {
    if (para.numberStyle == NumberStyle::None && para.listOverride == 0) {
        return {};
    }
    if (para.numberStyle == NumberStyle::Bullet) {
        return QString(QChar(0x2022));
    }
    const std::pair<int, int> key = para.listOverride > 0
                                        ? std::pair{para.listOverride, para.listLevel}
                                        : std::pair{-1, para.numberLevel};
    const auto found = m_counters.find(key);
    const int number =
        found != m_counters.end() ? std::min(found->second + 1, maxNumber) : para.numberStart;
    m_counters[key] = number;
    // A shallower item starts the deeper levels of its list again.
    for (auto it = m_counters.upper_bound(key);
         it != m_counters.end() && it->first.first == key.first;) {
        it = m_counters.erase(it);
    }
    const QString text = numberText(number, para.numberStyle);
    if (para.numberStyle == NumberStyle::None) {
        return text + QLatin1Char('.');
    }
    return para.numberBefore + text + para.numberAfter;
}

void RtfParser::finishPicture() {
    const std::unique_ptr<RtfPicture> picture = std::move(m_picture);
    m_pictureDepth = 0;
    if (m_document == nullptr) {
        return;
    }
    if (const auto format = picture->addTo(*m_document, m_pictureBudget)) {
        startParagraph();
        flushRun();
        if (m_table.rowOpen()) {
            m_table.addImage(*format);
        } else {
            buildPendingTable();
            m_cursor.insertImage(*format);
        }
    }
}

} // namespace Ionaria::exercises::rtf
