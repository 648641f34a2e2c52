#include "game/Random.h"

namespace game {

void Random::Seed(std::uint32_t seed)
{
    // splitmix64 of the seed, so that neighbouring seeds start far apart
    std::uint64_t z = seed + 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    m_state = z ^ (z >> 31);
}

std::int32_t Random::Next()
{
    // PCG-XSH-RR: a small generator with good low bits, which the parity draws use.
    std::uint64_t old = m_state;
    m_state = old * 6364136223846793005ULL + 1442695040888963407ULL;
    std::uint32_t xorshifted = std::uint32_t(((old >> 18u) ^ old) >> 27u);
    std::uint32_t rot = std::uint32_t(old >> 59u);
    std::uint32_t r = (xorshifted >> rot) | (xorshifted << ((32 - rot) & 31));
    return std::int32_t(r >> 1);
}

std::int32_t Random::RandomBelow(std::int32_t bound)
{
    if (bound == 0)
        return 0;
    return Next() % bound;
}

} // namespace game
