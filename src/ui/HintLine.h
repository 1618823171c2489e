// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QEvent;
class QLabel;
class QWidget;

namespace Ionaria::ui {

// The hint line of the main window: moving the pointer over a control shows
// the control's hint there.
class HintLine : public QObject {
public:
    using QObject::QObject;

    // The label the hints are shown in.
    void setLine(QLabel* line) { m_line = line; }
    void setHint(QWidget* control, const QString& hint);
    // While the line shows message, the pointer over control leaves it: the
    // confirmation of a copy stays over the copy button.
    void keepOver(const QObject* control, const QString& message);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_line = nullptr;
    QHash<const QObject*, QString> m_hints;
    const QObject* m_keptOver = nullptr;
    QString m_kept;
};

} // namespace Ionaria::ui
