#pragma once

#include <QByteArray>

class QTextDocument;

namespace Ionaria::exercises {

// Reads the rich-text files of statements, corrections and pupils' texts into a
// document. The files come from anywhere, so everything the file controls is
// bounded: group nesting, numbers, binary runs and pictures.
class RtfReader {
public:
    // Groups nested deeper than this are read as part of their parent.
    static constexpr int maxGroupDepth = 200;
    // Larger inputs are refused as a whole.
    static constexpr qsizetype maxInputBytes = qsizetype{64} * 1024 * 1024;
    // Pictures with a side or an area beyond these (in pixels) are dropped.
    static constexpr int maxPictureSidePixels = 8192;
    static constexpr qint64 maxPicturePixels = qint64{4096} * 4096;

    // True when bytes start, after blanks, like a rich-text file.
    static bool isRtf(const QByteArray& bytes);

    // Replaces the content of document with the text of bytes. Returns false,
    // leaving the document empty, when bytes are not rich text or too large.
    // Pictures become image resources of the document.
    static bool read(const QByteArray& bytes, QTextDocument& document);
};

} // namespace Ionaria::exercises
