// The outline and shading strips as the program loads them.
#include "gfx/Raster.h"
#include "puzzle/PuzzleErrors.h"
#include "puzzle/StripLibrary.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using gfx::Bitmap;
using gfx::PixelFormat;
using namespace puzzle;

// Where a knob's parts lie along the side, counted from its top (or left) end.
struct Range {
    int first, last;
};
struct Level {
    int number, cell, knob;
    Range upperShoulder, knobHead, lowerShoulder, attached, fullDepth;
};
const Level kLevels[] = {
    {1, 96, 16, {8, 26}, {31, 64}, {69, 87}, {36, 59}, {45, 50}},
    {2, 80, 14, {7, 22}, {26, 52}, {59, 73}, {30, 48}, {37, 41}},
    {3, 64, 10, {6, 15}, {21, 42}, {48, 58}, {24, 39}, {29, 34}},
    {4, 48, 8, {4, 11}, {16, 31}, {36, 43}, {18, 29}, {20, 27}},
};

enum class Side { Top, Bottom, Left, Right };
struct Kind {
    int offset;
    Side side;
    bool knob;
};
const Kind kKinds[] = {
    {RightKnob, Side::Right, true},     {BottomKnob, Side::Bottom, true}, {TopKnob, Side::Top, true},
    {LeftKnob, Side::Left, true},       {RightSocket, Side::Right, false}, {TopSocket, Side::Top, false},
    {BottomSocket, Side::Bottom, false}, {LeftSocket, Side::Left, false},
};

bool upright(Side side) { return side == Side::Left || side == Side::Right; }

std::string where(const Level& lv, const Kind& kind, int x, int y)
{
    return "level " + std::to_string(lv.number) + " offset " + std::to_string(kind.offset) + " at "
        + std::to_string(x) + "," + std::to_string(y);
}

// A strip seen along its side: p from the side's top (or left) end, d from the body outwards.
// Beyond the body edge the piece goes on; beyond the far edge and the ends lies the neighbour.
struct SideView {
    const Bitmap& strip;
    Side side;
    int cell, knob;

    SideView(const Level& lv, const Kind& kind, bool shading = false)
        : strip(LoadStrip(shading ? ShadingStripNumber(lv.number, kind.offset)
                                  : OutlineStripNumber(lv.number, kind.offset)))
        , side(kind.side)
        , cell(lv.cell)
        , knob(lv.knob)
    {
    }
    int x(int p, int d) const
    {
        return side == Side::Right ? d : side == Side::Left ? knob - 1 - d : p;
    }
    int y(int p, int d) const
    {
        return side == Side::Bottom ? d : side == Side::Top ? knob - 1 - d : p;
    }
    bool inside(int p, int d) const { return d >= 0 && d < knob && p >= 0 && p < cell && strip.value(x(p, d), y(p, d)) == 0; }
    bool rowHasPixels(int p) const
    {
        for (int d = 0; d < knob; ++d)
            if (inside(p, d))
                return true;
        return false;
    }
};

// The same test of the outline in strip coordinates: outside the strip is the body on the body
// side and the neighbour elsewhere.
bool outlineInside(const Bitmap& outline, Side side, int knob, int x, int y)
{
    if (outline.rect().contains(x, y))
        return outline.value(x, y) == 0;
    switch (side) {
    case Side::Right: return x < 0 && y >= 0 && y < outline.height();
    case Side::Left: return x >= knob && y >= 0 && y < outline.height();
    case Side::Bottom: return y < 0 && x >= 0 && x < outline.width();
    case Side::Top: return y >= knob && x >= 0 && x < outline.width();
    }
    return false;
}

void expectNear(const Range& measured, const Range& table, const std::string& what)
{
    EXPECT_NEAR(measured.first, table.first, 1) << what;
    EXPECT_NEAR(measured.last, table.last, 1) << what;
}

// --- sizes, numbers and loading ---------------------------------------------------------------

