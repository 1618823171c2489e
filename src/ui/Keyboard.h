// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QAbstractButton;
class QComboBox;

namespace Ionaria::ui {

// The arrows move within a group of option buttons and stop at its ends: a
// press too many never leaves the page for a control where Space would do
// something else. Moving selects, as the arrows of a group always do.
class OptionGroupKeys : public QObject {
    Q_OBJECT

public:
    explicit OptionGroupKeys(const QList<QAbstractButton*>& group, QObject* parent = nullptr);

    // The button an arrow moves to from index, -1 when none.
    static int target(int index, int count, int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QAbstractButton*> m_group;
};

// A closed list finds its entries by what is typed, spaces included
// ("Sulfate de c"), without opening: the typed prefix is kept for a moment
// between keys, as lists do.
class TypeAheadKeys : public QObject {
    Q_OBJECT

public:
    static constexpr int pauseMs = 1000;

    explicit TypeAheadKeys(QComboBox* list);

    // The first entry starting with prefix, ignoring case; -1 when none.
    static int find(const QList<QString>& entries, const QString& prefix);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* m_list;
    QString m_typed;
    qint64 m_lastKeyMs = 0;
};

} // namespace Ionaria::ui
