// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedDialogs.h"

#include "exercises/ExerciseDescriptor.h"
#include "exercises/ExerciseSession.h"
#include "exercises/RtfReader.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"

#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextTable>
#include <QtTest>

using namespace Ionaria;
using Ionaria::exercises::ExerciseDescriptor;
using Ionaria::exercises::ExerciseSession;

namespace {

// The program's folder as the build lays it out: data/ beside the executable.
QString applicationFolder() {
    return QDir::cleanPath(QStringLiteral(IONARIA_SOURCE_DATA "/.."));
}

QStringList shippedDescriptors() {
    QDir folder(QStringLiteral(IONARIA_SOURCE_DATA "/exercices"));
    QStringList names;
    for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) {
        if (name.endsWith(".E37", Qt::CaseInsensitive) ||
            name.compare(ExerciseSession::prisenmainName, Qt::CaseInsensitive) == 0) {
            names << folder.filePath(name);
        }
    }
    return names;
}

} // namespace

class ShippedTest : public QObject {
    Q_OBJECT

private slots:
    // The statements and corrections change format far less often than the
    // reader keeps: each reads with every format.
    void keepEveryFormat() {
        QDir folder(QStringLiteral(IONARIA_SOURCE_DATA "/exercices"));
        const QStringList names = folder.entryList({QStringLiteral("*.RTF")}, QDir::Files);
        QVERIFY(!names.isEmpty());
        for (const QString& name : names) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QTextDocument document;
            const auto read = Ionaria::exercises::RtfReader::read(file.readAll(), document);
            QVERIFY2(read && read.formatsKept, qPrintable(name));
        }
    }
    // The tables of the statements and corrections show as tables, their
    // cells filled from the file.
    void tablesShowAsTables() {
        QDir folder(QStringLiteral(IONARIA_SOURCE_DATA "/exercices"));
        int tables = 0;
        for (const QString& name : folder.entryList({QStringLiteral("*.RTF")}, QDir::Files)) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray rtf = file.readAll();
            QTextDocument document;
            QVERIFY(Ionaria::exercises::RtfReader::read(rtf, document));
            int found = 0;
            for (QTextFrame* frame : document.rootFrame()->childFrames()) {
                if (auto* table = qobject_cast<QTextTable*>(frame)) {
                    ++found;
                    QVERIFY2(table->rows() >= 2 && table->columns() >= 2, qPrintable(name));
                    QVERIFY(!table->cellAt(0, 0).firstCursorPosition().block().text().isEmpty());
                }
            }
            QCOMPARE(found > 0, rtf.contains("\\trowd"));
            tables += found;
        }
        QVERIFY2(tables > 0, "no shipped exercise has a table");
    }

    void exercisesAreShipped() {
        const QStringList names = shippedDescriptors();
        QVERIFY2(names.size() >= 2, "no exercise in data/exercices");
        QVERIFY(std::any_of(names.begin(), names.end(), [](const QString& name) {
            return name.endsWith(ExerciseSession::prisenmainName);
        }));
    }

    void opens_data() {
        QTest::addColumn<QString>("descriptor");
        for (const QString& path : shippedDescriptors()) {
            QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
        }
    }
    void opens() {
        QFETCH(QString, descriptor);
        const auto read = ExerciseDescriptor::read(descriptor.toStdString());
        QVERIFY(read.has_value());
        QVERIFY(!read->title.empty());

        sim::Engine engine;
        sim::Handlers handlers(engine);
        handlers.startup();
        QTextEdit supertext;
        QLineEdit fich;
        ScriptedDialogs dialogs;
        ExerciseSession session(
            supertext, fich, handlers, [] {}, applicationFolder(), nullptr, dialogs);
        QSignalSpy loaded(&session, &ExerciseSession::configurationLoaded);
        const bool prisenmain = descriptor.endsWith(ExerciseSession::prisenmainName);
        if (prisenmain) {
            session.PRISENMAIN_Click();
        } else {
            QVERIFY(session.openExercise(descriptor));
        }
        QCOMPARE(dialogs.messages, QStringList{});
        QCOMPARE(dialogs.criticals, QStringList{});
        QCOMPARE(QFileInfo(fich.text()), QFileInfo(descriptor));
        QVERIFY(supertext.toPlainText().trimmed().size() > 100);
        QCOMPARE(loaded.count(), read->statementConfiguration.empty() ? 0 : 1);
        QCOMPARE(session.exoCorrige(), !prisenmain && read->corrected() ? 1 : 0);

        if (session.exoCorrige() == 1) {
            const QString statement = supertext.toPlainText();
            session.opencor_Click();
            QCOMPARE(dialogs.messages, QStringList{});
            QCOMPARE(dialogs.criticals, QStringList{});
            QVERIFY(supertext.isReadOnly());
            if (!read->correction.empty()) {
                QVERIFY(supertext.toPlainText().trimmed().size() > 100);
                QVERIFY(supertext.toPlainText() != statement);
            }
        }
    }
};

QTEST_MAIN(ShippedTest)
#include "ShippedTest.moc"
