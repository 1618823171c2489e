// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/PictureHost.h"

namespace Ionaria::report {

// The picture of the experiment with the state report written over it at
// the macroscopic scale: the host to give the engine.
//
//     ExperimentPicture picture(engine);
//     engine.setHost(&picture);
//     engine.fondschema();
//     engine.Timer1_Timer();
//     picture.writePng("out.png");
class ExperimentPicture : public render::PictureHost {
public:
    explicit ExperimentPicture(sim::Engine& engine,
                               std::unique_ptr<render::QtCanvas> canvas = nullptr);
};

} // namespace Ionaria::report
