// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/DescriptorWriter.h"
#include "base/RecordFile.h"
#include "exercises/ExerciseDescriptor.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <iterator>

using Ionaria::base::RecordFile;
using Ionaria::exercises::DescriptorWriter;
using Ionaria::exercises::ExerciseDescriptor;
using Field = DescriptorWriter::Field;
using Problem = DescriptorWriter::Problem;
namespace fs = std::filesystem;

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(DescriptorWriter::Field)
Q_DECLARE_METATYPE(DescriptorWriter::Problem)

namespace {

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ExerciseDescriptor sample() {
    ExerciseDescriptor d;
    d.statement = "pile-enonce.RTF";
    d.statementConfiguration = "pile.C14";
    d.correction = "pile-correction.RTF";
    d.correctionConfiguration = "pile.C14";
    d.level = 2;
    d.notions = "Polarité, demi-équations.";
    d.title = "La pile";
    d.hourglasses = 3;
    return d;
}

// The text of record n (from 1) of a file's bytes, as its bytes.
std::string recordBytes(const std::string& file, int n) {
    return file.substr(static_cast<std::size_t>(n - 1) * RecordFile::recordSize,
                       RecordFile::recordSize);
}

} // namespace

class DescriptorWriterTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    fs::path path(const char* name) const { return fs::path(m_dir.path().toStdString()) / name; }

