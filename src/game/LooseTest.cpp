#include "game/LooseTest.h"

namespace game {

LooseTest::LooseTest(const Pieces& pieces)
{
    auto walk = pieces.fromBottom();
    while (TPuzzle* p = walk.Next())
        ++m_groupSizes[p->Group];
}

bool LooseTest::isLoose(const TPuzzle& piece) const
{
    auto it = m_groupSizes.find(piece.Group);
    return it == m_groupSizes.end() || it->second == 1;
}

} // namespace game
