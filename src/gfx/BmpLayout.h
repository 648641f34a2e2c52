#pragma once
#include "gfx/Bitmap.h"
#include "gfx/ByteReader.h"
#include <array>
#include <cstdint>
#include <vector>

// What the BMP decoder learns from a file's headers, shared by its row and RLE readers.
// Internal to the raster layer.
namespace gfx::bmp {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

enum Compression : std::uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, Bitfields = 3, AlphaBitfields = 6 };

struct BmpLayout {
    std::size_t pixelOffset = 0;
    int width = 0;
    int height = 0; // rows, always positive
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = Rgb;
    std::array<std::uint32_t, 3> masks{}; // red, green, blue of 16- and 32-bit pixels
    std::vector<Color> palette;

    int outputRow(long long storedRow) const { return int(topDown ? storedRow : height - 1 - storedRow); }
    // The palette colour of index, or DecodeError when the palette has no such entry.
    Color paletteColor(unsigned index) const;
};

// Writes a colour as the blue, green and red bytes of a Bgr24 pixel.
inline void putBgr(std::uint8_t* p, Color c)
{
    p[0] = std::uint8_t(blueOf(c));
    p[1] = std::uint8_t(greenOf(c));
    p[2] = std::uint8_t(redOf(c));
}

// The picture of the RLE4 or RLE8 data at layout.pixelOffset, as a Bgr24 bitmap.
Bitmap decodeRle(const BmpLayout& layout, const ByteReader& file);

} // namespace gfx::bmp
