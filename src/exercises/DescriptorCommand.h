// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exercises/ExerciseDescriptor.h"

#include <iosfwd>
#include <string>

namespace Ionaria::exercises {

// The exercise descriptor from the command line: written from options, so
// that a teacher can script a series of exercises, or printed.
class DescriptorCommand {
public:
    // Exit statuses, those of the batch mode where they mean the same.
    static constexpr int ok = 0;
    static constexpr int cannotRead = 2;
    static constexpr int refused = 3;
    static constexpr int writeError = 4;

    // Writes the descriptor; a descriptor already there keeps the records
    // that no option stands for.
    static int write(const std::string& file, const ExerciseDescriptor& descriptor,
                     std::ostream& err);
    // Prints the descriptor, one "option : value" line per field, in the
    // order of the options of --exercice.
    static int print(const std::string& file, std::ostream& out, std::ostream& err);
    static std::string listing(const ExerciseDescriptor& descriptor);
};

} // namespace Ionaria::exercises
