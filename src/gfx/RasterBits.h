#pragma once
#include "gfx/Raster.h"
#include <cstddef>
#include <cstdint>

// Rows of 1- and 4-bit bitmaps as plain bit strings, most significant bit first: a transfer
// between two of the same format, and a pattern, are then the same bitwise operation on a range
// of bits of every row, a byte at a time.
namespace gfx::bits {

// The same range of bits in each of `rows` rows: from bit `bit` of the row on, `count` of them.
struct Rows {
    std::uint8_t* first;
    std::ptrdiff_t stride;
    long long bit;
};
struct SourceRows {
    const std::uint8_t* first;
    std::ptrdiff_t stride;
    long long bit;
};

// Combines count bits of every source row into the destination rows. Reads no byte of the
// source that holds none of those bits.
void combine(const Rows& d, const SourceRows& s, long long count, int rows, Rop rop);

enum class Fill { Ones, Zeros, Invert };
void fill(const Rows& d, long long count, int rows, Fill f);

} // namespace gfx::bits
