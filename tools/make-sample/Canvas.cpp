#include "Canvas.h"
#include <algorithm>
#include <cmath>

namespace sample {
namespace {

// Coverage of a pixel whose centre lies d pixels inside an edge (negative: outside).
float coverage(float d) { return std::clamp(d + 0.5f, 0.0f, 1.0f); }

std::uint8_t toByte(float v) { return std::uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

// The signed distance of p from the line through a and b, positive on the left of a -> b.
float edgeDistance(Point a, Point b, Point p)
{
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float length = std::max(std::hypot(dx, dy), 1e-6f);
    return ((p.x - a.x) * dy - (p.y - a.y) * dx) / length;
}

} // namespace

Rgb mix(const Rgb& a, const Rgb& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scaled(const Rgb& c, float f) { return {c.r * f, c.g * f, c.b * f}; }

Canvas::Canvas(int width, int height)
    : m_width(width)
    , m_height(height)
    , m_pixels(std::size_t(width) * height)
{
}

void Canvas::blend(int x, int y, const Rgb& c, float alpha)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || alpha <= 0)
        return;
    Rgb& p = m_pixels[std::size_t(y) * m_width + x];
    p = mix(p, c, std::min(alpha, 1.0f));
}

void Canvas::fillEllipse(float cx, float cy, float rx, float ry, const Rgb& c, float alpha)
{
    const int x0 = int(std::floor(cx - rx - 1)), x1 = int(std::ceil(cx + rx + 1));
    const int y0 = int(std::floor(cy - ry - 1)), y1 = int(std::ceil(cy + ry + 1));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float nx = (x + 0.5f - cx) / rx, ny = (y + 0.5f - cy) / ry;
            // Distance to the rim, measured in pixels along the smaller radius.
            const float d = (1 - std::sqrt(nx * nx + ny * ny)) * std::min(rx, ry);
            blend(x, y, c, alpha * coverage(d));
        }
}

void Canvas::fillTriangle(Point a, Point b, Point c, const Rgb& color, float alpha)
{
    if (edgeDistance(a, b, c) < 0)
        std::swap(b, c);
    const int x0 = int(std::floor(std::min({a.x, b.x, c.x}))) - 1, x1 = int(std::ceil(std::max({a.x, b.x, c.x}))) + 1;
    const int y0 = int(std::floor(std::min({a.y, b.y, c.y}))) - 1, y1 = int(std::ceil(std::max({a.y, b.y, c.y}))) + 1;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const Point p{x + 0.5f, y + 0.5f};
            const float d = std::min({edgeDistance(a, b, p), edgeDistance(b, c, p), edgeDistance(c, a, p)});
            blend(x, y, color, alpha * coverage(d));
        }
}

void Canvas::fillRect(float left, float top, float right, float bottom, const Rgb& c, float alpha)
{
    for (int y = int(std::floor(top)); y <= int(std::ceil(bottom)); ++y)
        for (int x = int(std::floor(left)); x <= int(std::ceil(right)); ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            blend(x, y, c, alpha * coverage(std::min({px - left, right - px, py - top, bottom - py})));
        }
}

void Canvas::stroke(Point a, Point b, float width, const Rgb& c, float alpha)
{
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float lengthSquared = std::max(dx * dx + dy * dy, 1e-6f);
    const float reach = width / 2 + 1;
    const int x0 = int(std::floor(std::min(a.x, b.x) - reach)), x1 = int(std::ceil(std::max(a.x, b.x) + reach));
    const int y0 = int(std::floor(std::min(a.y, b.y) - reach)), y1 = int(std::ceil(std::max(a.y, b.y) + reach));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float t = std::clamp(((px - a.x) * dx + (py - a.y) * dy) / lengthSquared, 0.0f, 1.0f);
            const float d = std::hypot(px - (a.x + t * dx), py - (a.y + t * dy));
            blend(x, y, c, alpha * coverage(width / 2 - d));
        }
}

gfx::Bitmap Canvas::toBitmap() const
{
    gfx::Bitmap b(m_width, m_height, gfx::PixelFormat::Bgr24);
    for (int y = 0; y < m_height; ++y) {
        std::uint8_t* row = b.scanLine(y);
        for (int x = 0; x < m_width; ++x) {
            const Rgb& p = at(x, y);
            row[3 * x] = toByte(p.b);
            row[3 * x + 1] = toByte(p.g);
            row[3 * x + 2] = toByte(p.r);
        }
    }
    return b;
}

} // namespace sample
