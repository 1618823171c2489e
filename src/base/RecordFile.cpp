#include "base/RecordFile.h"

#include "base/Windows1252.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

namespace Ionaria::base {

namespace fs = std::filesystem;

namespace {

std::int64_t sizeOf(const std::string& path) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    return ec ? -1 : static_cast<std::int64_t>(size);
}

} // namespace

RecordFile::Text RecordFile::readRecord(std::istream& in, std::int64_t fileSize, int record) {
    Text result;
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
    in.clear();
    in.seekg(start);
    const std::int64_t available = std::min<std::int64_t>(fileSize - start, recordSize);
    in.read(bytes.data(), available);
    if (!in || in.gcount() != available) {
        result.status = Status::ReadError;
        return result;
    }
    const auto length = static_cast<std::size_t>(static_cast<unsigned char>(bytes[0])) |
                        (static_cast<std::size_t>(static_cast<unsigned char>(bytes[1])) << 8U);
    if (length > maxTextBytes || static_cast<std::int64_t>(length) + 2 > available) {
        result.status = Status::BadRecord;
        return result;
    }
    result.value = windows1252ToUtf8(std::string_view(bytes.data() + 2, length));
    return result;
}

RecordFile::Records RecordFile::readAll(const std::string& path, int count) {
    Records result;
    std::ifstream in(path, std::ios::binary);
    const std::int64_t size = sizeOf(path);
    if (!in || size < 0) {
        result.status = Status::CannotOpen;
        return result;
    }
    result.values.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (int n = 1; n <= count; ++n) {
        Text text = readRecord(in, size, n);
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
    const std::string temporary = path + ".~enr";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            return Status::WriteError;
        }
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ec;
            fs::remove(temporary, ec);
            return Status::WriteError;
        }
    }
    std::error_code ec;
    fs::rename(temporary, path, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return Status::WriteError;
    }
    return Status::Ok;
}

RecordFile::Text RecordFile::readOne(const std::string& path, int record) {
    Text result;
    std::ifstream in(path, std::ios::binary);
    const std::int64_t size = sizeOf(path);
    if (!in || size < 0) {
        result.status = Status::CannotOpen;
        return result;
    }
    return readRecord(in, size, record);
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
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        std::ofstream create(path, std::ios::binary);
        if (!create) {
            return Status::CannotOpen;
        }
    }
    std::fstream io(path, std::ios::binary | std::ios::in | std::ios::out);
    if (!io) {
        return Status::CannotOpen;
    }
    const std::int64_t size = sizeOf(path);
    const std::int64_t start = static_cast<std::int64_t>(record - 1) * std::int64_t{recordSize};
    if (size < start) {
        io.seekp(size < 0 ? 0 : size);
        const std::string padding(static_cast<std::size_t>(start - (size < 0 ? 0 : size)), '\0');
        io.write(padding.data(), static_cast<std::streamsize>(padding.size()));
    }
    io.seekp(start);
    io.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
    io.flush();
    return io ? Status::Ok : Status::WriteError;
}

} // namespace Ionaria::base
