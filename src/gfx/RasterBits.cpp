#include "gfx/RasterBits.h"
#include <algorithm>
#include <cstring>

namespace gfx::bits {
namespace {

// The bits of a byte from bit `first` (0 the highest) on, `count` of them.
std::uint8_t span(int first, int count) { return std::uint8_t(0xFF >> first & 0xFF << (8 - first - count)); }

// `count` bits of s from bit sbit on, placed from bit `at` of the result on.
std::uint8_t fetch(const std::uint8_t* s, long long sbit, int at, int count)
{
    const std::uint8_t* p = s + (sbit >> 3);
    const int shift = int(sbit & 7);
    unsigned v = unsigned(p[0]) << 8;
    if (shift + count > 8)
        v |= p[1];
    const auto first = std::uint8_t(v << shift >> 8); // the wanted bits from the highest on
    return std::uint8_t(first >> at);
}

template <Rop rop>
std::uint8_t apply(std::uint8_t d, std::uint8_t s)
{
    if constexpr (rop == Rop::And)
        return d & s;
    else if constexpr (rop == Rop::Or)
        return d | s;
    else
        return s;
}

// One row, any alignment: a destination byte at a time, the bits around the range kept.
template <Rop rop>
void combineRow(std::uint8_t* d, long long dbit, const std::uint8_t* s, long long sbit, long long count)
{
    while (count > 0) {
        std::uint8_t& out = d[dbit >> 3];
        const int at = int(dbit & 7);
        const int n = int(std::min<long long>(8 - at, count));
        const std::uint8_t keep = span(at, n);
        out = std::uint8_t((out & ~keep) | (apply<rop>(out, fetch(s, sbit, at, n)) & keep));
        dbit += n;
        sbit += n;
        count -= n;
    }
}

// n whole bytes, eight at a time where there are eight.
template <Rop rop>
void combineBytes(std::uint8_t* d, const std::uint8_t* s, long long n)
{
    long long i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t a, b;
        std::memcpy(&a, d + i, 8);
        std::memcpy(&b, s + i, 8);
        a = rop == Rop::And ? a & b : rop == Rop::Or ? a | b : b;
        std::memcpy(d + i, &a, 8);
    }
    for (; i < n; ++i)
        d[i] = apply<rop>(d[i], s[i]);
}

template <Rop rop>
void combineRows(const Rows& d, const SourceRows& s, long long count, int rows)
{
    // Both ranges starting on a byte: the whole bytes combine as they are, the rest bit-wise.
    const bool aligned = ((d.bit | s.bit) & 7) == 0;
    const long long whole = aligned ? count >> 3 : 0;
    const long long rest = count - 8 * whole;
    for (int y = 0; y < rows; ++y) {
        std::uint8_t* dr = d.first + y * d.stride + (d.bit >> 3);
        const std::uint8_t* sr = s.first + y * s.stride + (s.bit >> 3);
        combineBytes<rop>(dr, sr, whole);
        if (rest)
            combineRow<rop>(dr + whole, d.bit & 7, sr + whole, s.bit & 7, rest);
    }
}

template <Fill f>
std::uint8_t filled(std::uint8_t byte, std::uint8_t bits)
{
    return f == Fill::Ones ? byte | bits : f == Fill::Zeros ? byte & ~bits : byte ^ bits;
}

template <Fill f>
void fillRows(const Rows& d, long long count, int rows)
{
    const int lead = int(std::min<long long>((8 - (d.bit & 7)) & 7, count)); // bits up to the first whole byte
    const long long whole = (count - lead) >> 3;
    const int rest = int((count - lead) & 7);
    // Rows filled from end to end are one run of bytes.
    if (f != Fill::Invert && lead == 0 && rest == 0 && whole == d.stride) {
        std::memset(d.first + (d.bit >> 3), f == Fill::Ones ? 0xFF : 0, std::size_t(whole) * rows);
        return;
    }
    for (int y = 0; y < rows; ++y) {
        std::uint8_t* row = d.first + y * d.stride + (d.bit >> 3);
        if (lead) {
            *row = filled<f>(*row, span(int(d.bit & 7), lead));
            ++row;
        }
        if (f == Fill::Invert)
            for (long long i = 0; i < whole; ++i)
                row[i] = filled<f>(row[i], 0xFF);
        else
            std::memset(row, f == Fill::Ones ? 0xFF : 0, std::size_t(whole));
        if (rest)
            row[whole] = filled<f>(row[whole], span(0, rest));
    }
}

} // namespace

void combine(const Rows& d, const SourceRows& s, long long count, int rows, Rop rop)
{
    switch (rop) {
    case Rop::Copy: combineRows<Rop::Copy>(d, s, count, rows); return;
    case Rop::And: combineRows<Rop::And>(d, s, count, rows); return;
    case Rop::Or: combineRows<Rop::Or>(d, s, count, rows); return;
    }
}

void fill(const Rows& d, long long count, int rows, Fill f)
{
    switch (f) {
    case Fill::Ones: fillRows<Fill::Ones>(d, count, rows); return;
    case Fill::Zeros: fillRows<Fill::Zeros>(d, count, rows); return;
    case Fill::Invert: fillRows<Fill::Invert>(d, count, rows); return;
    }
}

} // namespace gfx::bits
