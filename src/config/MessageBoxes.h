// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace Ionaria::config {

// The modal message boxes of the file operations. Tests give the dialogs
// their own answers instead of boxes that would wait for a user.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void critical(QWidget* parent, const QString& title, const QString& text);
    // A Yes/No question with a warning icon; true for Yes.
    virtual bool warningYesNo(QWidget* parent, const QString& title, const QString& text);

    // The boxes of a real session.
    static MessageBoxes& standard();
};

} // namespace Ionaria::config
