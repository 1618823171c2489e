// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowFixture.h"
#include "exercises/ExerciseSession.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using Ionaria::ui::MainWindow;

using namespace windowtest;

namespace {

constexpr const char* exercise = "data/exercices/pile-cuivre-zinc.E37";

void copyShippedExercises(const QString& folder) {
    const QString shipped = QStringLiteral(IONARIA_SOURCE_DATA) + "/exercices";
    const QString copy = QDir(folder).filePath("data/exercices");
    QDir().mkpath(copy);
    for (const QString& name : QDir(shipped).entryList(QDir::Files)) {
        QFile::copy(shipped + "/" + name, copy + "/" + name);
    }
}

QString tempPath(const QString& folder) {
    return QDir(folder).filePath(QString::fromLatin1(TempFile::fileName));
}

void activate(MainWindow& w) {
    QEvent activation(QEvent::WindowActivate);
    QApplication::sendEvent(&w, &activation);
}

// Closes the window through its quit path, answering its questions.
void quit(MainWindow& w) {
    BoxAnswerer answerer({QMessageBox::Ok, QMessageBox::Ok});
    w.close();
}

// Lets a reader blocked on a named pipe go on after a while, so that a
// program that waits there fails the test instead of hanging it.
class PipeReleaser {
public:
    explicit PipeReleaser(QString path)
        : m_thread([this, path = std::move(path)] {
              for (int i = 0; i < 40 && !m_stop; ++i) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(100));
              }
              const int fd = ::open(path.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK);
              if (fd >= 0) {
                  ::close(fd);
              }
          }) {}
    ~PipeReleaser() {
        m_stop = true;
        m_thread.join();
    }

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace

// The temporary file the main program shares with the window, as a
// classroom may leave it: a request that cannot be cleared, a link, a pipe,
// a folder in its place.
class TempFileWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void requestTakenOnce_data();
    void requestTakenOnce();
    void abandonDefaultsToCancel();
    void notARegularFile_data();
    void notARegularFile();
};

void TempFileWindowTest::requestTakenOnce_data() {
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("cleared") << false;
    QTest::newRow("read-only") << true;
}

void TempFileWindowTest::requestTakenOnce() {
    QFETCH(bool, readOnly);
    if (readOnly && ::geteuid() == 0) {
        QSKIP("root writes read-only files; the run as an ordinary user checks this row");
    }
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    copyShippedExercises(dir.path());
    MainWindow w(dir.path());
    RecordFile::writeOne(tempPath(dir.path()).toStdString(), TempFile::recordExercise, exercise);
    if (readOnly) {
        QVERIFY(QFile::setPermissions(tempPath(dir.path()), QFile::ReadOwner | QFile::ReadGroup));
    }
    activate(w);
    QVERIFY(w.fich->text().endsWith(QLatin1String(exercise)));
    QCOMPARE(w.exercises().openedFromOutside(), 1);
    QCOMPARE(w.info->text().contains(QStringLiteral("ne peut pas être effacée")), readOnly);
    QCOMPARE(record(dir.path(), TempFile::recordExercise),
             readOnly ? QString::fromLatin1(exercise) : QString());

    // The pupil answers; the window is activated again and again.
    w.supertext->moveCursor(QTextCursor::End);
    w.supertext->insertPlainText(QStringLiteral("Ma réponse"));
    QCOMPARE(w.exercises().texteModifie(), 1);
    w.info->setText(QStringLiteral("indice"));
    BoxAnswerer answerer({QMessageBox::Ok});
    for (int i = 0; i < 3; ++i) {
        activate(w);
    }
    QCOMPARE(answerer.seen.size(), 0);
    QVERIFY(w.supertext->toPlainText().contains(QStringLiteral("Ma réponse")));
    QCOMPARE(w.info->text(), QStringLiteral("indice"));
    if (readOnly) {
        QVERIFY(QFile::setPermissions(tempPath(dir.path()), QFile::ReadOwner | QFile::WriteOwner));
    }
    quit(w);
}

void TempFileWindowTest::abandonDefaultsToCancel() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    copyShippedExercises(dir.path());
    MainWindow w(dir.path());
    w.show();
    QVERIFY(w.openExerciseFile(QDir(dir.path()).filePath(exercise)));
    w.supertext->insertPlainText(QStringLiteral("Ma réponse"));
    QCOMPARE(w.exercises().texteModifie(), 1);
    QString title;
    bool cancelIsDefault = false;
    Poller poller([&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(top);
            if (box != nullptr && box->isVisible()) {
                title = box->windowTitle();
                cancelIsDefault = static_cast<QAbstractButton*>(box->defaultButton()) ==
                                  box->button(QMessageBox::Cancel);
                box->button(QMessageBox::Cancel)->click();
                return true;
            }
        }
        return false;
    });
    w.close();
    QVERIFY(poller.done());
    QCOMPARE(title, QStringLiteral("Abandon des données?"));
    QVERIFY(cancelIsDefault);
    QVERIFY(w.isVisible());
    QCOMPARE(record(dir.path(), TempFile::recordRunning), QStringLiteral("OUI"));
}

void TempFileWindowTest::notARegularFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("note");
    QTest::newRow("symbolic link") << "link"
                                   << "lien symbolique";
    QTest::newRow("named pipe") << "pipe"
                                << "n'est pas un fichier";
    QTest::newRow("folder") << "folder"
                            << "n'est pas un fichier";
}

void TempFileWindowTest::notARegularFile() {
    QFETCH(QString, kind);
    QFETCH(QString, note);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    copyShippedExercises(dir.path());
    const QString path = tempPath(dir.path());
    // A statement the link leads to: it must come out as it went in.
    const QString target = QDir(dir.path()).filePath("data/exercices/pile-cuivre-zinc.E37");
    QFile original(target);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    original.close();
    if (kind == QLatin1String("link")) {
        QVERIFY(QFile::link(target, path));
    } else if (kind == QLatin1String("pipe")) {
        QCOMPARE(::mkfifo(path.toLocal8Bit().constData(), 0600), 0);
    } else {
        QVERIFY(QDir().mkpath(path));
    }
    const PipeReleaser releaser(path);
    QElapsedTimer clock;
    clock.start();
    {
        MainWindow w(dir.path());
        w.show();
        activate(w);
        QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(w.info->text().contains(note), qPrintable(w.info->text()));
        // Told once: the next activations leave the hint line alone.
        w.info->setText(QStringLiteral("indice"));
        activate(w);
        QCOMPARE(w.info->text(), QStringLiteral("indice"));
        quit(w);
    }
    QVERIFY(original.open(QIODevice::ReadOnly));
    QCOMPARE(original.readAll(), before);
    QCOMPARE(QFileInfo(path).isSymLink(), kind == QLatin1String("link"));
}

QTEST_MAIN(TempFileWindowTest)
#include "TempFileWindowTest.moc"
