// Hit test, drawing, shadow and quarter turns of one piece, on hand-made masks and tiles.
#include "PieceFixtures.h"
#include "gfx/Raster.h"
#include "puzzle/MaskDevice.h"
#include "puzzle/PuzzleErrors.h"
#include "puzzle/TPuzzle.h"
#include <gtest/gtest.h>
#include <functional>

namespace {

using gfx::Bitmap;
using gfx::PixelFormat;
using gfx::Rect;
using piece_fixtures::fillPattern;
using piece_fixtures::firstDifference;
using piece_fixtures::maskInside;
using piece_fixtures::samePixels;
using puzzle::TPuzzle;

constexpr int N = 32; // tile size of the hand-made pieces, knob band 8 deep

// A piece-like outline: the body, a knob on the right that reaches the far edge, a socket hole
// biting into the top of the body, and a ragged left edge so no mask byte is simply full.
Bitmap handMask()
{
    Bitmap m(N, N, PixelFormat::Mono1);
    gfx::patBlt(m, m.rect(), gfx::Pattern::White);
    gfx::patBlt(m, {8, 8, 24, 24}, gfx::Pattern::Black);
    gfx::patBlt(m, {24, 12, 32, 20}, gfx::Pattern::Black);
    gfx::patBlt(m, {12, 8, 20, 12}, gfx::Pattern::White);
    for (int y = 8; y < 24; ++y)
        gfx::patBlt(m, {7 - y % 4, y, 8, y + 1}, gfx::Pattern::Black);
    return m;
}

constexpr int kHoleX = 16, kHoleY = 9; // in the socket hole
constexpr int kKnobX = 29, kKnobY = 16; // on the knob, outside the body

// A sheet of 3 x 2 tiles, every pixel a colour of its own, and the piece of tile (1, 1).
struct PieceOnSheet {
    Bitmap sheet{3 * N, 2 * N, PixelFormat::Bgr24};
    TPuzzle piece{40, 30, N, N};

