// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionBench.h"

#include "support/SmallDisk.h"

#include <QFileInfo>
#include <QFont>
#include <QStandardPaths>
#include <QTextCharFormat>
#include <QTextDocument>

// The pupil's text as a file: where the dialogs start, saving over an old
// answer, retrieving and printing, and what a full disk or a cancelled
// dialog leaves.
class SessionTextFilesTest : public QObject {
    Q_OBJECT

private slots:
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

QTEST_MAIN(SessionTextFilesTest)
#include "SessionTextFilesTest.moc"
