// SPDX-License-Identifier: GPL-3.0-or-later
// What the parser puts into the document: the text in runs of one format,
// paragraphs and their numbers, tables and pictures.
#include "exercises/RtfParser.h"

#include "exercises/RtfReader.h"

#include <QTextDocument>

#include <algorithm>
#include <utility>

namespace Ionaria::exercises::rtf {

namespace {

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
