// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BatchMode.h"
#include "app/CommandLine.h"
#include "base/RecordFile.h"
#include "config/ConfigFile.h"
#include "sim/Handlers.h"
#include "sim/MeasureCsv.h"
#include "sim/Recorder.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <sstream>

using namespace Ionaria;
using app::CommandLine;

namespace {

struct Config {
    std::string montage = "1";
    std::string n1 = "3";
    std::string n2 = "3";
    std::string electrolyte = "4";
    std::string c = "0,01";
    std::string check1 = "0";
    std::string stop = "10";
    std::string c2 = "0,01";
};

std::vector<std::string> records(const Config& k) {
    return {"KIVAR", k.montage, "0",  k.check1, "1",  "30",   "5",   k.n1, k.n2,  k.electrolyte,
            k.c,     "500",     "10", "10",     "10", "0,01", "200", k.c2, "200", k.stop};
}

std::vector<std::string> arguments(const QStringList& list) {
    std::vector<std::string> out;
    for (const QString& a : list) {
        out.push_back(a.toStdString());
    }
    return out;
}

struct Result {
    int status = -1;
    QString out;
    QString err;
};

Result ionaria(const QStringList& list) {
    QProcess process;
    process.start(QStringLiteral(IONARIA_BINARY), list);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The numbers of a CSV, row by row, read as a spreadsheet would read them.
QList<QList<double>> numbersOf(const QByteArray& text, QChar separator, QChar decimal) {
    QList<QList<double>> rows;
    const QStringList lines = QString::fromUtf8(text).split('\n', Qt::SkipEmptyParts);
    for (qsizetype k = 1; k < lines.size(); ++k) {
        QList<double> row;
        for (QString field : lines[k].split(separator)) {
            bool ok = false;
            row << field.replace(decimal, '.').toDouble(&ok);
            if (!ok) {
                return {};
            }
        }
        rows << row;
    }
    return rows;
}

} // namespace

Q_DECLARE_METATYPE(Config)

class BatchCourbesTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString write(const QString& name, const Config& config) {
        const QString path = m_dir.filePath(name);
        base::RecordFile::writeAll(path.toStdString(), records(config));
        return path;
    }

private slots:
    // The window's record, fed as the window feeds it (from its start, at the
    // speed of its scroll bar), holds the rows of the batch CSV of the same
    // run, one for one.
    void recordHoldsTheBatchRows_data() {
        QTest::addColumn<Config>("config");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("stepsPerTick");
        QTest::newRow("sodium chloride") << Config{} << 900 << 7;
        QTest::newRow("copper runs out") << Config{"2", "3", "3", "6", "0,001"} << 2400 << 39;
        QTest::newRow("soluble copper anode") << Config{"2", "1", "1", "6"} << 1200 << 5;
        QTest::newRow("zinc-copper cell") << Config{"0", "3", "1"} << 1200 << 11;
        QTest::newRow("cell whose copper ions run out")
            << Config{"0", "3", "1", "4", "0,01", "0", "10", "0,00001"} << 600 << 3;
        QTest::newRow("programmed stop")
            << Config{"2", "3", "3", "6", "0,01", "1", "120"} << 600 << 13;
    }
    void recordHoldsTheBatchRows() {
        QFETCH(Config, config);
        QFETCH(int, seconds);
        QFETCH(int, stepsPerTick);
        const QString path = write("run.C14", config);
        std::ostringstream csv;
        std::ostringstream err;
        const auto options = CommandLine::parse(
            arguments({"--batch", path, "--seconds", QString::number(seconds), "--csv", "-"}));
        QCOMPARE(app::BatchMode::run(options, csv, err), 0);
        QStringList batchRows = QString::fromStdString(csv.str()).split('\n', Qt::SkipEmptyParts);
        batchRows.removeFirst();

        sim::Engine engine;
        sim::Handlers handlers(engine);
        sim::Recorder record(engine);
        engine.setStepObserver(&record);
        handlers.startup();
        QVERIFY(!config::ConfigFile::load(path.toStdString(), handlers));
        handlers.setHScroll2(stepsPerTick);
        engine.Command5_Click();
        // The batch runs until the time shown reaches its duration.
        for (int still = 0;
             engine.params().mesures.tempsSec < seconds && engine.params().Timer1 && still < 3;) {
            const auto before = engine.state().tempsSec;
            engine.Timer1_Timer();
            still = engine.state().tempsSec == before ? still + 1 : 0;
        }
        QCOMPARE(record.rowsPerBucket(), std::uint32_t(1));
        QVERIFY(record.buckets().size() >= std::size_t(batchRows.size()));
        for (qsizetype k = 0; k < batchRows.size(); ++k) {
            std::string row;
            sim::appendCsvRow(row, record.buckets()[std::size_t(k)].first,
                              sim::CsvDialect::Standard);
            QCOMPARE(QString::fromStdString(row).trimmed(), batchRows[k]);
        }
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("line");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("grandeurs");
        const QStringList standard{"i", "mG", "mD"};
        QTest::newRow("PNG") << QStringList{"--courbes", "c.png"} << "" << standard;
        QTest::newRow("SVG in capitals") << QStringList{"--courbes", "C.SVG"} << "" << standard;
        QTest::newRow("PDF, chosen curves, law")
            << QStringList{"--courbes", "c.pdf", "--grandeurs", "U, Cu2+,U,SO4 2-", "--faraday"}
            << "" << QStringList{"U", "Cu2+", "SO4 2-"};
        QTest::newRow("spreadsheet CSV")
            << QStringList{"--csv", "m.csv", "--format-csv", "tableur"} << "" << standard;
        QTest::newRow("another picture format")
            << QStringList{"--courbes", "c.jpg"} << "--courbes demande un fichier" << standard;
        QTest::newRow("a folder's name alone")
            << QStringList{"--courbes", ".png"} << "--courbes demande un fichier" << standard;
        QTest::newRow("no file") << QStringList{"--courbes"} << "--courbes demande" << standard;
        QTest::newRow("unknown quantity")
            << QStringList{"--courbes", "c.png", "--grandeurs", "i,Ag+"}
            << "grandeur inconnue : Ag+" << standard;
        QTest::newRow("empty quantity") << QStringList{"--courbes", "c.png", "--grandeurs", "i,,U"}
                                        << "--grandeurs demande" << standard;
        QTest::newRow("law without curves")
            << QStringList{"--faraday"} << "--grandeurs et --faraday vont avec --courbes"
            << standard;
        QTest::newRow("quantities without curves")
            << QStringList{"--grandeurs", "i"} << "--grandeurs et --faraday vont avec --courbes"
            << standard;
        QTest::newRow("unknown dialect") << QStringList{"--csv", "m.csv", "--format-csv", "excel"}
                                         << "--format-csv demande tableur ou csv" << standard;
        QTest::newRow("dialect without rows")
            << QStringList{"--format-csv", "tableur"} << "--format-csv va avec --csv" << standard;
        QTest::newRow("curves over the configuration")
            << QStringList{"--courbes", "a.C14.png", "--png", "a.C14.png"}
            << "--png et --courbes désignent le même fichier" << standard;
    }
    void commandLine() {
        QFETCH(QStringList, line);
        QFETCH(QString, error);
        QFETCH(QStringList, grandeurs);
        const auto cl = CommandLine::parse(arguments(QStringList{"--batch", "a.C14"} + line));
        QCOMPARE(QString::fromStdString(cl.error).left(error.size()), error);
        QCOMPARE(cl.mode == CommandLine::Mode::Error, !error.isEmpty());
        if (error.isEmpty()) {
            QStringList parsed;
            for (const auto& key : cl.courbes.grandeurs) {
                parsed << QString::fromStdString(key);
            }
            QCOMPARE(parsed, grandeurs);
        }
    }

