#pragma once
#include "gfx/Bitmap.h"
#include <cstdint>
#include <vector>

namespace gfx {

// The colour model a JPEG file is written in.
enum class JpegColors {
    YCbCr, // the usual colour file
    Gray,  // one channel: the picture's brightness
    Cmyk,  // four inks, stored inverted with an Adobe marker as Adobe's programs do
    Ycck,  // the same inks transformed to YCCK
};

struct JpegOptions {
    int quality = 90; // 1 to 100
    JpegColors colors = JpegColors::YCbCr;
    bool progressive = false;
};

// Encodes a picture (any format; masks and maps by the colours they show) as a JPEG file, for
// tests and tools. Throws std::invalid_argument for a null bitmap.
std::vector<std::uint8_t> EncodeJpeg(const Bitmap& bgr24, int quality);
std::vector<std::uint8_t> EncodeJpeg(const Bitmap& picture, const JpegOptions& options);

} // namespace gfx
