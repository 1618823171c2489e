#pragma once

#include <cstdint>

namespace Ionaria::base {

// Uniform draws in [0, 1) from a 24-bit linear congruential generator with a
// fixed seed, so that every run of the program draws the same sequence.
class Random {
public:
    Random() = default;

    double next();
    void reseed();

private:
    static constexpr std::uint32_t initialSeed = 0x50000;
    std::uint32_t m_state = initialSeed;
};

} // namespace Ionaria::base
