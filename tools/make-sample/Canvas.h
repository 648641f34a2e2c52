#pragma once
#include "gfx/Bitmap.h"
#include <vector>

namespace sample {

struct Rgb {
    float r = 0, g = 0, b = 0;
};

Rgb mix(const Rgb& a, const Rgb& b, float t);
Rgb scaled(const Rgb& c, float f);

struct Point {
    float x, y;
};

// A floating-point picture to paint on with soft (anti-aliased) edges; every shape takes an
// opacity and blends over what is there.
class Canvas {
public:
    Canvas(int width, int height);
    int width() const { return m_width; }
    int height() const { return m_height; }

    Rgb at(int x, int y) const { return m_pixels[std::size_t(y) * m_width + x]; }
    void set(int x, int y, const Rgb& c) { m_pixels[std::size_t(y) * m_width + x] = c; }
    // Blends c over (x, y) by alpha (0 to 1); points outside are ignored.
    void blend(int x, int y, const Rgb& c, float alpha);

    void fillEllipse(float cx, float cy, float rx, float ry, const Rgb& c, float alpha = 1);
    void fillTriangle(Point a, Point b, Point c, const Rgb& color, float alpha = 1);
    void fillRect(float left, float top, float right, float bottom, const Rgb& c, float alpha = 1);
    // A straight stroke of the given width.
    void stroke(Point a, Point b, float width, const Rgb& c, float alpha = 1);

    gfx::Bitmap toBitmap() const;

private:
    int m_width;
    int m_height;
    std::vector<Rgb> m_pixels;
};

} // namespace sample
