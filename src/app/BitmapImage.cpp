#include "app/BitmapImage.h"
#include <QtGlobal>
#include <stdexcept>

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "Bgrx32 bitmaps are shown as RGB32 only on little-endian machines");

namespace app {

QImage wrapBitmap(const gfx::Bitmap& bitmap)
{
    if (bitmap.format() != gfx::PixelFormat::Bgrx32)
        throw std::invalid_argument("Only Bgrx32 bitmaps can be shown on the screen.");
    if (bitmap.isNull())
        return QImage();
    return QImage(bitmap.bits(), bitmap.width(), bitmap.height(), bitmap.stride(), QImage::Format_RGB32);
}

} // namespace app
