#pragma once
#include "gfx/Bitmap.h"
#include <array>
#include <cstdint>

namespace gfx {

// Replaces every blue, green and red byte v inside r of a colour bitmap by table[v].
void mapChannels(Bitmap& b, const Rect& r, const std::array<std::uint8_t, 256>& table);

} // namespace gfx
