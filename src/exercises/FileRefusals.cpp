// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/FileRefusals.h"

#include "base/RecordFile.h"

#include <algorithm>
#include <array>
#include <system_error>

namespace Ionaria::exercises {

namespace fs = std::filesystem;

namespace {

constexpr const char* configurationSignature = "KIVAR";
constexpr const char* configurationExtension = ".c14";

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

} // namespace

std::string shownName(const std::string& name) {
    static constexpr std::array<char, 16> digits = {'0', '1', '2', '3', '4', '5', '6', '7',
                                                    '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
    std::string shown;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            shown += "\\x";
            shown += digits[byte >> 4U];
            shown += digits[byte & 0xFU];
        } else {
            shown += c;
        }
    }
    return shown;
}

ExerciseMessage notAFile(const std::string& name) {
    return {ExerciseMessage::Icon::Critical, ExerciseMessage::Buttons::Ok, "Lecture impossible",
            shownName(name) + " n'est pas un fichier : c'est un dossier, un tube ou un "
                              "périphérique."};
}

ExerciseMessage notAnExercise(const std::string& name) {
    return {ExerciseMessage::Icon::Critical, ExerciseMessage::Buttons::Ok, "Fichier non valide",
            shownName(name) + " n'est pas un exercice : c'est une configuration du simulateur, "
                              "à ouvrir par le bouton Ouvrir."};
}

bool isOtherThanFile(const fs::path& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    return !ec && fs::exists(status) && !fs::is_regular_file(status);
}

bool isConfiguration(const fs::path& path) {
    if (lowered(path.extension().string()) == configurationExtension) {
        return true;
    }
    const auto first = base::RecordFile::readOne(path.string(), 1);
    return first.status == base::RecordFile::Status::Ok && first.value == configurationSignature;
}

} // namespace Ionaria::exercises
