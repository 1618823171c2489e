// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowFixture.h"
#include "base/RecordFile.h"
#include "config/Enregistrer.h"
#include "config/Ouvrir.h"
#include "exercises/ExerciseSession.h"
#include "sim/Catalogue.h"
#include "ui/AppFolders.h"
#include "ui/HelpWindow.h"
#include "ui/MainWindow.h"
#include "ui/NumberBox.h"
#include "ui/PageElectrode.h"
#include "ui/PagePicture3.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextEdit>

#include <memory>

using Ionaria::sim::catalogue::Montage;

namespace cat = Ionaria::sim::catalogue;

using Ionaria::base::RecordFile;
using Ionaria::ui::MainWindow;
using Ionaria::ui::NumberBox;
using Ionaria::ui::TempFile;

using namespace windowtest;

// What the main window opens: configurations, exercises asked for through
// the temporary file, the help, from a folder of its own or an installation.
class WindowFilesTest : public WindowTestBase {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void activationClearsRecord31_data();
    void activationClearsRecord31();
    void helpMissingSaysWhere();
    void helpFromInstalledData();
    void exercisesFromInstalledData();
    void openExerciseFile_data();
    void openExerciseFile();
    void helpOpensContents();
    void helpLinksResolve();
    void openConfiguration();
    void openConfigurationFailureShowsMessage();
    void saveThenOpenShowsThePath();
};

void WindowFilesTest::activationClearsRecord31_data() {
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("requested");
    QTest::addColumn<bool>("opens");
    QTest::newRow("a shipped exercise") << "data/exercices/pile-cuivre-zinc.E37"
                                        << "data/exercices/pile-cuivre-zinc.E37" << true;
    QTest::newRow("spaces around it") << "  data/exercices/loi-de-faraday.E37 "
                                      << "data/exercices/loi-de-faraday.E37" << true;
    QTest::newRow("a missing one") << "exercices/absent.E37"
                                   << "exercices/absent.E37" << false;
    QTest::newRow("blank") << "   "
                           << "" << false;
    QTest::newRow("nothing") << ""
                             << "" << false;
}

void WindowFilesTest::activationClearsRecord31() {
    QFETCH(QString, written);
    QFETCH(QString, requested);
    QFETCH(bool, opens);
    MainWindow& w = window();
    const QString shipped = QStringLiteral(IONARIA_SOURCE_DATA) + "/exercices";
    const QString copy = QDir(m_dir->path()).filePath("data/exercices");
    QDir().mkpath(copy);
    for (const QString& name : QDir(shipped).entryList(QDir::Files)) {
        QFile::copy(shipped + "/" + name, copy + "/" + name);
    }
    RecordFile::writeOne(w.tempFile().path(), 31, written.toStdString());
    BoxAnswerer answerer({QMessageBox::Ok});
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&w, &activate);
    QCOMPARE(record(m_dir->path(), 31), QString());
    QCOMPARE(w.exercises().openedFromOutside(), opens ? 1 : 0);
    QCOMPARE(w.fich->text().endsWith(requested) && !requested.isEmpty(), opens);
    // A missing exercise is told, once; a good one opens silently.
    QCOMPARE(answerer.seen.size(), !requested.isEmpty() && !opens ? 1 : 0);
    if (opens) {
        QVERIFY(w.windowTitle().startsWith(QStringLiteral("Ionaria - ")));
    }
    // The request is taken once: a second activation neither opens it again
    // nor tells again that it is missing.
    const QString fichAfterFirst = w.fich->text();
    QApplication::sendEvent(&w, &activate);
    QCOMPARE(w.exercises().openedFromOutside(), opens ? 1 : 0);
    QCOMPARE(answerer.seen.size(), !requested.isEmpty() && !opens ? 1 : 0);
    QCOMPARE(w.fich->text(), fichAfterFirst);
    QCOMPARE(record(m_dir->path(), 13), QStringLiteral("OUI"));
}

void WindowFilesTest::helpMissingSaysWhere() {
    MainWindow& w = window();
    BoxAnswerer answerer({QMessageBox::Ok});
    w.Command7->click();
    QVERIFY(w.helpWindow() == nullptr);
    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(answerer.seen[0].title, QStringLiteral("Aide introuvable"));
    QCOMPARE(answerer.seen[0].icon, QMessageBox::Critical);
    QVERIFY2(answerer.seen[0].text.contains(QDir(m_dir->path()).filePath("data/aide")),
             qPrintable(answerer.seen[0].text));
}

