#include "gfx/Raster.h"
#include "puzzle/PuzzleErrors.h"
#include "support/RecordingWindow.h"
#include "game/Game.h"
#include <gtest/gtest.h>
#include <cstring>
#include <vector>

using testing_support::RecordingWindow;

namespace {

struct Grid {
    int level, columns, rows, lastColumnTrim, lastRowTrim;
};

// A game ready to cut: the grid fields set and both pictures W x H of a pattern.
struct CutBoard {
    RecordingWindow window{1024, 700};
    game::Game game{window};

    explicit CutBoard(const Grid& g, bool rotate = true, int arrangement = 3)
    {
        game.SetLevel(g.level);
        game.Columns = g.columns;
        game.Rows = g.rows;
        game.LastColumnTrim = g.lastColumnTrim;
        game.LastRowTrim = g.lastRowTrim;
        int step = game.CellSize - game.KnobSize;
        game.PictureWidth = g.columns * step - g.lastColumnTrim + 3;
        game.PictureHeight = g.rows * step - g.lastRowTrim + 2;
        game.RotatePieces = rotate;
        game.Arrangement = arrangement;
        game.Picture = std::make_unique<gfx::Bitmap>(game.PictureWidth, game.PictureHeight, gfx::PixelFormat::Bgr24);
        for (int y = 0; y < game.PictureHeight; ++y)
            for (int x = 0; x < game.PictureWidth; ++x)
                game.Picture->setValue(x, y, gfx::rgb(x * 7, y * 5, (x ^ y) & 0xFF));
        game.GhostPicture = std::make_unique<gfx::Bitmap>(*game.Picture);
        game.NoPuzzle = false;
    }

    std::vector<game::TPuzzle*> pieces() const
    {
        std::vector<game::TPuzzle*> v;
        auto walk = game.Pieces->fromBottom();
        while (game::TPuzzle* p = walk.Next())
            v.push_back(p);
        return v;
    }
    game::TPuzzle* at(int column, int row) const
    {
        for (game::TPuzzle* p : pieces())
            if (p->Column == column && p->Row == row)
                return p;
        return nullptr;
    }
};

// Fails the n-th mask it is asked for.
class FailingMasks : public puzzle::MaskDevice {
public:
    explicit FailingMasks(int failAt) : m_failAt(failAt) {}
    gfx::Bitmap createMask(int w, int h) override
    {
        if (++m_count == m_failAt)
            throw puzzle::OutOfMemoryError();
        return MaskDevice::createMask(w, h);
    }

private:
    int m_failAt;
    int m_count = 0;
};

const Grid kGrids[] = {
    {1, 2, 2, 16, 16}, {1, 5, 4, 20, 40}, {2, 6, 5, 14, 30}, {3, 7, 6, 11, 12}, {4, 9, 7, 8, 20},
};

} // namespace

TEST(CutTest, SmallestGridHasFourCornerPiecesAndOneKnobPerEdge)
{
    CutBoard board({1, 2, 2, 16, 16});
    ASSERT_TRUE(board.game.CutPieces());
    ASSERT_EQ(board.pieces().size(), 4u);
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 2; ++column) {
            game::TPuzzle* p = board.at(column, row);
            ASSERT_NE(p, nullptr);
            EXPECT_EQ(p->Group, row * 2 + column + 1);
            EXPECT_EQ(p->BorderTop + p->BorderBottom + p->BorderLeft + p->BorderRight, 2);
        }
    EXPECT_NE(board.at(0, 0)->KnobRight, board.at(1, 0)->KnobLeft);
    EXPECT_NE(board.at(0, 1)->KnobRight, board.at(1, 1)->KnobLeft);
    EXPECT_NE(board.at(0, 0)->KnobBottom, board.at(0, 1)->KnobTop);
    EXPECT_NE(board.at(1, 0)->KnobBottom, board.at(1, 1)->KnobTop);
}

