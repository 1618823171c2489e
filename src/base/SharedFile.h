// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace Ionaria::base {

// A small file other programs also read and write, opened in place. Opening
// never waits (a named pipe left where the file should be would otherwise
// hold the program before its window shows) and takes only a regular file;
// a symbolic link is refused when asked, so that nothing is ever written
// through it into the file it leads to.
class SharedFile {
public:
    enum class Access { Read, Update, UpdateOrCreate };
    enum class Links { Refuse, Follow };
    enum class Refusal {
        None,
        Missing,      // no such file (and not created)
        SymbolicLink, // a link, refused
        NotAFile,     // a folder, a pipe, a device or a socket
        Denied,       // the user may not open it so
        Failed,       // any other error of the system
    };

    SharedFile(const std::string& path, Access access, Links links);
    ~SharedFile();
    SharedFile(const SharedFile&) = delete;
    SharedFile& operator=(const SharedFile&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    Refusal refusal() const { return m_refusal; }
    // The modification time of the file when it was opened, ns since the epoch.
    long long modifiedNs() const { return m_modifiedNs; }
    // Closes the file; false when the system reports an error of a write.
    bool close();

    // What lies at path without following a link, told as a refusal would be:
    // None for a regular file.
    static Refusal kindAt(const std::string& path, Links links);

private:
    int m_fd = -1;
    Refusal m_refusal = Refusal::None;
    long long m_modifiedNs = 0;
};

} // namespace Ionaria::base
