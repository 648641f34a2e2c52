// The BMP decoder on any bytes: a DecodeError or a Bgr24 picture within the size limit, and a
// picture it accepts survives the encoder and the decoder again unchanged.
#include "FuzzCheck.h"
#include "gfx/BmpCodec.h"
#include "gfx/GfxError.h"
#include <cstring>

using fuzzing::require;

namespace {

bool samePixels(const gfx::Bitmap& a, const gfx::Bitmap& b)
{
    if (a.width() != b.width() || a.height() != b.height() || a.format() != b.format())
        return false;
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.scanLine(y), b.scanLine(y), std::size_t(a.width()) * 3) != 0)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    gfx::Bitmap picture;
    try {
        picture = gfx::DecodeBmp(data, size);
    } catch (const gfx::DecodeError&) {
        return 0;
    }
    require(!picture.isNull() && picture.format() == gfx::PixelFormat::Bgr24, "an accepted BMP gave no Bgr24 picture");
    require((long long)picture.width() * picture.height() <= gfx::kMaxPicturePixels, "a picture above the limit");
    // Round trips of large pictures only cost time; their rows are decoded like small ones.
    if ((long long)picture.width() * picture.height() > (1 << 20))
        return 0;
    const std::vector<std::uint8_t> again = gfx::EncodeBmp(picture);
    require(samePixels(gfx::DecodeBmp(again.data(), again.size()), picture), "re-encoding changed the picture");
    return 0;
}
