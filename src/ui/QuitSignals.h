// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

namespace Ionaria::ui {

// The signals that end a session (SIGTERM at a logout or a shutdown, SIGHUP
// when the terminal goes, SIGINT), brought to the event loop so that the run
// ends through its normal quit and the temporary file says so. One at a time.
class QuitSignals : public QObject {
    Q_OBJECT

public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

signals:
    void received(int signal);

private:
    void read();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace Ionaria::ui
