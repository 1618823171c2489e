// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace Ionaria::base {

// Conversions between the single-byte code page of the program's files and
// UTF-8, the encoding of every text inside the program.
std::string windows1252ToUtf8(std::string_view bytes);

// Characters without a Windows-1252 code become '?'; malformed UTF-8 bytes too.
std::string utf8ToWindows1252(std::string_view text);

} // namespace Ionaria::base
