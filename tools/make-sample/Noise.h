#pragma once
#include <cstdint>

namespace sample {

// Deterministic value noise: the same picture on every machine and every run.
class Noise {
public:
    // A number in [0, 1) fixed by the integers.
    static float hash(int x, int y, std::uint32_t seed);
    // Smoothly interpolated noise in [0, 1).
    static float value(float x, float y, std::uint32_t seed);
    // Several octaves of value noise, each half as strong and twice as fine; in [0, 1).
    static float fractal(float x, float y, std::uint32_t seed, int octaves = 4);
};

} // namespace sample
