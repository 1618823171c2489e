// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowHost.h"

namespace Ionaria::ui {

WindowHost::WindowHost(sim::EngineHost& picture, std::function<void(bool)> timerChangedHandler,
                       std::function<void()> naturesChangedHandler)
    : m_picture(picture), m_timerChanged(std::move(timerChangedHandler)),
      m_naturesChanged(std::move(naturesChangedHandler)) {}

void WindowHost::timerChanged(bool running) {
    m_picture.timerChanged(running);
    if (m_timerChanged) {
        m_timerChanged(running);
    }
}

void WindowHost::naturesChanged() {
    m_picture.naturesChanged();
    if (m_naturesChanged) {
        m_naturesChanged();
    }
}

} // namespace Ionaria::ui
