// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QWidget>

namespace Ionaria::ui {

// The experiment surface illus: shows the current frame of the picture, pixel
// for pixel. The window draws the frame at the surface's size in the
// screen's pixels, so that nothing is stretched.
class IllusView : public QWidget {
    Q_OBJECT

public:
    static constexpr int surfaceWidth = 417;  // px
    static constexpr int surfaceHeight = 497; // px

    explicit IllusView(const QImage& frame, QWidget* parent = nullptr);

    const QImage& frame() const { return m_frame; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage& m_frame;
};

} // namespace Ionaria::ui
