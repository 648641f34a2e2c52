#pragma once
#include "gfx/Bitmap.h"

namespace gfx {

// Lights or darkens the pixels of a colour bitmap under a 4-bit map laid at (dx, dy). Only the
// low three bits of a map code count: 1 raises each of the pixel's channels by step (at most
// 255), 2 lowers each by step (at least 0), every other code leaves the pixel alone. Map pixels
// that fall outside dst are skipped; a destination that is not a colour bitmap, or a map that
// is not Index4, changes nothing.
void shadeByMap(Bitmap& dst, int dx, int dy, const Bitmap& map, int step);

// The plain per-pixel implementation that the one above must equal.
namespace reference {
void shadeByMap(Bitmap& dst, int dx, int dy, const Bitmap& map, int step);
}

} // namespace gfx
