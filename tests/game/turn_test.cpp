#include "support/BoardChecks.h"
#include "support/PlayBoard.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using game::TPuzzle;
using testing_support::PlayBoard;
using testing_support::Point;
using testing_support::ScreenShowsBoard;

namespace {

// Level 1: tiles of 96, neighbours 80 apart.
constexpr int kStep = 80;

struct Board : PlayBoard {
    Board()
        : PlayBoard(600, 500, 1)
    {
        startBoard(4, 4);
    }
    // Without a join a turn repaints nothing whole: the copies alone must show the board.
    ::testing::AssertionResult shownByCopies(int invalidationsBefore)
    {
        if (window.invalidations != invalidationsBefore)
            return ::testing::AssertionFailure() << "the whole window was repainted";
        return ScreenShowsBoard(game, window);
    }
};

} // namespace

TEST(TurnTest, ASinglePieceTurnsInPlaceAndTheHoldEnds)
{
    for (int angle : {270, 90}) {
        Board b;
        TPuzzle& p = b.addPiece(1, 1, 200, 150);
        b.show();
        const int invalidations = b.window.invalidations;
        b.turn(p, angle);
        EXPECT_EQ(p.Turns, angle == 270 ? 3 : 1);
        EXPECT_EQ(p.Bounds, gfx::Rect::fromSize(200, 150, 96, 96));
        EXPECT_FALSE(b.game.Holding());
        EXPECT_TRUE(b.game.Selection.empty());
        EXPECT_TRUE(b.window.confinements.empty()) << "a turn does not hold the pointer";
        EXPECT_TRUE(b.sound());
        EXPECT_TRUE(b.shownByCopies(invalidations));
    }
}

TEST(TurnTest, FourTurnsOrATurnAndItsReverseRestorePlacesAndTurns)
{
    struct Case {
        int grip; // index of the gripped piece
        std::vector<int> angles;
    };
    const Case cases[] = {
        {0, {270, 270, 270, 270}},
        {1, {90, 90, 90, 90}},
        {2, {270, 90}},
        {0, {90, 270}},
        {1, {270, 270, 90, 90}},
    };
    for (const Case& c : cases) {
        Board b;
        // An L of three joined pieces: (1,1), (2,1) right of it, (1,2) below it.
        std::vector<TPuzzle*> group{&b.addPiece(1, 1, 200, 200, 50), &b.addPiece(2, 1, 200 + kStep, 200, 50),
                                    &b.addPiece(1, 2, 200, 200 + kStep, 50)};
        b.addPiece(3, 3, 20, 20);
        b.show();
        std::vector<gfx::Rect> before;
        for (TPuzzle* p : group)
            before.push_back(p->Bounds);
        for (int angle : c.angles) {
            const int invalidations = b.window.invalidations;
            b.turn(*group[c.grip], angle);
            EXPECT_EQ(group[c.grip]->Bounds, before[c.grip]);
            EXPECT_TRUE(b.sound()) << "grip " << c.grip << " angle " << angle;
            EXPECT_TRUE(b.shownByCopies(invalidations)) << "grip " << c.grip << " angle " << angle;
        }
        for (std::size_t i = 0; i < group.size(); ++i) {
            EXPECT_EQ(group[i]->Bounds, before[i]) << "grip " << c.grip << " piece " << i;
            EXPECT_EQ(group[i]->Turns, 0);
        }
    }
}

