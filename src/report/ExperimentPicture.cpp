// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ExperimentPicture.h"

#include "report/Rapport.h"

namespace Ionaria::report {

ExperimentPicture::ExperimentPicture(sim::Engine& engine, std::unique_ptr<render::QtCanvas> canvas)
    : render::PictureHost(engine, &rapport, std::move(canvas)) {}

} // namespace Ionaria::report
