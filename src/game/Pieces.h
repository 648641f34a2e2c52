#pragma once
#include "puzzle/TPuzzle.h"
#include <cstdint>
#include <list>
#include <memory>
#include <unordered_map>

namespace game {

using puzzle::TPuzzle;

// Every piece of the puzzle in z-order: the head is the bottom-most piece (drawn first), the
// tail the top-most (hit first). The list owns its pieces.
//
// Walks hold a cursor on the entry to visit next and move it on before handing out the piece,
// so the visited piece may be moved to either end while the walk goes on. A std::list keeps
// every other entry where it is when one is moved, which gives the walk rules directly: in a
// forward walk a piece moved to the tail is met again unless it was the last entry; in a
// backward walk a piece moved to the tail is not met again.
//
// Pieces are found by their home position, through an index, so that finding one takes the same
// time however long the list is. A piece's home position must not change while it is listed.
class Pieces {
    using List = std::list<std::unique_ptr<TPuzzle>>;

public:
    // Room in the index for n pieces, so that adding them does not grow it step by step.
    void Reserve(std::size_t n) { m_homes.reserve(n); }
    void AddAtHead(std::unique_ptr<TPuzzle> piece);
    void AddAtTail(std::unique_ptr<TPuzzle> piece);
    // Removes the first entry from the head equal to piece (same home position) and hands it
    // back; nullptr when there is none.
    std::unique_ptr<TPuzzle> Detach(const TPuzzle& piece);
    // Detach followed by AddAtHead or AddAtTail, without reallocating the entry.
    void MoveToHead(const TPuzzle& piece);
    void MoveToTail(const TPuzzle& piece);
    // Deletes every piece, head first.
    void Flush();

    bool empty() const { return m_list.empty(); }
    std::size_t size() const { return m_list.size(); }
    TPuzzle* head() const { return m_list.empty() ? nullptr : m_list.front().get(); }
    TPuzzle* tail() const { return m_list.empty() ? nullptr : m_list.back().get(); }

    class ForwardWalk {
    public:
        explicit ForwardWalk(const Pieces& pieces);
        TPuzzle* Next(); // nullptr once the cursor has passed the tail
    private:
        const List& m_list;
        List::const_iterator m_next;
    };

    class BackwardWalk {
    public:
        explicit BackwardWalk(const Pieces& pieces);
        TPuzzle* Next(); // nullptr once the cursor has passed the head
    private:
        const List& m_list;
        List::const_iterator m_next;
        bool m_done;
    };

    ForwardWalk fromBottom() const { return ForwardWalk(*this); }
    BackwardWalk fromTop() const { return BackwardWalk(*this); }

private:
    // Where the entries of one home position are: the entry itself while it is the only one;
    // with more, the list is searched from the head.
    struct Home {
        List::iterator entry;
        int count = 0;
    };
    static std::uint64_t homeKey(const TPuzzle& piece);
    void indexAdded(List::iterator entry);
    void indexRemoved(const TPuzzle& piece);
    List::iterator search(const TPuzzle& piece);
    List::iterator find(const TPuzzle& piece);

    List m_list;
    std::unordered_map<std::uint64_t, Home> m_homes;
};

} // namespace game
