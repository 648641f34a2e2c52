#pragma once
#include "gfx/Bitmap.h"

namespace sample {

// The sample puzzle's picture: a village on a hill above a lake, mountains, a hot-air balloon
// and a meadow of flowers, painted from code so that every region has colours and detail of
// its own. The same picture every time.
class Landscape {
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 560;
    static gfx::Bitmap Paint();
};

} // namespace sample
