// The outline and bevel that BuildShape gives a piece from the outline and shading strips.
#include "PieceFixtures.h"
#include "gfx/Raster.h"
#include "puzzle/MaskDevice.h"
#include "puzzle/PuzzleErrors.h"
#include "puzzle/StripLibrary.h"
#include "puzzle/TPuzzle.h"
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

using gfx::Bitmap;
using gfx::PixelFormat;
using gfx::Rect;
using piece_fixtures::maskInside;
using puzzle::TPuzzle;

struct Level {
    int number, cell, knob;
    int step() const { return cell - knob; }
    Rect body() const { return {knob, knob, cell - knob, cell - knob}; }
};
const Level kLevels[] = {{1, 96, 16}, {2, 80, 14}, {3, 64, 10}, {4, 48, 8}};

struct Sides {
    bool top = false, left = false, right = false, bottom = false;
};

constexpr int kGrey = 100; // tile colour before the bevel: lit 150, shaded 50

// One piece of (column, row) at its home position, built on a grey one-tile sheet of its own.
struct BuiltPiece {
    Level level;
    Bitmap sheet;
    TPuzzle piece;

    // Trims default to KnobSize, the smallest a grid has.
    BuiltPiece(const Level& lv, int column, int row, Sides knobs, Sides borders = {}, int columnTrim = -1,
               int rowTrim = -1)
        : level(lv)
        , sheet(lv.cell, lv.cell, PixelFormat::Bgr24)
        , piece(column * lv.step() - lv.knob, row * lv.step() - lv.knob, lv.cell, lv.cell)
    {
        gfx::fillRect(sheet, sheet.rect(), gfx::rgb(kGrey, kGrey, kGrey));
        piece.HomeX = piece.Bounds.left;
        piece.HomeY = piece.Bounds.top;
        piece.KnobTop = knobs.top, piece.KnobLeft = knobs.left;
        piece.KnobRight = knobs.right, piece.KnobBottom = knobs.bottom;
        piece.BorderTop = borders.top, piece.BorderLeft = borders.left;
        piece.BorderRight = borders.right, piece.BorderBottom = borders.bottom;
        puzzle::MaskDevice device;
        piece.BuildShape(lv.body(), sheet, lv.number, columnTrim < 0 ? lv.knob : columnTrim,
                         rowTrim < 0 ? lv.knob : rowTrim, device); // column and row 0 of its sheet
    }
    bool inside(int x, int y) const { return maskInside(piece.Mask, x, y); }
    // +1 lit, -1 shaded, 0 untouched.
    int bevel(int x, int y) const
    {
        int v = gfx::redOf(sheet.value(x, y));
        return v == kGrey ? 0 : v > kGrey ? 1 : -1;
    }
};

std::string where(const Level& lv, int x, int y)
{
    return "level " + std::to_string(lv.number) + " at " + std::to_string(x) + "," + std::to_string(y);
}

bool inCornerSquare(const Level& lv, int x, int y)
{
    auto margin = [&](int v) { return v < lv.knob || v >= lv.cell - lv.knob; };
    return margin(x) && margin(y);
}

// --- the outline ---------------------------------------------------------------------------------

struct BandCase {
    int knobOffset, socketOffset;
    bool vertical; // a left or right band
    bool farSide;  // the band beyond the body's right or bottom edge
};
// Top, bottom, left, right, with the strips they use.
const BandCase kBands[] = {
    {puzzle::TopKnob, puzzle::TopSocket, false, false},
    {puzzle::BottomKnob, puzzle::BottomSocket, false, true},
    {puzzle::LeftKnob, puzzle::LeftSocket, true, false},
    {puzzle::RightKnob, puzzle::RightSocket, true, true},
};

TEST(PieceShape, MiddlePieceIsItsBodyAndTheStripOfEachSide)
{
    for (const Level& lv : kLevels)
        for (bool knob : {true, false}) {
            BuiltPiece p(lv, 1, 1, Sides{knob, knob, knob, knob});
            for (int y = lv.knob; y < lv.cell - lv.knob; ++y)
                for (int x = lv.knob; x < lv.cell - lv.knob; ++x)
                    ASSERT_TRUE(p.inside(x, y)) << where(lv, x, y);
            for (const BandCase& band : kBands) {
                const Bitmap& strip =
                    puzzle::LoadStrip(puzzle::OutlineStripNumber(lv.number, knob ? band.knobOffset : band.socketOffset));
                int ox = band.vertical && band.farSide ? lv.cell - lv.knob : 0;
                int oy = !band.vertical && band.farSide ? lv.cell - lv.knob : 0;
                for (int sy = 0; sy < strip.height(); ++sy)
                    for (int sx = 0; sx < strip.width(); ++sx)
                        if (!inCornerSquare(lv, ox + sx, oy + sy)) {
                            bool stripInside = gfx::getPixel(strip, sx, sy) == gfx::kBlack;
                            ASSERT_EQ(p.inside(ox + sx, oy + sy), stripInside) << where(lv, ox + sx, oy + sy);
                        }
            }
            // The knob's tip reaches the band's far edge in the middle of the side; a socket
            // leaves the neighbour's tip room there.
            int mid = lv.cell / 2, last = lv.cell - 1;
            for (auto [x, y] : {std::pair{mid, 0}, {mid, last}, {0, mid}, {last, mid}})
                EXPECT_EQ(p.inside(x, y), knob) << where(lv, x, y);
            for (auto [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}})
                EXPECT_FALSE(p.inside(x, y)) << where(lv, x, y);
        }
}

