// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PrintedPage.h"

#include "look/Faces.h"
#include "sim/ParamStore.h"
#include "sim/Validation.h"
#include "ui/Zoom.h"

#include <QComboBox>
#include <QPainter>
#include <QSignalBlocker>

namespace Ionaria::ui {

PrintedPage::PrintedPage(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAutoFillBackground(false);
}

QFont PrintedPage::arial8() {
    // What Liberation Sans lacks comes from the text face, not from whatever
    // the platform would pick.
    QFont font;
    font.setFamilies(
        {QString::fromLatin1(look::designFamily), QString::fromLatin1(look::textFamily)});
    font.setPixelSize(11);
    return font;
}

void PrintedPage::refresh() {
    PrintCursor cursor(arial8());
    compose(cursor);
    m_texts = cursor.texts();
    update();
}

QString PrintedPage::printedLine() const {
    QStringList parts;
    for (const auto& t : m_texts) {
        parts << t.text;
    }
    return parts.join(QLatin1Char(' '));
}

void PrintedPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), background);
    // The texts are laid out in design pixels.
    const double z = Zoom::factor(this);
    painter.scale(z, z);
    painter.setPen(Qt::black);
    for (const auto& t : m_texts) {
        painter.setFont(t.font);
        const QFontMetrics fm(t.font);
        painter.drawText(t.topLeft.x(), t.topLeft.y() + fm.ascent(), t.text);
    }
}

void PrintedPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
}

void PrintedPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    refresh();
}

void PrintedPage::blend(QWidget* control) {
    QPalette pal = control->palette();
    pal.setColor(QPalette::Window, background);
    pal.setColor(QPalette::Button, background);
    control->setPalette(pal);
}

void PrintedPage::concentrationLine(PrintCursor& c, QWidget* box) {
    c.x = 36;
    c.print(QStringLiteral("Concentration : "));
    c.setItalic(true);
    c.print(QStringLiteral("c = "));
    c.setItalic(false);
    c.place(box, 4);
    c.x = PrintCursor::rightOf(box);
    c.print(QStringLiteral(" mol · L"));
    c.y -= 3;
    c.print(QStringLiteral("-1"));
    c.y += 3;
    c.newLine();
    c.newLine();
}

void PrintedPage::volumeLine(PrintCursor& c, const QString& caption, QWidget* box) {
    c.x = 36;
    c.print(caption);
    c.setItalic(true);
    c.print(QStringLiteral("V = "));
    c.setItalic(false);
    c.place(box, 4);
    c.x = PrintCursor::rightOf(box);
    c.print(QStringLiteral(" mL"));
}

void PrintedPage::syncCombo(QComboBox* combo, const sim::ListBox& box) {
    const QSignalBlocker block(combo);
    QStringList items;
    for (const auto& item : box.items) {
        items << QString::fromStdString(item);
    }
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i) {
        shown << combo->itemText(i);
    }
    if (shown != items) {
        combo->clear();
        combo->addItems(items);
    }
    combo->setCurrentIndex(box.listIndex);
}

QString PrintedPage::rangeText(int box, const char* unit) {
    return QString::fromStdString(sim::text2RangeText(box, unit));
}

} // namespace Ionaria::ui
