// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace Ionaria::base {

// Files of fixed 128-byte records; record n (from 1) starts at byte
// (n - 1) x 128 and holds one text: a 16-bit little-endian length, then that
// many Windows-1252 bytes. Texts go in and out as UTF-8.
class RecordFile {
public:
    static constexpr std::size_t recordSize = 128;
    static constexpr std::size_t maxTextBytes = recordSize - 2;

    enum class Status { Ok, CannotOpen, ReadError, BadRecord, TooLong, WriteError };

    struct Text {
        Status status = Status::Ok;
        std::string value;
    };

    // Reads record n of an open file. A record that lies wholly beyond the end
    // of the file reads as an empty text. A length over 126, or one that
    // reaches past the end of the file, is a bad record.
    static Text readRecord(std::istream& in, std::int64_t fileSize, int record);

    // Reads records 1 to count of the file at path, all or nothing.
    struct Records {
        Status status = Status::Ok;
        std::vector<std::string> values;
    };
    static Records readAll(const std::string& path, int count);

    // Encodes one text as a full record, padded with zeros; nothing if the
    // encoded text is longer than 126 bytes.
    static std::optional<std::string> encodeRecord(const std::string& text);

    // Writes records 1 to n of the vector into the file at path through a
    // CarefulFile: a failure leaves the old file whole.
    static Status writeAll(const std::string& path, const std::vector<std::string>& values);

    // Reads or replaces one record of a file that may hold others (the
    // temporary file shared with other programs), in place. The file is
    // created, and grown with empty records, as needed; a write that fails
    // while growing it leaves it at its old size.
    static Text readOne(const std::string& path, int record);
    static Status writeOne(const std::string& path, int record, const std::string& text);
    // The same on a file already open, for reading or for update.
    static Text readOneAt(int fd, int record);
    static Status writeOneAt(int fd, int record, const std::string& text);
};

} // namespace Ionaria::base
