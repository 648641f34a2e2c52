#include "puzzle/OutlineCache.h"

namespace puzzle {

bool OutlineCache::samePuzzle(const OutlineKey& a, const OutlineKey& b)
{
    return a.level == b.level && a.w == b.w && a.h == b.h && a.body == b.body
        && a.lastColumnTrim == b.lastColumnTrim && a.lastRowTrim == b.lastRowTrim;
}

int OutlineCache::sidesOf(const OutlineKey& key)
{
    return ((key.top * 3 + key.bottom) * 3 + key.left) * 3 + key.right;
}

const Outline& OutlineCache::outlineFor(const OutlineKey& key, const Builder& build)
{
    if (!m_hasPuzzle || !samePuzzle(key, m_puzzle)) {
        m_outlines.clear();
        m_puzzle = key;
        m_hasPuzzle = true;
    }
    const int sides = sidesOf(key);
    auto found = m_outlines.find(sides);
    if (found == m_outlines.end())
        found = m_outlines.emplace(sides, build()).first;
    return found->second;
}

} // namespace puzzle
