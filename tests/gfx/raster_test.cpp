// The raster operations on small drawn bitmaps. Every block transfer and masked copy runs through
// both the fast path and the plain reference path, which must agree with the expected drawing.
#include "gfx/Raster.h"
#include "gfx/Palette16.h"
#include "support/BitmapPattern.h"
#include <climits>
#include <gtest/gtest.h>

using gfx::Bitmap;
using gfx::Pattern;
using gfx::PixelFormat;
using gfx::Rect;
using gfx::Rop;
using testing_support::Drawing;
using testing_support::drawingOf;
using testing_support::makeBitmap;

namespace {

constexpr PixelFormat M1 = PixelFormat::Mono1, I4 = PixelFormat::Index4, C24 = PixelFormat::Bgr24,
                      C32 = PixelFormat::Bgrx32;

using BlitFn = void (*)(Bitmap&, int, int, int, int, const Bitmap&, int, int, Rop);
using MaskedFn = void (*)(Bitmap&, int, int, int, int, const Bitmap&, int, int, const Bitmap&, int, int);

struct BlitPath {
    const char* name;
    BlitFn blit;
    MaskedFn masked;
};
const BlitPath kPaths[] = {
    {"fast", &gfx::bitBlt, &gfx::maskedCopy},
    {"reference", &gfx::reference::bitBlt, &gfx::reference::maskedCopy},
};

} // namespace

TEST(BitBlt, CombinesInTheDestinationsDomain)
{
    struct Case {
        const char* name;
        PixelFormat df;
        Drawing dst;
        PixelFormat sf;
        Drawing src;
        Rop rop;
        Drawing expected;
    };
    const Case cases[] = {
        {"24 into 32, copy", C32, {"kkkk", "wwww"}, C24, {"rgbw", "cmyk"}, Rop::Copy, {"rgbw", "cmyk"}},
        {"32 into 24, copy", C24, {"wwww"}, C32, {"rgbk"}, Rop::Copy, {"rgbk"}},
        {"24 into 24, copy", C24, {"wwww"}, C24, {"rgbk"}, Rop::Copy, {"rgbk"}},
        {"32 into 32, copy", C32, {"wwww"}, C32, {"rgbk"}, Rop::Copy, {"rgbk"}},
        {"24 into 32, and", C32, {"yycw"}, C24, {"rcyk"}, Rop::And, {"rggk"}},
        {"32 into 24, or", C24, {"RrGk"}, C32, {"GgRk"}, Rop::Or, {"OyOk"}},
        {"mask into 24, and", C24, {"rgby"}, M1, {"0101"}, Rop::And, {"kgky"}},
        {"mask into 32, and", C32, {"rgby"}, M1, {"0101"}, Rop::And, {"kgky"}},
        {"mask into 24, or", C24, {"rgby"}, M1, {"0101"}, Rop::Or, {"rwbw"}},
        {"mask into 32, or", C32, {"rgby"}, M1, {"0101"}, Rop::Or, {"rwbw"}},
        {"mask into 24, copy", C24, {"rgby"}, M1, {"0110"}, Rop::Copy, {"kwwk"}},
        {"mask into 32, copy", C32, {"rgby"}, M1, {"0110"}, Rop::Copy, {"kwwk"}},
        {"mask into mask, copy", M1, {"0011"}, M1, {"0101"}, Rop::Copy, {"0101"}},
        {"mask into mask, and", M1, {"0011"}, M1, {"0101"}, Rop::And, {"0001"}},
        {"mask into mask, or", M1, {"0011"}, M1, {"0101"}, Rop::Or, {"0111"}},
        {"map into map, and", I4, {"3333c"}, I4, {"12cf1"}, Rop::And, {"12030"}},
        {"map into map, copy", I4, {"3333c"}, I4, {"12cf1"}, Rop::Copy, {"12cf1"}},
        {"24 into mask: white is 1", M1, {"0000"}, C24, {"wkxw"}, Rop::Copy, {"1001"}},
        {"32 into mask: white is 1", M1, {"1111"}, C32, {"wkxw"}, Rop::And, {"1001"}},
        {"mask into map: all bits", I4, {"00"}, M1, {"01"}, Rop::Copy, {"0f"}},
        {"mask into map, and", I4, {"3c"}, M1, {"01"}, Rop::And, {"0c"}},
        {"24 into map: nearest", I4, {"0000"}, C24, {"rRGb"}, Rop::Copy, {"912c"}},
        {"map into 24: palette", C24, {"kkkk"}, I4, {"123f"}, Rop::Copy, {"RGOw"}},
    };
    for (const Case& c : cases)
        for (const BlitPath& path : kPaths) {
            Bitmap dst = makeBitmap(c.df, c.dst);
            Bitmap src = makeBitmap(c.sf, c.src);
            path.blit(dst, 0, 0, src.width(), src.height(), src, 0, 0, c.rop);
            EXPECT_EQ(drawingOf(dst), c.expected) << c.name << " (" << path.name << ")";
        }
}

