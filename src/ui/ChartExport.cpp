// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ChartExport.h"

#include "look/Faces.h"
#include "ui/CourbesChart.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cerrno>

namespace Ionaria::ui {

namespace {

constexpr const char* documentTitle = "Courbes - Ionaria";
constexpr double screenDpi = 96.0;
constexpr double pointsPerInch = 72.0;

void paint(QPaintDevice& device, CourbesChart& chart, const QRectF& target) {
    QPainter painter(&device);
    // An SVG names the painter's font on every group, text or not.
    painter.setFont(look::textFont(10));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    chart.render(painter, target);
}

// The generator names the family alone; a viewer without it would draw a
// serif face, so the generic family follows it.
void namedWithGeneric(QByteArray& svg) {
    const QByteArray alone = QByteArrayLiteral("font-family=\"") + look::textFamily + '"';
    const QByteArray withGeneric =
        QByteArrayLiteral("font-family=\"") + look::svgFamilies().toUtf8() + '"';
    svg.replace(alone, withGeneric);
}

} // namespace

std::optional<ChartFormat> chartFormatOf(const QString& path) {
    const QString name = path.section(QLatin1Char('/'), -1).toLower();
    for (const ChartFormat format : {ChartFormat::Png, ChartFormat::Svg, ChartFormat::Pdf}) {
        const QString extension = extensionOf(format);
        if (name.size() > extension.size() && name.endsWith(extension)) {
            return format;
        }
    }
    return std::nullopt;
}

QString extensionOf(ChartFormat format) {
    switch (format) {
    case ChartFormat::Png:
        return QStringLiteral(".png");
    case ChartFormat::Svg:
        return QStringLiteral(".svg");
    case ChartFormat::Pdf:
        return QStringLiteral(".pdf");
    }
    return {};
}

QByteArray chartBytes(CourbesChart& chart, ChartFormat format) {
    const QSize size = chart.sceneSize().toSize();
    if (size.isEmpty()) {
        return {};
    }
    const QRectF target(QPointF(0.0, 0.0), QSizeF(size));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) {
        return {};
    }
    switch (format) {
    case ChartFormat::Png: {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        paint(image, chart, target);
        if (!image.save(&buffer, "PNG")) {
            return {};
        }
        break;
    }
    case ChartFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(static_cast<int>(screenDpi));
        svg.setTitle(QString::fromLatin1(documentTitle));
        svg.setDescription(QStringLiteral("Mesures de l'expérience au cours du temps"));
        paint(svg, chart, target);
        buffer.close();
        namedWithGeneric(bytes);
        return bytes;
    }
    case ChartFormat::Pdf: {
        QPdfWriter pdf(&buffer);
        pdf.setCreator(QStringLiteral("Ionaria"));
        pdf.setTitle(QString::fromLatin1(documentTitle));
        pdf.setResolution(static_cast<int>(screenDpi));
        pdf.setPageSize(QPageSize(QSizeF(size) * (pointsPerInch / screenDpi), QPageSize::Point,
                                  QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0.0, 0.0, 0.0, 0.0));
        paint(pdf, chart, target);
        break;
    }
    }
    buffer.close();
    return bytes;
}

output::Result writeChart(const QString& path, CourbesChart& chart, ChartFormat format) {
    const QByteArray bytes = chartBytes(chart, format);
    if (bytes.isEmpty()) {
        return {base::CarefulFile::Status::WriteFailed, EINVAL};
    }
    return output::writeBytes(path, bytes);
}

QString failureReason(const output::Result& result) {
    using Status = base::CarefulFile::Status;
    switch (result.status) {
    case Status::Ok:
        return {};
    case Status::NotWritable:
        return QStringLiteral("Le fichier est protégé contre l'écriture.");
    case Status::NotAFile:
        return QStringLiteral("Ce nom n'est pas celui d'un fichier.");
    case Status::CannotCreate:
        return QStringLiteral("Le dossier n'accepte pas de nouveau fichier.");
    case Status::WriteFailed:
        return result.error == ENOSPC ? QStringLiteral("Le disque est plein.")
                                      : QStringLiteral("L'écriture a échoué.");
    }
    return {};
}

} // namespace Ionaria::ui
