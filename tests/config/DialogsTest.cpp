// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/ConfigFile.h"
#include "config/Enregistrer.h"
#include "config/FileBrowser.h"
#include "config/MessageBoxes.h"
#include "config/Ouvrir.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "support/ActingAs.h"
#include "support/SmallDisk.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using Ionaria::sim::catalogue::Montage;

using namespace Ionaria;
using namespace Ionaria::config;

namespace {

// Answers the boxes as a test says, and remembers what they said.
class ScriptedBoxes : public MessageBoxes {
public:
    bool answerYes = false;
    QStringList criticals;
    QStringList questions;
    void critical(QWidget*, const QString& title, const QString& text) override {
        criticals << title + " | " + text;
    }
    bool warningYesNo(QWidget*, const QString& title, const QString& text) override {
        questions << title + " | " + text;
        return answerYes;
    }
};

struct Bench {
    sim::Engine engine;
    sim::Handlers handlers{engine};
    std::string cheminConfig;
    ScriptedBoxes boxes;
    Bench() { handlers.startup(); }
};

QByteArray contents(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString at(const QString& name) const { return m_dir.path() + "/" + name; }

private slots:
    void patterns_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("listed");
        QTest::newRow("upper case") << "pile.C14" << true;
        QTest::newRow("lower case") << "pile.c14" << true;
        QTest::newRow("backup") << "pile.C14.bak" << false;
        QTest::newRow("no name") << ".C14" << false;
        QTest::newRow("other") << "notes.txt" << false;
    }
    void patterns() {
        QFETCH(QString, name);
        QFETCH(bool, listed);
        QCOMPARE(FileBrowser::matches(name, "*.C14"), listed);
    }

