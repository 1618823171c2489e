// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/QuitSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace Ionaria::ui {

namespace {

constexpr std::array<int, 3> endingSignals = {SIGTERM, SIGHUP, SIGINT};
// The handler writes the signal's number into one end; the loop reads the other.
std::array<int, 2> channel = {-1, -1};

void onSignal(int signal) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(signal);
    if (::write(channel[0], &byte, 1) < 0) {
        // A full channel already holds a request to end.
    }
    errno = saved;
}

} // namespace

QuitSignals::QuitSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, channel.data()) != 0) {
        return;
    }
    m_notifier = new QSocketNotifier(channel[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignals::read);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : endingSignals) {
        ::sigaction(signal, &action, nullptr);
    }
}

QuitSignals::~QuitSignals() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signal : endingSignals) {
        ::sigaction(signal, &action, nullptr);
    }
    delete m_notifier;
    for (int& fd : channel) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

void QuitSignals::read() {
    unsigned char byte = 0;
    while (::read(channel[1], &byte, 1) == 1) {
        emit received(byte);
    }
}

} // namespace Ionaria::ui
