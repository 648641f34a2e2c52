#pragma once

namespace gfx {

enum class PixelFormat {
    Mono1,  // 1 bit: 0 black, 1 white; most significant bit first
    Index4, // 4-bit indices into the standard 16-colour palette; high nibble first
    Bgr24,  // blue, green, red bytes
    Bgrx32, // blue, green, red, 0xFF: the layout a window system shows without conversion
};

constexpr int bitsPerPixel(PixelFormat f)
{
    switch (f) {
    case PixelFormat::Mono1: return 1;
    case PixelFormat::Index4: return 4;
    case PixelFormat::Bgr24: return 24;
    case PixelFormat::Bgrx32: return 32;
    }
    return 0;
}

constexpr bool isColor(PixelFormat f) { return f == PixelFormat::Bgr24 || f == PixelFormat::Bgrx32; }

} // namespace gfx
