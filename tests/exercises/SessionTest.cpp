// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedDialogs.h"

#include "base/RecordFile.h"
#include "config/ConfigFile.h"
#include "config/FileBrowser.h"
#include "exercises/ExerciseSession.h"
#include "exercises/Fichexo.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"
#include "support/SmallDisk.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>

#include <memory>

using Ionaria::sim::catalogue::Montage;

using namespace Ionaria;
using Ionaria::exercises::ExerciseSession;
using Ionaria::exercises::Fichexo;

namespace {

const QString presentation = QStringLiteral("Présentation du simulateur");
const QString abandonQuestion =
    QStringLiteral("Abandon des données? | Attention: perte des modifications du texte.");
const QString cannotRead =
    QStringLiteral("Lecture impossible | Vérifier:\n- le nom du fichier,\n- l'état du lecteur.");

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<std::string> descriptor(const std::string& statement, const std::string& configuration,
                                    const std::string& correction,
                                    const std::string& correctionConfiguration) {
    return {statement,
            configuration,
            correction,
            correctionConfiguration,
            "2",
            "",
            "Pile ",
            "Daniell",
            "",
            "",
            "Pile cuivre-zinc",
            "3"};
}

// An application folder with its shipped exercises, the two controls of the
// main window and the simulator they drive.
struct Bench {
    QTemporaryDir app;
    sim::Engine engine;
    sim::Handlers handlers{engine};
    QTextEdit supertext;
    QLineEdit fich;
    ScriptedDialogs dialogs;
    int presentations = 0;
    std::unique_ptr<ExerciseSession> session;

    QString exo(const QString& name) const { return app.path() + "/data/exercices/" + name; }

    void writeDescriptor(const QString& name, const std::vector<std::string>& records) const {
        QCOMPARE(base::RecordFile::writeAll(exo(name).toStdString(), records),
                 base::RecordFile::Status::Ok);
    }
    void writeConfiguration(const QString& name, Montage montage) {
        handlers.selectOption2(montage);
        QVERIFY(!config::ConfigFile::save(exo(name).toStdString(), engine.params()));
        handlers.selectOption2(Montage::Tension);
    }

    Bench() {
        handlers.startup();
        QDir(app.path()).mkpath("data/exercices");
        writeBytes(exo("pile-enonce.RTF"), "{\\rtf1\\ansi \\'c9nonc\\'e9 de la pile\\par}");
        writeBytes(exo("pile-correction.RTF"), "{\\rtf1\\ansi Correction de la pile\\par}");
        writeBytes(exo("simple.RTF"), "{\\rtf1\\ansi Sans correction\\par}");
        writeBytes(exo("pem.RTF"), "{\\rtf1\\ansi Premiers pas\\par}");
        writeBytes(exo("texte.txt"), "pas du RTF");
        writeConfiguration("pile.C14", Montage::Pile);
        writeConfiguration("correction.C14", Montage::Courant);
        writeDescriptor("pile.E37", descriptor("pile-enonce.RTF", "pile.C14", "pile-correction.RTF",
                                               "correction.C14"));
        writeDescriptor("simple.E37", descriptor("simple.RTF", "", "", ""));
        writeDescriptor("KIVAR.PEM", descriptor("pem.RTF", "", "pile-correction.RTF", ""));
        writeDescriptor("sans-enonce.E37", descriptor("absent.RTF", "", "", ""));
        writeDescriptor("pas-rtf.E37", descriptor("texte.txt", "", "", ""));
        writeBytes(exo("illisible.E37"), QByteArray("\xC8\x00", 2) + QByteArray(126, 'x'));
        supertext.setPlainText(presentation);
        session = std::make_unique<ExerciseSession>(
            supertext, fich, handlers,
            [this] {
                ++presentations;
                supertext.setPlainText(presentation);
            },
            app.path(), nullptr, dialogs);
    }

