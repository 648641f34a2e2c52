#pragma once
#include "gfx/Bitmap.h"
#include <random>
#include <string>
#include <vector>

namespace testing_support {

// Small bitmaps drawn as rows of characters, one character a pixel, so that raster cases read
// as pictures. Mono1 and Index4 pixels are hex digits holding the stored value; colour pixels
// are letters of the legend:
//   k black  w white  r red  g green  b blue  y yellow  c cyan  m magenta
//   R dark red (128,0,0)  G dark green (0,128,0)  O olive (128,128,0)  x grey (128,128,128)
// A colour outside the legend is drawn as '?'.
using Drawing = std::vector<std::string>;

gfx::Bitmap makeBitmap(gfx::PixelFormat format, const Drawing& rows);
Drawing drawingOf(const gfx::Bitmap& bitmap);

gfx::Color legendColor(char letter); // throws std::invalid_argument for a letter not in the legend

// A bitmap of random pixels; Bgrx32 pixels keep their fourth byte at 0xFF.
gfx::Bitmap randomBitmap(int width, int height, gfx::PixelFormat format, std::mt19937& rng);

} // namespace testing_support