// An installed program: its data in prefix/share/ionaria, the temporary file
// in the user's own folder, and a --dossier without data of its own.
struct Installed {
    QTemporaryDir root;
    QString path(const QString& relative) const { return QDir(root.path()).filePath(relative); }
    Installed() {
        for (const QString sub : {"aide", "exercices"}) {
            const QDir source(QStringLiteral(IONARIA_SOURCE_DATA "/") + sub);
            QDir().mkpath(path("prefix/share/ionaria/" + sub));
            for (const QString& name : source.entryList(QDir::Files)) {
                QFile::copy(source.filePath(name),
                            path("prefix/share/ionaria/" + sub + "/" + name));
            }
        }
        QDir().mkpath(path("prefix/bin"));
        QDir().mkpath(path("dossier"));
    }
    Ionaria::ui::AppFolders folders(bool dossier) const {
        Ionaria::ui::AppFolders::Inputs in;
        in.dossier = dossier ? path("dossier") : QString();
        in.executableFolder = path("prefix/bin");
        in.userFolder = path("user");
        return Ionaria::ui::AppFolders(in);
    }
};

void WindowFilesTest::helpFromInstalledData() {
    const Installed installed;
    MainWindow w(installed.folders(true));
    QCOMPARE(w.tempFile().path(),
             QDir(installed.path("dossier")).filePath(TempFile::fileName).toStdString());
    w.Command7->click();
    QVERIFY(w.helpWindow() != nullptr);
    QCOMPARE(QFileInfo(w.helpWindow()->browser()->source().toLocalFile()).absolutePath(),
             QFileInfo(installed.path("prefix/share/ionaria/aide")).absoluteFilePath());
    w.helpWindow()->close();
}

void WindowFilesTest::exercisesFromInstalledData() {
    const Installed installed;
    MainWindow w(installed.folders(false));
    QCOMPARE(w.applicationFolder(), installed.path("user"));
    QCOMPARE(record(installed.path("user"), 13), QStringLiteral("OUI"));
    QCOMPARE(QFileInfo(w.exercises().prisenmainPath()).absolutePath(),
             QFileInfo(installed.path("prefix/share/ionaria/exercices")).absoluteFilePath());
    // The main program names an exercise in the application folder's data/,
    // which an installed program keeps elsewhere.
    RecordFile::writeOne(w.tempFile().path(), 31, "data/exercices/loi-de-faraday.E37");
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&w, &activate);
    QCOMPARE(record(installed.path("user"), 31), QString());
    QCOMPARE(w.exercises().openedFromOutside(), 1);
    QCOMPARE(QFileInfo(w.fich->text()),
             QFileInfo(installed.path("prefix/share/ionaria/exercices/loi-de-faraday.E37")));
    w.exercises().PRISENMAIN_Click();
    QVERIFY(w.fich->text().endsWith(QStringLiteral("KIVAR.PEM")));
    QVERIFY(w.supertext->toPlainText().size() > 100);
}

void WindowFilesTest::openExerciseFile_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("configuration"); // the end of the caption
    QTest::newRow("a shipped exercise")
        << QStringLiteral(IONARIA_SOURCE_DATA "/exercices/pile-cuivre-zinc.E37") << true
        << "pile-cuivre-zinc.C14";
    QTest::newRow("relative to the current folder")
        << "exercices/loi-de-faraday.E37" << true << "loi-de-faraday.C14";
    QTest::newRow("a missing one")
        << QStringLiteral(IONARIA_SOURCE_DATA "/exercices/absent.E37") << false << "";
}

void WindowFilesTest::openExerciseFile() {
    QFETCH(QString, path);
    QFETCH(bool, opens);
    QFETCH(QString, configuration);
    MainWindow& w = window();
    const QString current = QDir::currentPath();
    QDir::setCurrent(QStringLiteral(IONARIA_SOURCE_DATA));
    BoxAnswerer answerer({QMessageBox::Ok});
    const bool opened = w.openExerciseFile(path);
    QDir::setCurrent(current);
    QCOMPARE(opened, opens);
    QCOMPARE(answerer.seen.size(), opens ? 0 : 1);
    if (opens) {
        QCOMPARE(QFileInfo(w.fich->text()),
                 QFileInfo(QDir(QStringLiteral(IONARIA_SOURCE_DATA)).filePath(path)));
        QVERIFY(w.windowTitle().endsWith(configuration));
        QVERIFY(!w.supertext->isReadOnly());
    } else {
        QCOMPARE(answerer.seen[0].title, QStringLiteral("Lecture impossible"));
        QVERIFY(w.fich->text().isEmpty());
    }
}

