// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exercises/RtfReader.h"
#include "exercises/RtfWriter.h"
#include "support/HostileRtf.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTextList>
#include <QUrl>
#include <QtTest>

#include <array>
#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define IONARIA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define IONARIA_ASAN 1
#endif
#endif
#ifdef IONARIA_ASAN
// The sanitizer runtime's count of the bytes its allocator hands out; not
// every compiler ships the header that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

using Ionaria::exercises::RtfReader;
using Ionaria::exercises::RtfWriter;

// What the tests of the rich-text reader and writer share: the documents
// described as text, the pictures made for them, the files of other
// programs, and the memory that reading takes.
namespace rtftest {

// The text of a document with its character emphasis as tags, one line per
// paragraph: enough to compare chemistry formulas and styles at a glance.
inline QString markup(const QTextDocument& document) {
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString line;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                line += QStringLiteral("<img>");
                continue;
            }
            QStringList tags;
            if (format.fontWeight() >= QFont::DemiBold) {
                tags << QStringLiteral("b");
            }
            if (format.fontItalic()) {
                tags << QStringLiteral("i");
            }
            if (format.fontUnderline()) {
                tags << QStringLiteral("u");
            }
            if (format.fontStrikeOut()) {
                tags << QStringLiteral("s");
            }
            if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript) {
                tags << QStringLiteral("sup");
            } else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript) {
                tags << QStringLiteral("sub");
            }
            for (const QString& tag : tags) {
                line += QLatin1Char('<') + tag + QLatin1Char('>');
            }
            line += fragment.text();
            for (auto tag = tags.crbegin(); tag != tags.crend(); ++tag) {
                line += QStringLiteral("</") + *tag + QLatin1Char('>');
            }
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

inline QString colorName(const QBrush& brush) {
    return brush.style() == Qt::NoBrush ? QStringLiteral("-") : brush.color().name();
}

// Everything the writer promises to keep, for round trips.
inline QStringList fullDescription(const QTextDocument& document) {
    QStringList out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat bf = block.blockFormat();
        out << QStringLiteral("P align=%1 li=%2 ri=%3 fi=%4 sb=%5 sa=%6")
                   .arg(int(bf.alignment() & Qt::AlignHorizontal_Mask))
                   .arg(bf.leftMargin(), 0, 'f', 2)
                   .arg(bf.rightMargin(), 0, 'f', 2)
                   .arg(bf.textIndent(), 0, 'f', 2)
                   .arg(bf.topMargin(), 0, 'f', 2)
                   .arg(bf.bottomMargin(), 0, 'f', 2);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat f = fragment.charFormat();
            if (f.isImageFormat()) {
                const QTextImageFormat image = f.toImageFormat();
                const QImage pixels =
                    document.resource(QTextDocument::ImageResource, QUrl(image.name()))
                        .value<QImage>()
                        .convertToFormat(QImage::Format_ARGB32);
                out << QStringLiteral("  image %1x%2 shown %3x%4 key=%5")
                           .arg(pixels.width())
                           .arg(pixels.height())
                           .arg(image.width(), 0, 'f', 2)
                           .arg(image.height(), 0, 'f', 2)
                           .arg(qHash(QByteArray(reinterpret_cast<const char*>(pixels.constBits()),
                                                 pixels.sizeInBytes())));
                continue;
            }
            // A fragment without a family is in the default font, which files name.
            out << QStringLiteral("  [%1] %2pt w%3 i%4 u%5 s%6 fg=%7 bg=%8 v%9 '%10'")
                       .arg(f.fontFamilies().toStringList().value(0,
                                                                  document.defaultFont().family()))
                       .arg(f.fontPointSize())
                       .arg(f.fontWeight())
                       .arg(int(f.fontItalic()))
                       .arg(int(f.fontUnderline()))
                       .arg(int(f.fontStrikeOut()))
                       .arg(colorName(f.foreground()), colorName(f.background()))
                       .arg(int(f.verticalAlignment()))
                       .arg(fragment.text());
        }
    }
    return out;
}

inline QByteArray pictureHex(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toHex();
}

inline QImage testImage() {
    QImage image(12, 6, QImage::Format_RGB32);
    image.fill(QColor(200, 120, 40));
    for (int x = 0; x < 6; ++x) {
        for (int y = 0; y < 6; ++y) {
            image.setPixelColor(x, y, QColor(20, 60, 200));
        }
    }
    return image;
}

inline std::uint32_t crc32(const QByteArray& bytes) {
    std::uint32_t crc = 0xFFFFFFFFU;
    for (const char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int k = 0; k < 8; ++k) {
            crc = (crc & 1U) != 0 ? (crc >> 1U) ^ 0xEDB88320U : crc >> 1U;
        }
    }
    return ~crc;
}

inline void putBigEndian(QByteArray& bytes, qsizetype at, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) {
        bytes[at + k] = static_cast<char>((value >> (8 * (3 - k))) & 0xFFU);
    }
}

// A well-formed PNG whose header announces a picture of side pixels square.
inline QByteArray pngAnnouncing(std::uint32_t side) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    testImage().save(&buffer, "PNG");
    putBigEndian(bytes, 16, side);
    putBigEndian(bytes, 20, side);
    putBigEndian(bytes, 29, crc32(bytes.mid(12, 17)));
    return bytes;
}

inline QByteArray readFile(const QString& name) {
    QFile file(QStringLiteral(IONARIA_TEST_DATA "/rtf/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

// The bytes the heap holds, from the sanitizer's allocator when it replaces
// the C library's.
inline double heapBytes() {
#ifdef IONARIA_ASAN
    return static_cast<double>(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
#endif
}

inline qint64 picturePixels(const QTextDocument& document) {
    qint64 pixels = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat()) {
                const QImage image =
                    document
                        .resource(QTextDocument::ImageResource,
                                  QUrl(it.fragment().charFormat().toImageFormat().name()))
                        .value<QImage>();
                pixels += qint64{image.width()} * image.height();
            }
        }
    }
    return pixels;
}

inline int imageCount(const QTextDocument& document) {
    int count = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat()) {
                const QImage image =
                    document
                        .resource(QTextDocument::ImageResource,
                                  QUrl(it.fragment().charFormat().toImageFormat().name()))
                        .value<QImage>();
                count += image.isNull() ? 0 : 1;
            }
        }
    }
    return count;
}

inline QTextBlock blockContaining(const QTextDocument& document, const QString& text) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.text().contains(text)) {
            return block;
        }
    }
    return {};
}

inline QTextCharFormat formatAt(const QTextDocument& document, const QString& text) {
    const QTextBlock block = blockContaining(document, text);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().text().contains(text)) {
            return it.fragment().charFormat();
        }
    }
    return {};
}

} // namespace rtftest
