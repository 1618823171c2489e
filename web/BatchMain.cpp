// SPDX-License-Identifier: GPL-3.0-or-later
// The batch mode compiled to WebAssembly, run by web/batch.mjs under Node with
// the real file system: the arguments of `ionaria --batch` after the file, and
// the same CSV, summary and exit status. Pictures need the desktop program.
#include "app/BatchMode.h"
#include "app/CommandLine.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    using Ionaria::app::BatchMode;
    using Ionaria::app::CommandLine;
    std::vector<std::string> arguments{"--batch"};
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    const CommandLine options = CommandLine::parse(arguments);
    if (options.mode != CommandLine::Mode::Batch) {
        std::cerr << "ionaria : " << options.error << "\n" << CommandLine::usage();
        return BatchMode::usageError;
    }
    if (options.pngPath || options.pdfPath || options.courbes.path) {
        std::cerr << "ionaria : les images ne sont faites que par le programme de bureau\n";
        return BatchMode::usageError;
    }
    return BatchMode::run(options, std::cout, std::cerr);
}