TEST(CutTest, EveryLevelGivesOppositeKnobsHomesBordersAndMasks)
{
    for (const Grid& g : kGrids) {
        CutBoard board(g);
        ASSERT_TRUE(board.game.CutPieces()) << "level " << g.level;
        const int c = board.game.CellSize, k = board.game.KnobSize;
        ASSERT_EQ(int(board.pieces().size()), g.columns * g.rows);
        for (int row = 0; row < g.rows; ++row)
            for (int column = 0; column < g.columns; ++column) {
                game::TPuzzle* p = board.at(column, row);
                EXPECT_EQ(p->HomeX, column * (c - k) - k);
                EXPECT_EQ(p->HomeY, row * (c - k) - k);
                EXPECT_EQ(p->BorderTop, row == 0);
                EXPECT_EQ(p->BorderLeft, column == 0);
                EXPECT_EQ(p->BorderRight, column == g.columns - 1);
                EXPECT_EQ(p->BorderBottom, row == g.rows - 1);
                if (row == 0) {
                    EXPECT_EQ(p->KnobTop, 0);
                }
                if (column == 0) {
                    EXPECT_EQ(p->KnobLeft, 0);
                }
                if (column > 0) {
                    EXPECT_NE(board.at(column - 1, row)->KnobRight, p->KnobLeft);
                }
                if (row > 0) {
                    EXPECT_NE(board.at(column, row - 1)->KnobBottom, p->KnobTop);
                }
                EXPECT_TRUE(p->hasMask());
                EXPECT_EQ(p->Bounds.width(), c);
                EXPECT_EQ(p->Bounds.height(), c);
            }
        EXPECT_EQ(board.window.progressMaximum, g.columns * g.rows - 1);
        EXPECT_EQ(board.window.progressPosition, g.columns * g.rows - 1);
        EXPECT_EQ(board.window.progressShows, 1);
    }
}

TEST(CutTest, StartTurnsFollowTheRotationSetting)
{
    for (bool rotate : {true, false}) {
        CutBoard board({3, 7, 6, 11, 12}, rotate);
        ASSERT_TRUE(board.game.CutPieces());
        std::vector<int> seen(4, 0);
        for (game::TPuzzle* p : board.pieces())
            ++seen[p->Turns];
        if (rotate) {
            EXPECT_EQ(seen[0], 0);
            EXPECT_GT(seen[1], 0);
            EXPECT_GT(seen[2], 0);
            EXPECT_GT(seen[3], 0);
        } else {
            EXPECT_EQ(seen[0], 42);
        }
    }
}

TEST(CutTest, PicturesAreTrimmedHalvedAndFaded)
{
    CutBoard board({2, 11, 8, 25, 48});
    // The trimmed puzzle is 11 x 66 - 25 = 701 wide and 8 x 66 - 48 = 480 high.
    const std::pair<int, int> fades[] = {{0, 85}, {1, 85}, {2, 85}, {3, 86}, {128, 127}, {254, 169}, {255, 170}};
    for (int i = 0; i < 7; ++i)
        board.game.Picture->setValue(i, 0, gfx::rgb(fades[i].first, fades[i].first, fades[i].first));
    *board.game.GhostPicture = *board.game.Picture;
    const gfx::Bitmap* thumbnail = board.game.Picture.get();

    ASSERT_TRUE(board.game.CutPieces());
    EXPECT_EQ(board.game.GhostPicture->width(), 701);
    EXPECT_EQ(board.game.GhostPicture->height(), 480);
    EXPECT_EQ(board.game.Picture->width(), 350);
    EXPECT_EQ(board.game.Picture->height(), 240);
    EXPECT_EQ(board.game.Picture.get(), thumbnail); // the thumbnail's reference stays good
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(board.game.GhostPicture->colorAt(i, 0), gfx::rgb(fades[i].second, fades[i].second, fades[i].second))
            << fades[i].first;
    // The halving keeps every second row and column.
    EXPECT_EQ(board.game.Picture->colorAt(3, 2), gfx::rgb(6 * 7, 4 * 5, 6 ^ 4));
}

