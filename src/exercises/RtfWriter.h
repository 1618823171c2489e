// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace Ionaria::exercises {

// Writes a document as a rich-text file that the reader of this folder and
// the usual word processors open: plain ASCII, characters beyond it as
// Unicode escapes with a Windows-1252 fallback, lists as text, pictures as
// embedded PNG, tables as tables.
class RtfWriter {
public:
    static QByteArray write(const QTextDocument& document);

    // The name a font family gets in the font table. A semicolon ends a name
    // there and braces open groups, and other readers take no escapes in the
    // table, so those characters are dropped and blanks of any kind become
    // spaces. The reader names its fonts by the same rule, so that every name
    // it reads is one the writer writes back as it is.
    static QString fontTableName(const QString& family);
};

} // namespace Ionaria::exercises
