#include "puzzle/MaskDevice.h"
#include "gfx/GfxError.h"
#include "puzzle/PuzzleErrors.h"

namespace puzzle {

gfx::Bitmap MaskDevice::createMask(int w, int h)
{
    try {
        return gfx::Bitmap(w, h, gfx::PixelFormat::Mono1);
    } catch (const gfx::AllocationError&) {
        throw OutOfMemoryError();
    }
}

} // namespace puzzle
