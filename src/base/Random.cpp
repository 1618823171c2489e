#include "base/Random.h"

namespace Ionaria::base {

double Random::next() {
    constexpr std::uint32_t multiplier = 1140671485U;
    constexpr std::uint32_t increment = 12820163U;
    constexpr std::uint32_t mask = (1U << 24) - 1U;
    m_state = (m_state * multiplier + increment) & mask;
    return static_cast<double>(m_state) / static_cast<double>(1U << 24);
}

void Random::reseed() {
    m_state = initialSeed;
}

} // namespace Ionaria::base
