// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/RecordFile.h"
#include "ui/MainWindow.h"
#include "ui/TabStrip.h"
#include "ui/TempFile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

// What the tests of the main window share: answering its boxes, menus and
// dialogs as they open, reading the temporary file, and a window on a folder
// of its own for each test function.
namespace windowtest {

using Ionaria::base::RecordFile;
using Ionaria::ui::TempFile;

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Answers the message boxes as they open, in order, and records them.
class BoxAnswerer : public QObject {
public:
    explicit BoxAnswerer(QList<QMessageBox::StandardButton> answers)
        : m_answers(std::move(answers)) {
        connect(&m_poll, &QTimer::timeout, this, &BoxAnswerer::poll);
        m_poll.start(20);
    }
    QList<SeenBox> seen;

private:
    void poll() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (box == nullptr || !box->isVisible() || box->property("answered").toBool()) {
                continue;
            }
            box->setProperty("answered", true);
            seen.push_back({box->windowTitle(), box->text(), box->icon()});
            const auto answer = m_answers.isEmpty() ? QMessageBox::Cancel : m_answers.takeFirst();
            QAbstractButton* button = box->button(answer);
            if (button == nullptr) {
                button = box->buttons().value(0);
            }
            if (button != nullptr) {
                button->click();
            }
        }
    }
    QList<QMessageBox::StandardButton> m_answers;
    QTimer m_poll;
};

// Runs action on the pop-up menu once it is open.
inline void whenPopup(std::function<void(QMenu*)> action) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            poll->stop();
            poll->deleteLater();
            action(menu);
        }
    });
    poll->start(20);
}

// Runs action on the modal dialog of that object name once it is open.
inline void whenDialog(const QString& name, std::function<void(QDialog*)> action) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, name, action] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(w);
            if (dialog != nullptr && dialog->isVisible() && dialog->objectName() == name) {
                poll->stop();
                poll->deleteLater();
                action(dialog);
                return;
            }
        }
    });
    poll->start(20);
}

inline QString record(const QString& folder, int n) {
    const auto text =
        RecordFile::readOne(QDir(folder).filePath(TempFile::fileName).toStdString(), n);
    return QString::fromStdString(text.value);
}

inline QColor background(const QWidget* w, QPalette::ColorRole role) {
    return w->palette().color(role);
}

inline const QColor white(255, 255, 255);
inline const QColor grey(192, 192, 192);

} // namespace windowtest

// A main window on a temporary folder, shown and active; each test class
// opens one in init() and closes it in cleanup().
class WindowTestBase : public QObject {
protected:
    void openWindow() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_window = std::make_unique<Ionaria::ui::MainWindow>(m_dir->path());
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    void closeWindow() {
        m_window.reset();
        m_dir.reset();
    }
    Ionaria::ui::MainWindow& window() { return *m_window; }
    void showTab(int tab) { m_window->Onglets->setOngletActif(tab); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Ionaria::ui::MainWindow> m_window;
};
