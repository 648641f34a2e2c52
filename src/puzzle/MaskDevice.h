#pragma once
#include "gfx/Bitmap.h"

namespace puzzle {

// Makes the pieces' mask bitmaps. The game owns one; a test may derive from it to make
// mask creation fail on demand.
class MaskDevice {
public:
    virtual ~MaskDevice() = default;
    // A w x h mask, or throws OutOfMemoryError when it cannot be made.
    virtual gfx::Bitmap createMask(int w, int h);
};

} // namespace puzzle
