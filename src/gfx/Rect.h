#pragma once
#include <algorithm>

namespace gfx {

// Left, top, right, bottom; right and bottom exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static constexpr Rect fromSize(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    constexpr bool contains(int x, int y) const { return left <= x && x < right && top <= y && y < bottom; }
    constexpr Rect translated(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    constexpr Rect inflated(int d) const { return {left - d, top - d, right + d, bottom + d}; }

    // Plain min/max growth; unlike united() an empty rectangle still counts with its corner.
    constexpr void growToInclude(const Rect& r)
    {
        left = std::min(left, r.left);
        top = std::min(top, r.top);
        right = std::max(right, r.right);
        bottom = std::max(bottom, r.bottom);
    }

    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// The overlap of two rectangles; all zeros when they do not overlap.
constexpr Rect intersected(const Rect& a, const Rect& b)
{
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    return r.isEmpty() ? Rect{} : r;
}

// The smallest rectangle holding both; an empty operand is ignored.
constexpr Rect united(const Rect& a, const Rect& b)
{
    if (a.isEmpty())
        return b.isEmpty() ? Rect{} : b;
    if (b.isEmpty())
        return a;
    Rect r = a;
    r.growToInclude(b);
    return r;
}

} // namespace gfx
