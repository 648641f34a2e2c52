#include "gfx/Rect.h"
#include <gtest/gtest.h>

using gfx::Rect;

TEST(Rect, ContainsIncludesLeftTopAndExcludesRightBottom)
{
    const Rect r{2, 3, 5, 7};
    struct Case {
        int x, y;
        bool inside;
    };
    const Case cases[] = {
        {2, 3, true}, {4, 6, true}, {5, 3, false}, {2, 7, false}, {1, 3, false}, {2, 2, false}, {5, 7, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(r.contains(c.x, c.y), c.inside) << c.x << "," << c.y;
    EXPECT_FALSE((Rect{4, 4, 4, 9}).contains(4, 5)) << "a rectangle of width 0 holds no point";
}

TEST(Rect, IntersectedIsTheOverlapOrAllZeros)
{
    struct Case {
        Rect a, b, expected;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {5, 5, 15, 15}, {5, 5, 10, 10}},
        {{0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}},       // one inside the other
        {{-5, -5, 3, 3}, {0, 0, 10, 10}, {0, 0, 3, 3}},     // negative corners
        {{0, 0, 10, 10}, {10, 0, 20, 10}, {0, 0, 0, 0}},    // touching at the exclusive right edge
        {{0, 0, 10, 10}, {0, 10, 10, 20}, {0, 0, 0, 0}},    // touching at the exclusive bottom edge
        {{0, 0, 10, 10}, {30, 30, 40, 40}, {0, 0, 0, 0}},   // apart
        {{5, 5, 5, 9}, {0, 0, 10, 10}, {0, 0, 0, 0}},       // an empty operand
    };
    for (const Case& c : cases) {
        EXPECT_EQ(intersected(c.a, c.b), c.expected);
        EXPECT_EQ(intersected(c.b, c.a), c.expected);
    }
}

TEST(Rect, UnitedIgnoresEmptyOperands)
{
    struct Case {
        Rect a, b, expected;
    };
    const Case cases[] = {
        {{0, 0, 2, 2}, {5, 6, 7, 8}, {0, 0, 7, 8}},
        {{-3, 1, 0, 4}, {1, -2, 2, 2}, {-3, -2, 2, 4}},
        {{0, 0, 2, 2}, {50, 50, 50, 60}, {0, 0, 2, 2}}, // empty with a far corner: not counted
        {{9, 9, 3, 3}, {1, 1, 4, 4}, {1, 1, 4, 4}},     // inverted counts as empty
        {{9, 9, 9, 9}, {1, 1, 1, 1}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(united(c.a, c.b), c.expected);
        EXPECT_EQ(united(c.b, c.a), c.expected);
    }
}

TEST(Rect, GrowToIncludeCountsAnEmptyRectanglesCorner)
{
    Rect r{0, 0, 2, 2};
    r.growToInclude({50, 50, 50, 60});
    EXPECT_EQ(r, (Rect{0, 0, 50, 60}));
}

TEST(Rect, SizeHelpers)
{
    EXPECT_EQ(Rect::fromSize(3, 4, 5, 6), (Rect{3, 4, 8, 10}));
    EXPECT_EQ((Rect{1, 2, 3, 4}).translated(-1, 5), (Rect{0, 7, 2, 9}));
    EXPECT_EQ((Rect{1, 2, 3, 4}).inflated(2), (Rect{-1, 0, 5, 6}));
    EXPECT_TRUE((Rect{3, 0, 3, 5}).isEmpty());
    EXPECT_TRUE((Rect{0, 5, 3, 4}).isEmpty());
    EXPECT_FALSE((Rect{0, 0, 1, 1}).isEmpty());
}
