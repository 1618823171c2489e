// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PagePicture3.h"

#include "report/StateDescription.h"
#include "sim/Catalogue.h"
#include "sim/Handlers.h"
#include "ui/Accessibility.h"
#include "ui/Keyboard.h"
#include "ui/NumberBox.h"
#include "ui/UpDownButtons.h"
#include "ui/Zoom.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <utility>

namespace Ionaria::ui {

namespace cat = sim::catalogue;

namespace {

constexpr int boxWidth = 56;      // px
constexpr int controlHeight = 20; // px
// The U and I rows are 18 px apart: their boxes are no higher, so that
// they never cover each other.
constexpr int valueHeight = 18; // px

QLabel* valueLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAutoFillBackground(true);
    Zoom::setGeometry(label,
                      QRect(PagePicture3::valueLeft, 0, PagePicture3::valueWidth, valueHeight));
    return label;
}

void setLabelBackground(QLabel* label, bool white) {
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, white ? QColor(255, 255, 255) : QColor(192, 192, 192));
    label->setPalette(pal);
}

} // namespace

PagePicture3::PagePicture3(sim::Handlers& handlers, QWidget* parent)
    : PrintedPage(parent), m_handlers(handlers) {
    setObjectName(QStringLiteral("Picture3"));
    for (int i = 0; i < cat::montageCount; ++i) {
        const auto caption = cat::montageCaptions[static_cast<std::size_t>(i)];
        auto* option = new QRadioButton(
            QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())), this);
        option->setObjectName(QStringLiteral("Option2_%1").arg(i));
        blend(option);
        Zoom::setGeometry(option, QRect(optionLeft, 0, option->sizeHint().width(), 17));
        const cat::Montage montage = *cat::montageOfCode(i);
        connect(option, &QRadioButton::clicked, this, [this, montage] {
            if (m_handlers.engine().params().Option2 != montage) {
                m_handlers.selectOption2(montage);
            }
            emit parametersChanged();
        });
        Option2[static_cast<std::size_t>(i)] = option;
    }
    Label1 = valueLabel(this, "Label1");
    Label2 = valueLabel(this, "Label2");
    UpDown1 = new UpDownButtons(this);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown2 = new UpDownButtons(this);
    UpDown2->setObjectName(QStringLiteral("UpDown2"));
    Zoom::move(UpDown1, QPoint(valueLeft + valueWidth, 0));
    Zoom::move(UpDown2, QPoint(valueLeft + valueWidth, 0));
    connect(UpDown1, &UpDownButtons::stepped, this, [this](int delta) {
        m_handlers.setUpDown1(m_handlers.engine().params().UpDown1 + delta);
        emit parametersChanged();
    });
    connect(UpDown2, &UpDownButtons::stepped, this, [this](int delta) {
        m_handlers.setUpDown2(m_handlers.engine().params().UpDown2 + delta);
        emit parametersChanged();
    });

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Zoom::resize(Combo1, QSize(180, controlHeight));
    connect(Combo1, &QComboBox::activated, this, [this](int index) {
        m_handlers.selectCombo1(index);
        emit parametersChanged();
    });
    Text2_0 = new NumberBox(cat::Text2Concentration, handlers, this);
    Text2_1 = new NumberBox(cat::Text2Volume, handlers, this);
    Text2_4 = new NumberBox(cat::Text2Resistance, handlers, this);
    for (NumberBox* box : {Text2_0, Text2_1, Text2_4}) {
        Zoom::resize(box, QSize(boxWidth, controlHeight));
    }

    UpDown1->setAccessibleName(QStringLiteral("Tension U du générateur (V)"));
    UpDown2->setAccessibleName(QStringLiteral("Intensité I du générateur (mA)"));
    Label1->setAccessibleDescription(QStringLiteral("Tension U du générateur"));
    Label2->setAccessibleDescription(QStringLiteral("Intensité I du générateur"));
    labelList(Combo1, QStringLiteral("Solution"));
    new TypeAheadKeys(Combo1);
    new OptionGroupKeys({Option2[0], Option2[1], Option2[2]}, this);
    Text2_0->setAccessibleName(QStringLiteral("Concentration c de la solution (mol/L)"));
    Text2_1->setAccessibleName(QStringLiteral("Volume V de la solution (mL)"));
    Text2_1->setAccessibleDescription(QStringLiteral("De ") + rangeText(cat::Text2Volume, "mL"));
    Text2_4->setAccessibleName(QStringLiteral("Résistance R du conducteur ohmique (Ω)"));
    Text2_4->setAccessibleDescription(QStringLiteral("De ") + rangeText(cat::Text2Resistance, "Ω"));
    Check3 = new QCheckBox(QStringLiteral("Tenir compte des concentrations (loi de Nernst)"), this);
    Check3->setObjectName(QStringLiteral("Check3"));
    blend(Check3);
    Zoom::setGeometry(Check3, QRect(optionLeft, 0, Check3->sizeHint().width(), 17));
    connect(Check3, &QCheckBox::clicked, this, [this](bool checked) {
        m_handlers.setCheck3(checked ? 1 : 0);
        emit parametersChanged();
    });
    Check4 = new QCheckBox(QStringLiteral("Tenir compte de la surtension du dihydrogène"), this);
    Check4->setObjectName(QStringLiteral("Check4"));
    blend(Check4);
    Zoom::setGeometry(Check4, QRect(optionLeft, 0, Check4->sizeHint().width(), 17));
    connect(Check4, &QCheckBox::clicked, this, [this](bool checked) {
        m_handlers.setCheck4(checked ? 1 : 0);
        emit parametersChanged();
    });
}