TEST(BitBlt, ClipsAgainstBothBitmaps)
{
    const Drawing dstStart{"kkkk", "kkkk", "kkkk"};
    const Drawing src{"rgb", "cmy", "wRG"};
    struct Case {
        const char* name;
        int dx, dy, w, h, sx, sy;
        Drawing expected;
    };
    const Case cases[] = {
        {"inside", 1, 1, 2, 1, 0, 0, {"kkkk", "krgk", "kkkk"}},
        {"past the bottom", 1, 1, 3, 3, 0, 0, {"kkkk", "krgb", "kcmy"}},
        {"past the right", 2, 0, 3, 3, 0, 0, {"kkrg", "kkcm", "kkwR"}},
        {"negative destination", -1, -1, 3, 3, 0, 0, {"mykk", "RGkk", "kkkk"}},
        {"negative source", 0, 0, 3, 3, -1, -1, {"kkkk", "krgk", "kcmk"}},
        {"source offset past its right", 0, 0, 4, 3, 1, 0, {"gbkk", "mykk", "RGkk"}},
        {"huge size", 0, 0, 1000, 1000, 0, 0, {"rgbk", "cmyk", "wRGk"}},
        {"zero width", 0, 0, 0, 3, 0, 0, dstStart},
        {"negative height", 0, 0, 3, -2, 0, 0, dstStart},
        {"beyond the destination", 4, 0, 3, 3, 0, 0, dstStart},
        {"beyond the source", 0, 0, 3, 3, 0, 3, dstStart},
        {"far negative", INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0, dstStart},
        {"far source", 0, 0, 3, 3, INT_MAX, INT_MIN, dstStart},
    };
    const std::pair<PixelFormat, PixelFormat> pairs[] = {{C24, C24}, {C32, C24}, {C24, C32}, {C32, C32}};
    for (const Case& c : cases)
        for (auto [df, sf] : pairs)
            for (const BlitPath& path : kPaths) {
                Bitmap d = makeBitmap(df, dstStart);
                Bitmap s = makeBitmap(sf, src);
                path.blit(d, c.dx, c.dy, c.w, c.h, s, c.sx, c.sy, Rop::Copy);
                EXPECT_EQ(drawingOf(d), c.expected) << c.name << " " << int(df) << "<-" << int(sf) << " (" << path.name << ")";
            }
}

TEST(BitBlt, MaskClipsLikeColour)
{
    for (const BlitPath& path : kPaths) {
        Bitmap d = makeBitmap(C32, {"rrrr", "rrrr"});
        Bitmap mask = makeBitmap(M1, {"001", "101"});
        path.blit(d, -1, 1, 9, 9, mask, 0, 0, Rop::And);
        EXPECT_EQ(drawingOf(d), (Drawing{"rrrr", "krrr"})) << path.name;
        path.blit(d, 2, -1, 9, 9, mask, 0, 0, Rop::And);
        EXPECT_EQ(drawingOf(d), (Drawing{"rrrk", "krrr"})) << path.name;
    }
}