TEST(CutTest, NoArrangementKeepsTheRandomStartPositions)
{
    for (int arrangement : {0, 4}) {
        CutBoard board({4, 9, 7, 8, 20}, true, arrangement);
        ASSERT_TRUE(board.game.CutPieces());
        // rangeX = max(W + 200, 1024) - 48 - 10, rangeY = max(H + 200, 700) - 58.
        const int rangeX = std::max(board.game.PictureWidth + 200, 1024) - 58;
        const int rangeY = std::max(board.game.PictureHeight + 200, 700) - 58;
        for (game::TPuzzle* p : board.pieces()) {
            EXPECT_GE(p->Bounds.left, 0);
            EXPECT_LT(p->Bounds.left, rangeX);
            EXPECT_GE(p->Bounds.top, 0);
            EXPECT_LT(p->Bounds.top, rangeY);
        }
        EXPECT_GT(board.window.invalidations, 0);
    }
}

TEST(CutTest, MaskFailureOnTheLastPieceLeavesNoPuzzle)
{
    CutBoard board({3, 7, 6, 11, 12});
    FailingMasks masks(42);
    board.game.MaskFactory = &masks;
    EXPECT_FALSE(board.game.CutPieces());
    ASSERT_EQ(board.window.messages.size(), 1u);
    EXPECT_EQ(board.window.messages[0].text, "Not enough memory! Please try to use Beginner or Novice level.");
    EXPECT_EQ(board.window.messages[0].icon, game::MessageIcon::Error);
    EXPECT_EQ(board.game.Pieces, nullptr);
    EXPECT_EQ(board.game.PieceSheet, nullptr);
    EXPECT_EQ(board.game.Picture, nullptr);
    EXPECT_EQ(board.game.GhostPicture, nullptr);
    EXPECT_TRUE(board.game.NoPuzzle);
}

TEST(CutTest, SameSeedSameBoard)
{
    auto image = [](std::uint32_t seed) {
        CutBoard board({3, 7, 6, 11, 12});
        board.game.RandomGenerator.Seed(seed);
        EXPECT_TRUE(board.game.CutPieces());
        return *board.game.BackBuffer;
    };
    auto same = [](const gfx::Bitmap& a, const gfx::Bitmap& b) {
        for (int y = 0; y < a.height(); ++y)
            if (std::memcmp(a.scanLine(y), b.scanLine(y), std::size_t(a.width()) * 4) != 0)
                return false;
        return true;
    };
    gfx::Bitmap first = image(11), again = image(11), other = image(12);
    EXPECT_TRUE(same(first, again));
    EXPECT_FALSE(same(first, other));
}

// The sheet is made without clearing: whatever its memory held before, here the pixels of a
// sheet painted over just before it, must not reach the new sheet.
TEST(CutTest, SheetOwesNothingToTheMemoryItTakes)
{
    auto sheetAfter = [](const Grid& grid, gfx::Color junk) {
        CutBoard board(grid, true, 0);
        board.game.RandomGenerator.Seed(5);
        EXPECT_TRUE(board.game.CutPieces());
        gfx::fillRect(*board.game.PieceSheet, board.game.PieceSheet->rect(), junk);
        gfx::Bitmap picture = *board.game.GhostPicture; // trimmed and faded: a picture of its own
        board.game.DestroyPieces();
        board.game.PieceSheet.reset();
        board.game.Picture = std::make_unique<gfx::Bitmap>(picture);
        board.game.GhostPicture = std::make_unique<gfx::Bitmap>(picture);
        board.game.RandomGenerator.Seed(5);
        EXPECT_TRUE(board.game.CutPieces());
        return *board.game.PieceSheet;
    };
    for (const Grid& grid : {Grid{4, 4, 3, 11, 12}, Grid{1, 3, 2, 30, 24}}) {
        gfx::Bitmap onWhite = sheetAfter(grid, gfx::rgb(255, 255, 255));
        gfx::Bitmap onColour = sheetAfter(grid, gfx::rgb(0x77, 0x11, 0x99));
        for (int y = 0; y < onWhite.height(); ++y)
            ASSERT_EQ(std::memcmp(onWhite.scanLine(y), onColour.scanLine(y), std::size_t(onWhite.width()) * 3), 0)
                << "level " << grid.level << " row " << y;
    }
}