    void curvesNeedTheBatch() {
        const auto cl = CommandLine::parse({"--courbes", "c.png"});
        QCOMPARE(int(cl.mode), int(CommandLine::Mode::Error));
        QVERIFY(QString::fromStdString(cl.error).contains("vont avec --batch"));
    }

    // The file of each format is whole and of its kind.
    void curvesInEachFormat_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("PNG") << "courbes.png" << QByteArray("\x89PNG\r\n");
        QTest::newRow("SVG") << "courbes.svg" << QByteArray("<?xml");
        QTest::newRow("PDF") << "courbes.pdf" << QByteArray("%PDF-");
    }
    void curvesInEachFormat() {
        QFETCH(QString, name);
        QFETCH(QByteArray, start);
        const QString config = write("cuivre.C14", Config{"2", "3", "3", "6", "0,001"});
        const QString out = m_dir.filePath(name);
        const Result r = ionaria({"--batch", config, "--seconds", "2400", "--courbes", out,
                                  "--grandeurs", "i,U,mG,Cu2+", "--faraday"});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith(start));
        if (name.endsWith(".svg")) {
            QXmlStreamReader xml(bytes);
            int texts = 0;
            while (!xml.atEnd()) {
                xml.readNext();
                texts += xml.isCharacters() && xml.text().contains(QStringLiteral("(mol·L⁻¹)"));
            }
            QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
            QVERIFY(texts > 0);
        }
    }

    void unwritableCurves() {
        const QString config = write("nacl.C14", Config{});
        const QString out = m_dir.filePath("absent/courbes.png");
        const Result r = ionaria({"--batch", config, "--seconds", "5", "--courbes", out});
        QCOMPARE(r.status, 4);
        QCOMPARE(r.err, "Ecriture impossible sur disque : " + out + "\n");
    }

    // Both dialects give the same numbers to whoever reads them as written.
    void bothDialectsReadBackAlike() {
        const QString config = write("cuivre.C14", Config{"2", "3", "3", "6", "0,001"});
        const QString plain = m_dir.filePath("ordinaire.csv");
        const QString sheet = m_dir.filePath("tableur.csv");
        QCOMPARE(ionaria({"--batch", config, "--seconds", "2400", "--csv", plain}).status, 0);
        QCOMPARE(ionaria({"--batch", config, "--seconds", "2400", "--csv", sheet, "--format-csv",
                          "tableur"})
                     .status,
                 0);
        QFile a(plain);
        QFile b(sheet);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        const QByteArray plainBytes = a.readAll();
        const QByteArray sheetBytes = b.readAll();
        QCOMPARE(sheetBytes.left(sheetBytes.indexOf('\n')),
                 plainBytes.left(plainBytes.indexOf('\n')).replace(',', ';'));
        QVERIFY(!sheetBytes.contains('.'));
        const auto plainRows = numbersOf(plainBytes, ',', '.');
        QCOMPARE(plainRows.size(), 2401);
        QCOMPARE(numbersOf(sheetBytes, ';', ','), plainRows);
    }

    void helpSaysTheOptions() {
        const Result r = ionaria({"--help"});
        for (const char* option : {"--courbes", "--grandeurs", "--faraday", "--format-csv"}) {
            QVERIFY2(r.out.contains(option), option);
        }
    }
};

QTEST_GUILESS_MAIN(BatchCourbesTest)
#include "BatchCourbesTest.moc"
