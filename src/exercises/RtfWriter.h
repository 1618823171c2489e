// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace Ionaria::exercises {

// Writes a document as a rich-text file that the reader of this folder and
// the usual word processors open: plain ASCII, the other characters of
// Windows-1252 as its bytes in hexadecimal, the rest as Unicode escapes,
// lists as text, pictures as embedded PNG at their own size in pixels,
// tables as tables.
class RtfWriter {
public:
    // The pictures as written: how many times one was written, their pixels
    // counted each time, and the longest side among them.
    struct PictureUse {
        int count = 0;
        qint64 pixels = 0;
        int largestSide = 0;
    };
    struct Written {
        QByteArray bytes;
        PictureUse pictures;
    };

    static QByteArray write(const QTextDocument& document);
    static Written writeCounted(const QTextDocument& document);

    // The name a font family gets in the font table. A semicolon ends a name
    // there and braces open groups, and other readers take no escapes in the
    // table, so those characters are dropped and blanks of any kind become
    // spaces. The reader names its fonts by the same rule, so that every name
    // it reads is one the writer writes back as it is.
    static QString fontTableName(const QString& family);
};

} // namespace Ionaria::exercises
