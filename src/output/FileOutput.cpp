// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/FileOutput.h"

#include <QImage>
#include <QPagedPaintDevice>
#include <QPdfWriter>

#include <cerrno>
#include <string_view>

namespace Ionaria::output {

Result writeBytes(const QString& path, const QByteArray& bytes) {
    return base::CarefulFile::writeAll(
        path.toStdString(),
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

Result writeImage(const QString& path, const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, format)) {
        return {base::CarefulFile::Status::WriteFailed, EINVAL};
    }
    buffer.close();
    return writeBytes(path, bytes);
}

PdfInMemory::PdfInMemory(const QPagedPaintDevice& like, const QString& creator,
                         const QString& title)
    : m_buffer(&m_bytes) {
    m_buffer.open(QIODevice::WriteOnly);
    m_writer = std::make_unique<QPdfWriter>(&m_buffer);
    m_writer->setPageLayout(like.pageLayout());
    m_writer->setResolution(like.logicalDpiX());
    m_writer->setPageRanges(like.pageRanges());
    m_writer->setCreator(creator);
    m_writer->setTitle(title);
}

PdfInMemory::~PdfInMemory() = default;

Result PdfInMemory::commit(const QString& path) {
    // The writer finishes the document as it goes away.
    m_writer.reset();
    m_buffer.close();
    if (m_bytes.isEmpty()) {
        return {base::CarefulFile::Status::WriteFailed, EINVAL};
    }
    return writeBytes(path, m_bytes);
}

} // namespace Ionaria::output
