#pragma once
#include "game/Pieces.h"
#include <unordered_map>

namespace game {

// Answers "is this piece alone in its group?" for every piece of a list at once. The
// arrangements never change groups, so the counts taken before a walk stay true during it.
class LooseTest {
public:
    explicit LooseTest(const Pieces& pieces);
    bool isLoose(const TPuzzle& piece) const;

private:
    std::unordered_map<std::int16_t, int> m_groupSizes;
};

} // namespace game
