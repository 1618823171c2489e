// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

class QPagedPaintDevice;
class QPrinter;

namespace Ionaria::report {

// Prints copies of the experiment picture: on each page the title in bold
// 12-point type, an empty 10-point line, then the picture at its screen size
// (15 twips per pixel, that is 96 dots per inch), centred across the page and
// a twentieth of the page height from the top. The job is ended once.
class PicturePrinter {
public:
    static constexpr int twipsPerInch = 1440;
    static constexpr int twipsPerPixel = 15;

    enum class Outcome {
        Printed,
        PrinterFailed, // the printer could not be started
        NotWritten,    // the pages could not be written to their file
    };

    // A failure of a single page does not stop the others. A printer that
    // prints to a PDF file gets its pages drawn in memory first, written to
    // the file only once complete, so that a failure keeps the old file.
    static Outcome print(QPrinter& printer, const QImage& picture, const QString& title,
                         int copies);

    // Prints onto a PDF file, as the batch mode and the tests do.
    static Outcome printPdf(const QString& path, const QImage& picture, const QString& title,
                            int copies);

private:
    static bool paint(QPagedPaintDevice& device, int resolution, const QImage& picture,
                      const QString& title, int copies);
};

} // namespace Ionaria::report
