// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exercises/ExerciseDescriptor.h"
#include "exercises/ExerciseMessage.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace Ionaria::exercises {

// Finds the files a descriptor names. Names are relative to the descriptor's
// folder and may be written with either separator. A name that leads out of
// the folder ("..", an absolute path) is followed only to a file that exists,
// and every path given here is for reading only: nothing a descriptor names is
// ever written. Names that differ only in the case of ASCII letters from the
// file on disk are found too, as descriptors are written on systems that ignore case.
class ExerciseFiles {
public:
    // The folder of a descriptor with a trailing separator, as messages show it.
    static std::string folderText(const std::filesystem::path& descriptor);

    // True when name leads outside the folder it is relative to.
    static bool leavesFolder(const std::string& name);

    // Where name, read from a descriptor in folder, leads. Nothing when name is
    // blank, holds control characters, or leaves the folder towards a file that
    // does not exist. A name inside the folder is given even if missing.
    static std::optional<std::filesystem::path> locate(const std::filesystem::path& folder,
                                                       const std::string& name);

    enum class Part { Statement, Correction };

    // What opening one part of an exercise loads, and what to tell the user.
    struct Opening {
        std::optional<ExerciseDescriptor> descriptor;
        std::optional<std::filesystem::path> text;          // rich text to load
        std::optional<std::filesystem::path> configuration; // configuration to load
        std::vector<ExerciseMessage> messages;              // in the order to show them
    };
    static Opening open(const std::filesystem::path& descriptor, Part part);
};

} // namespace Ionaria::exercises
