// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Numbers.h"

#include <string>
#include <string_view>

namespace Ionaria::base {

// writeFloat and readFloat for a standard library without the floating
// std::to_chars and std::from_chars (the WebAssembly build's), through the C
// library's own conversions. Only correct where those conversions ignore the
// locale: Numbers.cpp uses them only where the build found the floating
// conversions missing, and the desktop test compares them with std::to_chars
// in the "C" locale.
std::string fallbackWriteFloat(double value, FloatForm form, int precision);
FloatRead fallbackReadFloat(std::string_view text);

} // namespace Ionaria::base
