// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CarefulFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string_view>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Ionaria::base {

namespace {

// Links lead through at most this many hops, as the kernel allows.
constexpr int maxLinkHops = 40;
// Names tried for the new file before giving up on the folder.
constexpr int maxNameTries = 100;
constexpr std::size_t uniqueSuffixLength = 8;
// A new file older than this is no save's in progress: one killed left it.
constexpr auto leftoverAge = std::chrono::minutes(1);

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The folder of a path with its own links resolved, empty when it has none.
std::string realFolder(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(folderOf(path).c_str(), resolved) == nullptr) {
        return {};
    }
    return resolved;
}

bool underProc(const std::string& folder) {
    return folder == "/proc" || folder.starts_with("/proc/");
}

// The mask of the permission bits a new file does not get. The status file
// tells it without changing it; the other way briefly clears it.
mode_t currentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("Umask:")) {
            const auto digits = line.find_first_of("01234567", 6);
            unsigned mask = 0;
            if (digits != std::string::npos &&
                std::from_chars(line.data() + digits, line.data() + line.size(), mask, 8).ec ==
                    std::errc()) {
                return static_cast<mode_t>(mask & 0777U);
            }
        }
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

std::string uniqueSuffix() {
    static std::atomic<unsigned long long> counter{0};
    const auto ticks = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    unsigned long long seed = ticks ^ (static_cast<unsigned long long>(::getpid()) << 32U) ^
                              (counter.fetch_add(1) * 0x9E3779B97F4A7C15ULL);
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix;
    for (std::size_t i = 0; i < uniqueSuffixLength; ++i) {
        suffix.push_back(letters[seed % 36U]);
        seed /= 36U;
    }
    return suffix;
}

// Whether name is that of a new file made for target by uniqueSuffix().
bool isTemporaryOf(std::string_view name, std::string_view target) {
    const std::size_t length = 1 + target.size() + 1 + uniqueSuffixLength + 4;
    if (name.size() != length || name.front() != '.' || name.substr(1, target.size()) != target ||
        name[1 + target.size()] != '.' || !name.ends_with(".tmp")) {
        return false;
    }
    const std::string_view suffix = name.substr(2 + target.size(), uniqueSuffixLength);
    return std::all_of(suffix.begin(), suffix.end(),
                       [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); });
}

// Removes the new files that saves of target killed before their end left
// in its folder: the user's own, none younger than a save may last.
void removeLeftovers(const std::string& target) {
    const std::string folder = folderOf(target);
    const std::string name = nameOf(target);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const auto now = std::chrono::system_clock::now();
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTemporaryOf(entry->d_name, name)) {
            continue;
        }
        const std::string path = folder + "/" + entry->d_name;
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
            info.st_uid != ::geteuid()) {
            continue;
        }
        const auto modified =
            std::chrono::system_clock::time_point(std::chrono::seconds(info.st_mtim.tv_sec));
        if (now - modified > leftoverAge) {
            ::unlink(path.c_str());
        }
    }
    ::closedir(dir);
}

bool writeEvery(int fd, const char* data, std::size_t size, int& error) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            return false;
        }
        if (written == 0) {
            error = ENOSPC;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Where the bytes of path really go: the end of its links, or path itself
// when a link leads into the kernel's own files (/dev/stdout), which only
// the kernel can follow.
struct Resolved {
    std::string target;
    bool inPlace = false;
    int error = 0;
};

Resolved resolve(const std::string& path) {
    Resolved result;
    std::string current = path;
    for (int hop = 0;; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno == ENOENT) {
                result.target = current;
            } else {
                result.error = errno;
            }
            return result;
        }
        if (!S_ISLNK(info.st_mode)) {
            result.target = current;
            return result;
        }
        if (underProc(realFolder(current))) {
            result.target = path;
            result.inPlace = true;
            return result;
        }
        if (hop >= maxLinkHops) {
            result.error = ELOOP;
            return result;
        }
        char buffer[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), buffer, sizeof buffer);
        if (length < 0 || static_cast<std::size_t>(length) >= sizeof buffer) {
            result.error = length < 0 ? errno : ENAMETOOLONG;
            return result;
        }
        const std::string link(buffer, static_cast<std::size_t>(length));
        current = link.starts_with('/') ? link : folderOf(current) + "/" + link;
    }
}

} // namespace

CarefulFile::CarefulFile(std::string path) : m_path(std::move(path)) {}

CarefulFile::~CarefulFile() {
    abandon();
}

CarefulFile::Result CarefulFile::fail(Status status, int error) {
    abandon();
    m_failure = {status, error};
    return m_failure;
}

void CarefulFile::abandon() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

