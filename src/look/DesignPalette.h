// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPalette>

class QWidget;

namespace Ionaria::look {

// Every colour role of the main window and its dialogs. Their backgrounds are
// the design's light panels, so their texts must be the design's dark ones:
// a dark desktop theme would otherwise put its light text on them. Each text
// reads at 4.5:1 or better on the background it is drawn over, disabled texts
// included.
QPalette designPalette();

// Gives a window and the controls it holds the design's palette. Roles that a
// control sets for itself (the page's background under a check box, the grey
// of a box that cannot be edited) stay its own.
void useDesignPalette(QWidget* window);

} // namespace Ionaria::look
