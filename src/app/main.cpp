#include "app/BatchMode.h"
#include "app/CommandLine.h"
#include "calc/CalculCommand.h"

#include <filesystem>
#include <iostream>

namespace {

// The folder of the executable, where the data folder is copied by the build.
std::filesystem::path applicationFolder(const char* argv0) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        self = std::filesystem::absolute(argv0, ec);
    }
    return self.parent_path();
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
        return BatchMode::run(options, std::cout, std::cerr);
    case CommandLine::Mode::Window:
        break;
    }
    // Until the window exists, the program shows a sample experiment.
    const auto folder = options.dossier ? std::filesystem::path(*options.dossier)
                                        : applicationFolder(argv[0]);
    options.mode = CommandLine::Mode::Batch;
    if (options.configFile.empty()) {
        options.configFile =
            (folder / "data" / "configurations" / "electrolyse-chlorure-de-sodium.C14").string();
    }
    std::cout << "Configuration : " << options.configFile << "\n";
    return BatchMode::run(options, std::cout, std::cerr);
}
