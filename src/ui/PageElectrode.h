// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/PrintedPage.h"

class QComboBox;

namespace Ionaria::sim {
class Handlers;
}

namespace Ionaria::ui {

class NumberBox;

// The pages "Électrode G" (Frame2, electrode 0) and "Électrode D" (Picture1,
// electrode 1): nature and mass of the electrode and, in the cell, the
// solution of its half-cell.
class PageElectrode : public PrintedPage {
    Q_OBJECT

public:
    PageElectrode(int electrode, sim::Handlers& handlers, QWidget* parent = nullptr);

    void syncFromStore() override;

    int electrode() const { return m_k; }

    QComboBox* Combo2 = nullptr;
    NumberBox* masse = nullptr;
    NumberBox* concentration = nullptr;
    NumberBox* volume = nullptr;

    // The end of "Solution aqueuse de sulfate d..." for a cell nature code.
    static QString saltName(int natureCode);

protected:
    void compose(PrintCursor& c) override;

private:
    int m_k;
    sim::Handlers& m_handlers;
};

} // namespace Ionaria::ui
