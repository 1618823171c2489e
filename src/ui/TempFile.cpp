// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TempFile.h"

#include "base/RecordFile.h"
#include "base/SharedFile.h"

#include <filesystem>
#include <utility>

namespace Ionaria::ui {

namespace {

using base::RecordFile;
using base::SharedFile;

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

TempFile::~TempFile() = default;

void TempFile::noteTrouble(Trouble trouble) {
    bool* told = nullptr;
    std::string note;
    switch (trouble) {
    case Trouble::Link:
        told = &m_toldLink;
        note = std::string(fileName) + " est un lien symbolique : il n'est ni lu ni modifié.";
        break;
    case Trouble::NotAFile:
        told = &m_toldNotAFile;
        note = std::string(fileName) + " n'est pas un fichier : il n'est ni lu ni modifié.";
        break;
    case Trouble::CannotClear:
        told = &m_toldCannotClear;
        note = "La demande d'exercice de " + std::string(fileName) +
               " ne peut pas être effacée : elle ne sera pas reprise.";
        break;
    case Trouble::None:
        return;
    }
    if (!*told) {
        *told = true;
        m_pendingNote += (m_pendingNote.empty() ? "" : "\n") + note;
    }
}

void TempFile::markRunning() {
    m_held = std::make_unique<SharedFile>(m_path, SharedFile::Access::UpdateOrCreate,
                                          SharedFile::Links::Refuse);
    if (m_held->refusal() == SharedFile::Refusal::SymbolicLink) {
        noteTrouble(Trouble::Link);
    } else if (m_held->refusal() == SharedFile::Refusal::NotAFile) {
        noteTrouble(Trouble::NotAFile);
    }
    if (m_held->isOpen()) {
        RecordFile::writeOneAt(m_held->fd(), recordRunning, "OUI");
    }
}

void TempFile::markStopped() {
    const std::unique_ptr<SharedFile> held = std::move(m_held);
    SharedFile file(m_path, SharedFile::Access::Update, SharedFile::Links::Refuse);
    if (file.isOpen()) {
        RecordFile::writeOneAt(file.fd(), recordRunning, "NON");
    } else if (file.refusal() == SharedFile::Refusal::Denied && held && held->isOpen()) {
        // Made read-only during the run: the file opened at the start still
        // takes the record.
        RecordFile::writeOneAt(held->fd(), recordRunning, "NON");
    }
}

std::string TempFile::exerciseName() {
    const SharedFile file(m_path, SharedFile::Access::Read, SharedFile::Links::Refuse);
    if (!file.isOpen()) {
        return {};
    }
    const auto text = RecordFile::readOneAt(file.fd(), recordExercise);
    return text.status == RecordFile::Status::Ok ? text.value : std::string();
}

std::optional<std::string> TempFile::takeRequest() {
    std::optional<SharedFile> opened;
    opened.emplace(m_path, SharedFile::Access::Update, SharedFile::Links::Refuse);
    const bool writable = opened->isOpen();
    if (opened->refusal() == SharedFile::Refusal::Denied) {
        // Another account's file, or a folder shared read-only: the request
        // is still read, and taken once.
        opened.emplace(m_path, SharedFile::Access::Read, SharedFile::Links::Refuse);
    }
    const SharedFile& file = *opened;
    switch (file.refusal()) {
    case SharedFile::Refusal::SymbolicLink:
        noteTrouble(Trouble::Link);
        return std::nullopt;
    case SharedFile::Refusal::NotAFile:
        noteTrouble(Trouble::NotAFile);
        return std::nullopt;
    default:
        break;
    }
    if (!file.isOpen()) {
        return std::nullopt;
    }
    const auto text = RecordFile::readOneAt(file.fd(), recordExercise);
    if (text.status != RecordFile::Status::Ok) {
        return std::nullopt;
    }
    if (trimmed(text.value).empty()) {
        // Blanks ask for nothing; they are cleared all the same.
        if (writable && !text.value.empty()) {
            RecordFile::writeOneAt(file.fd(), recordExercise, "");
        }
        return std::nullopt;
    }
    if (text.value == m_handledText && file.modifiedNs() == m_handledModifiedNs) {
        return std::nullopt;
    }
    m_handledText = text.value;
    m_handledModifiedNs = file.modifiedNs();
    if (!writable ||
        RecordFile::writeOneAt(file.fd(), recordExercise, "") != RecordFile::Status::Ok) {
        noteTrouble(Trouble::CannotClear);
    }
    return trimmed(text.value);
}

std::string TempFile::takeNote() {
    return std::exchange(m_pendingNote, std::string());
}

} // namespace Ionaria::ui