void PagePicture3::syncFromStore() {
    const auto& p = m_handlers.engine().params();
    for (int i = 0; i < cat::montageCount; ++i) {
        QRadioButton* option = Option2[static_cast<std::size_t>(i)];
        const QSignalBlocker block(option);
        option->setChecked(cat::montageCode(p.Option2) == i);
    }
    syncCombo(Combo1, p.Combo1);
    Label1->setText(QString::fromStdString(p.Label1));
    Label2->setText(QString::fromStdString(p.Label2));
    UpDown1->setValue({p.UpDown1 / 10.0, cat::upDown1Min / 10.0, cat::upDown1Max / 10.0, 0.1,
                       report::spokenMeasure(Label1->text())});
    UpDown2->setValue({p.UpDown2 * 10.0, cat::upDown2Min * 10.0, cat::upDown2Max * 10.0, 10.0,
                       report::spokenMeasure(Label2->text())});
    // The arrows of the generator the montage has not are greyed out and
    // out of the Tab order.
    UpDown1->setEnabled(p.Option2 == cat::Montage::Tension);
    UpDown2->setEnabled(p.Option2 == cat::Montage::Courant);
    setLabelBackground(Label1, p.Option2 == cat::Montage::Tension);
    setLabelBackground(Label2, p.Option2 == cat::Montage::Courant);
    for (NumberBox* box : {Text2_0, Text2_1, Text2_4}) {
        box->syncFromStore();
    }
    {
        const QSignalBlocker block(Check3);
        Check3->setChecked(p.Check3 == 1);
    }
    {
        const QSignalBlocker block(Check4);
        Check4->setChecked(p.Check4 == 1);
    }
    refresh();
}

void PagePicture3::paintEvent(QPaintEvent* event) {
    PrintedPage::paintEvent(event);
    // The focus is shown round the whole box, value and arrows.
    for (const auto& [label, arrows] : {std::pair{Label1, UpDown1}, std::pair{Label2, UpDown2}}) {
        if (!arrows->hasFocus()) {
            continue;
        }
        QPainter p(this);
        QPen pen(palette().color(QPalette::Highlight));
        const int width = std::max(2, static_cast<int>(std::lround(2 * Zoom::factor(this))));
        pen.setWidth(width);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const QRect box = label->geometry().united(arrows->geometry());
        p.drawRect(box.adjusted(-width / 2 - 1, -width / 2 - 1, width / 2, width / 2));
    }
}

