// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sim/MeasureCsv.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace Ionaria::app {

// The batch mode's options for the curves and for the CSV dialect.
struct CourbesOptions {
    enum class Format { Png, Svg, Pdf };

    std::optional<std::string> path; // --courbes
    // --caracteristique: the characteristic I = f(U) at the end, as CSV or
    // a picture by its extension.
    std::optional<std::string> caracteristique;
    // --grandeurs: the keys of the quantities to draw, in the order given.
    std::vector<std::string> grandeurs = {"i", "mG", "mD"};
    bool grandeursGiven = false;
    bool faraday = false; // --faraday
    sim::CsvDialect csvDialect = sim::CsvDialect::Standard;
    bool formatGiven = false; // --format-csv

    // The picture format a path asks for by its extension, in any case.
    static std::optional<Format> formatOf(const std::string& path);
    // Whether a path names a CSV file, by its extension in any case.
    static bool isCsv(const std::string& path);
    // Whether the run draws with widgets' code.
    bool drawsCharts() const;
};

// Takes an option when it is one of these, reading its value with next
// (none when the line ends): true, and error set when it is malformed.
bool takeCourbesOption(const std::string& option,
                       const std::function<std::optional<std::string>()>& next,
                       CourbesOptions& options, std::string& error);

// What is wrong with these options beside the rest of the command line;
// empty when nothing is.
std::string checkCourbesOptions(const CourbesOptions& options, bool batch, bool csv);

} // namespace Ionaria::app
