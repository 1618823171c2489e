// SPDX-License-Identifier: GPL-3.0-or-later
#include "look/Faces.h"

#include <QApplication>
#include <QWidget>

namespace Ionaria::look {

namespace {

QFont inTextFamily(QFont font) {
    font.setFamilies({QString::fromLatin1(textFamily)});
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace

QFont textFont(int pixels, bool bold) {
    QFont font = inTextFamily(QFont());
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFont controlFont() {
    return inTextFamily(QApplication::font());
}

QString svgFamilies() {
    return QString::fromLatin1(textFamily) + QStringLiteral(", sans-serif");
}

void useTextFace(QWidget* window) {
    window->setFont(inTextFamily(window->font()));
}

} // namespace Ionaria::look
