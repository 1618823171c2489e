// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/BatchMode.h"
#include "app/CourbesOptions.h"

#include <QGuiApplication>

#include <iosfwd>
#include <memory>

namespace Ionaria::app {

// The application a batch run with pictures needs: the curves are drawn by
// widgets' code, the experiment's picture by painting alone. Neither needs a
// display.
std::unique_ptr<QGuiApplication> batchApplication(const CourbesOptions& options, int& argc,
                                                  char* argv[]);

// The curves of the run, drawn as the window draws them, written to their
// file; false, after the message on err, when it could not be written.
bool writeCourbes(const CourbesOptions& options, const BatchMode::LastFrame& last,
                  std::ostream& err);

// The electrolyser's characteristic I = f(U) at the end of the run, as CSV
// or drawn as Courbes draws it; false, after the message on err, when the
// montage is the cell or the file could not be written.
bool writeCaracteristique(const CourbesOptions& options, const BatchMode::LastFrame& last,
                          std::ostream& err);

} // namespace Ionaria::app