// A transfer within one bitmap reads the source as it was before the transfer.
TEST(BitBlt, OverlappingTransfersWithinOneBitmap)
{
    const Drawing start{"rgbk", "cmyk", "wRGk"};
    struct Case {
        const char* name;
        int dx, dy, w, h, sx, sy;
        Rop rop;
        Drawing expected;
    };
    const Case cases[] = {
        {"right by one", 1, 0, 3, 3, 0, 0, Rop::Copy, {"rrgb", "ccmy", "wwRG"}},
        {"left by one", 0, 0, 3, 3, 1, 0, Rop::Copy, {"gbkk", "mykk", "RGkk"}},
        {"down by one", 0, 1, 4, 2, 0, 0, Rop::Copy, {"rgbk", "rgbk", "cmyk"}},
        {"up by one", 0, 0, 4, 2, 0, 1, Rop::Copy, {"cmyk", "wRGk", "wRGk"}},
        {"down and right", 1, 1, 3, 2, 0, 0, Rop::Copy, {"rgbk", "crgb", "wcmy"}},
        {"right by one, or", 1, 0, 3, 3, 0, 0, Rop::Or, {"rycb", "cwwy", "wwOG"}},
        {"left by one, and", 0, 0, 3, 1, 1, 0, Rop::And, {"kkkk", "cmyk", "wRGk"}},
    };
    for (const Case& c : cases)
        for (PixelFormat f : {C24, C32})
            for (const BlitPath& path : kPaths) {
                Bitmap b = makeBitmap(f, start);
                path.blit(b, c.dx, c.dy, c.w, c.h, b, c.sx, c.sy, c.rop);
                EXPECT_EQ(drawingOf(b), c.expected) << c.name << " " << int(f) << " (" << path.name << ")";
            }
    for (const BlitPath& path : kPaths) {
        Bitmap mask = makeBitmap(M1, {"01101"});
        path.blit(mask, 1, 0, 4, 1, mask, 0, 0, Rop::Copy);
        EXPECT_EQ(drawingOf(mask), (Drawing{"00110"})) << path.name;
        mask = makeBitmap(M1, {"01101"});
        path.blit(mask, 1, 0, 4, 1, mask, 0, 0, Rop::Or);
        EXPECT_EQ(drawingOf(mask), (Drawing{"01111"})) << path.name;
    }
}

TEST(PatBlt, WhiteBlackAndInvertInEveryFormat)
{
    struct Case {
        PixelFormat format;
        Drawing start;
        Rect r;
        Pattern pattern;
        Drawing expected;
    };
    const Rect everything{-5, -5, 100, 100};
    const Case cases[] = {
        {M1, {"0101", "0101"}, {1, 0, 3, 2}, Pattern::White, {"0111", "0111"}},
        {M1, {"0101", "0101"}, {1, 0, 3, 2}, Pattern::Black, {"0001", "0001"}},
        {M1, {"0101", "0101"}, {1, 1, 3, 2}, Pattern::Invert, {"0101", "0011"}},
        {I4, {"3c1f"}, everything, Pattern::Invert, {"c3e0"}},
        {I4, {"3c1f"}, everything, Pattern::White, {"ffff"}},
        {I4, {"3c1f"}, everything, Pattern::Black, {"0000"}},
        {C24, {"rgbw"}, {2, 0, 9, 1}, Pattern::Invert, {"rgyk"}},
        {C24, {"rgbw"}, {2, 0, 9, 1}, Pattern::White, {"rgww"}},
        {C32, {"rk"}, everything, Pattern::Invert, {"cw"}},
        {C32, {"rk"}, everything, Pattern::Black, {"kk"}},
        {C32, {"rk"}, {1, 0, 1, 1}, Pattern::Black, {"rk"}}, // empty
        {M1, {"01"}, {2, 0, 5, 1}, Pattern::Invert, {"01"}},  // outside
    };
    for (const Case& c : cases) {
        Bitmap b = makeBitmap(c.format, c.start);
        gfx::patBlt(b, c.r, c.pattern);
        EXPECT_EQ(drawingOf(b), c.expected) << int(c.format) << " " << int(c.pattern);
    }
}

