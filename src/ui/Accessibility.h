// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QComboBox;
class QLabel;
class QWidget;

namespace Ionaria::ui {

// What screen readers are told of the controls the program draws itself:
// the picture is an image, the tab strip a list of page tabs, the generator's
// arrows a spin button with its value, the hint line a status line whose
// text is read. Installed once, before the first control is made.
void installAccessibility();

// The hint line: a status line whose text a screen reader reads.
void markStatusLine(QLabel* line);

// Gives a list the label printed before it on its page, as screen readers
// find labels (a label whose buddy the list is), and names its pop-up.
void labelList(QComboBox* list, const QString& label);

// Names the scroll bars of every scrolled area and pop-up list under root
// after the area they scroll.
void nameScrollBars(QWidget* root);

} // namespace Ionaria::ui
