// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/Picture.h"
#include "render/QtCanvas.h"

#include <QImage>
#include <QString>

#include <memory>

namespace Ionaria::render {

// The picture of the experiment drawn by QPainter into an image.
//
//     PictureHost picture(engine, report);
//     engine.setHost(&picture);
//     ... engine.Timer1_Timer() ...
//     picture.image().save("out.png", "PNG");
class PictureHost : public Picture {
public:
    explicit PictureHost(sim::Engine& engine, Report report = {},
                         std::unique_ptr<QtCanvas> canvas = nullptr);

    // The frame as it stands: the background with the moving layer and, at
    // the macroscopic scale, the report.
    const QImage& image() const { return canvas().image(); }
    // Writes the frame as a PNG file; false when it cannot be written, the
    // file it would have replaced then left whole.
    bool writePng(const QString& path) const;

    // The surface, which this host always makes a QPainter one.
    QtCanvas& canvas() { return static_cast<QtCanvas&>(surface()); }
    const QtCanvas& canvas() const { return static_cast<const QtCanvas&>(surface()); }
};

} // namespace Ionaria::render
