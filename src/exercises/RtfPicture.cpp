// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/RtfPicture.h"

#include "exercises/RtfReader.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace Ionaria::exercises::rtf {

void RtfPicture::word(Word word, int value) {
    switch (word) {
    case Word::PngBlip:
        m_type = Type::Png;
        break;
    case Word::JpegBlip:
        m_type = Type::Jpeg;
        break;
    case Word::OtherBlip:
        m_type = Type::Other;
        break;
    case Word::PicWGoal:
        m_goalWidthTwips = std::max(value, 0);
        break;
    case Word::PicHGoal:
        m_goalHeightTwips = std::max(value, 0);
        break;
    case Word::PicScaleX:
        m_scaleXPercent = std::clamp(value, 1, 1000);
        break;
    case Word::PicScaleY:
        m_scaleYPercent = std::clamp(value, 1, 1000);
        break;
    default:
        break;
    }
}

void RtfPicture::textByte(char byte) {
    const int digit = hexDigit(byte);
    if (digit < 0) {
        return;
    }
    if (m_pendingNibble < 0) {
        m_pendingNibble = digit;
    } else {
        m_data.append(static_cast<char>(m_pendingNibble * 16 + digit));
        m_pendingNibble = -1;
    }
}

std::optional<QTextImageFormat> RtfPicture::addTo(QTextDocument& document,
                                                  PictureBudget& budget) const {
    if (budget.images >= RtfReader::maxPictures || (m_type != Type::Png && m_type != Type::Jpeg)) {
        return std::nullopt;
    }
    QBuffer buffer;
    buffer.setData(m_data);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QImageReader reader(&buffer, m_type == Type::Png ? "png" : "jpeg");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > RtfReader::maxPictureSidePixels ||
        size.height() > RtfReader::maxPictureSidePixels ||
        qint64{size.width()} * size.height() > RtfReader::maxPicturePixels - budget.pixels) {
        return std::nullopt;
    }
    // Counted before decoding: a picture that fails still cost the decoding.
    budget.pixels += qint64{size.width()} * size.height();
    const QImage image = reader.read();
    if (image.isNull()) {
        return std::nullopt;
    }
    // Whole twips, as the writer stores them, so that sizes survive a round trip.
    const auto shownPixels = [](int goalTwips, int imagePixels, int scalePercent) {
        const double twips =
            goalTwips > 0 ? goalTwips : static_cast<double>(imagePixels) * twipsPerPixel;
        return std::clamp(std::round(twips * scalePercent / 100.0) / twipsPerPixel, 1.0,
                          static_cast<double>(maxDisplayPixels));
    };
    const QString name = QStringLiteral("rtf-image-%1.png").arg(++budget.images);
    document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(shownPixels(m_goalWidthTwips, image.width(), m_scaleXPercent));
    format.setHeight(shownPixels(m_goalHeightTwips, image.height(), m_scaleYPercent));
    return format;
}

} // namespace Ionaria::exercises::rtf
