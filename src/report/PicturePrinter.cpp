// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/PicturePrinter.h"

#include "look/Faces.h"
#include "output/FileOutput.h"
#include "render/QtCanvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace Ionaria::report {

namespace {

QFont printFont(qreal points, bool bold) {
    // The title is the user's text: formulas may have superscripts and
    // subscripts that only the text face has.
    QFont font = look::textFont(1, bold);
    font.setPointSizeF(points);
    return font;
}

} // namespace

PicturePrinter::Picture PicturePrinter::Picture::of(const QImage& image) {
    if (image.isNull()) {
        return {};
    }
    return {image.size(), [image](QPainter& painter) {
                painter.drawImage(QRect(QPoint(0, 0), image.size()), image);
            }};
}

PicturePrinter::Picture PicturePrinter::Picture::of(const render::QtCanvas& canvas) {
    return {QSize(render::QtCanvas::surfaceWidth, render::QtCanvas::surfaceHeight),
            [background = canvas.backgroundOps(), frame = canvas.frameOps()](QPainter& painter) {
                render::QtCanvas::paint(painter, background, frame);
            }};
}

bool PicturePrinter::paint(QPagedPaintDevice& printer, int resolution, const Picture& picture,
                           const QString& title, int copies) {
    if (copies < 1) {
        return false;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    // Positions are reckoned in twips of the printable area, as on paper.
    const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Inch);
    const double pw = printable.width() * twipsPerInch;
    const double ph = printable.height() * twipsPerInch;
    const double dotsPerTwip = resolution / static_cast<double>(twipsPerInch);
    const QSizeF pictureSize(picture.size.width() * twipsPerPixel * dotsPerTwip,
                             picture.size.height() * twipsPerPixel * dotsPerTwip);
    const QPointF picturePosition((pw - twipsPerPixel * picture.size.width()) / 2.0 * dotsPerTwip,
                                  ph / 20.0 * dotsPerTwip);
    for (int copy = 1; copy <= copies; ++copy) {
        const QFont titleFont = printFont(12.0, true);
        painter.setFont(titleFont);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(0.0, QFontMetricsF(titleFont, &printer).ascent()), title);
        if (picture.paint && !picture.size.isEmpty()) {
            painter.save();
            painter.translate(picturePosition);
            painter.scale(pictureSize.width() / picture.size.width(),
                          pictureSize.height() / picture.size.height());
            picture.paint(painter);
            painter.restore();
        }
        if (copy < copies && !printer.newPage()) {
            break;
        }
    }
    return painter.end();
}

PicturePrinter::Outcome PicturePrinter::print(QPrinter& printer, const Picture& picture,
                                              const QString& title, int copies) {
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty()) {
        return paint(printer, printer.resolution(), picture, title, copies)
                   ? Outcome::Printed
                   : Outcome::PrinterFailed;
    }
    output::PdfInMemory pdf(printer, printer.creator(), printer.docName());
    if (!paint(pdf.device(), pdf.device().resolution(), picture, title, copies)) {
        return Outcome::PrinterFailed;
    }
    return pdf.commit(printer.outputFileName()).ok() ? Outcome::Printed : Outcome::NotWritten;
}

PicturePrinter::Outcome PicturePrinter::printPdf(const QString& path, const Picture& picture,
                                                 const QString& title, int copies) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setCreator(QStringLiteral("Ionaria"));
    printer.setDocName(title);
    return print(printer, picture, title, copies);
}

} // namespace Ionaria::report
