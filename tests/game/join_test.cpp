#include "support/BoardChecks.h"
#include "support/PlayBoard.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using game::TPuzzle;
using testing_support::PlayBoard;
using testing_support::Point;

namespace {

// Level 1: tiles of 96, knobs of 16, neighbours 80 apart.
constexpr int kStep = 80;
const char* const kSolved = "Congratulations. You solved the puzzle.";

struct Board : PlayBoard {
    explicit Board(int columns = 4, int rows = 4)
        : PlayBoard(600, 500, 1)
    {
        startBoard(columns, rows);
    }
};

// Where a piece of the held group lies on the screen, seen from the neighbour it is dropped at.
enum class Side { Above, Below, Right, Left };
const Side kSides[] = {Side::Above, Side::Below, Side::Right, Side::Left};

// The top-left corner that a piece beside n on `side` (n lying on that side of it) has.
Point placeBeside(const TPuzzle& n, Side side)
{
    switch (side) {
    case Side::Above: return {n.Bounds.left, n.Bounds.top + kStep};
    case Side::Below: return {n.Bounds.left, n.Bounds.top - kStep};
    case Side::Right: return {n.Bounds.left - kStep, n.Bounds.top};
    case Side::Left: return {n.Bounds.left + kStep, n.Bounds.top};
    }
    return {};
}

std::string nameOf(Side side)
{
    const char* names[] = {"above", "below", "right", "left"};
    return names[int(side)];
}

struct Offset {
    int dc, dr; // of the neighbour's place in the picture
};

// A board with s = (1,1) far away and its neighbour n at (column, row) = s + offset, fixed at
// 250,200, both with `turns`; s is then dragged to its place beside n on `side`, plus (dx, dy).
struct Drop {
    Board board;
    TPuzzle* s;
    TPuzzle* n;
    std::int16_t sGroup, nGroup;
    int invalidations;

    Drop(Offset offset, int turns, Side side, int dx, int dy, int nTurns = -1)
    {
        n = &board.addPiece(1 + offset.dc, 1 + offset.dr, 250, 200);
        s = &board.addPiece(1, 1, 470, 370);
        s->Turns = std::uint8_t(turns);
        n->Turns = std::uint8_t(nTurns < 0 ? turns : nTurns);
        sGroup = s->Group;
        nGroup = n->Group;
        board.show();
        invalidations = board.window.invalidations;
        const Point at = placeBeside(*n, side);
        board.dragTo(*s, at.x + dx, at.y + dy);
    }
    bool joined() const { return s->Group == n->Group; }
};

} // namespace

TEST(JoinTest, ANeighbourWithinFivePixelsOnBothAxesJoinsAndLandsExactlyInPlace)
{
    struct Case {
        int dx, dy;
        bool joins;
    };
    const Case cases[] = {
        {0, 0, true},   {5, 5, true},   {-5, -5, true}, {5, -5, true},  {-5, 5, true},  {0, 5, true},
        {6, 0, false},  {0, 6, false},  {-6, 0, false}, {0, -6, false}, {6, -6, false}, {-5, 6, false},
    };
    const Offset pictureNeighbour[] = {{0, -1}, {0, 1}, {1, 0}, {-1, 0}}; // per side, upright
    for (Side side : kSides)
        for (const Case& c : cases) {
            SCOPED_TRACE(nameOf(side) + " " + std::to_string(c.dx) + "," + std::to_string(c.dy));
            Drop d(pictureNeighbour[int(side)], 0, side, c.dx, c.dy);
            const Point exact = placeBeside(*d.n, side);
            ASSERT_EQ(d.joined(), c.joins);
            if (c.joins) {
                EXPECT_EQ(d.s->Bounds, gfx::Rect::fromSize(exact.x, exact.y, 96, 96));
                EXPECT_EQ(d.n->Group, d.sGroup); // the held group's id survives
                EXPECT_GT(d.board.window.invalidations, d.invalidations);
            } else {
                EXPECT_EQ(d.s->Bounds, gfx::Rect::fromSize(exact.x + c.dx, exact.y + c.dy, 96, 96));
                EXPECT_EQ(d.n->Group, d.nGroup);
                EXPECT_EQ(d.board.window.invalidations, d.invalidations); // only the sweep was copied
            }
            EXPECT_EQ(d.n->Bounds.left, 250); // the neighbour never moves
            EXPECT_TRUE(d.board.sound());
            EXPECT_TRUE(d.board.onScreen());
        }
}

TEST(JoinTest, PiecesTurnedDifferentlyNeverJoin)
{
    for (int ts = 0; ts < 4; ++ts)
        for (int tn = 0; tn < 4; ++tn)
            for (Side side : kSides) {
                if (ts == tn)
                    continue;
                SCOPED_TRACE(std::to_string(ts) + " against " + std::to_string(tn) + " " + nameOf(side));
                Drop d({0, -1}, ts, side, 1, 0, tn);
                EXPECT_FALSE(d.joined());
                EXPECT_TRUE(d.board.sound());
            }
}

