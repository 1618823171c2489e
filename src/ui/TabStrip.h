// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <array>

namespace Ionaria::ui {

// The tab strip Onglets, drawn by the program: four tabs sharing the width in
// proportion to their captions, the active one in bold, one pixel lower and
// open onto its page, which sits in a sunken groove under the tabs.
class TabStrip : public QWidget {
    Q_OBJECT

public:
    static constexpr int designWidth = 361;  // px
    static constexpr int designHeight = 235; // px
    // Only a release in this band of pixels from the top selects a tab.
    static constexpr int tabBand = 16;
    static inline const QColor background{210, 205, 200};

    explicit TabStrip(QWidget* parent = nullptr);

    // The four pages, in tab order.
    void setPages(const std::array<QWidget*, 4>& pages);

    static const std::array<QString, 4>& captions();

    // Right edges of the tabs (entry 0 is -1) for the caption widths, px,
    // and the inner width: the spare width is spread as a margin on both
    // sides of every caption and the last tab absorbs the rounding.
    static std::array<int, 5> edges(const std::array<int, 4>& captionWidths, int innerWidth);
    // The tab (1 to 4) whose column holds x, 0 for none.
    static int tabAt(const std::array<int, 5>& edges, int x);

    // The active tab, 1 to 4.
    int ongletActif() const { return m_ongletActif == 0 ? 1 : m_ongletActif; }
    void setOngletActif(int tab);
    // The next or the previous page, round the strip (Ctrl+Tab, Ctrl+PgDown,
    // Ctrl+PgUp).
    void stepOnglet(int delta);
    const std::array<int, 5>& bordOnglet() const { return m_bordOnglet; }
    // Height of a caption line, px.
    int captionHeight() const;

signals:
    void tabChanged(int tab);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The arrows, Home and End move from tab to tab.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QFont captionFont(bool bold) const;
    // Recomputes the edges and shows the active page in its frame.
    void relayout();
    void describe();

    std::array<QWidget*, 4> m_pages{};
    std::array<int, 5> m_bordOnglet{-1, 0, 0, 0, 0};
    int m_ongletActif = 0;
    double m_gap = 0.0; // px
};

} // namespace Ionaria::ui
