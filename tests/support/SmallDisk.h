// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Ionaria::testing {

// A real, small file system for the tests of full disks: a tmpfs of a few
// pages mounted on a folder of its own, which fill() then fills to the last
// byte. Mounting needs root; elsewhere mounted() is false and whyNot() says
// why, for the test to skip. The folder is unmounted whatever the test did.
class SmallDisk {
public:
    explicit SmallDisk(int kibibytes = 256) {
        if (!m_folder.isValid()) {
            m_whyNot = QStringLiteral("no temporary folder for the small disk");
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(kibibytes) + "k,mode=0777";
        if (::mount("ionaria-test", m_folder.path().toLocal8Bit().constData(), "tmpfs",
                    MS_NOSUID | MS_NODEV, options.constData()) != 0) {
            m_whyNot = QStringLiteral("full-disk test skipped: mounting a small tmpfs needs root "
                                      "(CAP_SYS_ADMIN), and here it failed: ") +
                       QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        m_mounted = true;
    }
    ~SmallDisk() {
        if (m_mounted) {
            ::umount2(m_folder.path().toLocal8Bit().constData(), MNT_DETACH);
        }
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return m_mounted; }
    const QString& whyNot() const { return m_whyNot; }
    QString path(const QString& name) const { return m_folder.path() + QLatin1Char('/') + name; }
    std::string stdPath(const QString& name) const { return path(name).toStdString(); }

    // Fills the disk with one file until a write is refused for lack of room;
    // true when that happened.
    bool fill() const {
        const int fd = ::open(path(QStringLiteral("remplissage")).toLocal8Bit().constData(),
                              O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0) {
            return false;
        }
        const std::string block(4096, 'x');
        bool full = false;
        for (int i = 0; i < 1 << 20 && !full; ++i) {
            const ssize_t written = ::write(fd, block.data(), block.size());
            full = written < 0 && errno == ENOSPC;
            if (written < 0 && !full) {
                break;
            }
        }
        // The last bytes of a page that a short write left free.
        for (int i = 0; i < 4096 && full; ++i) {
            if (::write(fd, "x", 1) != 1) {
                break;
            }
        }
        ::close(fd);
        return full;
    }

    // The names in the folder, but the filler.
    QStringList names() const {
        QStringList list =
            QDir(m_folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        list.removeAll(QStringLiteral("remplissage"));
        return list;
    }

private:
    QTemporaryDir m_folder;
    bool m_mounted = false;
    QString m_whyNot;
};

// The permission bits of a file, 0 when it is missing.
inline unsigned modeOf(const QString& path) {
    struct stat info {};
    return ::stat(path.toLocal8Bit().constData(), &info) == 0 ? info.st_mode & 07777U : 0U;
}

inline QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void putContent(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes);
    }
}

} // namespace Ionaria::testing

// Skips the test, saying why, where no small disk can be mounted.
#define IONARIA_NEED_SMALL_DISK(disk)                                                              \
    do {                                                                                           \
        if (!(disk).mounted()) {                                                                   \
            QSKIP(qPrintable((disk).whyNot()));                                                    \
        }                                                                                          \
    } while (false)
