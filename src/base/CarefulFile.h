// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace Ionaria::base {

// Writes a file so that a failure never costs the file it replaces, and is
// never taken for a success. The bytes go into a new file in the same folder;
// every write is checked, the new file is flushed to the disk and only then
// renamed over the old one, which until that moment stays as it was, byte for
// byte.
//
// The file replaced keeps its permission bits (and its owner where the user
// may set it); a symbolic link is followed and the file it leads to is
// replaced, the link staying a link. A file the user may not write is not
// replaced. A device or a pipe (/dev/null, /dev/stdout) is written in place,
// every write still checked.
//
// A save that succeeds removes the new files of the same target that saves
// killed before their end left behind: named as this class names them, the
// user's own, older than a minute. Nothing else is ever removed.
class CarefulFile {
public:
    enum class Status {
        Ok,
        NotWritable,  // the file exists and the user may not write it
        NotAFile,     // a folder, or a chain of links that never ends
        CannotCreate, // the folder takes no new file
        WriteFailed,  // a write, the flush to the disk or the rename failed
    };

    struct Result {
        Status status = Status::Ok;
        int error = 0; // errno of the call that failed
        bool ok() const { return status == Status::Ok; }
    };

    explicit CarefulFile(std::string path);
    // Abandons a file that was not committed: the new file is removed and the
    // old one left as it was.
    ~CarefulFile();
    CarefulFile(const CarefulFile&) = delete;
    CarefulFile& operator=(const CarefulFile&) = delete;

    // Checks the file to replace and creates the new one beside it.
    Result open();
    // Appends bytes. After a failure every later call returns that failure.
    Result write(std::string_view bytes);
    // Flushes everything to the disk and puts the new file in place of the old.
    Result commit();
    void abandon();

    // The path given, and the file really written once open() succeeded (the
    // end of the links).
    const std::string& path() const { return m_path; }
    const std::string& target() const { return m_target; }

    // open(), write() and commit() in one.
    static Result writeAll(const std::string& path, std::string_view bytes);

private:
    Result fail(Status status, int error);

    std::string m_path;
    std::string m_target;
    std::string m_temporary; // empty when writing in place
    int m_fd = -1;
    bool m_existed = false;
    unsigned m_mode = 0;
    unsigned m_owner = 0;
    unsigned m_group = 0;
    Result m_failure;
};

// A stream over a CarefulFile, for text written piece by piece: a failed
// write sets the stream's badbit. The caller still commits the file.
class CarefulStreamBuf : public std::streambuf {
public:
    explicit CarefulStreamBuf(CarefulFile& file);
    ~CarefulStreamBuf() override;
    CarefulStreamBuf(const CarefulStreamBuf&) = delete;
    CarefulStreamBuf& operator=(const CarefulStreamBuf&) = delete;

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool drain();

    CarefulFile& m_file;
    std::vector<char> m_buffer;
};

} // namespace Ionaria::base