    // Chooses an item as the user does: the menu shows, then the item.
    void trigger(const QString& item) {
        showMenu();
        auto* action = session->optionexo()->findChild<QAction*>(item);
        QVERIFY2(action != nullptr, qPrintable(item));
        action->trigger();
    }
    void showMenu() { emit session->optionexo()->aboutToShow(); }
    // The pupil types into the box.
    void type(const QString& text) {
        QTextCursor cursor(supertext.document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(text);
    }
};

} // namespace

class SessionTest : public QObject {
    Q_OBJECT

private slots:
    void menuRules_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("correction");
        QTest::addColumn<bool>("close");
        QTest::newRow("presentation") << "presentation" << false << false;
        QTest::newRow("corrected exercise") << "pile.E37" << true << true;
        QTest::newRow("blank correction records") << "simple.E37" << false << true;
        QTest::newRow("guided first use") << "KIVAR.PEM" << false << true;
        QTest::newRow("retrieved text") << "retrieved" << false << true;
        QTest::newRow("closed exercise") << "closed" << false << false;
    }
    void menuRules() {
        QFETCH(QString, state);
        QFETCH(bool, correction);
        QFETCH(bool, close);
        Bench b;
        if (state == "retrieved" || state == "closed") {
            QVERIFY(b.session->openExercise(b.exo("pile.E37")));
            b.dialogs.openName = b.exo("simple.RTF");
            b.trigger(state == "retrieved" ? "opentexte" : "Closexo");
        } else if (state != "presentation") {
            QVERIFY(b.session->openExercise(b.exo(state)));
        }
        b.showMenu();
        QCOMPARE(b.session->opencor()->isEnabled(), correction);
        QCOMPARE(b.session->Closexo()->isEnabled(), close);
        QCOMPARE(b.session->exoCorrige(), correction ? 1 : 0);
        QVERIFY(b.dialogs.messages.isEmpty());
    }