TEST(FillRect, SolidColourInTheDestinationsDomain)
{
    struct Case {
        PixelFormat format;
        Drawing start;
        Rect r;
        gfx::Color color;
        Drawing expected;
    };
    const Case cases[] = {
        {C24, {"kkkk", "kkkk"}, {1, 0, 3, 5}, gfx::rgb(255, 0, 0), {"krrk", "krrk"}},
        {C32, {"kkkk", "kkkk"}, {-2, -2, 1, 1}, gfx::rgb(0, 0, 255), {"bkkk", "kkkk"}},
        {C32, {"kk"}, {0, 0, 2, 1}, 0xAB00FF00u, {"gg"}}, // the unused top byte is ignored
        {C24, {"kk"}, {1, 0, 1, 1}, gfx::kWhite, {"kk"}},  // empty
        {M1, {"0000"}, {0, 0, 2, 1}, gfx::kWhite, {"1100"}},
        {M1, {"1111"}, {0, 0, 2, 1}, gfx::rgb(128, 128, 128), {"0011"}},
        {I4, {"0000"}, {1, 0, 3, 1}, gfx::rgb(128, 0, 0), {"0110"}},
        {I4, {"0000"}, {2, 0, 9, 1}, gfx::rgb(0, 0, 250), {"00cc"}},
    };
    for (const Case& c : cases) {
        Bitmap b = makeBitmap(c.format, c.start);
        gfx::fillRect(b, c.r, c.color);
        EXPECT_EQ(drawingOf(b), c.expected) << int(c.format);
        if (c.format == C32) {
            EXPECT_EQ(b.scanLine(0)[3], 0xFF);
        }
    }
}

// Everything of the area but the hole, which may reach outside the area or miss it.
TEST(FillAround, FillsTheAreaOutsideTheHole)
{
    struct Case {
        const char* name;
        Rect area, hole;
        Drawing expected;
    };
    const Case cases[] = {
        {"hole inside", {0, 0, 4, 3}, {1, 1, 3, 2}, {"rrrr", "rkkr", "rrrr"}},
        {"hole over an edge", {0, 0, 4, 3}, {2, -1, 9, 2}, {"rrkk", "rrkk", "rrrr"}},
        {"hole covers all", {1, 0, 3, 3}, {0, 0, 4, 3}, {"kkkk", "kkkk", "kkkk"}},
        {"hole elsewhere", {1, 1, 3, 3}, {3, 0, 4, 1}, {"kkkk", "krrk", "krrk"}},
        {"empty hole", {0, 2, 4, 3}, {2, 2, 2, 2}, {"kkkk", "kkkk", "rrrr"}},
    };
    for (const Case& c : cases) {
        Bitmap b = makeBitmap(C24, {"kkkk", "kkkk", "kkkk"});
        gfx::fillAround(b, c.area, c.hole, gfx::rgb(255, 0, 0));
        EXPECT_EQ(drawingOf(b), c.expected) << c.name;
    }
}

TEST(DrawLine, EndPointExcluded)
{
    struct Case {
        const char* name;
        int x0, y0, x1, y1;
        Drawing expected;
    };
    const Case cases[] = {
        {"horizontal", 1, 2, 4, 2, {"00000", "00000", "01110", "00000", "00000"}},
        {"horizontal backwards", 4, 2, 1, 2, {"00000", "00000", "00111", "00000", "00000"}},
        {"vertical", 3, 0, 3, 3, {"00010", "00010", "00010", "00000", "00000"}},
        {"vertical upwards", 0, 4, 0, 1, {"00000", "00000", "10000", "10000", "10000"}},
        {"diagonal", 0, 0, 4, 4, {"10000", "01000", "00100", "00010", "00000"}},
        {"shallow", 0, 0, 4, 2, {"10000", "01100", "00010", "00000", "00000"}},
        {"single point", 2, 2, 2, 2, {"00000", "00000", "00000", "00000", "00000"}},
        {"starting outside", -3, 1, 3, 1, {"00000", "11100", "00000", "00000", "00000"}},
        {"through the whole row", 9, 3, -9, 3, {"00000", "00000", "00000", "11111", "00000"}},
        {"far outside", INT_MIN, 2, INT_MAX, 2, {"00000", "00000", "11111", "00000", "00000"}},
        {"far diagonal", INT_MIN, INT_MIN, INT_MAX, INT_MAX, {"10000", "01000", "00100", "00010", "00001"}},
        {"missing the bitmap", -9, -1, 9, -1, {"00000", "00000", "00000", "00000", "00000"}},
    };
    for (const Case& c : cases) {
        Bitmap map(5, 5, I4);
        gfx::drawLine(map, c.x0, c.y0, c.x1, c.y1, gfx::rgb(128, 0, 0));
        EXPECT_EQ(drawingOf(map), c.expected) << c.name;
    }
}

