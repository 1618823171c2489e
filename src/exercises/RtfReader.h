// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

class QTextDocument;
class QTextEdit;

namespace Ionaria::exercises {

// Reads the rich-text files of statements, corrections and pupils' texts into a
// document. The files come from anywhere, so everything the file controls is
// bounded: its size, paragraphs, group nesting, numbers, binary runs, tables
// and pictures. At these bounds a file reads in well under a second and a
// hundred megabytes.
class RtfReader {
public:
    // Groups nested deeper than this are read as part of their parent.
    static constexpr int maxGroupDepth = 200;
    // Larger inputs are refused as a whole: statements take a few kilobytes.
    static constexpr qsizetype maxInputBytes = qsizetype{2} * 1024 * 1024;
    // A text with more paragraph marks than this (table rows and section or
    // page ends count as such) is refused as a whole: each paragraph costs the
    // document most of a kilobyte.
    static constexpr int maxParagraphs = 20000;
    // A paragraph keeps the formats of its first maxFormatRuns runs of text
    // of one format, and a text those of its first maxTextFormatRuns runs (and
    // of the first run of each paragraph); the rest of a paragraph's text keeps
    // the format of its last kept run. Qt lays out and shapes each run on its
    // own, some microseconds a run: seconds at a run a letter at the size limit,
    // even spread over paragraphs laid out a step at a time. The texts of
    // exercises change format a few dozen times a paragraph.
    static constexpr int maxFormatRuns = 10000;
    static constexpr int maxTextFormatRuns = 50000;
    // Pictures with a side beyond this, or beyond the pixels left for the
    // pictures of the document, or after the first maxPictures, are dropped.
    static constexpr int maxPictureSidePixels = 8192;
    static constexpr qint64 maxPicturePixels = qint64{4096} * 2048;
    static constexpr int maxPictures = 100;
    // Entries of the font and colour tables beyond these are ignored, and
    // text in code pages beyond the first maxCodePages reads as Windows-1252.
    static constexpr int maxFonts = 4096;
    static constexpr int maxColors = 4096;
    static constexpr int maxCodePages = 16;

    enum class Status {
        Read,
        NotRichText,
        TooLarge,          // more than maxInputBytes
        TooManyParagraphs, // more than maxParagraphs paragraph marks
    };
    struct Result {
        Status status = Status::Read;
        // False when the text has more runs of one format than the reader
        // keeps: its text is read whole, but not all its formats.
        bool formatsKept = true;
        explicit operator bool() const { return status == Status::Read; }
    };

    // True when bytes start, after blanks, like a rich-text file.
    static bool isRtf(const QByteArray& bytes);

    // Whether read() would take bytes, found without building a document (a
    // fraction of the time of reading them).
    static Result check(const QByteArray& bytes);

    // Replaces the content of document with the text of bytes. A file that
    // check() refuses leaves the document empty. Pictures become image
    // resources of the document.
    static Result read(const QByteArray& bytes, QTextDocument& document);

    // Replaces the text of box with the text of bytes, as opening a statement,
    // a correction or a pupil's text does, the cursor at the start and nothing
    // to undo. A file that check() refuses leaves the box as it was. The box lays out what it shows
    // first, and the rest a step at a time between events; a paragraph, though, is laid out whole.
    // So the vertical scroll bar is kept shown while the text is read: a long paragraph that brings
    // the bar would otherwise be laid out twice, at the box's full width and then at the width the
    // bar leaves.
    static Result show(const QByteArray& bytes, QTextEdit& box);

private:
    // Reads bytes that check() takes.
    static void parse(const QByteArray& bytes, QTextDocument& document);
};

} // namespace Ionaria::exercises
