#include "gfx/Shade.h"
#include "gfx/RasterRows.h"
#include <algorithm>
#include <cstring>

namespace gfx {
namespace {

enum ShadeCode : std::uint32_t { Brighten = 1, Darken = 2 };

void shadePixel(std::uint8_t* p, std::uint32_t code, int step)
{
    for (int c = 0; c < 3; ++c)
        p[c] = std::uint8_t(code == Brighten ? std::min(p[c] + step, 255) : std::max(p[c] - step, 0));
}

bool shadable(const Bitmap& dst, const Bitmap& map)
{
    return isColor(dst.format()) && map.format() == PixelFormat::Index4;
}

Rect shadedArea(const Bitmap& dst, int dx, int dy, const Bitmap& map)
{
    return intersected(Rect::fromSize(dx, dy, map.width(), map.height()), dst.rect());
}

// 16 map pixels at a time: a word of the map row, and in it a bit for every pixel whose code
// (low three bits) is 1 or 2, at the lowest bit of that pixel's nibble. Most of a piece's map
// has nothing to shade, so whole words are passed over.
constexpr int kWordPixels = 16;
constexpr std::uint64_t kNibbleLows = 0x1111111111111111ull;

std::uint64_t shadedNibbles(std::uint64_t v)
{
    return (v ^ v >> 1) & ~(v >> 2) & kNibbleLows; // bit 0 and bit 1 differ, bit 2 clear
}

// The pixel of a word that a set bit of shadedNibbles stands for: in memory byte j holds pixel
// 2j in its high nibble and 2j + 1 in its low one.
int pixelOfBit(int bit) { return 2 * (bit / 8) + (bit % 8 == 0 ? 1 : 0); }

void shadeWord(std::uint8_t* row, int bytes, std::uint64_t word, int step)
{
    for (std::uint64_t hits = shadedNibbles(word); hits; hits &= hits - 1) {
        const int bit = __builtin_ctzll(hits);
        shadePixel(row + bytes * pixelOfBit(bit), (word >> bit & 1) ? Brighten : Darken, step);
    }
}

} // namespace

void shadeByMap(Bitmap& dst, int dx, int dy, const Bitmap& map, int step)
{
    if (!shadable(dst, map))
        return;
    const int bytes = bitsPerPixel(dst.format()) / 8;
    const Rect area = shadedArea(dst, dx, dy, map);
    const bool kernel = bytes == 3 && step >= 0 && step <= 255;
    auto* const shadeRow = rows::kernels().shadeRow;
    for (int y = area.top; y < area.bottom; ++y) {
        std::uint8_t* row = dst.scanLine(y);
        const std::uint8_t* mapRow = map.scanLine(y - dy);
        for (int x = area.left; x < area.right;) {
            const int m = x - dx;
            const int words = (area.right - x) / kWordPixels;
            if (m % kWordPixels == 0 && words > 0) {
                if (kernel) {
                    shadeRow(row + 3 * x, mapRow + m / 2, words, step);
                } else {
                    for (int k = 0; k < words; ++k) {
                        std::uint64_t word;
                        std::memcpy(&word, mapRow + m / 2 + 8 * k, 8);
                        shadeWord(row + bytes * (x + kWordPixels * k), bytes, word, step);
                    }
                }
                x += kWordPixels * words;
                continue;
            }
            const std::uint32_t code = (m & 1 ? mapRow[m / 2] : mapRow[m / 2] >> 4) & 7;
            if (code == Brighten || code == Darken)
                shadePixel(row + bytes * x, code, step);
            ++x;
        }
    }
}

namespace reference {

void shadeByMap(Bitmap& dst, int dx, int dy, const Bitmap& map, int step)
{
    if (!shadable(dst, map))
        return;
    int bytes = bitsPerPixel(dst.format()) / 8;
    Rect area = shadedArea(dst, dx, dy, map);
    for (int y = area.top; y < area.bottom; ++y) {
        std::uint8_t* row = dst.scanLine(y);
        for (int x = area.left; x < area.right; ++x) {
            std::uint32_t code = map.value(x - dx, y - dy) & 7;
            if (code == Brighten || code == Darken)
                shadePixel(row + bytes * x, code, step);
        }
    }
}

} // namespace reference
} // namespace gfx
