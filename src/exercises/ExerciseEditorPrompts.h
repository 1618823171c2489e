// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QUrl;
class QWidget;

namespace Ionaria::exercises {

// Everything of the exercise editor that waits for the user or leaves the
// program: boxes, file dialogs, the word processor. Tests give their own
// answers instead.
class ExerciseEditorPrompts {
public:
    virtual ~ExerciseEditorPrompts() = default;

    // The descriptor to write, or empty when cancelled; the dialog asks
    // nothing about replacing a file.
    virtual QString descriptorName(QWidget* parent, const QString& folder);
    // A file to read, of the filter given, or empty when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& folder, const QString& filter);
    // A Yes/No question; true for Yes.
    virtual bool question(QWidget* parent, const QString& title, const QString& text);
    virtual void critical(QWidget* parent, const QString& title, const QString& text);
    // Opens a file in the program the desktop gives it (the word processor for RTF).
    virtual bool openUrl(const QUrl& url);

    static ExerciseEditorPrompts& standard();
};

} // namespace Ionaria::exercises
