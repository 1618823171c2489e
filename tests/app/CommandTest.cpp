// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/RecordFile.h"
#include "support/Locales.h"
#include "support/SmallDisk.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>

namespace {

struct Result {
    int status = -1;
    QString out;
    QString err;
};

Result ionaria(const QStringList& arguments,
               const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(IONARIA_BINARY), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

std::vector<std::string> records(const std::string& montage, const std::string& scale,
                                 const std::string& n1, const std::string& n2,
                                 const std::string& electrolyte) {
    return {"KIVAR", montage, scale, "0",  "1",  "30",  "20",  n1,    n2,    electrolyte,
            "0,1",   "500",   "10",  "10", "10", "0,1", "200", "0,1", "200", "10"};
}

} // namespace

// The program as scripts and teachers run it from a terminal.
class CommandTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString write(const QString& name, const std::vector<std::string>& r) {
        const QString path = m_dir.path() + "/" + name;
        Ionaria::base::RecordFile::writeAll(path.toStdString(), r);
        return path;
    }

private slots:
    void pictureOfTheLastTick_data() {
        QTest::addColumn<QString>("scale");
        QTest::addColumn<QString>("seconds");
        QTest::newRow("microscopic, first step") << "0"
                                                 << "0";
        QTest::newRow("macroscopic, a minute") << "1"
                                               << "60";
    }
    void pictureOfTheLastTick() {
        QFETCH(QString, scale);
        QFETCH(QString, seconds);
        const QString config =
            write("cuivre.C14", records("2", scale.toStdString(), "3", "3", "6"));
        const QString png = m_dir.path() + "/cuivre-" + scale + ".png";
        const Result r = ionaria({"--batch", config, "--seconds", seconds, "--png", png});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains("Électrode G : Cu2+ + 2 e- → Cu"));
        const QImage image(png);
        QCOMPARE(image.size(), QSize(417, 497));
        // The gradient's last row is white, whatever the scale.
        QCOMPARE(image.pixelColor(5, 496), QColor(255, 255, 255));
    }

    // --echelle draws the picture larger, not stretched: sampled back at
    // every second pixel it shows the picture of its own size.
    void pictureAtTwiceTheSize() {
        const QString config = write("echelle.C14", records("2", "0", "3", "3", "6"));
        const QString own = m_dir.path() + "/echelle-1.png";
        const QString twice = m_dir.path() + "/echelle-2.png";
        QCOMPARE(ionaria({"--batch", config, "--seconds", "30", "--png", own}).status, 0);
        QCOMPARE(ionaria({"--batch", config, "--seconds", "30", "--png", twice, "--echelle", "2"})
                     .status,
                 0);
        const QImage small(own);
        const QImage large(twice);
        QCOMPARE(large.size(), QSize(834, 994));
        int mixed = 0;
        int close = 0;
        for (int y = 0; y < small.height(); ++y) {
            for (int x = 0; x < small.width(); ++x) {
                const QRgb a = large.pixel(2 * x, 2 * y);
                const bool uniform = large.pixel(2 * x + 1, 2 * y) == a &&
                                     large.pixel(2 * x, 2 * y + 1) == a &&
                                     large.pixel(2 * x + 1, 2 * y + 1) == a;
                mixed += uniform ? 0 : 1;
                const QRgb b = small.pixel(x, y);
                const int d = std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                              std::abs(qBlue(a) - qBlue(b));
                close += d <= 24 ? 1 : 0;
            }
        }
        QVERIFY2(mixed > 1000, qPrintable(QString::number(mixed)));
        QVERIFY2(close > small.width() * small.height() * 95 / 100,
                 qPrintable(QString::number(close)));
    }

    void refusedMontageShowsItsMessage() {
        const QString config = write("refus.C14", records("1", "0", "3", "4", "6"));
        const QString png = m_dir.path() + "/refus.png";
        const Result r = ionaria({"--batch", config, "--png", png, "--csv", "-"});
        QCOMPARE(r.status, 3);
        QVERIFY(r.out.isEmpty());
        QVERIFY(r.err.contains("modifier la nature des électrodes ou l'électrolyte."));
        const QImage image(png);
        QCOMPARE(image.size(), QSize(417, 497));
        int red = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                red += image.pixelColor(x, y) == QColor(255, 0, 0) ? 1 : 0;
            }
        }
        QVERIFY(red > 20);
    }

    // The picture goes onto the page as drawing, not as a bitmap: the page
    // holds no image, and its texts are text.
    void printedAsVectors_data() {
        QTest::addColumn<QString>("scale");
        QTest::newRow("microscopic") << "0";
        QTest::newRow("macroscopic") << "1";
    }
    void printedAsVectors() {
        QFETCH(QString, scale);
        if (QStandardPaths::findExecutable("pdfimages").isEmpty()) {
            QSKIP("poppler-utils is needed to list the images");
        }
        const QString config =
            write("vecteurs.C14", records("2", scale.toStdString(), "3", "3", "6"));
        const QString pdf = m_dir.path() + "/vecteurs-" + scale + ".pdf";
        QCOMPARE(ionaria({"--batch", config, "--seconds", "60", "--pdf", pdf}).status, 0);
        QProcess images;
        images.start("pdfimages", {"-list", pdf});
        QVERIFY(images.waitForFinished(30000));
        QCOMPARE(images.exitCode(), 0);
        const QStringList lines =
            QString::fromUtf8(images.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        // The two lines of the table's header, and no image.
        QCOMPARE(lines.size(), 2);
        QProcess text;
        text.start("pdftotext", {pdf, "-"});
        QVERIFY(text.waitForFinished(30000));
        QVERIFY(QString::fromUtf8(text.readAllStandardOutput()).contains("lectrode"));
    }

    void printedCopies() {
        if (QStandardPaths::findExecutable("pdfinfo").isEmpty()) {
            QSKIP("poppler-utils is needed to count the pages");
        }
        const QString config = write("pile.C14", records("0", "1", "1", "3", "4"));
        const QString pdf = m_dir.path() + "/pile.pdf";
        const Result r = ionaria({"--batch", config, "--seconds", "30", "--pdf", pdf,
                                  "--exemplaires", "2", "--titre", "Pile cuivre-zinc"});
        QCOMPARE(r.status, 0);
        QProcess info;
        info.start("pdfinfo", {pdf});
        info.waitForFinished();
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QRegularExpression("Pages:\\s+2\\n")));
    }

    // Each output that cannot be written, onto a device that takes no byte
    // (written in place) or into a folder that does not exist (a new file
    // beside the old one): status 4, the program's message alone, without
    // Qt's own warnings, and nothing left behind.
    void unwritableOutputs_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("target");
        for (const char* option : {"--png", "--pdf", "--csv"}) {
            QTest::addRow("%s on a full device", option) << option << "/dev/full";
            QTest::addRow("%s in a missing folder", option) << option << "MISSING/sortie";
        }
    }
    void unwritableOutputs() {
        QFETCH(QString, option);
        QFETCH(QString, target);
        if (target == "/dev/full" && !QFileInfo::exists(target)) {
            QSKIP("this system has no /dev/full");
        }
        target.replace("MISSING", m_dir.path() + "/absent");
        const QString config = write("pile.C14", records("0", "1", "1", "3", "4"));
        const Result r = ionaria({"--batch", config, "--seconds", "5", option, target});
        QCOMPARE(r.status, 4);
        QCOMPARE(r.err, "Ecriture impossible sur disque : " + target + "\n");
        QVERIFY(!QFileInfo::exists(m_dir.path() + "/absent"));
    }

    void fullDiskKeepsTheOldPictures() {
        Ionaria::testing::SmallDisk disk;
        IONARIA_NEED_SMALL_DISK(disk);
        const QString config = write("pile.C14", records("0", "1", "1", "3", "4"));
        const QByteArray oldPng = "ancienne image " + QByteArray(9000, 'p');
        const QByteArray oldPdf = "ancienne impression " + QByteArray(9000, 'd');
        Ionaria::testing::putContent(disk.path("pile.png"), oldPng);
        Ionaria::testing::putContent(disk.path("pile.pdf"), oldPdf);
        QVERIFY(disk.fill());
        const Result r = ionaria({"--batch", config, "--seconds", "5", "--png",
                                  disk.path("pile.png"), "--pdf", disk.path("pile.pdf")});
        QCOMPARE(r.status, 4);
        QCOMPARE(r.err, "Ecriture impossible sur disque : " + disk.path("pile.png") +
                            "\nEcriture impossible sur disque : " + disk.path("pile.pdf") + "\n");
        QCOMPARE(Ionaria::testing::contentOf(disk.path("pile.png")), oldPng);
        QCOMPARE(Ionaria::testing::contentOf(disk.path("pile.pdf")), oldPdf);
        QCOMPARE(disk.names(), (QStringList{"pile.pdf", "pile.png"}));
    }

    void refusedCommandLinesTouchNothing_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("message");
        QTest::newRow("picture over the configuration")
            << QStringList{"--png", "CONFIG"} << "--png désigne le fichier de configuration";
        QTest::newRow("print over the configuration")
            << QStringList{"--pdf", "CONFIG"} << "--pdf désigne le fichier de configuration";
        QTest::newRow("seconds beyond the clock")
            << QStringList{"--seconds", "2147483648", "--csv", "OUT"}
            << "--seconds demande un nombre entier de secondes";
        QTest::newRow("picture and print in one file")
            << QStringList{"--png", "OUT", "--pdf", "OUT"} << "--png et --pdf désignent le même";
    }
    void refusedCommandLinesTouchNothing() {
        QFETCH(QStringList, options);
        QFETCH(QString, message);
        const QString config = write("garde.C14", records("0", "1", "1", "3", "4"));
        const QByteArray before = Ionaria::testing::contentOf(config);
        const QString out = m_dir.path() + "/sortie";
        options.replaceInStrings("CONFIG", config);
        options.replaceInStrings("OUT", out);
        const Result r = ionaria(QStringList{"--batch", config} + options);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.startsWith("ionaria : " + message), qPrintable(r.err));
        QCOMPARE(Ionaria::testing::contentOf(config), before);
        QVERIFY(!QFileInfo::exists(out));
    }

    // What each command writes, whole: on standard output, then on standard
    // error (regular expressions, the whole text to match).
    // A run shows and draws the same under every locale, byte for byte: the
    // summary, the rows of each CSV dialect, the picture and the curves.
    void sameRunInEveryLocale_data() {
        QTest::addColumn<QString>("config");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("outputs");
        QTest::addColumn<bool>("summary");
        QTest::newRow("Faraday's exercise, picture")
            << QStringLiteral(IONARIA_SOURCE_DATA "/exercices/loi-de-faraday.C14")
            << QStringList{"--seconds", "1800", "--png", "OUT.png"} << QStringList{"OUT.png"}
            << true;
        QTest::newRow("cell, rows and picture")
            << "pile" << QStringList{"--seconds", "600", "--csv", "-", "--png", "OUT.png"}
            << QStringList{"OUT.png"} << false;
        QTest::newRow("cell, spreadsheet rows and curves")
            << "pile" << QStringList{"--seconds",    "600",     "--csv",     "OUT.csv",
                                     "--format-csv", "tableur", "--courbes", "OUT-courbes.svg"}
            << QStringList{"OUT.csv", "OUT-courbes.svg"} << true;
    }
    void sameRunInEveryLocale() {
        QFETCH(QString, config);
        QFETCH(QStringList, options);
        QFETCH(QStringList, outputs);
        QFETCH(bool, summary);
        if (config == "pile") {
            config = write("pile.C14", records("0", "1", "1", "3", "4"));
        }
        QString firstOut;
        QList<QByteArray> firstFiles;
        for (const char* locale : Ionaria::testing::numberLocales) {
            const QString out = m_dir.path() + "/" + locale;
            const Result r = ionaria(QStringList{"--batch", config} +
                                         QStringList(options).replaceInStrings("OUT", out),
                                     Ionaria::testing::environmentOfLocale(locale));
            QCOMPARE(r.status, 0);
            QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
            // The summary's numbers have one decimal comma; the rows written
            // to standard output instead have none.
            const QRegularExpression intensity("\nIntensité : \\d+,\\d+ m?A\n");
            QVERIFY2(r.out.contains(intensity) == summary, qPrintable(r.out.left(200)));
            QList<QByteArray> files;
            for (const QString& output : outputs) {
                files << Ionaria::testing::contentOf(QString(output).replace("OUT", out));
                QVERIFY(!files.back().isEmpty());
            }
            if (firstFiles.isEmpty()) {
                firstOut = r.out;
                firstFiles = files;
                continue;
            }
            QCOMPARE(r.out, firstOut);
            for (qsizetype k = 0; k < files.size(); ++k) {
                QVERIFY2(files[k] == firstFiles[k], qPrintable(outputs[k] + " under " + locale));
            }
        }
    }

    // --calcul takes what a pupil writes, whatever the locale.
    void calculInEveryLocale_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("out");
        Ionaria::testing::addRowsInEveryLocale("decimal comma", "0,25*2", " .5\n");
        Ionaria::testing::addRowsInEveryLocale("Faraday", "0,25*1800*63,5/(2*96500)",
                                               " .148056994818653\n");
        Ionaria::testing::addRowsInEveryLocale("comma and exponent", "1,5e-3/2", " .00075\n");
        Ionaria::testing::addRowsInEveryLocale("signs", "6\u00D74\u00F72", " 12\n");
    }
    void calculInEveryLocale() {
        QFETCH(QByteArray, locale);
        QFETCH(QString, expression);
        QFETCH(QString, out);
        const Result r =
            ionaria({"--calcul", expression}, Ionaria::testing::environmentOfLocale(locale));
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, out);
    }

    void otherCommands_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("calcul") << QStringList{"--calcul", "2 * 3"} << 0 << " 6\n"
                                << "";
        QTest::newRow("calcul error")
            << QStringList{"--calcul", "(2 + 3"} << 1 << "Erreur saisie: revoir les parenthèses\n"
            << "";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "Ionaria " IONARIA_VERSION "\n"
                                 << "";
        QTest::newRow("help") << QStringList{"--help"} << 0
                              << "Utilisation :\n.*--batch FICHIER\\.C14 .*--help \\| --version\n"
                              << "";
        QTest::newRow("bad option") << QStringList{"--vitesse"} << 1 << ""
                                    << "ionaria : option inconnue : --vitesse\nUtilisation :\n.*";
        QTest::newRow("missing file")
            << QStringList{"--batch", "/nulle/part.C14"} << 2 << ""
            << "impossible d'ouvrir ce fichier : Nom de fichier incorrect ou chemin non valide\n";
    }
    void otherCommands() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const Result r = ionaria(arguments);
        QCOMPARE(r.status, status);
        const auto whole = [](const QString& pattern) {
            return QRegularExpression(QRegularExpression::anchoredPattern(pattern),
                                      QRegularExpression::DotMatchesEverythingOption);
        };
        QVERIFY2(whole(out).match(r.out).hasMatch(), qPrintable(r.out));
        QVERIFY2(whole(err).match(r.err).hasMatch(), qPrintable(r.err));
    }
};

QTEST_GUILESS_MAIN(CommandTest)
#include "CommandTest.moc"
