#pragma once
#include <cstdint>

namespace game {

// The game's one pseudo-random generator: every draw is an integer from 0 to 2147483647.
// The order of draws is part of the game: the same seed gives the same puzzle.
class Random {
public:
    explicit Random(std::uint32_t seed = 1) { Seed(seed); }
    void Seed(std::uint32_t seed);
    std::int32_t Next();

    // 0 without drawing when bound is 0; otherwise the remainder of a draw by bound
    // (never negative: for a negative bound it lies in 0 .. -bound - 1).
    std::int32_t RandomBelow(std::int32_t bound);

private:
    std::uint64_t m_state = 0;
};

} // namespace game
