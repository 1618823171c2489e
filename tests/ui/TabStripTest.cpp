// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TabStrip.h"

#include <QSignalSpy>
#include <QTest>

using Ionaria::ui::TabStrip;

class TabStripTest : public QObject {
    Q_OBJECT

private slots:
    void edges_data();
    void edges();
    void tabAt_data();
    void tabAt();
    void clickShowsPage_data();
    void clickShowsPage();
    void releaseOutsideBandChangesNothing_data();
    void releaseOutsideBandChangesNothing();
    void releaseOnActiveTabDoesNothing();
    void activeCaptionIsWider();
};

void TabStripTest::edges_data() {
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<int>("width");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("no spare width: tabs touch their captions")
        << QList<int>{50, 60, 70, 80} << 260 << QList<int>{-1, 49, 109, 179, 260};
    QTest::newRow("spare width spread as 2 x gap per tab")
        << QList<int>{50, 60, 70, 80} << 340 << QList<int>{-1, 69, 149, 239, 340};
    QTest::newRow("halves round to even")
        << QList<int>{10, 10, 10, 10} << 42 << QList<int>{-1, 10, 20, 30, 42};
}

void TabStripTest::edges() {
    QFETCH(QList<int>, widths);
    QFETCH(int, width);
    QFETCH(QList<int>, expected);
    const auto bord = TabStrip::edges({widths[0], widths[1], widths[2], widths[3]}, width);
    const QList<int> got(bord.begin(), bord.end());
    QCOMPARE(got, expected);
}

void TabStripTest::tabAt_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("tab");
    QTest::newRow("left edge") << 0 << 1;
    QTest::newRow("exactly on the first right edge") << 49 << 1;
    QTest::newRow("one past it") << 50 << 2;
    QTest::newRow("last pixel") << 260 << 4;
    QTest::newRow("beyond the strip") << 261 << 0;
}

void TabStripTest::tabAt() {
    QFETCH(int, x);
    QFETCH(int, tab);
    QCOMPARE(TabStrip::tabAt({-1, 49, 109, 179, 260}, x), tab);
}

namespace {

struct Strip {
    TabStrip strip;
    std::array<QWidget*, 4> pages{new QWidget, new QWidget, new QWidget, new QWidget};
    Strip() {
        strip.setPages(pages);
        strip.show();
    }
    int centreOf(int tab) const {
        const auto& b = strip.bordOnglet();
        return (b[static_cast<std::size_t>(tab - 1)] + b[static_cast<std::size_t>(tab)]) / 2;
    }
};

} // namespace

void TabStripTest::clickShowsPage_data() {
    QTest::addColumn<int>("tab");
    for (int t = 1; t <= 4; ++t) {
        QTest::addRow("tab %d", t) << t;
    }
}

void TabStripTest::clickShowsPage() {
    QFETCH(int, tab);
    Strip s;
    QCOMPARE(s.strip.ongletActif(), 1);
    QVERIFY(s.pages[0]->isVisible());
    QTest::mouseClick(&s.strip, Qt::LeftButton, {}, QPoint(s.centreOf(tab), 5));
    QCOMPARE(s.strip.ongletActif(), tab);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(s.pages[static_cast<std::size_t>(i)]->isVisible(), i + 1 == tab);
    }
    const QWidget* page = s.pages[static_cast<std::size_t>(tab - 1)];
    const int th = s.strip.captionHeight();
    QCOMPARE(page->geometry(),
             QRect(4, th + 5, TabStrip::designWidth - 8, TabStrip::designHeight - 4 - (th + 5)));
}

void TabStripTest::releaseOutsideBandChangesNothing_data() {
    QTest::addColumn<int>("y");
    QTest::newRow("first row under the band") << TabStrip::tabBand;
    QTest::newRow("on the page") << 100;
}

void TabStripTest::releaseOutsideBandChangesNothing() {
    QFETCH(int, y);
    Strip s;
    QSignalSpy changed(&s.strip, &TabStrip::tabChanged);
    QTest::mouseClick(&s.strip, Qt::LeftButton, {}, QPoint(s.centreOf(3), y));
    QCOMPARE(s.strip.ongletActif(), 1);
    QCOMPARE(changed.count(), 0);
    QTest::mouseClick(&s.strip, Qt::LeftButton, {}, QPoint(s.centreOf(3), TabStrip::tabBand - 1));
    QCOMPARE(s.strip.ongletActif(), 3);
}

void TabStripTest::releaseOnActiveTabDoesNothing() {
    Strip s;
    QSignalSpy changed(&s.strip, &TabStrip::tabChanged);
    QTest::mouseClick(&s.strip, Qt::LeftButton, {}, QPoint(s.centreOf(1), 5));
    QCOMPARE(changed.count(), 0);
}

void TabStripTest::activeCaptionIsWider() {
    Strip s;
    const auto first = s.strip.bordOnglet();
    s.strip.setOngletActif(2);
    const auto second = s.strip.bordOnglet();
    // Tab 1 lost its bold caption, tab 2 gained one: the first edge moves
    // left, and tab 2 is wider than it was.
    QVERIFY(second[1] < first[1]);
    QVERIFY(second[2] - second[1] > first[2] - first[1]);
    QCOMPARE(second[4], TabStrip::designWidth);
}

QTEST_MAIN(TabStripTest)
#include "TabStripTest.moc"
