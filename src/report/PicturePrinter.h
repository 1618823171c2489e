// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPainter;
class QPrinter;

namespace Ionaria::render {
class QtCanvas;
}

namespace Ionaria::report {

// Prints copies of the experiment picture: on each page the title in bold
// 12-point type, an empty 10-point line, then the picture at its screen size
// (15 twips per pixel, that is 96 dots per inch), centred across the page and
// a twentieth of the page height from the top. The job is ended once.
class PicturePrinter {
public:
    static constexpr int twipsPerInch = 1440;
    static constexpr int twipsPerPixel = 15;

    // What is printed: its size in screen pixels and how to paint it there.
    struct Picture {
        QSize size;
        std::function<void(QPainter&)> paint;

        // A bitmap, drawn over the picture's place.
        static Picture of(const QImage& image);
        // The picture as the surface stands, as vector drawing at the
        // printer's resolution; later drawings on the surface do not change
        // it.
        static Picture of(const render::QtCanvas& canvas);
    };

    enum class Outcome {
        Printed,
        PrinterFailed, // the printer could not be started
        NotWritten,    // the pages could not be written to their file
    };

    // A failure of a single page does not stop the others. A printer that
    // prints to a PDF file gets its pages drawn in memory first, written to
    // the file only once complete, so that a failure keeps the old file.
    static Outcome print(QPrinter& printer, const Picture& picture, const QString& title,
                         int copies);
    static Outcome print(QPrinter& printer, const QImage& picture, const QString& title,
                         int copies) {
        return print(printer, Picture::of(picture), title, copies);
    }

    // Prints onto a PDF file, as the batch mode and the tests do.
    static Outcome printPdf(const QString& path, const Picture& picture, const QString& title,
                            int copies);
    static Outcome printPdf(const QString& path, const QImage& picture, const QString& title,
                            int copies) {
        return printPdf(path, Picture::of(picture), title, copies);
    }

private:
    static bool paint(QPagedPaintDevice& device, int resolution, const Picture& picture,
                      const QString& title, int copies);
};

} // namespace Ionaria::report
