// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/ConfigFile.h"

#include <string>

namespace Ionaria::config {

// The message of a save that failed, naming what the user can change: a
// folder that takes no new file (a careful save writes its new file beside
// the old one), else the disk.
Message saveFailure(const std::string& path);

} // namespace Ionaria::config