private slots:
    // Read, then written again, every shipped descriptor comes back byte for
    // byte: the writer lays records out as the files the chooser was made for.
    void rewritesShippedDescriptors_data() {
        QTest::addColumn<QString>("file");
        const QDir folder(QStringLiteral(IONARIA_SOURCE_DATA "/exercices"));
        int count = 0;
        for (const QString& name : folder.entryList({"*.E37", "KIVAR.PEM"}, QDir::Files)) {
            QTest::newRow(qPrintable(name)) << folder.filePath(name);
            ++count;
        }
        QVERIFY(count >= 8);
    }
    void rewritesShippedDescriptors() {
        QFETCH(QString, file);
        const auto descriptor = ExerciseDescriptor::read(file.toStdString());
        QVERIFY(descriptor.has_value());
        QVERIFY(!DescriptorWriter::check(*descriptor).has_value());
        const std::string shipped = bytesOf(file.toStdString());
        QCOMPARE(shipped.size(), std::size_t{12 * 128});
        QCOMPARE(DescriptorWriter::encode(*descriptor), shipped);
    }

    void refusals_data() {
        QTest::addColumn<Field>("field");
        QTest::addColumn<std::string>("value");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<Problem>("problem");

        std::string accents;
        for (int i = 0; i < 126; ++i) {
            accents += "é"; // two bytes of UTF-8, one of Windows-1252
        }
        QTest::newRow("126 bytes")
            << Field::Statement << std::string(122, 'a') + ".RTF" << false << Problem::TooLong;
        QTest::newRow("127 bytes")
            << Field::Statement << std::string(123, 'a') + ".RTF" << true << Problem::TooLong;
        QTest::newRow("126 accents, counted in the code page")
            << Field::Correction << accents << false << Problem::TooLong;
        QTest::newRow("127 accents")
            << Field::Correction << accents + "é" << true << Problem::TooLong;
        QTest::newRow("euro sign, in the code page")
            << Field::StatementConfiguration << std::string("prix-€.C14") << false
            << Problem::NotWindows1252;
        QTest::newRow("subscript two")
            << Field::Statement << std::string("H₂O.RTF") << true << Problem::NotWindows1252;
        QTest::newRow("Greek") << Field::CorrectionConfiguration << std::string("Δ.C14") << true
                               << Problem::NotWindows1252;
        QTest::newRow("slash") << Field::Statement << std::string("textes/pile.RTF") << true
                               << Problem::PathSeparator;
        QTest::newRow("backslash")
            << Field::StatementConfiguration << std::string("configs\\pile.C14") << true
            << Problem::PathSeparator;
        QTest::newRow("parent folder")
            << Field::Correction << std::string("..") << true << Problem::PathSeparator;
        QTest::newRow("tab") << Field::Correction << std::string("a\tb.RTF") << true
                             << Problem::ControlCharacter;
        QTest::newRow("no statement")
            << Field::Statement << std::string("  ") << true << Problem::Blank;
        QTest::newRow("no correction")
            << Field::Correction << std::string() << false << Problem::Blank;
        QTest::newRow("no title") << Field::Title << std::string(" ") << true << Problem::Blank;
        QTest::newRow("long title")
            << Field::Title << std::string(127, 't') << true << Problem::TooLong;
        QTest::newRow("title with an arrow")
            << Field::Title << std::string("Cu → Cu²⁺") << true << Problem::NotWindows1252;
        QTest::newRow("notions over four records")
            << Field::Notions << std::string(505, 'n') << true << Problem::TooLong;
        QTest::newRow("notions filling four records")
            << Field::Notions << std::string(504, 'n') << false << Problem::TooLong;
    }
    void refusals() {
        QFETCH(Field, field);
        QFETCH(std::string, value);
        QFETCH(bool, refused);
        QFETCH(Problem, problem);
        ExerciseDescriptor d = sample();
        std::string* target = nullptr;
        switch (field) {
        case Field::Statement:
            target = &d.statement;
            break;
        case Field::StatementConfiguration:
            target = &d.statementConfiguration;
            break;
        case Field::Correction:
            target = &d.correction;
            break;
        case Field::CorrectionConfiguration:
            target = &d.correctionConfiguration;
            break;
        case Field::Notions:
            target = &d.notions;
            break;
        case Field::Title:
            target = &d.title;
            break;
        case Field::Level:
        case Field::Hourglasses:
            QFAIL("not a text");
        }
        *target = value;

        // A refused descriptor leaves the file it would replace as it was.
        const fs::path file = path("refus.E37");
        QVERIFY(DescriptorWriter::write(file, sample(), false).ok());
        const std::string before = bytesOf(file);
        const auto result = DescriptorWriter::write(file, d, false);
        QCOMPARE(result.refusal.has_value(), refused);
        if (!refused) {
            QVERIFY(result.ok());
            const auto back = ExerciseDescriptor::read(file);
            QVERIFY(back.has_value());
            QCOMPARE(field == Field::Notions ? back->notions : back->correction,
                     field == Field::Notions ? value : d.correction);
            return;
        }
        QCOMPARE(result.refusal->field, field);
        QCOMPARE(result.refusal->problem, problem);
        QCOMPARE(bytesOf(file), before);
        QVERIFY(!DescriptorWriter::message(*result.refusal).empty());
    }

    void refusesNumbersOutOfRange_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("hourglasses");
        QTest::addColumn<bool>("refused");
        QTest::newRow("highest") << 3 << 10 << false;
        QTest::newRow("lowest") << 0 << 0 << false;
        QTest::newRow("level 4") << 4 << 1 << true;
        QTest::newRow("negative level") << -1 << 1 << true;
        QTest::newRow("eleven hourglasses") << 1 << 11 << true;
    }
    void refusesNumbersOutOfRange() {
        QFETCH(int, level);
        QFETCH(int, hourglasses);
        QFETCH(bool, refused);
        ExerciseDescriptor d = sample();
        d.level = level;
        d.hourglasses = hourglasses;
        QCOMPARE(DescriptorWriter::check(d).has_value(), refused);
    }

    void messagesName_data() {
        QTest::addColumn<Field>("field");
        QTest::addColumn<std::string>("value");
        QTest::addColumn<QString>("part");
        QTest::newRow("too long") << Field::Statement << std::string(130, 'a')
                                  << QString("130 octets, 126 au plus");
        QTest::newRow("character")
            << Field::Statement << std::string("H₂.RTF") << QString("le caractère « ₂ »");
        QTest::newRow("separator") << Field::Correction << std::string("a/b.RTF")
                                   << QString("Le nom du fichier de la correction « a/b.RTF »");
    }
    void messagesName() {
        QFETCH(Field, field);
        QFETCH(std::string, value);
        QFETCH(QString, part);
        const auto refusal = DescriptorWriter::checkName(field, value);
        QVERIFY(refusal.has_value());
        QVERIFY2(QString::fromStdString(DescriptorWriter::message(*refusal)).contains(part),
                 DescriptorWriter::message(*refusal).c_str());
    }

    // Notions are cut at 126 bytes of the code page, never inside a character,
    // since each takes one byte.
    void cutsNotions() {
        std::string notions;
        for (int i = 0; i < 150; ++i) {
            notions += i % 2 == 0 ? "é" : "x";
        }
        const auto pieces = DescriptorWriter::cutNotions(notions);
        QVERIFY(pieces.has_value());
        QCOMPARE((*pieces)[0].size(), std::size_t{126});
        QCOMPARE((*pieces)[1].size(), std::size_t{24});
        QVERIFY((*pieces)[2].empty());
        ExerciseDescriptor d = sample();
        d.notions = notions;
        const fs::path file = path("notions.E37");
        QVERIFY(DescriptorWriter::write(file, d, false).ok());
        QCOMPARE(ExerciseDescriptor::read(file)->notions, notions);
    }

    // An edited descriptor keeps, byte for byte, record 6 (padding included)
    // and any record after the twelfth: no field stands for them.
    void keepsOtherRecords() {
        const fs::path file = path("garde.E37");
        std::string original = DescriptorWriter::encode(sample());
        std::string record6(128, '\0');
        record6[0] = 5;
        record6.replace(2, 5, "libre");
        record6[100] = '\x7f'; // something beyond the text
        original.replace(5 * 128, 128, record6);
        const std::string extra = *RecordFile::encodeRecord("treizième") + "queue";
        original += extra;
        { std::ofstream(file, std::ios::binary) << original; }
        ExerciseDescriptor edited = *ExerciseDescriptor::read(file);
        edited.title = "La pile, revue";
        edited.level = 3;
        QVERIFY(DescriptorWriter::write(file, edited, true).ok());
        const std::string after = bytesOf(file);
        QCOMPARE(recordBytes(after, 6), record6);
        QCOMPARE(after.substr(12 * 128), extra);
        QCOMPARE(ExerciseDescriptor::read(file)->title, std::string("La pile, revue"));
        QCOMPARE(recordBytes(after, 5), *RecordFile::encodeRecord("3"));
        for (int n : {1, 2, 3, 4, 7, 8, 9, 10, 12}) {
            QCOMPARE(recordBytes(after, n), recordBytes(original, n));
        }
        // Written anew, the same descriptor has an empty record 6 and twelve records.
        QVERIFY(DescriptorWriter::write(file, edited, false).ok());
        QCOMPARE(bytesOf(file).size(), std::size_t{12 * 128});
    }
};

QTEST_GUILESS_MAIN(DescriptorWriterTest)
#include "DescriptorWriterTest.moc"
