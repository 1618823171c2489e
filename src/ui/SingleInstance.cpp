// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SingleInstance.h"

#include "ui/MainWindow.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace Ionaria::ui {

namespace {

// One line each way: the kind's letter and the path, then "OK".
constexpr char exerciseLetter = 'E';
constexpr char configurationLetter = 'C';
constexpr char noneLetter = '-';
constexpr qint64 maxRequestBytes = 16 * 1024;
const QByteArray accepted = QByteArrayLiteral("OK\n");

char letterOf(SingleInstance::Kind kind) {
    switch (kind) {
    case SingleInstance::Kind::Exercise:
        return exerciseLetter;
    case SingleInstance::Kind::Configuration:
        return configurationLetter;
    case SingleInstance::Kind::None:
        break;
    }
    return noneLetter;
}

SingleInstance::Kind kindOf(char letter) {
    switch (letter) {
    case exerciseLetter:
        return SingleInstance::Kind::Exercise;
    case configurationLetter:
        return SingleInstance::Kind::Configuration;
    default:
        return SingleInstance::Kind::None;
    }
}

} // namespace

SingleInstance::SingleInstance(const QString& applicationFolder, QObject* parent)
    : QObject(parent), m_name(serverName(applicationFolder)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName(const QString& applicationFolder) {
    const QFileInfo folder(applicationFolder);
    const QString canonical = folder.canonicalFilePath().isEmpty() ? folder.absoluteFilePath()
                                                                   : folder.canonicalFilePath();
    const QByteArray digest =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
    return QStringLiteral("ionaria-%1-%2").arg(::geteuid()).arg(QString::fromLatin1(digest));
}

bool SingleInstance::handOver(Kind kind, const QString& path) const {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(answerTimeout)) {
        return false;
    }
    const QString absolute = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    socket.write(QByteArray(1, letterOf(kind)) + absolute.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(answerTimeout)) {
        return false;
    }
    QByteArray answer;
    while (answer.size() < accepted.size() && socket.waitForReadyRead(answerTimeout)) {
        answer += socket.readAll();
    }
    return answer.startsWith(accepted);
}

bool SingleInstance::serve() {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // Nothing answered on the name: the run that made it was killed.
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name)) {
            return false;
        }
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::answer);
    return true;
}

void SingleInstance::deliverTo(MainWindow& window) {
    connect(this, &SingleInstance::requested, &window, [&window](Kind kind, const QString& path) {
        if (window.isMinimized()) {
            window.showNormal();
        }
        window.raise();
        window.activateWindow();
        if (kind == Kind::Exercise) {
            window.openExerciseFile(path);
        } else if (kind == Kind::Configuration) {
            window.openConfiguration(path);
        }
    });
}

void SingleInstance::answer() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > maxRequestBytes) {
                    socket->abort();
                }
                return;
            }
            const QByteArray line = socket->readLine(maxRequestBytes).chopped(1);
            socket->write(accepted);
            socket->flush();
            const Kind kind = line.isEmpty() ? Kind::None : kindOf(line.front());
            emit requested(kind, kind == Kind::None ? QString() : QString::fromUtf8(line.mid(1)));
        });
    }
}

} // namespace Ionaria::ui
