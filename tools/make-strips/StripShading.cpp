#include "StripShading.h"
#include <cstdlib>

namespace {

// How far around a pixel the outline's direction is judged, and how nearly the outside must
// balance between the lit and the shaded directions to count as facing neither.
constexpr int kReach = 2;
constexpr int kBalance = 2;

// The run of positions around the middle of the side where a knob's head has pixels.
struct Run {
    int first = 0, last = -1;
    bool contains(int p) const { return p >= first && p <= last; }
};

bool hasPixels(const SideShape& shape, int p)
{
    for (int d = 0; d < shape.depth(); ++d)
        if (shape.at(p, d))
            return true;
    return false;
}

Run headOf(const SideShape& shape)
{
    Run run{shape.length() / 2, shape.length() / 2 - 1};
    if (!hasPixels(shape, run.first))
        return {};
    while (run.first > 0 && hasPixels(shape, run.first - 1))
        --run.first;
    while (run.last + 1 < shape.length() && hasPixels(shape, run.last + 1))
        ++run.last;
    return run;
}

class ShapeView {
public:
    ShapeView(const SideShape& shape, StripSide side, bool knob)
        : m_shape(shape)
        , m_side(side)
        , m_head(knob ? headOf(shape) : Run{})
    {
    }

    std::uint32_t code(int x, int y) const
    {
        SidePoint s = sidePoint(m_side, m_shape, x, y);
        if (!m_shape.at(s.p, s.d))
            return kOutside;
        if (continues(x - 1, y) && continues(x, y - 1) && continues(x + 1, y) && continues(x, y + 1))
            return kPlain;
        // On a knob's head the halves decide, and so they do on the diagonal that a corner
        // square's pixel shares with the piece's other strip, where both strips mark it.
        bool halves = m_head.contains(s.p) || (m_shape.inCorner(s.p) && s.d == m_shape.edgeFirst(s.p));
        int light = halves ? 0 : lightFacing(x, y);
        bool lit = std::abs(light) <= kBalance ? balancedIsLit(x, y, s) : light > 0;
        // A mark needs outside next to the pixel on its own side.
        if (lit && !outsideAround(x, y, -1))
            return kShadow;
        if (!lit && !outsideAround(x, y, 1))
            return kHighlight;
        return lit ? kHighlight : kShadow;
    }

private:
    // Whether the piece goes on at (x, y) as far as this strip can tell.
    bool continues(int x, int y) const
    {
        SidePoint s = sidePoint(m_side, m_shape, x, y);
        if (s.d < 0)
            return true; // the body
        return m_shape.inBodySideTriangle(s.p, s.d) || m_shape.at(s.p, s.d);
    }

    // Positive when the outside around (x, y) lies towards the light (up and left).
    int lightFacing(int x, int y) const
    {
        int light = 0;
        for (int dy = -kReach; dy <= kReach; ++dy)
            for (int dx = -kReach; dx <= kReach; ++dx)
                if (!continues(x + dx, y + dy))
                    light -= dx + dy;
        return light;
    }

    // Whether one of the three pixels above or the three to the left (side -1), or below or
    // to the right (side 1), is outside.
    bool outsideAround(int x, int y, int side) const
    {
        for (int k = -1; k <= 1; ++k)
            if (!continues(x + k, y + side) || !continues(x + side, y + k))
                return true;
        return false;
    }

    // Where the outside balances: the upper half of an upright strip and the left half of a
    // lying one are lit. In a corner square the piece's two strips must agree, or their marks
    // would cancel, so there the piece's upper corners are lit and its lower corners shaded.
    bool balancedIsLit(int x, int y, SidePoint s) const
    {
        bool upright = m_side == StripSide::Right || m_side == StripSide::Left;
        if (!upright && m_shape.inCorner(s.p))
            return m_side == StripSide::Top;
        return 2 * (upright ? y : x) < m_shape.length();
    }

    const SideShape& m_shape;
    StripSide m_side;
    Run m_head;
};

} // namespace

gfx::Bitmap ShadingStrip(const SideShape& shape, StripSide side, bool knob)
{
    ShapeView view(shape, side, knob);
    gfx::Bitmap strip(stripWidth(side, shape), stripHeight(side, shape), gfx::PixelFormat::Index4);
    for (int y = 0; y < strip.height(); ++y)
        for (int x = 0; x < strip.width(); ++x)
            strip.setValue(x, y, view.code(x, y));
    return strip;
}
