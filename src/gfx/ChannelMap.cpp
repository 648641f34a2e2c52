#include "gfx/ChannelMap.h"
#include "gfx/RasterRows.h"

namespace gfx {

void mapChannels(Bitmap& b, const Rect& r, const std::array<std::uint8_t, 256>& table)
{
    if (!isColor(b.format()))
        return;
    Rect c = intersected(r, b.rect());
    if (b.format() == PixelFormat::Bgr24) {
        // Every byte of a Bgr24 row is a channel: one run of bytes per row.
        const auto map = rows::kernels().mapBytes;
        for (int y = c.top; y < c.bottom; ++y)
            map(b.scanLine(y) + 3 * c.left, 3 * std::size_t(c.width()), table.data());
        return;
    }
    for (int y = c.top; y < c.bottom; ++y) {
        std::uint8_t* p = b.scanLine(y) + 4 * c.left;
        for (int x = c.left; x < c.right; ++x, p += 4)
            for (int ch = 0; ch < 3; ++ch)
                p[ch] = table[p[ch]];
    }
}

} // namespace gfx