// Two neighbours at their home positions leave no pixel of their shared band uncovered.
TEST(PieceShape, NeighboursCoverTheirSharedBand)
{
    for (const Level& lv : kLevels)
        for (bool vertical : {false, true})
            for (bool firstHasKnob : {true, false}) {
                Sides first, second;
                (vertical ? first.bottom : first.right) = firstHasKnob;
                (vertical ? second.top : second.left) = !firstHasKnob;
                BuiltPiece a(lv, 1, 1, first);
                BuiltPiece b(lv, vertical ? 1 : 2, vertical ? 2 : 1, second);
                // The shared band, less its corner squares, in board coordinates.
                int acrossStart = vertical ? a.piece.Bounds.top : a.piece.Bounds.left;
                int alongStart = vertical ? a.piece.Bounds.left : a.piece.Bounds.top;
                int near = acrossStart + lv.cell - lv.knob;
                int from = alongStart + lv.knob, to = alongStart + lv.cell - lv.knob;
                for (int along = from; along < to; ++along)
                    for (int across = near; across < near + lv.knob; ++across) {
                        int x = vertical ? along : across, y = vertical ? across : along;
                        ASSERT_TRUE(a.piece.HitTest(x, y) || b.piece.HitTest(x, y))
                            << where(lv, x, y) << (vertical ? " vertical" : " horizontal") << " knob first "
                            << firstHasKnob;
                    }
            }
}

// The four pieces round a corner square cover it, whatever the four edges there carry.
TEST(PieceShape, FourPiecesCoverTheirCornerSquareInEveryCombination)
{
    for (const Level& lv : kLevels)
        for (int combination = 0; combination < 16; ++combination) {
            // Which piece of each seam that meets the square has the knob.
            bool upper = combination & 1, lower = combination & 2; // top-left | top-right, bottom-left | bottom-right
            bool left = combination & 4, right = combination & 8;  // top-left / bottom-left, top-right / bottom-right
            Sides tl, tr, bl, br;
            tl.right = upper, tr.left = !upper;
            bl.right = lower, br.left = !lower;
            tl.bottom = left, bl.top = !left;
            tr.bottom = right, br.top = !right;
            const BuiltPiece pieces[] = {{lv, 1, 1, tl}, {lv, 2, 1, tr}, {lv, 1, 2, bl}, {lv, 2, 2, br}};
            int corner = 2 * lv.step() - lv.knob; // board x and y of the square's top-left pixel
            for (int y = corner; y < corner + lv.knob; ++y)
                for (int x = corner; x < corner + lv.knob; ++x) {
                    bool covered = false;
                    for (const BuiltPiece& p : pieces)
                        covered = covered || p.piece.HitTest(x, y);
                    ASSERT_TRUE(covered) << where(lv, x, y) << " combination " << combination;
                }
        }
}

// A whole small grid at home positions covers the finished picture, (columns x step - column
// trim) by (rows x step - row trim), and not one pixel around it.
TEST(PieceShape, AssembledGridCoversExactlyTheFinishedPicture)
{
    constexpr int columns = 3, rows = 3;
    std::mt19937 rng(7);
    for (const Level& lv : kLevels)
        for (auto [columnTrim, rowTrim] : {std::pair{lv.knob, lv.knob}, {lv.knob + 5, lv.knob + 3}}) {
            bool right[rows][columns], down[rows][columns];
            for (auto& row : right)
                for (bool& knob : row)
                    knob = rng() & 1;
            for (auto& row : down)
                for (bool& knob : row)
                    knob = rng() & 1;
            std::vector<BuiltPiece> pieces;
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < columns; ++c) {
                    Sides knobs{r > 0 && !down[r - 1][c], c > 0 && !right[r][c - 1], right[r][c], down[r][c]};
                    Sides borders{r == 0, c == 0, c == columns - 1, r == rows - 1};
                    pieces.emplace_back(lv, c, r, knobs, borders, columnTrim, rowTrim);
                }
            int w = columns * lv.step() - columnTrim, h = rows * lv.step() - rowTrim;
            for (int y = -lv.knob; y < h + lv.knob; ++y)
                for (int x = -lv.knob; x < w + lv.knob; ++x) {
                    bool covered = false;
                    for (const BuiltPiece& p : pieces)
                        covered = covered || p.piece.HitTest(x, y);
                    ASSERT_EQ(covered, x >= 0 && x < w && y >= 0 && y < h)
                        << where(lv, x, y) << " trims " << columnTrim << "," << rowTrim;
                }
        }
}

TEST(PieceShape, LevelWithoutStripsIsReported)
{
    Level unknown{5, 96, 16};
    EXPECT_THROW(BuiltPiece(unknown, 1, 1, Sides{}), puzzle::ResourceNotFoundError);
}

