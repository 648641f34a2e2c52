#include "game/Pieces.h"

namespace game {

std::uint64_t Pieces::homeKey(const TPuzzle& piece)
{
    return std::uint64_t(std::uint32_t(piece.HomeX)) << 32 | std::uint32_t(piece.HomeY);
}

void Pieces::indexAdded(List::iterator entry)
{
    Home& home = m_homes[homeKey(**entry)];
    if (++home.count == 1)
        home.entry = entry;
}

void Pieces::indexRemoved(const TPuzzle& piece)
{
    auto found = m_homes.find(homeKey(piece));
    if (found == m_homes.end())
        return;
    Home& home = found->second;
    if (--home.count == 0)
        m_homes.erase(found);
    else if (home.count == 1)
        home.entry = search(piece); // the one left
}

void Pieces::AddAtHead(std::unique_ptr<TPuzzle> piece)
{
    m_list.push_front(std::move(piece));
    indexAdded(m_list.begin());
}

void Pieces::AddAtTail(std::unique_ptr<TPuzzle> piece)
{
    m_list.push_back(std::move(piece));
    indexAdded(std::prev(m_list.end()));
}

Pieces::List::iterator Pieces::search(const TPuzzle& piece)
{
    for (auto it = m_list.begin(); it != m_list.end(); ++it)
        if ((*it)->sameAs(piece))
            return it;
    return m_list.end();
}

// The first entry from the head with the piece's home position.
Pieces::List::iterator Pieces::find(const TPuzzle& piece)
{
    auto found = m_homes.find(homeKey(piece));
    if (found == m_homes.end())
        return m_list.end();
    return found->second.count == 1 ? found->second.entry : search(piece);
}

std::unique_ptr<TPuzzle> Pieces::Detach(const TPuzzle& piece)
{
    auto it = find(piece);
    if (it == m_list.end())
        return nullptr;
    std::unique_ptr<TPuzzle> owned = std::move(*it);
    m_list.erase(it);
    indexRemoved(*owned);
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
    m_homes.clear();
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
