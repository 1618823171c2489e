// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CarefulFile.h"
#include "base/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using Ionaria::base::CarefulFile;
using Ionaria::base::RecordFile;

namespace {

constexpr qint64 secondsAgoOld = 120;
constexpr qint64 secondsAgoYoung = 5;

void makeFile(const QString& path, qint64 secondsAgo) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("KIVAR, à moitié écrit");
    file.close();
    const QDateTime when = QDateTime::currentDateTime().addSecs(-secondsAgo);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
}

} // namespace

// What saves killed before their end leave beside their file, and what a
// later save of that file takes away: its own leftovers, nothing else.
class LeftoversTest : public QObject {
    Q_OBJECT

private slots:
    void saveRemovesLeftovers_data();
    void saveRemovesLeftovers();
    void recordFilesToo();
};

void LeftoversTest::saveRemovesLeftovers_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("age"); // s
    QTest::addColumn<bool>("removed");
    QTest::newRow("a killed save's") << ".essai.C14.k3x9a0qz.tmp" << secondsAgoOld << true;
    QTest::newRow("a save in progress") << ".essai.C14.k3x9a0qz.tmp" << secondsAgoYoung << false;
    QTest::newRow("another file's") << ".autre.C14.k3x9a0qz.tmp" << secondsAgoOld << false;
    QTest::newRow("a longer suffix") << ".essai.C14.k3x9a0qz1.tmp" << secondsAgoOld << false;
    QTest::newRow("capitals") << ".essai.C14.K3X9A0QZ.tmp" << secondsAgoOld << false;
    QTest::newRow("another ending") << ".essai.C14.k3x9a0qz.bak" << secondsAgoOld << false;
    QTest::newRow("not hidden") << "essai.C14.k3x9a0qz.tmp" << secondsAgoOld << false;
}

void LeftoversTest::saveRemovesLeftovers() {
    QFETCH(QString, name);
    QFETCH(qint64, age);
    QFETCH(bool, removed);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString leftover = dir.filePath(name);
    makeFile(leftover, age);
    // A folder and a link of the same name pattern are never removed.
    const QString folder = dir.filePath(".essai.C14.dossier0.tmp");
    QVERIFY(QDir().mkpath(folder));
    const QString link = dir.filePath(".essai.C14.lien0000.tmp");
    QVERIFY(QFile::link(leftover, link));
    QVERIFY(CarefulFile::writeAll(dir.filePath("essai.C14").toStdString(), "KIVAR").ok());
    QCOMPARE(QFileInfo::exists(leftover), !removed);
    QVERIFY(QFileInfo(folder).isDir());
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(),
             removed ? 2 : 3);
}

void LeftoversTest::recordFilesToo() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString leftover = dir.filePath(".essai.C14.00000000.tmp");
    makeFile(leftover, secondsAgoOld);
    const bool root = ::geteuid() == 0;
    const QString others = dir.filePath(".essai.C14.11111111.tmp");
    makeFile(others, secondsAgoOld);
    if (root) {
        // Another user's file, in a folder shared with them.
        QCOMPARE(::chown(others.toLocal8Bit().constData(), 65534, 65534), 0);
    }
    QCOMPARE(RecordFile::writeAll(dir.filePath("essai.C14").toStdString(), {"KIVAR", "1"}),
             RecordFile::Status::Ok);
    QVERIFY(!QFileInfo::exists(leftover));
    QCOMPARE(QFileInfo::exists(others), root);
}

QTEST_MAIN(LeftoversTest)
#include "LeftoversTest.moc"
