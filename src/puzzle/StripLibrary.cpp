#include "puzzle/StripLibrary.h"
#include "EmbeddedStrips.h"
#include "gfx/BmpCodec.h"
#include "gfx/Raster.h"
#include "puzzle/PuzzleErrors.h"
#include <map>

namespace puzzle {
namespace {

bool isOutlineNumber(int number)
{
    int offset = number % 10;
    return number >= 151 && number <= 188 && offset >= RightKnob && offset <= LeftSocket;
}

bool isShadingNumber(int number) { return isOutlineNumber(number - 100); }

// The files hold plain colours, so that any paint program can redraw them; the pieces want
// mask bits (white is 1) and palette indices.
gfx::Bitmap decodeStrip(int number)
{
    bool outline = isOutlineNumber(number);
    const resources::EmbeddedFile* file =
        outline || isShadingNumber(number) ? resources::findEmbeddedStrip(number) : nullptr;
    if (!file)
        throw ResourceNotFoundError(number);
    gfx::Bitmap colours = gfx::DecodeBmp(file->data, file->size);
    gfx::Bitmap strip(colours.width(), colours.height(), outline ? gfx::PixelFormat::Mono1 : gfx::PixelFormat::Index4);
    gfx::bitBlt(strip, 0, 0, strip.width(), strip.height(), colours, 0, 0, gfx::Rop::Copy);
    return strip;
}

} // namespace

const gfx::Bitmap& LoadStrip(int number)
{
    static std::map<int, gfx::Bitmap> cache; // the player runs on one thread
    auto found = cache.find(number);
    if (found != cache.end())
        return found->second;
    return cache.emplace(number, decodeStrip(number)).first->second;
}

} // namespace puzzle
