// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TabStrip.h"

#include "ui/PrintedPage.h"
#include "ui/Zoom.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace Ionaria::ui {

namespace {

const QColor darkGrey(128, 128, 128);
const QColor white(255, 255, 255);

// Rounding to the even neighbour, as every conversion to whole pixels does.
int roundEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

TabStrip::TabStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Onglets"));
    Zoom::resize(this, QSize(designWidth, designHeight));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Onglets des paramètres"));
    describe();
}

void TabStrip::describe() {
    setAccessibleDescription(QStringLiteral("Page %1 sur 4 : %2")
                                 .arg(ongletActif())
                                 .arg(captions()[static_cast<std::size_t>(ongletActif() - 1)]));
}

void TabStrip::stepOnglet(int delta) {
    setOngletActif((ongletActif() - 1 + delta % 4 + 4) % 4 + 1);
}

void TabStrip::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        setOngletActif(ongletActif() - 1);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        setOngletActif(ongletActif() + 1);
        break;
    case Qt::Key_Home:
        setOngletActif(1);
        break;
    case Qt::Key_End:
        setOngletActif(4);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TabStrip::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void TabStrip::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

const std::array<QString, 4>& TabStrip::captions() {
    static const std::array<QString, 4> names = {
        QStringLiteral("Paramètres"), QStringLiteral("Électrode G"), QStringLiteral("Électrode D"),
        QStringLiteral("Animation")};
    return names;
}

void TabStrip::setPages(const std::array<QWidget*, 4>& pages) {
    m_pages = pages;
    for (QWidget* page : m_pages) {
        if (page != nullptr) {
            page->setParent(this);
            page->hide();
        }
    }
    relayout();
}

std::array<int, 5> TabStrip::edges(const std::array<int, 4>& captionWidths, int innerWidth) {
    int total = 0;
    for (int w : captionWidths) {
        total += w;
    }
    const double gap = (innerWidth - total) / 8.0;
    std::array<int, 5> bord{-1, 0, 0, 0, 0};
    for (std::size_t i = 1; i <= 3; ++i) {
        bord[i] = roundEven(bord[i - 1] + captionWidths[i - 1] + 2.0 * gap);
    }
    bord[4] = innerWidth;
    return bord;
}

int TabStrip::tabAt(const std::array<int, 5>& edges, int x) {
    for (std::size_t i = 1; i <= 4; ++i) {
        if (edges[i - 1] < x && x <= edges[i]) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

QFont TabStrip::captionFont(bool bold) const {
    QFont font = PrintedPage::arial8();
    font.setBold(bold);
    return font;
}

int TabStrip::captionHeight() const {
    return QFontMetrics(captionFont(false)).height();
}

void TabStrip::setOngletActif(int tab) {
    if (tab < 1 || tab > 4 || tab == ongletActif()) {
        return;
    }
    m_ongletActif = tab;
    relayout();
    update();
    describe();
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
        // The tabs are the strip's first four accessible children.
        QAccessibleEvent selected(this, QAccessible::Selection);
        selected.setChild(tab - 1);
        QAccessible::updateAccessibility(&selected);
        if (hasFocus()) {
            QAccessibleEvent focused(this, QAccessible::Focus);
            focused.setChild(tab - 1);
            QAccessible::updateAccessibility(&focused);
        }
    }
    emit tabChanged(tab);
}

void TabStrip::relayout() {
    if (m_ongletActif == 0) {
        m_ongletActif = 1;
    }
    std::array<int, 4> widths{};
    for (std::size_t i = 0; i < 4; ++i) {
        const bool bold = static_cast<int>(i) + 1 == m_ongletActif;
        widths[i] = QFontMetrics(captionFont(bold)).horizontalAdvance(captions()[i]);
    }
    int total = 0;
    for (int w : widths) {
        total += w;
    }
    // Laid out in design pixels; the painting and the pointer follow the zoom.
    const QSize design = Zoom::geometry(this).size();
    m_gap = (design.width() - total) / 8.0;
    m_bordOnglet = edges(widths, design.width());

    const int th = captionHeight();
    for (std::size_t i = 0; i < 4; ++i) {
        QWidget* page = m_pages[i];
        if (page == nullptr) {
            continue;
        }
        if (static_cast<int>(i) + 1 == m_ongletActif) {
            Zoom::setGeometry(page,
                              QRect(4, th + 5, design.width() - 8, design.height() - 4 - (th + 5)));
            page->show();
        } else {
            page->hide();
        }
    }
}

void TabStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout();
}

void TabStrip::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    relayout();
}

void TabStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), background);
    const double z = Zoom::factor(this);
    p.scale(z, z);
    const QSize design = Zoom::geometry(this).size();
    const int W = design.width();
    const int H = design.height();
    const int th = captionHeight();
    const auto& bord = m_bordOnglet;

    auto line = [&p](int x1, int y1, int x2, int y2, const QColor& c) {
        p.setPen(c);
        p.drawLine(x1, y1, x2, y2);
    };
    auto box = [&p](int x1, int y1, int x2, int y2, const QColor& c) {
        p.setPen(c);
        p.setBrush(Qt::NoBrush);
        p.drawRect(x1, y1, x2 - x1, y2 - y1);
    };

    box(0, 0, W - 1, H - 1, darkGrey);
    line(0, 0, 0, H - 1, white);
    for (std::size_t i = 0; i <= 4; ++i) {
        line(bord[i] - 1, 1, bord[i] - 1, th + 1, darkGrey);
        line(bord[i], 0, bord[i], th, white);
    }
    for (std::size_t i = 0; i <= 3; ++i) {
        line(bord[i] + 1, 0, bord[i + 1] - 1, 0, white);
    }
    const auto a = static_cast<std::size_t>(ongletActif());
    line(0, th + 1, bord[a - 1] + 2, th + 1, white);
    line(bord[a], th + 1, W, th + 1, white);

    for (std::size_t i = 1; i <= 4; ++i) {
        const bool active = i == a;
        const QFont font = captionFont(active);
        p.setFont(font);
        p.setPen(Qt::black);
        const int x = roundEven(bord[i - 1] + m_gap);
        const int y = active ? 2 : 1;
        p.drawText(x, y + QFontMetrics(font).ascent(), captions()[i - 1]);
    }

    if (hasFocus()) {
        // The focus is shown round the active caption.
        QPen dotted(Qt::black);
        dotted.setStyle(Qt::DotLine);
        p.setPen(dotted);
        p.setBrush(Qt::NoBrush);
        p.drawRect(bord[a - 1] + 3, 2, bord[a] - bord[a - 1] - 6, th - 2);
    }

    box(1, th + 2, W - 2, H - 2, background);
    box(2, th + 3, W - 3, H - 3, background);
    box(3, th + 4, W - 4, H - 4, darkGrey);
    box(4, th + 5, W - 4, H - 4, white);
}

void TabStrip::mouseReleaseEvent(QMouseEvent* event) {
    const double z = Zoom::factor(this);
    const QPoint pos = (event->position() / z).toPoint();
    if (pos.y() < 0 || pos.y() > tabBand - 1) {
        return;
    }
    const int tab = tabAt(m_bordOnglet, pos.x());
    if (tab != 0) {
        setOngletActif(tab);
    }
}

} // namespace Ionaria::ui
