#include "support/BitmapPattern.h"
#include <array>
#include <stdexcept>
#include <utility>

namespace testing_support {
namespace {

const std::array<std::pair<char, gfx::Color>, 12> kLegend = {{
    {'k', gfx::rgb(0, 0, 0)},       {'w', gfx::rgb(255, 255, 255)}, {'r', gfx::rgb(255, 0, 0)},
    {'g', gfx::rgb(0, 255, 0)},     {'b', gfx::rgb(0, 0, 255)},     {'y', gfx::rgb(255, 255, 0)},
    {'c', gfx::rgb(0, 255, 255)},   {'m', gfx::rgb(255, 0, 255)},   {'R', gfx::rgb(128, 0, 0)},
    {'G', gfx::rgb(0, 128, 0)},     {'O', gfx::rgb(128, 128, 0)},   {'x', gfx::rgb(128, 128, 128)},
}};

char legendLetter(gfx::Color c)
{
    for (const auto& [letter, color] : kLegend)
        if (color == c)
            return letter;
    return '?';
}

std::uint32_t pixelValue(gfx::PixelFormat format, char ch)
{
    if (gfx::isColor(format))
        return legendColor(ch);
    std::uint32_t v = std::stoul(std::string(1, ch), nullptr, 16);
    if (v >= (1u << gfx::bitsPerPixel(format)))
        throw std::invalid_argument(std::string("value out of range: ") + ch);
    return v;
}

} // namespace

gfx::Color legendColor(char letter)
{
    for (const auto& [l, color] : kLegend)
        if (l == letter)
            return color;
    throw std::invalid_argument(std::string("no legend colour for ") + letter);
}

gfx::Bitmap makeBitmap(gfx::PixelFormat format, const Drawing& rows)
{
    int width = rows.empty() ? 0 : int(rows[0].size());
    gfx::Bitmap b(width, int(rows.size()), format);
    for (int y = 0; y < b.height(); ++y) {
        if (int(rows[y].size()) != width)
            throw std::invalid_argument("rows of a drawing differ in length");
        for (int x = 0; x < width; ++x)
            b.setValue(x, y, pixelValue(format, rows[y][x]));
    }
    return b;
}

Drawing drawingOf(const gfx::Bitmap& bitmap)
{
    Drawing rows(bitmap.height(), std::string(bitmap.width(), ' '));
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            std::uint32_t v = bitmap.value(x, y);
            rows[y][x] = gfx::isColor(bitmap.format()) ? legendLetter(v) : "0123456789abcdef"[v];
        }
    return rows;
}

gfx::Bitmap randomBitmap(int width, int height, gfx::PixelFormat format, std::mt19937& rng)
{
    gfx::Bitmap b(width, height, format);
    std::uniform_int_distribution<std::uint32_t> any(0, 0xFFFFFF);
    std::uint32_t valueMask = gfx::isColor(format) ? 0xFFFFFF : (1u << gfx::bitsPerPixel(format)) - 1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.setValue(x, y, any(rng) & valueMask);
    return b;
}

} // namespace testing_support