TEST(TurnTest, TwoPiecesSideBySideTurnAboutTheGrippedOne)
{
    struct Case {
        bool gripLeft;
        int angle;
        Point other; // the other piece's top-left after the turn
        int turns;
    };
    // left (0,0) at 200,200; right (1,0) at 280,200.
    const Case cases[] = {
        {true, 270, {200, 200 + kStep}, 3},  // clockwise: the right piece goes below
        {true, 90, {200, 200 - kStep}, 1},   // counter-clockwise: above
        {false, 270, {280, 200 - kStep}, 3}, // gripped by the right: the left piece goes above
        {false, 90, {280, 200 + kStep}, 1},
    };
    for (const Case& c : cases) {
        Board b;
        TPuzzle& left = b.addPiece(0, 0, 200, 200, 9);
        TPuzzle& right = b.addPiece(1, 0, 200 + kStep, 200, 9);
        b.show();
        TPuzzle& gripped = c.gripLeft ? left : right;
        TPuzzle& other = c.gripLeft ? right : left;
        const gfx::Rect grippedBounds = gripped.Bounds;
        b.turn(gripped, c.angle);
        EXPECT_EQ(gripped.Bounds, grippedBounds);
        EXPECT_EQ(other.Bounds, gfx::Rect::fromSize(c.other.x, c.other.y, 96, 96));
        EXPECT_EQ(left.Turns, c.turns);
        EXPECT_EQ(right.Turns, c.turns);
        EXPECT_EQ(left.Group, right.Group);
        EXPECT_TRUE(b.sound()) << "the pieces no longer fit";
        EXPECT_TRUE(b.onScreen());
    }
}

TEST(TurnTest, ATurnIntoPlaceBesideANeighbourJoinsAtOnce)
{
    struct Case {
        bool twoPieces; // the turned group also holds (1,1)
        bool lastGroup; // nothing else is on the board: the turn solves the puzzle
    };
    const Case cases[] = {{false, false}, {false, true}, {true, false}, {true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.twoPieces ? "group" : "piece") + (c.lastGroup ? ", solving" : ""));
        Board b;
        TPuzzle& n = b.addPiece(0, 0, 100, 100);
        if (c.twoPieces)
            b.addPiece(0, 1, 100, 100 + kStep, n.Group);
        // (1,0) lies 2 right and 3 up from its place beside n, one quarter turn away from
        // upright; (1,1) of its group lies where that turn keeps it joined.
        TPuzzle& s = b.addPiece(1, 0, 182, 97);
        s.Turns = 1;
        if (c.twoPieces) {
            TPuzzle& below = b.addPiece(1, 1, 182 + kStep, 97, s.Group);
            below.Turns = 1;
        }
        if (!c.lastGroup)
            b.addPiece(3, 3, 450, 380);
        b.show();
        ASSERT_TRUE(b.sound());
        const std::int16_t held = s.Group;
        b.turn(s, 270);
        EXPECT_EQ(s.Turns, 0);
        EXPECT_EQ(s.Bounds, gfx::Rect::fromSize(100 + kStep, 100, 96, 96));
        EXPECT_EQ(n.Group, held);
        EXPECT_EQ(b.window.messages.size(), c.lastGroup ? 1u : 0u);
        EXPECT_FALSE(b.game.Holding());
        EXPECT_TRUE(b.sound());
        EXPECT_TRUE(b.onScreen());
    }
}

TEST(TurnTest, AGroupTurnedPartlyOffTheBoardCanBeGrippedByWhatShows)
{
    Board b;
    TPuzzle& top = b.addPiece(0, 0, 5, 200, 4);
    TPuzzle& bottom = b.addPiece(0, 1, 5, 200 + kStep, 4);
    b.show();
    b.turn(top, 270); // the lower piece swings out over the left edge
    EXPECT_EQ(bottom.Bounds.left, 5 - kStep);
    EXPECT_TRUE(b.sound());
    EXPECT_TRUE(b.onScreen());

    b.drag(bottom, 150, 10); // by the few columns of it that show
    EXPECT_EQ(bottom.Bounds.left, 5 - kStep + 150);
    EXPECT_EQ(top.Bounds.left, 155);
    EXPECT_TRUE(b.sound());
    EXPECT_TRUE(b.onScreen());
}

TEST(TurnTest, WithoutTilesAGroupNeitherTurnsNorMoves)
{
    Board b;
    TPuzzle& left = b.addPiece(0, 0, 200, 200, 9);
    TPuzzle& right = b.addPiece(1, 0, 200 + kStep, 200, 9);
    b.show();
    b.game.PieceSheet.reset();
    b.press(b.grab(left), game::MouseButton::Right);
    b.release(230, 230);
    EXPECT_EQ(right.Bounds.left, 200 + kStep);
    EXPECT_EQ(right.Bounds.top, 200);
    EXPECT_EQ(right.Turns, 0);
    EXPECT_FALSE(b.game.Holding());
    EXPECT_TRUE(b.sound());
}
