#include "support/BoardFixture.h"
#include <gtest/gtest.h>
#include <set>
#include <utility>
#include <vector>

using testing_support::BoardFixture;

namespace {

// 1024 x 700 board at level 1 (CellSize 96) with n loose pieces.
struct ArrangeBoard : BoardFixture {
    explicit ArrangeBoard(int n, int width = 1024, int height = 700)
        : BoardFixture(width, height, 1)
    {
        startBoard(n, 1);
        for (int i = 0; i < n; ++i)
            addPiece(i, 0, 500, 300);
        game.Picture = std::make_unique<gfx::Bitmap>(320, 240, gfx::PixelFormat::Bgr24);
    }

    std::vector<game::TPuzzle*> fromBottom() const
    {
        std::vector<game::TPuzzle*> v;
        auto walk = game.Pieces->fromBottom();
        while (game::TPuzzle* p = walk.Next())
            v.push_back(p);
        return v;
    }
};

} // namespace

TEST(ArrangeTest, GridSlotsRowsAndLayers)
{
    ArrangeBoard board(70);
    board.game.ArrangeGrid();
    // Placed pieces go to the bottom one by one: the k-th placed is k-th from the top.
    std::vector<game::TPuzzle*> pieces = board.fromBottom();
    auto placed = [&](int k) { return pieces[pieces.size() - k]->Bounds; };

    for (int k = 1; k <= 60; ++k) {
        int column = (k - 1) % 10, row = (k - 1) / 10;
        EXPECT_EQ(placed(k), gfx::Rect::fromSize(10 + 101 * column, 10 + 101 * row, 96, 96)) << k;
    }
    EXPECT_EQ(placed(61), gfx::Rect::fromSize(20, 20, 96, 96));
    EXPECT_EQ(placed(69), gfx::Rect::fromSize(20 + 101 * 8, 20, 96, 96)); // nine slots in a row of layer 2
    EXPECT_EQ(placed(70), gfx::Rect::fromSize(20, 121, 96, 96));
}

TEST(ArrangeTest, AtEdgeKeepsTheCentreFree)
{
    ArrangeBoard board(400);
    board.game.GhostPicture = std::make_unique<gfx::Bitmap>(640, 480, gfx::PixelFormat::Bgr24);
    board.game.ArrangeAtEdge();
    // picLeft 192, picTop 110, picRight 832, picBottom 590; marginX 96, marginY 14.
    std::set<int> bands;
    for (game::TPuzzle* p : board.fromBottom()) {
        int x = p->Bounds.left, y = p->Bounds.top;
        bool top = y >= 0 && y <= 13 && x >= 0 && x <= 927;
        bool left = x >= 0 && x <= 95 && y >= 0 && y <= 603;
        bool bottom = y == 590 && x >= 0 && x <= 927;
        bool right = x >= 832 && x <= 927 && y >= 0 && y <= 603;
        EXPECT_TRUE(top || left || bottom || right) << x << "," << y;
        if (top) bands.insert(0);
        if (left) bands.insert(1);
        if (bottom) bands.insert(2);
        if (right) bands.insert(3);
        EXPECT_EQ(p->Bounds.width(), 96);
    }
    EXPECT_EQ(bands.size(), 4u);
}

TEST(ArrangeTest, RandomRangesAndZeroSpan)
{
    ArrangeBoard board(300);
    board.game.ArrangeRandom();
    int maxX = 0, maxY = 0;
    for (game::TPuzzle* p : board.fromBottom()) {
        EXPECT_GE(p->Bounds.left, 0);
        EXPECT_GE(p->Bounds.top, 0);
        maxX = std::max(maxX, p->Bounds.left);
        maxY = std::max(maxY, p->Bounds.top);
    }
    EXPECT_LE(maxX, 917);
    EXPECT_LE(maxY, 593);
    EXPECT_GT(maxX, 800); // the whole range is used
    EXPECT_GT(maxY, 500);

    // A board exactly CellSize + 10 wide gives spanX 0: x is 0 and no number is drawn for it.
    ArrangeBoard narrow(5, 106, 700);
    narrow.game.RandomGenerator.Seed(3);
    game::Random twin(3);
    narrow.game.ArrangeRandom();
    for (game::TPuzzle* p : narrow.fromBottom())
        EXPECT_EQ(p->Bounds.left, 0);
    for (int i = 0; i < 5; ++i)
        twin.Next(); // one draw per piece, for y only
    EXPECT_EQ(narrow.game.RandomGenerator.Next(), twin.Next());
}

