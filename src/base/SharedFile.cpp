// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/SharedFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Ionaria::base {

namespace {

SharedFile::Refusal refusalOf(int error) {
    switch (error) {
    case ENOENT:
        return SharedFile::Refusal::Missing;
    case ELOOP:
        return SharedFile::Refusal::SymbolicLink;
    case EISDIR:
    case ENXIO:
    case ENODEV:
        return SharedFile::Refusal::NotAFile;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return SharedFile::Refusal::Denied;
    default:
        return SharedFile::Refusal::Failed;
    }
}

SharedFile::Refusal kindOf(const struct stat& info) {
    if (S_ISLNK(info.st_mode)) {
        return SharedFile::Refusal::SymbolicLink;
    }
    return S_ISREG(info.st_mode) ? SharedFile::Refusal::None : SharedFile::Refusal::NotAFile;
}

} // namespace

SharedFile::Refusal SharedFile::kindAt(const std::string& path, Links links) {
    struct stat info {};
    const int got =
        links == Links::Refuse ? ::lstat(path.c_str(), &info) : ::stat(path.c_str(), &info);
    return got == 0 ? kindOf(info) : refusalOf(errno);
}

SharedFile::SharedFile(const std::string& path, Access access, Links links) {
    // A device is never opened at all, when it can be told beforehand: opening
    // some of them acts on the hardware.
    const Refusal before = kindAt(path, links);
    if (before != Refusal::None &&
        !(before == Refusal::Missing && access == Access::UpdateOrCreate)) {
        m_refusal = before;
        return;
    }
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    flags |= access == Access::Read ? O_RDONLY : O_RDWR;
    flags |= access == Access::UpdateOrCreate ? O_CREAT : 0;
    flags |= links == Links::Refuse ? O_NOFOLLOW : 0;
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        m_refusal = refusalOf(errno);
        return;
    }
    // What was there may have been replaced between the look and the opening.
    struct stat info {};
    if (::fstat(fd, &info) != 0 || kindOf(info) != Refusal::None) {
        ::close(fd);
        m_refusal = Refusal::NotAFile;
        return;
    }
    const int status = ::fcntl(fd, F_GETFL);
    if (status >= 0) {
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    }
    m_fd = fd;
    m_modifiedNs = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL +
                   static_cast<long long>(info.st_mtim.tv_nsec);
}

SharedFile::~SharedFile() {
    close();
}

bool SharedFile::close() {
    if (m_fd < 0) {
        return true;
    }
    const bool ok = ::close(m_fd) == 0;
    m_fd = -1;
    return ok;
}

} // namespace Ionaria::base
