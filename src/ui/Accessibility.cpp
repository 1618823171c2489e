// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Accessibility.h"

#include "ui/IllusView.h"
#include "ui/TabStrip.h"
#include "ui/UpDownButtons.h"
#include "ui/Zoom.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QScrollBar>

#include <array>
#include <cmath>

namespace Ionaria::ui {

namespace {

const char* const statusLineProperty = "ionariaStatusLine";

// One tab of the strip: a page tab that a screen reader can select.
class PageTabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    PageTabAccessible(TabStrip* strip, int tab) : m_strip(strip), m_tab(tab) {}

    bool isValid() const override { return m_strip != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        QAccessibleInterface* parentIface = parent();
        return parentIface != nullptr ? parentIface->window() : nullptr;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_strip.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            return TabStrip::captions()[static_cast<std::size_t>(m_tab - 1)];
        }
        if (t == QAccessible::Description && m_strip != nullptr) {
            return QStringLiteral("Onglet %1 sur 4").arg(m_tab);
        }
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (m_strip == nullptr) {
            return {};
        }
        const double z = Zoom::factor(m_strip);
        const auto& edges = m_strip->bordOnglet();
        const int left =
            static_cast<int>(std::lround((edges[static_cast<std::size_t>(m_tab - 1)] + 1) * z));
        const int right = static_cast<int>(std::lround(edges[static_cast<std::size_t>(m_tab)] * z));
        const int height = static_cast<int>(std::lround(TabStrip::tabBand * z));
        return QRect(m_strip->mapToGlobal(QPoint(left, 0)), QSize(right - left, height));
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (m_strip == nullptr) {
            s.invalid = true;
            return s;
        }
        s.selectable = true;
        s.focusable = true;
        const bool active = m_strip->ongletActif() == m_tab;
        s.selected = active;
        s.focused = active && m_strip->hasFocus();
        s.invisible = !m_strip->isVisible();
        s.disabled = !m_strip->isEnabled();
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && m_strip != nullptr) {
            m_strip->setOngletActif(m_tab);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<TabStrip> m_strip;
    int m_tab;
};

// The strip: its four tabs first, then its pages.
class TabStripAccessible : public QAccessibleWidget {
public:
    explicit TabStripAccessible(TabStrip* strip)
        : QAccessibleWidget(strip, QAccessible::PageTabList) {
        for (int i = 0; i < 4; ++i) {
            auto* tab = new PageTabAccessible(strip, i + 1);
            m_tabs[static_cast<std::size_t>(i)] = QAccessible::registerAccessibleInterface(tab);
        }
    }
    ~TabStripAccessible() override {
        for (QAccessible::Id id : m_tabs) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }
    TabStripAccessible(const TabStripAccessible&) = delete;
    TabStripAccessible& operator=(const TabStripAccessible&) = delete;

    int childCount() const override { return 4 + QAccessibleWidget::childCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index >= 0 && index < 4) {
            return QAccessible::accessibleInterface(m_tabs[static_cast<std::size_t>(index)]);
        }
        return QAccessibleWidget::child(index - 4);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (std::size_t i = 0; i < m_tabs.size(); ++i) {
            if (QAccessible::accessibleInterface(m_tabs[i]) == child) {
                return static_cast<int>(i);
            }
        }
        const int index = QAccessibleWidget::indexOfChild(child);
        return index < 0 ? -1 : index + 4;
    }
    QAccessibleInterface* focusChild() const override {
        const auto* strip = static_cast<const TabStrip*>(widget());
        if (strip->hasFocus()) {
            return child(strip->ongletActif() - 1);
        }
        return QAccessibleWidget::focusChild();
    }

private:
    std::array<QAccessible::Id, 4> m_tabs{};
};

// The picture: an image, described by the state of the experiment.
class PictureAccessible : public QAccessibleWidget {
public:
    explicit PictureAccessible(QWidget* picture)
        : QAccessibleWidget(picture, QAccessible::Graphic) {}
};

// The generator's arrows: a spin button whose value is the setting they step.
class SpinAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SpinAccessible(UpDownButtons* buttons)
        : QAccessibleWidget(buttons, QAccessible::SpinBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) {
            return buttons()->value().shown;
        }
        if (t == QAccessible::Description && !buttons()->value().shown.isEmpty()) {
            return buttons()->value().shown + QStringLiteral(". ") + QAccessibleWidget::text(t);
        }
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return buttons()->value().current; }
    void setCurrentValue(const QVariant& value) override {
        const UpDownButtons::Value& v = buttons()->value();
        if (!(v.step > 0.0)) {
            return;
        }
        const auto steps = static_cast<int>(std::lround((value.toDouble() - v.current) / v.step));
        if (steps != 0) {
            emit buttons()->stepped(steps);
        }
    }
    QVariant maximumValue() const override { return buttons()->value().maximum; }
    QVariant minimumValue() const override { return buttons()->value().minimum; }
    QVariant minimumStepSize() const override { return buttons()->value().step; }

private:
    UpDownButtons* buttons() const { return static_cast<UpDownButtons*>(widget()); }
};

// The hint line: a status line whose text is read as it stands.
class StatusLineAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit StatusLineAccessible(QLabel* line) : QAccessibleWidget(line, QAccessible::StatusBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description || t == QAccessible::Value) {
            return shown();
        }
        return QAccessibleWidget::text(t);
    }

    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override {
        return shown().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(shown().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    // A line break in the hint is a space when read.
    QString shown() const { return static_cast<QLabel*>(widget())->text().simplified(); }
};

QAccessibleInterface* accessibleFactory(const QString&, QObject* object) {
    if (auto* strip = qobject_cast<TabStrip*>(object)) {
        return new TabStripAccessible(strip);
    }
    if (auto* picture = qobject_cast<IllusView*>(object)) {
        return new PictureAccessible(picture);
    }
    if (auto* buttons = qobject_cast<UpDownButtons*>(object)) {
        return new SpinAccessible(buttons);
    }
    if (auto* label = qobject_cast<QLabel*>(object);
        label != nullptr && label->property(statusLineProperty).toBool()) {
        return new StatusLineAccessible(label);
    }
    return nullptr;
}

} // namespace

void installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFactory);
        return true;
    }();
    (void)installed;
}

void markStatusLine(QLabel* line) {
    line->setProperty(statusLineProperty, true);
}

void labelList(QComboBox* list, const QString& label) {
    // The page prints the label itself; this one is never shown, and is
    // there for the relation screen readers follow.
    auto* buddy = new QLabel(label, list->parentWidget());
    buddy->setObjectName(list->objectName() + QStringLiteral("_label"));
    buddy->setBuddy(list);
    buddy->hide();
    list->setAccessibleName(label);
    list->view()->setAccessibleName(QStringLiteral("Liste : ") + label);
}

void nameScrollBars(QWidget* root) {
    for (QAbstractScrollArea* area : root->findChildren<QAbstractScrollArea*>()) {
        QString name = area->accessibleName();
        if (name.isEmpty()) {
            for (QWidget* w = area->parentWidget(); w != nullptr && name.isEmpty();
                 w = w->parentWidget()) {
                if (auto* list = qobject_cast<QComboBox*>(w)) {
                    name = QStringLiteral("Liste : ") + list->accessibleName();
                }
            }
        }
        if (name.isEmpty()) {
            continue;
        }
        area->verticalScrollBar()->setAccessibleName(name +
                                                     QStringLiteral(" : défilement vertical"));
        area->horizontalScrollBar()->setAccessibleName(name +
                                                       QStringLiteral(" : défilement horizontal"));
    }
}

} // namespace Ionaria::ui
