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
#include <QElapsedTimer>
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

// Polls every 20 ms for something to open, for ten seconds at most, and stops
// when it goes out of scope: nothing a test waits for acts on a later test's
// windows, and a window that never opens leaves no timer behind.
class Poller : public QObject {
public:
    static constexpr int intervalMs = 20;
    static constexpr int timeoutMs = 10000;

    // found is called at every poll until it returns true.
    explicit Poller(std::function<bool()> found) : m_found(std::move(found)) {
        connect(&m_poll, &QTimer::timeout, this, &Poller::poll);
        m_clock.start();
        m_poll.start(intervalMs);
    }
    // Whether what it waited for was found.
    bool done() const { return m_done; }
    // Whether it gave up, the ten seconds gone.
    bool timedOut() const { return m_timedOut; }

private:
    // The timer stops while found runs: what it does may run an event loop of
    // its own (a dialog's, a box's), in which the next poll must not come.
    void poll() {
        m_poll.stop();
        if (m_clock.elapsed() > timeoutMs) {
            m_timedOut = true;
            return;
        }
        if (m_found()) {
            m_done = true;
            return;
        }
        m_poll.start(intervalMs);
    }

    std::function<bool()> m_found;
    QTimer m_poll;
    QElapsedTimer m_clock;
    bool m_done = false;
    bool m_timedOut = false;
};

// Answers the message boxes as they open, in order, and records them, as long
// as it lives and for ten seconds at most.
class BoxAnswerer {
public:
    explicit BoxAnswerer(QList<QMessageBox::StandardButton> answers)
        : m_answers(std::move(answers)), m_poller([this] { return poll(); }) {}
    QList<SeenBox> seen;

private:
    // Never done: every box that opens gets its answer.
    bool poll() {
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
        return false;
    }
    QList<QMessageBox::StandardButton> m_answers;
    Poller m_poller;
};

// Runs action on the pop-up menu once it is open; keep the result until the
// menu has been used.
[[nodiscard]] inline std::unique_ptr<Poller> whenPopup(std::function<void(QMenu*)> action) {
    return std::make_unique<Poller>([action = std::move(action)] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return false;
        }
        action(menu);
        return true;
    });
}

// Runs action on the modal dialog of that object name once it is open; keep
// the result until the dialog has been used.
[[nodiscard]] inline std::unique_ptr<Poller> whenDialog(const QString& name,
                                                        std::function<void(QDialog*)> action) {
    return std::make_unique<Poller>([name, action = std::move(action)] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(w);
            if (dialog != nullptr && dialog->isVisible() && dialog->objectName() == name) {
                action(dialog);
                return true;
            }
        }
        return false;
    });
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