TEST(Strips, EveryStripHasTheSizeAndFormatOfItsBand)
{
    for (const Level& lv : kLevels)
        for (const Kind& kind : kKinds)
            for (bool shading : {false, true}) {
                const Bitmap& strip = LoadStrip(shading ? ShadingStripNumber(lv.number, kind.offset)
                                                        : OutlineStripNumber(lv.number, kind.offset));
                std::string what = where(lv, kind, 0, 0) + (shading ? " shading" : " outline");
                EXPECT_EQ(strip.width(), upright(kind.side) ? lv.knob : lv.cell) << what;
                EXPECT_EQ(strip.height(), upright(kind.side) ? lv.cell : lv.knob) << what;
                EXPECT_EQ(strip.format(), shading ? PixelFormat::Index4 : PixelFormat::Mono1) << what;
            }
}

// The pieces are built from references that must stay good while other strips are loaded.
TEST(Strips, ALoadedStripStaysValidWhileOthersAreLoaded)
{
    const Bitmap& first = LoadStrip(151);
    Bitmap copy = first;
    for (const Level& lv : kLevels)
        for (const Kind& kind : kKinds) {
            LoadStrip(OutlineStripNumber(lv.number, kind.offset));
            LoadStrip(ShadingStripNumber(lv.number, kind.offset));
        }
    EXPECT_EQ(&LoadStrip(151), &first);
    for (int y = 0; y < copy.height(); ++y)
        for (int x = 0; x < copy.width(); ++x)
            ASSERT_EQ(first.value(x, y), copy.value(x, y)) << x << "," << y;
}

TEST(Strips, NumbersThatDoNotExistAreReported)
{
    for (int number : {0, -151, 150, 159, 160, 189, 191, 250, 259, 289, 351, 1151})
        EXPECT_THROW(LoadStrip(number), ResourceNotFoundError) << number;
}

// --- the outline ----------------------------------------------------------------------------------

TEST(Strips, LevelOneRightKnobIsTheDrawing)
{
    // Rows of strip 151 and the columns inside the piece; every other pixel is outside.
    struct Run {
        int firstRow, lastRow, firstColumn, lastColumn;
    };
    const Run drawing[] = {
        {8, 8, 7, 7},    {9, 9, 6, 7},    {10, 10, 5, 6},  {11, 11, 4, 6},  {12, 12, 3, 5},  {13, 13, 2, 5},
        {14, 15, 1, 4},  {16, 17, 0, 3},  {18, 19, 0, 2},  {20, 22, 0, 1},  {23, 26, 0, 0},  {31, 31, 5, 8},
        {32, 32, 4, 9},  {33, 33, 3, 10}, {34, 34, 2, 10}, {35, 35, 1, 11}, {36, 36, 0, 11}, {37, 38, 0, 12},
        {39, 41, 0, 13}, {42, 44, 0, 14}, {45, 50, 0, 15}, {51, 53, 0, 14}, {54, 56, 0, 13}, {57, 58, 0, 12},
        {59, 59, 0, 11}, {60, 60, 1, 11}, {61, 61, 2, 10}, {62, 62, 3, 10}, {63, 63, 4, 9},  {64, 64, 5, 8},
        {69, 72, 0, 0},  {73, 75, 0, 1},  {76, 77, 0, 2},  {78, 79, 0, 3},  {80, 80, 0, 4},  {81, 81, 1, 4},
        {82, 82, 2, 5},  {83, 83, 3, 5},  {84, 84, 4, 6},  {85, 85, 5, 6},  {86, 86, 6, 7},  {87, 87, 7, 7},
    };
    Bitmap expected(16, 96, PixelFormat::Mono1);
    gfx::patBlt(expected, expected.rect(), gfx::Pattern::White);
    for (const Run& r : drawing)
        gfx::patBlt(expected, {r.firstColumn, r.firstRow, r.lastColumn + 1, r.lastRow + 1}, gfx::Pattern::Black);
    const Bitmap& strip = LoadStrip(151);
    ASSERT_EQ(strip.width(), 16);
    ASSERT_EQ(strip.height(), 96);
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(strip.value(x, y), expected.value(x, y)) << x << "," << y;
}

