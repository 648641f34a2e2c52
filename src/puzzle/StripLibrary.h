#pragma once
#include "gfx/Bitmap.h"

namespace puzzle {

// The outline strips (151-158 ... 181-188, 1 bit) and shading strips (251-258 ... 281-288,
// 4-bit palette indices), decoded once from the copies compiled into the program.
// Throws ResourceNotFoundError for a number the program does not carry.
const gfx::Bitmap& LoadStrip(int number);

// Offsets of the eight strips of a level: number = 150 (outline) or 250 (shading)
// + 10 x (level - 1) + offset.
enum StripOffset {
    RightKnob = 1,
    BottomKnob = 2,
    TopKnob = 3,
    LeftKnob = 4,
    RightSocket = 5,
    TopSocket = 6,
    BottomSocket = 7,
    LeftSocket = 8,
};

constexpr int OutlineStripNumber(int level, int offset) { return 150 + 10 * (level - 1) + offset; }
constexpr int ShadingStripNumber(int level, int offset) { return 250 + 10 * (level - 1) + offset; }

} // namespace puzzle
