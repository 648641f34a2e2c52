// The fast raster paths against the plain per-pixel reference, on random bitmaps, masks and
// offsets (negative ones and ones past the edges included), pixel for pixel, with every set of
// row kernels this processor can run.
#include "gfx/ChannelMap.h"
#include "gfx/Raster.h"
#include "gfx/RasterRows.h"
#include "gfx/Shade.h"
#include "support/BitmapPattern.h"
#include <gtest/gtest.h>
#include <random>
#include <utility>
#include <vector>

using gfx::Bitmap;
using gfx::PixelFormat;
using gfx::Rop;
using testing_support::randomBitmap;
namespace rows = gfx::rows;

namespace {

// Runs check once with each set of row kernels this processor runs, that set in use meanwhile.
template <class Check>
void withEachKernelSet(Check check)
{
    const std::pair<rows::Isa, const char*> sets[] = {
        {rows::Isa::Portable, "portable kernels"}, {rows::Isa::Avx2, "AVX2 kernels"}, {rows::Isa::Avx512, "AVX-512 kernels"}};
    for (auto [isa, name] : sets) {
        if (!rows::use(isa))
            continue;
        SCOPED_TRACE(name);
        check();
        rows::use(rows::bestIsa());
    }
}

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

// A random destination twice, one for each path, and a random source.
struct Start {
    Bitmap fast, reference, src;
};

Start randomStart(PixelFormat df, PixelFormat sf, std::mt19937& rng)
{
    Bitmap dst = randomBitmap(randomSide(rng), randomSide(rng), df, rng);
    Bitmap src = randomBitmap(randomSide(rng), randomSide(rng), sf, rng);
    return {dst, dst, src};
}

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
    withEachKernelSet([] {
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
    });
}

TEST(RasterEquivalence, MaskedCopyMatchesTheReference)
{
    withEachKernelSet([] {
        std::mt19937 rng(99);
        for (PixelFormat df : kFormats)
            for (PixelFormat sf : kFormats)
                for (int trial = 0; trial < kTrials; ++trial) {
                    auto [fast, reference, src] = randomStart(df, sf, rng);
                    Bitmap mask = randomMask(randomSide(rng), randomSide(rng), rng);
                    Area a = randomArea(rng);
                    gfx::maskedCopy(fast, a.dx, a.dy, a.w, a.h, src, a.sx, a.sy, mask, a.mx, a.my);
                    gfx::reference::maskedCopy(reference, a.dx, a.dy, a.w, a.h, src, a.sx, a.sy, mask, a.mx, a.my);
                    ASSERT_TRUE(samePixels(fast, reference)) << int(df) << "<-" << int(sf) << " trial " << trial;
                }
    });
}

// The masked copy equals the drawing sequence it replaces: AND the mask in, invert it, AND the
// inverted mask into a copy of the tile, OR that copy in.
TEST(RasterEquivalence, MaskedCopyEqualsTheMaskedDrawingSequence)
{
    withEachKernelSet([] {
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
    });
}

// A source whose rows have no padding ends where its last pixel does: the kernels that read
// ahead must stop short of the end (an address sanitizer build sees any byte read past it).
TEST(RasterEquivalence, CopiesReadNothingPastTheSourcesStorage)
{
    withEachKernelSet([] {
        std::mt19937 rng(7);
        for (int w : {8, 12, 16, 20, 24, 28, 32, 40})
            for (int h : {1, 2, 3}) {
                Bitmap src = randomBitmap(w, h, PixelFormat::Bgr24, rng);
                ASSERT_EQ(src.stride(), 3 * w);
                Bitmap inside(w, h, PixelFormat::Mono1);
                Bitmap start = randomBitmap(w, h, PixelFormat::Bgrx32, rng);
                Bitmap fast = start, reference = start;
                gfx::bitBlt(fast, 0, 0, w, h, src, 0, 0, Rop::Copy);
                gfx::reference::bitBlt(reference, 0, 0, w, h, src, 0, 0, Rop::Copy);
                ASSERT_TRUE(samePixels(fast, reference)) << "copy " << w << " x " << h;
                fast = start;
                gfx::maskedCopy(fast, 0, 0, w, h, src, 0, 0, inside, 0, 0);
                ASSERT_TRUE(samePixels(fast, reference)) << "masked copy " << w << " x " << h;
            }
    });
}

