// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace Ionaria::ui {

// "TEMPZK.TMP" in the application folder, shared with the main teaching
// program: record 13 tells it whether the simulator runs, record 31 may hold
// the name of an exercise it wants opened. A missing or unwritable file is
// never reported: the simulator runs the same without it.
class TempFile {
public:
    static constexpr const char* fileName = "TEMPZK.TMP";
    static constexpr int recordRunning = 13;
    static constexpr int recordExercise = 31;

    explicit TempFile(const std::string& folder);

    const std::string& path() const { return m_path; }

    void markRunning() const;
    void markStopped() const;
    // The exercise name left by the other program, as it stands.
    std::string exerciseName() const;
    // The exercise name, trimmed, then cleared in the file so that a second
    // activation finds nothing.
    std::string takeExerciseName() const;

private:
    std::string m_path;
};

} // namespace Ionaria::ui
