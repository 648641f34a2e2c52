#include "gfx/Shade.h"
#include "gfx/RasterRows.h"
#include <algorithm>
#include <cstring>

namespace gfx {
namespace {

bool shadable(const Bitmap& dst, const Bitmap& map)
{
    return isColor(dst.format()) && map.format() == PixelFormat::Index4;
}

Rect shadedArea(const Bitmap& dst, int dx, int dy, const Bitmap& map)
{
    return intersected(Rect::fromSize(dx, dy, map.width(), map.height()), dst.rect());
}

// 16 map pixels at a time: a word of the map row (see rows::shadedNibbles).
constexpr int kWordPixels = 16;

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
                        rows::shadeWord(row + bytes * (x + kWordPixels * k), bytes, word, step);
                    }
                }
                x += kWordPixels * words;
                continue;
            }
            const std::uint32_t code = (m & 1 ? mapRow[m / 2] : mapRow[m / 2] >> 4) & 7;
            if (code == rows::Lighter || code == rows::Darker)
                rows::shadePixel(row + bytes * x, code, step);
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
            if (code == rows::Lighter || code == rows::Darker)
                rows::shadePixel(row + bytes * x, code, step);
        }
    }
}

} // namespace reference
} // namespace gfx
