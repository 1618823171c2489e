#include "app/BatchMode.h"
#include "app/CommandLine.h"
#include "calc/CalculCommand.h"
#include "report/ExperimentPicture.h"
#include "report/PicturePrinter.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>

#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace {

using Ionaria::app::CommandLine;

// The batch mode's pictures: the end of the run drawn as the window shows
// it, written as PNG and printed onto a PDF file.
bool writePictures(const CommandLine& options, const Ionaria::app::BatchMode::LastFrame& last) {
    Ionaria::report::ExperimentPicture picture(last.engine);
    last.draw(picture);
    bool ok = true;
    if (options.pngPath && !picture.writePng(QString::fromStdString(*options.pngPath))) {
        std::cerr << "Ecriture impossible sur disque : " << *options.pngPath << "\n";
        ok = false;
    }
    if (options.pdfPath && !Ionaria::report::PicturePrinter::printPdf(
                               QString::fromStdString(*options.pdfPath), picture.image(),
                               QString::fromStdString(options.titre), options.exemplaires)) {
        std::cerr << "Impression impossible : " << *options.pdfPath << "\n";
        ok = false;
    }
    return ok;
}

int runBatch(const CommandLine& options, int argc, char* argv[]) {
    using Ionaria::app::BatchMode;
    if (!options.pngPath && !options.pdfPath) {
        return BatchMode::run(options, std::cout, std::cerr);
    }
    // Pictures need fonts and a paint engine, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    return BatchMode::run(
        options, std::cout, std::cerr,
        [&options](const BatchMode::LastFrame& last) { return writePictures(options, last); });
}

// The folder of the executable, where the data folder is copied by the build.
std::filesystem::path applicationFolder(const char* argv0) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        self = std::filesystem::absolute(argv0, ec);
    }
    return self.parent_path();
}

// --dossier first, then IONARIA_DOSSIER, then the executable's folder.
std::filesystem::path applicationFolder(const std::optional<std::string>& dossier,
                                        const char* argv0) {
    if (dossier && !dossier->empty()) {
        return std::filesystem::path(*dossier);
    }
    if (const char* env = std::getenv("IONARIA_DOSSIER"); env != nullptr && *env != '\0') {
        return std::filesystem::path(env);
    }
    return applicationFolder(argv0);
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
    case CommandLine::Mode::Window:
        break;
    }
    QApplication app(argc, argv);
    // The standard boxes and dialogs speak French too ("Annuler", "Ouvrir").
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtFrench);
    }
    const auto folder = applicationFolder(options.dossier, argv[0]);
    Ionaria::ui::MainWindow feuilleP(QString::fromStdString(folder.string()));
    feuilleP.show();
    if (!options.configFile.empty()) {
        feuilleP.openConfiguration(QString::fromStdString(options.configFile));
    }
    return app.exec();
}
