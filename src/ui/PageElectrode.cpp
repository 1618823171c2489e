// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PageElectrode.h"

#include "sim/Catalogue.h"
#include "sim/Handlers.h"
#include "ui/Accessibility.h"
#include "ui/Keyboard.h"
#include "ui/NumberBox.h"
#include "ui/Zoom.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace Ionaria::ui {

namespace cat = sim::catalogue;

namespace {

constexpr int boxWidth = 56;      // px
constexpr int controlHeight = 20; // px

} // namespace

PageElectrode::PageElectrode(int electrode, sim::Handlers& handlers, QWidget* parent)
    : PrintedPage(parent), m_k(electrode == 1 ? 1 : 0), m_handlers(handlers) {
    setObjectName(m_k == 0 ? QStringLiteral("Frame2") : QStringLiteral("Picture1"));
    Combo2 = new QComboBox(this);
    Combo2->setObjectName(QStringLiteral("Combo2_%1").arg(m_k));
    Zoom::resize(Combo2, QSize(120, controlHeight));
    connect(Combo2, &QComboBox::activated, this, [this](int index) {
        m_handlers.selectCombo2(m_k, index);
        emit parametersChanged();
    });
    masse = new NumberBox(m_k == 0 ? cat::Text2MasseG : cat::Text2MasseD, handlers, this);
    concentration = new NumberBox(m_k == 0 ? cat::Text2ConcentrationG : cat::Text2ConcentrationD,
                                  handlers, this);
    volume = new NumberBox(m_k == 0 ? cat::Text2VolumeG : cat::Text2VolumeD, handlers, this);
    for (NumberBox* box : {masse, concentration, volume}) {
        Zoom::resize(box, QSize(boxWidth, controlHeight));
    }
    const QString side = m_k == 0 ? QStringLiteral("G") : QStringLiteral("D");
    labelList(Combo2, QStringLiteral("Nature de l'électrode %1").arg(side));
    new TypeAheadKeys(Combo2);
    masse->setAccessibleName(QStringLiteral("Masse m de l'électrode %1 (g)").arg(side));
    masse->setAccessibleDescription(QStringLiteral("De 1 g à 100 g"));
    concentration->setAccessibleName(
        QStringLiteral("Concentration c de la solution %1 (mol/L)").arg(side));
    volume->setAccessibleName(QStringLiteral("Volume V de la solution %1 (mL)").arg(side));
    volume->setAccessibleDescription(QStringLiteral("De 80 mL à 200 mL"));
}

QString PageElectrode::saltName(int natureCode) {
    switch (natureCode) {
    case 0:
        return QStringLiteral("'aluminium");
    case 1:
        return QStringLiteral("e cuivre");
    case 2:
        return QStringLiteral("e fer II");
    case 3:
        return QStringLiteral("e zinc");
    default:
        return {};
    }
}

void PageElectrode::syncFromStore() {
    const auto& box = m_handlers.engine().params().Combo2[static_cast<std::size_t>(m_k)];
    {
        const QSignalBlocker block(Combo2);
        QStringList items;
        for (const auto& item : box.items) {
            items << QString::fromStdString(item);
        }
        QStringList shown;
        for (int i = 0; i < Combo2->count(); ++i) {
            shown << Combo2->itemText(i);
        }
        if (shown != items) {
            Combo2->clear();
            Combo2->addItems(items);
        }
        Combo2->setCurrentIndex(box.listIndex);
    }
    for (NumberBox* b : {masse, concentration, volume}) {
        b->syncFromStore();
    }
    refresh();
}

void PageElectrode::compose(PrintCursor& c) {
    const auto& p = m_handlers.engine().params();
    c.setBold(true);
    c.setItalic(false);
    c.moveTo(18, 10);
    c.printLine(m_k == 0 ? QStringLiteral("Électrode") : QStringLiteral("Électrode : "));
    c.newLine();
    c.setBold(false);
    c.x = 36;
    c.print(QStringLiteral("Nature : "));
    c.place(Combo2, 3);
    c.newLine();
    c.newLine();
    c.x = 36;
    c.print(QStringLiteral("Masse de l'électrode (1 g à 100 g) : "));
    c.setItalic(true);
    c.print(QStringLiteral("m = "));
    c.setItalic(false);
    c.place(masse, 3);
    c.x = PrintCursor::rightOf(masse);
    c.printLine(QStringLiteral(" g"));

    if (!p.isPile()) {
        concentration->hide();
        volume->hide();
        return;
    }
    concentration->show();
    volume->show();
    c.newLine();
    c.newLine();
    c.setBold(true);
    c.setItalic(false);
    c.x = 18;
    c.print(QStringLiteral("Solution aqueuse de sulfate d") +
            saltName(p.Combo2[static_cast<std::size_t>(m_k)].tagValue()));
    c.setBold(false);
    c.newLine();
    c.newLine();
    concentrationLine(c, concentration);
    volumeLine(c, QStringLiteral("Volume (de 80 mL à 200 mL) : "), volume);
}

} // namespace Ionaria::ui
