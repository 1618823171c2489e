// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace Ionaria::exercises {

// The values that a correction quotes, as the simulator gives them: the
// experiment of a configuration run as the batch mode runs it, one simulated
// second per tick, and read at each duration asked for. The teacher compares
// them with the text.
class ValueCheck {
public:
    // One value: where it comes from, what it is, and its text as the
    // window shows it (decimal comma, unit).
    struct Row {
        std::string configuration; // the file's name
        std::string asked;         // s, the duration asked for
        std::string quantity;      // "Intensité", "Masse de l'électrode G", "[Cu²⁺]"...
        std::string value;
    };

    // At most this many durations, each at most a simulated week.
    static constexpr std::size_t maxDurations = 20;
    static constexpr long long maxSeconds = 7LL * 24 * 3600;

    // The durations a teacher lists, in seconds, separated by spaces, commas
    // or semicolons; sorted, without repeats. Nothing when one is not a
    // whole number of seconds in range, or none is given.
    static std::optional<std::vector<long long>> parseDurations(const std::string& text);

    // Runs the configuration at path up to each duration. A configuration
    // that cannot be loaded, or a montage the nature check refuses, gives one
    // row that says so.
    static std::vector<Row> run(const std::string& path, const std::vector<long long>& seconds);
};

} // namespace Ionaria::exercises
