// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CarefulFile.h"
#include "base/RecordFile.h"
#include "support/ActingAs.h"
#include "support/SmallDisk.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <ostream>

#include <sys/stat.h>
#include <unistd.h>

using namespace Ionaria::base;
using Ionaria::testing::ActingAs;
using Ionaria::testing::contentOf;
using Ionaria::testing::modeOf;
using Ionaria::testing::putContent;
using Ionaria::testing::SmallDisk;

namespace {

bool isLink(const QString& path) {
    struct stat info {};
    return ::lstat(path.toLocal8Bit().constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

std::string_view view(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace

class CarefulFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString at(const QString& name) const { return m_dir.path() + "/" + name; }
    QStringList names() const {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private slots:
    void init() {
        for (const QString& name : names()) {
            QFileInfo(at(name)).isDir() ? QDir(at(name)).removeRecursively()
                                        : QFile::remove(at(name));
        }
    }

    void newFileTakesTheUsualMode() {
        const mode_t mask = ::umask(027);
        const auto result = CarefulFile::writeAll(at("neuf.csv").toStdString(), "a,b\n");
        ::umask(mask);
        QVERIFY(result.ok());
        QCOMPARE(contentOf(at("neuf.csv")), QByteArray("a,b\n"));
        QCOMPARE(modeOf(at("neuf.csv")), 0640U);
        QCOMPARE(names(), QStringList{"neuf.csv"});
    }

    void replacedFileKeepsItsMode_data() {
        QTest::addColumn<unsigned>("mode");
        QTest::newRow("private") << 0600U;
        QTest::newRow("group reads") << 0640U;
        QTest::newRow("shared") << 0664U;
        QTest::newRow("executable") << 0755U;
    }
    void replacedFileKeepsItsMode() {
        QFETCH(unsigned, mode);
        putContent(at("a.C14"), "ancien");
        QVERIFY(::chmod(at("a.C14").toLocal8Bit().constData(), mode) == 0);
        QVERIFY(CarefulFile::writeAll(at("a.C14").toStdString(), "nouveau").ok());
        QCOMPARE(contentOf(at("a.C14")), QByteArray("nouveau"));
        QCOMPARE(modeOf(at("a.C14")), mode);
        QCOMPARE(names(), QStringList{"a.C14"});
    }

    void linksAreWrittenThrough_data() {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("points");
        QTest::addColumn<QString>("target");
        QTest::newRow("absolute") << "lien.C14" << at("vrai.C14") << "vrai.C14";
        QTest::newRow("relative, in a folder") << "lien.C14"
                                               << "sous/vrai.C14"
                                               << "sous/vrai.C14";
        QTest::newRow("chain") << "lien.C14"
                               << "lien2.C14"
                               << "vrai.C14";
        QTest::newRow("dangling") << "lien.C14"
                                  << "absent.C14"
                                  << "absent.C14";
    }
    void linksAreWrittenThrough() {
        QFETCH(QString, link);
        QFETCH(QString, points);
        QFETCH(QString, target);
        QDir(m_dir.path()).mkdir("sous");
        if (QTest::currentDataTag() != QByteArray("dangling")) {
            putContent(at(target), "ancien");
            QVERIFY(::chmod(at(target).toLocal8Bit().constData(), 0604) == 0);
        }
        if (QTest::currentDataTag() == QByteArray("chain")) {
            QVERIFY(::symlink("vrai.C14", at("lien2.C14").toLocal8Bit().constData()) == 0);
        }
        QVERIFY(::symlink(points.toLocal8Bit().constData(), at(link).toLocal8Bit().constData()) ==
                0);
        CarefulFile file(at(link).toStdString());
        QVERIFY(file.open().ok());
        QCOMPARE(QFileInfo(QString::fromStdString(file.target())).canonicalFilePath(),
                 QFileInfo(at(target)).canonicalFilePath());
        QVERIFY(file.write("nouveau").ok());
        QVERIFY(file.commit().ok());
        QVERIFY(isLink(at(link)));
        QCOMPARE(contentOf(at(target)), QByteArray("nouveau"));
        if (QTest::currentDataTag() != QByteArray("dangling")) {
            QCOMPARE(modeOf(at(target)), 0604U);
        }
    }

    void whatCannotBeReplaced_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("status");
        QTest::newRow("a folder") << 0 << int(CarefulFile::Status::NotAFile);
        QTest::newRow("links in a circle") << 1 << int(CarefulFile::Status::NotAFile);
        QTest::newRow("a missing folder") << 2 << int(CarefulFile::Status::CannotCreate);
        QTest::newRow("no name") << 3 << int(CarefulFile::Status::CannotCreate);
    }
    void whatCannotBeReplaced() {
        QFETCH(int, kind);
        QFETCH(int, status);
        QString path = at("dossier.C14");
        if (kind == 0) {
            QDir(m_dir.path()).mkdir("dossier.C14");
        } else if (kind == 1) {
            QVERIFY(::symlink("b", at("a").toLocal8Bit().constData()) == 0);
            QVERIFY(::symlink("a", at("b").toLocal8Bit().constData()) == 0);
            path = at("a");
        } else if (kind == 2) {
            path = at("absent/x.C14");
        } else {
            path.clear();
        }
        const QStringList before = names();
        const auto result = CarefulFile::writeAll(path.toStdString(), "x");
        QCOMPARE(int(result.status), status);
        QVERIFY(result.error != 0);
        QCOMPARE(names(), before);
    }

    // A teacher's protected file stays as it is, as a plain write would have
    // left it; root is made to act as another user to see the same.
    void protectedFileIsKept() {
        QVERIFY(QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7777)));
        putContent(at("protege.C14"), "ancien");
        QVERIFY(::chmod(at("protege.C14").toLocal8Bit().constData(), 0444) == 0);
        CarefulFile::Result result;
        {
            const ActingAs user;
            if (!user.acting()) {
                QSKIP("root could not act as another user here");
            }
            result = CarefulFile::writeAll(at("protege.C14").toStdString(), "nouveau");
        }
        QCOMPARE(int(result.status), int(CarefulFile::Status::NotWritable));
        QCOMPARE(result.error, EACCES);
        QCOMPARE(contentOf(at("protege.C14")), QByteArray("ancien"));
        QCOMPARE(modeOf(at("protege.C14")), 0444U);
        QCOMPARE(names(), QStringList{"protege.C14"});
    }

    void devicesAreWrittenInPlace_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("error");
        QTest::newRow("/dev/null") << "/dev/null" << true << 0;
        QTest::newRow("/dev/full") << "/dev/full" << false << ENOSPC;
    }
    void devicesAreWrittenInPlace() {
        QFETCH(QString, device);
        QFETCH(bool, ok);
        QFETCH(int, error);
        if (!QFileInfo::exists(device)) {
            QSKIP("this system has no such device");
        }
        CarefulFile file(device.toStdString());
        QVERIFY(file.open().ok());
        const std::string bytes(100000, 'x');
        file.write(bytes);
        const auto result = file.commit();
        QCOMPARE(result.ok(), ok);
        QCOMPARE(result.error, error);
        QVERIFY(QFileInfo(device).exists() && !QFileInfo(device).isFile());
    }

