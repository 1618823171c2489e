// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exercises/ExerciseMessage.h"
#include "exercises/RtfWriter.h"

#include <QByteArray>

#include <optional>

class QTextDocument;

namespace Ionaria::exercises {

// What the reader takes, asked of a text before it is saved and of a picture
// before it is pasted, so that every text the window saves reopens whole.
class AnswerBounds {
public:
    enum class Excess {
        None,
        TooLarge,          // the file would be larger than the reader takes
        TooManyParagraphs, // more paragraph marks than the reader takes
        TooManyPictures,   // more pictures than the reader keeps
        TooManyPixels,     // more pixels in all than the reader keeps
        PictureTooWide,    // a picture with a side longer than the reader keeps
        TooManyFormatRuns, // more runs of one format than the reader keeps
    };

    // What the written file would exceed, pictures first: they are what a
    // pupil adds in large pieces.
    static Excess of(const RtfWriter::Written& written);

    // The refusal of a save, saying what to remove; none when the text fits.
    static std::optional<ExerciseMessage> saveRefusal(Excess excess);
    // The refusal of a paste that would make the text exceed a bound.
    static std::optional<ExerciseMessage> pasteRefusal(Excess excess);
};

} // namespace Ionaria::exercises
