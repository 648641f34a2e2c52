#include "gfx/Raster.h"
#include "gfx/Shade.h"
#include <gtest/gtest.h>

namespace {

using gfx::Bitmap;
using gfx::PixelFormat;

struct ShadeCase {
    std::uint32_t code;
    int before;
    int after;
};

// Each code goes with one channel value; a map of one pixel per case lights or darkens it.
const ShadeCase kShadeCases[] = {
    {1, 0, 50},    {1, 205, 255}, {1, 206, 255}, {1, 250, 255}, // brighten, capped at 255
    {2, 255, 205}, {2, 49, 0},    {2, 50, 0},    {2, 51, 1},    // darken, floored at 0
    {9, 100, 150}, {10, 100, 50},                               // only the low three bits count
    {0, 100, 100}, {3, 100, 100}, {12, 100, 100}, {15, 100, 100}, // nothing, outside, plain, blank
};

TEST(ShadeByMap, EachCodeLightsDarkensOrKeepsEveryChannel)
{
    for (PixelFormat format : {PixelFormat::Bgr24, PixelFormat::Bgrx32}) {
        int n = int(std::size(kShadeCases));
        Bitmap dst(n, 1, format);
        Bitmap map(n, 1, PixelFormat::Index4);
        for (int i = 0; i < n; ++i) {
            int v = kShadeCases[i].before;
            dst.setValue(i, 0, gfx::rgb(v, v, v));
            map.setValue(i, 0, kShadeCases[i].code);
        }
        gfx::shadeByMap(dst, 0, 0, map, 50);
        for (int i = 0; i < n; ++i) {
            int v = kShadeCases[i].after;
            EXPECT_EQ(dst.value(i, 0), gfx::rgb(v, v, v)) << "code " << kShadeCases[i].code << " on "
                                                           << kShadeCases[i].before;
        }
        if (format == PixelFormat::Bgrx32) {
            EXPECT_EQ(dst.scanLine(0)[3], 0xFF);
        }
    }
}

TEST(ShadeByMap, ChannelsAreShadedApart)
{
    Bitmap dst(2, 1, PixelFormat::Bgr24);
    dst.setValue(0, 0, gfx::rgb(10, 128, 230));
    dst.setValue(1, 0, gfx::rgb(10, 128, 230));
    Bitmap map(2, 1, PixelFormat::Index4);
    map.setValue(0, 0, 1);
    map.setValue(1, 0, 2);
    gfx::shadeByMap(dst, 0, 0, map, 50);
    EXPECT_EQ(dst.value(0, 0), gfx::rgb(60, 178, 255));
    EXPECT_EQ(dst.value(1, 0), gfx::rgb(0, 78, 180));
}

// A map hanging over any edge shades only the pixels it covers inside the destination.
TEST(ShadeByMap, MapOutsideTheDestinationIsSkipped)
{
    const int offsets[][2] = {{-3, -3}, {3, 3}, {-3, 3}, {3, -3}, {-20, 0}, {0, 20}};
    for (const auto& o : offsets) {
        Bitmap dst(6, 6, PixelFormat::Bgr24);
        gfx::fillRect(dst, dst.rect(), gfx::rgb(100, 100, 100));
        Bitmap map(6, 6, PixelFormat::Index4);
        gfx::patBlt(map, map.rect(), gfx::Pattern::White);
        gfx::fillRect(map, map.rect(), gfx::rgb(128, 0, 0));
        gfx::shadeByMap(dst, o[0], o[1], map, 50);
        gfx::Rect covered = gfx::intersected(gfx::Rect::fromSize(o[0], o[1], 6, 6), dst.rect());
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x) {
                int v = covered.contains(x, y) ? 150 : 100;
                ASSERT_EQ(dst.value(x, y), gfx::rgb(v, v, v)) << x << "," << y << " offset " << o[0] << "," << o[1];
            }
    }
}

TEST(ShadeByMap, OnlyColourDestinationsAndFourBitMapsTakePart)
{
    Bitmap mono(8, 1, PixelFormat::Mono1);
    Bitmap map(8, 1, PixelFormat::Index4);
    gfx::fillRect(map, map.rect(), gfx::rgb(128, 0, 0));
    gfx::shadeByMap(mono, 0, 0, map, 50);
    EXPECT_EQ(mono.scanLine(0)[0], 0);

    Bitmap colour(8, 1, PixelFormat::Bgr24);
    Bitmap notAMap(8, 1, PixelFormat::Bgr24);
    gfx::fillRect(notAMap, notAMap.rect(), gfx::rgb(1, 1, 1));
    gfx::shadeByMap(colour, 0, 0, notAMap, 50);
    EXPECT_EQ(colour.value(0, 0), gfx::kBlack);
}

} // namespace
