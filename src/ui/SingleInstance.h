// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace Ionaria::ui {

class MainWindow;

// One window per application folder: the temporary file there can tell only
// one run. A second start on the folder hands its file to the window that
// runs, which comes to the front, and ends.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // What a start asks the running window to open.
    enum class Kind { None, Exercise, Configuration };
    // How long a start waits for the running window's answer, ms.
    static constexpr int answerTimeout = 3000;

    explicit SingleInstance(const QString& applicationFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The name of the local server of a folder: one per folder and user.
    static QString serverName(const QString& applicationFolder);

    // Gives the file to the window running on the folder; true when one took
    // it, and this start then has nothing more to do. path may be empty.
    bool handOver(Kind kind, const QString& path) const;
    // Serves the later starts on the folder; a server left by a run that was
    // killed is replaced. False when no server could be made.
    bool serve();
    // What later starts ask goes to window: it comes to the front and opens
    // the file given.
    void deliverTo(MainWindow& window);

signals:
    // A later start asked for this file (absolute; empty: none), or only for
    // the window.
    void requested(Ionaria::ui::SingleInstance::Kind kind, const QString& path);

private:
    void answer();

    QString m_name;
    QLocalServer* m_server = nullptr;
};

} // namespace Ionaria::ui
