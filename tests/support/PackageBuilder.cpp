#include "support/PackageBuilder.h"
#include "gfx/BmpCodec.h"
#include "gfx/JpegEncoder.h"
#include "gfx/Raster.h"
#include <fstream>
#include <stdexcept>

namespace testing_support {
namespace {

void append(std::vector<std::uint8_t>& to, const std::vector<std::uint8_t>& bytes)
{
    to.insert(to.end(), bytes.begin(), bytes.end());
}

// Four vertical bands, so that a picture that went through scaling still shows its layout.
gfx::Bitmap bandedPicture(int width, int height)
{
    gfx::Bitmap b(width, height, gfx::PixelFormat::Bgr24);
    const gfx::Color bands[] = {gfx::rgb(200, 40, 40), gfx::rgb(40, 160, 60), gfx::rgb(40, 80, 200),
                                gfx::rgb(230, 200, 60)};
    for (int i = 0; i < 4; ++i)
        gfx::fillRect(b, {width * i / 4, 0, width * (i + 1) / 4, height}, bands[i]);
    return b;
}

} // namespace

std::vector<std::uint8_t> PackageBuilder::Bytes() const
{
    game::PackageTrailer t = trailer;
    if (!keepLengths) {
        t.PictureSize = std::int32_t(picture.size());
        t.MusicSize = std::int32_t(music.size());
    }
    std::vector<std::uint8_t> bytes = program;
    append(bytes, music);
    append(bytes, picture);
    const auto raw = t.Serialize();
    bytes.insert(bytes.end(), raw.begin(), raw.end());
    return bytes;
}

std::string PackageBuilder::Write(const std::string& path) const
{
    const auto bytes = Bytes();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
    return path;
}

std::vector<std::uint8_t> PackageBuilder::JpegPicture(int width, int height)
{
    return gfx::EncodeJpeg(bandedPicture(width, height), 90);
}

std::vector<std::uint8_t> PackageBuilder::BmpPicture(int width, int height)
{
    return gfx::EncodeBmp(bandedPicture(width, height));
}

std::vector<std::uint8_t> PackageBuilder::Tune()
{
    // Format 0, one track, 96 ticks a quarter: C, E, G, C' on a piano, then the end of track.
    std::vector<std::uint8_t> track;
    const std::uint8_t notes[] = {60, 64, 67, 72};
    for (std::uint8_t n : notes) {
        append(track, {0x00, 0x90, n, 0x60});
        append(track, {0x60, 0x80, n, 0x40});
    }
    append(track, {0x00, 0xFF, 0x2F, 0x00});

    std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,
                                      'M', 'T', 'r', 'k'};
    const auto n = std::uint32_t(track.size());
    append(file, {std::uint8_t(n >> 24), std::uint8_t(n >> 16), std::uint8_t(n >> 8), std::uint8_t(n)});
    append(file, track);
    return file;
}

} // namespace testing_support
