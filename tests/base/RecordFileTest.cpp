// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/RecordFile.h"
#include "base/Windows1252.h"
#include "support/FileBytes.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Ionaria::base;
using Ionaria::testing::readBytes;
using Ionaria::testing::writeBytes;

namespace {

std::string record(std::uint16_t length, const std::string& body) {
    std::string r(RecordFile::recordSize, '\0');
    r[0] = static_cast<char>(length & 0xFF);
    r[1] = static_cast<char>(length >> 8);
    r.replace(2, body.size(), body);
    return r;
}

} // namespace

class RecordFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::string path(const char* name) const { return (m_dir.path() + "/" + name).toStdString(); }

private slots:
    void writesPaddedRecords() {
        const std::string p = path("a.C14");
        QCOMPARE(RecordFile::writeAll(p, {"KIVAR", "", "Électrolyse"}), RecordFile::Status::Ok);
        const std::string bytes = readBytes(p);
        QCOMPARE(bytes.size(), std::size_t{3 * 128});
        QCOMPARE(bytes.substr(0, 7), std::string("\x05\x00KIVAR", 7));
        QCOMPARE(bytes.find_first_not_of('\0', 7), std::size_t{256});
        QCOMPARE(bytes.substr(128, 2), std::string("\0\0", 2));
        // "É" is one byte, 0xC9, in the file.
        QCOMPARE(bytes.substr(256, 3), std::string("\x0b\x00\xc9", 3));
        const auto back = RecordFile::readAll(p, 3);
        QCOMPARE(back.status, RecordFile::Status::Ok);
        QCOMPARE(back.values, (std::vector<std::string>{"KIVAR", "", "Électrolyse"}));
    }

    void refusesTooLongTexts() {
        const std::string p = path("long.C14");
        QVERIFY(RecordFile::encodeRecord(std::string(126, 'x')).has_value());
        QVERIFY(!RecordFile::encodeRecord(std::string(127, 'x')).has_value());
        QCOMPARE(RecordFile::writeAll(p, {std::string(127, 'x')}), RecordFile::Status::TooLong);
        QVERIFY(!QFile::exists(QString::fromStdString(p)));
    }

    void failedSaveKeepsTheOldFile() {
        const std::string p = path("keep.C14");
        QCOMPARE(RecordFile::writeAll(p, {"old"}), RecordFile::Status::Ok);
        QCOMPARE(RecordFile::writeAll(p, {"new", std::string(200, 'x')}),
                 RecordFile::Status::TooLong);
        QCOMPARE(RecordFile::readAll(p, 1).values.front(), std::string("old"));
        const std::string inMissingFolder = path("missing/x.C14");
        QCOMPARE(RecordFile::writeAll(inMissingFolder, {"x"}), RecordFile::Status::WriteError);
    }

    void readsDamagedFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("second");
        const auto bytes = [](const std::string& s) {
            return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
        };
        const std::string first = record(5, "KIVAR");
        QTest::newRow("short file reads empty")
            << bytes(first) << int(RecordFile::Status::Ok) << "";
        QTest::newRow("length over 126")
            << bytes(first + record(127, "x")) << int(RecordFile::Status::BadRecord) << "";
        QTest::newRow("huge length")
            << bytes(first + record(0xFFFF, "x")) << int(RecordFile::Status::BadRecord) << "";
        QTest::newRow("truncated record") << bytes(first + record(10, "0123456789").substr(0, 6))
                                          << int(RecordFile::Status::BadRecord) << "";
        QTest::newRow("one byte left")
            << bytes(first + "\x01") << int(RecordFile::Status::BadRecord) << "";
        QTest::newRow("partial last record holding its text")
            << bytes(first + record(2, "ok").substr(0, 4)) << int(RecordFile::Status::Ok) << "ok";
        QTest::newRow("high bytes")
            << bytes(first + record(2, "\x80\xe9")) << int(RecordFile::Status::Ok) << "€é";
    }
    void readsDamagedFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        QFETCH(QString, second);
        const std::string p = path("damaged.C14");
        writeBytes(p, bytes.toStdString());
        const auto result = RecordFile::readAll(p, 3);
        QCOMPARE(int(result.status), status);
        if (result.status == RecordFile::Status::Ok) {
            QCOMPARE(QString::fromStdString(result.values[1]), second);
            QCOMPARE(result.values[2], std::string());
        } else {
            QVERIFY(result.values.empty());
        }
    }

    void missingFile() {
        QCOMPARE(RecordFile::readAll(path("none.C14"), 20).status, RecordFile::Status::CannotOpen);
        QCOMPARE(RecordFile::readOne(path("none.C14"), 1).status, RecordFile::Status::CannotOpen);
    }

    void writesOneRecordAmongOthers() {
        const std::string p = path("TEMPZK.TMP");
        QCOMPARE(RecordFile::writeOne(p, 13, "OUI"), RecordFile::Status::Ok);
        QCOMPARE(readBytes(p).size(), std::size_t{13 * 128});
        QCOMPARE(RecordFile::writeOne(p, 31, "exo.E37"), RecordFile::Status::Ok);
        QCOMPARE(RecordFile::writeOne(p, 13, "NON"), RecordFile::Status::Ok);
        QCOMPARE(RecordFile::readOne(p, 13).value, std::string("NON"));
        QCOMPARE(RecordFile::readOne(p, 31).value, std::string("exo.E37"));
        QCOMPARE(RecordFile::readOne(p, 1).value, std::string());
        QCOMPARE(RecordFile::readOne(p, 40).value, std::string());
        QCOMPARE(RecordFile::readOne(p, 0).status, RecordFile::Status::BadRecord);
    }

    void windows1252_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << "KIVAR" << QByteArray("KIVAR");
        QTest::newRow("accents") << "éàçù" << QByteArray("\xe9\xe0\xe7\xf9");
        QTest::newRow("euro and quotes") << "€‘’œ" << QByteArray("\x80\x91\x92\x9c");
        QTest::newRow("half") << "½" << QByteArray("\xbd");
        QTest::newRow("unmappable") << "Ω→" << QByteArray("??");
        QTest::newRow("beyond the first plane") << "a😀b" << QByteArray("a?b");
    }
    void windows1252() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const std::string encoded = utf8ToWindows1252(text.toStdString());
        QCOMPARE(QByteArray::fromStdString(encoded), bytes);
        if (!bytes.contains('?')) {
            QCOMPARE(QString::fromStdString(windows1252ToUtf8(encoded)), text);
        }
        // A text that must come back as written is refused rather than
        // changed.
        const auto exact = utf8ToWindows1252Exactly(text.toStdString());
        QCOMPARE(exact.has_value(), !bytes.contains('?'));
        if (exact) {
            QCOMPARE(*exact, encoded);
        }
    }
    void malformedUtf8() {
        QCOMPARE(utf8ToWindows1252("a\xc3"), std::string("a?"));
        QCOMPARE(utf8ToWindows1252("\xff\xfe"), std::string("??"));
        // A sequence cut short at the end: each of its bytes is one mistake.
        QCOMPARE(utf8ToWindows1252("x\xe2\x82"), std::string("x??"));
        QCOMPARE(utf8ToWindows1252("\xc3("), std::string("?("));
        for (const char* bad : {"a\xc3", "\xff", "x\xe2\x82", "\xc3("}) {
            QVERIFY2(!utf8ToWindows1252Exactly(bad), bad);
        }
        // Every byte survives a round trip, the unassigned ones included.
        std::string all;
        for (int b = 1; b < 256; ++b) {
            all.push_back(static_cast<char>(b));
        }
        QCOMPARE(utf8ToWindows1252(windows1252ToUtf8(all)), all);
    }
};

QTEST_GUILESS_MAIN(RecordFileTest)
#include "RecordFileTest.moc"
