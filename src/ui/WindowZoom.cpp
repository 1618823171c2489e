// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowZoom.h"

#include "ui/MainWindow.h"
#include "ui/Zoom.h"

#include <QAction>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <utility>

namespace Ionaria::ui {

namespace {

constexpr int designWidth = MainWindow::designWidth;
constexpr int designHeight = MainWindow::designHeight;

} // namespace

WindowZoom::WindowZoom(QWidget& window, std::function<void(double z, bool changed)> applied)
    : m_window(window), m_applied(std::move(applied)) {}

std::optional<QRect> WindowZoom::sizeRule(const QRect& screen) {
    if (screen.width() <= sizeRuleScreenWidth) {
        return std::nullopt;
    }
    const int left = screen.x() + (screen.width() - designWidth) / 2;
    const int top = screen.y() + (screen.height() - designHeight) / 2;
    return QRect(left, top, designWidth, designHeight);
}

void WindowZoom::applySizeRule() {
    const QScreen* s = m_window.screen();
    if (s == nullptr) {
        return;
    }
    const auto geometry = sizeRule(s->geometry());
    if (!geometry) {
        return;
    }
    if (m_window.size() != geometry->size()) {
        m_window.resize(geometry->size());
    }
    if (m_window.pos() != geometry->topLeft()) {
        m_window.move(geometry->topLeft());
    }
}

double WindowZoom::zoomFor(const QSize& windowSize) {
    return std::min(static_cast<double>(windowSize.width()) / designWidth,
                    static_cast<double>(windowSize.height()) / designHeight);
}

void WindowZoom::apply() {
    const double z = zoomFor(m_window.size());
    if (!(z > 0.0)) {
        return;
    }
    const QSize content(static_cast<int>(std::lround(designWidth * z)),
                        static_cast<int>(std::lround(designHeight * z)));
    const QPoint offset((m_window.width() - content.width()) / 2,
                        (m_window.height() - content.height()) / 2);
    const bool changed = z != m_zoom || offset != m_offset;
    if (changed) {
        m_zoom = z;
        m_offset = offset;
        Zoom::apply(&m_window, z, offset);
    }
    m_applied(z, changed);
}

void WindowZoom::shown() {
    apply();
    QWindow* handle = m_window.windowHandle();
    if (handle != nullptr && !m_followsScreen) {
        m_followsScreen = true;
        connect(handle, &QWindow::screenChanged, this, [this] { apply(); });
    }
}

void WindowZoom::createKeys() {
    auto key = [this](const QList<QKeySequence>& keys, auto slot) {
        auto* action = new QAction(&m_window);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        m_window.addAction(action);
    };
    key({QKeySequence(Qt::Key_F11)}, &WindowZoom::toggleFullScreen);
    // Ctrl+= is Ctrl++ on keyboards where + needs Shift.
    key({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        &WindowZoom::zoomIn);
    key({QKeySequence(Qt::CTRL | Qt::Key_Minus)}, &WindowZoom::zoomOut);
    key({QKeySequence(Qt::CTRL | Qt::Key_0)}, &WindowZoom::zoomReset);
}

void WindowZoom::toggleFullScreen() {
    if (m_window.isFullScreen()) {
        m_window.showNormal();
    } else {
        m_window.showFullScreen();
    }
}

double WindowZoom::nextZoom(double z, int steps) {
    const double quarters = z / zoomStep;
    const double from = steps > 0 ? std::floor(quarters + 1e-6) : std::ceil(quarters - 1e-6);
    return std::clamp((from + steps) * zoomStep, minimumZoom, maximumZoom);
}

void WindowZoom::zoomTo(double z) {
    if (m_window.isFullScreen() || m_window.isMaximized()) {
        m_window.showNormal();
    }
    QSize target(static_cast<int>(std::lround(designWidth * z)),
                 static_cast<int>(std::lround(designHeight * z)));
    const QScreen* s = m_window.screen();
    if (s != nullptr && z > m_zoom) {
        // Growing, the frame of the window stays on the screen.
        const QSize room =
            s->availableGeometry().size() - (m_window.frameGeometry().size() - m_window.size());
        if (target.width() > room.width() || target.height() > room.height()) {
            const double fit = zoomFor(room);
            if (fit <= m_zoom) {
                return;
            }
            target =
                QSize(static_cast<int>(designWidth * fit), static_cast<int>(designHeight * fit));
        }
    }
    m_window.resize(target);
}

void WindowZoom::zoomIn() {
    zoomTo(nextZoom(m_zoom, 1));
}

void WindowZoom::zoomOut() {
    zoomTo(nextZoom(m_zoom, -1));
}

void WindowZoom::zoomReset() {
    if (m_window.isFullScreen() || m_window.isMaximized()) {
        m_window.showNormal();
    }
    m_window.resize(designWidth, designHeight);
    applySizeRule();
}

} // namespace Ionaria::ui