// --- flat edges and the bevel ----------------------------------------------------------------------

TEST(PieceShape, TopLeftPieceIsFlatWithHighlightAlongTopAndLeft)
{
    for (const Level& lv : kLevels) {
        int k = lv.knob, w = lv.cell, h = lv.cell, a = k;
        BuiltPiece p(lv, 0, 0, Sides{}, Sides{true, true, false, false});
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (x < k || y < k) {
                    ASSERT_FALSE(p.inside(x, y)) << where(lv, x, y);
                } else if (x < w - k && y < h - k) {
                    ASSERT_TRUE(p.inside(x, y)) << where(lv, x, y);
                }
        for (int x = k; x < w; ++x)
            ASSERT_EQ(p.bevel(x, k), 1) << where(lv, x, k);
        for (int y = 0; y <= h - a - 2; ++y)
            ASSERT_EQ(p.bevel(k, y), 1) << where(lv, k, y);
        EXPECT_EQ(p.bevel(k, h - a - 1), 0) << where(lv, k, h - a - 1);
        EXPECT_EQ(p.bevel(k - 1, k), 0) << where(lv, k - 1, k);
        for (int x = 0; x < w; ++x)
            if (x != k) {
                ASSERT_EQ(p.bevel(x, k - 1), 0) << where(lv, x, k - 1);
            }
    }
}

// Left of the body, row K of a top-row piece belongs to its left strip alone: the top line
// starts at the body and leaves the strip's shading there.
TEST(PieceShape, TopLineLeavesTheLeftStripShadingAlone)
{
    for (const Level& lv : kLevels)
        for (bool knob : {true, false}) {
            BuiltPiece p(lv, 1, 0, Sides{false, knob, false, false}, Sides{true, false, false, false});
            const Bitmap& shading =
                puzzle::LoadStrip(puzzle::ShadingStripNumber(lv.number, knob ? puzzle::LeftKnob : puzzle::LeftSocket));
            for (int x = 0; x < lv.knob; ++x) {
                std::uint32_t code = shading.value(x, lv.knob) & 7;
                int want = code == 1 ? 1 : code == 2 ? -1 : 0;
                ASSERT_EQ(p.bevel(x, lv.knob), want) << where(lv, x, lv.knob);
            }
        }
}

// The bottom row is cut off where the picture ends: at the band for a trim of KnobSize, inside
// the body, with the side strips below discarded, for a larger one.
TEST(PieceShape, BottomRowPieceEndsWithAShadowLineAboveItsTrim)
{
    for (const Level& lv : kLevels)
        for (int a : {lv.knob, lv.knob + 1, lv.step() - 1}) {
            int w = lv.cell, h = lv.cell;
            BuiltPiece p(lv, 1, 3, Sides{true, true, true, false}, Sides{false, false, false, true}, -1, a);
            for (int y = h - a; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_FALSE(p.inside(x, y)) << where(lv, x, y) << " trim " << a;
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(p.bevel(x, h - a - 1), -1) << where(lv, x, h - a - 1) << " trim " << a;
            for (int x = lv.knob; x < w - lv.knob; ++x)
                ASSERT_TRUE(p.inside(x, h - a - 1)) << where(lv, x, h - a - 1) << " trim " << a;
        }
}

// Where two flat edges meet in a corner piece, the later of the top, bottom, left, right
// steps decides the pixel.
TEST(PieceShape, LaterFlatEdgesWinWhereTheyMeet)
{
    for (const Level& lv : kLevels) {
        int k = lv.knob, w = lv.cell, h = lv.cell;
        int a = k + 3, b = k + 5;
        BuiltPiece topRight(lv, 4, 0, Sides{}, Sides{true, false, true, false}, b, a);
        // The right line overwrites the top line's last pixels and runs down to row h - a - 2.
        EXPECT_EQ(topRight.bevel(w - b - 2, k), 1) << where(lv, w - b - 2, k);
        EXPECT_EQ(topRight.bevel(w - b - 1, k), -1) << where(lv, w - b - 1, k);
        EXPECT_EQ(topRight.bevel(w - b, k), 0) << where(lv, w - b, k);
        for (int y = 0; y <= h - a - 2; ++y)
            ASSERT_EQ(topRight.bevel(w - b - 1, y), -1) << where(lv, w - b - 1, y);
        EXPECT_TRUE(topRight.inside(w - b - 1, k + 1));
        EXPECT_FALSE(topRight.inside(w - b, k + 1));

        // The left line stops above the bottom line, whose corner pixel stays shaded.
        BuiltPiece bottomLeft(lv, 0, 3, Sides{}, Sides{false, true, false, true}, b, a);
        EXPECT_EQ(bottomLeft.bevel(k, h - a - 2), 1) << where(lv, k, h - a - 2);
        EXPECT_EQ(bottomLeft.bevel(k, h - a - 1), -1) << where(lv, k, h - a - 1);
        EXPECT_EQ(bottomLeft.bevel(k - 1, h - a - 1), 0) << where(lv, k - 1, h - a - 1);
    }
}

} // namespace
