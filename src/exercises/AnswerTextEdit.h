// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exercises/ExerciseMessage.h"

#include <QTextEdit>

#include <functional>

namespace Ionaria::exercises {

// The rich-text box of the exercises, where the pupil writes the answer. It
// takes pictures from the clipboard, and refuses, when it is pasted, one that
// would make the text more than the reader reopens: nothing is dropped later.
class AnswerTextEdit : public QTextEdit {
    Q_OBJECT

public:
    explicit AnswerTextEdit(QWidget* parent = nullptr);

    // Called with the refusal of a paste; the box itself shows nothing.
    void setRefusalHandler(std::function<void(const ExerciseMessage&)> handler) {
        m_refused = std::move(handler);
    }

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    std::function<void(const ExerciseMessage&)> m_refused;
    int m_pasted = 0;
};

} // namespace Ionaria::exercises
