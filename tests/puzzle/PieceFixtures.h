#pragma once
#include "gfx/Bitmap.h"
#include "gfx/Raster.h"
#include <cstdint>
#include <cstring>
#include <string>

// Small helpers shared by the piece tests: patterned bitmaps and pixel comparisons.
namespace piece_fixtures {

// A colour that differs for every pixel of a bitmap up to 256 x 256.
inline gfx::Color patternColor(int x, int y) { return gfx::rgb(x, y, (x * 7 + y * 13) & 0xFF); }

inline void fillPattern(gfx::Bitmap& b)
{
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            b.setValue(x, y, patternColor(x, y));
}

// Equal sizes, formats and pixel values.
inline bool samePixels(const gfx::Bitmap& a, const gfx::Bitmap& b)
{
    if (a.width() != b.width() || a.height() != b.height() || a.format() != b.format())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.value(x, y) != b.value(x, y))
                return false;
    return true;
}

// The first pixel where a and b differ inside r, as "x,y", or empty when they agree there.
inline std::string firstDifference(const gfx::Bitmap& a, const gfx::Bitmap& b, const gfx::Rect& r)
{
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (a.value(x, y) != b.value(x, y))
                return std::to_string(x) + "," + std::to_string(y);
    return {};
}

inline bool maskInside(const gfx::Bitmap& mask, int x, int y)
{
    return mask.rect().contains(x, y) && mask.value(x, y) == 0;
}

} // namespace piece_fixtures
