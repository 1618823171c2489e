// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Ionaria::base {

// Conversions between the single-byte code page of the program's files and
// UTF-8, the encoding of every text inside the program.
std::string windows1252ToUtf8(std::string_view bytes);

// Characters without a Windows-1252 code become '?'; malformed UTF-8 bytes too.
std::string utf8ToWindows1252(std::string_view text);

// The same, for texts that must come back as they were written: nothing when
// a character has no Windows-1252 code or the UTF-8 is malformed.
std::optional<std::string> utf8ToWindows1252Exactly(std::string_view text);

} // namespace Ionaria::base
