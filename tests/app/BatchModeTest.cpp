// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BatchMode.h"
#include "app/CommandLine.h"
#include "base/RecordFile.h"
#include "config/ConfigFile.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "support/Locales.h"
#include "support/SmallDisk.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <sstream>

using namespace Ionaria;
using app::BatchMode;
using app::CommandLine;

namespace {

std::vector<std::string> records(const std::string& montage, const std::string& n1,
                                 const std::string& n2, const std::string& electrolyte,
                                 const std::string& check1 = "0", const std::string& stop = "10") {
    return {"KIVAR", montage, "0",  check1, "1",  "30",   "5",   n1,     n2,    electrolyte,
            "0,01",  "500",   "10", "10",   "10", "0,01", "200", "0,01", "200", stop};
}

struct Run {
    int status = 0;
    std::string out;
    std::string err;
};

Run run(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const auto options = CommandLine::parse(arguments);
    Run r;
    r.status = options.mode == CommandLine::Mode::Batch ? BatchMode::run(options, out, err) : -1;
    r.out = out.str();
    r.err = err.str();
    return r;
}

QStringList lines(const std::string& text) {
    return QString::fromStdString(text).split('\n', Qt::SkipEmptyParts);
}

} // namespace

class BatchModeTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::string write(const std::string& name, const std::vector<std::string>& r) {
        const std::string p = m_dir.path().toStdString() + "/" + name;
        base::RecordFile::writeAll(p, r);
        return p;
    }

