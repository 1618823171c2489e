// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowFixture.h"
#include "ui/MainWindow.h"
#include "ui/SingleInstance.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

using Ionaria::ui::MainWindow;
using Ionaria::ui::SingleInstance;

using namespace windowtest;

namespace {

// What a run killed with SIGKILL leaves: a socket file nobody listens on.
bool leaveDeadServer(const QString& name) {
    const QByteArray path = QDir(QDir::tempPath()).filePath(name).toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(path.size()) >= sizeof(address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound =
        fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    return bound;
}

} // namespace

// A second start of the program on the folder of a running window: it hands
// its file to that window and ends, so that one run tells the temporary file.
class SecondStartTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void handsItsFileOver_data();
    void handsItsFileOver();
};

void SecondStartTest::handsItsFileOver_data() {
    QTest::addColumn<bool>("deadServer");
    QTest::newRow("first run") << false;
    QTest::newRow("after a run killed") << true;
}

void SecondStartTest::handsItsFileOver() {
    QFETCH(bool, deadServer);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (deadServer) {
        QVERIFY(leaveDeadServer(SingleInstance::serverName(dir.path())));
    }
    SingleInstance instance(dir.path());
    QVERIFY(instance.serve());
    MainWindow w(dir.path());
    instance.deliverTo(w);
    w.show();
    QCOMPARE(record(dir.path(), TempFile::recordRunning), QStringLiteral("OUI"));

    const QString exercise = QStringLiteral(IONARIA_SOURCE_DATA "/exercices/pile-cuivre-zinc.E37");
    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(environment);
    QSignalSpy finished(&second, &QProcess::finished);
    second.start(QStringLiteral(IONARIA_PROGRAM),
                 {QStringLiteral("--dossier"), dir.path(), exercise});
    QVERIFY(second.waitForStarted());
    QVERIFY(finished.wait(20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QTRY_VERIFY(w.fich->text().endsWith(QStringLiteral("pile-cuivre-zinc.E37")));
    // The second start never wrote the record: the window still runs.
    QCOMPARE(record(dir.path(), TempFile::recordRunning), QStringLiteral("OUI"));
}

QTEST_MAIN(SecondStartTest)
#include "SecondStartTest.moc"