    void savedNames_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("file");
        QTest::newRow("extension replaced") << "essai.txt"
                                            << "essai.C14";
        QTest::newRow("several dots") << "a.b.c"
                                      << "a.C14";
        QTest::newRow("dotted folder kept") << "{dir}/mes.tp/essai"
                                            << "mes.tp/essai.C14";
    }
    void savedNames() {
        QFETCH(QString, typed);
        QFETCH(QString, file);
        QDir(m_dir.path()).mkpath("mes.tp");
        Bench b;
        Enregistrer dialog(b.engine.params(), b.cheminConfig, nullptr, b.boxes);
        QVERIFY(dialog.browser()->setFolder(m_dir.path()));
        QSignalSpy saved(&dialog, &Enregistrer::configurationSaved);
        dialog.Text1()->setText(typed.replace("{dir}", m_dir.path()));
        QTest::mouseClick(dialog.Command1(), Qt::LeftButton);
        QCOMPARE(saved.count(), 1);
        QCOMPARE(saved.first().first().toString(), at(file));
        QCOMPARE(QString::fromStdString(b.cheminConfig), at(file));
        QVERIFY(QFile::exists(at(file)));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(b.boxes.criticals.isEmpty());
    }

    void emptyNameIsRefused() {
        Bench b;
        Enregistrer dialog(b.engine.params(), b.cheminConfig, nullptr, b.boxes);
        dialog.Text1()->setText("   ");
        dialog.confirm();
        QCOMPARE(b.boxes.criticals,
                 QStringList{"Enregistrement impossible | Il faut donner un nom au fichier!"});
        QVERIFY(dialog.result() != int(QDialog::Accepted));
    }

    void overwriteQuestion_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("no keeps the old file") << false;
        QTest::newRow("yes replaces it") << true;
    }
    void overwriteQuestion() {
        QFETCH(bool, yes);
        const QString target = at("existant.C14");
        QFile::remove(target);
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("ancien contenu");
        old.close();
        Bench b;
        b.boxes.answerYes = yes;
        Enregistrer dialog(b.engine.params(), b.cheminConfig, nullptr, b.boxes);
        QVERIFY(dialog.browser()->setFolder(m_dir.path()));
        dialog.Text1()->setText("existant");
        QTest::keyClick(dialog.Text1(), Qt::Key_Return);
        QCOMPARE(b.boxes.questions,
                 QStringList{"Ce fichier existe déjà! | Ecraser le fichier existant?"});
        if (yes) {
            QCOMPARE(contents(target).size(), 20 * 128);
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        } else {
            QCOMPARE(contents(target), QByteArray("ancien contenu"));
            QVERIFY(dialog.result() != int(QDialog::Accepted));
        }
    }

    // Saving over a file keeps what the file was: a teacher's protection
    // refuses the save as a plain write would, with the write error box and
    // the dialog open; a full disk does the same; the permission bits stay
    // and a link stays a link to the file it names.
    void replacedFileIsRespected_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("saved");
        QTest::newRow("protected by the teacher") << "protected" << false;
        QTest::newRow("on a full disk") << "full" << false;
        QTest::newRow("shared with the group") << "mode" << true;
        QTest::newRow("a link to the class's file") << "link" << true;
    }
    void replacedFileIsRespected() {
        QFETCH(QString, kind);
        QFETCH(bool, saved);
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777)));
        testing::SmallDisk disk;
        QString folder = dir.path();
        if (kind == "full") {
            IONARIA_NEED_SMALL_DISK(disk);
            folder = disk.path(".");
        }
        const QString target = QDir(folder).filePath(kind == "link" ? "classe.C14" : "tp.C14");
        const QByteArray old = "ancienne configuration " + QByteArray(3000, 'c');
        testing::putContent(target, old);
        const unsigned mode = kind == "protected" ? 0444U : 0640U;
        QVERIFY(::chmod(target.toLocal8Bit().constData(), mode) == 0);
        if (kind == "link") {
            QVERIFY(QFile::link(target, QDir(folder).filePath("tp.C14")));
        }
        if (kind == "full") {
            QVERIFY(disk.fill());
        }
        Bench b;
        b.boxes.answerYes = true;
        Enregistrer dialog(b.engine.params(), b.cheminConfig, nullptr, b.boxes);
        QVERIFY(dialog.browser()->setFolder(folder));
        dialog.Text1()->setText("tp");
        if (kind == "protected") {
            const testing::ActingAs user;
            if (!user.acting()) {
                QSKIP("root could not act as another user here");
            }
            dialog.confirm();
        } else {
            dialog.confirm();
        }
        QCOMPARE(b.boxes.questions,
                 QStringList{"Ce fichier existe déjà! | Ecraser le fichier existant?"});
        if (saved) {
            QVERIFY(b.boxes.criticals.isEmpty());
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(contents(target).size(), 20 * 128);
            QCOMPARE(testing::modeOf(target), mode);
            QCOMPARE(QFileInfo(QDir(folder).filePath("tp.C14")).isSymLink(), kind == "link");
        } else {
            QCOMPARE(b.boxes.criticals,
                     QStringList{"Enregistrement impossible | Ecriture impossible sur disque"});
            QVERIFY(dialog.result() != int(QDialog::Accepted));
            QCOMPARE(contents(target), old);
            QCOMPARE(testing::modeOf(target), mode);
            const QStringList left =
                kind == "full" ? QStringList{"remplissage", "tp.C14"} : QStringList{"tp.C14"};
            QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), left);
        }
    }

    void folderChangeKeepsTheBareName() {
        QDir(m_dir.path()).mkpath("autre");
        Bench b;
        b.cheminConfig = "/quelque/part/nom";
        Enregistrer dialog(b.engine.params(), b.cheminConfig, nullptr, b.boxes);
        QCOMPARE(dialog.Text1()->text(), QString("/quelque/part/nom"));
        QVERIFY(dialog.browser()->setFolder(at("autre")));
        QCOMPARE(dialog.Text1()->text(), QString("nom"));
    }

    void openMissingFileStaysOpen() {
        Bench b;
        Ouvrir dialog(b.handlers, b.cheminConfig, nullptr, b.boxes);
        dialog.ficharge()->setText(at("absent.C14"));
        QTest::mouseClick(dialog.Command1(), Qt::LeftButton);
        QCOMPARE(
            b.boxes.criticals,
            QStringList{
                "impossible d'ouvrir ce fichier | Nom de fichier incorrect ou chemin non valide"});
        QVERIFY(dialog.result() != int(QDialog::Accepted));
        dialog.ficharge()->setText("  ");
        dialog.confirm();
        QCOMPARE(b.boxes.criticals.size(), 1);
    }

    void openOtherFileChangesNothing() {
        const QString other = at("autre.C14");
        QFile f(other);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("\x05\x00PIXEL", 7));
        f.close();
        Bench b;
        b.handlers.selectOption2(Montage::Courant);
        const auto before = ConfigFile::records(b.engine.params());
        Ouvrir dialog(b.handlers, b.cheminConfig, nullptr, b.boxes);
        QSignalSpy loaded(&dialog, &Ouvrir::configurationLoaded);
        dialog.ficharge()->setText(other);
        dialog.confirm();
        QCOMPARE(
            b.boxes.criticals,
            QStringList{"Fichier non valide | Ce fichier ne correspond pas à cette application"});
        QCOMPARE(ConfigFile::records(b.engine.params()), before);
        QCOMPARE(loaded.count(), 0);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void openByClickingAFile() {
        Bench saver;
        saver.handlers.selectOption2(Montage::Pile);
        saver.handlers.selectCombo2(1, 3);
        QVERIFY(!ConfigFile::save(at("pile.C14").toStdString(), saver.engine.params()));
        Bench b;
        Ouvrir dialog(b.handlers, b.cheminConfig, nullptr, b.boxes);
        QVERIFY(dialog.browser()->setFolder(m_dir.path()));
        const auto found = dialog.browser()->File1()->findItems("pile.C14", Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        QSignalSpy loaded(&dialog, &Ouvrir::configurationLoaded);
        dialog.browser()->File1()->setCurrentItem(found.first());
        emit dialog.browser()->File1()->itemClicked(found.first());
        QCOMPARE(dialog.ficharge()->text(), at("pile.C14"));
        emit dialog.browser()->File1()->itemDoubleClicked(found.first());
        QCOMPARE(loaded.count(), 1);
        QCOMPARE(b.engine.params().Option2, Montage::Pile);
        QCOMPARE(b.engine.params().Combo2[1].items[3], std::string("Zinc"));
        QCOMPARE(b.engine.params().Combo2[1].listIndex, 3);
    }

    void unreadableDriveFallsBack() {
        Bench b;
        Ouvrir dialog(b.handlers, b.cheminConfig, nullptr, b.boxes);
        FileBrowser* browser = dialog.browser();
        QVERIFY(browser->setFolder(m_dir.path()));
        const QString before = browser->folder();
        const int drive = browser->Drive1()->currentIndex();
        browser->Drive1()->addItem("/lecteur-absent", "/lecteur-absent");
        browser->chooseDrive(browser->Drive1()->count() - 1);
        QCOMPARE(browser->folder(), before);
        QCOMPARE(browser->Drive1()->currentIndex(), drive);
        QVERIFY(b.boxes.criticals.isEmpty());
    }

    void enterOpensTheHighlightedFolder() {
        QDir(m_dir.path()).mkpath("sous-dossier");
        Bench b;
        Ouvrir dialog(b.handlers, b.cheminConfig, nullptr, b.boxes);
        FileBrowser* browser = dialog.browser();
        QVERIFY(browser->setFolder(m_dir.path()));
        const auto items = browser->Dir1()->findItems("sous-dossier", Qt::MatchEndsWith);
        QCOMPARE(items.size(), 1);
        browser->Dir1()->setCurrentItem(items.first());
        QTest::keyClick(browser->Dir1(), Qt::Key_Return);
        QCOMPARE(browser->folder(), at("sous-dossier"));
    }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