TEST(JoinTest, TurnedPiecesJoinTheNeighbourThatTheTurnBringsToThatSide)
{
    // The picture neighbour that lies on each screen side after t counter-clockwise turns.
    const Offset relation[4][4] = {
        //  t = 0     t = 1     t = 2     t = 3
        {{0, -1}, {1, 0}, {0, 1}, {-1, 0}}, // above
        {{0, 1}, {-1, 0}, {0, -1}, {1, 0}}, // below
        {{1, 0}, {0, 1}, {-1, 0}, {0, -1}}, // right
        {{-1, 0}, {0, -1}, {1, 0}, {0, 1}}, // left
    };
    const Offset around[] = {{0, -1}, {0, 1}, {1, 0}, {-1, 0}};
    for (Side side : kSides)
        for (int t = 0; t < 4; ++t)
            for (Offset o : around) {
                const Offset want = relation[int(side)][t];
                const bool joins = o.dc == want.dc && o.dr == want.dr;
                SCOPED_TRACE(nameOf(side) + " t=" + std::to_string(t) + " neighbour " + std::to_string(o.dc) + ","
                             + std::to_string(o.dr));
                Drop d(o, t, side, 3, -2);
                EXPECT_EQ(d.joined(), joins);
                EXPECT_TRUE(d.board.sound());
            }
}

TEST(JoinTest, OverlappingOrUnrelatedPiecesDoNotJoinAndKeepIdsAndOrder)
{
    struct Case {
        const char* what;
        Offset n; // n's place in the picture from s = (1,1)
        int dx, dy; // s's drop from n's top-left
    };
    const Case cases[] = {
        {"neighbours overlapping deeply", {0, -1}, 10, 30},
        {"neighbours on the same spot", {0, -1}, 0, 0},
        {"side by side, not neighbours", {2, 0}, -kStep, 0},
        {"diagonal neighbours at a corner", {-1, -1}, kStep, kStep},
        {"upright neighbours, wrong way round", {0, -1}, 0, -kStep},
    };
    for (const Case& c : cases) {
        Board b;
        TPuzzle& n = b.addPiece(1 + c.n.dc, 1 + c.n.dr, 250, 200);
        TPuzzle& s = b.addPiece(1, 1, 470, 370);
        TPuzzle& other = b.addPiece(3, 3, 20, 20);
        b.show();
        const std::int16_t ns = n.Group, ss = s.Group, os = other.Group;
        b.dragTo(s, 250 + c.dx, 200 + c.dy);
        EXPECT_EQ(n.Group, ns) << c.what;
        EXPECT_EQ(s.Group, ss) << c.what;
        EXPECT_EQ(other.Group, os) << c.what;
        EXPECT_EQ(s.Bounds.left, 250 + c.dx) << c.what;
        EXPECT_EQ(b.zOrder(), (std::vector<TPuzzle*>{&n, &other, &s})) << c.what;
        EXPECT_TRUE(b.sound()) << c.what;
        EXPECT_TRUE(b.onScreen()) << c.what;
    }
}

TEST(JoinTest, AfterAJoinTheHeldIdSurvivesAndTheOtherGroupLiesOnTop)
{
    Board b;
    TPuzzle& far = b.addPiece(3, 3, 10, 10);
    TPuzzle& n1 = b.addPiece(1, 0, 250, 150, 70);
    TPuzzle& n2 = b.addPiece(2, 0, 250 + kStep, 150, 70);
    TPuzzle& s = b.addPiece(1, 1, 100, 380);
    b.show();
    const std::int16_t held = s.Group;
    b.dragTo(s, 250 + 2, 150 + kStep - 1);

    EXPECT_EQ(s.Bounds, gfx::Rect::fromSize(250, 150 + kStep, 96, 96));
    EXPECT_EQ(s.Group, held);
    EXPECT_EQ(n1.Group, held);
    EXPECT_EQ(n2.Group, held);
    EXPECT_EQ(far.Group, 16);
    // The neighbour's group went to the top one by one from its highest piece down.
    EXPECT_EQ(b.zOrder(), (std::vector<TPuzzle*>{&far, &s, &n2, &n1}));
    EXPECT_TRUE(b.sound());
    EXPECT_TRUE(b.onScreen());
}

