// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MeasureStrip.h"

#include "report/StateDescription.h"
#include "ui/PrintedPage.h"
#include "ui/Zoom.h"

#include <QLabel>
#include <QPainter>

#include <tuple>

namespace Ionaria::ui {

namespace {

QLabel* valueLabel(QWidget* parent, const char* name, int left, int width) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    Zoom::setGeometry(label, QRect(left, 0, width, MeasureStrip::stripHeight));
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, MeasureStrip::background);
    pal.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(pal);
    label->setAutoFillBackground(true);
    Zoom::setFont(label, PrintedPage::arial8());
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

MeasureStrip::MeasureStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Picture2"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    Labeltps = valueLabel(this, "Labeltps", 24, 112);
    Labelu = valueLabel(this, "Labelu", 184, 96);
    Labelint = valueLabel(this, "Labelint", 312, 100);
    Labeltps->setAccessibleName(QStringLiteral("Durée"));
    Labelu->setAccessibleName(QStringLiteral("Tension"));
    Labelint->setAccessibleName(QStringLiteral("Intensité"));
}

void MeasureStrip::setValues(const QString& temps, const QString& tension,
                             const QString& intensite) {
    // The generator's limit in full where the label has room for it; in
    // short otherwise.
    QString shown = intensite;
    const QString limite = QStringLiteral(" (limite du générateur)");
    if (shown.endsWith(limite) && QFontMetrics(PrintedPage::arial8()).horizontalAdvance(shown) >
                                      Zoom::geometry(Labelint).width()) {
        shown.replace(limite, QStringLiteral(" (limite)"));
    }
    // A screen reader hears the name, then the whole value with its unit in
    // words. Setting an unchanged text would still repaint the label at
    // every tick.
    for (const auto& [label, text, full] :
         {std::tuple{Labeltps, temps, temps}, std::tuple{Labelu, tension, tension},
          std::tuple{Labelint, shown, intensite}}) {
        if (label->text() != text) {
            label->setText(text);
            label->setAccessibleDescription(report::spokenMeasure(full));
        }
    }
}

QFont MeasureStrip::stripFont(bool italic) const {
    QFont font = PrintedPage::arial8();
    font.setItalic(italic);
    return font;
}

void MeasureStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), background);
    const double z = Zoom::factor(this);
    p.scale(z, z);
    p.setPen(Qt::white);
    const QFont italic = stripFont(true);
    const QFont upright = stripFont(false);
    const QFontMetrics fmItalic(italic);
    const QFontMetrics fmUpright(upright);
    auto print = [&p](int x, int y, const QFont& font, const QString& text) {
        p.setFont(font);
        p.drawText(x, y + QFontMetrics(font).ascent(), text);
        return x + QFontMetrics(font).horizontalAdvance(text);
    };

    const QString t = QStringLiteral("t = ");
    print(Zoom::geometry(Labeltps).x() - fmItalic.horizontalAdvance(t), 0, italic, t);

    int x = Zoom::geometry(Labelu).x() - fmItalic.horizontalAdvance(QStringLiteral("U DG = "));
    x = print(x, 0, italic, QStringLiteral("U "));
    x = print(x, 3, upright, QStringLiteral("DG"));
    print(x, 0, italic, QStringLiteral(" ="));

    const QString i = QStringLiteral("i = ");
    print(Zoom::geometry(Labelint).x() - fmItalic.horizontalAdvance(i), 0, italic, i);
}

} // namespace Ionaria::ui
