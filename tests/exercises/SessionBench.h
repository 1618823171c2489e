// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ScriptedDialogs.h"

#include "base/RecordFile.h"
#include "config/ConfigFile.h"
#include "exercises/ExerciseSession.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"

#include <QAction>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>
#include <QtTest>

#include <memory>
#include <string>
#include <vector>

using Ionaria::sim::catalogue::Montage;

using namespace Ionaria;
using Ionaria::exercises::ExerciseSession;

inline const QString presentation = QStringLiteral("Présentation du simulateur");
inline const QString abandonQuestion =
    QStringLiteral("Abandon des données? | Attention: perte des modifications du texte.");
inline const QString cannotRead =
    QStringLiteral("Lecture impossible | Vérifier:\n- le nom du fichier,\n- l'état du lecteur.");

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

inline QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline std::vector<std::string> descriptor(const std::string& statement,
                                           const std::string& configuration,
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
