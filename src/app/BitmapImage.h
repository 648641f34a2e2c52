#pragma once
#include "gfx/Bitmap.h"
#include <QImage>

namespace app {

// A QImage over the pixels of a Bgrx32 bitmap, without copying: blue, green, red, 0xFF bytes are
// QImage::Format_RGB32 on a little-endian machine. The image is valid while the bitmap lives and
// keeps its size. Throws std::invalid_argument for any other format.
QImage wrapBitmap(const gfx::Bitmap& bitmap);

} // namespace app
