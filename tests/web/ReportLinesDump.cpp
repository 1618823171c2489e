// SPDX-License-Identifier: GPL-3.0-or-later
// The state report's lines at the end of a batch run, as the desktop draws
// the run's last picture:
//   web_report_lines --batch FILE.C14 --seconds N
// prints one line of the report a line, for tests/web/handlers.mjs to compare
// with the WebAssembly session's. The batch's own summary is not printed.
#include "app/BatchMode.h"
#include "app/CommandLine.h"
#include "report/ExperimentPicture.h"
#include "report/ReportLines.h"

#include <QGuiApplication>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    using Ionaria::app::BatchMode;
    using Ionaria::app::CommandLine;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QGuiApplication application(argc, argv);
    const CommandLine options = CommandLine::parse(std::vector<std::string>(argv + 1, argv + argc));
    if (options.mode != CommandLine::Mode::Batch) {
        std::cerr << "usage : web_report_lines --batch FICHIER.C14 --seconds N\n";
        return BatchMode::usageError;
    }
    std::ostringstream summary;
    return BatchMode::run(options, summary, std::cerr, [](const BatchMode::LastFrame& last) {
        Ionaria::report::ExperimentPicture picture(last.engine);
        last.draw(picture);
        for (const std::string& line : Ionaria::report::rapportLines(last.engine)) {
            std::cout << line << "\n";
        }
        return static_cast<bool>(std::cout);
    });
}
