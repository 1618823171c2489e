// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

class QLabel;

namespace Ionaria::ui {

// The measurement strip Picture2 along the top of the picture: the names of
// the elapsed time, the voltage between D and G and the current, printed in
// front of their value labels.
class MeasureStrip : public QWidget {
    Q_OBJECT

public:
    static constexpr int stripHeight = 16; // px
    static inline const QColor background{192, 64, 0};

    explicit MeasureStrip(QWidget* parent = nullptr);

    // Shows the three measurements.
    void setValues(const QString& temps, const QString& tension, const QString& intensite);

    QLabel* Labeltps = nullptr;
    QLabel* Labelu = nullptr;
    QLabel* Labelint = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont stripFont(bool italic) const;
};

} // namespace Ionaria::ui
