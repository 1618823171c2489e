// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace Ionaria::base {

// Uniform draws in [0, 1) from a 24-bit linear congruential generator with a
// fixed seed, so that every run of the program draws the same sequence.
class Random {
public:
    Random() = default;

    double next();
    // Skips n draws, as n calls of next() would, in a time that grows with
    // the logarithm of n.
    void discard(std::uint64_t n);
    void reseed();

    friend bool operator==(const Random&, const Random&) = default;

private:
    static constexpr std::uint32_t initialSeed = 0x50000;
    std::uint32_t m_state = initialSeed;
};

} // namespace Ionaria::base
