// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace Ionaria::exercises {

// A message box of the exercises window, as a value: the window shows it, tests
// read it. Texts are UTF-8; a line break is "\n".
struct ExerciseMessage {
    enum class Icon { Critical, Question };
    enum class Buttons { Ok, OkCancel };

    Icon icon = Icon::Critical;
    Buttons buttons = Buttons::Ok;
    std::string title;
    std::string text;

    // A descriptor that cannot be read.
    static ExerciseMessage cannotRead();
    // A statement or correction that is missing; folder ends with a separator.
    static ExerciseMessage fileMissing(const std::string& folder, const std::string& name);
    // The descriptor of the guided first use is missing from the program's folder.
    static ExerciseMessage installationIncomplete();
    // Asked before an action would drop edits of the exercise text.
    static ExerciseMessage abandonEdits();
    // A text beyond the reader's size or paragraph bounds; name as shown.
    static ExerciseMessage textTooLarge(const std::string& name);
    static ExerciseMessage textTooLong(const std::string& name);
    // Asked before saving over an existing file.
    static ExerciseMessage overwrite(const std::string& name);

    bool operator==(const ExerciseMessage&) const = default;
};

} // namespace Ionaria::exercises
