// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TabStrip.h"

#include "ui/PrintedPage.h"

#include <QFontMetrics>
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
    resize(designWidth, designHeight);
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
    m_gap = (width() - total) / 8.0;
    m_bordOnglet = edges(widths, width());

    const int th = captionHeight();
    for (std::size_t i = 0; i < 4; ++i) {
        QWidget* page = m_pages[i];
        if (page == nullptr) {
            continue;
        }
        if (static_cast<int>(i) + 1 == m_ongletActif) {
            page->setGeometry(4, th + 5, width() - 8, height() - 4 - (th + 5));
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
    const int W = width();
    const int H = height();
    const int th = captionHeight();
    const auto& bord = m_bordOnglet;
    p.fillRect(rect(), background);

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

    box(1, th + 2, W - 2, H - 2, background);
    box(2, th + 3, W - 3, H - 3, background);
    box(3, th + 4, W - 4, H - 4, darkGrey);
    box(4, th + 5, W - 4, H - 4, white);
}

void TabStrip::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (pos.y() < 0 || pos.y() > tabBand - 1) {
        return;
    }
    const int tab = tabAt(m_bordOnglet, pos.x());
    if (tab != 0) {
        setOngletActif(tab);
    }
}

} // namespace Ionaria::ui
