#pragma once
#include "SideShape.h"
#include "gfx/Bitmap.h"

// The four sides of a tile and how a side's shape lies in its strip bitmap. The right and
// left strips are depth wide and length tall, the top and bottom strips length wide and depth
// tall; depth 0 touches the body (the right strip's column 0, the left strip's last column,
// the bottom strip's row 0, the top strip's last row). Each side is the right side turned
// with the piece (bottom a quarter turn clockwise, left a half turn, top three quarters), so
// positions along the side run clockwise around the piece and a turned piece keeps its shape.
enum class StripSide { Right, Bottom, Top, Left };

// The side's frame for a strip pixel (x, y), also one outside the strip.
struct SidePoint {
    int p, d;
};
SidePoint sidePoint(StripSide side, const SideShape& shape, int x, int y);

int stripWidth(StripSide side, const SideShape& shape);
int stripHeight(StripSide side, const SideShape& shape);

// The outline strip: 0 (black) inside the piece, 1 (white) outside.
gfx::Bitmap OutlineStrip(const SideShape& shape, StripSide side);
