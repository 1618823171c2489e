// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/Confimp.h"
#include "report/PicturePrinter.h"
#include "support/SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Ionaria::report;

namespace {

constexpr auto printed = PicturePrinter::Outcome::Printed;

// A picture with a recognisable colour, the size of the experiment surface.
QImage picture() {
    QImage image(417, 497, QImage::Format_RGB32);
    image.fill(QColor(255, 200, 155));
    return image;
}

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pageCount(const QString& pdf) {
    const QString info = run("pdfinfo", {pdf});
    for (const QString& line : info.split('\n')) {
        if (line.startsWith("Pages:")) {
            return line.mid(6).trimmed().toInt();
        }
    }
    return -1;
}

// The page rasterised at 72 dpi, one pixel per point.
QImage page(const QString& pdf, int number, const QString& stem) {
    run("pdftoppm", {"-png", "-r", "72", "-singlefile", "-f", QString::number(number), "-l",
                     QString::number(number), pdf, stem});
    return QImage(stem + ".png");
}

// The first row, from the top, holding the picture's colour.
int pictureTop(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - 255) < 8 && qAbs(c.green() - 200) < 8 && qAbs(c.blue() - 155) < 8) {
                return y;
            }
        }
    }
    return -1;
}

} // namespace

class PrintingTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString at(const QString& name) const { return m_dir.path() + "/" + name; }

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable("pdfinfo").isEmpty() ||
            QStandardPaths::findExecutable("pdftotext").isEmpty() ||
            QStandardPaths::findExecutable("pdftoppm").isEmpty()) {
            QSKIP("poppler-utils is needed to read the printed pages");
        }
    }

    void copiesMakePages_data() {
        QTest::addColumn<int>("copies");
        QTest::newRow("one") << 1;
        QTest::newRow("three") << 3;
    }
    void copiesMakePages() {
        QFETCH(int, copies);
        const QString pdf = at(QString("copies-%1.pdf").arg(copies));
        QCOMPARE(PicturePrinter::printPdf(pdf, picture(), "Pile cuivre-zinc", copies), printed);
        QCOMPARE(pageCount(pdf), copies);
        for (int k = 1; k <= copies; ++k) {
            const QString text =
                run("pdftotext", {"-f", QString::number(k), "-l", QString::number(k), pdf, "-"});
            QVERIFY2(text.contains("Pile cuivre-zinc"), qPrintable(text));
            const QImage image = page(pdf, k, at(QString("p%1-%2").arg(copies).arg(k)));
            QVERIFY(!image.isNull());
            // The picture is 417 pixels at 96 dpi, that is 312.75 points, centred.
            const int top = pictureTop(image);
            QVERIFY(top > 0);
            int left = -1;
            int right = -1;
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, top + 20) ==
                    image.pixelColor(image.width() / 2, top + 20)) {
                    left = left < 0 ? x : left;
                    right = x;
                }
            }
            QVERIFY(qAbs((right - left + 1) - 313) <= 3);
            QVERIFY(qAbs((left + right) / 2 - image.width() / 2) <= 30);
        }
    }

    void emptyTitleKeepsThePicturePlace() {
        const QString titled = at("titled.pdf");
        const QString untitled = at("untitled.pdf");
        QCOMPARE(PicturePrinter::printPdf(titled, picture(), "Titre", 1), printed);
        QCOMPARE(PicturePrinter::printPdf(untitled, picture(), "", 1), printed);
        const int a = pictureTop(page(titled, 1, at("titled")));
        const int b = pictureTop(page(untitled, 1, at("untitled")));
        QVERIFY(a > 0);
        QCOMPARE(a, b);
    }

    void printerFailureIsReported() {
        QCOMPARE(PicturePrinter::printPdf(at("absent/dossier/x.pdf"), picture(), "x", 1),
                 PicturePrinter::Outcome::NotWritten);
        QCOMPARE(PicturePrinter::printPdf(at("zero.pdf"), picture(), "x", 0),
                 PicturePrinter::Outcome::PrinterFailed);
        QVERIFY(!QFile::exists(at("zero.pdf")));
    }

    // Pages printed to a file that the disk cannot take: the old file stays
    // byte for byte and the dialog says so to the window.
    void fullDiskKeepsTheOldPrint_data() {
        QTest::addColumn<bool>("throughDialog");
        QTest::newRow("batch") << false;
        QTest::newRow("dialog") << true;
    }
    void fullDiskKeepsTheOldPrint() {
        QFETCH(bool, throughDialog);
        Ionaria::testing::SmallDisk disk;
        IONARIA_NEED_SMALL_DISK(disk);
        const QString pdf = disk.path("pile.pdf");
        const QByteArray old = "%PDF-1.4 " + QByteArray(20000, 'a');
        Ionaria::testing::putContent(pdf, old);
        QVERIFY(disk.fill());
        if (throughDialog) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            Confimp dialog(picture(), printer, nullptr);
            QSignalSpy failed(&dialog, &Confimp::printNotWritten);
            QTest::mouseClick(dialog.Command1(), Qt::LeftButton);
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(failed.count(), 1);
            QCOMPARE(failed.front().front().toString(), pdf);
        } else {
            QCOMPARE(PicturePrinter::printPdf(pdf, picture(), "Pile", 2),
                     PicturePrinter::Outcome::NotWritten);
        }
        QCOMPARE(Ionaria::testing::contentOf(pdf), old);
        QCOMPARE(disk.names(), QStringList{"pile.pdf"});
    }

    void fullDeviceIsNotWritten() {
        if (!QFileInfo::exists("/dev/full")) {
            QSKIP("this system has no /dev/full");
        }
        QCOMPARE(PicturePrinter::printPdf("/dev/full", picture(), "x", 1),
                 PicturePrinter::Outcome::NotWritten);
    }

    void dialogInitialState() {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(at("dialog.pdf"));
        Confimp dialog(picture(), printer, nullptr);
        QCOMPARE(dialog.windowTitle(), QString("Imprimer"));
        QCOMPARE(dialog.Text1()->text(), QString("Orbelle - Ionaria"));
        QCOMPARE(dialog.Label4()->text(), QString("1"));
        QCOMPARE(dialog.Text2()->text(), at("dialog.pdf"));
        dialog.UpDown1()->setValue(4);
        QCOMPARE(dialog.Label4()->text(), QString("4"));
        // The number of copies shows once, in the spin box.
        dialog.show();
        QVERIFY(dialog.UpDown1()->isVisible());
        QVERIFY(!dialog.Label4()->isVisible());
        int shown = 0;
        for (const QLabel* label : dialog.findChildren<QLabel*>()) {
            shown += label->isVisible() && label->text() == QString("4") ? 1 : 0;
        }
        QCOMPARE(shown, 0);
    }

    void cancelPrintsNothing() {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(at("cancel.pdf"));
        Confimp dialog(picture(), printer, nullptr);
        QTest::mouseClick(dialog.Command3(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!QFile::exists(at("cancel.pdf")));
    }

    void okPrintsTheCopies() {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(at("ok.pdf"));
        Confimp dialog(picture(), printer, nullptr);
        dialog.Text1()->setText("Électrolyse");
        dialog.UpDown1()->setValue(2);
        QTest::mouseClick(dialog.Command1(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(dialog.Command1()->isHidden());
        QVERIFY(dialog.Frame1()->isHidden());
        QCOMPARE(pageCount(at("ok.pdf")), 2);
        QVERIFY(run("pdftotext", {at("ok.pdf"), "-"}).contains("Électrolyse"));
    }
};

QTEST_MAIN(PrintingTest)
#include "PrintingTest.moc"
