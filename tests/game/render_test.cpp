#include "support/BoardFixture.h"
#include "gfx/Raster.h"
#include <gtest/gtest.h>

using testing_support::BoardFixture;

namespace {

const gfx::Color kBoard = gfx::rgb(0, 128, 128);
const gfx::Color kGhost = gfx::rgb(150, 140, 130);

// A board of w x h with a one-colour faded picture of gw x gh.
struct GhostBoard : BoardFixture {
    GhostBoard(int w, int h, int gw, int gh)
        : BoardFixture(w, h, 4)
    {
        game.BackgroundColor = kBoard;
        game.GhostPicture = std::make_unique<gfx::Bitmap>(gw, gh, gfx::PixelFormat::Bgr24);
        gfx::fillRect(*game.GhostPicture, game.GhostPicture->rect(), kGhost);
    }
    // The columns and rows of the back buffer that show the faded picture.
    gfx::Rect ghostArea() const
    {
        const gfx::Bitmap& b = *game.BackBuffer;
        gfx::Rect r{b.width(), b.height(), 0, 0};
        for (int y = 0; y < b.height(); ++y)
            for (int x = 0; x < b.width(); ++x)
                if (b.colorAt(x, y) == kGhost)
                    r.growToInclude({x, y, x + 1, y + 1});
        return r;
    }
};

} // namespace

TEST(RenderTest, FadedPictureIsCentredWithTheOddPixelRightAndBelow)
{
    struct Case {
        int boardW, boardH, ghostW, ghostH;
        gfx::Rect shown;
    };
    const Case cases[] = {
        {200, 100, 101, 51, {49, 24, 150, 75}},   // 99 and 49 spare pixels: the extra one right and below
        {200, 100, 211, 107, {0, 0, 200, 100}},   // larger than the board: clipped
        {200, 100, 200, 100, {0, 0, 200, 100}},
    };
    for (const Case& c : cases) {
        GhostBoard board(c.boardW, c.boardH, c.ghostW, c.ghostH);
        board.game.RedrawBoard();
        EXPECT_EQ(board.ghostArea(), c.shown) << c.ghostW << "x" << c.ghostH;
        EXPECT_GT(board.window.invalidations, 0);
    }
    // Overhang: (200 - 211) / 2 truncates to -5, so 5 columns hang out left and 6 right.
    GhostBoard wide(200, 100, 211, 100);
    for (int x = 0; x < 211; ++x)
        gfx::fillRect(*wide.game.GhostPicture, {x, 0, x + 1, 100}, gfx::rgb(x, 0, 0));
    wide.game.RedrawBoard();
    EXPECT_EQ(wide.game.BackBuffer->colorAt(0, 50), gfx::rgb(5, 0, 0));
    EXPECT_EQ(wide.game.BackBuffer->colorAt(199, 50), gfx::rgb(204, 0, 0));
}

TEST(RenderTest, BoardShowsBackgroundPiecesAndOptionallyThePicture)
{
    GhostBoard board(300, 200, 100, 100);
    board.startBoard(2, 1);
    board.addPiece(0, 0, 0, 0);
    board.addPiece(1, 0, 20, 0); // overlaps the first and lies above it
    const gfx::Bitmap& b = *board.game.BackBuffer;

    board.game.ShowOriginal = false;
    board.game.RedrawBoard();
    EXPECT_EQ(board.ghostArea(), (gfx::Rect{300, 200, 0, 0}));
    EXPECT_EQ(b.colorAt(250, 190), kBoard);
    EXPECT_EQ(b.colorAt(10, 10), BoardFixture::tileColor(0, 0));
    EXPECT_EQ(b.colorAt(30, 30), BoardFixture::tileColor(1, 0)); // z-order: later covers earlier
    EXPECT_EQ(b.colorAt(3, 3), kBoard);                          // outside the mask

    board.game.ShowOriginal = true;
    board.game.RedrawBoard();
    EXPECT_EQ(board.ghostArea(), (gfx::Rect{100, 50, 200, 150}));

    board.game.DestroyPieces();
    EXPECT_EQ(board.game.Pieces, nullptr);
    EXPECT_TRUE(board.game.NoPuzzle);
    board.game.RedrawBoard();
    EXPECT_EQ(b.colorAt(30, 30), kBoard);
    EXPECT_EQ(b.colorAt(150, 100), kGhost);
}

TEST(RenderTest, DestroyPiecesWithoutPiecesChangesNothing)
{
    BoardFixture board(100, 100);
    board.game.NoPuzzle = false;
    board.game.DestroyPieces();
    EXPECT_FALSE(board.game.NoPuzzle);
}

TEST(RenderTest, CreateBuffersFollowsTheSizeAndKeepsPlaces)
{
    BoardFixture board(300, 200);
    board.startBoard(1, 1);
    game::TPuzzle& p = board.addPiece(0, 0, 250, 150);
    board.game.CreateBuffers(200, 120);
    EXPECT_EQ(board.game.BoardWidth, 200);
    EXPECT_EQ(board.game.BackBuffer->width(), 200);
    EXPECT_EQ(board.game.FrameBuffer->height(), 120);
    EXPECT_EQ(p.Bounds.left, 250); // pieces keep their places, even off the board
    board.game.CreateBuffers(400, 300);
    EXPECT_EQ(board.game.BackBuffer->colorAt(298, 198), BoardFixture::tileColor(0, 0));
}
