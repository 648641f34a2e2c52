#pragma once
#include "gfx/Bitmap.h"
#include <cstddef>
#include <cstdint>
#include <string>

namespace gfx {

// Decodes a JPEG file through libjpeg-turbo into a Bgr24 bitmap. Corrupt or truncated data and
// pictures larger than kMaxPicturePixels throw DecodeError; the library never ends the process.
Bitmap DecodeJpeg(const std::uint8_t* data, std::size_t size);
Bitmap DecodeJpegFile(const std::string& path);

} // namespace gfx
