#include "game/Pieces.h"

namespace game {

Pieces::List::iterator Pieces::find(const TPuzzle& piece)
{
    for (auto it = m_list.begin(); it != m_list.end(); ++it)
        if ((*it)->sameAs(piece))
            return it;
    return m_list.end();
}

std::unique_ptr<TPuzzle> Pieces::Detach(const TPuzzle& piece)
{
    auto it = find(piece);
    if (it == m_list.end())
        return nullptr;
    std::unique_ptr<TPuzzle> owned = std::move(*it);
    m_list.erase(it);
    return owned;
}

void Pieces::MoveToHead(const TPuzzle& piece)
{
    auto it = find(piece);
    if (it != m_list.end())
        m_list.splice(m_list.begin(), m_list, it);
}

void Pieces::MoveToTail(const TPuzzle& piece)
{
    auto it = find(piece);
    if (it != m_list.end())
        m_list.splice(m_list.end(), m_list, it);
}

void Pieces::Flush()
{
    while (!m_list.empty())
        m_list.pop_front();
}

Pieces::ForwardWalk::ForwardWalk(const Pieces& pieces)
    : m_list(pieces.m_list)
    , m_next(m_list.begin())
{
}

TPuzzle* Pieces::ForwardWalk::Next()
{
    if (m_next == m_list.end())
        return nullptr;
    TPuzzle* piece = m_next->get();
    ++m_next;
    return piece;
}

Pieces::BackwardWalk::BackwardWalk(const Pieces& pieces)
    : m_list(pieces.m_list)
    , m_next(m_list.empty() ? m_list.end() : std::prev(m_list.end()))
    , m_done(m_list.empty())
{
}

TPuzzle* Pieces::BackwardWalk::Next()
{
    if (m_done)
        return nullptr;
    TPuzzle* piece = m_next->get();
    if (m_next == m_list.begin())
        m_done = true;
    else
        --m_next;
    return piece;
}

} // namespace game
