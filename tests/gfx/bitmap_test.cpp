#include "gfx/Bitmap.h"
#include "gfx/GfxError.h"
#include "gfx/Palette16.h"
#include "support/BitmapPattern.h"
#include <gtest/gtest.h>

using gfx::Bitmap;
using gfx::PixelFormat;
using testing_support::Drawing;
using testing_support::drawingOf;
using testing_support::makeBitmap;

TEST(Bitmap, StridesArePaddedToFourBytes)
{
    struct Case {
        PixelFormat format;
        int width, stride;
    };
    const Case cases[] = {
        {PixelFormat::Mono1, 1, 4},  {PixelFormat::Mono1, 32, 4},  {PixelFormat::Mono1, 33, 8},
        {PixelFormat::Mono1, 96, 12}, {PixelFormat::Index4, 1, 4}, {PixelFormat::Index4, 8, 4},
        {PixelFormat::Index4, 9, 8}, {PixelFormat::Bgr24, 1, 4},   {PixelFormat::Bgr24, 4, 12},
        {PixelFormat::Bgr24, 5, 16}, {PixelFormat::Bgrx32, 3, 12},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Bitmap::strideFor(c.width, c.format), c.stride) << c.width;
        EXPECT_EQ(Bitmap(c.width, 2, c.format).stride(), c.stride) << c.width;
    }
}

TEST(Bitmap, StartsZeroedWithOpaqueFourthBytes)
{
    Bitmap rgb(3, 2, PixelFormat::Bgr24);
    EXPECT_EQ(drawingOf(rgb), (Drawing{"kkk", "kkk"}));
    Bitmap rgbx(3, 2, PixelFormat::Bgrx32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(rgbx.value(x, y), 0u);
            EXPECT_EQ(rgbx.scanLine(y)[4 * x + 3], 0xFF);
        }
}

TEST(Bitmap, SizesThatCannotBeMade)
{
    EXPECT_THROW(Bitmap(-1, 4, PixelFormat::Bgr24), gfx::AllocationError);
    EXPECT_THROW(Bitmap(4, -1, PixelFormat::Mono1), gfx::AllocationError);
    EXPECT_THROW(Bitmap(1 << 16, 1 << 16, PixelFormat::Bgr24), gfx::AllocationError);
    EXPECT_TRUE(Bitmap(0, 5, PixelFormat::Bgr24).isNull());
    EXPECT_TRUE(Bitmap().isNull());
}

TEST(Bitmap, BitsAndNibblesRunMostSignificantFirst)
{
    Bitmap mono = makeBitmap(PixelFormat::Mono1, {"100000001"});
    EXPECT_EQ(mono.scanLine(0)[0], 0x80);
    EXPECT_EQ(mono.scanLine(0)[1], 0x80);
    Bitmap map = makeBitmap(PixelFormat::Index4, {"c3f"});
    EXPECT_EQ(map.scanLine(0)[0], 0xC3);
    EXPECT_EQ(map.scanLine(0)[1], 0xF0);
    Bitmap rgb = makeBitmap(PixelFormat::Bgr24, {"rb"});
    const std::uint8_t* p = rgb.scanLine(0);
    EXPECT_EQ(std::vector<int>(p, p + 6), (std::vector<int>{0, 0, 255, 255, 0, 0})) << "blue, green, red";
}

TEST(Bitmap, ColoursShownByMasksAndPaletteMaps)
{
    Bitmap mono = makeBitmap(PixelFormat::Mono1, {"01"});
    EXPECT_EQ(mono.colorAt(0, 0), gfx::kBlack);
    EXPECT_EQ(mono.colorAt(1, 0), gfx::kWhite);

    struct Case {
        int index;
        gfx::Color color;
    };
    const Case cases[] = {
        {1, gfx::rgb(128, 0, 0)}, {2, gfx::rgb(0, 128, 0)}, {3, gfx::rgb(128, 128, 0)},
        {12, gfx::rgb(0, 0, 255)}, {15, gfx::rgb(255, 255, 255)}, {0, gfx::rgb(0, 0, 0)},
    };
    Bitmap map(16, 1, PixelFormat::Index4);
    for (const Case& c : cases) {
        map.setValue(c.index, 0, c.index);
        EXPECT_EQ(map.colorAt(c.index, 0), c.color) << c.index;
        EXPECT_EQ(gfx::nearestPaletteIndex(c.color), c.index);
    }
}

