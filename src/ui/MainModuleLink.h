// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/TempFile.h"

#include <QString>

#include <functional>

namespace Ionaria::sim {
class Handlers;
}

namespace Ionaria::ui {

// The link with the main teaching program, through the temporary file: the
// run is marked as going on from the start to the end, and each activation
// of the window takes the exercise the main program asked for, if any.
class MainModuleLink {
public:
    // tell shows a note in the hint line; openExercise opens an exercise by
    // the name the main program gave, relative to folder.
    MainModuleLink(const QString& folder, sim::Handlers& handlers,
                   std::function<void(const QString&)> tell,
                   std::function<void(const QString&)> openExercise);

    const TempFile& tempFile() const { return m_tempFile; }

    void markRunning() { m_tempFile.markRunning(); }
    void markStopped() { m_tempFile.markStopped(); }
    // At the start: the main program may already have left a name, which
    // is taken at the activation that follows; what kept the file from being
    // used is told.
    void lookAtStart();
    // The window became active (Form_Activate), or was first shown.
    void activate();

private:
    void showNote();

    TempFile m_tempFile;
    sim::Handlers& m_handlers;
    std::function<void(const QString&)> m_tell;
    std::function<void(const QString&)> m_openExercise;
};

} // namespace Ionaria::ui
