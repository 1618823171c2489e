// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exercises/ExerciseMessage.h"

#include <QString>

class QDialog;
class QPrinter;
class QWidget;

namespace Ionaria::exercises {

// Everything of the exercises window that waits for the user: its message
// boxes, the file and printer dialogs and the chooser. Tests give their own
// answers instead.
class ExerciseDialogs {
public:
    virtual ~ExerciseDialogs() = default;

    // Shows a message with its icon and buttons; true for OK.
    virtual bool message(QWidget* parent, const ExerciseMessage& message);
    // A critical box with its title and text (the configuration loader's messages).
    virtual void critical(QWidget* parent, const QString& title, const QString& text);

    // The name of the rich-text file to save into, or empty when cancelled.
    // The dialog does not ask about replacing a file: the caller does.
    virtual QString saveFileName(QWidget* parent, const QString& folder);
    // The name of a rich-text file to open, or empty when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& folder);
    // Lets the user choose and set up the printer; false when cancelled.
    virtual bool choosePrinter(QPrinter& printer, QWidget* parent);
    // Runs a modal dialog until it closes.
    virtual void runModal(QDialog& dialog);

    // The file filter of the rich-text dialogs.
    static QString rtfFilter();

    // The dialogs of a real session.
    static ExerciseDialogs& standard();
};

} // namespace Ionaria::exercises