// Measured along the side: two shoulders and the head between empty corner ends and flush
// stretches, the neck on the body and the head's tip at the band's far edge, each within a
// pixel of the drawn proportions.
TEST(Strips, KnobsKeepTheDrawnProportions)
{
    for (const Level& lv : kLevels)
        for (const Kind& kind : kKinds) {
            if (!kind.knob)
                continue;
            SideView view(lv, kind);
            std::string what = where(lv, kind, 0, 0);
            std::vector<Range> runs;
            for (int p = 0; p < lv.cell; ++p)
                if (view.rowHasPixels(p)) {
                    if (runs.empty() || runs.back().last != p - 1)
                        runs.push_back({p, p});
                    runs.back().last = p;
                }
            ASSERT_EQ(runs.size(), 3u) << what << ": shoulder, head, shoulder";
            expectNear(runs[0], lv.upperShoulder, what + " upper shoulder");
            expectNear(runs[1], lv.knobHead, what + " head");
            expectNear(runs[2], lv.lowerShoulder, what + " lower shoulder");

            auto rowsWhere = [&](int d) {
                Range r{lv.cell, -1};
                for (int p = runs[1].first; p <= runs[1].last; ++p)
                    if (view.inside(p, d))
                        r = {std::min(r.first, p), std::max(r.last, p)};
                for (int p = r.first; p <= r.last; ++p)
                    EXPECT_TRUE(view.inside(p, d)) << what << " gap at " << p << " depth " << d;
                return r;
            };
            expectNear(rowsWhere(0), lv.attached, what + " attached");
            expectNear(rowsWhere(lv.knob - 1), lv.fullDepth, what + " full depth");
            EXPECT_TRUE(view.inside(lv.cell / 2 - 1, lv.knob - 1) && view.inside(lv.cell / 2, lv.knob - 1)) << what;
        }
}

TEST(Strips, ShapesAreNearlySymmetricAboutTheMiddleOfTheSide)
{
    for (const Level& lv : kLevels)
        for (const Kind& kind : kKinds) {
            SideView view(lv, kind);
            int differences = 0;
            for (int p = 0; p < lv.cell; ++p)
                for (int d = 0; d < lv.knob; ++d)
                    differences += view.inside(p, d) != view.inside(lv.cell - 1 - p, d);
            EXPECT_LE(differences, 24) << where(lv, kind, 0, 0);
        }
}

// A knob strip and the socket strip of the opposite side lie on the same band of two
// neighbours, pixel for pixel. Outside the corner squares they split it between them.
TEST(Strips, KnobAndOppositeSocketShareTheirBand)
{
    const std::pair<int, int> pairs[] = {
        {RightKnob, LeftSocket}, {LeftKnob, RightSocket}, {BottomKnob, TopSocket}, {TopKnob, BottomSocket}};
    for (const Level& lv : kLevels)
        for (auto [knobOffset, socketOffset] : pairs) {
            const Bitmap& knob = LoadStrip(OutlineStripNumber(lv.number, knobOffset));
            const Bitmap& socket = LoadStrip(OutlineStripNumber(lv.number, socketOffset));
            ASSERT_EQ(knob.rect(), socket.rect());
            bool vertical = knob.height() == lv.cell;
            int both = 0;
            for (int y = 0; y < knob.height(); ++y)
                for (int x = 0; x < knob.width(); ++x) {
                    int along = vertical ? y : x;
                    if (along < lv.knob || along >= lv.cell - lv.knob)
                        continue;
                    bool inKnob = knob.value(x, y) == 0, inSocket = socket.value(x, y) == 0;
                    EXPECT_TRUE(inKnob || inSocket) << "level " << lv.number << " knob " << knobOffset << " at " << x
                                                    << "," << y;
                    both += inKnob && inSocket;
                }
            EXPECT_LE(both, 20) << "level " << lv.number << " knob " << knobOffset;
        }
}

// --- the four pieces round a corner ----------------------------------------------------------------

struct Sides {
    bool top = false, left = false, right = false, bottom = false;
};

// A piece's mask and shading map as the cut builds them: a white tile with a black body, and a
// map of 15, each non-border side's strips ANDed into its band.
struct ModelPiece {
    Bitmap mask, map;
    int x0, y0; // the tile's place on the board

