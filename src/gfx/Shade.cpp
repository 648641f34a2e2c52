#include "gfx/Shade.h"
#include <algorithm>

namespace gfx {
namespace {

enum ShadeCode : std::uint32_t { Brighten = 1, Darken = 2 };

void shadePixel(std::uint8_t* p, std::uint32_t code, int step)
{
    for (int c = 0; c < 3; ++c)
        p[c] = std::uint8_t(code == Brighten ? std::min(p[c] + step, 255) : std::max(p[c] - step, 0));
}

} // namespace

void shadeByMap(Bitmap& dst, int dx, int dy, const Bitmap& map, int step)
{
    if (!isColor(dst.format()) || map.format() != PixelFormat::Index4)
        return;
    int bytes = bitsPerPixel(dst.format()) / 8;
    Rect area = intersected(Rect::fromSize(dx, dy, map.width(), map.height()), dst.rect());
    for (int y = area.top; y < area.bottom; ++y) {
        std::uint8_t* row = dst.scanLine(y);
        for (int x = area.left; x < area.right; ++x) {
            std::uint32_t code = map.value(x - dx, y - dy) & 7;
            if (code == Brighten || code == Darken)
                shadePixel(row + bytes * x, code, step);
        }
    }
}

} // namespace gfx
