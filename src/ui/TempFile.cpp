// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TempFile.h"

#include "base/RecordFile.h"

#include <filesystem>

namespace Ionaria::ui {

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace

TempFile::TempFile(const std::string& folder)
    : m_path((std::filesystem::path(folder) / fileName).string()) {}

void TempFile::markRunning() const {
    base::RecordFile::writeOne(m_path, recordRunning, "OUI");
}

void TempFile::markStopped() const {
    base::RecordFile::writeOne(m_path, recordRunning, "NON");
}

std::string TempFile::exerciseName() const {
    const auto text = base::RecordFile::readOne(m_path, recordExercise);
    return text.status == base::RecordFile::Status::Ok ? text.value : std::string();
}

std::string TempFile::takeExerciseName() const {
    const auto text = base::RecordFile::readOne(m_path, recordExercise);
    if (text.status == base::RecordFile::Status::CannotOpen) {
        return {};
    }
    base::RecordFile::writeOne(m_path, recordExercise, "");
    return text.status == base::RecordFile::Status::Ok ? trimmed(text.value) : std::string();
}

} // namespace Ionaria::ui
