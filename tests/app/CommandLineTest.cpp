// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <QtTest>

using Ionaria::app::CommandLine;

// The file the window is started with: a configuration or an exercise, as a
// file manager passes it.
class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void windowFile_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("configuration");
        QTest::addColumn<QString>("exercise");
        QTest::addColumn<bool>("error");
        QTest::newRow("configuration") << QStringList{"/classe/pile.C14"} << "/classe/pile.C14"
                                       << "" << false;
        QTest::newRow("exercise") << QStringList{"/classe/pile.E37"} << ""
                                  << "/classe/pile.E37" << false;
        QTest::newRow("exercise in lower case") << QStringList{"pile.e37"} << ""
                                                << "pile.e37" << false;
        QTest::newRow("guided first use") << QStringList{"exercices/KIVAR.PEM"} << ""
                                          << "exercices/KIVAR.PEM" << false;
        QTest::newRow("a folder named like an exercise")
            << QStringList{"/classe/pile.E37/config.C14"} << "/classe/pile.E37/config.C14"
            << "" << false;
        QTest::newRow("a bare extension is no exercise") << QStringList{".E37"} << ".E37"
                                                         << "" << false;
        QTest::newRow("with --dossier") << QStringList{"--dossier", "/classe", "pile.E37"} << ""
                                        << "pile.E37" << false;
        QTest::newRow("two files") << QStringList{"pile.E37", "pile.C14"} << ""
                                   << "" << true;
    }
    void windowFile() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, configuration);
        QFETCH(QString, exercise);
        QFETCH(bool, error);
        std::vector<std::string> args;
        for (const QString& a : arguments) {
            args.push_back(a.toStdString());
        }
        const CommandLine cl = CommandLine::parse(args);
        QCOMPARE(cl.mode, error ? CommandLine::Mode::Error : CommandLine::Mode::Window);
        if (!error) {
            QCOMPARE(QString::fromStdString(cl.configFile), configuration);
            QCOMPARE(QString::fromStdString(cl.exerciseFile), exercise);
        }
    }
};

QTEST_APPLESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
