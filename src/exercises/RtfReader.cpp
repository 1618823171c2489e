// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/RtfReader.h"

#include "exercises/RtfParser.h"

#include <QByteArrayView>
#include <QTextDocument>

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
    return {counter.tooManyParagraphs() ? Status::TooManyParagraphs : Status::Read};
}

RtfReader::Result RtfReader::read(const QByteArray& bytes, QTextDocument& document) {
    document.clear();
    const Result checked = check(bytes);
    if (!checked) {
        return checked;
    }
    document.setUndoRedoEnabled(false);
    rtf::RtfParser parser(bytes, &document);
    parser.run();
    document.setUndoRedoEnabled(true);
    document.setModified(false);
    return {};
}

} // namespace Ionaria::exercises
