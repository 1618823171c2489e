// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/RecordFile.h"
#include "exercises/ExerciseDescriptor.h"
#include "exercises/ExerciseFiles.h"
#include "exercises/ExerciseMessage.h"
#include "exercises/FileRefusals.h"

#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <fstream>

using Ionaria::base::RecordFile;
using Ionaria::exercises::ExerciseDescriptor;
using Ionaria::exercises::ExerciseFiles;
using Ionaria::exercises::ExerciseMessage;
namespace fs = std::filesystem;

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(Ionaria::exercises::ExerciseMessage)

namespace {

void touch(const fs::path& path, const std::string& content = "{\\rtf1 x}") {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

std::vector<std::string> records(const std::string& statement, const std::string& configuration,
                                 const std::string& correction,
                                 const std::string& correctionConfiguration) {
    return {statement,   configuration, correction, correctionConfiguration, "2", "", "Pile ",
            "Daniell, ", "polarité",    "",         "Pile cuivre-zinc",      "3"};
}

} // namespace

class DescriptorTest : public QObject {
    Q_OBJECT

private slots:
    void parsesRecords_data();
    void parsesRecords();
    void correctedRule_data();
    void correctedRule();
    void readsFiles();
    void refusesUnreadableFiles_data();
    void refusesUnreadableFiles();
    void messagesHaveTheirTexts_data();
    void messagesHaveTheirTexts();
    void locatesNames_data();
    void locatesNames();
    void opensParts();

private:
    QTemporaryDir m_dir;
    fs::path root() const { return fs::path(m_dir.path().toStdString()); }
};

void DescriptorTest::parsesRecords_data() {
    QTest::addColumn<std::string>("levelRecord");
    QTest::addColumn<std::string>("durationRecord");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("hourglasses");

    QTest::newRow("plain") << std::string("2") << std::string("4") << 2 << 4;
    QTest::newRow("spaces") << std::string(" 3 ") << std::string(" 1") << 3 << 1;
    QTest::newRow("followed by words") << std::string("1 facile") << std::string("2 h") << 1 << 2;
    QTest::newRow("too large") << std::string("7") << std::string("99999999999999") << 3 << 10;
    QTest::newRow("negative") << std::string("-1") << std::string("-3") << 0 << 0;
    QTest::newRow("not a number") << std::string("x") << std::string("") << 0 << 0;
}

void DescriptorTest::parsesRecords() {
    QFETCH(std::string, levelRecord);
    QFETCH(std::string, durationRecord);
    QFETCH(int, level);
    QFETCH(int, hourglasses);
    std::vector<std::string> values = records(" enonce.rtf ", "pile.C14", "", "");
    values[4] = levelRecord;
    values[5] = "réservé";
    values[10] = "  Pile cuivre-zinc  ";
    values[11] = durationRecord;
    const ExerciseDescriptor descriptor = ExerciseDescriptor::fromRecords(values);
    QCOMPARE(descriptor.level, level);
    QCOMPARE(descriptor.hourglasses, hourglasses);
    QCOMPARE(descriptor.statement, std::string("enonce.rtf"));
    QCOMPARE(descriptor.statementConfiguration, std::string("pile.C14"));
    QCOMPARE(descriptor.record6, std::string("réservé"));
    QCOMPARE(descriptor.notions, std::string("Pile Daniell, polarité"));
    QCOMPARE(descriptor.title, std::string("Pile cuivre-zinc"));
}

void DescriptorTest::correctedRule_data() {
    QTest::addColumn<std::string>("correction");
    QTest::addColumn<std::string>("configuration");
    QTest::addColumn<bool>("corrected");

    QTest::newRow("both blank") << std::string() << std::string() << false;
    QTest::newRow("both spaces") << std::string("   ") << std::string(" ") << false;
    QTest::newRow("text only") << std::string("corrige.rtf") << std::string() << true;
    QTest::newRow("configuration only") << std::string() << std::string("fin.C14") << true;
}

void DescriptorTest::correctedRule() {
    QFETCH(std::string, correction);
    QFETCH(std::string, configuration);
    QFETCH(bool, corrected);
    const ExerciseDescriptor descriptor =
        ExerciseDescriptor::fromRecords(records("e.rtf", "", correction, configuration));
    QCOMPARE(descriptor.corrected(), corrected);
    QCOMPARE(descriptor.correctionLabel(),
             std::string(corrected ? "Exercice corrigé" : "Non corrigé"));
}

void DescriptorTest::readsFiles() {
    const fs::path file = root() / "read" / "cuivre.E37";
    fs::create_directories(file.parent_path());
    std::vector<std::string> values = records("énoncé.rtf", "", "", "");
    values[10] = "Électrolyse à anode soluble";
    QCOMPARE(RecordFile::writeAll(file.string(), values), RecordFile::Status::Ok);
    const auto descriptor = ExerciseDescriptor::read(file);
    QVERIFY(descriptor);
    QCOMPARE(descriptor->title, std::string("Électrolyse à anode soluble"));
    QCOMPARE(descriptor->statement, std::string("énoncé.rtf"));
    QCOMPARE(descriptor->level, 2);
    QCOMPARE(descriptor->hourglasses, 3);
    QCOMPARE(descriptor->correctionLabel(), std::string("Non corrigé"));

    // A descriptor with fewer records reads the others as blank.
    const fs::path shortFile = root() / "read" / "court.E37";
    QCOMPARE(RecordFile::writeAll(shortFile.string(), {"a.rtf", "b.C14"}), RecordFile::Status::Ok);
    const auto shortDescriptor = ExerciseDescriptor::read(shortFile);
    QVERIFY(shortDescriptor);
    QCOMPARE(shortDescriptor->statementConfiguration, std::string("b.C14"));
    QCOMPARE(shortDescriptor->title, std::string());
    QVERIFY(!shortDescriptor->corrected());
}

void DescriptorTest::refusesUnreadableFiles_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("asFolder");

    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("folder") << QByteArray() << true;
    QTest::newRow("length over 126") << QByteArray("\xC8\x00"
                                                   "abc",
                                                   5) +
                                            QByteArray(123, ' ')
                                     << false;
    QTest::newRow("length past the end") << QByteArray("\x10\x00"
                                                       "abc",
                                                       5)
                                         << false;
    QTest::newRow("record cut in its length")
        << QByteArray(128, '\0') + QByteArray("\x01", 1) << false;
}

