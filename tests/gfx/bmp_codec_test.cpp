#include "gfx/BmpCodec.h"
#include "gfx/GfxError.h"
#include "support/BitmapPattern.h"
#include "support/TestPaths.h"
#include "support/ThrowsWith.h"
#include <climits>
#include <filesystem>
#include <gtest/gtest.h>

using gfx::Bitmap;
using gfx::PixelFormat;
using testing_support::Drawing;
using testing_support::drawingOf;
using testing_support::throwsWith;
using Bytes = std::vector<std::uint8_t>;

namespace {

void put16(Bytes& b, unsigned v)
{
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}
void put32(Bytes& b, std::uint32_t v)
{
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// A BMP file made by hand. Palette entries are 0xRRGGBB; masks are written after a 40-byte
// header, or inside a larger one.
struct HandBmp {
    std::int32_t width = 0;
    std::int32_t height = 0;
    unsigned bitCount = 8;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> palette = {};
    Bytes pixels = {};
    std::vector<std::uint32_t> masks = {};
    std::uint32_t headerSize = 40;
    std::uint32_t colorsUsed = 0;
    std::int64_t pixelOffset = -1; // -1: right after the palette

    Bytes bytes() const
    {
        Bytes info;
        put32(info, headerSize);
        if (headerSize == 12) {
            put16(info, unsigned(width));
            put16(info, unsigned(height));
            put16(info, 1);
            put16(info, bitCount);
        } else {
            put32(info, std::uint32_t(width));
            put32(info, std::uint32_t(height));
            put16(info, 1);
            put16(info, bitCount);
            put32(info, compression);
            put32(info, std::uint32_t(pixels.size()));
            put32(info, 2835);
            put32(info, 2835);
            put32(info, colorsUsed);
            put32(info, 0);
            for (std::uint32_t m : masks) // inside a larger header, or after a 40-byte one
                put32(info, m);
            if (info.size() < headerSize)
                info.resize(headerSize, 0);
        }
        for (std::uint32_t c : palette) {
            info.push_back(std::uint8_t(c));
            info.push_back(std::uint8_t(c >> 8));
            info.push_back(std::uint8_t(c >> 16));
            if (headerSize != 12)
                info.push_back(0);
        }
        std::uint32_t offset = pixelOffset >= 0 ? std::uint32_t(pixelOffset) : std::uint32_t(14 + info.size());
        Bytes file{'B', 'M'};
        put32(file, std::uint32_t(14 + info.size() + pixels.size()));
        put32(file, 0);
        put32(file, offset);
        file.insert(file.end(), info.begin(), info.end());
        file.insert(file.end(), pixels.begin(), pixels.end());
        return file;
    }
};

Bitmap decode(const Bytes& file) { return gfx::DecodeBmp(file.data(), file.size()); }

// Palette colours as legend letters of the drawings.
constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF, kBlack = 0,
                        kYellow = 0xFFFF00;

} // namespace

TEST(BmpCodec, RoundTripKeepsEveryFormatsColours)
{
    std::mt19937 rng(3);
    struct Case {
        PixelFormat format;
        unsigned bitCount, paletteSize;
    };
    const Case cases[] = {{PixelFormat::Mono1, 1, 2}, {PixelFormat::Index4, 4, 16}, {PixelFormat::Bgr24, 24, 0},
                          {PixelFormat::Bgrx32, 24, 0}};
    for (const Case& c : cases) {
        Bitmap original = testing_support::randomBitmap(13, 5, c.format, rng);
        Bytes file = gfx::EncodeBmp(original);
        EXPECT_EQ(file[28], c.bitCount);
        EXPECT_EQ(file[46], c.paletteSize);
        Bitmap back = decode(file);
        ASSERT_EQ(back.format(), PixelFormat::Bgr24);
        ASSERT_EQ(back.width(), 13);
        ASSERT_EQ(back.height(), 5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 13; ++x)
                ASSERT_EQ(back.colorAt(x, y), original.colorAt(x, y)) << int(c.format) << " at " << x << "," << y;
    }
}

TEST(BmpCodec, EncodedMasksAndMapsKeepTheirBitsAndPalettes)
{
    Bitmap mask = testing_support::makeBitmap(PixelFormat::Mono1, {"10000000", "01000000"});
    Bytes file = gfx::EncodeBmp(mask);
    ASSERT_EQ(file.size(), 14u + 40 + 8 + 8);
    EXPECT_EQ(Bytes(file.begin() + 54, file.begin() + 62), (Bytes{0, 0, 0, 0, 255, 255, 255, 0}));
    EXPECT_EQ(file[62], 0x40) << "the bottom row comes first";
    EXPECT_EQ(file[66], 0x80);

    Bitmap map = testing_support::makeBitmap(PixelFormat::Index4, {"1c"});
    file = gfx::EncodeBmp(map);
    ASSERT_EQ(file.size(), 14u + 40 + 64 + 4);
    EXPECT_EQ(Bytes(file.begin() + 54 + 4, file.begin() + 54 + 8), (Bytes{0, 0, 128, 0})) << "index 1 dark red";
    EXPECT_EQ(file[118], 0x1C);
}

TEST(BmpCodec, FileRoundTrip)
{
    std::filesystem::path path = std::filesystem::path(testing_support::buildDir()) / "bmp_codec_test.bmp";
    Bitmap original = testing_support::makeBitmap(PixelFormat::Bgr24, {"rgb", "cmy"});
    gfx::WriteBmpFile(original, path.string());
    EXPECT_EQ(drawingOf(gfx::DecodeBmpFile(path.string())), (Drawing{"rgb", "cmy"}));
    std::filesystem::remove(path);
    EXPECT_THROW(gfx::DecodeBmpFile(path.string()), gfx::DecodeError);
    EXPECT_THROW(gfx::EncodeBmp(Bitmap()), std::invalid_argument);
}

TEST(BmpCodec, HandBuiltFiles)
{
    struct Case {
        const char* name;
        HandBmp bmp;
        Drawing expected;
    };
    const Case cases[] = {
        {"8 bits, short palette, bottom-up",
         {.width = 3, .height = 2, .bitCount = 8, .palette = {kRed, kGreen, kBlue},
          .pixels = {2, 1, 0, 0, /**/ 0, 0, 1, 0}, .colorsUsed = 3},
         {"rrg", "bgr"}},
        {"8 bits, top-down",
         {.width = 2, .height = -2, .bitCount = 8, .palette = {kRed, kGreen}, .pixels = {0, 1, 0, 0, 1, 1, 0, 0}},
         {"rg", "gg"}},
        {"1 bit with its own colours",
         {.width = 10, .height = 1, .bitCount = 1, .palette = {kYellow, kBlue}, .pixels = {0xA0, 0x40, 0, 0}},
         {"bybyyyyyyb"}},
        {"4 bits",
         {.width = 3, .height = 1, .bitCount = 4, .palette = {kBlack, kWhite, kRed}, .pixels = {0x21, 0x00, 0, 0},
          .colorsUsed = 3},
         {"rwk"}},
        {"16 bits, 5-5-5 without masks",
         {.width = 3, .height = 1, .bitCount = 16, .pixels = {0x00, 0x7C, 0xE0, 0x03, 0xFF, 0x7F, 0, 0}},
         {"rgw"}},
        {"16 bits, 5-6-5 bit fields",
         {.width = 4, .height = 1, .bitCount = 16, .compression = 3,
          .pixels = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0x00, 0x00}, .masks = {0xF800, 0x07E0, 0x001F}},
         {"rgbk"}},
        {"24 bits, padded rows",
         {.width = 1, .height = 2, .bitCount = 24, .pixels = {0, 0, 255, 0, /**/ 255, 0, 0, 0}},
         {"b", "r"}},
        {"32 bits without masks",
         {.width = 2, .height = 1, .bitCount = 32, .pixels = {0, 0, 255, 0, 0, 255, 255, 0}},
         {"ry"}},
        {"32 bits, bit fields in a V4 header",
         {.width = 2, .height = 1, .bitCount = 32, .compression = 3, .pixels = {255, 0, 0, 0, 0, 0, 255, 0},
          .masks = {0x000000FF, 0x0000FF00, 0x00FF0000}, .headerSize = 108},
         {"rb"}},
        {"32 bits, bit fields in a V5 header",
         {.width = 1, .height = 1, .bitCount = 32, .compression = 3, .pixels = {0, 0, 0xF0, 0xFF},
          .masks = {0xFF000000, 0x00F00000, 0x000F0000}, .headerSize = 124},
         {"y"}},
        {"OS/2 core header, three-byte palette",
         {.width = 2, .height = 1, .bitCount = 8, .palette = {kBlue, kGreen}, .pixels = {1, 0, 0, 0}, .headerSize = 12},
         {"gb"}},
        {"RLE8: runs, absolute, end of line, delta, end of bitmap",
         {.width = 4, .height = 3, .bitCount = 8, .compression = 1, .palette = {kBlack, kRed, kGreen, kBlue},
          .pixels = {2, 1,             // bottom row: two red
                     0, 2, 1, 1,       // delta: one right, one down
                     1, 3, 0, 0,       // middle row: one blue at x 3, end of line
                     0, 3, 2, 3, 1, 0, // top row: absolute green blue red, padded
                     0, 1}},           // end of bitmap
         {"gbrk", "kkkb", "rrkk"}},
        {"RLE4: runs alternate nibbles, absolute runs",
         {.width = 5, .height = 2, .bitCount = 4, .compression = 2, .palette = {kBlack, kRed, kGreen, kBlue},
          .pixels = {5, 0x12, 0, 0,           // bottom row: red green red green red, end of line
                     0, 3, 0x32, 0x10, 0, 1}}, // top row: absolute blue green red; end of bitmap
         {"bgrkk", "rgrgr"}},
        {"RLE8 ending after the last row without end of bitmap",
         {.width = 2, .height = 1, .bitCount = 8, .compression = 1, .palette = {kBlack, kRed}, .pixels = {2, 1, 0, 0}},
         {"rr"}},
        {"RLE8 run past the row's end is cut",
         {.width = 2, .height = 1, .bitCount = 8, .compression = 1, .palette = {kBlack, kRed}, .pixels = {9, 1, 0, 1}},
         {"rr"}},
        {"short palette implied by the pixel offset",
         {.width = 2, .height = 1, .bitCount = 8, .palette = {kRed, kGreen}, .pixels = {1, 0, 0, 0}},
         {"gr"}},
    };
    for (const Case& c : cases) {
        Bitmap b;
        ASSERT_NO_THROW(b = decode(c.bmp.bytes())) << c.name;
        EXPECT_EQ(drawingOf(b), c.expected) << c.name;
    }
}

