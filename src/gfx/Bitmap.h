#pragma once
#include "gfx/Color.h"
#include "gfx/PixelFormat.h"
#include "gfx/PixelStore.h"
#include "gfx/Rect.h"
#include <cstdint>

namespace gfx {

// A raster image of one of four formats, rows stored top-down and padded to 4 bytes.
// The fourth byte of a Bgrx32 pixel is always 0xFF; code writing through scanLine keeps it so.
// A default-constructed bitmap is null: no pixels, nothing to draw.
class Bitmap {
public:
    static constexpr long long kMaxPixels = 1LL << 28;

    Bitmap() = default;
    // Throws AllocationError for a negative or absurd size. Content starts zeroed.
    Bitmap(int width, int height, PixelFormat format);
    // The same with undefined content, for a bitmap whose every pixel is written before it is
    // read; it may take the memory of one released a moment ago. Bgrx32 fourth bytes are set.
    static Bitmap uninitialized(int width, int height, PixelFormat format);

    bool isNull() const { return m_width == 0 || m_height == 0; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    Rect rect() const { return {0, 0, m_width, m_height}; }
    PixelFormat format() const { return m_format; }
    int stride() const { return m_stride; }

    std::uint8_t* scanLine(int y) { return m_data.data() + std::size_t(y) * m_stride; }
    const std::uint8_t* scanLine(int y) const { return m_data.data() + std::size_t(y) * m_stride; }
    std::uint8_t* bits() { return m_data.data(); }
    const std::uint8_t* bits() const { return m_data.data(); }

    // Changes the size; the overlapping top-left area keeps its pixels, a grown area is zeroed.
    // A bitmap that shrinks keeps its storage: nothing is allocated.
    void resize(int width, int height);

    // The stored value: the bit, the palette index, or the colour.
    std::uint32_t value(int x, int y) const;
    void setValue(int x, int y, std::uint32_t v);
    // The colour a pixel shows: black or white for masks, the palette colour for maps.
    Color colorAt(int x, int y) const;

    static int strideFor(int width, PixelFormat format);

private:
    Bitmap(int width, int height, PixelFormat format, bool zeroed);
    void shrinkInPlace(int width, int height);

    int m_width = 0;
    int m_height = 0;
    PixelFormat m_format = PixelFormat::Bgr24;
    int m_stride = 0;
    PixelStore m_data;
};

} // namespace gfx
