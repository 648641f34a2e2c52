#include "gfx/GfxError.h"
#include "gfx/JpegDecoder.h"
#include "gfx/JpegEncoder.h"
#include "support/TestPaths.h"
#include "support/ThrowsWith.h"
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using gfx::Bitmap;
using gfx::JpegColors;
using gfx::PixelFormat;
using testing_support::throwsWith;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bitmap gradient(int w, int h)
{
    Bitmap b(w, h, PixelFormat::Bgr24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setValue(x, y, gfx::rgb(x * 255 / w, y * 255 / h, 160 - x));
    return b;
}

// The largest difference of one channel between two pictures of the same size.
int maxDifference(const Bitmap& a, const Bitmap& b, bool asGray = false)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            gfx::Color p = a.colorAt(x, y), q = b.colorAt(x, y);
            if (asGray) {
                int luma = (299 * gfx::redOf(p) + 587 * gfx::greenOf(p) + 114 * gfx::blueOf(p)) / 1000;
                p = gfx::rgb(luma, luma, luma);
            }
            worst = std::max({worst, std::abs(gfx::redOf(p) - gfx::redOf(q)), std::abs(gfx::greenOf(p) - gfx::greenOf(q)),
                              std::abs(gfx::blueOf(p) - gfx::blueOf(q))});
        }
    return worst;
}

Bitmap decode(const Bytes& file) { return gfx::DecodeJpeg(file.data(), file.size()); }

// Where the first segment with this marker starts, walking the segments before the first scan.
std::size_t findSegment(const Bytes& jpeg, std::uint8_t marker)
{
    std::size_t p = 2;
    while (p + 4 <= jpeg.size() && jpeg[p] == 0xFF && jpeg[p + 1] != 0xDA) {
        if (jpeg[p + 1] == marker)
            return p;
        p += 2 + std::size_t(jpeg[p + 2] << 8 | jpeg[p + 3]);
    }
    return std::string::npos;
}

// The [start, end) of every scan: its SOS segment and the entropy-coded data after it.
std::vector<std::pair<std::size_t, std::size_t>> scansOf(const Bytes& jpeg)
{
    std::vector<std::pair<std::size_t, std::size_t>> scans;
    auto isMarker = [&](std::size_t i) {
        return jpeg[i] == 0xFF && jpeg[i + 1] != 0 && (jpeg[i + 1] < 0xD0 || jpeg[i + 1] > 0xD7);
    };
    std::size_t p = 2;
    while (p + 4 <= jpeg.size() && jpeg[p] == 0xFF && jpeg[p + 1] != 0xD9) {
        std::size_t next = p + 2 + std::size_t(jpeg[p + 2] << 8 | jpeg[p + 3]);
        if (jpeg[p + 1] == 0xDA) {
            while (next + 1 < jpeg.size() && !isMarker(next))
                ++next;
            scans.emplace_back(p, next);
        }
        p = next;
    }
    return scans;
}

} // namespace

TEST(Jpeg, EncodedPictureDecodesToNearlyTheSamePixels)
{
    Bitmap original = gradient(48, 32);
    Bitmap back = decode(gfx::EncodeJpeg(original, 95));
    ASSERT_EQ(back.format(), PixelFormat::Bgr24);
    ASSERT_EQ(back.width(), 48);
    ASSERT_EQ(back.height(), 32);
    EXPECT_LE(maxDifference(original, back), 12);
}

TEST(Jpeg, ColourModelsDecodeToBgr)
{
    Bitmap original = gradient(40, 24);
    struct Case {
        const char* name;
        gfx::JpegOptions options;
        bool gray;
    };
    const Case cases[] = {
        {"progressive", {.quality = 95, .progressive = true}, false},
        {"grayscale", {.quality = 95, .colors = JpegColors::Gray}, true},
        {"Adobe CMYK", {.quality = 95, .colors = JpegColors::Cmyk}, false},
        {"Adobe YCCK", {.quality = 95, .colors = JpegColors::Ycck}, false},
    };
    for (const Case& c : cases) {
        Bitmap back;
        ASSERT_NO_THROW(back = decode(gfx::EncodeJpeg(original, c.options))) << c.name;
        ASSERT_EQ(back.width(), 40) << c.name;
        EXPECT_LE(maxDifference(original, back, c.gray), 12) << c.name;
        if (c.gray) {
            EXPECT_EQ(gfx::redOf(back.colorAt(5, 5)), gfx::blueOf(back.colorAt(5, 5))) << c.name;
        }
    }
}

