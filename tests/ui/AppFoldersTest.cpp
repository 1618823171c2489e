// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AppFolders.h"
#include "ui/TempFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using Ionaria::ui::AppFolders;
using Ionaria::ui::TempFile;

namespace {

// One tree per test: a --dossier folder, a program installed under prefix/
// (its executable in prefix/bin), a personal and a system standard data
// folder, and a per-user application folder that does not exist yet.
struct Tree {
    QTemporaryDir root;

    QString path(const QString& relative) const {
        return QDir::cleanPath(QDir(root.path()).filePath(relative));
    }
    // Creates each entry; a name ending in "/" is a folder.
    void create(const QStringList& entries) const {
        for (const QString& entry : entries) {
            if (entry.endsWith('/')) {
                QVERIFY(QDir().mkpath(path(entry)));
                continue;
            }
            QVERIFY(QDir().mkpath(QFileInfo(path(entry)).path()));
            QFile file(path(entry));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }
    AppFolders::Inputs inputs(const QString& dossier) const {
        AppFolders::Inputs in;
        in.dossier = dossier.isEmpty() ? QString() : path(dossier);
        in.executableFolder = path("prefix/bin");
        in.standardDataFolders = {path("home/.local/share"), path("usr/share")};
        in.userFolder = path("home/.local/share/ionaria");
        return in;
    }
};

// Whether a file can still be created in folder: root can, whatever its mode.
bool writableAnyway(const QString& folder) {
    QFile probe(QDir(folder).filePath(QStringLiteral("sonde")));
    const bool created = probe.open(QIODevice::WriteOnly);
    probe.remove();
    return created;
}

} // namespace

class AppFoldersTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("ionaria")); }

    void lookupOrder() {
        Tree tree;
        const AppFolders folders(tree.inputs(QStringLiteral("dossier")));
        QCOMPARE(
            folders.dataFolders(),
            (QStringList{tree.path("dossier/data"), tree.path("prefix/bin/data"),
                         tree.path("prefix/share/ionaria"), tree.path("home/.local/share/ionaria"),
                         tree.path("usr/share/ionaria")}));
        QCOMPARE(folders.helpSearched().value(0), tree.path("dossier/data/aide"));
        QCOMPARE(folders.helpSearched().size(), 5);
    }

    // Installed in /usr, the relocatable place and the system one are the
    // same folder: it is looked at once, at its first place.
    void sameFolderOnce() {
        Tree tree;
        AppFolders::Inputs in = tree.inputs(QString());
        in.executableFolder = tree.path("usr/bin");
        const AppFolders folders(in);
        QCOMPARE(folders.dataFolders(),
                 (QStringList{tree.path("usr/bin/data"), tree.path("usr/share/ionaria"),
                              tree.path("home/.local/share/ionaria")}));
    }

    void resources_data() {
        QTest::addColumn<QString>("dossier");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("help");      // the folder of the help pages
        QTest::addColumn<QString>("exercises"); // the data folder of the exercises

        const QString dossierHelp = "dossier/data/aide/index.html";
        const QString buildHelp = "prefix/bin/data/aide/index.html";
        const QString installedHelp = "prefix/share/ionaria/aide/index.html";
        const QString personalHelp = "home/.local/share/ionaria/aide/index.html";
        const QString systemHelp = "usr/share/ionaria/aide/index.html";
        QTest::newRow("--dossier first")
            << "dossier"
            << QStringList{dossierHelp, "dossier/data/exercices/", buildHelp, installedHelp}
            << "dossier/data/aide"
            << "dossier/data";
        QTest::newRow("beside the executable")
            << "" << QStringList{buildHelp, "prefix/bin/data/exercices/", installedHelp}
            << "prefix/bin/data/aide"
            << "prefix/bin/data";
        QTest::newRow("relocated install")
            << "" << QStringList{installedHelp, "prefix/share/ionaria/exercices/", systemHelp}
            << "prefix/share/ionaria/aide"
            << "prefix/share/ionaria";
        QTest::newRow("standard folders, personal first")
            << "" << QStringList{personalHelp, systemHelp, "usr/share/ionaria/exercices/"}
            << "home/.local/share/ionaria/aide"
            << "usr/share/ionaria";
        QTest::newRow("system install only")
            << "" << QStringList{systemHelp, "usr/share/ionaria/exercices/"}
            << "usr/share/ionaria/aide"
            << "usr/share/ionaria";
        QTest::newRow("--dossier without data falls back")
            << "dossier"
            << QStringList{"dossier/", installedHelp, "prefix/share/ionaria/exercices/"}
            << "prefix/share/ionaria/aide"
            << "prefix/share/ionaria";
        QTest::newRow("--dossier with its own exercises only")
            << "dossier"
            << QStringList{"dossier/data/exercices/", installedHelp,
                           "prefix/share/ionaria/exercices/"}
            << "prefix/share/ionaria/aide"
            << "dossier/data";
        QTest::newRow("a help folder without its contents page")
            << "dossier" << QStringList{"dossier/data/aide/commandes.html", installedHelp}
            << "prefix/share/ionaria/aide"
            << "dossier/data";
        QTest::newRow("exercices that is a file")
            << "" << QStringList{"prefix/bin/data/exercices"} << ""
            << "prefix/bin/data";
        QTest::newRow("nothing anywhere, --dossier named first") << "dossier" << QStringList{} << ""
                                                                 << "dossier/data";
    }
    void resources() {
        QFETCH(QString, dossier);
        QFETCH(QStringList, entries);
        QFETCH(QString, help);
        QFETCH(QString, exercises);
        Tree tree;
        tree.create(entries);
        const AppFolders folders(tree.inputs(dossier));
        QCOMPARE(folders.helpFolder(), help.isEmpty() ? QString() : tree.path(help));
        QCOMPARE(folders.exercisesDataFolder(), tree.path(exercises));
    }

    void tempFile_data() {
        QTest::addColumn<QString>("dossier"); // how the --dossier folder stands
        QTest::addColumn<bool>("inDossier");
        QTest::newRow("no --dossier") << "" << false;
        QTest::newRow("a --dossier folder") << "folder" << true;
        QTest::newRow("a --dossier folder with the file") << "with file" << true;
        QTest::newRow("a --dossier that does not exist") << "missing" << false;
        QTest::newRow("a --dossier that is a file") << "file" << false;
        QTest::newRow("a read-only --dossier") << "read-only" << false;
        QTest::newRow("a read-only file in --dossier") << "read-only file" << false;
    }
    void tempFile() {
        QFETCH(QString, dossier);
        QFETCH(bool, inDossier);
        Tree tree;
        tree.create({"prefix/bin/", "prefix/share/ionaria/aide/index.html"});
        const QString folder = tree.path("dossier");
        const QString file = QDir(folder).filePath(TempFile::fileName);
        if (dossier == "folder") {
            tree.create({"dossier/"});
        } else if (dossier == "with file" || dossier == "read-only file") {
            tree.create({"dossier/" + QString::fromLatin1(TempFile::fileName)});
        } else if (dossier == "file") {
            tree.create({"dossier"});
        } else if (dossier == "read-only") {
            tree.create({"dossier/"});
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        }
        if (dossier == "read-only file") {
            QVERIFY(QFile::setPermissions(file, QFile::ReadOwner));
        }
        const bool writtenAnyway =
            (dossier == "read-only" && writableAnyway(folder)) ||
            (dossier == "read-only file" && QFile(file).open(QIODevice::ReadWrite));
        if (writtenAnyway) {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("this user writes into read-only files and folders");
        }

        const QString user = tree.path("home/.local/share/ionaria");
        QVERIFY(!QFileInfo::exists(user));
        const AppFolders folders(tree.inputs(dossier.isEmpty() ? QString() : "dossier"));
        QCOMPARE(folders.applicationFolder(), inDossier ? folder : user);
        // The per-user folder is made when it is the one used.
        QCOMPARE(QFileInfo(user).isDir(), !inDossier);
        // Never beside the executable nor in the install.
        QVERIFY(!folders.applicationFolder().startsWith(tree.path("prefix")));
        // The temporary file can be written where it goes.
        TempFile temp(folders.applicationFolder().toStdString());
        temp.markRunning();
        QVERIFY(QFileInfo(QString::fromStdString(temp.path())).size() > 0);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Single application folder, as the build tree and the tests use it.
    void single() {
        Tree tree;
        tree.create({"app/data/aide/index.html", "app/data/exercices/"});
        const AppFolders folders = AppFolders::single(tree.path("app"));
        QCOMPARE(folders.dataFolders(), QStringList{tree.path("app/data")});
        QCOMPARE(folders.applicationFolder(), tree.path("app"));
        QCOMPARE(folders.helpFolder(), tree.path("app/data/aide"));
    }

    void programInputs_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("dossier");
        QTest::newRow("neither") << ""
                                 << ""
                                 << "";
        QTest::newRow("--dossier") << "/classe/option"
                                   << ""
                                   << "/classe/option";
        QTest::newRow("IONARIA_DOSSIER") << ""
                                         << "/classe/variable"
                                         << "/classe/variable";
        QTest::newRow("--dossier before IONARIA_DOSSIER") << "/classe/option"
                                                          << "/classe/variable"
                                                          << "/classe/option";
    }
    void programInputs() {
        QFETCH(QString, option);
        QFETCH(QString, variable);
        QFETCH(QString, dossier);
        Tree tree;
        qputenv("IONARIA_DOSSIER", variable.toUtf8());
        qputenv("XDG_DATA_HOME", tree.path("home/.local/share").toUtf8());
        qputenv("XDG_DATA_DIRS",
                (tree.path("usr/local/share") + ":" + tree.path("usr/share")).toUtf8());
        const AppFolders::Inputs in = AppFolders::programInputs(option);
        qunsetenv("IONARIA_DOSSIER");
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("XDG_DATA_DIRS");
        QCOMPARE(in.dossier, dossier);
        QCOMPARE(in.executableFolder, QCoreApplication::applicationDirPath());
        QCOMPARE(in.standardDataFolders,
                 (QStringList{tree.path("home/.local/share"), tree.path("usr/local/share"),
                              tree.path("usr/share")}));
        QCOMPARE(in.userFolder, tree.path("home/.local/share/ionaria"));
    }
};

QTEST_GUILESS_MAIN(AppFoldersTest)
#include "AppFoldersTest.moc"