    PieceOnSheet()
    {
        fillPattern(sheet);
        piece.Column = 1;
        piece.Row = 1;
        piece.Mask = handMask();
    }
    Rect tile() const { return Rect::fromSize(N, N, N, N); }
    gfx::Color tilePixel(int x, int y) const { return sheet.value(N + x, N + y); }
};

Bitmap filled(PixelFormat format, gfx::Color c, int w = 120, int h = 100)
{
    Bitmap b(w, h, format);
    gfx::fillRect(b, b.rect(), c);
    return b;
}

// Where a tile point lands after `turns` quarter turns counter-clockwise.
std::pair<int, int> turnedPoint(int x, int y, int turns)
{
    for (int i = 0; i < turns; ++i)
        std::tie(x, y) = std::pair{y, N - 1 - x};
    return {x, y};
}

// --- hit test ------------------------------------------------------------------------------------

TEST(PieceHitTest, FollowsTheOutlineInEveryOrientation)
{
    for (int turns = 0; turns < 4; ++turns) {
        PieceOnSheet f;
        for (int i = 0; i < turns; ++i)
            f.piece.Rotate(90, f.sheet);
        const Rect& b = f.piece.Bounds;
        auto hitAtTile = [&](int x, int y) {
            auto [tx, ty] = turnedPoint(x, y, turns);
            return f.piece.HitTest(b.left + tx, b.top + ty);
        };
        SCOPED_TRACE("turns " + std::to_string(turns));
        EXPECT_FALSE(f.piece.HitTest(b.right, b.top + N / 2));
        EXPECT_FALSE(f.piece.HitTest(b.left + N / 2, b.bottom));
        EXPECT_FALSE(f.piece.HitTest(b.left - 1, b.top + N / 2));
        for (auto [x, y] : {std::pair{0, 0}, {N - 1, 0}, {0, N - 1}, {N - 1, N - 1}})
            EXPECT_FALSE(f.piece.HitTest(b.left + x, b.top + y)) << "corner " << x << "," << y;
        EXPECT_TRUE(f.piece.HitTest(b.left + N / 2, b.top + N / 2));
        EXPECT_FALSE(hitAtTile(kHoleX, kHoleY));
        EXPECT_TRUE(hitAtTile(kKnobX, kKnobY));
    }
}

TEST(PieceHitTest, PieceWithoutMaskIsNeverHit)
{
    TPuzzle piece(0, 0, N, N);
    EXPECT_FALSE(piece.HitTest(N / 2, N / 2));
}

// --- drawing ---------------------------------------------------------------------------------------

const PixelFormat kBoardFormats[] = {PixelFormat::Bgrx32, PixelFormat::Bgr24};

TEST(PieceDraw, TileInsideTheOutlineDestinationElsewhere)
{
    const gfx::Color board = gfx::rgb(10, 200, 30);
    for (PixelFormat format : kBoardFormats) {
        PieceOnSheet f;
        Bitmap dest = filled(format, board);
        f.piece.Draw(dest, f.sheet);
        for (int y = 0; y < dest.height(); ++y)
            for (int x = 0; x < dest.width(); ++x) {
                int tx = x - f.piece.Bounds.left, ty = y - f.piece.Bounds.top;
                gfx::Color want = maskInside(f.piece.Mask, tx, ty) ? f.tilePixel(tx, ty) : board;
                ASSERT_EQ(dest.value(x, y), want) << x << "," << y;
            }
        EXPECT_TRUE(samePixels(f.piece.Mask, handMask()));
    }
}

// The masked drawing spelt out as the six block transfers it replaces, on the reference path.
void drawBySixSteps(const TPuzzle& piece, Bitmap& dest, const Bitmap& sheet, Bitmap& scratch)
{
    namespace ref = gfx::reference;
    Bitmap mask = piece.Mask;
    int l = piece.Bounds.left, t = piece.Bounds.top, w = piece.Bounds.width(), h = piece.Bounds.height();
    ref::bitBlt(dest, l, t, w, h, mask, 0, 0, gfx::Rop::And);
    gfx::patBlt(mask, mask.rect(), gfx::Pattern::Invert);
    ref::bitBlt(scratch, 0, 0, w, h, sheet, piece.Column * w, piece.Row * h, gfx::Rop::Copy);
    ref::bitBlt(scratch, 0, 0, w, h, mask, 0, 0, gfx::Rop::And);
    gfx::patBlt(mask, mask.rect(), gfx::Pattern::Invert);
    ref::bitBlt(dest, l, t, w, h, scratch, 0, 0, gfx::Rop::Or);
}

TEST(PieceDraw, EqualsTheSixStepMaskedDrawing)
{
    // Aligned and odd positions, and pieces hanging over each edge of the board.
    const std::pair<int, int> positions[] = {{40, 30}, {41, 33}, {-5, -7}, {100, 85}, {-31, 50}, {60, 99}};
    for (PixelFormat format : kBoardFormats)
        for (auto [x, y] : positions) {
            PieceOnSheet f;
            f.piece.Bounds = Rect::fromSize(x, y, N, N);
            Bitmap fused(120, 100, format);
            fillPattern(fused);
            Bitmap literal = fused;
            Bitmap scratch(96, 96, format);
            gfx::fillRect(scratch, scratch.rect(), gfx::rgb(1, 2, 3)); // left over from an earlier draw
            f.piece.Draw(fused, f.sheet);
            drawBySixSteps(f.piece, literal, f.sheet, scratch);
            EXPECT_EQ(firstDifference(fused, literal, fused.rect()), "") << "at " << x << "," << y;
        }
}

TEST(PieceDraw, ClippedDrawingChangesOnlyTheClipInsideTheBounds)
{
    const Rect clips[] = {
        {0, 0, 40, 30},    // touches the corner, does not meet the bounds
        {80, 0, 120, 100}, // right of the piece
        {0, 0, 120, 100},  // covers the bounds
        {40, 30, 72, 62},  // exactly the bounds
        {45, 35, 60, 50},  // inside
        {30, 20, 50, 200}, // over the left edge
        {60, 40, 61, 41},  // one pixel
    };
    for (PixelFormat format : kBoardFormats)
        for (const Rect& clip : clips) {
            PieceOnSheet f;
            Bitmap before(120, 100, format);
            fillPattern(before);
            Bitmap whole = before;
            f.piece.Draw(whole, f.sheet);
            Bitmap clipped = before;
            f.piece.DrawClipped(clipped, clip, f.sheet);
            Rect changed = gfx::intersected(clip, f.piece.Bounds);
            for (int y = 0; y < 100; ++y)
                for (int x = 0; x < 120; ++x) {
                    const Bitmap& want = changed.contains(x, y) ? whole : before;
                    ASSERT_EQ(clipped.value(x, y), want.value(x, y))
                        << x << "," << y << " clip " << clip.left << "," << clip.top;
                }
        }
}

TEST(PieceDraw, ShadowThenPieceLeavesABlackRimTwoPixelsRightAndDown)
{
    const gfx::Color board = gfx::rgb(200, 210, 220);
    for (PixelFormat format : kBoardFormats) {
        PieceOnSheet f;
        Bitmap dest = filled(format, board);
        f.piece.DrawShadow(dest);
        f.piece.Draw(dest, f.sheet);
        for (int y = 0; y < dest.height(); ++y)
            for (int x = 0; x < dest.width(); ++x) {
                int tx = x - f.piece.Bounds.left, ty = y - f.piece.Bounds.top;
                gfx::Color want = maskInside(f.piece.Mask, tx, ty)         ? f.tilePixel(tx, ty)
                                : maskInside(f.piece.Mask, tx - 2, ty - 2) ? gfx::kBlack
                                                                           : board;
                ASSERT_EQ(dest.value(x, y), want) << x << "," << y;
            }
    }
}

// --- quarter turns ---------------------------------------------------------------------------------

struct TurnRule {
    int angle;
    // The old tile point whose pixel the turn brings to (x, y).
    std::function<std::pair<int, int>(int, int)> source;
};

const TurnRule kTurnRules[] = {
    {90, [](int x, int y) { return std::pair{N - 1 - y, x}; }},
    {270, [](int x, int y) { return std::pair{y, N - 1 - x}; }},
};

TEST(PieceRotate, MovesEveryTilePixelAndMaskBitByTheQuarterTurnRule)
{
    for (const TurnRule& rule : kTurnRules) {
        PieceOnSheet f;
        Bitmap oldSheet = f.sheet;
        Bitmap oldMask = f.piece.Mask;
        f.piece.Rotate(rule.angle, f.sheet);
        for (int y = 0; y < N; ++y)
            for (int x = 0; x < N; ++x) {
                auto [ox, oy] = rule.source(x, y);
                ASSERT_EQ(f.tilePixel(x, y), oldSheet.value(N + ox, N + oy)) << rule.angle << ": " << x << "," << y;
                ASSERT_EQ(f.piece.Mask.value(x, y), oldMask.value(ox, oy)) << rule.angle << ": " << x << "," << y;
            }
        EXPECT_EQ(f.piece.Bounds, Rect::fromSize(40, 30, N, N));
    }
}

TEST(PieceRotate, RedTopRowTurnsToTheLeftOrRightColumn)
{
    const gfx::Color red = gfx::rgb(255, 0, 0);
    for (auto [angle, redColumn] : {std::pair{90, 0}, {270, N - 1}}) {
        PieceOnSheet f;
        gfx::fillRect(f.sheet, f.tile(), gfx::kWhite);
        gfx::fillRect(f.sheet, Rect::fromSize(N, N, N, 1), red);
        f.piece.Rotate(angle, f.sheet);
        for (int y = 0; y < N; ++y)
            for (int x = 0; x < N; ++x)
                ASSERT_EQ(f.tilePixel(x, y), x == redColumn ? red : gfx::kWhite) << angle << ": " << x << "," << y;
    }
}

TEST(PieceRotate, OtherTilesOfTheSheetStayAsTheyWere)
{
    for (const TurnRule& rule : kTurnRules) {
        PieceOnSheet f;
        Bitmap before = f.sheet;
        f.piece.Rotate(rule.angle, f.sheet);
        Rect tile = f.tile();
        for (int y = 0; y < f.sheet.height(); ++y)
            for (int x = 0; x < f.sheet.width(); ++x)
                if (!tile.contains(x, y)) {
                    ASSERT_EQ(f.sheet.value(x, y), before.value(x, y)) << x << "," << y;
                }
    }
}

TEST(PieceRotate, TurnsCountCounterClockwiseQuartersModuloFour)
{
    struct Case {
        int start, angle, turns;
    };
    const Case cases[] = {{0, 90, 1}, {2, 90, 3}, {3, 90, 0}, {0, 270, 3}, {1, 270, 0}, {3, 270, 2}};
    for (const Case& c : cases) {
        PieceOnSheet f;
        f.piece.Turns = std::uint8_t(c.start);
        f.piece.Rotate(c.angle, f.sheet);
        EXPECT_EQ(f.piece.Turns, c.turns) << c.start << " + " << c.angle;
    }
}

TEST(PieceRotate, AnglesOtherThanAQuarterTurnChangeNothing)
{
    for (int angle : {0, 180, -90, 360, 45}) {
        PieceOnSheet f;
        Bitmap sheet = f.sheet;
        f.piece.Rotate(angle, f.sheet);
        EXPECT_EQ(f.piece.Turns, 0) << angle;
        EXPECT_TRUE(samePixels(f.sheet, sheet)) << angle;
        EXPECT_TRUE(samePixels(f.piece.Mask, handMask())) << angle;
    }
}

TEST(PieceRotate, TurnsThatAddUpToNothingRestoreTileMaskAndTurns)
{
    const std::vector<int> sequences[] = {{90, 90, 90, 90}, {270, 270, 270, 270}, {90, 270}, {270, 90}};
    for (const auto& angles : sequences) {
        PieceOnSheet f;
        f.piece.Turns = 2;
        Bitmap sheet = f.sheet;
        for (int angle : angles)
            f.piece.Rotate(angle, f.sheet);
        EXPECT_TRUE(samePixels(f.sheet, sheet));
        EXPECT_TRUE(samePixels(f.piece.Mask, handMask()));
        EXPECT_EQ(f.piece.Turns, 2);
    }
}

// The cut's half turn: the whole sheet, the mask and Turns as after two turns by 90, from every
// starting count.
TEST(PieceRotate, HalfTurnEqualsTwoTurnsByNinety)
{
    for (int start = 0; start < 4; ++start) {
        PieceOnSheet once, twice;
        once.piece.Turns = twice.piece.Turns = std::uint8_t(start);
        once.piece.HalfTurn(once.sheet);
        twice.piece.Rotate(90, twice.sheet);
        twice.piece.Rotate(90, twice.sheet);
        EXPECT_TRUE(samePixels(once.sheet, twice.sheet)) << start;
        EXPECT_TRUE(samePixels(once.piece.Mask, twice.piece.Mask)) << start;
        EXPECT_EQ(once.piece.Turns, twice.piece.Turns) << start;
    }
}

// --- a mask that cannot be made ----------------------------------------------------------------

class NoMemoryDevice : public puzzle::MaskDevice {
public:
    gfx::Bitmap createMask(int, int) override { throw puzzle::OutOfMemoryError(); }
};

TEST(PieceBuildShape, MaskThatCannotBeMadeLeavesNoMaskAndTheSheetUntouched)
{
    PieceOnSheet f; // holds an earlier mask, which the build drops first
    Bitmap sheet = f.sheet;
    NoMemoryDevice device;
    try {
        f.piece.BuildShape({8, 8, N - 8, N - 8}, f.sheet, 1, 8, 8, device);
        FAIL() << "no error";
    } catch (const puzzle::OutOfMemoryError& e) {
        EXPECT_STREQ(e.what(), "Not enough memory!");
    }
    EXPECT_FALSE(f.piece.hasMask());
    EXPECT_TRUE(samePixels(f.sheet, sheet));
}

} // namespace
