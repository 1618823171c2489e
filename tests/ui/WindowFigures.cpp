// SPDX-License-Identifier: GPL-3.0-or-later
// Figures of the real window, for the notes: start-up to the first painted
// frame, resident memory while animating, and the tick rate, the longest
// wait between two ticks and the CPU share at the fastest speed, with the
// curves' window open if asked (and its picture saved). Run it on a display
// (Xvfb will do):
//     ui_window_figures [seconds] [CONFIGURATION.C14] [--courbes [PICTURE.png]]
// or, to see the window at the zooms 1, 1.5 and 2 (the offscreen platform
// will do), after a few seconds of an electrolysis:
//     ui_window_figures --captures FOLDER
// or the window, the calculator and the curves' window as the session's
// locale and fonts show them, then the window and the calculator again under
// a dark desktop theme:
//     ui_window_figures --looks FOLDER
#include "calc/Machine.h"
#include "sim/Catalogue.h"
#include "ui/CourbesWindow.h"
#include "ui/IllusView.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>

#include <iostream>
#include <utility>

#include <ctime>
#include <iostream>

namespace {

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

class FirstPaint : public QObject {
public:
    explicit FirstPaint(const QElapsedTimer& clock) : m_clock(clock) {}
    qint64 atMs = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && atMs < 0) {
            atMs = m_clock.elapsed();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer& m_clock;
};

// The window after a run of a few simulated minutes, at each zoom.
int captures(const QString& folder) {
    QTemporaryDir appFolder;
    Ionaria::ui::MainWindow window(appFolder.path());
    window.show();
    window.handlers().setHScroll2(Ionaria::sim::catalogue::hScroll2Max);
    window.refreshFromStore();
    window.Command5_Click();
    for (int i = 0; i < 150; ++i) {
        window.engine().Timer1_Timer();
    }
    window.Command5_Click();
    window.refreshFromStore();
    for (const auto& [z, name] :
         {std::pair{1.0, "1"}, std::pair{1.5, "1.5"}, std::pair{2.0, "2"}}) {
        window.resize(static_cast<int>(800 * z), static_cast<int>(600 * z));
        QApplication::processEvents();
        const QString path =
            folder + QStringLiteral("/fenetre-zoom-%1.png").arg(QLatin1String(name));
        if (!window.grab().save(path)) {
            std::cerr << "Écriture impossible : " << path.toStdString() << "\n";
            return 1;
        }
        std::cout << path.toStdString() << "\n";
    }
    return 0;
}

bool save(QWidget& widget, const QString& path) {
    QApplication::processEvents();
    if (!widget.grab().save(path)) {
        std::cerr << "Écriture impossible : " << path.toStdString() << "\n";
        return false;
    }
    std::cout << path.toStdString() << "\n";
    return true;
}

// The colours of a dark desktop theme, set before any window is made.
QPalette darkTheme() {
    QPalette p;
    const QColor dark(45, 45, 45);
    const QColor light(238, 238, 236);
    p.setColor(QPalette::Window, dark);
    p.setColor(QPalette::WindowText, light);
    p.setColor(QPalette::Base, QColor(30, 30, 30));
    p.setColor(QPalette::Text, light);
    p.setColor(QPalette::Button, QColor(60, 60, 60));
    p.setColor(QPalette::ButtonText, light);
    p.setColor(QPalette::ToolTipBase, dark);
    p.setColor(QPalette::ToolTipText, light);
    return p;
}

int looks(const QString& folder) {
    for (const bool dark : {false, true}) {
        if (dark) {
            QApplication::setPalette(darkTheme());
        }
        const QString suffix = dark ? QStringLiteral("-sombre") : QString();
        QTemporaryDir appFolder;
        Ionaria::ui::MainWindow window(appFolder.path());
        window.show();
        window.handlers().setHScroll2(Ionaria::sim::catalogue::hScroll2Max);
        window.refreshFromStore();
        window.Command5_Click();
        for (int i = 0; i < 150; ++i) {
            window.engine().Timer1_Timer();
        }
        window.Command5_Click();
        window.refreshFromStore();
        Ionaria::calc::Machine machine(&window);
        machine.show();
        if (!save(window, folder + QStringLiteral("/fenetre%1.png").arg(suffix)) ||
            !save(machine, folder + QStringLiteral("/calculatrice%1.png").arg(suffix))) {
            return 1;
        }
        machine.hide();
        if (!dark) {
            window.Command12_Click();
            Ionaria::ui::CourbesWindow* courbes = window.courbesWindow();
            courbes->resize(820, 560);
            if (!save(*courbes, folder + QStringLiteral("/courbes.png"))) {
                return 1;
            }
        }
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    if (argc > 2 && QString::fromLatin1(argv[1]) == QStringLiteral("--captures")) {
        return captures(QString::fromLocal8Bit(argv[2]));
    }
    if (argc > 2 && QString::fromLatin1(argv[1]) == QStringLiteral("--looks")) {
        return looks(QString::fromLocal8Bit(argv[2]));
    }
    const QStringList arguments = QApplication::arguments();
    const double seconds = arguments.size() > 1 ? std::max(1.0, arguments.at(1).toDouble()) : 10.0;
    const qsizetype courbesAt = arguments.indexOf(QStringLiteral("--courbes"));
    const QString picture =
        courbesAt > 0 && courbesAt + 1 < arguments.size() ? arguments.at(courbesAt + 1) : QString();
    QTemporaryDir folder;
    Ionaria::ui::MainWindow window(folder.path());
    FirstPaint firstPaint(clock);
    window.illus->installEventFilter(&firstPaint);
    window.show();
    while (firstPaint.atMs < 0 && clock.elapsed() < 10000) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    std::cout << "Démarrage jusqu'à la première image : " << firstPaint.atMs << " ms\n";

    for (const QString& argument : arguments) {
        if (argument.endsWith(QStringLiteral(".C14"), Qt::CaseInsensitive)) {
            window.openConfiguration(argument);
        }
    }
    window.handlers().setHScroll2(Ionaria::sim::catalogue::hScroll2Max);
    window.refreshFromStore();
    int refreshes = 0;
    if (courbesAt > 0) {
        window.Command12_Click();
        auto* courbes = window.courbesWindow();
        courbes->move(window.geometry().right() + 4, 0);
        courbes->faradayBox()->setChecked(true);
        QObject::connect(courbes, &Ionaria::ui::CourbesWindow::redrawn,
                         [&refreshes] { ++refreshes; });
    }
    int ticks = 0;
    qint64 longestGap = 0;
    QElapsedTimer sinceTick;
    QObject::connect(&window.Timer1, &QTimer::timeout, [&] {
        if (ticks > 0) {
            longestGap = std::max(longestGap, sinceTick.elapsed());
        }
        sinceTick.start();
        ++ticks;
    });
    window.Command5_Click();
    const double cpu0 = cpuSeconds();
    QElapsedTimer run;
    run.start();
    // The application's own quit would ask the window to close, which asks
    // for confirmation: a local loop ends without it.
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000.0), &loop, &QEventLoop::quit);
    loop.exec();
    const double wall = static_cast<double>(run.elapsed()) / 1000.0;
    const double cpu = cpuSeconds() - cpu0;
    std::cout << "Vitesse " << window.engine().params().HScroll2 << " s simulées par tick, " << wall
              << " s : " << ticks << " ticks, " << ticks / wall << " ticks/s, CPU "
              << 100.0 * cpu / wall << " % d'un cœur, temps simulé "
              << window.engine().state().tempsSec << " s\n";
    std::cout << "Attente la plus longue entre deux ticks : " << longestGap << " ms ("
              << Ionaria::ui::MainWindow::tickInterval << " ms prévues)\n";
    std::cout << "Mémoire résidente pendant l'animation : " << residentKiB() / 1024 << " Mo\n";
    if (auto* courbes = window.courbesWindow()) {
        std::cout << "Fenêtre Courbes ouverte : " << refreshes << " dessins, " << refreshes / wall
                  << " par seconde ; " << window.recorder().rows() << " mesures, "
                  << window.recorder().memoryBytes() / 1024 << " Kio\n";
        if (!picture.isEmpty()) {
            // The picture shows the values read at the middle of the run.
            courbes->refreshIfChanged();
            courbes->readAt(window.recorder().lastSeconds() / 2.0);
            courbes->grab().save(picture);
        }
    }
    window.Timer1.stop();
    return 0;
}
