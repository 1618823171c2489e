// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace Ionaria::base {
class SharedFile;
}

namespace Ionaria::ui {

// "TEMPZK.TMP" in the application folder, shared with the main teaching
// program: record 13 tells it whether the simulator runs, record 31 may hold
// the name of an exercise it wants opened. A missing or unwritable file never
// stops the simulator; what keeps it from using the file is told once, as a
// note for the hint line.
//
// The file is opened in place and only if it is a regular file: a symbolic
// link is refused rather than written through, and a pipe, a device or a
// folder is passed over at once instead of holding the program.
class TempFile {
public:
    static constexpr const char* fileName = "TEMPZK.TMP";
    static constexpr int recordRunning = 13;
    static constexpr int recordExercise = 31;

    explicit TempFile(const std::string& folder);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return m_path; }

    // The file written at the start stays open for the run, so that the end
    // is told even when the file was made read-only meanwhile.
    void markRunning();
    void markStopped();
    // The exercise name left by the other program, as it stands.
    std::string exerciseName();
    // The exercise asked for by the other program, trimmed, when it was not
    // handled before. The record is cleared; one that cannot be cleared is
    // still taken only once, the same text in a file not written since being
    // the same request.
    std::optional<std::string> takeRequest();
    // What kept the file from being used since the last call, for the hint
    // line, each kind of trouble told once in the run; empty when nothing new.
    std::string takeNote();

private:
    enum class Trouble { None, Link, NotAFile, CannotClear };
    void noteTrouble(Trouble trouble);

    std::string m_path;
    std::unique_ptr<base::SharedFile> m_held;
    std::string m_handledText;
    long long m_handledModifiedNs = -1;
    std::string m_pendingNote;
    bool m_toldLink = false;
    bool m_toldNotAFile = false;
    bool m_toldCannotClear = false;
};

} // namespace Ionaria::ui
