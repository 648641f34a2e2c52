#include "game/Pieces.h"
#include "game/Random.h"
#include "game/Selection.h"
#include <gtest/gtest.h>
#include <vector>

using game::Pieces;
using game::TPuzzle;

namespace {

// A list of n pieces told apart by HomeX = 0, 1, 2, ... from head to tail.
Pieces makeList(int n)
{
    Pieces list;
    for (int i = n - 1; i >= 0; --i) {
        auto p = std::make_unique<TPuzzle>(0, 0, 48, 48);
        p->HomeX = i;
        list.AddAtHead(std::move(p));
    }
    return list;
}

std::vector<int> order(const Pieces& list)
{
    std::vector<int> ids;
    auto walk = list.fromBottom();
    while (TPuzzle* p = walk.Next())
        ids.push_back(p->HomeX);
    return ids;
}

enum class Move { None, ToHead, ToTail };

// Walks the list, moving the piece with HomeX == target when it is visited, and returns the
// HomeX of every visit.
std::vector<int> walkMoving(Pieces& list, bool forward, int target, Move move)
{
    std::vector<int> visits;
    auto visit = [&](TPuzzle* p) {
        visits.push_back(p->HomeX);
        if (p->HomeX == target && move == Move::ToHead)
            list.MoveToHead(*p);
        if (p->HomeX == target && move == Move::ToTail)
            list.MoveToTail(*p);
        return visits.size() < 20;
    };
    if (forward) {
        auto walk = list.fromBottom();
        while (TPuzzle* p = walk.Next())
            if (!visit(p))
                break;
    } else {
        auto walk = list.fromTop();
        while (TPuzzle* p = walk.Next())
            if (!visit(p))
                break;
    }
    return visits;
}

} // namespace

TEST(PiecesTest, AddDetachAndOrder)
{
    Pieces list = makeList(3);
    EXPECT_EQ(order(list), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(list.head()->HomeX, 0);
    EXPECT_EQ(list.tail()->HomeX, 2);

    TPuzzle stranger(0, 0, 48, 48);
    stranger.HomeX = 99;
    EXPECT_EQ(list.Detach(stranger), nullptr);
    EXPECT_EQ(order(list), (std::vector<int>{0, 1, 2}));

    // Detach finds a piece by its home position, not by its address.
    TPuzzle twin(5, 5, 48, 48);
    twin.HomeX = 1;
    auto detached = list.Detach(twin);
    ASSERT_NE(detached, nullptr);
    EXPECT_NE(detached.get(), &twin);
    EXPECT_EQ(order(list), (std::vector<int>{0, 2}));
    list.AddAtTail(std::move(detached));
    EXPECT_EQ(order(list), (std::vector<int>{0, 2, 1}));

    list.Flush();
    EXPECT_TRUE(list.empty());
}

// Two entries with one home position: every lookup takes the first from the head, also after
// moves and after one of them leaves.
TEST(PiecesTest, SharedHomePositionsFindTheFirstFromTheHead)
{
    Pieces list;
    for (int bounds : {30, 20, 10}) {
        auto p = std::make_unique<TPuzzle>(bounds, 0, 48, 48);
        p->HomeX = bounds == 20 ? 2 : 1; // head to tail: 10 (home 1), 20 (home 2), 30 (home 1)
        list.AddAtHead(std::move(p));
    }
    auto lefts = [&list] {
        std::vector<int> v;
        auto walk = list.fromBottom();
        while (TPuzzle* p = walk.Next())
            v.push_back(p->Bounds.left);
        return v;
    };
    TPuzzle key(0, 0, 48, 48);
    key.HomeX = 1;

    list.MoveToTail(key);
    EXPECT_EQ(lefts(), (std::vector<int>{20, 30, 10}));
    list.MoveToHead(key); // now the entry at 30 is the first from the head
    EXPECT_EQ(lefts(), (std::vector<int>{30, 20, 10}));

    auto first = list.Detach(key);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Bounds.left, 30);
    list.MoveToHead(key); // the one left is found on its own
    EXPECT_EQ(lefts(), (std::vector<int>{10, 20}));
    EXPECT_EQ(list.Detach(key)->Bounds.left, 10);
    EXPECT_EQ(list.Detach(key), nullptr);
    EXPECT_EQ(lefts(), (std::vector<int>{20}));
}

// The cursor moves on before the visited piece is handed out, so moving that piece to either
// end never derails the walk; where it lands decides whether it is met again.
TEST(PiecesTest, WalkRulesWhenTheVisitedPieceMoves)
{
    struct Case {
        const char* name;
        bool forward;
        int target;
        Move move;
        std::vector<int> visits;
        std::vector<int> after;
    };
    const Case cases[] = {
        {"forward, middle to tail: met again", true, 1, Move::ToTail, {0, 1, 2, 3, 1}, {0, 2, 3, 1}},
        {"forward, last to tail: not met again", true, 3, Move::ToTail, {0, 1, 2, 3}, {0, 1, 2, 3}},
        {"forward, middle to head: not met again", true, 2, Move::ToHead, {0, 1, 2, 3}, {2, 0, 1, 3}},
        {"backward, middle to tail: not met again", false, 1, Move::ToTail, {3, 2, 1, 0}, {0, 2, 3, 1}},
        {"backward, middle to head: met again", false, 2, Move::ToHead, {3, 2, 1, 0, 2}, {2, 0, 1, 3}},
        {"backward, top to tail: walk goes on below", false, 3, Move::ToTail, {3, 2, 1, 0}, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        Pieces list = makeList(4);
        EXPECT_EQ(walkMoving(list, c.forward, c.target, c.move), c.visits) << c.name;
        EXPECT_EQ(order(list), c.after) << c.name;
    }
}

TEST(PiecesTest, SelectionWalksFromItsFront)
{
    Pieces list = makeList(3);
    game::Selection selection;
    auto walk = list.fromBottom();
    while (TPuzzle* p = walk.Next())
        selection.AddAtHead(p);
    std::vector<int> seen;
    for (TPuzzle* p : selection)
        seen.push_back(p->HomeX);
    EXPECT_EQ(seen, (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(selection.front()->HomeX, 2);
    selection.Flush();
    EXPECT_TRUE(selection.empty());
    EXPECT_EQ(list.size(), 3u); // emptying the selection deletes nothing
}

TEST(RandomTest, BoundedDraws)
{
    game::Random a(42), b(42);
    for (int i = 0; i < 1000; ++i) {
        int r = a.Next();
        EXPECT_GE(r, 0);
        EXPECT_EQ(r, b.Next());
    }
    // A bound of 0 draws nothing: the sequence is not advanced.
    game::Random c(7), d(7);
    EXPECT_EQ(c.RandomBelow(0), 0);
    EXPECT_EQ(c.Next(), d.Next());
    // A negative bound gives a remainder in 0 .. -bound - 1, never negative.
    for (int i = 0; i < 1000; ++i) {
        int r = c.RandomBelow(-14);
        EXPECT_GE(r, 0);
        EXPECT_LT(r, 14);
        int s = c.RandomBelow(918);
        EXPECT_GE(s, 0);
        EXPECT_LT(s, 918);
    }
}