    ModelPiece(const Level& lv, int column, int row, Sides knobs, Sides borders)
        : mask(lv.cell, lv.cell, PixelFormat::Mono1)
        , map(lv.cell, lv.cell, PixelFormat::Index4)
        , x0(column * (lv.cell - lv.knob))
        , y0(row * (lv.cell - lv.knob))
    {
        int c = lv.cell, k = lv.knob;
        gfx::patBlt(mask, mask.rect(), gfx::Pattern::White);
        gfx::patBlt(mask, {k, k, c - k, c - k}, gfx::Pattern::Black);
        gfx::patBlt(map, map.rect(), gfx::Pattern::White);
        struct Band {
            bool border, knob;
            int knobOffset, socketOffset;
            gfx::Rect r;
        } bands[] = {
            {borders.top, knobs.top, TopKnob, TopSocket, {0, 0, c, k}},
            {borders.bottom, knobs.bottom, BottomKnob, BottomSocket, {0, c - k, c, c}},
            {borders.left, knobs.left, LeftKnob, LeftSocket, {0, 0, k, c}},
            {borders.right, knobs.right, RightKnob, RightSocket, {c - k, 0, c, c}},
        };
        for (const Band& b : bands)
            if (!b.border) {
                int offset = b.knob ? b.knobOffset : b.socketOffset;
                gfx::bitBlt(mask, b.r.left, b.r.top, b.r.width(), b.r.height(),
                            LoadStrip(OutlineStripNumber(lv.number, offset)), 0, 0, gfx::Rop::And);
                gfx::bitBlt(map, b.r.left, b.r.top, b.r.width(), b.r.height(),
                            LoadStrip(ShadingStripNumber(lv.number, offset)), 0, 0, gfx::Rop::And);
            }
    }
    // Board coordinates.
    bool inside(int x, int y) const { return mask.rect().contains(x - x0, y - y0) && mask.value(x - x0, y - y0) == 0; }
    // 1 lit, 2 shaded, anything else untouched.
    std::uint32_t mark(int x, int y) const { return map.value(x - x0, y - y0) & 7; }
};

// The four corner pieces of a two by two puzzle meet at the one inner corner square; each of
// the four edges there may have its knob on either piece.
struct InnerCorner {
    ModelPiece pieces[4];
    int left; // board x and y of the square's top-left pixel

    InnerCorner(const Level& lv, int combination)
        : pieces{piece(lv, 0, 0, combination), piece(lv, 1, 0, combination), piece(lv, 0, 1, combination),
                 piece(lv, 1, 1, combination)}
        , left(lv.cell - lv.knob)
    {
    }
    static ModelPiece piece(const Level& lv, int column, int row, int combination)
    {
        bool upper = combination & 1, lower = combination & 2; // knob on the left piece of the seam
        bool leftSeam = combination & 4, rightSeam = combination & 8; // knob on the upper piece
        bool vertical = row == 0 ? upper : lower, horizontal = column == 0 ? leftSeam : rightSeam;
        Sides knobs;
        knobs.right = column == 0 && vertical;
        knobs.left = column == 1 && !vertical;
        knobs.bottom = row == 0 && horizontal;
        knobs.top = row == 1 && !horizontal;
        return ModelPiece(lv, column, row, knobs, Sides{row == 0, column == 0, column == 1, row == 1});
    }
};

TEST(Strips, FourPiecesCoverTheirCornerSquareInEveryCombination)
{
    for (const Level& lv : kLevels)
        for (int combination = 0; combination < 16; ++combination) {
            InnerCorner corner(lv, combination);
            for (int y = corner.left; y < corner.left + lv.knob; ++y)
                for (int x = corner.left; x < corner.left + lv.knob; ++x) {
                    int owners = 0;
                    for (const ModelPiece& p : corner.pieces)
                        owners += p.inside(x, y);
                    ASSERT_GE(owners, 1) << "level " << lv.number << " combination " << combination << " at " << x
                                         << "," << y;
                }
        }
}

