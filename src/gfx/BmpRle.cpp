// RLE4 and RLE8 pixel data of BMP files: runs, absolute runs, end of line, delta and end of
// bitmap. Pixels that the data never reaches keep palette colour 0; pixels beyond a row's end
// are dropped. Every byte read is checked against the file, and every position is written at
// most once, so hostile data costs no more than the picture's size. The data is walked twice:
// once without a picture, so that damaged data fails before the picture is allocated, then to
// draw it.
#include "gfx/BmpLayout.h"
#include "gfx/Raster.h"
#include <algorithm>

namespace gfx::bmp {
namespace {

constexpr const char* kRleData = "compressed pixel data";

// Where the next pixel goes, in stored rows (the first stored row is the bottom one unless
// the file is top-down).
struct RleCursor {
    const BmpLayout& layout;
    Bitmap* out; // null while only checking the data
    long long x = 0;
    long long y = 0;

    // n pixels from the cursor on, the i-th of palette index indexAt(i).
    template <class IndexAt>
    void run(long long n, IndexAt indexAt)
    {
        long long visible = std::clamp(layout.width - x, 0LL, n);
        std::uint8_t* row = out ? out->scanLine(layout.outputRow(y)) + 3 * x : nullptr;
        for (long long i = 0; i < visible; ++i) {
            Color c = layout.paletteColor(indexAt(i));
            if (row)
                putBgr(row + 3 * i, c);
        }
        x = std::min(x + n, (long long)layout.width);
    }
};

void walkRle(const BmpLayout& layout, const ByteReader& file, Bitmap* out)
{
    const bool four = layout.compression == Rle4;
    const std::uint8_t* data = file.data();
    RleCursor cursor{layout, out};
    std::size_t pos = layout.pixelOffset;
    while (cursor.y < layout.height) {
        file.require(pos, 2, kRleData);
        unsigned count = data[pos], value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            cursor.run(count, [&](long long i) { return four ? (i % 2 ? value & 0x0F : value >> 4) : value; });
        } else if (value == 0) { // end of line
            cursor.x = 0;
            ++cursor.y;
        } else if (value == 1) { // end of bitmap
            return;
        } else if (value == 2) { // delta: right and down
            file.require(pos, 2, kRleData);
            cursor.x = std::min(cursor.x + data[pos], (long long)layout.width);
            cursor.y += data[pos + 1];
            pos += 2;
        } else { // absolute run of value pixels, padded to a 16-bit boundary
            std::size_t bytes = four ? (value + 1) / 2 : value;
            file.require(pos, bytes, kRleData);
            const std::uint8_t* p = data + pos;
            cursor.run(value, [&](long long i) { return four ? (i % 2 ? p[i / 2] & 0x0F : p[i / 2] >> 4) : p[i]; });
            pos += (bytes + 1) & ~std::size_t(1);
        }
    }
}

} // namespace

Bitmap decodeRle(const BmpLayout& layout, const ByteReader& file)
{
    walkRle(layout, file, nullptr);
    Bitmap out(layout.width, layout.height, PixelFormat::Bgr24);
    fillRect(out, out.rect(), layout.paletteColor(0));
    walkRle(layout, file, &out);
    return out;
}

} // namespace gfx::bmp
