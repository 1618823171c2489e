// SPDX-License-Identifier: GPL-3.0-or-later
#include "look/DesignPalette.h"

#include <QColor>
#include <QWidget>

namespace Ionaria::look {

namespace {

// The light panels and their dark texts.
const QColor window(240, 240, 240);
const QColor base(255, 255, 255);
const QColor text(0, 0, 0);
const QColor button(225, 225, 225);
// 4.9:1 on the buttons' grey, more on the window and the boxes.
const QColor disabledText(100, 100, 100);
const QColor placeholder(100, 100, 100);
const QColor highlight(0, 84, 166);
const QColor highlightedText(255, 255, 255);
const QColor toolTipBase(255, 255, 225);
const QColor link(0, 0, 200);
const QColor linkVisited(100, 30, 140);

} // namespace

QPalette designPalette() {
    QPalette p;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        const QColor& fore = disabled ? disabledText : text;
        p.setColor(group, QPalette::Window, window);
        p.setColor(group, QPalette::WindowText, fore);
        p.setColor(group, QPalette::Base, base);
        p.setColor(group, QPalette::AlternateBase, QColor(245, 245, 245));
        p.setColor(group, QPalette::Text, fore);
        p.setColor(group, QPalette::PlaceholderText, placeholder);
        p.setColor(group, QPalette::Button, button);
        p.setColor(group, QPalette::ButtonText, fore);
        p.setColor(group, QPalette::BrightText, QColor(255, 255, 255));
        p.setColor(group, QPalette::Light, QColor(255, 255, 255));
        p.setColor(group, QPalette::Midlight, QColor(232, 232, 232));
        p.setColor(group, QPalette::Mid, QColor(160, 160, 160));
        p.setColor(group, QPalette::Dark, QColor(128, 128, 128));
        p.setColor(group, QPalette::Shadow, QColor(64, 64, 64));
        p.setColor(group, QPalette::Highlight, disabled ? QColor(200, 200, 200) : highlight);
        p.setColor(group, QPalette::HighlightedText, disabled ? text : highlightedText);
        p.setColor(group, QPalette::ToolTipBase, toolTipBase);
        p.setColor(group, QPalette::ToolTipText, text);
        p.setColor(group, QPalette::Link, link);
        p.setColor(group, QPalette::LinkVisited, linkVisited);
    }
    return p;
}

void useDesignPalette(QWidget* window) {
    window->setPalette(designPalette());
}

} // namespace Ionaria::look
