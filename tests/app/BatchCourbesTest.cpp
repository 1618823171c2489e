// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BatchMode.h"
#include "app/CommandLine.h"
#include "base/RecordFile.h"
#include "config/ConfigFile.h"
#include "sim/Characteristic.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "sim/MeasureCsv.h"
#include "sim/Recorder.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <cmath>
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
    std::string nernst = {}; // record 21, none when empty
    std::string scale = "0"; // "1", macroscopic
};

std::vector<std::string> records(const Config& k) {
    std::vector<std::string> r = {"KIVAR", k.montage, k.scale,       k.check1, "1",   "30",  "5",
                                  k.n1,    k.n2,      k.electrolyte, k.c,      "500", "10",  "10",
                                  "10",    "0,01",    "200",         k.c2,     "200", k.stop};
    if (!k.nernst.empty()) {
        r.push_back(k.nernst);
    }
    return r;
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
        QTest::newRow("copper concentration cell, potentials")
            << Config{"0", "1", "1", "4", "0,01", "0", "10", "1", "1"} << 600 << 7;
        QTest::newRow("copper sulfate, potentials")
            << Config{"2", "3", "3", "6", "0,001", "0", "10", "0,01", "1"} << 1200 << 9;
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
        // The potentials close the header and every row when they are asked for.
        QCOMPARE(batchRows.first().endsWith(",E_G_V,E_D_V"), !config.nernst.empty());
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
        QTest::newRow("characteristic as CSV")
            << QStringList{"--caracteristique", "u.CSV"} << "" << standard;
        QTest::newRow("characteristic as SVG")
            << QStringList{"--caracteristique", "u.svg"} << "" << standard;
        QTest::newRow("characteristic in another format")
            << QStringList{"--caracteristique", "u.txt"} << "--caracteristique demande un fichier"
            << standard;
        QTest::newRow("characteristic over the curves")
            << QStringList{"--courbes", "c.png", "--caracteristique", "c.png"}
            << "--courbes et --caracteristique désignent le même fichier" << standard;
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

    // The CSV holds the end's characteristic: no current up to the
    // threshold, then one line; the pictures are whole and of their kind.
    void characteristic_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("CSV") << "u.csv" << QByteArray("U_V,I_A\n0,0\n");
        QTest::newRow("PNG") << "u.png" << QByteArray("\x89PNG\r\n");
        QTest::newRow("SVG") << "u.svg" << QByteArray("<?xml");
        QTest::newRow("PDF") << "u.pdf" << QByteArray("%PDF-");
    }
    void characteristic() {
        QFETCH(QString, name);
        QFETCH(QByteArray, start);
        const QString config = write("cuivre.C14", Config{"2", "3", "3", "6", "0,1"});
        const QString out = m_dir.filePath(name);
        const Result r = ionaria({"--batch", config, "--seconds", "60", "--caracteristique", out});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith(start));
        if (name.endsWith(".svg")) {
            QVERIFY(QString::fromUtf8(bytes).contains(QStringLiteral("seuil ≈ ")));
        }
        if (!name.endsWith(".csv")) {
            return;
        }
        const QList<QByteArray> rows = bytes.trimmed().split('\n').mid(1);
        QVERIFY(rows.size() >= 101);
        double seuil = -1.0;
        double slope = 0.0;
        double previousU = -1.0;
        for (const QByteArray& row : rows) {
            const QList<QByteArray> cells = row.split(',');
            QCOMPARE(cells.size(), 2);
            const double u = cells[0].toDouble();
            const double i = cells[1].toDouble();
            QVERIFY(u > previousU);
            previousU = u;
            if (i == 0.0) {
                seuil = u;
            } else if (slope == 0.0) {
                slope = i / (u - seuil);
            } else {
                QVERIFY2(std::fabs(i - slope * (u - seuil)) < 1e-9 * i, row.constData());
            }
        }
        QVERIFY(seuil > 0.0 && seuil < 10.0);
        QCOMPARE(previousU, 10.0);
    }

    // The characteristic is the run's at its last second, which the ticks
    // since the picture's last redraw bring about: as an engine ticked
    // straight to that second gives it.
    void characteristicIsThatOfTheLastSecond_data() {
        QTest::addColumn<int>("seconds");
        QTest::newRow("1 min") << 60;
        QTest::newRow("40 min") << 2400;
        QTest::newRow("3 h") << 10800;
    }
    void characteristicIsThatOfTheLastSecond() {
        QFETCH(int, seconds);
        // At the macroscopic scale the electrodes' masses redraw the
        // background as they change.
        const QString config = write(
            "depot.C14", Config{.montage = "2", .electrolyte = "6", .c = "0,1", .scale = "1"});
        const QString out = m_dir.filePath("fin.csv");
        const Result r = ionaria(
            {"--batch", config, "--seconds", QString::number(seconds), "--caracteristique", out});
        QCOMPARE(r.status, 0);
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));

        sim::Engine engine;
        sim::Handlers handlers(engine);
        handlers.startup();
        QVERIFY(!config::ConfigFile::load(config.toStdString(), handlers));
        engine.Command5_Click();
        engine.setStepsPerTickOverride(1);
        while (engine.params().mesures.tempsSec < seconds && engine.params().Timer1) {
            engine.Timer1_Timer();
        }
        const auto expected = sim::characteristic(engine.state(), engine.params());
        QVERIFY(expected.has_value());
        QCOMPARE(file.readAll().toStdString(), sim::characteristicCsv(*expected));
    }

    void cellHasNoCharacteristic() {
        const QString config = write("pile.C14", Config{"0"});
        const QString out = m_dir.filePath("pile.csv");
        const Result r = ionaria({"--batch", config, "--seconds", "5", "--caracteristique", out});
        QCOMPARE(r.status, 4);
        QCOMPARE(r.err, "Pas de caractéristique I = f(U) pour la pile : " + out + "\n");
        QVERIFY(!QFile::exists(out));
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
        QCOMPARE(
            sheetBytes.left(sheetBytes.indexOf('\n')),
            QByteArray::fromStdString(sim::csvHeader(sim::CsvDialect::Tableur, false)).trimmed());
        QVERIFY(!sheetBytes.contains('.'));
        // The spreadsheet's rows leave out the two reaction codes.
        auto plainRows = numbersOf(plainBytes, ',', '.');
        QCOMPARE(plainRows.size(), 2401);
        for (auto& row : plainRows) {
            row.remove(5, 2);
        }
        QCOMPARE(numbersOf(sheetBytes, ';', ','), plainRows);
    }

    void helpSaysTheOptions() {
        const Result r = ionaria({"--help"});
        for (const char* option :
             {"--courbes", "--grandeurs", "--faraday", "--format-csv", "--caracteristique"}) {
            QVERIFY2(r.out.contains(option), option);
        }
    }
};

QTEST_GUILESS_MAIN(BatchCourbesTest)
#include "BatchCourbesTest.moc"
