#include "puzzle/TPuzzle.h"
#include "gfx/GfxError.h"
#include "gfx/Raster.h"
#include "gfx/Shade.h"
#include "puzzle/OutlineCache.h"
#include "puzzle/PuzzleErrors.h"
#include "puzzle/StripLibrary.h"

namespace puzzle {
namespace {

// How much the bevel lights the upper-left edges and darkens the lower-right ones.
constexpr int kBevelStep = 50;
// The pens of the flat border edges; the shading map stores them as indices 1 and 2.
constexpr gfx::Color kHighlightPen = gfx::rgb(128, 0, 0);
constexpr gfx::Color kShadowPen = gfx::rgb(0, 128, 0);

// The sides in the order the outline is built; where steps meet, later ones win.
enum class Side { Top, Bottom, Left, Right };
constexpr Side kSides[] = {Side::Top, Side::Bottom, Side::Left, Side::Right};

bool isBorder(const TPuzzle& p, Side side)
{
    switch (side) {
    case Side::Top: return p.BorderTop;
    case Side::Bottom: return p.BorderBottom;
    case Side::Left: return p.BorderLeft;
    case Side::Right: return p.BorderRight;
    }
    return false;
}

bool hasKnob(const TPuzzle& p, Side side)
{
    switch (side) {
    case Side::Top: return p.KnobTop;
    case Side::Bottom: return p.KnobBottom;
    case Side::Left: return p.KnobLeft;
    case Side::Right: return p.KnobRight;
    }
    return false;
}

int stripOffset(const TPuzzle& p, Side side)
{
    const bool knob = hasKnob(p, side);
    switch (side) {
    case Side::Top: return knob ? TopKnob : TopSocket;
    case Side::Bottom: return knob ? BottomKnob : BottomSocket;
    case Side::Left: return knob ? LeftKnob : LeftSocket;
    case Side::Right: return knob ? RightKnob : RightSocket;
    }
    return 0;
}

// The margin band of a side in tile coordinates; strip pixel (0, 0) lies at its top-left.
gfx::Rect bandOf(Side side, const gfx::Rect& body, int w, int h)
{
    switch (side) {
    case Side::Top: return {0, 0, w, body.top};
    case Side::Bottom: return {0, body.bottom, w, h};
    case Side::Left: return {0, 0, body.left, h};
    case Side::Right: return {body.right, 0, w, h};
    }
    return {};
}

void andInto(gfx::Bitmap& dst, const gfx::Rect& band, const gfx::Bitmap& strip)
{
    gfx::bitBlt(dst, band.left, band.top, band.width(), band.height(), strip, 0, 0, gfx::Rop::And);
}

// A flat side: the area that lies beyond the picture, and the one-pixel bevel line along it.
struct FlatEdge {
    gfx::Rect area;
    int x0, y0, x1, y1; // the line, end point excluded
    gfx::Color pen;
};

// a and b are the rows and columns of a last-row or last-column tile beyond the picture. The
// vertical lines stop above row h - a - 1 on every piece, in the last row or not.
FlatEdge flatEdgeOf(Side side, const gfx::Rect& body, int w, int h, int a, int b)
{
    int k = body.left, top = body.top;
    switch (side) {
    case Side::Top: return {{0, 0, w, top}, k, top, w, top, kHighlightPen};
    case Side::Bottom: return {{0, h - a, w, h}, 0, h - a - 1, w, h - a - 1, kShadowPen};
    case Side::Left: return {{0, 0, k, h}, k, 0, k, h - a - 1, kHighlightPen};
    case Side::Right: return {{w - b, 0, w, h}, w - b - 1, 0, w - b - 1, h - a - 1, kShadowPen};
    }
    return {};
}

void flatten(gfx::Bitmap& mask, gfx::Bitmap& map, const FlatEdge& edge)
{
    gfx::patBlt(mask, edge.area, gfx::Pattern::White);
    gfx::patBlt(map, edge.area, gfx::Pattern::White);
    gfx::drawLine(map, edge.x0, edge.y0, edge.x1, edge.y1, edge.pen);
}

// Side 0 for a border, 1 for a knob, 2 for a socket.
std::uint8_t sideOf(const TPuzzle& p, Side side)
{
    return isBorder(p, side) ? 0 : hasKnob(p, side) ? 1 : 2;
}

gfx::Bitmap blank(int w, int h, gfx::PixelFormat format)
{
    try {
        gfx::Bitmap b(w, h, format);
        gfx::patBlt(b, b.rect(), gfx::Pattern::White); // the mask all outside, the map 15: nothing drawn
        return b;
    } catch (const gfx::AllocationError&) {
        throw OutOfMemoryError();
    }
}

// The outline from the strips: the body cleared in a blank mask, each knob or socket side's
// strips ANDed into mask and map, then the flat borders.
Outline buildOutline(const TPuzzle& p, const gfx::Rect& body, int level, int lastColumnTrim, int lastRowTrim)
{
    const int w = p.Bounds.width(), h = p.Bounds.height();
    Outline o{blank(w, h, gfx::PixelFormat::Mono1), blank(w, h, gfx::PixelFormat::Index4)};
    gfx::patBlt(o.mask, body, gfx::Pattern::Black);
    for (Side side : kSides)
        if (!isBorder(p, side)) {
            int offset = stripOffset(p, side);
            gfx::Rect band = bandOf(side, body, w, h);
            andInto(o.mask, band, LoadStrip(OutlineStripNumber(level, offset)));
            andInto(o.map, band, LoadStrip(ShadingStripNumber(level, offset)));
        }
    for (Side side : kSides)
        if (isBorder(p, side))
            flatten(o.mask, o.map, flatEdgeOf(side, body, w, h, lastRowTrim, lastColumnTrim));
    return o;
}

OutlineCache& outlines()
{
    static OutlineCache cache;
    return cache;
}

} // namespace

TPuzzle::TPuzzle(int x, int y, int width, int height)
    : Bounds(gfx::Rect::fromSize(x, y, width, height))
{
}

gfx::Rect TPuzzle::tileRect() const
{
    int w = Bounds.width(), h = Bounds.height();
    return gfx::Rect::fromSize(Column * w, Row * h, w, h);
}

void TPuzzle::BuildShape(const gfx::Rect& body, gfx::Bitmap& pieceSheet, int level, int lastColumnTrim,
                         int lastRowTrim, MaskDevice& device)
{
    int w = Bounds.width(), h = Bounds.height();
    Mask = gfx::Bitmap();
    Mask = device.createMask(w, h);
    const OutlineKey key{level, w, h, body, lastColumnTrim, lastRowTrim, sideOf(*this, Side::Top),
                         sideOf(*this, Side::Bottom), sideOf(*this, Side::Left), sideOf(*this, Side::Right)};
    const Outline& outline = outlines().outlineFor(
        key, [&] { return buildOutline(*this, body, level, lastColumnTrim, lastRowTrim); });
    gfx::bitBlt(Mask, 0, 0, w, h, outline.mask, 0, 0, gfx::Rop::Copy);
    gfx::Rect tile = tileRect();
    gfx::shadeByMap(pieceSheet, tile.left, tile.top, outline.map, kBevelStep);
}

bool TPuzzle::HitTest(int x, int y) const
{
    return Bounds.contains(x, y) && hasMask()
        && gfx::getPixel(Mask, x - Bounds.left, y - Bounds.top) == gfx::kBlack;
}

void TPuzzle::Draw(gfx::Bitmap& dest, const gfx::Bitmap& pieceSheet) const
{
    DrawClipped(dest, Bounds, pieceSheet);
}

void TPuzzle::DrawClipped(gfx::Bitmap& dest, const gfx::Rect& clip, const gfx::Bitmap& pieceSheet) const
{
    gfx::Rect r = gfx::intersected(clip, Bounds);
    if (r.isEmpty() || !hasMask())
        return;
    gfx::Rect tile = tileRect();
    int ox = r.left - Bounds.left, oy = r.top - Bounds.top;
    gfx::maskedCopy(dest, r.left, r.top, r.width(), r.height(), pieceSheet, tile.left + ox, tile.top + oy, Mask,
                    ox, oy);
}

void TPuzzle::Prefetch(const gfx::Bitmap& dest, const gfx::Bitmap& pieceSheet) const
{
    gfx::prefetch(pieceSheet, tileRect());
    gfx::prefetch(Mask, Mask.rect());
    gfx::prefetch(dest, Bounds);
}

void TPuzzle::DrawShadow(gfx::Bitmap& dest) const
{
    if (hasMask())
        gfx::bitBlt(dest, Bounds.left + 2, Bounds.top + 2, Mask.width(), Mask.height(), Mask, 0, 0, gfx::Rop::And);
}

void TPuzzle::Rotate(int angle, gfx::Bitmap& pieceSheet)
{
    if (angle != 90 && angle != 270)
        return;
    gfx::quarterTurn(pieceSheet, tileRect(), angle);
    RotateMask(angle);
    Turns = std::uint8_t((Turns + (angle == 90 ? 1 : 3)) % 4);
}

void TPuzzle::HalfTurn(gfx::Bitmap& pieceSheet)
{
    gfx::halfTurn(pieceSheet, tileRect());
    if (hasMask())
        gfx::halfTurn(Mask, Mask.rect());
    Turns = std::uint8_t((Turns + 2) % 4);
}

void TPuzzle::RotateMask(int angle)
{
    if (hasMask())
        gfx::quarterTurn(Mask, Mask.rect(), angle);
}

} // namespace puzzle
