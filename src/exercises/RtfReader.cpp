// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/RtfReader.h"

#include "exercises/RtfParser.h"

#include <QByteArrayView>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

namespace Ionaria::exercises {

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
    rtf::RtfParser counter(bytes, nullptr);
    counter.run();
    return {counter.tooManyParagraphs() ? Status::TooManyParagraphs : Status::Read,
            !counter.formatsCut()};
}

RtfReader::Result RtfReader::read(const QByteArray& bytes, QTextDocument& document) {
    document.clear();
    const Result checked = check(bytes);
    if (checked) {
        parse(bytes, document);
    }
    return checked;
}

void RtfReader::parse(const QByteArray& bytes, QTextDocument& document) {
    document.clear();
    document.setUndoRedoEnabled(false);
    rtf::RtfParser parser(bytes, &document);
    parser.run();
    document.setUndoRedoEnabled(true);
    document.setModified(false);
}

namespace {

// Paragraphs longer than this keep their layout, about 30 bytes a character:
// computing it again costs a tenth of a second at the reader's limit, each
// time the caret is drawn or moved.
constexpr int keptLayoutCharacters = 10000;

} // namespace

RtfReader::Result RtfReader::show(const QByteArray& bytes, QTextEdit& box) {
    const Result checked = check(bytes);
    if (!checked) {
        return checked;
    }
    QTextDocument& document = *box.document();
    // Emptied first, the box lays out nothing again when the bar comes.
    document.clear();
    const Qt::ScrollBarPolicy policy = box.verticalScrollBarPolicy();
    box.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // With no page the layout waits. Given back after the reading, the page
    // brings a layout of the whole document, which the box makes a step at a
    // time, what it shows first; inserted with the page there, each paragraph
    // would be laid out before the reading ends.
    const QSizeF page = document.pageSize();
    document.setPageSize(QSizeF(0, 0));
    // The caret comes back at the start once the text is in. Carried to the
    // end by the insertions, or selecting the text, its way back would have
    // the last paragraph laid out, and so every one before it.
    box.setTextCursor(QTextCursor());
    parse(bytes, document);
    // Qt lays a paragraph out anew for each question about a place in it,
    // unless the paragraph keeps its layout: long ones keep it.
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.length() > keptLayoutCharacters) {
            block.layout()->setCacheEnabled(true);
        }
    }
    document.setPageSize(page);
    box.setVerticalScrollBarPolicy(policy);
    document.clearUndoRedoStacks();
    box.setTextCursor(QTextCursor(&document));
    return checked;
}

} // namespace Ionaria::exercises
