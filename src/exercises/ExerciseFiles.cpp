// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/ExerciseFiles.h"

#include "exercises/FileRefusals.h"

#include <algorithm>
#include <system_error>

namespace Ionaria::exercises {

namespace fs = std::filesystem;

namespace {

std::string withSlashes(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

bool isAbsoluteName(const std::string& name) {
    const bool drive = name.size() >= 2 && name[1] == ':' &&
                       ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
    return drive || (!name.empty() && name.front() == '/');
}

bool sameIgnoringAsciiCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) {
                   return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
               };
               return lower(x) == lower(y);
           });
}

// The existing file that path names, allowing for differences of case in
// each component; nothing when there is none.
std::optional<fs::path> existingFile(const fs::path& path) {
    std::error_code ec;
    if (fs::is_regular_file(path, ec)) {
        return path;
    }
    fs::path found = path.root_path();
    for (const fs::path& part : path.relative_path()) {
        const fs::path exact = found / part;
        if (part == "." || part == ".." || fs::exists(exact, ec)) {
            found = exact;
            continue;
        }
        const fs::path base = found.empty() ? fs::path(".") : found;
        std::optional<fs::path> match;
        for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
            if (sameIgnoringAsciiCase(it->path().filename().string(), part.string())) {
                match = it->path();
                break;
            }
        }
        if (!match) {
            return std::nullopt;
        }
        found = *match;
    }
    return fs::is_regular_file(found, ec) ? std::optional<fs::path>(found) : std::nullopt;
}

} // namespace

std::string ExerciseFiles::folderText(const fs::path& descriptor) {
    fs::path folder = descriptor.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    // Appending an empty name adds the separator, once.
    return (folder / "").string();
}

bool ExerciseFiles::leavesFolder(const std::string& name) {
    const std::string slashed = withSlashes(name);
    if (isAbsoluteName(slashed)) {
        return true;
    }
    const fs::path normal = fs::path(slashed).lexically_normal();
    return !normal.empty() && *normal.begin() == "..";
}

std::optional<fs::path> ExerciseFiles::locate(const fs::path& folder, const std::string& name) {
    if (name.empty() || std::any_of(name.begin(), name.end(),
                                    [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
        return std::nullopt;
    }
    const std::string slashed = withSlashes(name);
    const fs::path path = isAbsoluteName(slashed) ? fs::path(slashed) : folder / slashed;
    const std::optional<fs::path> existing = existingFile(path);
    if (existing) {
        return existing;
    }
    if (leavesFolder(name)) {
        return std::nullopt;
    }
    return path;
}

ExerciseFiles::Opening ExerciseFiles::open(const fs::path& descriptor, Part part) {
    Opening opening;
    if (isOtherThanFile(descriptor)) {
        opening.messages.push_back(notAFile(descriptor.string()));
        return opening;
    }
    if (isConfiguration(descriptor)) {
        opening.messages.push_back(notAnExercise(descriptor.string()));
        return opening;
    }
    std::optional<ExerciseDescriptor> read = ExerciseDescriptor::read(descriptor);
    if (!read) {
        opening.messages.push_back(ExerciseMessage::cannotRead());
        return opening;
    }
    const ExerciseDescriptor& exercise = *read;
    const fs::path folder = descriptor.parent_path();
    const std::string folderName = folderText(descriptor);
    const bool statement = part == Part::Statement;
    const std::string& textName = statement ? exercise.statement : exercise.correction;
    const std::string& configurationName =
        statement ? exercise.statementConfiguration : exercise.correctionConfiguration;

    if (statement && textName.empty()) {
        opening.messages.push_back(ExerciseMessage::cannotRead());
        return opening;
    }
    if (!textName.empty()) {
        const std::optional<fs::path> text = locate(folder, textName);
        std::error_code ec;
        if (text && fs::is_regular_file(*text, ec)) {
            opening.text = text;
        } else if (isOtherThanFile(folder / withSlashes(textName))) {
            opening.messages.push_back(notAFile(folderName + withSlashes(textName)));
        } else {
            opening.messages.push_back(
                ExerciseMessage::fileMissing(folderName, shownName(withSlashes(textName))));
        }
    }
    if (!configurationName.empty()) {
        opening.configuration = locate(folder, configurationName);
        if (!opening.configuration) {
            opening.messages.push_back(ExerciseMessage::fileMissing(
                folderName, shownName(withSlashes(configurationName))));
        }
    }
    opening.descriptor = std::move(read);
    return opening;
}

} // namespace Ionaria::exercises
