// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exercises/RtfTables.h"

#include <QByteArray>
#include <QTextImageFormat>

#include <optional>

class QTextDocument;

namespace Ionaria::exercises::rtf {

// What the pictures of one document have used of their bounds so far.
struct PictureBudget {
    int images = 0;
    qint64 pixels = 0;
};

// A picture group (\pict) as it is read: its type, its size words and its
// bytes, in hexadecimal or binary. The picture's own size in pixels is read
// from its bytes, not from \picw and \pich.
class RtfPicture {
public:
    void word(Word word, int value);
    // A byte of the group's text: hexadecimal digits, two to a byte.
    void textByte(char byte);
    void appendBinary(const char* data, qsizetype count) { m_data.append(data, count); }

    // Adds the picture to document as an image resource and gives the format
    // that shows it at its size; none for a picture of another type than PNG
    // or JPEG, one that does not decode, or one beyond the bounds that are
    // left in budget.
    std::optional<QTextImageFormat> addTo(QTextDocument& document, PictureBudget& budget) const;

private:
    enum class Type { None, Png, Jpeg, Other };

    Type m_type = Type::None;
    QByteArray m_data;
    int m_pendingNibble = -1;
    int m_goalWidthTwips = 0;
    int m_goalHeightTwips = 0;
    int m_scaleXPercent = 100;
    int m_scaleYPercent = 100;
};

} // namespace Ionaria::exercises::rtf
