// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Windows1252.h"

#include <array>
#include <cstdint>
#include <optional>

namespace Ionaria::base {

namespace {

// Code points of bytes 0x80 to 0x9F; 0 marks the five unassigned bytes.
constexpr std::array<char32_t, 32> high = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::optional<char> encode(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<char>(static_cast<unsigned char>(cp));
    }
    for (std::size_t i = 0; i < high.size(); ++i) {
        if (high[i] != 0 && high[i] == cp) {
            return static_cast<char>(static_cast<unsigned char>(0x80 + i));
        }
    }
    return std::nullopt;
}

// Decodes text character by character; each character is handed to put with
// its code point, or with nothing when its bytes are not UTF-8. Stops at the
// first false.
template <typename Put> void eachCodePoint(std::string_view text, Put put) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t cp = 0;
        if (b < 0x80) {
            length = 1;
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            length = 2;
            cp = b & 0x1FU;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3;
            cp = b & 0x0FU;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4;
            cp = b & 0x07U;
        }
        bool valid = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto cont = static_cast<unsigned char>(text[i + k]);
            valid = (cont & 0xC0) == 0x80;
            cp = (cp << 6) | (cont & 0x3FU);
        }
        if (!put(valid ? std::optional<char32_t>(cp) : std::nullopt)) {
            return;
        }
        i += valid ? length : 1;
    }
}

// The byte of a code point, a C1 control standing for the unassigned byte of
// the same value.
std::optional<char> byteOf(char32_t cp) {
    if (cp >= 0x80 && cp < 0xA0) {
        return static_cast<char>(static_cast<unsigned char>(cp));
    }
    return encode(cp);
}

} // namespace

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b < 0xA0) {
            const char32_t cp = high[b - 0x80U];
            // An unassigned byte keeps its C1 control code point.
            appendUtf8(out, cp != 0 ? cp : static_cast<char32_t>(b));
        } else {
            appendUtf8(out, b);
        }
    }
    return out;
}

std::string utf8ToWindows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    eachCodePoint(text, [&out](std::optional<char32_t> cp) {
        const auto byte = cp ? byteOf(*cp) : std::nullopt;
        out.push_back(byte.value_or('?'));
        return true;
    });
    return out;
}

std::optional<std::string> utf8ToWindows1252Exactly(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool exact = true;
    eachCodePoint(text, [&out, &exact](std::optional<char32_t> cp) {
        const auto byte = cp ? byteOf(*cp) : std::nullopt;
        exact = byte.has_value();
        if (exact) {
            out.push_back(*byte);
        }
        return exact;
    });
    if (!exact) {
        return std::nullopt;
    }
    return out;
}

} // namespace Ionaria::base