// Where the strips of a piece overlap in a corner square, their marks combine: the bevel runs
// along the piece's real outline there, and no seam shows inside the piece.
TEST(Strips, BevelFollowsTheOutlineThroughCornerSquares)
{
    for (const Level& lv : kLevels)
        for (int combination = 0; combination < 16; ++combination) {
            InnerCorner corner(lv, combination);
            for (const ModelPiece& p : corner.pieces)
                for (int y = corner.left; y < corner.left + lv.knob; ++y)
                    for (int x = corner.left; x < corner.left + lv.knob; ++x) {
                        if (!p.inside(x, y))
                            continue;
                        bool outside[3][3];
                        for (int dy = -1; dy <= 1; ++dy)
                            for (int dx = -1; dx <= 1; ++dx)
                                outside[dy + 1][dx + 1] = !p.inside(x + dx, y + dy);
                        bool edge = outside[0][1] || outside[1][0] || outside[1][2] || outside[2][1];
                        bool litSide = outside[0][0] || outside[0][1] || outside[0][2] || outside[1][0] || outside[2][0];
                        bool darkSide = outside[2][0] || outside[2][1] || outside[2][2] || outside[1][2] || outside[0][2];
                        std::uint32_t mark = p.mark(x, y);
                        std::string what = "level " + std::to_string(lv.number) + " combination "
                            + std::to_string(combination) + " at " + std::to_string(x) + "," + std::to_string(y);
                        if (!edge) {
                            EXPECT_TRUE(mark != 1 && mark != 2) << what << ": seam inside the piece";
                            continue;
                        }
                        EXPECT_TRUE(mark == 1 || mark == 2) << what << ": outline without bevel";
                        EXPECT_TRUE(mark != 1 || litSide) << what;
                        EXPECT_TRUE(mark != 2 || darkSide) << what;
                    }
        }
}

// --- the shading ----------------------------------------------------------------------------------

// 3 exactly outside the outline; inside 12, or along the outline 1 where the outside lies above
// or left of the pixel and 2 where it lies below or right. The body edge is no outline.
TEST(Strips, ShadingIsDerivedFromTheOutline)
{
    for (const Level& lv : kLevels)
        for (const Kind& kind : kKinds) {
            const Bitmap& outline = LoadStrip(OutlineStripNumber(lv.number, kind.offset));
            const Bitmap& shading = LoadStrip(ShadingStripNumber(lv.number, kind.offset));
            ASSERT_EQ(outline.rect(), shading.rect());
            auto in = [&](int x, int y) { return outlineInside(outline, kind.side, lv.knob, x, y); };
            for (int y = 0; y < shading.height(); ++y)
                for (int x = 0; x < shading.width(); ++x) {
                    std::uint32_t v = shading.value(x, y);
                    std::string what = where(lv, kind, x, y);
                    if (!in(x, y)) {
                        ASSERT_EQ(v, 3u) << what;
                        continue;
                    }
                    ASSERT_TRUE(v == 1 || v == 2 || v == 12) << what << " value " << v;
                    bool above = !in(x - 1, y - 1) || !in(x, y - 1) || !in(x + 1, y - 1);
                    bool leftOf = !in(x - 1, y - 1) || !in(x - 1, y) || !in(x - 1, y + 1);
                    bool below = !in(x - 1, y + 1) || !in(x, y + 1) || !in(x + 1, y + 1);
                    bool rightOf = !in(x + 1, y - 1) || !in(x + 1, y) || !in(x + 1, y + 1);
                    EXPECT_TRUE(v != 1 || above || leftOf) << what;
                    EXPECT_TRUE(v != 2 || below || rightOf) << what;
                    // Away from the corner squares, where the piece's other strip may go on,
                    // every outline pixel carries the bevel.
                    int along = upright(kind.side) ? y : x;
                    bool edge = !in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1);
                    if (along > lv.knob && along < lv.cell - lv.knob - 1) {
                        EXPECT_EQ(v != 12, edge) << what;
                    }
                }
        }
}

// The head of a knob is lit on the half of the side nearer the top (or left) and shaded on the
// other half, its tip included.
TEST(Strips, KnobHeadIsLitOnItsFirstHalf)
{
    for (const Level& lv : kLevels)
        for (const Kind& kind : kKinds) {
            if (!kind.knob)
                continue;
            SideView outline(lv, kind), shading(lv, kind, true);
            for (int p = lv.fullDepth.first; p <= lv.fullDepth.last; ++p) {
                int x = outline.x(p, lv.knob - 1), y = outline.y(p, lv.knob - 1);
                if (!outline.inside(p, lv.knob - 1))
                    continue;
                bool firstHalf = 2 * (upright(kind.side) ? y : x) < lv.cell;
                EXPECT_EQ(shading.strip.value(x, y), firstHalf ? 1u : 2u) << where(lv, kind, x, y);
            }
        }
}

} // namespace