void PagePicture3::compose(PrintCursor& c) {
    const bool pile = m_handlers.engine().params().isPile();
    // The options are as wide as their caption in the page's font, whatever
    // font they were made with; the two beside U and I end before "U = ".
    const QStyle* style = QApplication::style();
    const int indicator = style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                          style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    QFont italic = arial8();
    italic.setItalic(true);
    const int budget =
        valueLeft - QFontMetrics(italic).horizontalAdvance(QStringLiteral("U = ")) - optionLeft;
    for (std::size_t i = 0; i < Option2.size(); ++i) {
        // A few pixels more than the caption: texts round their sizes up
        // as the window grows.
        int width = indicator + QFontMetrics(arial8()).horizontalAdvance(Option2[i]->text()) + 8;
        if (i > 0) {
            width = std::min(width, budget);
        }
        Zoom::resize(Option2[i], QSize(width, Zoom::geometry(Option2[i]).height()));
    }
    c.setBold(true);
    c.setItalic(false);
    c.moveTo(18, 10);
    c.printLine(QStringLiteral("Montage"));
    c.y += 4;
    PrintCursor::setTop(Option2[0], c.y);
    c.newLine();
    c.y += 6;
    PrintCursor::setTop(Option2[1], c.y);
    PrintCursor::setTop(Label1, c.y - 1);
    PrintCursor::setTop(UpDown1, c.y - 1);

    c.setItalic(true);
    c.setBold(false);
    c.x = Zoom::geometry(Label1).x() - c.width(QStringLiteral("U = "));
    c.y += 1;
    c.printLine(QStringLiteral("U = "));
    c.y -= 1;
    c.y += 6;
    PrintCursor::setTop(Option2[2], c.y);
    PrintCursor::setTop(Label2, c.y - 1);
    PrintCursor::setTop(UpDown2, c.y - 1);
    c.x = Zoom::geometry(Label2).x() - c.width(QStringLiteral("I = "));
    c.y += 1;
    c.printLine(QStringLiteral("I = "));
    c.y -= 1;
    c.newLine();
    c.setItalic(false);
    c.setBold(true);

    if (!pile) {
        Text2_4->hide();
        Text2_0->show();
        Text2_1->show();
        Combo1->show();
        c.x = 18;
        c.printLine(QStringLiteral("Solution aqueuse"));
        c.newLine();
        c.setBold(false);
        c.x = 36;
        c.print(QStringLiteral("Nature : "));
        c.place(Combo1, 4);
        c.newLine();
        c.newLine();
        concentrationLine(c, Text2_0);
        volumeLine(c, QStringLiteral("Volume (de %1) : ").arg(rangeText(cat::Text2Volume, "mL")),
                   Text2_1);
    } else {
        Text2_0->hide();
        Text2_1->hide();
        Combo1->hide();
        Text2_4->show();
        c.newLine();
        c.x = 18;
        c.printLine(QStringLiteral("Conducteur ohmique"));
        c.newLine();
        c.setBold(false);
        c.x = 36;
        // The ohm sign is the character itself: no symbol face is needed.
        c.print(QStringLiteral("Résistance (de %1) : ").arg(rangeText(cat::Text2Resistance, "Ω")));
        c.setItalic(true);
        c.print(QStringLiteral("R = "));
        c.place(Text2_4, 4);
        c.x = PrintCursor::rightOf(Text2_4);
        c.setItalic(false);
        c.print(QStringLiteral(" Ω"));
        c.newLine();
    }
    // For every montage, under the last row; printed nothing, so the page
    // reads as before.
    c.newLine();
    c.y += 6;
    PrintCursor::setTop(Check3, c.y);
    // The electrolyses only: the cell has no hydrogen to form.
    Check4->setVisible(!pile);
    PrintCursor::setTop(Check4, c.y + 20);
}

} // namespace Ionaria::ui
