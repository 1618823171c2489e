// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/RecordFile.h"

#include "base/CarefulFile.h"
#include "base/SharedFile.h"
#include "base/Windows1252.h"

#include <algorithm>
#include <array>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Ionaria::base {

namespace {

// Record number `record` of a file of fileSize bytes, its bytes fetched by
// readAt(destination, start, count), which says whether all of them came:
// one decoding whether the file is a stream or a descriptor.
template <typename ReadAt>
RecordFile::Text readRecordWith(std::int64_t fileSize, int record, ReadAt readAt) {
    using Status = RecordFile::Status;
    constexpr auto recordSize = RecordFile::recordSize;
    RecordFile::Text result;
    if (record < 1) {
        result.status = Status::BadRecord;
        return result;
    }
    const std::int64_t start = static_cast<std::int64_t>(record - 1) * std::int64_t{recordSize};
    if (start >= fileSize) {
        return result;
    }
    if (start + 2 > fileSize) {
        result.status = Status::BadRecord;
        return result;
    }
    std::array<char, recordSize> bytes{};
    const std::int64_t available = std::min<std::int64_t>(fileSize - start, recordSize);
    if (!readAt(bytes.data(), start, available)) {
        result.status = Status::ReadError;
        return result;
    }
    const auto length = static_cast<std::size_t>(static_cast<unsigned char>(bytes[0])) |
                        (static_cast<std::size_t>(static_cast<unsigned char>(bytes[1])) << 8U);
    if (length > RecordFile::maxTextBytes || static_cast<std::int64_t>(length) + 2 > available) {
        result.status = Status::BadRecord;
        return result;
    }
    result.value = windows1252ToUtf8(std::string_view(bytes.data() + 2, length));
    return result;
}

} // namespace

RecordFile::Text RecordFile::readRecord(std::istream& in, std::int64_t fileSize, int record) {
    return readRecordWith(fileSize, record,
                          [&in](char* destination, std::int64_t start, std::int64_t count) {
                              in.clear();
                              in.seekg(start);
                              in.read(destination, static_cast<std::streamsize>(count));
                              return in && in.gcount() == count;
                          });
}

RecordFile::Records RecordFile::readAll(const std::string& path, int count) {
    Records result;
    // Never held by a pipe or a device named as a file: only a regular file opens.
    const SharedFile file(path, SharedFile::Access::Read, SharedFile::Links::Follow);
    if (!file.isOpen()) {
        result.status = Status::CannotOpen;
        return result;
    }
    result.values.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (int n = 1; n <= count; ++n) {
        Text text = readOneAt(file.fd(), n);
        if (text.status != Status::Ok) {
            result.status = text.status;
            result.values.clear();
            return result;
        }
        result.values.push_back(std::move(text.value));
    }
    return result;
}

std::optional<std::string> RecordFile::encodeRecord(const std::string& text) {
    const std::string bytes = utf8ToWindows1252(text);
    if (bytes.size() > maxTextBytes) {
        return std::nullopt;
    }
    std::string record(recordSize, '\0');
    record[0] = static_cast<char>(bytes.size() & 0xFFU);
    record[1] = static_cast<char>((bytes.size() >> 8U) & 0xFFU);
    record.replace(2, bytes.size(), bytes);
    return record;
}

RecordFile::Status RecordFile::writeAll(const std::string& path,
                                        const std::vector<std::string>& values) {
    std::string content;
    content.reserve(values.size() * recordSize);
    for (const auto& value : values) {
        const auto record = encodeRecord(value);
        if (!record) {
            return Status::TooLong;
        }
        content += *record;
    }
    return CarefulFile::writeAll(path, content).ok() ? Status::Ok : Status::WriteError;
}

RecordFile::Text RecordFile::readOne(const std::string& path, int record) {
    const SharedFile file(path, SharedFile::Access::Read, SharedFile::Links::Follow);
    if (!file.isOpen()) {
        Text result;
        result.status = Status::CannotOpen;
        return result;
    }
    return readOneAt(file.fd(), record);
}

RecordFile::Text RecordFile::readOneAt(int fd, int record) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        Text result;
        result.status = Status::ReadError;
        return result;
    }
    return readRecordWith(
        info.st_size, record, [fd](char* destination, std::int64_t start, std::int64_t count) {
            std::int64_t done = 0;
            while (done < count) {
                const ssize_t got =
                    ::pread(fd, destination + done, static_cast<std::size_t>(count - done),
                            static_cast<off_t>(start + done));
                if (got < 0 && errno == EINTR) {
                    continue;
                }
                if (got <= 0) {
                    return false;
                }
                done += got;
            }
            return true;
        });
}

RecordFile::Status RecordFile::writeOne(const std::string& path, int record,
                                        const std::string& text) {
    if (record < 1) {
        return Status::BadRecord;
    }
    const auto bytes = encodeRecord(text);
    if (!bytes) {
        return Status::TooLong;
    }
    // In place, not through a new file: the other program may hold this one
    // open, and must see the record change in the file it has.
    SharedFile file(path, SharedFile::Access::UpdateOrCreate, SharedFile::Links::Follow);
    if (!file.isOpen()) {
        return Status::CannotOpen;
    }
    const Status written = writeOneAt(file.fd(), record, text);
    return file.close() || written != Status::Ok ? written : Status::WriteError;
}

RecordFile::Status RecordFile::writeOneAt(int fd, int record, const std::string& text) {
    if (record < 1) {
        return Status::BadRecord;
    }
    const auto bytes = encodeRecord(text);
    if (!bytes) {
        return Status::TooLong;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return Status::CannotOpen;
    }
    const off_t oldSize = info.st_size;
    const off_t start = static_cast<off_t>(record - 1) * static_cast<off_t>(recordSize);
    const off_t end = start + static_cast<off_t>(recordSize);
    const bool grows = end > oldSize;
    // The room for a new record is taken before anything is written, so that
    // a full disk leaves the file as it was rather than half grown; the
    // records between are empty, as zeros read.
    bool ok = !grows || ::posix_fallocate(fd, oldSize, end - oldSize) == 0;
    std::size_t done = 0;
    while (ok && done < bytes->size()) {
        const ssize_t written = ::pwrite(fd, bytes->data() + done, bytes->size() - done,
                                         start + static_cast<off_t>(done));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        ok = written > 0;
        done += ok ? static_cast<std::size_t>(written) : 0U;
    }
    if (ok && grows) {
        ok = ::fdatasync(fd) == 0;
    }
    if (!ok && grows && ::ftruncate(fd, oldSize) != 0) {
        // The file keeps the records it grew by; zeros read as empty texts.
    }
    return ok ? Status::Ok : Status::WriteError;
}

} // namespace Ionaria::base