TEST(Bitmap, NearestPaletteIndex)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(gfx::nearestPaletteIndex(gfx::kPalette16[i]), i);
    EXPECT_EQ(gfx::nearestPaletteIndex(gfx::rgb(250, 10, 5)), 9);
    EXPECT_EQ(gfx::nearestPaletteIndex(gfx::rgb(20, 20, 20)), 0);
    EXPECT_EQ(gfx::nearestPaletteIndex(gfx::rgb(200, 200, 200)), 8);
}

TEST(Bitmap, ResizeKeepsTheTopLeftAreaAndZeroesTheRest)
{
    Bitmap b = makeBitmap(PixelFormat::Bgr24, {"rgb", "cmy"});
    b.resize(4, 3);
    EXPECT_EQ(drawingOf(b), (Drawing{"rgbk", "cmyk", "kkkk"}));
    b.resize(2, 1);
    EXPECT_EQ(drawingOf(b), (Drawing{"rg"}));
    b.resize(0, 0);
    EXPECT_TRUE(b.isNull());
    b.resize(1, 1);
    EXPECT_EQ(drawingOf(b), (Drawing{"k"}));
}

// Pixels cut off by a shrink may linger in the row padding; growing again must not bring them back.
TEST(Bitmap, ResizeAfterShrinkGrowsZeroedPixels)
{
    struct Case {
        PixelFormat format;
        Drawing full, shrunkAndGrown;
    };
    const Case cases[] = {
        {PixelFormat::Mono1, {"111111111"}, {"111000000"}},
        {PixelFormat::Index4, {"fffff"}, {"fff00"}},
        {PixelFormat::Bgr24, {"wwww"}, {"wwwk"}},
        {PixelFormat::Bgrx32, {"wwww"}, {"wwwk"}},
    };
    for (const Case& c : cases) {
        Bitmap b = makeBitmap(c.format, c.full);
        int width = b.width();
        b.resize(3, 1);
        b.resize(width, 1);
        EXPECT_EQ(drawingOf(b), c.shrunkAndGrown) << int(c.format);
    }
}

// A shrink packs the kept rows closer together where the stride narrows; every kept pixel stays,
// the row ends are zeroed, and the storage stays where it is.
TEST(Bitmap, ShrinkPacksTheRowsInPlace)
{
    for (PixelFormat f : {PixelFormat::Mono1, PixelFormat::Index4, PixelFormat::Bgr24, PixelFormat::Bgrx32}) {
        Bitmap b(45, 7, f);
        const std::uint32_t domain = f == PixelFormat::Mono1 ? 2 : f == PixelFormat::Index4 ? 16 : 1u << 24;
        auto valueAt = [domain](int x, int y) { return std::uint32_t(x * 2654435761u + y * 40503u) % domain; };
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 45; ++x)
                b.setValue(x, y, valueAt(x, y));
        const std::uint8_t* storage = b.bits();
        b.resize(11, 5);
        EXPECT_EQ(b.bits(), storage) << int(f);
        ASSERT_EQ(b.stride(), Bitmap::strideFor(11, f));
        Bitmap grown = b;
        grown.resize(45, 5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 45; ++x)
                ASSERT_EQ(grown.value(x, y), x < 11 ? valueAt(x, y) : 0u) << int(f) << " at " << x << "," << y;
    }
}

TEST(Bitmap, ResizeKeepsFourthBytesOpaque)
{
    Bitmap b(1, 1, PixelFormat::Bgrx32);
    b.resize(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(b.scanLine(y)[4 * x + 3], 0xFF);
}
