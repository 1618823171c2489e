// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace Ionaria::ui {

// The uniform scale of the main window's content. Every control keeps the
// geometry and the font size it was designed with, at the window's 800 x 600;
// the window multiplies both by its factor z and centres the result. The
// controls stay ordinary widgets, so focus, typing and accessibility work at
// every size; the widgets that paint themselves scale their painter by z and
// draw in design pixels.
//
//     Zoom::setGeometry(button, QRect(8, 537, 80, 30)); // design pixels
//     Zoom::apply(window, 1.5, QPoint(0, 40));          // every control follows
namespace Zoom {

// The factor of the zoomed window that holds the widget, 1 outside one.
double factor(const QWidget* widget);

// The edges of a design rectangle scaled by z, each rounded to the nearest
// pixel, so that neighbours stay neighbours at every factor.
QRect scaled(const QRect& design, double z);
// A design font size scaled by z, at least one pixel.
int scaledPixels(int designPixels, double z);

// Gives the widget its design geometry and shows it at the current factor.
void setGeometry(QWidget* widget, const QRect& design);
void move(QWidget* widget, const QPoint& designTopLeft);
void resize(QWidget* widget, const QSize& designSize);
// The design geometry of the widget: the one given above, or its geometry
// brought back by the factor for a widget never placed by the zoom.
QRect geometry(const QWidget* widget);

// Gives the widget its design font (a pixel size) at the current factor.
void setFont(QWidget* widget, const QFont& design);

// Makes z the factor of the window root, with its content's top-left corner
// at offset, and puts every widget under it where its design says.
void apply(QWidget* root, double z, const QPoint& offset);

} // namespace Zoom

} // namespace Ionaria::ui
