#include "Noise.h"
#include <cmath>

namespace sample {

float Noise::hash(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = std::uint32_t(x) * 0x8DA6B343u ^ std::uint32_t(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return float(h >> 8) / float(1u << 24);
}

float Noise::value(float x, float y, std::uint32_t seed)
{
    const int ix = int(std::floor(x)), iy = int(std::floor(y));
    const float fx = x - ix, fy = y - iy;
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const float top = hash(ix, iy, seed) + (hash(ix + 1, iy, seed) - hash(ix, iy, seed)) * sx;
    const float bottom = hash(ix, iy + 1, seed) + (hash(ix + 1, iy + 1, seed) - hash(ix, iy + 1, seed)) * sx;
    return top + (bottom - top) * sy;
}

float Noise::fractal(float x, float y, std::uint32_t seed, int octaves)
{
    float sum = 0, weight = 0.5f, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += value(x, y, seed + std::uint32_t(i) * 101u) * weight;
        total += weight;
        x *= 2;
        y *= 2;
        weight /= 2;
    }
    return sum / total;
}

} // namespace sample
