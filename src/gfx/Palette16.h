#pragma once
#include "gfx/Color.h"
#include <array>

namespace gfx {

// The standard 16-colour palette of 4-bit maps. The shading code relies on
// 1 dark red, 2 dark green, 3 olive, 12 blue and 15 white.
constexpr std::array<Color, 16> kPalette16 = {
    rgb(0, 0, 0),       rgb(128, 0, 0),   rgb(0, 128, 0),   rgb(128, 128, 0),
    rgb(0, 0, 128),     rgb(128, 0, 128), rgb(0, 128, 128), rgb(128, 128, 128),
    rgb(192, 192, 192), rgb(255, 0, 0),   rgb(0, 255, 0),   rgb(255, 255, 0),
    rgb(0, 0, 255),     rgb(255, 0, 255), rgb(0, 255, 255), rgb(255, 255, 255),
};

// The index of the palette colour nearest to c (exact colours map to themselves).
int nearestPaletteIndex(Color c);

} // namespace gfx
