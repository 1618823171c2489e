// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Zoom.h"

#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace Ionaria::ui::Zoom {

namespace {

constexpr const char* factorProperty = "ionariaZoomFactor";
constexpr const char* offsetProperty = "ionariaZoomOffset";
constexpr const char* designProperty = "ionariaDesignGeometry";
constexpr const char* fontProperty = "ionariaDesignFontPixels";

int edge(int design, double z) {
    return static_cast<int>(std::lround(design * z));
}

// The zoomed window that holds the widget, or none.
const QWidget* rootOf(const QWidget* widget) {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (w->property(factorProperty).isValid()) {
            return w;
        }
    }
    return nullptr;
}

QRect shown(const QWidget* widget, const QRect& design) {
    const QWidget* root = rootOf(widget);
    if (root == nullptr) {
        return design;
    }
    QRect r = scaled(design, root->property(factorProperty).toDouble());
    if (widget->parentWidget() == root) {
        r.translate(root->property(offsetProperty).toPoint());
    }
    return r;
}

void show(QWidget* widget) {
    const QRect r = shown(widget, widget->property(designProperty).toRect());
    if (widget->geometry() != r) {
        widget->setGeometry(r);
    }
}

void showFont(QWidget* widget, double z) {
    const QVariant px = widget->property(fontProperty);
    if (!px.isValid()) {
        return;
    }
    QFont f = widget->font();
    const int size = scaledPixels(px.toInt(), z);
    if (f.pixelSize() != size) {
        f.setPixelSize(size);
        widget->setFont(f);
    }
}

} // namespace

double factor(const QWidget* widget) {
    const QWidget* root = rootOf(widget);
    return root == nullptr ? 1.0 : root->property(factorProperty).toDouble();
}

QRect scaled(const QRect& design, double z) {
    const int left = edge(design.x(), z);
    const int top = edge(design.y(), z);
    const int right = edge(design.x() + design.width(), z);
    const int bottom = edge(design.y() + design.height(), z);
    return QRect(left, top, right - left, bottom - top);
}

int scaledPixels(int designPixels, double z) {
    return std::max(1, edge(designPixels, z));
}

void setGeometry(QWidget* widget, const QRect& design) {
    if (widget == nullptr) {
        return;
    }
    widget->setProperty(designProperty, design);
    show(widget);
}

void move(QWidget* widget, const QPoint& designTopLeft) {
    if (widget == nullptr) {
        return;
    }
    QRect r = geometry(widget);
    r.moveTopLeft(designTopLeft);
    setGeometry(widget, r);
}

void resize(QWidget* widget, const QSize& designSize) {
    if (widget == nullptr) {
        return;
    }
    QRect r = geometry(widget);
    r.setSize(designSize);
    setGeometry(widget, r);
}

QRect geometry(const QWidget* widget) {
    if (widget == nullptr) {
        return {};
    }
    const QVariant design = widget->property(designProperty);
    if (design.isValid()) {
        return design.toRect();
    }
    const double z = factor(widget);
    const QRect g = widget->geometry();
    return QRect(static_cast<int>(std::lround(g.x() / z)), static_cast<int>(std::lround(g.y() / z)),
                 static_cast<int>(std::lround(g.width() / z)),
                 static_cast<int>(std::lround(g.height() / z)));
}

void setFont(QWidget* widget, const QFont& design) {
    if (widget == nullptr) {
        return;
    }
    widget->setProperty(fontProperty, design.pixelSize());
    QFont f = design;
    f.setPixelSize(scaledPixels(design.pixelSize(), factor(widget)));
    widget->setFont(f);
}

void apply(QWidget* root, double z, const QPoint& offset) {
    if (root == nullptr || !(z > 0.0) || !std::isfinite(z)) {
        return;
    }
    root->setProperty(factorProperty, z);
    root->setProperty(offsetProperty, offset);
    showFont(root, z);
    // Parents before children: a page laid out again when its size changes
    // places its controls at the new factor.
    const auto widgets = root->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        showFont(w, z);
    }
    for (QWidget* w : widgets) {
        if (w->property(designProperty).isValid()) {
            show(w);
        }
    }
    root->update();
}

} // namespace Ionaria::ui::Zoom