void WindowFilesTest::helpOpensContents() {
    MainWindow& w = window();
    const QDir source(QStringLiteral(IONARIA_SOURCE_DATA "/aide"));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("data/aide")));
    for (const QString& name : source.entryList(QDir::Files)) {
        QVERIFY(QFile::copy(source.filePath(name),
                            QDir(m_dir->path()).filePath(QStringLiteral("data/aide/") + name)));
    }
    w.Command7->click();
    QVERIFY(w.helpWindow() != nullptr);
    QVERIFY(w.helpWindow()->isVisible());
    QCOMPARE(w.helpWindow()->browser()->source().fileName(), QStringLiteral("index.html"));
    QVERIFY(w.helpWindow()->browser()->toPlainText().contains(QStringLiteral("Sommaire")));
}

void WindowFilesTest::helpLinksResolve() {
    const QDir source(QStringLiteral(IONARIA_SOURCE_DATA "/aide"));
    const QStringList pages = source.entryList({QStringLiteral("*.html")}, QDir::Files);
    QVERIFY(pages.contains(QStringLiteral("index.html")));
    QVERIFY(pages.size() >= 5);
    const QRegularExpression href(QStringLiteral("href=\"([^\"#]+)(#[^\"]*)?\""));
    QStringList linked;
    for (const QString& page : pages) {
        QFile file(source.filePath(page));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        QVERIFY2(html.contains(QStringLiteral("charset=\"utf-8\"")), qPrintable(page));
        for (auto it = href.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            QVERIFY2(source.exists(target), qPrintable(page + QStringLiteral(" -> ") + target));
            linked << target;
        }
    }
    for (const QString& page : pages) {
        QVERIFY2(page == QStringLiteral("index.html") || linked.contains(page), qPrintable(page));
    }
}

void WindowFilesTest::openConfiguration() {
    MainWindow& w = window();
    QVERIFY(w.openConfiguration(
        QStringLiteral(IONARIA_SOURCE_DATA "/configurations/pile-cuivre-zinc.C14")));
    const auto& p = w.engine().params();
    QCOMPARE(p.Option2, Montage::Pile);
    QVERIFY(w.Picture3->Option2[0]->isChecked());
    QCOMPARE(w.Frame2->Combo2->currentIndex(), p.Combo2[0].listIndex);
    QCOMPARE(w.Picture1->Combo2->currentIndex(), p.Combo2[1].listIndex);
    QCOMPARE(w.Frame2->masse->text(), QString::fromStdString(p.Text2[cat::Text2MasseG].text()));
    QVERIFY(!w.Frame2->concentration->isHidden());
}

void WindowFilesTest::openConfigurationFailureShowsMessage() {
    MainWindow& w = window();
    BoxAnswerer answerer({QMessageBox::Ok});
    QVERIFY(!w.openConfiguration(QDir(m_dir->path()).filePath(QStringLiteral("absent.C14"))));
    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(answerer.seen[0].icon, QMessageBox::Critical);
    QVERIFY(!answerer.seen[0].text.isEmpty());
    QCOMPARE(w.engine().params().Option2, Montage::Tension);
}

void WindowFilesTest::saveThenOpenShowsThePath() {
    MainWindow& w = window();
    const QString target = QDir(m_dir->path()).filePath("essai.C14");
    w.handlers().selectOption2(Montage::Pile);
    w.refreshFromStore();
    const auto saving = whenDialog("enregistrer", [&](QDialog* d) {
        auto* enregistrer = qobject_cast<Ionaria::config::Enregistrer*>(d);
        enregistrer->Text1()->setText(QDir(m_dir->path()).filePath("essai.txt"));
        enregistrer->confirm();
    });
    w.Command11->click();
    QVERIFY(saving->done());
    QVERIFY(QFile::exists(target));
    QCOMPARE(w.windowTitle(), QStringLiteral("Ionaria - ") + target);
    QCOMPARE(QString::fromStdString(w.cheminConfig()), target);

    w.handlers().selectOption2(Montage::Tension);
    w.refreshFromStore();
    const auto opening = whenDialog("ouvrir", [&](QDialog* d) {
        auto* ouvrir = qobject_cast<Ionaria::config::Ouvrir*>(d);
        ouvrir->ficharge()->setText(target);
        ouvrir->confirm();
    });
    w.Command2->click();
    QVERIFY(opening->done());
    QCOMPARE(w.engine().params().Option2, Montage::Pile);
    // The page shows the cell that the file holds, not the montage chosen
    // before it was opened.
    QVERIFY(w.Picture3->Option2[0]->isChecked());
    QVERIFY(!w.Picture3->Option2[1]->isChecked());
    QVERIFY(!w.Picture3->Text2_4->isHidden());
    QVERIFY(w.Picture3->Combo1->isHidden());
    QCOMPARE(w.windowTitle(), QStringLiteral("Ionaria - ") + target);
}

QTEST_MAIN(WindowFilesTest)
#include "WindowFilesTest.moc"