void DescriptorTest::refusesUnreadableFiles() {
    QFETCH(QByteArray, content);
    QFETCH(bool, asFolder);
    const fs::path file = root() / "bad" / (std::string(QTest::currentDataTag()) + ".E37");
    fs::create_directories(file.parent_path());
    if (asFolder) {
        fs::create_directories(file);
    } else if (!content.isEmpty()) {
        touch(file, content.toStdString());
    }
    QVERIFY(!ExerciseDescriptor::read(file));
    const ExerciseFiles::Opening opening =
        ExerciseFiles::open(file, ExerciseFiles::Part::Statement);
    QVERIFY(!opening.text);
    QVERIFY(!opening.configuration);
    // A folder is told as what it is, not as a file that could not be read.
    const ExerciseMessage told =
        asFolder ? Ionaria::exercises::notAFile(file.string()) : ExerciseMessage::cannotRead();
    QCOMPARE(opening.messages, std::vector<ExerciseMessage>{told});
}

void DescriptorTest::messagesHaveTheirTexts_data() {
    QTest::addColumn<ExerciseMessage>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("question");

    QTest::newRow("cannot read") << ExerciseMessage::cannotRead()
                                 << QStringLiteral("Lecture impossible")
                                 << QStringLiteral(
                                        "Vérifier:\n- le nom du fichier,\n- l'état du lecteur.")
                                 << false;
    QTest::newRow("missing file") << ExerciseMessage::fileMissing("/exos/", "pile.rtf")
                                  << QStringLiteral("Fichier absent")
                                  << QStringLiteral("Le fichier /exos/pile.rtf est introuvable")
                                  << false;
    QTest::newRow("installation") << ExerciseMessage::installationIncomplete()
                                  << QStringLiteral("Fichier absent")
                                  << QStringLiteral(
                                         "Fichier introuvable. Revoir l'installation du logiciel.")
                                  << false;
    QTest::newRow("abandon") << ExerciseMessage::abandonEdits()
                             << QStringLiteral("Abandon des données?")
                             << QStringLiteral("Attention: perte des modifications du texte.")
                             << true;
    QTest::newRow("overwrite")
        << ExerciseMessage::overwrite("/home/eleve/reponse.rtf")
        << QStringLiteral("Ecraser le fichier?")
        << QStringLiteral("Le fichier /home/eleve/reponse.rtf existe déjà.\nEcraser l'ancien?")
        << true;
}

void DescriptorTest::messagesHaveTheirTexts() {
    QFETCH(ExerciseMessage, message);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(bool, question);
    QCOMPARE(QString::fromStdString(message.title), title);
    QCOMPARE(QString::fromStdString(message.text), text);
    QCOMPARE(message.icon == ExerciseMessage::Icon::Question, question);
    QCOMPARE(message.buttons == ExerciseMessage::Buttons::OkCancel, question);
}

