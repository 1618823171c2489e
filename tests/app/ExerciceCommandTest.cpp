// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Result {
    int status = -1;
    QString out;
    QString err;
};

Result ionaria(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(IONARIA_BINARY), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

// "ionaria --exercice": a descriptor written from options, and printed, as a
// teacher's script does it.
class ExerciceCommandTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void writesThenReads() {
        const QString file = path("pile.E37");
        const QString notions = QString(130, 'n') + QStringLiteral(" : électrodes");
        const Result written =
            ionaria({"--exercice", file, "--intitule", "La pile à l'étude", "--enonce",
                     "pile-enonce.RTF", "--configuration-enonce", "pile.C14", "--correction",
                     "pile-correction.RTF", "--niveau", "3", "--notions", notions, "--duree", "4"});
        QCOMPARE(written.status, 0);
        QVERIFY(written.err.isEmpty());
        QCOMPARE(QFileInfo(file).size(), qint64(12 * 128));
        const Result read = ionaria({"--exercice", file, "--lire"});
        QCOMPARE(read.status, 0);
        QCOMPARE(read.out, QStringLiteral("intitule : La pile à l'étude\n"
                                          "enonce : pile-enonce.RTF\n"
                                          "configuration-enonce : pile.C14\n"
                                          "correction : pile-correction.RTF\n"
                                          "configuration-correction : \n"
                                          "niveau : 3\n"
                                          "notions : ") +
                               notions + QStringLiteral("\nduree : 4\n"));
    }

    // A refused descriptor is not written, and the status says why.
    void refusals_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const QStringList base{"--intitule", "Titre", "--enonce", "e.RTF"};
        QTest::newRow("separator") << (QStringList{"--intitule", "T", "--enonce", "textes/e.RTF"})
                                   << 3 << "n'est pas un simple nom";
        QTest::newRow("not Windows-1252")
            << (QStringList{"--intitule", "Cu → Cu²⁺", "--enonce", "e.RTF"}) << 3
            << "le caractère « → »";
        QTest::newRow("127 bytes")
            << (QStringList{"--intitule", "T", "--enonce", QString(123, 'e') + ".RTF"}) << 3
            << "127 octets, 126 au plus";
        QTest::newRow("level 4") << (base + QStringList{"--niveau", "4"}) << 1 << "--niveau";
        QTest::newRow("duration 11") << (base + QStringList{"--duree", "11"}) << 1 << "--duree";
        QTest::newRow("no statement") << (QStringList{"--intitule", "T"}) << 1 << "--enonce";
        QTest::newRow("reading and writing") << (base + QStringList{"--lire"}) << 1 << "--lire";
    }
    void refusals() {
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QString, message);
        const QString file = path("refus.E37");
        const Result r = ionaria(QStringList{"--exercice", file} + options);
        QCOMPARE(r.status, status);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(!QFile::exists(file));
    }

    void optionsWithoutExercice() {
        const Result r = ionaria({"--intitule", "T"});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("--exercice"));
    }

    void readsWhatCannotBeRead() {
        const Result r = ionaria({"--exercice", path("absent.E37"), "--lire"});
        QCOMPARE(r.status, 2);
        QVERIFY(r.err.contains("absent.E37"));
    }

    void helpNamesTheOptions() {
        const Result r = ionaria({"--help"});
        for (const char* option :
             {"--exercice", "--intitule", "--enonce", "--correction", "--configuration-enonce",
              "--configuration-correction", "--niveau", "--notions", "--duree", "--lire"}) {
            QVERIFY2(r.out.contains(QLatin1String(option)), option);
        }
    }
};

QTEST_GUILESS_MAIN(ExerciceCommandTest)
#include "ExerciceCommandTest.moc"
