// The JPEG decoding path on any bytes: a DecodeError or a Bgr24 picture within the size limit;
// libjpeg-turbo's errors never end the process and its warnings never pass as a picture.
#include "FuzzCheck.h"
#include "gfx/BmpCodec.h" // kMaxPicturePixels
#include "gfx/GfxError.h"
#include "gfx/JpegDecoder.h"

using fuzzing::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    gfx::Bitmap picture;
    try {
        picture = gfx::DecodeJpeg(data, size);
    } catch (const gfx::DecodeError&) {
        return 0;
    }
    require(!picture.isNull() && picture.format() == gfx::PixelFormat::Bgr24, "an accepted JPEG gave no Bgr24 picture");
    require((long long)picture.width() * picture.height() <= gfx::kMaxPicturePixels, "a picture above the limit");
    return 0;
}
