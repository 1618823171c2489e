// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/RecordFile.h"
#include "config/ConfigFile.h"
#include "exercises/ExerciseFiles.h"
#include "sim/Engine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Ionaria;
using exercises::ExerciseFiles;

namespace {

std::vector<std::string> descriptorNaming(const std::string& statement) {
    return {statement, "", "", "", "1", "", "", "", "", "", "Titre", "1"};
}

QString joined(const ExerciseFiles::Opening& opening) {
    QStringList all;
    for (const auto& message : opening.messages) {
        all << QString::fromStdString(message.title + " | " + message.text);
    }
    return all.join(QLatin1Char('\n'));
}

} // namespace

// What the messages of the exercises and of the saves say when a file is not
// what it should be: what happened, the name shown as it is.
class RefusalsTest : public QObject {
    Q_OBJECT

private slots:
    void exerciseOpening_data();
    void exerciseOpening();
    void folderNotWritableIsNamed();
};

void RefusalsTest::exerciseOpening_data() {
    QTest::addColumn<QString>("descriptor"); // in the folder
    QTest::addColumn<QString>("statement");  // record 1; empty: the descriptor is not one
    QTest::addColumn<QString>("said");
    QTest::newRow("statement is a device") << "exo.E37"
                                           << "/dev/zero"
                                           << "n'est pas un fichier";
    QTest::newRow("statement is a folder") << "exo.E37"
                                           << "dossier"
                                           << "n'est pas un fichier";
    QTest::newRow("descriptor is a folder") << "dossier"
                                            << ""
                                            << "n'est pas un fichier";
    QTest::newRow("descriptor is a pipe") << "tube.E37"
                                          << ""
                                          << "n'est pas un fichier";
    QTest::newRow("a configuration") << "pile.C14"
                                     << ""
                                     << "n'est pas un exercice";
    QTest::newRow("control character shown") << "exo.E37" << QStringLiteral("enon\u0001c\u00e9.RTF")
                                             << "enon\\x01cé.RTF est introuvable";
}

void RefusalsTest::exerciseOpening() {
    QFETCH(QString, descriptor);
    QFETCH(QString, statement);
    QFETCH(QString, said);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir("dossier"));
    QCOMPARE(::mkfifo(dir.filePath("tube.E37").toLocal8Bit().constData(), 0600), 0);
    sim::Engine engine;
    QVERIFY(!config::ConfigFile::save(dir.filePath("pile.C14").toStdString(), engine.params()));
    if (!statement.isEmpty()) {
        if (statement.contains(QChar(1))) {
            // The file the control character hides is there, under its real name.
            QFile real(dir.filePath(statement));
            QVERIFY(real.open(QIODevice::WriteOnly));
        }
        QCOMPARE(base::RecordFile::writeAll(dir.filePath(descriptor).toStdString(),
                                            descriptorNaming(statement.toStdString())),
                 base::RecordFile::Status::Ok);
    }
    const auto opening =
        ExerciseFiles::open(dir.filePath(descriptor).toStdString(), ExerciseFiles::Part::Statement);
    QVERIFY(!opening.text);
    QVERIFY2(joined(opening).contains(said), qPrintable(joined(opening)));
}

void RefusalsTest::folderNotWritableIsNamed() {
    if (::geteuid() == 0) {
        QSKIP("root writes into read-only folders; the run as an ordinary user checks this");
    }
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("pile.C14");
    sim::Engine engine;
    QVERIFY(!config::ConfigFile::save(path.toStdString(), engine.params()));
    // The file may be written; its folder takes no new file.
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const auto message = config::ConfigFile::save(path.toStdString(), engine.params());
    QVERIFY(
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QVERIFY(message.has_value());
    const QString text = QString::fromStdString(message->text);
    QVERIFY2(text.contains(QStringLiteral("Le dossier ") + dir.path()), qPrintable(text));
    QVERIFY2(!text.contains(QStringLiteral("disque")), qPrintable(text));
}

QTEST_MAIN(RefusalsTest)
#include "RefusalsTest.moc"
