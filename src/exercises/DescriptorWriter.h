// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/CarefulFile.h"
#include "exercises/ExerciseDescriptor.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace Ionaria::exercises {

// Writes exercise descriptors, the twelve 128-byte records that the chooser
// reads. Every text is checked before a byte is written: a descriptor that
// would not read back as it was meant is refused as a whole, and the file it
// would replace stays as it was.
class DescriptorWriter {
public:
    // What a refusal is about: the fields of the descriptor, in record order.
    enum class Field {
        Statement,
        StatementConfiguration,
        Correction,
        CorrectionConfiguration,
        Level,
        Notions,
        Title,
        Hourglasses,
    };
    enum class Problem {
        Blank,            // the statement or the title is missing
        TooLong,          // more bytes in Windows-1252 than the records hold
        NotWindows1252,   // a character the code page cannot hold
        PathSeparator,    // a name that is not a bare file name of the folder
        ControlCharacter, // a name with a tab, a line break...
        OutOfRange,       // a level or a duration beyond the preview's
    };
    struct Refusal {
        Field field;
        Problem problem;
        std::string text;      // the value refused, UTF-8
        std::size_t bytes = 0; // Problem::TooLong: its length in Windows-1252
        std::string character; // Problem::NotWindows1252: the first one that fails
        bool operator==(const Refusal&) const = default;
    };

    // The notions span records 7 to 10.
    static constexpr int notionRecords = 4;
    static constexpr std::size_t maxNotionBytes = notionRecords * 126;

    // Why name, for the field given, cannot stand in a descriptor; nothing
    // when it can. A blank name is accepted (no file) except for the statement.
    static std::optional<Refusal> checkName(Field field, const std::string& name);
    // Why the descriptor cannot be written; nothing when it can.
    static std::optional<Refusal> check(const ExerciseDescriptor& descriptor);

    // The notions cut across records 7 to 10, 126 bytes of Windows-1252 each;
    // nothing when they do not fit or hold a character the code page lacks.
    static std::optional<std::array<std::string, notionRecords>>
    cutNotions(const std::string& notions);

    // The bytes of the descriptor, which check() accepted. kept is the file
    // being replaced, if any: its record 6 and whatever follows record 12 are
    // kept byte for byte, as no field of the descriptor stands for them.
    static std::string encode(const ExerciseDescriptor& descriptor, std::string_view kept = {});

    struct Result {
        std::optional<Refusal> refusal;
        base::CarefulFile::Result written;
        bool ok() const { return !refusal && written.ok(); }
    };
    // Checks, then writes the descriptor through the careful writer. With
    // keepOthers, the records of the file replaced that no field stands for
    // are kept.
    static Result write(const std::filesystem::path& file, const ExerciseDescriptor& descriptor,
                        bool keepOthers);

    // What to tell the teacher, in French.
    static std::string message(const Refusal& refusal);
    static constexpr const char* refusalTitle = "Exercice non enregistré";
};

} // namespace Ionaria::exercises
