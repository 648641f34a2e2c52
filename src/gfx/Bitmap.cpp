#include "gfx/Bitmap.h"
#include "gfx/GfxError.h"
#include "gfx/Palette16.h"
#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace gfx {
namespace {

// A Bgrx32 pixel of value 0 as a little-endian word: blue, green, red 0 and the fourth byte 0xFF.
constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;

// The bytes of a row that `width` pixels fill: the whole ones, and the leading bits of a last
// byte they share with the pixels beyond (partial is 0 when there is none).
struct RowBytes {
    std::size_t whole;
    std::uint8_t partial;
    std::size_t kept() const { return whole + (partial ? 1 : 0); }
};

RowBytes rowBytes(int width, PixelFormat format)
{
    const long long bits = (long long)width * bitsPerPixel(format);
    return {std::size_t(bits / 8), std::uint8_t(0xFF00 >> (bits % 8))};
}

// Only the kept pixels of a row travel, never the bits beyond them; d may lie before s in the
// same storage.
void copyKept(std::uint8_t* d, const std::uint8_t* s, const RowBytes& r)
{
    std::memmove(d, s, r.whole);
    if (r.partial)
        d[r.whole] = s[r.whole] & r.partial;
}

} // namespace

int Bitmap::strideFor(int width, PixelFormat format)
{
    long long bitsPerRow = (long long)width * bitsPerPixel(format);
    return int((bitsPerRow + 31) / 32 * 4);
}

Bitmap::Bitmap(int width, int height, PixelFormat format)
    : Bitmap(width, height, format, true)
{
}

Bitmap Bitmap::uninitialized(int width, int height, PixelFormat format) { return Bitmap(width, height, format, false); }

Bitmap::Bitmap(int width, int height, PixelFormat format, bool zeroed)
    : m_format(format)
{
    if (width < 0 || height < 0 || (long long)width * height > kMaxPixels)
        throw AllocationError("Bitmap of " + std::to_string(width) + " x " + std::to_string(height)
                              + " pixels is too large");
    if (width == 0 || height == 0)
        return;
    m_stride = strideFor(width, format);
    try {
        m_data = PixelStore(std::size_t(m_stride) * height, zeroed);
    } catch (const std::bad_alloc&) {
        throw AllocationError("Not enough memory for a bitmap");
    }
    m_width = width;
    m_height = height;
    if (format == PixelFormat::Bgrx32) // keep the unused byte opaque for the window system
        std::fill_n(reinterpret_cast<std::uint32_t*>(m_data.data()), m_data.size() / 4, kOpaqueBlack);
}

void Bitmap::resize(int width, int height)
{
    if (width == m_width && height == m_height)
        return;
    if (width > 0 && height > 0 && width <= m_width && height <= m_height) {
        shrinkInPlace(width, height);
        return;
    }
    // A grown area must come out zeroed, so the kept pixels travel alone.
    Bitmap grown(width, height, m_format);
    const RowBytes kept = rowBytes(std::min(width, m_width), m_format);
    for (int y = 0; y < std::min(height, m_height); ++y)
        copyKept(grown.scanLine(y), scanLine(y), kept);
    *this = std::move(grown);
}

// Each row moves to a place at or before its old one, so moving them top-down never overwrites
// a row still to move. What lies beyond the kept pixels of a row is zeroed, as in a new bitmap.
void Bitmap::shrinkInPlace(int width, int height)
{
    const int stride = strideFor(width, m_format);
    const RowBytes kept = rowBytes(width, m_format);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* d = m_data.data() + std::size_t(y) * stride;
        copyKept(d, scanLine(y), kept);
        std::memset(d + kept.kept(), 0, std::size_t(stride) - kept.kept());
    }
    m_width = width;
    m_height = height;
    m_stride = stride;
}

std::uint32_t Bitmap::value(int x, int y) const
{
    const std::uint8_t* row = scanLine(y);
    switch (m_format) {
    case PixelFormat::Mono1: return row[x >> 3] >> (7 - (x & 7)) & 1;
    case PixelFormat::Index4: return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    case PixelFormat::Bgr24:
    case PixelFormat::Bgrx32: {
        const std::uint8_t* p = row + bitsPerPixel(m_format) / 8 * x;
        return rgb(p[2], p[1], p[0]);
    }
    }
    return 0;
}

void Bitmap::setValue(int x, int y, std::uint32_t v)
{
    std::uint8_t* row = scanLine(y);
    switch (m_format) {
    case PixelFormat::Mono1: {
        std::uint8_t bit = std::uint8_t(0x80 >> (x & 7));
        row[x >> 3] = (v & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit);
        return;
    }
    case PixelFormat::Index4: {
        std::uint8_t& b = row[x >> 1];
        b = (x & 1) ? std::uint8_t((b & 0xF0) | (v & 0x0F)) : std::uint8_t((b & 0x0F) | (v & 0x0F) << 4);
        return;
    }
    case PixelFormat::Bgr24:
    case PixelFormat::Bgrx32: {
        std::uint8_t* p = row + bitsPerPixel(m_format) / 8 * x;
        p[0] = std::uint8_t(blueOf(v));
        p[1] = std::uint8_t(greenOf(v));
        p[2] = std::uint8_t(redOf(v));
        if (m_format == PixelFormat::Bgrx32)
            p[3] = 0xFF;
        return;
    }
    }
}

Color Bitmap::colorAt(int x, int y) const
{
    std::uint32_t v = value(x, y);
    switch (m_format) {
    case PixelFormat::Mono1: return v ? kWhite : kBlack;
    case PixelFormat::Index4: return kPalette16[v];
    default: return v;
    }
}

int nearestPaletteIndex(Color c)
{
    int best = 0;
    long best_d = -1;
    for (int i = 0; i < 16; ++i) {
        long dr = redOf(c) - redOf(kPalette16[i]);
        long dg = greenOf(c) - greenOf(kPalette16[i]);
        long db = blueOf(c) - blueOf(kPalette16[i]);
        long d = dr * dr + dg * dg + db * db;
        if (best_d < 0 || d < best_d) {
            best_d = d;
            best = i;
        }
    }
    return best;
}

} // namespace gfx