TEST(BmpCodec, FieldsScaleToFullRange)
{
    HandBmp bmp{.width = 1, .height = 1, .bitCount = 16, .compression = 3, .pixels = {0x10, 0x84, 0, 0},
                .masks = {0xF800, 0x07E0, 0x001F}};
    Bitmap b = decode(bmp.bytes());
    EXPECT_EQ(b.colorAt(0, 0), gfx::rgb(132, 130, 132)) << "16 of 31, 32 of 63, 16 of 31";
}

TEST(BmpCodec, MalformedFilesFailCleanly)
{
    const HandBmp good{.width = 2, .height = 2, .bitCount = 8, .palette = {kRed, kGreen},
                       .pixels = {0, 1, 0, 0, 1, 0, 0, 0}};
    const Bytes goodBytes = good.bytes();
    ASSERT_NO_THROW(decode(goodBytes));
    auto with = [&](auto change) {
        HandBmp b = good;
        change(b);
        return b.bytes();
    };
    auto truncated = [&](std::size_t n) { return Bytes(goodBytes.begin(), goodBytes.begin() + n); };
    struct Case {
        const char* name;
        Bytes file;
        const char* message; // a part of the error text, or empty
    };
    const Case cases[] = {
        {"empty", {}, "Not a BMP"},
        {"only the signature", {'B', 'M'}, "Not a BMP"},
        {"wrong signature", [&] { Bytes b = goodBytes; b[0] = 'P'; return b; }(), "Not a BMP"},
        {"truncated header", truncated(30), "ends inside"},
        {"truncated palette", truncated(56), ""},
        {"rows past the end", truncated(goodBytes.size() - 1), "past the end"},
        {"pixel offset beyond the file", with([](HandBmp& b) { b.pixelOffset = 5000; }), "beyond the end"},
        {"pixel offset inside the headers", with([](HandBmp& b) { b.pixelOffset = 20; }), "inside the headers"},
        {"palette index outside the palette", with([](HandBmp& b) { b.pixels[1] = 5; }), "outside the palette"},
        {"RLE index outside the palette",
         with([](HandBmp& b) { b.compression = 1; b.pixels = {2, 7, 0, 1}; }), "outside the palette"},
        {"RLE data ending early", with([](HandBmp& b) { b.compression = 1; b.pixels = {2, 1, 0, 0}; }), "ends inside"},
        {"RLE absolute run past the end", with([](HandBmp& b) { b.compression = 1; b.pixels = {0, 9, 1}; }), "ends inside"},
        {"huge dimensions", with([](HandBmp& b) { b.width = 100000; b.height = 100000; }), "larger than"},
        {"just over the pixel limit", with([](HandBmp& b) { b.width = 10001; b.height = 10000; }), "larger than"},
        {"at the pixel limit, rows missing", with([](HandBmp& b) { b.width = 10000; b.height = 10000; }), "past the end"},
        {"extreme height", with([](HandBmp& b) { b.width = INT_MAX; b.height = INT_MIN; }), "larger than"},
        {"zero width", with([](HandBmp& b) { b.width = 0; }), "width"},
        {"negative width", with([](HandBmp& b) { b.width = -2; }), "width"},
        {"zero height", with([](HandBmp& b) { b.height = 0; }), "no rows"},
        {"no palette", with([](HandBmp& b) { b.palette.clear(); }), "no palette"},
        {"2 bits per pixel", with([](HandBmp& b) { b.bitCount = 2; }), "Unsupported"},
        {"JPEG compression", with([](HandBmp& b) { b.compression = 4; }), "Unsupported"},
        {"RLE8 with 4 bits", with([](HandBmp& b) { b.compression = 1; b.bitCount = 4; }), "Unsupported"},
        {"unknown header size", with([](HandBmp& b) { b.headerSize = 20; }), "header"},
        {"masks split in two runs",
         with([](HandBmp& b) { b.bitCount = 16; b.compression = 3; b.palette.clear(); b.masks = {0xF00F, 0x07E0, 0x001F}; }),
         "one run"},
        {"mask beyond 16 bits",
         with([](HandBmp& b) { b.bitCount = 16; b.compression = 3; b.palette.clear(); b.masks = {0x1F0000, 0x07E0, 0x001F}; }),
         "beyond"},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(throwsWith<gfx::DecodeError>([&] { decode(c.file); }, c.message)) << c.name;
    EXPECT_THROW(gfx::DecodeBmp(nullptr, 100), gfx::DecodeError);
}