private slots:
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("mode");
        QTest::newRow("window") << QStringList{} << int(CommandLine::Mode::Window);
        QTest::newRow("open a file") << QStringList{"a.C14"} << int(CommandLine::Mode::Window);
        QTest::newRow("batch") << QStringList{"--batch", "a.C14", "--seconds", "5"}
                               << int(CommandLine::Mode::Batch);
        QTest::newRow("help") << QStringList{"--help"} << int(CommandLine::Mode::Help);
        QTest::newRow("version") << QStringList{"--version"} << int(CommandLine::Mode::Version);
        QTest::newRow("calcul") << QStringList{"--calcul", "2+2", "--radians"}
                                << int(CommandLine::Mode::Calcul);
        QTest::newRow("batch without file")
            << QStringList{"--batch"} << int(CommandLine::Mode::Error);
        QTest::newRow("negative seconds")
            << QStringList{"--batch", "a", "--seconds", "-1"} << int(CommandLine::Mode::Error);
        QTest::newRow("seconds not a number")
            << QStringList{"--batch", "a", "--seconds", "dix"} << int(CommandLine::Mode::Error);
        QTest::newRow("csv without batch")
            << QStringList{"--csv", "-"} << int(CommandLine::Mode::Error);
        QTest::newRow("unknown option") << QStringList{"--vite"} << int(CommandLine::Mode::Error);
        QTest::newRow("copies out of range")
            << QStringList{"--batch", "a", "--exemplaires", "100"} << int(CommandLine::Mode::Error);
        QTest::newRow("seconds at the end of the clock")
            << QStringList{"--batch", "a", "--seconds", "2147483647"}
            << int(CommandLine::Mode::Batch);
        QTest::newRow("seconds beyond the clock")
            << QStringList{"--batch", "a", "--seconds", "2147483648"}
            << int(CommandLine::Mode::Error);
        QTest::newRow("picture over the configuration")
            << QStringList{"--batch", "a.C14", "--png", "./a.C14"} << int(CommandLine::Mode::Error);
        QTest::newRow("rows over the configuration")
            << QStringList{"--batch", "a.C14", "--csv", "a.C14"} << int(CommandLine::Mode::Error);
        QTest::newRow("two outputs in one file")
            << QStringList{"--batch", "a.C14", "--png", "x", "--pdf", "x"}
            << int(CommandLine::Mode::Error);
        QTest::newRow("rows on the standard output, the picture in a file")
            << QStringList{"--batch", "a.C14", "--csv", "-", "--png", "x"}
            << int(CommandLine::Mode::Batch);
        QTest::newRow("a picture twice as large")
            << QStringList{"--batch", "a.C14", "--png", "x", "--echelle", "2"}
            << int(CommandLine::Mode::Batch);
        QTest::newRow("a scale of zero")
            << QStringList{"--batch", "a.C14", "--png", "x", "--echelle", "0"}
            << int(CommandLine::Mode::Error);
        QTest::newRow("a scale beyond four")
            << QStringList{"--batch", "a.C14", "--png", "x", "--echelle", "5"}
            << int(CommandLine::Mode::Error);
        QTest::newRow("a scale without a picture")
            << QStringList{"--batch", "a.C14", "--echelle", "2"} << int(CommandLine::Mode::Error);
        QTest::newRow("a scale that is no whole number")
            << QStringList{"--batch", "a.C14", "--png", "x", "--echelle", "1,5"}
            << int(CommandLine::Mode::Error);
        QTest::newRow("devices take several outputs")
            << QStringList{"--batch", "a.C14", "--png", "/dev/null", "--pdf", "/dev/null"}
            << int(CommandLine::Mode::Batch);
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, mode);
        std::vector<std::string> args;
        for (const auto& a : arguments) {
            args.push_back(a.toStdString());
        }
        QCOMPARE(int(CommandLine::parse(args).mode), mode);
    }

    // Another name of the configuration, through a link, is refused too, and
    // the message says which option named it.
    void outputThroughALinkToTheConfiguration() {
        const auto p = write("lien-cible.C14", records("1", "3", "3", "4"));
        const QString link = m_dir.path() + "/lien.png";
        QVERIFY(QFile::link(QString::fromStdString(p), link));
        const auto options = CommandLine::parse({"--batch", p, "--png", link.toStdString()});
        QCOMPARE(int(options.mode), int(CommandLine::Mode::Error));
        QVERIFY2(QString::fromStdString(options.error)
                     .startsWith("--png désigne le fichier de "
                                 "configuration"),
                 options.error.c_str());
    }

    void csvReplacesTheOldFileWhole() {
        const auto p = write("nacl.C14", records("1", "3", "3", "4"));
        const QString csv = m_dir.path() + "/mesures.csv";
        testing::putContent(csv, QByteArray(100000, 'a'));
        QVERIFY(QFile::setPermissions(csv, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        const unsigned mode = testing::modeOf(csv);
        const Run r = run({"--batch", p, "--seconds", "3", "--csv", csv.toStdString()});
        QCOMPARE(r.status, 0);
        const QByteArray written = testing::contentOf(csv);
        QVERIFY(written.startsWith("t_s,I_A,U_V"));
        QCOMPARE(written.count('\n'), 5);
        QCOMPARE(testing::modeOf(csv), mode);
    }

    void csvOnAFullDiskKeepsTheOldFile() {
        testing::SmallDisk disk;
        IONARIA_NEED_SMALL_DISK(disk);
        const auto p = write("nacl.C14", records("1", "3", "3", "4"));
        const QString csv = disk.path("mesures.csv");
        const QByteArray old = "t_s,ancien\n" + QByteArray(30000, '1');
        testing::putContent(csv, old);
        QVERIFY(disk.fill());
        const Run r = run({"--batch", p, "--seconds", "2000", "--csv", csv.toStdString()});
        QCOMPARE(r.status, int(BatchMode::outputError));
        QCOMPARE(r.err, "Ecriture impossible sur disque : " + csv.toStdString() + "\n");
        QVERIFY(r.out.empty());
        QCOMPARE(testing::contentOf(csv), old);
        QCOMPARE(disk.names(), QStringList{"mesures.csv"});
    }

    void failingOutputsEndWithStatus4_data() {
        QTest::addColumn<QString>("csv");
        QTest::addColumn<bool>("standardOutputFails");
        QTest::addColumn<QString>("message");
        QTest::newRow("rows onto /dev/full") << "/dev/full" << false << "/dev/full";
        QTest::newRow("rows onto a failing standard output") << "-" << true << "sortie standard";
        QTest::newRow("summary onto a failing standard output") << "" << true << "sortie standard";
    }
    void failingOutputsEndWithStatus4() {
        QFETCH(QString, csv);
        QFETCH(bool, standardOutputFails);
        QFETCH(QString, message);
        if (csv == "/dev/full" && !QFileInfo::exists(csv)) {
            QSKIP("this system has no /dev/full");
        }
        const auto p = write("nacl.C14", records("1", "3", "3", "4"));
        std::vector<std::string> arguments{"--batch", p, "--seconds", "3"};
        if (!csv.isEmpty()) {
            arguments.insert(arguments.end(), {"--csv", csv.toStdString()});
        }
        std::ostringstream captured;
        std::ostream failing(nullptr);
        std::ostringstream err;
        const int status = BatchMode::run(CommandLine::parse(arguments),
                                          standardOutputFails ? failing : captured, err);
        QCOMPARE(status, int(BatchMode::outputError));
        QCOMPARE(QString::fromStdString(err.str()),
                 "Ecriture impossible sur disque : " + message + "\n");
    }

    void csvRows() {
        const auto p = write("nacl.C14", records("1", "3", "3", "4"));
        const Run r = run({"--batch", p, "--seconds", "5", "--csv", "-"});
        QCOMPARE(r.status, 0);
        const auto rows = lines(r.out);
        QCOMPARE(rows.size(), 7);
        QCOMPARE(rows[0], QString("t_s,I_A,U_V,m_G_g,m_D_g,code_G,code_D,Cl-,SO4 2-,H+,Fe2+,Fe3+,"
                                  "Na+,Zn2+,Al3+,Cu2+,ions_G,ions_D,HO-,pH"));
        for (int i = 1; i < rows.size(); ++i) {
            const auto cells = rows[i].split(',');
            QCOMPARE(cells.size(), 20);
            // Each chloride ion oxidised leaves a HO- in its place.
            QVERIFY(qAbs(cells[18].toDouble() + cells[7].toDouble() -
                         rows[1].split(',')[7].toDouble()) < 1e-12);
            QVERIFY(cells[19].toDouble() >= 7.0);
            QCOMPARE(cells[0].toInt(), i - 1);
            QCOMPARE(cells[5], QString("3"));
            QCOMPARE(cells[6], QString("1"));
            QVERIFY(qAbs(cells[2].toDouble() - 3.0) < 1e-9);
        }
        // Chloride is used up at one electron per ion, each step converting
        // the current of the step before.
        const double first = rows[1].split(',')[7].toDouble();
        const double last = rows[6].split(',')[7].toDouble();
        double charge = 0.0;
        for (int i = 1; i <= 5; ++i) {
            charge += rows[i].split(',')[1].toDouble();
        }
        QVERIFY(qAbs((first - last) - charge / 96500) < 1e-12);
    }

    // With the option of the concentrations, the potentials of G and D
    // close every row and the summary; a copper cell at 0,01 | 1 mol/L
    // starts at 0,34 - 0,05916 V and 0,34 V and evens out.
    void csvPotentials() {
        auto r21 = records("0", "1", "1", "4");
        r21[17] = "1";
        r21.emplace_back("1");
        const auto p = write("concentration.C14", r21);
        const Run r = run({"--batch", p, "--seconds", "30", "--csv", "-"});
        QCOMPARE(r.status, 0);
        const auto rows = lines(r.out);
        QCOMPARE(rows.size(), 32);
        QCOMPARE(rows[0], QString("t_s,I_A,U_V,m_G_g,m_D_g,code_G,code_D,Cl-,SO4 2-,H+,Fe2+,Fe3+,"
                                  "Na+,Zn2+,Al3+,Cu2+,ions_G,ions_D,HO-,pH,E_G_V,E_D_V"));
        double gap = 1.0;
        for (int i = 1; i < rows.size(); ++i) {
            const auto cells = rows[i].split(',');
            QCOMPARE(cells.size(), 22);
            // The cell has no vessel: its columns are empty.
            for (const int vessel : {5, 6, 7, 15, 18, 19}) {
                QVERIFY(cells[vessel].isEmpty());
            }
            const double eG = cells[20].toDouble();
            const double eD = cells[21].toDouble();
            if (i == 1) {
                QVERIFY(qAbs(eG - 0.28084) < 1e-5);
                QVERIFY(qAbs(eD - 0.34) < 1e-5);
            }
            QVERIFY(eD - eG <= gap);
            QVERIFY(eD - eG > 0.05);
            gap = eD - eG;
        }
        QVERIFY(gap < rows[1].split(',')[21].toDouble() - rows[1].split(',')[20].toDouble());

        const Run summary = run({"--batch", p, "--seconds", "1"});
        QCOMPARE(summary.status, 0);
        QVERIFY2(summary.out.find("Potentiels : E(G) = 0,281 V   E(D) = 0,340 V\n") !=
                     std::string::npos,
                 summary.out.c_str());
        // Without record 21 the same cell is refused, as before.
        auto plain = records("0", "1", "1", "4");
        plain[17] = "1";
        const Run off = run({"--batch", write("off.C14", plain), "--csv", "-"});
        QCOMPARE(off.status, int(BatchMode::refused));
        QVERIFY(off.out.empty());
    }

    // The rows of each dialect and the summary are the same whatever the C
    // library's locale: those of a run under "C", whose numbers a line of
    // the output shows written in the dialect's own way.
    void sameRunInEveryLocale_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("line");
        testing::addRowsInEveryLocale("rows", QStringList{"--csv", "-"},
                                      "^0,0\\.0[0-9]+,-?[0-9]\\.[0-9]+,10,10,");
        testing::addRowsInEveryLocale("spreadsheet rows",
                                      QStringList{"--csv", "-", "--format-csv", "tableur"},
                                      "^0;0,0[0-9]+;-?[0-9],[0-9]+;10;10;");
        testing::addRowsInEveryLocale("summary", QStringList{}, "^Intensité : [0-9]+,[0-9] mA$");
    }
    void sameRunInEveryLocale() {
        QFETCH(QByteArray, locale);
        QFETCH(QStringList, options);
        QFETCH(QString, line);
        std::vector<std::string> arguments{
            "--batch", write("cell.C14", records("0", "1", "3", "4")), "--seconds", "30"};
        for (const QString& option : options) {
            arguments.push_back(option.toStdString());
        }
        const Run reference = [&arguments] {
            const testing::ScopedCLocale classic("C");
            return run(arguments);
        }();
        IONARIA_USE_LOCALE(locale.constData());
        const Run r = run(arguments);
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, reference.out);
        const QRegularExpression shown(line, QRegularExpression::MultilineOption);
        QVERIFY2(QString::fromStdString(r.out).contains(shown), r.out.c_str());
    }

    void summaryAndDefaultDuration() {
        const auto p = write("cell.C14", records("0", "1", "3", "4"));
        const Run r = run({"--batch", p});
        QCOMPARE(r.status, 0);
        QVERIFY(r.err.empty());
        QVERIFY(r.out.find("Durée : 10 min 0 s") != std::string::npos);
        QVERIFY(r.out.find("Électrode G : Cu2+ + 2 e- → Cu") != std::string::npos);
        QVERIFY(r.out.find("Électrode D : Zn → Zn2+ + 2 e-") != std::string::npos);
        // The voltage is the one across the 10-ohm resistor, in mV as the
        // current is in mA.
        const auto milli = [&r](const char* name, const char* unit) {
            const QRegularExpression line(QString::fromUtf8(name) +
                                          QStringLiteral(" : (-?[0-9,]+) ") +
                                          QString::fromUtf8(unit) + QStringLiteral("\n"));
            const auto match = line.match(QString::fromStdString(r.out));
            return match.hasMatch() ? match.captured(1).replace(',', '.').toDouble() : 0.0;
        };
        const double milliamperes = milli("Intensité", "mA");
        QVERIFY(milliamperes > 1.0);
        QVERIFY(qAbs(milli("Tension", "mV") + 10.0 * milliamperes) < 0.6);
    }

    void programmedStopEndsTheRun() {
        const auto p = write("stop.C14", records("1", "3", "3", "4", "1", "42"));
        const Run r = run({"--batch", p, "--csv", "-"});
        QCOMPARE(r.status, 0);
        QCOMPARE(lines(r.out).last().split(',').first(), QString("42"));
    }

    void noCurrentEndsTheRun() {
        auto r0 = records("0", "2", "2", "4");
        const auto p = write("iron.C14", r0);
        const Run r = run({"--batch", p, "--csv", "-"});
        QCOMPARE(r.status, 0);
        const auto rows = lines(r.out);
        QCOMPARE(rows.size(), 2); // the header and the one step in which time stood still
        QCOMPARE(rows[1].split(',')[0], QString("0"));
        QCOMPARE(rows[1].split(',')[1], QString("0"));
    }

    // The page and the browser checks run the batch with no output through
    // runFor: it must stop where the batch stops, however the run ends.
    void runForEndsWhereTheBatchEnds_data() {
        QTest::addColumn<std::vector<std::string>>("configuration");
        QTest::addColumn<int>("seconds");
        QTest::newRow("cell, asked duration") << records("0", "1", "3", "4") << 600;
        QTest::newRow("programmed stop first") << records("1", "3", "3", "4", "1", "42") << 600;
        QTest::newRow("no current") << records("0", "2", "2", "4") << 600;
        QTest::newRow("electrolysis, an hour") << records("1", "3", "3", "4") << 3600;
        QTest::newRow("no second asked") << records("1", "3", "3", "4") << 0;
    }
    void runForEndsWhereTheBatchEnds() {
        QFETCH(std::vector<std::string>, configuration);
        QFETCH(int, seconds);
        const auto p = write("runfor.C14", configuration);
        const Run batch = run({"--batch", p, "--seconds", std::to_string(seconds)});
        QCOMPARE(batch.status, 0);

        sim::Engine engine;
        sim::Handlers handlers(engine);
        handlers.startup();
        QVERIFY(!config::ConfigFile::load(p, handlers));
        BatchMode::runFor(engine, seconds);
        QCOMPARE(BatchMode::summary(engine), batch.out);
    }

    void failures_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << 0 << 2 << "Nom de fichier incorrect ou chemin non valide";
        QTest::newRow("not a configuration")
            << 1 << 2 << "Ce fichier ne correspond pas à cette application";
        QTest::newRow("refused") << 2 << 3 << "Réaction spontanée à la surface des électrodes :";
    }
    void failures() {
        QFETCH(int, kind);
        QFETCH(int, status);
        QFETCH(QString, message);
        std::string p = m_dir.path().toStdString() + "/none.C14";
        if (kind == 1) {
            p = write("other.C14", {"AUTRE"});
        } else if (kind == 2) {
            p = write("refused.C14", records("1", "4", "3", "0"));
        }
        const Run r = run({"--batch", p, "--csv", "-"});
        QCOMPARE(r.status, status);
        QVERIFY2(QString::fromStdString(r.err).contains(message), r.err.c_str());
        QVERIFY(r.out.empty());
    }
};

QTEST_GUILESS_MAIN(BatchModeTest)
#include "BatchModeTest.moc"
