// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/PrintCursor.h"

#include <QColor>
#include <QWidget>

#include <vector>

class QComboBox;

namespace Ionaria::sim {
struct ListBox;
}

namespace Ionaria::ui {

// A page of the tab strip whose labels are printed by a text cursor and whose
// input controls are moved to where the printing leaves room. The layout is
// recomputed from the parameters at every refresh, so the page always matches
// the current montage.
class PrintedPage : public QWidget {
    Q_OBJECT

public:
    static inline const QColor background{240, 235, 230};

    explicit PrintedPage(QWidget* parent = nullptr);

    // "Arial" 8 points: Liberation Sans, 11 px.
    static QFont arial8();

    // Prints the labels again and moves, shows or hides the controls.
    void refresh();
    // Puts the parameter values into the controls, then refreshes.
    virtual void syncFromStore() = 0;

    const std::vector<PrintedText>& printedTexts() const { return m_texts; }
    // The printed texts in order, joined by spaces: what the page reads.
    QString printedLine() const;

signals:
    // A control of the page changed a parameter through the handlers.
    void parametersChanged();

protected:
    virtual void compose(PrintCursor& cursor) = 0;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Gives a control the page's background, so that it blends into it.
    static void blend(QWidget* control);
    // The rows of a solution: "Concentration : c = [box] mol · L⁻¹" and two
    // new lines, then "<volume caption> V = [box] mL".
    static void concentrationLine(PrintCursor& c, QWidget* box);
    static void volumeLine(PrintCursor& c, const QString& caption, QWidget* box);
    // The range the numeric box enforces, as captions and descriptions write
    // it: "200 mL à 500 mL".
    static QString rangeText(int box, const char* unit);
    // Shows the list of the store in the combo box, its items replaced only
    // when they differ, without emitting the box's signals.
    static void syncCombo(QComboBox* combo, const sim::ListBox& box);

private:
    std::vector<PrintedText> m_texts;
};

} // namespace Ionaria::ui
