#pragma once
#include "gfx/Bitmap.h"
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace gfx {

// Decodes a BMP file (1, 4, 8, 16, 24 or 32 bits; palettes, bit fields, top-down rows,
// RLE4 and RLE8) into a Bgr24 bitmap. Throws DecodeError for anything malformed or for a
// picture of more than kMaxPicturePixels, before allocating it.
Bitmap DecodeBmp(const std::uint8_t* data, std::size_t size);
Bitmap DecodeBmpFile(const std::string& path);

// Encodes a bitmap as an uncompressed BMP file: Mono1 and Index4 keep their bits and
// palettes, Bgr24 and Bgrx32 become 24-bit files.
std::vector<std::uint8_t> EncodeBmp(const Bitmap& bitmap);
void WriteBmpFile(const Bitmap& bitmap, const std::string& path);

constexpr long long kMaxPicturePixels = 100'000'000;

} // namespace gfx
