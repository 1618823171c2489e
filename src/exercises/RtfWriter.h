#pragma once

#include <QByteArray>

class QTextDocument;

namespace Ionaria::exercises {

// Writes a document as a rich-text file that the reader of this folder and
// the usual word processors open: plain ASCII, characters beyond it as
// Unicode escapes with a Windows-1252 fallback, lists as text, pictures as
// embedded PNG.
class RtfWriter {
public:
    static QByteArray write(const QTextDocument& document);
};

} // namespace Ionaria::exercises
