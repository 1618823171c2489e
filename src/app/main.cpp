// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BatchCourbes.h"
#include "app/BatchMode.h"
#include "app/CommandLine.h"
#include "calc/CalculCommand.h"
#include "exercises/DescriptorCommand.h"
#include "report/ExperimentPicture.h"
#include "report/PicturePrinter.h"
#include "ui/AppFolders.h"
#include "ui/MainWindow.h"
#include "ui/QuitSignals.h"
#include "ui/SingleInstance.h"
#include "ui/TempFile.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>

#include <cstdlib>
#include <iostream>
#include <string>

namespace {

using Ionaria::app::CommandLine;

// The batch mode's pictures: the curves of the run, and its end drawn as the window shows
// it, written as PNG and printed onto a PDF file.
bool writePictures(const CommandLine& options, const Ionaria::app::BatchMode::LastFrame& last) {
    bool ok = Ionaria::app::writeCourbes(options.courbes, last, std::cerr);
    ok = Ionaria::app::writeCaracteristique(options.courbes, last, std::cerr) && ok;
    if (!options.pngPath && !options.pdfPath) {
        return ok;
    }
    Ionaria::report::ExperimentPicture picture(last.engine);
    last.draw(picture);
    // The PNG is drawn at its own size, never stretched.
    picture.canvas().setScale(options.echelle);
    if (options.pngPath && !picture.writePng(QString::fromStdString(*options.pngPath))) {
        std::cerr << "Ecriture impossible sur disque : " << *options.pngPath << "\n";
        ok = false;
    }
    using Ionaria::report::PicturePrinter;
    const auto printed =
        options.pdfPath
            ? PicturePrinter::printPdf(QString::fromStdString(*options.pdfPath),
                                       PicturePrinter::Picture::of(picture.canvas()),
                                       QString::fromStdString(options.titre), options.exemplaires)
            : PicturePrinter::Outcome::Printed;
    if (printed != PicturePrinter::Outcome::Printed) {
        std::cerr << (printed == PicturePrinter::Outcome::NotWritten
                          ? "Ecriture impossible sur disque : "
                          : "Impression impossible : ")
                  << *options.pdfPath << "\n";
        ok = false;
    }
    return ok;
}

// Qt's own warnings ("QPainter::begin(): Returned false", the runtime
// folder) say nothing to the user of a run: its error output holds the
// program's messages alone.
void keepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::cerr << message.toLocal8Bit().constData() << "\n";
    }
}

int runBatch(const CommandLine& options, int argc, char* argv[]) {
    using Ionaria::app::BatchMode;
    qInstallMessageHandler(keepQtQuiet);
    if (!options.pngPath && !options.pdfPath && !options.courbes.path &&
        !options.courbes.caracteristique) {
        return BatchMode::run(options, std::cout, std::cerr);
    }
    // Pictures need fonts and a paint engine, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const auto application = Ionaria::app::batchApplication(options.courbes, argc, argv);
    return BatchMode::run(
        options, std::cout, std::cerr,
        [&options](const BatchMode::LastFrame& last) { return writePictures(options, last); });
}

// The application folder of the running window, told when the program ends
// without its normal quit (the display gone: the toolkit ends the process).
std::string runningFolder;

void markStoppedAtExit() {
    if (!runningFolder.empty()) {
        Ionaria::ui::TempFile(runningFolder).markStopped();
    }
}

// --exercice: the descriptor printed, or written from the options.
int runExercice(const CommandLine::Exercice& options) {
    using Ionaria::exercises::DescriptorCommand;
    if (options.lire) {
        return DescriptorCommand::print(options.file, std::cout, std::cerr);
    }
    Ionaria::exercises::ExerciseDescriptor descriptor;
    descriptor.title = options.intitule.value_or(std::string());
    descriptor.statement = options.enonce.value_or(std::string());
    descriptor.statementConfiguration = options.configurationEnonce.value_or(std::string());
    descriptor.correction = options.correction.value_or(std::string());
    descriptor.correctionConfiguration = options.configurationCorrection.value_or(std::string());
    descriptor.level = options.niveau.value_or(0);
    descriptor.notions = options.notions.value_or(std::string());
    descriptor.hourglasses = options.duree.value_or(1);
    return DescriptorCommand::write(options.file, descriptor, std::cerr);
}

// The icon of the window and of its dialogs, in every size that was drawn.
QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/%1/ionaria.png").arg(size), QSize(size, size));
    }
    return icon;
}

} // namespace

int main(int argc, char* argv[]) {
    using Ionaria::app::BatchMode;
    using Ionaria::app::CommandLine;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    CommandLine options = CommandLine::parse(arguments);
    switch (options.mode) {
    case CommandLine::Mode::Help:
        std::cout << CommandLine::usage();
        return 0;
    case CommandLine::Mode::Version:
        std::cout << "Ionaria " << IONARIA_VERSION << "\n";
        return 0;
    case CommandLine::Mode::Error:
        std::cerr << "ionaria : " << options.error << "\n" << CommandLine::usage();
        return BatchMode::usageError;
    case CommandLine::Mode::Calcul:
        return Ionaria::calc::runCalculCommand(options.expression, options.radians, std::cout);
    case CommandLine::Mode::Batch:
        return runBatch(options, argc, argv);
    case CommandLine::Mode::Exercice:
        return runExercice(options.exercice);
    case CommandLine::Mode::Window:
        break;
    }
    // The per-user application folder and the window's association with the
    // desktop entry follow from these names, whatever the executable is called.
    QCoreApplication::setApplicationName(QStringLiteral("ionaria"));
    QCoreApplication::setApplicationVersion(QStringLiteral(IONARIA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("ionaria"));
    QApplication app(argc, argv);
    // From here a signal that ends the session waits for the event loop, which
    // ends the run through the window's quit.
    Ionaria::ui::QuitSignals endings;
    QApplication::setWindowIcon(programIcon());
    // The standard boxes and dialogs speak French too ("Annuler", "Ouvrir").
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtFrench);
    }
    const Ionaria::ui::AppFolders folders(Ionaria::ui::AppFolders::programInputs(
        QString::fromStdString(options.dossier.value_or(std::string()))));
    using Ionaria::ui::SingleInstance;
    SingleInstance instance(folders.applicationFolder());
    const SingleInstance::Kind kind = !options.exerciseFile.empty() ? SingleInstance::Kind::Exercise
                                      : !options.configFile.empty()
                                          ? SingleInstance::Kind::Configuration
                                          : SingleInstance::Kind::None;
    const QString argument = QString::fromStdString(
        kind == SingleInstance::Kind::Exercise ? options.exerciseFile : options.configFile);
    if (instance.handOver(kind, argument)) {
        return 0;
    }
    instance.serve();
    Ionaria::ui::MainWindow feuilleP(folders);
    runningFolder = folders.applicationFolder().toStdString();
    std::atexit(markStoppedAtExit);
    instance.deliverTo(feuilleP);
    QObject::connect(&endings, &Ionaria::ui::QuitSignals::received, &feuilleP, [&feuilleP] {
        feuilleP.endRun();
        QApplication::quit();
    });
    feuilleP.show();
    if (!options.exerciseFile.empty()) {
        feuilleP.openExerciseFile(QString::fromStdString(options.exerciseFile));
    } else if (!options.configFile.empty()) {
        feuilleP.openConfiguration(QString::fromStdString(options.configFile));
    }
    const int status = app.exec();
    // Said once, by the window's quit: the end of the process need not again.
    runningFolder.clear();
    return status;
}
