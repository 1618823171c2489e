// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PageAnimation.h"

#include "sim/Catalogue.h"
#include "sim/Handlers.h"
#include "ui/Keyboard.h"
#include "ui/NumberBox.h"
#include "ui/Zoom.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

namespace Ionaria::ui {

namespace cat = sim::catalogue;

PageAnimation::PageAnimation(sim::Handlers& handlers, QWidget* parent)
    : PrintedPage(parent), m_handlers(handlers) {
    setObjectName(QStringLiteral("Picaff"));
    // Option1(0) is the microscopic scale, Option1(1) the macroscopic one;
    // the macroscopic one is listed first, as the coarser view.
    const QString captions[2] = {QStringLiteral("Représentation à l'échelle microscopique"),
                                 QStringLiteral("Représentation à l'échelle macroscopique")};
    const int tops[2] = {30, 10};
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(captions[i], this);
        option->setObjectName(QStringLiteral("Option1_%1").arg(i));
        blend(option);
        Zoom::setGeometry(option, QRect(18, tops[i], option->sizeHint().width(), 17));
        connect(option, &QRadioButton::clicked, this, [this, i] {
            if (m_handlers.engine().params().Option1 != i) {
                m_handlers.selectOption1(i);
            }
            emit parametersChanged();
        });
        Option1[static_cast<std::size_t>(i)] = option;
    }
    // Top to bottom, as the arrows go.
    new OptionGroupKeys({Option1[1], Option1[0]}, this);
    Check2 = new QCheckBox(
        QStringLiteral("Animation ralentie indépendante de l'intensité du courant"), this);
    Check2->setObjectName(QStringLiteral("Check2"));
    blend(Check2);
    Zoom::setGeometry(Check2, QRect(18, 56, Check2->sizeHint().width(), 17));
    connect(Check2, &QCheckBox::clicked, this, [this](bool checked) {
        m_handlers.setCheck2(checked ? 1 : 0);
        emit parametersChanged();
    });

    HScroll2 = new QScrollBar(Qt::Horizontal, this);
    HScroll2->setObjectName(QStringLiteral("HScroll2"));
    HScroll2->setRange(cat::hScroll2Min, cat::hScroll2Max);
    HScroll2->setPageStep(5);
    Zoom::resize(HScroll2, QSize(scrollWidth, 17));
    HScroll2->setFocusPolicy(Qt::StrongFocus);
    HScroll2->setAccessibleName(
        QStringLiteral("Correspondance entre la durée de l'animation et le temps réel"));
    connect(HScroll2, &QScrollBar::valueChanged, this, [this](int value) {
        m_handlers.setHScroll2(value);
        emit parametersChanged();
    });

    Text2_9 = new NumberBox(cat::Text2Arret, handlers, this);
    Zoom::setGeometry(Text2_9, QRect(150, 172, 64, 20));
    Text2_9->setAccessibleName(QStringLiteral("Date de l'arrêt programmé (s)"));
    Check1 = new QCheckBox(QStringLiteral("Programmer l'arrêt"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    blend(Check1);
    Zoom::setGeometry(Check1, QRect(228, 174, Check1->sizeHint().width(), 17));
    connect(Check1, &QCheckBox::clicked, this, [this](bool checked) {
        m_handlers.setCheck1(checked ? 1 : 0);
        emit parametersChanged();
    });
}

void PageAnimation::syncFromStore() {
    const auto& p = m_handlers.engine().params();
    for (int i = 0; i < 2; ++i) {
        QRadioButton* option = Option1[static_cast<std::size_t>(i)];
        const QSignalBlocker block(option);
        option->setChecked(p.Option1 == i);
    }
    {
        const QSignalBlocker block(Check1);
        Check1->setChecked(p.Check1 == 1);
    }
    {
        const QSignalBlocker block(Check2);
        Check2->setChecked(p.Check2 == 1);
    }
    {
        const QSignalBlocker block(HScroll2);
        HScroll2->setValue(p.HScroll2);
    }
    Text2_9->syncFromStore();
    refresh();
}

void PageAnimation::compose(PrintCursor& c) {
    c.setBold(false);
    c.setItalic(false);
    c.moveTo(40, 92);
    c.printLine(QStringLiteral("Correspondance entre la durée l'animation et le temps réel :"));
    c.newLine();
    const QRect scroll = Zoom::geometry(HScroll2);
    Zoom::move(HScroll2, QPoint((Zoom::geometry(this).width() - scroll.width()) / 2, c.y - 2));
    c.x = Zoom::geometry(HScroll2).x() - c.width(QStringLiteral("Min "));
    c.print(QStringLiteral("Min "));
    c.x = PrintCursor::rightOf(HScroll2);
    c.print(QStringLiteral(" Max"));
    c.newLine();
    c.newLine();
    c.y += 8;
    c.x = 18;
    c.setBold(true);
    c.printLine(QStringLiteral("Programmation de l'arrêt (pause)"));
    c.setBold(false);
    c.x = Zoom::geometry(Text2_9).x() - c.width(QStringLiteral("Date (s) : "));
    c.y = Zoom::geometry(Text2_9).y() + 2;
    c.printLine(QStringLiteral("Date (s) : "));
}

} // namespace Ionaria::ui
