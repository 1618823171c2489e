// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace Ionaria::base {

// The base-10 logarithm of x, correctly rounded but for cases closer to a
// tie than about 2^-100 relative, computed from additions, subtractions,
// products, quotients and frexp alone, so that every C library and compiler
// gives the same bits (the C libraries' log10 differ in the last digit).
// At 0 -inf, below 0 NaN, inf and NaN themselves, as std::log10.
double decimalLogarithm(double x);

} // namespace Ionaria::base
