// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>
#include <optional>

class QWidget;

namespace Ionaria::ui {

// The main window's size and zoom: where it opens on a wide screen, the scale
// of its content in whatever size it is given, the zoom keys (Ctrl++, Ctrl+-,
// Ctrl+0) and the full screen (F11). The content keeps the design's layout
// and is centred in the window at the largest scale that fits.
class WindowZoom : public QObject {
public:
    // Screens wider than this get the window at its design size, centred.
    static constexpr int sizeRuleScreenWidth = 850; // px
    // The zoom keys step the content's scale by quarters, within these.
    static constexpr double zoomStep = 0.25;
    // Below this zoom, texts would be cut and controls overlap.
    static constexpr double minimumZoom = 0.75;
    static constexpr double maximumZoom = 4.0;

    // The geometry the size rule gives on a screen, or none when the window
    // keeps its size.
    static std::optional<QRect> sizeRule(const QRect& screen);
    // The content's scale in a window of this size: the largest at which
    // the 800 x 600 design fits.
    static double zoomFor(const QSize& windowSize);
    // The zoom steps keys away from z, on the quarters.
    static double nextZoom(double z, int steps);

    // applied is told the zoom each time the content is fitted to the
    // window, and whether the zoom or the content's place changed.
    WindowZoom(QWidget& window, std::function<void(double z, bool changed)> applied);

    double zoom() const { return m_zoom; }
    // Where the content's top left corner is in the window, px.
    QPoint offset() const { return m_offset; }

    // Adds the zoom and full screen keys to the window.
    void createKeys();
    // Gives the window the size rule's geometry on its screen.
    void applySizeRule();
    // Fits the content to the window's size.
    void apply();
    // The window is shown: the content is fitted, and fitted again on
    // another screen, which may have another pixel ratio.
    void shown();

    void toggleFullScreen();
    void zoomIn();
    void zoomOut();
    void zoomReset();

private:
    void zoomTo(double z);

    QWidget& m_window;
    std::function<void(double, bool)> m_applied;
    double m_zoom = 1.0;
    QPoint m_offset;
    bool m_followsScreen = false;
};

} // namespace Ionaria::ui
