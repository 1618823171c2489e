// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace Ionaria::ui {

class HintLine;
class MainWindow;

// Makes the main window's twelve command buttons from one table of their
// names, captions, hints and handlers: the reset and the pause in the frame
// Frame1 under the tabs, the others in one row along the bottom. Each button
// shows its hint in the hint line, as its tooltip and to screen readers.
void createCommandBar(MainWindow& window, HintLine& hints);

} // namespace Ionaria::ui
