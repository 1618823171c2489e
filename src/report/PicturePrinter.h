#pragma once

#include <QImage>
#include <QString>

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

    // False when the printer could not be started; a failure of a single
    // page does not stop the others.
    static bool print(QPrinter& printer, const QImage& picture, const QString& title, int copies);

    // Prints onto a PDF file, as the batch mode and the tests do.
    static bool printPdf(const QString& path, const QImage& picture, const QString& title,
                         int copies);
};

} // namespace Ionaria::report
