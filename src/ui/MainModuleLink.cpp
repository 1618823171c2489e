// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainModuleLink.h"

#include "sim/Handlers.h"

#include <utility>

namespace Ionaria::ui {

MainModuleLink::MainModuleLink(const QString& folder, sim::Handlers& handlers,
                               std::function<void(const QString&)> tell,
                               std::function<void(const QString&)> openExercise)
    : m_tempFile(folder.toStdString()), m_handlers(handlers), m_tell(std::move(tell)),
      m_openExercise(std::move(openExercise)) {}

void MainModuleLink::lookAtStart() {
    m_tempFile.exerciseName();
    showNote();
}

void MainModuleLink::activate() {
    m_handlers.Form_Activate();
    const auto name = m_tempFile.takeRequest();
    showNote();
    if (name) {
        m_openExercise(QString::fromStdString(*name));
    }
}

void MainModuleLink::showNote() {
    const std::string note = m_tempFile.takeNote();
    if (!note.empty()) {
        m_tell(QString::fromStdString(note));
    }
}

} // namespace Ionaria::ui