TEST(RasterEquivalence, PatBltMatchesTheReference)
{
    std::mt19937 rng(11);
    for (PixelFormat f : kFormats)
        for (gfx::Pattern pattern : {gfx::Pattern::White, gfx::Pattern::Black, gfx::Pattern::Invert})
            for (int trial = 0; trial < kTrials; ++trial) {
                Bitmap fast = randomBitmap(randomSide(rng), randomSide(rng), f, rng);
                Bitmap reference = fast;
                Area a = randomArea(rng);
                gfx::Rect r = gfx::Rect::fromSize(a.dx, a.dy, a.w, a.h);
                gfx::patBlt(fast, r, pattern);
                gfx::reference::patBlt(reference, r, pattern);
                ASSERT_TRUE(samePixels(fast, reference)) << int(f) << " pattern " << int(pattern) << " trial " << trial;
            }
    // Rows without padding filled from end to end, whole bitmaps and bands of rows.
    for (PixelFormat f : {PixelFormat::Mono1, PixelFormat::Index4})
        for (int width : {8, 32, 64})
            for (gfx::Pattern pattern : {gfx::Pattern::White, gfx::Pattern::Black, gfx::Pattern::Invert})
                for (gfx::Rect r : {gfx::Rect{0, 0, width, 9}, gfx::Rect{0, 3, width, 7}}) {
                    Bitmap fast = randomBitmap(width, 9, f, rng);
                    Bitmap reference = fast;
                    gfx::patBlt(fast, r, pattern);
                    gfx::reference::patBlt(reference, r, pattern);
                    ASSERT_TRUE(samePixels(fast, reference)) << int(f) << " width " << width << " rows " << r.top;
                }
}

// Shrinking, growing and mirrored-size rectangles, partly outside either bitmap, between
// bitmaps and within one.
TEST(RasterEquivalence, StretchBltMatchesTheReference)
{
    std::mt19937 rng(13);
    auto rect = [&] {
        Area a = randomArea(rng);
        return gfx::Rect::fromSize(a.dx, a.dy, a.w, a.h);
    };
    for (PixelFormat df : kFormats)
        for (PixelFormat sf : kFormats)
            for (int trial = 0; trial < kTrials; ++trial) {
                auto [fast, reference, src] = randomStart(df, sf, rng);
                bool within = df == sf && trial % 3 == 0;
                gfx::Rect d = rect(), s = rect();
                gfx::stretchBlt(fast, d, within ? fast : src, s);
                gfx::reference::stretchBlt(reference, d, within ? reference : src, s);
                ASSERT_TRUE(samePixels(fast, reference)) << int(df) << "<-" << int(sf) << " trial " << trial;
            }    // Rows without padding, read up to the source's very last pixel: the thumbnail's halving and
    // a stretch that widens.
    for (int width : {4, 8, 20})
        for (gfx::Rect d : {gfx::Rect{0, 0, width / 2, 5}, gfx::Rect{0, 0, 2 * width, 10}}) {
            Bitmap src = randomBitmap(width, 10, PixelFormat::Bgr24, rng);
            Bitmap fast = randomBitmap(2 * width, 10, PixelFormat::Bgr24, rng);
            Bitmap reference = fast;
            gfx::stretchBlt(fast, d, src, src.rect());
            gfx::reference::stretchBlt(reference, d, src, src.rect());
            ASSERT_TRUE(samePixels(fast, reference)) << "width " << width << " to " << d.width();
        }
}

// Squares of the pieces' sizes at byte-aligned places, sides that leave strips beside the
// kernels' 8 x 8 blocks, odd ones anywhere, one ending at the bitmap's last pixel, ones too large
// for the fast paths, and ones reaching outside the bitmap (which stay as they are).
TEST(RasterEquivalence, QuarterTurnMatchesTheReference)
{
    withEachKernelSet([] {
        std::mt19937 rng(17);
        struct Square {
            int left, top, side;
        };
        const Square squares[] = {{0, 0, 48},  {96, 8, 96},   {48, 0, 64}, {8, 3, 80}, {0, 0, 60},
                                  {12, 30, 44}, {152, 152, 48}, {5, 7, 17}, {1, 0, 8},  {0, 0, 1},
                                  {3, 2, 100}, {90, 90, 64},  {-1, 0, 8}};
        for (PixelFormat f : kFormats)
            for (const Square& sq : squares)
                for (int angle : {90, 270, 180}) {
                    Bitmap fast = randomBitmap(200, 200, f, rng);
                    Bitmap reference = fast;
                    gfx::Rect r = gfx::Rect::fromSize(sq.left, sq.top, sq.side, sq.side);
                    gfx::quarterTurn(fast, r, angle);
                    gfx::reference::quarterTurn(reference, r, angle);
                    ASSERT_TRUE(samePixels(fast, reference))
                        << int(f) << " square " << sq.left << "," << sq.top << " side " << sq.side << " angle "
                        << angle;
                }
    });
}

