// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace Ionaria::exercises {

// The descriptor of an exercise (".E37", and "KIVAR.PEM" for the guided first
// use): twelve texts in 128-byte records. File names are relative to the
// descriptor's folder.
struct ExerciseDescriptor {
    static constexpr int recordCount = 12;
    static constexpr int maxLevel = 3;
    // More hourglasses than this would not fit the preview.
    static constexpr int maxHourglasses = 10;

    std::string statement;               // record 1
    std::string statementConfiguration;  // record 2, blank: none
    std::string correction;              // record 3, blank: none
    std::string correctionConfiguration; // record 4, blank: none
    int level = 0;                       // record 5, 0 to 3
    std::string record6;                 // kept, never shown
    std::string notions;                 // records 7 to 10 joined
    std::string title;                   // record 11, trimmed
    int hourglasses = 0;                 // record 12, the estimated duration

    // An exercise has a correction when record 3 or record 4 is not blank.
    bool corrected() const;
    // "Exercice corrigé" or "Non corrigé".
    std::string correctionLabel() const;

    // Builds a descriptor from the texts of its records; missing records are blank.
    static ExerciseDescriptor fromRecords(const std::vector<std::string>& records);

    // Reads a descriptor file; nothing when it cannot be read, which the user
    // learns through ExerciseMessage::cannotRead().
    static std::optional<ExerciseDescriptor> read(const std::filesystem::path& file);

    bool operator==(const ExerciseDescriptor&) const = default;
};

} // namespace Ionaria::exercises
