// make-seeds FOLDER: writes the seed corpus of every fuzz target into FOLDER/<target>/, from
// pictures, tunes and packages of our own making: valid files of every kind the decoders take
// and a few broken ones. The seeds in fuzz/corpus are its output; run it again after changing it.
#include "seeds/SeedBmp.h"
#include "gfx/BmpCodec.h"
#include "gfx/JpegEncoder.h"
#include "support/MidiWriter.h"
#include "support/PackageBuilder.h"
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;
using fuzzing::SeedBmp;
using testing_support::MidiWriter;
using testing_support::PackageBuilder;

namespace {

std::filesystem::path g_root;

void save(const std::string& target, const std::string& name, const Bytes& bytes)
{
    std::filesystem::create_directories(g_root / target);
    std::ofstream out(g_root / target / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes cut(Bytes b, std::size_t keep)
{
    b.resize(std::min(keep, b.size()));
    return b;
}

// A picture with edges and gradients, so that every JPEG block and BMP row carries something.
gfx::Bitmap picture(int width, int height)
{
    gfx::Bitmap b(width, height, gfx::PixelFormat::Bgr24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.setValue(x, y, gfx::rgb(x * 255 / width, y * 255 / height, ((x / 8 + y / 8) % 2) * 200));
    return b;
}

// A mask or a 16-colour map with its stored values in diagonal stripes.
gfx::Bitmap striped(int width, int height, gfx::PixelFormat format, int values)
{
    gfx::Bitmap b(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.setValue(x, y, std::uint32_t((x + 2 * y) / 3 % values));
    return b;
}

// Palette indices in diagonal bands, row 0 at the bottom.
std::vector<std::vector<std::uint8_t>> bands(int width, int height, int colours)
{
    std::vector<std::vector<std::uint8_t>> rows(std::size_t(height), std::vector<std::uint8_t>(std::size_t(width), 0));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rows[y][x] = std::uint8_t(((x + y) / 6) % colours);
    return rows;
}

const std::vector<std::uint32_t> kPalette = {0x000000, 0xC03020, 0x30A040, 0x2040C0, 0xE0C040, 0xFFFFFF,
                                             0x808080, 0x40C0C0};

SeedBmp indexed(int width, int height, int bitCount)
{
    return {.width = width, .height = height, .bitCount = bitCount, .palette = kPalette,
            .pixels = SeedBmp::indexRows(bands(width, height, bitCount == 1 ? 2 : 8), bitCount)};
}

SeedBmp rleBmp(int width, int height, bool fourBits)
{
    return {.width = width, .height = height, .bitCount = fourBits ? 4 : 8, .compression = fourBits ? 2u : 1u,
            .palette = kPalette, .pixels = SeedBmp::rle(bands(width, height, 8), fourBits)};
}

// Pixels of 16 or 32 bits from a pattern of bytes.
SeedBmp fields(int width, int height, int bitCount, std::vector<std::uint32_t> masks, std::uint32_t headerSize = 40)
{
    const int stride = (width * bitCount + 31) / 32 * 4;
    Bytes pixels(std::size_t(stride) * height);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = std::uint8_t(i * 37 + i / 5);
    return {.width = width, .height = height, .bitCount = bitCount, .compression = masks.empty() ? 0u : 3u,
            .headerSize = headerSize, .masks = std::move(masks), .pixels = std::move(pixels)};
}

void bmpSeeds()
{
    save("bmp", "mono1.bmp", gfx::EncodeBmp(striped(19, 7, gfx::PixelFormat::Mono1, 2)));
    save("bmp", "index4-encoded.bmp", gfx::EncodeBmp(striped(13, 6, gfx::PixelFormat::Index4, 16)));
    save("bmp", "bgr24.bmp", gfx::EncodeBmp(picture(11, 7)));
    save("bmp", "indexed1.bmp", indexed(21, 5, 1).bytes());
    save("bmp", "indexed4.bmp", indexed(15, 6, 4).bytes());
    save("bmp", "indexed8.bmp", indexed(14, 6, 8).bytes());
    SeedBmp topDown = indexed(9, 5, 8);
    topDown.height = -5;
    save("bmp", "indexed8-top-down.bmp", topDown.bytes());
    SeedBmp core = indexed(10, 4, 8);
    core.headerSize = 12;
    save("bmp", "core-header.bmp", core.bytes());
    save("bmp", "rle8.bmp", rleBmp(30, 9, false).bytes());
    save("bmp", "rle4.bmp", rleBmp(27, 8, true).bytes());
    save("bmp", "rgb16-555.bmp", fields(9, 4, 16, {}).bytes());
    save("bmp", "bitfields16-565.bmp", fields(9, 4, 16, {0xF800, 0x07E0, 0x001F}).bytes());
    save("bmp", "rgb32.bmp", fields(6, 4, 32, {}).bytes());
    save("bmp", "bitfields32-v5.bmp", fields(6, 3, 32, {0x00FF0000, 0x0000FF00, 0x000000FF}, 124).bytes());

    const Bytes good = indexed(14, 6, 8).bytes();
    save("bmp", "broken-truncated.bmp", cut(good, good.size() - 9));
    SeedBmp outside = indexed(14, 6, 8);
    outside.palette.resize(3);
    save("bmp", "broken-palette-index.bmp", outside.bytes());
    Bytes offset = good;
    offset[10] = 0xFF, offset[11] = 0xFF; // pixel data offset far beyond the file
    save("bmp", "broken-pixel-offset.bmp", offset);
    SeedBmp rle = rleBmp(30, 9, false);
    rle.pixels = cut(rle.pixels, rle.pixels.size() / 2);
    save("bmp", "broken-rle-truncated.bmp", rle.bytes());
}

void jpegSeeds()
{
    using gfx::JpegColors;
    const gfx::Bitmap p = picture(24, 17);
    const Bytes baseline = gfx::EncodeJpeg(p, {.quality = 60});
    save("jpeg", "baseline.jpg", baseline);
    save("jpeg", "progressive.jpg", gfx::EncodeJpeg(p, {.quality = 60, .progressive = true}));
    save("jpeg", "gray.jpg", gfx::EncodeJpeg(p, {.quality = 60, .colors = JpegColors::Gray}));
    save("jpeg", "gray-progressive.jpg", gfx::EncodeJpeg(p, {.quality = 60, .colors = JpegColors::Gray, .progressive = true}));
    save("jpeg", "cmyk.jpg", gfx::EncodeJpeg(p, {.quality = 60, .colors = JpegColors::Cmyk}));
    save("jpeg", "ycck.jpg", gfx::EncodeJpeg(p, {.quality = 60, .colors = JpegColors::Ycck}));
    save("jpeg", "broken-truncated.jpg", cut(baseline, baseline.size() * 2 / 3));
    Bytes corrupt = baseline;
    for (std::size_t i = corrupt.size() - 40; i < corrupt.size() - 20; ++i)
        corrupt[i] ^= 0x5A;
    save("jpeg", "broken-corrupt-data.jpg", corrupt);
}

void midiSeeds()
{
    save("midi", "format0.mid", MidiWriter::ShortTune());
    save("midi", "format1.mid",
         MidiWriter(120).Track().Tempo(400000).Track().Program(0, 19).Note(0, 60, 90, 60).Note(0, 64, 90, 60)
             .Track().Program(9, 0).Note(9, 36, 100, 30, 30).Bytes());
    save("midi", "running-status-sysex.mid",
         MidiWriter(96).Raw(0, {0xF0, 0x03, 0x7E, 0x7F, 0xF7}).Raw(0, {0x90, 60, 100}).Raw(48, {62, 100})
             .Raw(48, {60, 0}).Raw(0, {62, 0}).Raw(0, {0xFF, 0x03, 0x04, 'T', 'u', 'n', 'e'}).Bytes());
    const Bytes tune = MidiWriter::ShortTune();
    save("midi", "broken-truncated.mid", cut(tune, tune.size() - 6));
    save("midi", "broken-no-end-of-track.mid", MidiWriter().Note(0, 60, 80, 96).WithoutEndOfTrack().Bytes());
    Bytes header = tune;
    header[11] = 3; // format 0 with three tracks
    save("midi", "broken-track-count.mid", header);
}

PackageBuilder package(Bytes picture, int level, int arrangement, bool bmp)
{
    PackageBuilder b;
    b.program = Bytes(32, 0x90);
    b.picture = std::move(picture);
    b.trailer.LevelCode = std::int8_t(level);
    b.trailer.Arrangement = arrangement;
    b.trailer.PictureIsBmp = bmp ? 1 : 0;
    return b;
}

void packageSeeds()
{
    PackageBuilder withTune = package(gfx::EncodeJpeg(picture(40, 30), 50), 3, 3, false);
    withTune.music = MidiWriter::ShortTune();
    withTune.trailer.SetMessage("A seed puzzle\nwith two lines");
    save("package", "jpeg-with-tune", withTune.Bytes());
    save("package", "bmp-without-tune", package(indexed(20, 9, 4).bytes(), 1, 1, true).Bytes());
    PackageBuilder negative = withTune;
    negative.keepLengths = true;
    negative.trailer.PictureSize = -5;
    save("package", "broken-negative-picture-size", negative.Bytes());
    negative.trailer.PictureSize = std::int32_t(withTune.picture.size());
    negative.trailer.MusicSize = 0x7FFFFFF0;
    save("package", "broken-huge-tune-size", negative.Bytes());
    save("package", "broken-shorter-than-a-trailer", Bytes(100, 0));
}

// Each seed a whole puzzle on the fuzz target's 320 x 240 board, over the levels, layouts and
// settings; pictures just above their level's smallest size keep the cut quick.
void startupSeeds()
{
    const gfx::Bitmap p = picture(130, 110);
    PackageBuilder level1 = package(gfx::EncodeJpeg(p, 50), 1, 3, false);
    level1.music = MidiWriter::ShortTune();
    save("startup", "level1-jpeg-edge-with-tune", level1.Bytes());
    save("startup", "level2-rle8-grid", package(rleBmp(100, 90, false).bytes(), 2, 1, true).Bytes());
    PackageBuilder level3 = package(indexed(90, 80, 4).bytes(), 3, 2, true);
    level3.trailer.RotatePieces = 0;
    save("startup", "level3-bmp4-random-upright", level3.Bytes());
    PackageBuilder level4 = package(
        gfx::EncodeJpeg(picture(120, 90), {.quality = 50, .colors = gfx::JpegColors::Gray, .progressive = true}), 14, 7,
        false);
    level4.trailer.ScalePercent = 150;
    level4.trailer.ShowOriginal = 0;
    save("startup", "level4-progressive-gray-scaled-no-layout", level4.Bytes());
    PackageBuilder fitted = package(gfx::EncodeBmp(picture(110, 104)), 1, 3, true);
    fitted.trailer.ScalePercent = 400;
    save("startup", "bmp24-fitted-to-the-board", fitted.Bytes());
    save("startup", "too-small-for-its-level", package(gfx::EncodeJpeg(picture(60, 50), 50), 1, 3, false).Bytes());
    save("startup", "jpeg-declared-bmp", package(gfx::EncodeJpeg(p, 50), 3, 3, true).Bytes());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-seeds FOLDER\n");
        return 2;
    }
    g_root = argv[1];
    bmpSeeds();
    jpegSeeds();
    midiSeeds();
    packageSeeds();
    startupSeeds();
    return 0;
}
