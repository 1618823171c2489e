// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Random.h"

namespace Ionaria::base {

namespace {

constexpr std::uint32_t multiplier = 1140671485U;
constexpr std::uint32_t increment = 12820163U;
constexpr std::uint32_t mask = (1U << 24) - 1U;

} // namespace

double Random::next() {
    m_state = (m_state * multiplier + increment) & mask;
    return static_cast<double>(m_state) / static_cast<double>(1U << 24);
}

void Random::discard(std::uint64_t n) {
    // A draw is the affine map s -> a s + c modulo 2^24; n draws are that
    // map composed n times, built from its powers of two.
    std::uint32_t a = multiplier & mask;
    std::uint32_t c = increment;
    while (n > 0) {
        if ((n & 1U) != 0) {
            m_state = (a * m_state + c) & mask;
        }
        c = (a * c + c) & mask;
        a = (a * a) & mask;
        n >>= 1U;
    }
}

void Random::reseed() {
    m_state = initialSeed;
}

} // namespace Ionaria::base
