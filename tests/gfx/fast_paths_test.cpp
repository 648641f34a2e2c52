// Board-sized bitmaps take their bytes from whole pages of the system rather than the heap:
// they must behave like any other bitmap.
#include "gfx/Bitmap.h"
#include "gfx/Raster.h"
#include <gtest/gtest.h>

using gfx::Bitmap;
using gfx::PixelFormat;

namespace {

// Every pixel black, and for Bgrx32 every fourth byte 0xFF.
bool blackAndOpaque(const Bitmap& b)
{
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.value(x, y) != 0 || (b.format() == PixelFormat::Bgrx32 && b.scanLine(y)[4 * x + 3] != 0xFF))
                return false;
    return true;
}

} // namespace

TEST(LargeBitmaps, StartBlackWithOpaqueFourthBytes)
{
    for (PixelFormat f : {PixelFormat::Bgrx32, PixelFormat::Bgr24, PixelFormat::Mono1})
        EXPECT_TRUE(blackAndOpaque(Bitmap(1920, 1080, f))) << int(f);
}

// A released bitmap's pages may be kept for one whose pixels are undefined, never for one
// that must start black.
TEST(LargeBitmaps, ReleasedPixelsNeverReachANewBitmap)
{
    for (PixelFormat f : {PixelFormat::Bgrx32, PixelFormat::Bgr24}) {
        for (int round = 0; round < 3; ++round) {
            Bitmap painted = Bitmap::uninitialized(1920, 1080, f);
            gfx::fillRect(painted, painted.rect(), gfx::rgb(200, 100, 50));
        }
        EXPECT_TRUE(blackAndOpaque(Bitmap(1920, 1080, f))) << int(f);
        Bitmap undefined = Bitmap::uninitialized(1920, 1080, f);
        EXPECT_EQ(undefined.stride(), Bitmap::strideFor(1920, f));
        if (f == PixelFormat::Bgrx32) {
            EXPECT_EQ(undefined.scanLine(1079)[4 * 1919 + 3], 0xFF);
        }
    }
}

TEST(LargeBitmaps, CopiesAreWholeAndIndependent)
{
    Bitmap original(1920, 1080, PixelFormat::Bgrx32);
    gfx::fillRect(original, {1900, 1070, 1920, 1080}, gfx::rgb(1, 2, 3));
    Bitmap copy = original;
    Bitmap assigned(8, 8, PixelFormat::Bgrx32);
    assigned = original;
    gfx::fillRect(original, original.rect(), gfx::rgb(9, 9, 9));
    for (const Bitmap* b : {&copy, &assigned}) {
        EXPECT_EQ(b->value(1919, 1079), gfx::rgb(1, 2, 3));
        EXPECT_EQ(b->value(1899, 1069), 0u);
    }
}

TEST(LargeBitmaps, ResizeKeepsTheTopLeftAreaAndZeroesTheRest)
{
    Bitmap b(1000, 1000, PixelFormat::Bgr24);
    gfx::fillRect(b, b.rect(), gfx::rgb(5, 6, 7));
    b.resize(1500, 1200);
    EXPECT_EQ(b.value(999, 999), gfx::rgb(5, 6, 7));
    EXPECT_EQ(b.value(1000, 999), 0u);
    EXPECT_EQ(b.value(999, 1000), 0u);
    EXPECT_EQ(b.value(1499, 1199), 0u);
}