TEST(ArrangeTest, JoinedPiecesStayAndLieAboveTheLooseOnes)
{
    ArrangeBoard board(6);
    std::vector<game::TPuzzle*> pieces = board.fromBottom();
    pieces[1]->Group = pieces[4]->Group = 99;
    pieces[1]->Bounds = gfx::Rect::fromSize(7, 8, 96, 96);
    pieces[4]->Bounds = gfx::Rect::fromSize(103, 8, 96, 96);

    using Arrange = void (game::Game::*)();
    for (Arrange arrange : {&game::Game::ArrangeRandom, &game::Game::ArrangeGrid, &game::Game::ArrangeAtEdge}) {
        board.game.GhostPicture = std::make_unique<gfx::Bitmap>(300, 200, gfx::PixelFormat::Bgr24);
        (board.game.*arrange)();
        std::vector<game::TPuzzle*> after = board.fromBottom();
        EXPECT_EQ(after[4], pieces[1]);
        EXPECT_EQ(after[5], pieces[4]);
        EXPECT_EQ(pieces[1]->Bounds, gfx::Rect::fromSize(7, 8, 96, 96));
        EXPECT_EQ(pieces[4]->Bounds, gfx::Rect::fromSize(103, 8, 96, 96));
    }
}

TEST(ArrangeTest, OneGroupMovesNothingButTheGridStillShuffles)
{
    ArrangeBoard board(12);
    std::vector<game::TPuzzle*> before = board.fromBottom();
    for (game::TPuzzle* p : before)
        p->Group = 1;
    board.game.ArrangeGrid();
    std::vector<game::TPuzzle*> after = board.fromBottom();
    EXPECT_NE(before, after);
    for (game::TPuzzle* p : after)
        EXPECT_EQ(p->Bounds.left, 500);
}

TEST(ArrangeTest, MenuCommandsSetMarksAndArrangeOnlyABuiltPuzzle)
{
    struct Case {
        void (game::Game::*click)();
        int arrangement;
        game::MenuItem checkedItem;
    };
    const Case cases[] = {
        {&game::Game::ArrangeGridMenuClick, 1, game::MenuItem::ArrangeGrid},
        {&game::Game::RandomMenuClick, 2, game::MenuItem::Random},
        {&game::Game::RandomEdgeMenuClick, 3, game::MenuItem::RandomEdge},
    };
    for (const Case& c : cases) {
        ArrangeBoard board(8);
        board.game.GhostPicture = std::make_unique<gfx::Bitmap>(300, 200, gfx::PixelFormat::Bgr24);
        (board.game.*c.click)();
        EXPECT_EQ(board.game.Arrangement, c.arrangement);
        for (game::MenuItem item : {game::MenuItem::ArrangeGrid, game::MenuItem::Random, game::MenuItem::RandomEdge})
            EXPECT_EQ(board.window.isChecked(item), item == c.checkedItem);
        EXPECT_NE(board.game.Pieces->head()->Bounds.left, 500) << "arranged";

        ArrangeBoard idle(8);
        idle.game.Picture.reset(); // no puzzle: only the setting and the marks change
        (idle.game.*c.click)();
        EXPECT_EQ(idle.game.Arrangement, c.arrangement);
        EXPECT_TRUE(idle.window.isChecked(c.checkedItem));
        for (game::TPuzzle* p : idle.fromBottom())
            EXPECT_EQ(p->Bounds.left, 500);
    }
}