// Squares against two quarter turns of the reference, other rectangles against its half turn:
// the pieces' sizes, odd ones anywhere, ones too wide for the fast paths, and ones reaching
// outside the bitmap (which stay as they are).
TEST(RasterEquivalence, HalfTurnMatchesTheReference)
{
    withEachKernelSet([] {
        std::mt19937 rng(29);
        const gfx::Rect rects[] = {gfx::Rect::fromSize(0, 0, 48, 48),  gfx::Rect::fromSize(96, 8, 96, 96),
                                   gfx::Rect::fromSize(8, 3, 80, 80),  gfx::Rect::fromSize(5, 7, 17, 17),
                                   gfx::Rect::fromSize(16, 5, 40, 9),  gfx::Rect::fromSize(3, 2, 13, 30),
                                   gfx::Rect::fromSize(0, 0, 1, 1),    gfx::Rect::fromSize(1, 0, 120, 40),
                                   gfx::Rect::fromSize(152, 152, 48, 48), gfx::Rect::fromSize(-1, 0, 8, 8)};
        for (PixelFormat f : kFormats)
            for (const gfx::Rect& r : rects) {
                Bitmap fast = randomBitmap(200, 200, f, rng);
                Bitmap reference = fast;
                gfx::halfTurn(fast, r);
                if (r.width() == r.height()) {
                    Bitmap referenceHalf = reference;
                    gfx::reference::halfTurn(referenceHalf, r);
                    gfx::reference::quarterTurn(reference, r, 90);
                    gfx::reference::quarterTurn(reference, r, 90);
                    ASSERT_TRUE(samePixels(referenceHalf, reference)) << int(f) << " side " << r.width();
                } else {
                    gfx::reference::halfTurn(reference, r);
                }
                ASSERT_TRUE(samePixels(fast, reference))
                    << int(f) << " rect " << r.left << "," << r.top << " " << r.width() << " x " << r.height();
            }
    });
}

// Maps with long blank stretches, as pieces have, and codes of every value, laid anywhere.
TEST(RasterEquivalence, ShadeByMapMatchesTheReference)
{
    withEachKernelSet([] {
        std::mt19937 rng(19);
        for (PixelFormat f : {PixelFormat::Bgr24, PixelFormat::Bgrx32})
            for (int trial = 0; trial < kTrials; ++trial) {
                Bitmap map = randomBitmap(randomSide(rng) + 16, randomSide(rng), PixelFormat::Index4, rng);
                for (int y = 0; y < map.height(); ++y)
                    for (int x = 0; x < map.width(); ++x)
                        if (rng() % 4)
                            map.setValue(x, y, 15);
                Bitmap fast = randomBitmap(randomSide(rng) + 16, randomSide(rng), f, rng);
                Bitmap reference = fast;
                // Steps beyond a byte, and below 0, too: those leave the kernels' saturating path.
                int x = int(rng() % 40) - 20, y = int(rng() % 40) - 20, step = int(rng() % 300) - 20;
                gfx::shadeByMap(fast, x, y, map, step);
                gfx::reference::shadeByMap(reference, x, y, map, step);
                ASSERT_TRUE(samePixels(fast, reference)) << int(f) << " trial " << trial << " step " << step;
            }
    });
}

// Rows of every length around the kernels' 64-byte steps, and parts of rows.
TEST(RasterEquivalence, MapChannelsLooksEveryChannelUp)
{
    withEachKernelSet([] {
        std::mt19937 rng(23);
        std::array<std::uint8_t, 256> table{};
        for (auto& entry : table)
            entry = std::uint8_t(rng());
        for (PixelFormat f : {PixelFormat::Bgr24, PixelFormat::Bgrx32})
            for (int trial = 0; trial < kTrials; ++trial) {
                Bitmap mapped = randomBitmap(1 + int(rng() % 90), randomSide(rng), f, rng);
                Bitmap expected = mapped;
                Area a = randomArea(rng);
                const gfx::Rect r = gfx::Rect::fromSize(a.dx, a.dy, a.w + 40, a.h);
                gfx::mapChannels(mapped, r, table);
                for (int y = 0; y < expected.height(); ++y)
                    for (int x = 0; x < expected.width(); ++x)
                        if (gfx::Color c = expected.value(x, y); r.contains(x, y))
                            expected.setValue(x, y, gfx::rgb(table[gfx::redOf(c)], table[gfx::greenOf(c)],
                                                             table[gfx::blueOf(c)]));
                ASSERT_TRUE(samePixels(mapped, expected)) << int(f) << " trial " << trial;
            }
    });
}
