#include "KnobShape.h"
#include <cmath>

namespace {

// The curve's shape, fitted to the hand-drawn level 1 (it then differs from the drawing in a
// dozen pixels of the head).
struct KnobStyle {
    double shoulderBend;  // > 1: the shoulder falls fast near the corner and runs out thin
    double headRoundness; // superellipse exponent of the head; 2 would be an ellipse
};
constexpr KnobStyle kKnobStyle{1.4, 1.6};

// The level 1 right knob as drawn: for each run of rows, the depths that belong to the piece.
struct Run {
    int firstRow, lastRow, firstDepth, lastDepth;
};
constexpr Run kLevel1Runs[] = {
    {8, 8, 7, 7},     {9, 9, 6, 7},     {10, 10, 5, 6},   {11, 11, 4, 6},   {12, 12, 3, 5},
    {13, 13, 2, 5},   {14, 15, 1, 4},   {16, 17, 0, 3},   {18, 19, 0, 2},   {20, 22, 0, 1},
    {23, 26, 0, 0},   {31, 31, 5, 8},   {32, 32, 4, 9},   {33, 33, 3, 10},  {34, 34, 2, 10},
    {35, 35, 1, 11},  {36, 36, 0, 11},  {37, 38, 0, 12},  {39, 41, 0, 13},  {42, 44, 0, 14},
    {45, 50, 0, 15},  {51, 53, 0, 14},  {54, 56, 0, 13},  {57, 58, 0, 12},  {59, 59, 0, 11},
    {60, 60, 1, 11},  {61, 61, 2, 10},  {62, 62, 3, 10},  {63, 63, 4, 9},   {64, 64, 5, 8},
    {69, 72, 0, 0},   {73, 75, 0, 1},   {76, 77, 0, 2},   {78, 79, 0, 3},   {80, 80, 0, 4},
    {81, 81, 1, 4},   {82, 82, 2, 5},   {83, 83, 3, 5},   {84, 84, 4, 6},   {85, 85, 5, 6},
    {86, 86, 6, 7},   {87, 87, 7, 7},
};

SideShape handDrawnLevel1()
{
    SideShape s(96, 16);
    for (const Run& r : kLevel1Runs)
        for (int p = r.firstRow; p <= r.lastRow; ++p)
            for (int d = r.firstDepth; d <= r.lastDepth; ++d)
                s.set(p, d, true);
    return s;
}

// The continuous outline, in pixel units with pixel centres at half-integers.
class KnobOutline {
public:
    KnobOutline(const StripLevel& lv, const KnobStyle& style)
        : m_style(style)
        , m_half(lv.cellSize / 2.0)
        , m_depth(lv.knobSize)
        , m_shoulderStart(lv.knobSize / 2 + 1.5)
        , m_shoulderEnd(lv.shoulderEnd + 1.0)
        , m_head(m_half - lv.knobStart)
    {
        // The head's two arcs meet at its widest depth; the lower one touches the body at the
        // neck's edge, the upper one the far edge where the full-depth stretch ends.
        double neck = arc(m_half - lv.attachedStart), full = arc(m_half - lv.fullStart);
        m_radius = (m_depth - 1.0) / (neck + full);
        m_widest = 0.5 + m_radius * neck;
    }

    // t: distance of the pixel centre from the nearer end; d: depth of the pixel centre.
    bool inside(double t, double d) const { return d < shoulder(t) || inHead(m_half - t, d); }

private:
    // The shoulder's depth: half the band over the two rows at the corner square's centre,
    // so that it starts two pixels wide, then running out to nothing.
    double shoulder(double t) const
    {
        if (t < m_shoulderStart - 1 || t > m_shoulderEnd)
            return 0;
        if (t < m_shoulderStart)
            return m_depth / 2.0;
        double left = (m_shoulderEnd - t) / (m_shoulderEnd - m_shoulderStart);
        return 0.5 + (m_depth / 2.0 - 0.5) * std::pow(left, m_style.shoulderBend);
    }
    double arc(double q) const
    {
        double e = m_style.headRoundness;
        double r = std::abs(q) / m_head;
        return r >= 1 ? 0 : std::pow(1 - std::pow(r, e), 1 / e);
    }
    bool inHead(double q, double d) const
    {
        double a = m_radius * arc(q);
        return a > 0 && d > m_widest - a && d < m_widest + a;
    }

    KnobStyle m_style;
    double m_half, m_depth, m_shoulderStart, m_shoulderEnd, m_head;
    double m_radius = 0, m_widest = 0;
};

SideShape drawnKnob(const StripLevel& lv)
{
    KnobOutline outline(lv, kKnobStyle);
    SideShape s(lv.cellSize, lv.knobSize);
    for (int p = 0; p < s.length(); ++p)
        for (int d = 0; d < s.depth(); ++d) {
            // In a corner square the shoulder keeps to its edge's triangle.
            bool allowed = !s.inCorner(p) || s.inEdgeTriangle(p, d);
            s.set(p, d, allowed && outline.inside(s.fromEnd(p) + 0.5, d + 0.5));
        }
    return s;
}

} // namespace

SideShape KnobShape(const StripLevel& level)
{
    return level.number == 1 ? handDrawnLevel1() : drawnKnob(level);
}