TEST(DrawLine, ColourInEachFormat)
{
    struct Case {
        PixelFormat format;
        gfx::Color color;
        Drawing expected;
    };
    const Case cases[] = {
        {C24, gfx::rgb(0, 0, 255), {"bbk"}},
        {C32, gfx::rgb(255, 255, 0), {"yyk"}},
        {M1, gfx::kWhite, {"110"}},
        {I4, gfx::rgb(0, 128, 0), {"220"}},
    };
    for (const Case& c : cases) {
        Bitmap b(3, 1, c.format);
        gfx::drawLine(b, 0, 0, 2, 0, c.color);
        EXPECT_EQ(drawingOf(b), c.expected) << int(c.format);
    }
}

TEST(GetPixel, ShownColourOrInvalidOutside)
{
    Bitmap mono = makeBitmap(M1, {"01"});
    EXPECT_EQ(gfx::getPixel(mono, 0, 0), gfx::kBlack);
    EXPECT_EQ(gfx::getPixel(mono, 1, 0), gfx::kWhite);
    EXPECT_EQ(gfx::getPixel(makeBitmap(I4, {"c"}), 0, 0), gfx::rgb(0, 0, 255));
    EXPECT_EQ(gfx::getPixel(makeBitmap(C24, {"kr"}), 1, 0), gfx::rgb(255, 0, 0));
    EXPECT_EQ(gfx::getPixel(makeBitmap(C32, {"kr"}), 1, 0), gfx::rgb(255, 0, 0)) << "no fourth byte in the colour";

    Bitmap b = makeBitmap(C24, {"rgb", "cmy"});
    const std::pair<int, int> outside[] = {{-1, 0}, {0, -1}, {3, 0}, {0, 2}, {INT_MIN, 0}, {0, INT_MAX}};
    for (auto [x, y] : outside)
        EXPECT_EQ(gfx::getPixel(b, x, y), gfx::kInvalidColor) << x << "," << y;
    EXPECT_EQ(gfx::getPixel(Bitmap(), 0, 0), gfx::kInvalidColor);
}

TEST(StretchBlt, SourceIndexRule)
{
    struct Case {
        int i, srcLength, dstLength, expected;
    };
    const Case cases[] = {
        {0, 4, 2, 0}, {1, 4, 2, 2}, {0, 2, 4, 0}, {1, 2, 4, 0}, {2, 2, 4, 1}, {3, 2, 4, 1},
        {1, 3, 2, 1}, {2, 3, 5, 1}, {4, 3, 5, 2}, {1, 701, 350, 2}, {349, 701, 350, 698},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gfx::stretchSourceIndex(c.i, c.srcLength, c.dstLength), c.expected)
            << c.i << " " << c.srcLength << "->" << c.dstLength;
}

TEST(StretchBlt, DropsOrRepeatsWholeRowsAndColumns)
{
    const Drawing ramp{"0123", "4567", "89ab", "cdef"};
    struct Case {
        const char* name;
        PixelFormat sf;
        Drawing src;
        Rect s;
        PixelFormat df;
        Drawing dst;
        Rect d;
        Drawing expected;
    };
    const Case cases[] = {
        {"half drops odd rows and columns", I4, ramp, {0, 0, 4, 4}, I4, {"00", "00"}, {0, 0, 2, 2}, {"02", "8a"}},
        {"double repeats", C24, {"rg", "bw"}, {0, 0, 2, 2}, C32, {"kkkk", "kkkk", "kkkk", "kkkk"}, {0, 0, 4, 4},
         {"rrgg", "rrgg", "bbww", "bbww"}},
        {"one to one", I4, ramp, {1, 1, 3, 3}, I4, {"00", "00"}, {0, 0, 2, 2}, {"56", "9a"}},
        {"destination partly outside", I4, ramp, {0, 0, 4, 4}, I4, {"000", "000", "000"}, {-1, -1, 3, 3},
         {"567", "9ab", "def"}},
        {"source partly outside", I4, {"12", "34"}, {1, 0, 3, 2}, I4, {"99", "99"}, {0, 0, 2, 2}, {"29", "49"}},
        {"mask into colour", M1, {"01"}, {0, 0, 2, 1}, C24, {"rrrr"}, {0, 0, 4, 1}, {"kkww"}},
        {"empty destination", I4, ramp, {0, 0, 4, 4}, I4, {"00"}, {0, 0, 0, 1}, {"00"}},
        {"empty source", I4, ramp, {2, 0, 2, 4}, I4, {"00"}, {0, 0, 2, 1}, {"00"}},
    };
    for (const Case& c : cases) {
        Bitmap src = makeBitmap(c.sf, c.src);
        Bitmap dst = makeBitmap(c.df, c.dst);
        gfx::stretchBlt(dst, c.d, src, c.s);
        EXPECT_EQ(drawingOf(dst), c.expected) << c.name;
    }
}

