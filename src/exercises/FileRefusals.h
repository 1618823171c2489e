// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exercises/ExerciseMessage.h"

#include <filesystem>
#include <string>

namespace Ionaria::exercises {

// A file name as a message shows it: control characters, which would be
// invisible or break the line, are written as \xHH.
std::string shownName(const std::string& name);

// The exercise's file is a folder, a pipe or a device; name as shown.
ExerciseMessage notAFile(const std::string& name);
// The file named as an exercise is of another kind (a configuration).
ExerciseMessage notAnExercise(const std::string& name);

// Whether something that is not a regular file stands at path.
bool isOtherThanFile(const std::filesystem::path& path);
// Whether the file at path is a configuration rather than an exercise
// descriptor: its extension, or its first record, tells.
bool isConfiguration(const std::filesystem::path& path);

} // namespace Ionaria::exercises
