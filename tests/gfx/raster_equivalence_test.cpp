// The fast raster paths against the plain per-pixel reference, on random bitmaps, masks and
// offsets (negative ones and ones past the edges included), pixel for pixel.
#include "gfx/Raster.h"
#include "support/BitmapPattern.h"
#include <gtest/gtest.h>
#include <random>

using gfx::Bitmap;
using gfx::PixelFormat;
using gfx::Rop;
using testing_support::randomBitmap;

namespace {

const PixelFormat kFormats[] = {PixelFormat::Mono1, PixelFormat::Index4, PixelFormat::Bgr24, PixelFormat::Bgrx32};
const Rop kRops[] = {Rop::Copy, Rop::And, Rop::Or};
constexpr int kTrials = 120;

::testing::AssertionResult samePixels(const Bitmap& fast, const Bitmap& reference)
{
    for (int y = 0; y < fast.height(); ++y)
        for (int x = 0; x < fast.width(); ++x) {
            bool opaque = fast.format() != PixelFormat::Bgrx32 || fast.scanLine(y)[4 * x + 3] == 0xFF;
            if (fast.value(x, y) != reference.value(x, y) || !opaque)
                return ::testing::AssertionFailure() << "first difference at " << x << "," << y;
        }
    return ::testing::AssertionSuccess();
}

// Masks with whole bytes clear or set as well as mixed ones, so both the byte and the pixel
// paths of a masked copy run.
Bitmap randomMask(int width, int height, std::mt19937& rng)
{
    Bitmap mask = randomBitmap(width, height, PixelFormat::Mono1, rng);
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < mask.stride(); ++i)
            if (int kind = int(rng() % 3); kind < 2)
                mask.scanLine(y)[i] = kind == 0 ? 0x00 : 0xFF;
    return mask;
}

struct Area {
    int dx, dy, w, h, sx, sy, mx, my;
};

Area randomArea(std::mt19937& rng)
{
    auto offset = [&] { return int(rng() % 60) - 15; };
    auto size = [&] { return int(rng() % 56) - 4; };
    return {offset(), offset(), size(), size(), offset(), offset(), offset(), offset()};
}

int randomSide(std::mt19937& rng) { return 1 + int(rng() % 40); }

// One transfer by both paths from the same start; a null source means the destination itself.
::testing::AssertionResult sameBlit(const Bitmap& start, const Bitmap* src, const Area& a, Rop rop)
{
    Bitmap fast = start, reference = start;
    gfx::bitBlt(fast, a.dx, a.dy, a.w, a.h, src ? *src : fast, a.sx, a.sy, rop);
    gfx::reference::bitBlt(reference, a.dx, a.dy, a.w, a.h, src ? *src : reference, a.sx, a.sy, rop);
    return samePixels(fast, reference);
}

} // namespace

// Between bitmaps of every format pair, and, when the formats agree, within one bitmap.
TEST(RasterEquivalence, BitBltMatchesTheReference)
{
    std::mt19937 rng(20240611);
    for (PixelFormat df : kFormats)
        for (PixelFormat sf : kFormats)
            for (Rop rop : kRops)
                for (int trial = 0; trial < kTrials; ++trial) {
                    Bitmap dst = randomBitmap(randomSide(rng), randomSide(rng), df, rng);
                    Bitmap src = randomBitmap(randomSide(rng), randomSide(rng), sf, rng);
                    bool within = df == sf && trial % 2 == 1;
                    ASSERT_TRUE(sameBlit(dst, within ? nullptr : &src, randomArea(rng), rop))
                        << int(df) << "<-" << int(sf) << " rop " << int(rop) << " trial " << trial
                        << (within ? " within one bitmap" : "");
                }
}

TEST(RasterEquivalence, MaskedCopyMatchesTheReference)
{
    std::mt19937 rng(99);
    for (PixelFormat df : kFormats)
        for (PixelFormat sf : kFormats)
            for (int trial = 0; trial < kTrials; ++trial) {
                Bitmap fast = randomBitmap(randomSide(rng), randomSide(rng), df, rng);
                Bitmap reference = fast;
                Bitmap src = randomBitmap(randomSide(rng), randomSide(rng), sf, rng);
                Bitmap mask = randomMask(randomSide(rng), randomSide(rng), rng);
                Area a = randomArea(rng);
                gfx::maskedCopy(fast, a.dx, a.dy, a.w, a.h, src, a.sx, a.sy, mask, a.mx, a.my);
                gfx::reference::maskedCopy(reference, a.dx, a.dy, a.w, a.h, src, a.sx, a.sy, mask, a.mx, a.my);
                ASSERT_TRUE(samePixels(fast, reference)) << int(df) << "<-" << int(sf) << " trial " << trial;
            }
}

// The masked copy equals the drawing sequence it replaces: AND the mask in, invert it, AND the
// inverted mask into a copy of the tile, OR that copy in.
TEST(RasterEquivalence, MaskedCopyEqualsTheMaskedDrawingSequence)
{
    std::mt19937 rng(5);
    for (int trial = 0; trial < kTrials; ++trial) {
        int side = randomSide(rng);
        Bitmap tile = randomBitmap(side, side, PixelFormat::Bgr24, rng);
        Bitmap mask = randomMask(side, side, rng);
        Bitmap fused = randomBitmap(randomSide(rng) + 20, randomSide(rng) + 20, PixelFormat::Bgrx32, rng);
        Bitmap sequence = fused;
        int x = int(rng() % 70) - 20, y = int(rng() % 70) - 20;

        gfx::maskedCopy(fused, x, y, side, side, tile, 0, 0, mask, 0, 0);

        Bitmap scratch(side, side, PixelFormat::Bgrx32);
        gfx::bitBlt(sequence, x, y, side, side, mask, 0, 0, Rop::And);
        gfx::patBlt(mask, mask.rect(), gfx::Pattern::Invert);
        gfx::bitBlt(scratch, 0, 0, side, side, tile, 0, 0, Rop::Copy);
        gfx::bitBlt(scratch, 0, 0, side, side, mask, 0, 0, Rop::And);
        gfx::bitBlt(sequence, x, y, side, side, scratch, 0, 0, Rop::Or);
        ASSERT_TRUE(samePixels(fused, sequence)) << "trial " << trial;
    }
}