TEST(StretchBlt, WithinOneBitmapReadsTheOldPixels)
{
    Bitmap b = makeBitmap(I4, {"1200", "3400", "0000", "0000"});
    gfx::stretchBlt(b, {0, 0, 4, 4}, b, {0, 0, 2, 2});
    EXPECT_EQ(drawingOf(b), (Drawing{"1122", "1122", "3344", "3344"}));
}

TEST(MaskedCopy, TakesTheSourceWhereTheMaskIsZero)
{
    const Drawing src{"rgby", "cmwR"};
    const Drawing mask{"0110", "1001"};
    struct Case {
        const char* name;
        PixelFormat df, sf;
        int dx, dy, w, h, sx, sy, mx, my;
        Drawing expected;
    };
    const Case cases[] = {
        {"24 into 32", C32, C24, 0, 0, 4, 2, 0, 0, 0, 0, {"rkky", "kmwk"}},
        {"24 into 24", C24, C24, 0, 0, 4, 2, 0, 0, 0, 0, {"rkky", "kmwk"}},
        {"32 into 32", C32, C32, 0, 0, 4, 2, 0, 0, 0, 0, {"rkky", "kmwk"}},
        {"32 into 24", C24, C32, 0, 0, 4, 2, 0, 0, 0, 0, {"rkky", "kmwk"}},
        {"negative destination", C32, C24, -1, 0, 4, 2, 0, 0, 0, 0, {"kkyk", "mwkk"}},
        {"mask offset", C32, C24, 0, 0, 3, 2, 0, 0, 1, 0, {"kkbk", "cmkk"}},
        {"source offset", C32, C24, 0, 0, 3, 2, 1, 0, 0, 0, {"gkkk", "kwRk"}},
        {"past the mask's end", C32, C24, 0, 0, 9, 9, 0, 0, 2, 1, {"rkkk", "kkkk"}},
        {"negative mask offset", C32, C24, 0, 0, 4, 2, 0, 0, -1, -1, {"kkkk", "kmkk"}},
        {"into a map", I4, C24, 0, 0, 4, 2, 0, 0, 0, 0, {"900b", "0df0"}},
    };
    for (const Case& c : cases)
        for (const BlitPath& path : kPaths) {
            Bitmap d(4, 2, c.df);
            Bitmap s = makeBitmap(c.sf, src);
            Bitmap m = makeBitmap(M1, mask);
            path.masked(d, c.dx, c.dy, c.w, c.h, s, c.sx, c.sy, m, c.mx, c.my);
            EXPECT_EQ(drawingOf(d), c.expected) << c.name << " (" << path.name << ")";
        }
}

TEST(MaskedCopy, IgnoresAMaskThatIsNotOneBit)
{
    for (const BlitPath& path : kPaths) {
        Bitmap d = makeBitmap(C24, {"kk"});
        Bitmap s = makeBitmap(C24, {"rr"});
        path.masked(d, 0, 0, 2, 1, s, 0, 0, Bitmap(2, 1, I4), 0, 0);
        EXPECT_EQ(drawingOf(d), (Drawing{"kk"})) << path.name;
    }
}

TEST(MaskedCopy, WithinOneBitmapReadsTheOldPixels)
{
    for (const BlitPath& path : kPaths) {
        // Long enough for whole mask bytes and single pixels both.
        Bitmap b = makeBitmap(C32, {"kkkkkkkrgbyw"});
        Bitmap clear(12, 1, M1);
        path.masked(b, 1, 0, 11, 1, b, 0, 0, clear, 0, 0);
        EXPECT_EQ(drawingOf(b), (Drawing{"kkkkkkkkrgby"})) << path.name;
    }
}