void DescriptorTest::locatesNames_data() {
    QTest::addColumn<std::string>("name");
    QTest::addColumn<QString>("expected"); // relative to the test root; "-" for nothing

    const std::string outside = (root() / "autre" / "externe.rtf").string();
    QTest::newRow("inside") << std::string("enonce.rtf") << QStringLiteral("exo/enonce.rtf");
    QTest::newRow("subfolder with backslash")
        << std::string("textes\\corrige.rtf") << QStringLiteral("exo/textes/corrige.rtf");
    QTest::newRow("other case") << std::string("ENONCE.RTF") << QStringLiteral("exo/enonce.rtf");
    QTest::newRow("other case in folder")
        << std::string("Textes\\Corrige.RTF") << QStringLiteral("exo/textes/corrige.rtf");
    QTest::newRow("inside and missing")
        << std::string("absent.rtf") << QStringLiteral("exo/absent.rtf");
    QTest::newRow("parent, existing")
        << std::string("..\\autre\\externe.rtf") << QStringLiteral("exo/../autre/externe.rtf");
    QTest::newRow("parent, missing") << std::string("../autre/absent.rtf") << QStringLiteral("-");
    QTest::newRow("down then up, missing")
        << std::string("textes/../../absent.rtf") << QStringLiteral("-");
    QTest::newRow("absolute, existing") << outside << QStringLiteral("autre/externe.rtf");
    QTest::newRow("absolute, missing")
        << (root() / "nulle" / "part.rtf").string() << QStringLiteral("-");
    QTest::newRow("drive letter") << std::string("C:\\EXOS\\pile.rtf") << QStringLiteral("-");
    QTest::newRow("blank") << std::string() << QStringLiteral("-");
    QTest::newRow("control character") << std::string("enonce.rtf\0x", 12) << QStringLiteral("-");
}

void DescriptorTest::locatesNames() {
    QFETCH(std::string, name);
    QFETCH(QString, expected);
    touch(root() / "exo" / "enonce.rtf");
    touch(root() / "exo" / "textes" / "corrige.rtf");
    touch(root() / "autre" / "externe.rtf");
    const auto located = ExerciseFiles::locate(root() / "exo", name);
    if (expected == QStringLiteral("-")) {
        QVERIFY(!located);
        return;
    }
    QVERIFY(located);
    QCOMPARE(QString::fromStdString(located->lexically_normal().string()),
             QString::fromStdString((root() / expected.toStdString()).lexically_normal().string()));
}

void DescriptorTest::opensParts() {
    const fs::path folder = root() / "ouvrir";
    touch(folder / "enonce.rtf");
    touch(folder / "pile.C14", "KIVAR");
    const fs::path complete = folder / "complet.E37";
    QCOMPARE(RecordFile::writeAll(complete.string(),
                                  records("enonce.rtf", "pile.C14", "absent.rtf", "")),
             RecordFile::Status::Ok);
    const ExerciseFiles::Opening statement =
        ExerciseFiles::open(complete, ExerciseFiles::Part::Statement);
    QVERIFY(statement.descriptor);
    QCOMPARE(statement.text, std::optional<fs::path>(folder / "enonce.rtf"));
    QCOMPARE(statement.configuration, std::optional<fs::path>(folder / "pile.C14"));
    QVERIFY(statement.messages.empty());

    const ExerciseFiles::Opening correction =
        ExerciseFiles::open(complete, ExerciseFiles::Part::Correction);
    QVERIFY(!correction.text);
    QVERIFY(!correction.configuration);
    QCOMPARE(correction.messages, std::vector<ExerciseMessage>{ExerciseMessage::fileMissing(
                                      ExerciseFiles::folderText(complete), "absent.rtf")});
    QVERIFY(QString::fromStdString(correction.messages.front().text)
                .endsWith(QStringLiteral("ouvrir/absent.rtf est introuvable")));

    const fs::path blank = folder / "vide.E37";
    QCOMPARE(RecordFile::writeAll(blank.string(), records("  ", "", "", "")),
             RecordFile::Status::Ok);
    QCOMPARE(ExerciseFiles::open(blank, ExerciseFiles::Part::Statement).messages,
             std::vector<ExerciseMessage>{ExerciseMessage::cannotRead()});
    const ExerciseFiles::Opening noCorrection =
        ExerciseFiles::open(blank, ExerciseFiles::Part::Correction);
    QVERIFY(noCorrection.messages.empty());
    QVERIFY(!noCorrection.text);

    const fs::path escaping = folder / "sortie.E37";
    QCOMPARE(RecordFile::writeAll(escaping.string(),
                                  records("enonce.rtf", "..\\..\\absent.C14", "", "")),
             RecordFile::Status::Ok);
    const ExerciseFiles::Opening refused =
        ExerciseFiles::open(escaping, ExerciseFiles::Part::Statement);
    QVERIFY(refused.text);
    QVERIFY(!refused.configuration);
    QCOMPARE(refused.messages.size(), std::size_t{1});
    QCOMPARE(refused.messages.front().title, std::string("Fichier absent"));
}

QTEST_GUILESS_MAIN(DescriptorTest)
#include "DescriptorTest.moc"
