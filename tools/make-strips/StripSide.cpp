#include "StripSide.h"

namespace {
bool upright(StripSide side) { return side == StripSide::Right || side == StripSide::Left; }
} // namespace

SidePoint sidePoint(StripSide side, const SideShape& shape, int x, int y)
{
    int lastP = shape.length() - 1, lastD = shape.depth() - 1;
    switch (side) {
    case StripSide::Right: return {y, x};
    case StripSide::Bottom: return {lastP - x, y};
    case StripSide::Left: return {lastP - y, lastD - x};
    case StripSide::Top: return {x, lastD - y};
    }
    return {0, 0};
}

int stripWidth(StripSide side, const SideShape& shape) { return upright(side) ? shape.depth() : shape.length(); }
int stripHeight(StripSide side, const SideShape& shape) { return upright(side) ? shape.length() : shape.depth(); }

gfx::Bitmap OutlineStrip(const SideShape& shape, StripSide side)
{
    gfx::Bitmap strip(stripWidth(side, shape), stripHeight(side, shape), gfx::PixelFormat::Mono1);
    for (int y = 0; y < strip.height(); ++y)
        for (int x = 0; x < strip.width(); ++x) {
            SidePoint s = sidePoint(side, shape, x, y);
            strip.setValue(x, y, shape.at(s.p, s.d) ? 0 : 1);
        }
    return strip;
}
