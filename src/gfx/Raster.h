#pragma once
#include "gfx/Bitmap.h"

// The raster core: every block transfer, fill, line and stretch of the program goes through here.
// Values combine in the destination's domain: a mask bit read into a colour bitmap is all bits 0
// (black) or all bits 1 (white); a colour read into a mask is 1 exactly when it is white; a
// colour read into a 4-bit map becomes the nearest palette index. Every operation clips against
// the bounds of all bitmaps involved, negative offsets included; pixels that would come from
// outside a source are left alone. A source (or mask) that is also the destination is read as
// it was before the operation, so overlapping transfers come out right.
namespace gfx {

enum class Rop {
    Copy, // destination = source
    And,  // destination = destination AND source
    Or,   // destination = destination OR source
};

enum class Pattern {
    White,  // every bit 1
    Black,  // every bit 0
    Invert, // destination = NOT destination
};

void bitBlt(Bitmap& dst, int dx, int dy, int w, int h, const Bitmap& src, int sx, int sy, Rop rop);
void patBlt(Bitmap& dst, const Rect& r, Pattern pattern);
void fillRect(Bitmap& dst, const Rect& r, Color color);
// Fills the part of area outside hole: the bands above and below the hole, and those beside it.
void fillAround(Bitmap& dst, const Rect& area, const Rect& hole, Color color);

// A one-pixel line from (x0, y0) to (x1, y1); the end point itself is not drawn. It takes one
// step per pixel along the longer axis; step k sits at the start plus the delta times k / steps
// on the other axis, rounded half away from the start.
void drawLine(Bitmap& dst, int x0, int y0, int x1, int y1, Color color);

constexpr Color kInvalidColor = 0xFFFFFFFFu;
// The colour shown at (x, y), or kInvalidColor outside the bitmap.
Color getPixel(const Bitmap& b, int x, int y);

// Nearest-neighbour stretch of s in src onto d in dst, whole rows and columns dropped or repeated.
// Destination index i along an axis reads source index stretchSourceIndex(i, source length,
// destination length) counted from the source rectangle's start.
void stretchBlt(Bitmap& dst, const Rect& d, const Bitmap& src, const Rect& s);
constexpr int stretchSourceIndex(int i, int srcLength, int dstLength)
{
    return int((long long)i * srcLength / dstLength);
}

// The fused shaped copy: inside the w x h area at (dx, dy), every pixel whose mask bit at
// (mx, my) + offset is 0 takes the source pixel at (sx, sy) + offset; the others keep their
// value. Equal, pixel for pixel, to the masked-drawing sequence of the reference path.
void maskedCopy(Bitmap& dst, int dx, int dy, int w, int h, const Bitmap& src, int sx, int sy,
                const Bitmap& mask, int mx, int my);

// Asks the processor to start loading the pixels of r (clipped to b) into its caches, so that
// an operation on them soon after need not wait for memory. Changes nothing.
void prefetch(const Bitmap& b, const Rect& r);

// Turns a square of b a quarter in place: by 90 new (x, y) = old (n - 1 - y, x), a quarter turn
// counter-clockwise on the screen; by 270 new (x, y) = old (y, n - 1 - x), clockwise, with
// (x, y) counted from the square's top-left. Other angles, and a square that is not one or does
// not lie wholly inside b, change nothing. Squares up to 96 pixels allocate nothing.
void quarterTurn(Bitmap& b, const Rect& square, int angle);
// Turns a rectangle of b half round in place: new (x, y) = old (w - 1 - x, h - 1 - y), what two
// quarter turns of a square give. A rectangle not wholly inside b changes nothing. Rectangles
// up to 96 pixels wide allocate nothing.
void halfTurn(Bitmap& b, const Rect& r);

// The plain per-pixel implementation that every fast path must equal.
namespace reference {
void patBlt(Bitmap& dst, const Rect& r, Pattern pattern);
void stretchBlt(Bitmap& dst, const Rect& d, const Bitmap& src, const Rect& s);
void quarterTurn(Bitmap& b, const Rect& square, int angle);
void halfTurn(Bitmap& b, const Rect& r);
void bitBlt(Bitmap& dst, int dx, int dy, int w, int h, const Bitmap& src, int sx, int sy, Rop rop);
void maskedCopy(Bitmap& dst, int dx, int dy, int w, int h, const Bitmap& src, int sx, int sy,
                const Bitmap& mask, int mx, int my);
} // namespace reference

} // namespace gfx