TEST(JoinTest, TheFirstPassingPairWinsInSelectionOrderThenFromTheBottom)
{
    // A held group a=(1,1), b=(2,1); a lands 3 right of its place below n1 = (1,0), b 3 left
    // of its place above n2 = (2,2). The pair tested first wins; after its snap the other pair
    // is 6 off. The Selection runs from the group's highest piece.
    for (bool bHigher : {true, false}) {
        Board board;
        TPuzzle& n1 = board.addPiece(1, 0, 200, 100);
        TPuzzle& n2 = board.addPiece(2, 2, 286, 260);
        TPuzzle* a = nullptr;
        if (bHigher) {
            a = &board.addPiece(1, 1, 60, 380, 40);
            board.addPiece(2, 1, 60 + kStep, 380, 40); // b, above a
        } else {
            board.addPiece(2, 1, 60 + kStep, 380, 40); // b, below a
            a = &board.addPiece(1, 1, 60, 380, 40);
        }
        board.show();
        board.dragTo(*a, 203, 180);
        EXPECT_EQ(n2.Group == 40, bHigher);
        EXPECT_EQ(n1.Group == 40, !bHigher);
        EXPECT_EQ(a->Bounds.left, bHigher ? 206 : 200);
        EXPECT_TRUE(board.sound());
    }
    // One held piece s, dropped at 300,250: 3 left of its place below n1, 3 right of its place
    // beside n2. The neighbour lower in the z-order wins.
    for (bool n1Lower : {true, false}) {
        Board board;
        TPuzzle* n1 = nullptr;
        TPuzzle* n2 = nullptr;
        if (n1Lower) {
            n1 = &board.addPiece(1, 0, 303, 250 - kStep);
            n2 = &board.addPiece(0, 1, 297 - kStep, 250);
        } else {
            n2 = &board.addPiece(0, 1, 297 - kStep, 250);
            n1 = &board.addPiece(1, 0, 303, 250 - kStep);
        }
        TPuzzle& s = board.addPiece(1, 1, 480, 380);
        board.show();
        board.dragTo(s, 300, 250);
        EXPECT_EQ(n1->Group == s.Group, n1Lower);
        EXPECT_EQ(n2->Group == s.Group, !n1Lower);
        EXPECT_EQ(s.Bounds.left, n1Lower ? 303 : 297);
        EXPECT_TRUE(board.sound());
    }
}

TEST(JoinTest, APressAndReleaseWithoutMovingJoinsANeighbourInTolerance)
{
    Board b;
    TPuzzle& n = b.addPiece(1, 0, 250, 150);
    TPuzzle& s = b.addPiece(1, 1, 252, 150 + kStep - 3);
    b.show();
    const Point p = b.grab(s);
    b.press(p);
    b.release(p.x, p.y);
    EXPECT_EQ(s.Group, n.Group);
    EXPECT_EQ(s.Bounds, gfx::Rect::fromSize(250, 150 + kStep, 96, 96));
    EXPECT_TRUE(b.sound());
    EXPECT_TRUE(b.onScreen());
}

TEST(JoinTest, AGroupDroppedIntoAGapJoinsBothSidesOnOneReleaseAndTheSolveIsAnnouncedOnce)
{
    for (bool morePieces : {true, false}) {
        Board b;
        TPuzzle& left = b.addPiece(0, 1, 100, 200);
        TPuzzle& right = b.addPiece(2, 1, 100 + 2 * kStep, 200);
        TPuzzle& middle = b.addPiece(1, 1, 300, 380);
        if (morePieces)
            b.addPiece(3, 3, 480, 20);
        b.show();
        b.dragTo(middle, 100 + kStep + 2, 200 + 2);
        EXPECT_EQ(left.Group, middle.Group);
        EXPECT_EQ(right.Group, middle.Group);
        EXPECT_EQ(middle.Bounds.left, 100 + kStep);
        EXPECT_EQ(middle.Bounds.top, 200);
        // Both calls of the release see a single group; only the first may announce it.
        EXPECT_EQ(b.window.messages.size(), morePieces ? 0u : 1u);
        EXPECT_EQ(b.game.NoPuzzle, !morePieces);
        EXPECT_TRUE(b.sound());
        EXPECT_TRUE(b.onScreen());
    }
}

TEST(SolvedTest, TheLastJoinAnnouncesTheSolveOnceWithTheBoardShownBehindIt)
{
    Board b;
    TPuzzle& a = b.addPiece(0, 0, 100, 100);
    TPuzzle& c = b.addPiece(1, 0, 300, 300);
    TPuzzle& d = b.addPiece(0, 1, 450, 100);
    b.show();
    bool boardShown = false;
    b.window.onMessage = [&](const testing_support::RecordingWindow::Message&) {
        boardShown = !testing_support::firstDifference(b.window.screen(), *b.game.BackBuffer);
    };

    b.dragTo(c, 100 + kStep, 100);
    EXPECT_TRUE(b.window.messages.empty()) << "two groups are left";
    b.dragTo(d, 100 + 4, 100 + kStep - 5);
    ASSERT_EQ(b.window.messages.size(), 1u);
    EXPECT_EQ(b.window.messages[0].text, kSolved);
    EXPECT_EQ(b.window.messages[0].icon, game::MessageIcon::Information);
    EXPECT_TRUE(b.game.NoPuzzle);
    EXPECT_TRUE(boardShown);
    EXPECT_EQ(d.Bounds.top, 100 + kStep);

    // The solved puzzle can still be moved and dropped; nothing more is said.
    b.drag(a, -40, 30);
    EXPECT_EQ(a.Bounds.left, 60);
    b.drag(c, 0, 0);
    b.turn(d, 270);
    EXPECT_EQ(b.window.messages.size(), 1u);
    EXPECT_TRUE(b.sound());
    EXPECT_TRUE(b.onScreen());
}
