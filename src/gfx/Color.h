#pragma once
#include <cstdint>

namespace gfx {

// A colour as the package stores it: red in bits 0-7, green 8-15, blue 16-23.
using Color = std::uint32_t;

constexpr Color rgb(int r, int g, int b)
{
    return Color(r & 0xFF) | Color(g & 0xFF) << 8 | Color(b & 0xFF) << 16;
}
constexpr int redOf(Color c) { return int(c & 0xFF); }
constexpr int greenOf(Color c) { return int(c >> 8 & 0xFF); }
constexpr int blueOf(Color c) { return int(c >> 16 & 0xFF); }

constexpr Color kBlack = rgb(0, 0, 0);
constexpr Color kWhite = rgb(255, 255, 255);

} // namespace gfx
