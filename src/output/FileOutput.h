// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/CarefulFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>

#include <memory>

class QImage;
class QPagedPaintDevice;
class QPdfWriter;

namespace Ionaria::output {

using Result = base::CarefulFile::Result;

// The box of a print whose pages could not be written to their file.
inline constexpr const char* printNotWrittenTitle = "Impression impossible";
inline constexpr const char* notWrittenText = "Ecriture impossible sur disque";

// Bytes made by Qt, written through base::CarefulFile: the old file stays
// whole unless the new one is complete on the disk.
Result writeBytes(const QString& path, const QByteArray& bytes);

// A picture encoded in memory (format as QImage::save takes it), then written.
// A picture that cannot be encoded fails as a write, with EINVAL.
Result writeImage(const QString& path, const QImage& image, const char* format);

// A PDF document drawn into memory and written to its file only once
// complete, in place of a printer that would write straight to the file.
class PdfInMemory {
public:
    // Pages laid out as those of like (a printer set to print to a PDF file):
    // the same page layout, resolution and page ranges.
    PdfInMemory(const QPagedPaintDevice& like, const QString& creator, const QString& title);
    ~PdfInMemory();
    PdfInMemory(const PdfInMemory&) = delete;
    PdfInMemory& operator=(const PdfInMemory&) = delete;

    // The device to paint on; painting must have ended before commit().
    QPdfWriter& device() { return *m_writer; }
    Result commit(const QString& path);

private:
    QByteArray m_bytes;
    QBuffer m_buffer;
    std::unique_ptr<QPdfWriter> m_writer;
};

} // namespace Ionaria::output