TEST(Jpeg, MasksAndMapsEncodeByTheirColours)
{
    Bitmap mask(16, 16, PixelFormat::Mono1);
    for (int y = 0; y < 16; ++y)
        for (int x = 8; x < 16; ++x)
            mask.setValue(x, y, 1);
    Bitmap back = decode(gfx::EncodeJpeg(mask, 95));
    EXPECT_LE(gfx::redOf(back.colorAt(2, 8)), 8);
    EXPECT_GE(gfx::redOf(back.colorAt(13, 8)), 247);
    EXPECT_THROW(gfx::EncodeJpeg(Bitmap(), 90), std::invalid_argument);
}

TEST(Jpeg, DamagedDataFails)
{
    const Bytes good = gfx::EncodeJpeg(gradient(32, 32), 90);
    ASSERT_NO_THROW(decode(good));
    auto truncated = [&](std::size_t n) { return Bytes(good.begin(), good.begin() + std::ptrdiff_t(n)); };
    Bytes junkBeforeMarker = good;
    std::size_t sof = findSegment(good, 0xC0);
    ASSERT_NE(sof, std::string::npos);
    junkBeforeMarker.insert(junkBeforeMarker.begin() + std::ptrdiff_t(sof), {0x12, 0x34, 0x56});
    Bytes noFrame = good;
    auto scan = scansOf(good).front();
    noFrame[sof + 1] = 0xCF; // a lossless arithmetic frame, which this build does not decode

    struct Case {
        const char* name;
        Bytes data;
        const char* message;
    };
    const Case cases[] = {
        {"truncated in the scan", truncated((scan.first + scan.second) / 2), "Premature end"},
        {"only the end marker missing", truncated(good.size() - 2), "Premature end"},
        {"truncated in the headers", truncated(40), ""},
        {"only the start marker", {0xFF, 0xD8}, ""},
        {"garbage", {'h', 'e', 'l', 'l', 'o', ',', ' ', 'w', 'o', 'r', 'l', 'd'}, "Not a JPEG"},
        {"empty", {}, "empty"},
        {"junk before a marker", junkBeforeMarker, "extraneous"},
        {"unsupported frame", noFrame, ""},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(throwsWith<gfx::DecodeError>([&] { decode(c.data); }, c.message)) << c.name;
    EXPECT_THROW(gfx::DecodeJpeg(nullptr, 10), gfx::DecodeError);
}

TEST(Jpeg, HugePictureFailsBeforeDecoding)
{
    Bytes jpeg = gfx::EncodeJpeg(gradient(16, 16), 90);
    std::size_t sof = findSegment(jpeg, 0xC0);
    ASSERT_NE(sof, std::string::npos);
    for (std::size_t at : {sof + 5, sof + 7}) { // height, then width: 20000 each
        jpeg[at] = 20000 >> 8;
        jpeg[at + 1] = 20000 & 0xFF;
    }
    EXPECT_TRUE(throwsWith<gfx::DecodeError>([&] { decode(jpeg); }, "20000 x 20000 pixels is larger"));
}

// A few bytes per scan can each make the decoder walk the whole picture again.
TEST(Jpeg, EndlessScansFail)
{
    Bytes jpeg = gfx::EncodeJpeg(gradient(16, 16), {.progressive = true});
    auto scans = scansOf(jpeg);
    ASSERT_GT(scans.size(), 2u);
    auto [start, end] = scans.back();
    Bytes hostile(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(end));
    for (int i = 0; i < 600; ++i)
        hostile.insert(hostile.end(), jpeg.begin() + std::ptrdiff_t(start), jpeg.begin() + std::ptrdiff_t(end));
    hostile.insert(hostile.end(), {0xFF, 0xD9});
    EXPECT_TRUE(throwsWith<gfx::DecodeError>([&] { decode(hostile); }, "too many scans"));
}

TEST(Jpeg, Files)
{
    std::filesystem::path path = std::filesystem::path(testing_support::buildDir()) / "jpeg_test.jpg";
    Bytes jpeg = gfx::EncodeJpeg(gradient(8, 8), 90);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(jpeg.data()), std::streamsize(jpeg.size()));
    EXPECT_EQ(gfx::DecodeJpegFile(path.string()).width(), 8);
    std::filesystem::remove(path);
    EXPECT_THROW(gfx::DecodeJpegFile(path.string()), gfx::DecodeError);
}
