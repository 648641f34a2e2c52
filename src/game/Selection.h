#pragma once
#include "puzzle/TPuzzle.h"
#include <vector>

namespace game {

using puzzle::TPuzzle;

// The pieces of the held group. Owns none of them. Pieces are added at the front and walks
// start at the front, so a walk meets them in the reverse order of their addition.
class Selection {
public:
    Selection() { m_reversed.reserve(64); }
    void AddAtHead(TPuzzle* piece) { m_reversed.push_back(piece); }
    void Flush() { m_reversed.clear(); }
    bool empty() const { return m_reversed.empty(); }
    std::size_t size() const { return m_reversed.size(); }
    TPuzzle* front() const { return m_reversed.empty() ? nullptr : m_reversed.back(); }

    // Range-for over the pieces from the front.
    auto begin() const { return m_reversed.rbegin(); }
    auto end() const { return m_reversed.rend(); }

private:
    std::vector<TPuzzle*> m_reversed; // the front is the last element
};

} // namespace game