    void abandonEdits_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("ok");
        for (const char* item : {"PRISENMAIN", "openexo", "opencor", "opentexte", "Closexo"}) {
            QTest::addRow("%s, OK", item) << item << true;
            QTest::addRow("%s, Cancel", item) << item << false;
        }
    }
    void abandonEdits() {
        QFETCH(QString, item);
        QFETCH(bool, ok);
        Bench b;
        QVERIFY(b.session->openExercise(b.exo("pile.E37")));
        const Montage montage = b.engine.params().Option2;
        b.type(" réponse de l'élève");
        QCOMPARE(b.session->texteModifie(), 1);
        b.dialogs.answerOk = ok;
        b.dialogs.openName = b.exo("simple.RTF");
        b.trigger(item);
        QCOMPARE(b.dialogs.messages, QStringList{abandonQuestion});
        const bool kept = b.supertext.toPlainText().contains("réponse de l'élève");
        if (!ok) {
            QVERIFY(kept);
            QCOMPARE(b.fich.text(), b.exo("pile.E37"));
            QCOMPARE(b.session->texteModifie(), 1);
            QCOMPARE(b.session->exoCorrige(), 1);
            QCOMPARE(b.engine.params().Option2, montage);
            QCOMPARE(b.dialogs.fileDialogs + b.dialogs.modals + b.presentations, 0);
            return;
        }
        if (item == "openexo") {
            // The chooser closed without loading: the edits are still there
            // and still count as unsaved.
            QCOMPARE(b.dialogs.modals, 1);
            QVERIFY(kept);
            QCOMPARE(b.session->texteModifie(), 1);
            return;
        }
        QVERIFY(!kept);
        QCOMPARE(b.session->texteModifie(), 0);
        if (item == "PRISENMAIN") {
            QCOMPARE(b.fich.text(), b.exo("KIVAR.PEM"));
        } else if (item == "opencor") {
            QVERIFY(b.supertext.toPlainText().contains("Correction de la pile"));
        } else if (item == "opentexte") {
            QCOMPARE(b.fich.text(), "Texte: " + b.exo("simple.RTF"));
        } else {
            QCOMPARE(b.presentations, 1);
        }
    }

    void unmodifiedTextAsksNothing() {
        Bench b;
        QVERIFY(b.session->openExercise(b.exo("pile.E37")));
        QVERIFY(b.session->askAbandonEdits());
        b.trigger("Closexo");
        QVERIFY(b.dialogs.messages.isEmpty());
        QCOMPARE(b.presentations, 1);
    }

    void textFlag() {
        Bench b;
        b.type(" notes sur la présentation");
        QCOMPARE(b.session->texteModifie(), 0);
        QVERIFY(b.session->openExercise(b.exo("pile.E37")));
        QCOMPARE(b.session->texteModifie(), 0);
        b.type("x");
        QCOMPARE(b.session->texteModifie(), 1);
        QTemporaryDir out;
        b.dialogs.saveName = out.filePath("copie.rtf");
        b.trigger("savetexte");
        QCOMPARE(b.session->texteModifie(), 0);
        b.type("y");
        b.trigger("opencor");
        QCOMPARE(b.session->texteModifie(), 0);
    }

    // The pupil's text dialogs start in the exercises for opening, in the
    // documents for saving, then in the folder last used.
    void textDialogsStart_data() {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("expected");
        QTest::newRow("opening first") << QStringList{"opentexte"} << "exercices";
        QTest::newRow("saving first") << QStringList{"savetexte"} << "documents";
        QTest::newRow("opening after a save")
            << QStringList{"save elsewhere", "opentexte"} << "elsewhere";
        QTest::newRow("saving after a save")
            << QStringList{"save elsewhere", "savetexte"} << "elsewhere";
    }
    void textDialogsStart() {
        QFETCH(QStringList, items);
        QFETCH(QString, expected);
        Bench b;
        QVERIFY(b.session->openExercise(b.exo("pile.E37")));
        QTemporaryDir elsewhere;
        for (const QString& item : items) {
            b.dialogs.saveName = item == "save elsewhere" ? elsewhere.filePath("copie.rtf") : "";
            b.trigger(item == "save elsewhere" ? "savetexte" : item);
        }
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString folder = expected == "exercices"
                                   ? QDir(b.app.path()).filePath("data/exercices")
                               : expected == "documents"
                                   ? (QFileInfo(documents).isDir() ? documents : QDir::homePath())
                                   : elsewhere.path();
        QVERIFY(!b.dialogs.startFolders.isEmpty());
        QCOMPARE(QDir(b.dialogs.startFolders.constLast()).canonicalPath(),
                 QDir(folder).canonicalPath());
    }

    void overwrite_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<bool>("ok");
        QTest::newRow("new file") << "reponse.rtf"
                                  << "reponse.rtf" << false << true;
        QTest::newRow("default extension") << "reponse"
                                           << "reponse.RTF" << false << true;
        QTest::newRow("existing, replaced") << "ancien.RTF"
                                            << "ancien.RTF" << true << true;
        QTest::newRow("existing, kept") << "ancien.RTF"
                                        << "ancien.RTF" << true << false;
    }
    void overwrite() {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QFETCH(bool, exists);
        QFETCH(bool, ok);
        Bench b;
        QTemporaryDir out;
        const QString target = out.filePath(written);
        if (exists) {
            writeBytes(target, "ancien contenu");
        }
        QVERIFY(b.session->openExercise(b.exo("pile.E37")));
        b.type(" réponse");
        b.dialogs.saveName = out.filePath(chosen);
        b.dialogs.answerOk = ok;
        b.trigger("savetexte");
        const QStringList expected = exists ? QStringList{"Ecraser le fichier? | Le fichier " +
                                                          QDir::toNativeSeparators(target) +
                                                          " existe déjà.\nEcraser l'ancien?"}
                                            : QStringList{};
        QCOMPARE(b.dialogs.messages, expected);
        if (ok) {
            QVERIFY(contents(target).startsWith("{\\rtf"));
            QCOMPARE(b.session->texteModifie(), 0);
        } else {
            QCOMPARE(contents(target), QByteArray("ancien contenu"));
            QCOMPARE(b.session->texteModifie(), 1);
        }
    }

    void unwritableSaveIsReported() {
        Bench b;
        QVERIFY(b.session->openExercise(b.exo("pile.E37")));
        b.type(" réponse");
        b.dialogs.saveName = b.app.filePath("pas/de/dossier/reponse.rtf");
        b.trigger("savetexte");
        QCOMPARE(b.dialogs.criticals,
                 QStringList{"Enregistrement impossible | Ecriture impossible sur disque"});
        QCOMPARE(b.session->texteModifie(), 1);
    }

    // The pupil's answer survives a full disk: the old file byte for byte,
    // the failure told, and the edits still marked as not saved, so that
    // quitting warns.
    void fullDiskKeepsTheOldAnswer() {
        testing::SmallDisk disk;
        IONARIA_NEED_SMALL_DISK(disk);
        Bench b;
        const QString target = disk.path("reponse.RTF");
        QByteArray old = "{\\rtf1\\ansi ";
        for (int i = 0; i < 2000; ++i) {
            old += "Ancienne r\\'e9ponse, ligne " + QByteArray::number(i) + "\\par\n";
        }
        old += "}";
        writeBytes(target, old);
        QVERIFY(disk.fill());
        QVERIFY(b.session->openExercise(b.exo("pile.E37")));
        b.type(" réponse plus longue que le disque ne peut en prendre");
        b.dialogs.saveName = target;
        b.trigger("savetexte");
        QCOMPARE(b.dialogs.criticals,
                 QStringList{"Enregistrement impossible | Ecriture impossible sur disque"});
        QCOMPARE(contents(target), old);
        QCOMPARE(disk.names(), QStringList{"reponse.RTF"});
        QCOMPARE(b.session->texteModifie(), 1);
    }

    void fullDiskKeepsTheOldPrint() {
        testing::SmallDisk disk;
        IONARIA_NEED_SMALL_DISK(disk);
        Bench b;
        const QString pdf = disk.path("exercice.pdf");
        writeBytes(pdf, "%PDF-1.4 ancienne impression");
        QVERIFY(disk.fill());
        QVERIFY(b.session->openExercise(b.exo("pile.E37")));
        b.dialogs.printTo = pdf;
        b.trigger("imprimetexte");
        QCOMPARE(b.dialogs.criticals,
                 QStringList{"Impression impossible | Ecriture impossible sur disque"});
        QCOMPARE(contents(pdf), QByteArray("%PDF-1.4 ancienne impression"));
        QCOMPARE(disk.names(), QStringList{"exercice.pdf"});
    }

    // A text beyond the reader's bounds is refused with its own message, and
    // the box keeps what it showed.
    void textsBeyondTheBounds_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("too large") << "{\\rtf1 " + QByteArray(2 * 1024 * 1024, 'a') + "}"
                                   << "Texte trop volumineux | Le fichier NAME dépasse 2 Mo : ce "
                                      "n'est pas un texte que la fenêtre exercice peut ouvrir.";
        QTest::newRow("too many paragraphs")
            << "{\\rtf1 " + QByteArray("\\par ").repeated(20001) + "}"
            << "Texte trop long | Le fichier NAME a plus de 20 000 paragraphes ou lignes de "
               "tableau : la fenêtre exercice ne peut pas l'ouvrir.";
    }
    void textsBeyondTheBounds() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        Bench b;
        QVERIFY(b.session->openExercise(b.exo("pile.E37")));
        const QString shown = b.supertext.toHtml();
        const QString name = b.app.filePath("hostile.rtf");
        writeBytes(name, bytes);
        b.dialogs.openName = name;
        b.trigger("opentexte");
        QCOMPARE(b.dialogs.messages,
                 QStringList{message.replace("NAME", QDir::toNativeSeparators(name))});
        QCOMPARE(b.supertext.toHtml(), shown);
        QCOMPARE(b.fich.text(), b.exo("pile.E37"));
    }

    void cancelledFileDialogsChangeNothing() {
        Bench b;
        QVERIFY(b.session->openExercise(b.exo("pile.E37")));
        const QString text = b.supertext.toHtml();
        b.trigger("savetexte");
        b.trigger("opentexte");
        b.trigger("imprimetexte");
        QCOMPARE(b.dialogs.fileDialogs, 2);
        QCOMPARE(b.dialogs.printerDialogs, 1);
        QVERIFY(b.dialogs.messages.isEmpty());
        QCOMPARE(b.supertext.toHtml(), text);
        QCOMPARE(b.fich.text(), b.exo("pile.E37"));
        QCOMPARE(b.session->exoCorrige(), 1);
    }

    void saveThenRetrieve() {
        Bench b;
        QVERIFY(b.session->openExercise(b.exo("pile.E37")));
        QTextCursor cursor(b.supertext.document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertBlock();
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        cursor.insertText("Réponse : ", bold);
        cursor.insertText("Cu", QTextCharFormat());
        QTextCharFormat super;
        super.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        cursor.insertText("2+", super);
        cursor.insertText(" + 2 e", QTextCharFormat());
        QTextCharFormat sub;
        sub.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        cursor.insertText(" ; SO", QTextCharFormat());
        cursor.insertText("4", sub);
        const QString before = b.supertext.toPlainText();

        QTemporaryDir out;
        b.dialogs.saveName = out.filePath("reponse.rtf");
        b.trigger("savetexte");
        b.trigger("Closexo");
        QCOMPARE(b.supertext.toPlainText(), presentation);
        b.dialogs.openName = out.filePath("reponse.rtf");
        b.trigger("opentexte");

        QVERIFY(b.dialogs.messages.isEmpty());
        QCOMPARE(b.supertext.toPlainText().trimmed(), before.trimmed());
        QCOMPARE(b.fich.text(), "Texte: " + out.filePath("reponse.rtf"));
        QVERIFY(!b.supertext.isReadOnly());
        QCOMPARE(b.session->exoCorrige(), 0);
        QCOMPARE(b.session->texteModifie(), 0);
        const QString plain = b.supertext.toPlainText();
        QTextCursor probe(b.supertext.document());
        probe.setPosition(static_cast<int>(plain.indexOf("2+")) + 1);
        QCOMPARE(probe.charFormat().verticalAlignment(), QTextCharFormat::AlignSuperScript);
        probe.setPosition(static_cast<int>(plain.indexOf("Réponse")) + 1);
        QVERIFY(probe.charFormat().fontWeight() >= QFont::Bold);
        probe.setPosition(static_cast<int>(plain.indexOf(" + 2 e")) + 2);
        QCOMPARE(probe.charFormat().verticalAlignment(), QTextCharFormat::AlignNormal);
        probe.setPosition(static_cast<int>(plain.indexOf("SO4")) + 3);
        QCOMPARE(probe.charFormat().verticalAlignment(), QTextCharFormat::AlignSubScript);
        b.type("z");
        QCOMPARE(b.session->texteModifie(), 1);
    }

    void correctionAndConfigurations() {
        Bench b;
        QSignalSpy loaded(b.session.get(), &ExerciseSession::configurationLoaded);
        QVERIFY(b.session->openExercise(b.exo("pile.E37")));
        QCOMPARE(b.engine.params().Option2, Montage::Pile);
        QCOMPARE(loaded.count(), 1);
        QVERIFY(b.supertext.toPlainText().contains("Énoncé de la pile"));
        QVERIFY(!b.supertext.isReadOnly());
        QCOMPARE(b.session->dossierExo(), QDir::toNativeSeparators(b.exo("")));
        b.trigger("opencor");
        QVERIFY(b.supertext.toPlainText().contains("Correction de la pile"));
        QVERIFY(b.supertext.isReadOnly());
        QCOMPARE(b.engine.params().Option2, Montage::Courant);
        QCOMPARE(loaded.count(), 2);
        QCOMPARE(b.fich.text(), b.exo("pile.E37"));
        QVERIFY(b.dialogs.messages.isEmpty());
        QVERIFY(b.dialogs.criticals.isEmpty());

        b.trigger("Closexo");
        QVERIFY(b.fich.text().isEmpty());
        QCOMPARE(b.supertext.toPlainText(), presentation);
        QVERIFY(!b.supertext.isReadOnly());
        b.showMenu();
        QVERIFY(!b.session->opencor()->isEnabled());
        QVERIFY(!b.session->Closexo()->isEnabled());
    }

    void failedOpening_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("statement missing")
            << "sans-enonce.E37"
            << "Fichier absent | Le fichier {dir}absent.RTF est introuvable";
        QTest::newRow("statement not rich text") << "pas-rtf.E37" << cannotRead;
        QTest::newRow("unreadable descriptor") << "illisible.E37" << cannotRead;
        QTest::newRow("missing descriptor") << "absent.E37" << cannotRead;
    }
    void failedOpening() {
        QFETCH(QString, name);
        QFETCH(QString, message);
        Bench b;
        QVERIFY(b.session->openExercise(b.exo("simple.E37")));
        b.type(" réponse");
        const QString text = b.supertext.toPlainText();
        QVERIFY(!b.session->openExercise(b.exo(name)));
        QCOMPARE(b.dialogs.messages, QStringList{message.replace("{dir}", b.exo(""))});
        QCOMPARE(b.supertext.toPlainText(), text);
        QCOMPARE(b.fich.text(), b.exo("simple.E37"));
        QCOMPARE(b.session->texteModifie(), 1);
    }

    void guidedFirstUse_data() {
        QTest::addColumn<bool>("installed");
        QTest::newRow("installed") << true;
        QTest::newRow("missing") << false;
    }
    void guidedFirstUse() {
        QFETCH(bool, installed);
        Bench b;
        if (!installed) {
            QVERIFY(QFile::remove(b.exo("KIVAR.PEM")));
        }
        b.trigger("PRISENMAIN");
        if (installed) {
            QVERIFY(b.dialogs.messages.isEmpty());
            QCOMPARE(b.fich.text(), b.exo("KIVAR.PEM"));
            QVERIFY(b.supertext.toPlainText().contains("Premiers pas"));
            QCOMPARE(b.session->exoCorrige(), 0);
        } else {
            QCOMPARE(
                b.dialogs.messages,
                QStringList{
                    "Fichier absent | Fichier introuvable. Revoir l'installation du logiciel."});
            QVERIFY(b.fich.text().isEmpty());
            QCOMPARE(b.supertext.toPlainText(), presentation);
        }
    }

    void chooserOpensTheSelectedExercise() {
        Bench b;
        QString startFolder;
        int result = -1;
        b.dialogs.onModal = [&](QDialog& dialog) {
            auto* chooser = qobject_cast<Fichexo*>(&dialog);
            QVERIFY(chooser != nullptr);
            startFolder = chooser->browser()->folder();
            const auto items =
                chooser->browser()->File1()->findItems("simple.E37", Qt::MatchExactly);
            QCOMPARE(items.size(), 1);
            chooser->browser()->File1()->setCurrentItem(items.first());
            chooser->ouvreur()->click();
            result = chooser->result();
        };
        b.trigger("openexo");
        QCOMPARE(b.dialogs.modals, 1);
        QCOMPARE(startFolder, QDir::cleanPath(b.exo("")));
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(b.fich.text(), b.exo("simple.E37"));
        QVERIFY(b.supertext.toPlainText().contains("Sans correction"));
        QCOMPARE(b.session->exoCorrige(), 0);
    }

    void record31_data() {
        QTest::addColumn<QString>("record");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("relative name") << "data/exercices/pile.E37" << true << QStringList{};
        QTest::newRow("padded, backslashes, other case")
            << "  DATA\\Exercices\\PILE.e37  " << true << QStringList{};
        QTest::newRow("absolute, as the window joins it")
            << "{app}/data\\exercices\\pile.E37" << true << QStringList{};
        QTest::newRow("blank") << "   " << false << QStringList{};
        QTest::newRow("missing") << "data/exercices/absent.E37" << false << QStringList{cannotRead};
        QTest::newRow("outside the folder, missing")
            << "../ailleurs/pile.E37" << false << QStringList{cannotRead};
    }
    void record31() {
        QFETCH(QString, record);
        QFETCH(bool, opens);
        QFETCH(QStringList, messages);
        Bench b;
        QCOMPARE(b.session->openFromRecord(record.replace("{app}", b.app.path())), opens);
        QCOMPARE(b.dialogs.messages, messages);
        QCOMPARE(b.session->openedFromOutside(), opens ? 1 : 0);
        if (opens) {
            QVERIFY(QFileInfo(b.fich.text()) == QFileInfo(b.exo("pile.E37")));
            QVERIFY(b.supertext.toPlainText().contains("Énoncé de la pile"));
            QCOMPARE(b.engine.params().Option2, Montage::Pile);
            QCOMPARE(b.session->exoCorrige(), 1);
        } else {
            QVERIFY(b.fich.text().isEmpty());
            QCOMPARE(b.supertext.toPlainText(), presentation);
        }
    }

    void record31KeepsUnsavedEditsOnCancel() {
        Bench b;
        QVERIFY(b.session->openExercise(b.exo("simple.E37")));
        b.type(" réponse");
        b.dialogs.answerOk = false;
        QVERIFY(!b.session->openFromRecord("data/exercices/pile.E37"));
        QCOMPARE(b.dialogs.messages, QStringList{abandonQuestion});
        QCOMPARE(b.fich.text(), b.exo("simple.E37"));
        QCOMPARE(b.session->openedFromOutside(), 0);
    }

    void printing_data() {
        QTest::addColumn<bool>("chosen");
        QTest::newRow("printer chosen") << true;
        QTest::newRow("dialog cancelled") << false;
    }
    void printing() {
        QFETCH(bool, chosen);
        Bench b;
        QVERIFY(b.session->openExercise(b.exo("pile.E37")));
        QTemporaryDir out;
        const QString pdf = out.filePath("exercice.pdf");
        b.dialogs.printTo = chosen ? pdf : QString();
        b.trigger("imprimetexte");
        QCOMPARE(b.dialogs.printerDialogs, 1);
        QCOMPARE(contents(pdf).startsWith("%PDF"), chosen);
        QVERIFY(b.dialogs.messages.isEmpty());
    }
};

QTEST_MAIN(SessionTest)
#include "SessionTest.moc"
