#pragma once
#include <cstdint>
#include <vector>

namespace fuzzing {

// The BMP variants that our encoder does not write, made field by field for the seed corpora:
// 8, 16 and 32 bits, bit fields, RLE, top-down rows and the old core header. Palette entries
// are 0xRRGGBB; masks go after a 40-byte header or inside a larger one.
struct SeedBmp {
    int width = 1;
    int height = 1; // negative: top-down
    int bitCount = 8;
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 40;
    std::vector<std::uint32_t> palette;
    std::vector<std::uint32_t> masks;
    std::vector<std::uint8_t> pixels;

    std::vector<std::uint8_t> bytes() const;

    // Rows of palette indices (row 0 at the bottom of the picture) as the stored rows of an
    // uncompressed file, or as RLE8 / RLE4 data of runs with an end of line after each row.
    static std::vector<std::uint8_t> indexRows(const std::vector<std::vector<std::uint8_t>>& rows, int bitCount);
    static std::vector<std::uint8_t> rle(const std::vector<std::vector<std::uint8_t>>& rows, bool fourBits);
};

} // namespace fuzzing
