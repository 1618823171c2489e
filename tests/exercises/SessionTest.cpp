// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionBench.h"

#include "config/FileBrowser.h"
#include "exercises/Fichexo.h"

#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>

using Ionaria::exercises::Fichexo;

// The exercises menu: what it offers, the question before edits are lost,
// and the opening of exercises from the menu, the chooser or the command line.
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
};

QTEST_MAIN(SessionTest)
#include "SessionTest.moc"
