#include "gfx/ChannelMap.h"

namespace gfx {

void mapChannels(Bitmap& b, const Rect& r, const std::array<std::uint8_t, 256>& table)
{
    if (!isColor(b.format()))
        return;
    Rect c = intersected(r, b.rect());
    int bytes = b.format() == PixelFormat::Bgrx32 ? 4 : 3;
    for (int y = c.top; y < c.bottom; ++y) {
        std::uint8_t* p = b.scanLine(y) + bytes * c.left;
        for (int x = c.left; x < c.right; ++x, p += bytes)
            for (int ch = 0; ch < 3; ++ch)
                p[ch] = table[p[ch]];
    }
}

} // namespace gfx