CarefulFile::Result CarefulFile::open() {
    abandon();
    m_failure = {};
    if (m_path.empty()) {
        return fail(Status::CannotCreate, ENOENT);
    }
    const Resolved resolved = resolve(m_path);
    if (resolved.error != 0) {
        return fail(resolved.error == ELOOP ? Status::NotAFile : Status::CannotCreate,
                    resolved.error);
    }
    m_target = resolved.target;
    struct stat info {};
    m_existed = ::stat(m_target.c_str(), &info) == 0;
    if (!m_existed && errno != ENOENT) {
        return fail(Status::CannotCreate, errno);
    }
    if (m_existed && S_ISDIR(info.st_mode)) {
        return fail(Status::NotAFile, EISDIR);
    }
    if (resolved.inPlace || (m_existed && !S_ISREG(info.st_mode))) {
        // A device, a pipe or a descriptor of this process: there is nothing
        // to rename over, the bytes go straight in.
        m_fd = ::open(m_target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
        if (m_fd < 0) {
            return fail(errno == EACCES || errno == EPERM || errno == EROFS ? Status::NotWritable
                                                                            : Status::WriteFailed,
                        errno);
        }
        return m_failure;
    }
    if (m_existed) {
        // The plain write that this replaces would have failed on such a file.
        if (::faccessat(AT_FDCWD, m_target.c_str(), W_OK, AT_EACCESS) != 0) {
            return fail(Status::NotWritable, errno);
        }
        m_mode = static_cast<unsigned>(info.st_mode & 07777U);
        m_owner = static_cast<unsigned>(info.st_uid);
        m_group = static_cast<unsigned>(info.st_gid);
    } else {
        m_mode = 0666U & ~static_cast<unsigned>(currentUmask());
    }
    // Private until complete: the permission bits are set at the commit.
    const std::string stem = folderOf(m_target) + "/." + nameOf(m_target) + ".";
    for (int attempt = 0; attempt < maxNameTries; ++attempt) {
        std::string candidate = stem + uniqueSuffix() + ".tmp";
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            m_fd = fd;
            m_temporary = std::move(candidate);
            return m_failure;
        }
        if (errno != EEXIST) {
            return fail(errno == EACCES || errno == EPERM || errno == EROFS ? Status::NotWritable
                                                                            : Status::CannotCreate,
                        errno);
        }
    }
    return fail(Status::CannotCreate, EEXIST);
}

CarefulFile::Result CarefulFile::write(std::string_view bytes) {
    if (!m_failure.ok()) {
        return m_failure;
    }
    if (m_fd < 0) {
        return fail(Status::WriteFailed, EBADF);
    }
    int error = 0;
    if (!writeEvery(m_fd, bytes.data(), bytes.size(), error)) {
        return fail(Status::WriteFailed, error);
    }
    return m_failure;
}

CarefulFile::Result CarefulFile::commit() {
    if (!m_failure.ok()) {
        return m_failure;
    }
    if (m_fd < 0) {
        return fail(Status::WriteFailed, EBADF);
    }
    const int fd = std::exchange(m_fd, -1);
    if (m_temporary.empty()) {
        // Devices and pipes take no flush to a disk; anything else must.
        const bool flushed = ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
        const int flushError = errno;
        if (::close(fd) != 0 || !flushed) {
            return fail(Status::WriteFailed, flushed ? errno : flushError);
        }
        return m_failure;
    }
    if (m_existed) {
        // Only root, or a member of the group, may hand the file back to its
        // owner; anyone else's copy is theirs, as a plain write would not be.
        if (::fchown(fd, static_cast<uid_t>(m_owner), static_cast<gid_t>(m_group)) != 0 &&
            ::fchown(fd, static_cast<uid_t>(-1), static_cast<gid_t>(m_group)) != 0) {
            // Not the user's to give: the new file stays theirs.
        }
    }
    if (::fchmod(fd, static_cast<mode_t>(m_mode)) != 0 || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        return fail(Status::WriteFailed, error);
    }
    if (::close(fd) != 0) {
        return fail(Status::WriteFailed, errno);
    }
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        return fail(Status::WriteFailed, errno);
    }
    m_temporary.clear();
    removeLeftovers(m_target);
    // The rename itself reaches the disk with the folder; a folder that cannot
    // be flushed still holds the new file.
    const int folder = ::open(folderOf(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        (void)::fsync(folder);
        ::close(folder);
    }
    return m_failure;
}

CarefulFile::Result CarefulFile::writeAll(const std::string& path, std::string_view bytes) {
    CarefulFile file(path);
    if (const Result opened = file.open(); !opened.ok()) {
        return opened;
    }
    if (const Result written = file.write(bytes); !written.ok()) {
        return written;
    }
    return file.commit();
}

CarefulStreamBuf::CarefulStreamBuf(CarefulFile& file) : m_file(file), m_buffer(64 * 1024) {
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
}

CarefulStreamBuf::~CarefulStreamBuf() = default;

bool CarefulStreamBuf::drain() {
    const auto size = static_cast<std::size_t>(pptr() - pbase());
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    return size == 0 || m_file.write(std::string_view(m_buffer.data(), size)).ok();
}

CarefulStreamBuf::int_type CarefulStreamBuf::overflow(int_type c) {
    if (!drain()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int CarefulStreamBuf::sync() {
    return drain() ? 0 : -1;
}

} // namespace Ionaria::base