    void abandonedWriteKeepsTheOldFile() {
        putContent(at("a.rtf"), "ancien");
        {
            CarefulFile file(at("a.rtf").toStdString());
            QVERIFY(file.open().ok());
            QVERIFY(file.write("nouveau, mais pas fini").ok());
        }
        QCOMPARE(contentOf(at("a.rtf")), QByteArray("ancien"));
        QCOMPARE(names(), QStringList{"a.rtf"});
    }

    // On a disk full to the last byte, whatever the size of the new content
    // and however it is written.
    void fullDiskKeepsTheOldFile_data() {
        QTest::addColumn<int>("newBytes");
        QTest::addColumn<bool>("streamed");
        QTest::newRow("shorter, at once") << 3 << false;
        QTest::newRow("longer, at once") << 200000 << false;
        QTest::newRow("longer, streamed") << 200000 << true;
    }
    void fullDiskKeepsTheOldFile() {
        QFETCH(int, newBytes);
        QFETCH(bool, streamed);
        SmallDisk disk;
        IONARIA_NEED_SMALL_DISK(disk);
        QByteArray old;
        for (int i = 0; i < 3000; ++i) {
            old += "ligne " + QByteArray::number(i) + "\n";
        }
        putContent(disk.path("mesures.csv"), old);
        QVERIFY(disk.fill());
        const QByteArray fresh(newBytes, 'n');
        CarefulFile::Result result;
        if (streamed) {
            CarefulFile file(disk.stdPath("mesures.csv"));
            QVERIFY(file.open().ok());
            CarefulStreamBuf buffer(file);
            std::ostream out(&buffer);
            for (int i = 0; i < newBytes / 10 && out; ++i) {
                out << "123456789\n";
            }
            out.flush();
            QVERIFY(!out);
            result = file.commit();
        } else {
            result = CarefulFile::writeAll(disk.stdPath("mesures.csv"), view(fresh));
        }
        QCOMPARE(int(result.status), int(CarefulFile::Status::WriteFailed));
        QCOMPARE(result.error, ENOSPC);
        QCOMPARE(contentOf(disk.path("mesures.csv")), old);
        QCOMPARE(disk.names(), QStringList{"mesures.csv"});
    }

    // The temporary file shared with the other program is changed in place
    // (the same file, which the other may hold open), and a full disk leaves
    // it as it was.
    void recordsChangeInPlace() {
        SmallDisk disk;
        IONARIA_NEED_SMALL_DISK(disk);
        const std::string p = disk.stdPath("TEMPZK.TMP");
        QCOMPARE(RecordFile::writeOne(p, 13, "OUI"), RecordFile::Status::Ok);
        struct stat before {};
        QVERIFY(::stat(p.c_str(), &before) == 0);
        QVERIFY(disk.fill());
        const QByteArray old = contentOf(disk.path("TEMPZK.TMP"));
        QCOMPARE(RecordFile::writeOne(p, 64, "exercice.E37"), RecordFile::Status::WriteError);
        QCOMPARE(contentOf(disk.path("TEMPZK.TMP")), old);
        QCOMPARE(RecordFile::writeOne(p, 13, "NON"), RecordFile::Status::Ok);
        QCOMPARE(RecordFile::readOne(p, 13).value, std::string("NON"));
        struct stat after {};
        QVERIFY(::stat(p.c_str(), &after) == 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_size, before.st_size);
    }

    void recordFileOnAFullDisk() {
        SmallDisk disk;
        IONARIA_NEED_SMALL_DISK(disk);
        const std::string p = disk.stdPath("config.C14");
        QCOMPARE(RecordFile::writeAll(p, {"KIVAR", "0"}), RecordFile::Status::Ok);
        const QByteArray old = contentOf(disk.path("config.C14"));
        QVERIFY(disk.fill());
        QCOMPARE(RecordFile::writeAll(p, std::vector<std::string>(20, "KIVAR")),
                 RecordFile::Status::WriteError);
        QCOMPARE(contentOf(disk.path("config.C14")), old);
        QCOMPARE(disk.names(), QStringList{"config.C14"});
    }
};

QTEST_GUILESS_MAIN(CarefulFileTest)
#include "CarefulFileTest.moc"
