// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PageElectrode.h"

#include "sim/Catalogue.h"
#include "sim/Handlers.h"
#include "sim/SaltNames.h"
#include "ui/Accessibility.h"
#include "ui/Keyboard.h"
#include "ui/NumberBox.h"
#include "ui/Zoom.h"

#include <QComboBox>

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
    const int masseBox = m_k == 0 ? cat::Text2MasseG : cat::Text2MasseD;
    const int volumeBox = m_k == 0 ? cat::Text2VolumeG : cat::Text2VolumeD;
    masse = new NumberBox(masseBox, handlers, this);
    concentration = new NumberBox(m_k == 0 ? cat::Text2ConcentrationG : cat::Text2ConcentrationD,
                                  handlers, this);
    volume = new NumberBox(volumeBox, handlers, this);
    for (NumberBox* box : {masse, concentration, volume}) {
        Zoom::resize(box, QSize(boxWidth, controlHeight));
    }
    const QString side = m_k == 0 ? QStringLiteral("G") : QStringLiteral("D");
    labelList(Combo2, QStringLiteral("Nature de l'électrode %1").arg(side));
    new TypeAheadKeys(Combo2);
    masse->setAccessibleName(QStringLiteral("Masse m de l'électrode %1 (g)").arg(side));
    masse->setAccessibleDescription(QStringLiteral("De ") + rangeText(masseBox, "g"));
    concentration->setAccessibleName(
        QStringLiteral("Concentration c de la solution %1 (mol/L)").arg(side));
    volume->setAccessibleName(QStringLiteral("Volume V de la solution %1 (mL)").arg(side));
    volume->setAccessibleDescription(QStringLiteral("De ") + rangeText(volumeBox, "mL"));
}

QString PageElectrode::saltName(int natureCode) {
    const std::string_view suffix = sim::sulfateSaltSuffix(natureCode);
    return QString::fromUtf8(suffix.data(), static_cast<qsizetype>(suffix.size()));
}

void PageElectrode::syncFromStore() {
    syncCombo(Combo2, m_handlers.engine().params().Combo2[static_cast<std::size_t>(m_k)]);
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
    c.print(QStringLiteral("Masse de l'électrode (%1) : ")
                .arg(rangeText(m_k == 0 ? cat::Text2MasseG : cat::Text2MasseD, "g")));
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
    c.print(QString::fromStdString(
        sim::halfCellSolutionTitle(p.Combo2[static_cast<std::size_t>(m_k)].tagValue())));
    c.setBold(false);
    c.newLine();
    c.newLine();
    concentrationLine(c, concentration);
    volumeLine(c,
               QStringLiteral("Volume (de %1) : ")
                   .arg(rangeText(m_k == 0 ? cat::Text2VolumeG : cat::Text2VolumeD, "mL")),
               volume);
}

} // namespace Ionaria::ui
