#include "BenchPicture.h"
#include <cmath>
#include <cstdint>

namespace bench {
namespace {

std::uint32_t hash(std::uint32_t x, std::uint32_t y)
{
    std::uint32_t h = x * 0x9E3779B1u ^ y * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    return h ^ h >> 12;
}

std::uint8_t channel(double v) { return std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

} // namespace

gfx::Bitmap benchPicture(int w, int h)
{
    gfx::Bitmap b(w, h, gfx::PixelFormat::Bgr24);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* p = b.scanLine(y);
        double fy = double(y) / h;
        for (int x = 0; x < w; ++x, p += 3) {
            double fx = double(x) / w;
            double hill = 0.55 + 0.12 * std::sin(fx * 9.0) + 0.05 * std::sin(fx * 31.0 + 1.0);
            bool ground = fy > hill;
            double grain = double(hash(std::uint32_t(x), std::uint32_t(y)) & 31) - 16;
            double r = ground ? 60 + 90 * fx : 120 + 100 * fy;
            double g = ground ? 110 + 60 * (1 - fy) : 160 + 70 * fy;
            double bl = ground ? 40 + 30 * fx : 230 - 40 * fy;
            p[0] = channel(bl + grain);
            p[1] = channel(g + grain);
            p[2] = channel(r + grain);
        }
    }
    return b;
}

} // namespace bench
