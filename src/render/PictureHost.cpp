// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/PictureHost.h"

#include "output/FileOutput.h"

namespace Ionaria::render {

PictureHost::PictureHost(sim::Engine& engine, Report report, std::unique_ptr<QtCanvas> canvas)
    : Picture(engine, canvas ? std::move(canvas) : std::make_unique<QtCanvas>(),
              std::move(report)) {}

bool PictureHost::writePng(const QString& path) const {
    return output::writeImage(path, image(), "PNG").ok();
}

} // namespace Ionaria::render
