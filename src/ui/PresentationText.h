// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QTextEdit;

namespace Ionaria::ui {

// Writes the presentation of the simulator into the rich-text box, piece by
// piece, replacing what it held. Run at start-up and when an exercise is
// closed.
void writePresentation(QTextEdit& supertext);

} // namespace Ionaria::ui
