// Walking a row of pixels eight at a time under a mask, for the row kernels. This file has no
// include guard on purpose: RasterRows.cpp includes it for any processor and RasterAvx2.cpp
// includes it again inside its AVX2 region, and the anonymous namespace gives each its own copy,
// compiled for its own instruction set.
//
// A group is a cursor over the row: whole() and mixed(bits) handle the 8 pixels at the cursor,
// pixel() the one pixel there; next() moves it on by 8 pixels, nextPixel() by one.
#include "gfx/RasterRows.h"
#include <cstdint>
#include <cstring>

namespace gfx::rows {
namespace {

inline bool insideBit(const std::uint8_t* row, int bit) { return !(row[bit >> 3] >> (7 - (bit & 7)) & 1); }

template <class Group>
inline void handleGroup(Group& g, std::uint8_t m)
{
    if (m == 0)
        g.whole();
    else if (m != 0xFF)
        g.mixed(m);
}

// Hands the groups of 8 pixels that start below groupEnd to g.whole when all are inside and to
// g.mixed when some are, skipping those all outside; the pixels after them go one by one to
// g.pixel when inside. groupEnd is at most n. A group's mask byte straddles two bytes of the
// row when mx is not a multiple of 8; the second is then within the bits the group covers.
template <class Group>
inline void walkMasked(Group& g, const std::uint8_t* maskRow, int mx, int n, int groupEnd)
{
    const std::uint8_t* m = maskRow + (mx >> 3);
    const int shift = mx & 7;
    int x = 0;
    if (shift == 0)
        for (; x + 8 <= groupEnd; x += 8, ++m, g.next())
            handleGroup(g, m[0]);
    else
        for (; x + 8 <= groupEnd; x += 8, ++m, g.next())
            handleGroup(g, std::uint8_t(m[0] << shift | m[1] >> (8 - shift)));
    for (; x < n; ++x, g.nextPixel())
        if (insideBit(maskRow, mx + x))
            g.pixel();
}

// The same without a mask: every pixel is inside.
template <class Group>
inline void walkWhole(Group& g, int n, int groupEnd)
{
    int x = 0;
    for (; x + 8 <= groupEnd; x += 8, g.next())
        g.whole();
    for (; x < n; ++x, g.nextPixel())
        g.pixel();
}

// The pixels of the group at the cursor whose bits in m are 0, one by one to g.pixel; the
// cursor ends where it started.
template <class Group>
inline void eachInside(Group g, std::uint8_t m)
{
    for (int k = 0; k < 8; ++k, g.nextPixel())
        if (!(m >> (7 - k) & 1))
            g.pixel();
}

// How many of n pixels of sb bytes at s can be read in groups that reach `reach` bytes past the
// start of each group without passing srcEnd. Only a row at the very end of a bitmap is short of
// room, so the common answer comes first.
inline int groupEndFor(const std::uint8_t* s, const std::uint8_t* srcEnd, int n, int sb, int reach)
{
    const long long room = (long long)(srcEnd - s) - reach;
    if (room >= (long long)sb * (n - 8))
        return n;
    if (room < 0)
        return 0;
    return int((room / (8LL * sb) + 1) * 8); // the groups whose start lies at most room bytes in
}

// A cursor over a destination of DB and a source of SB bytes a pixel.
template <int DB, int SB>
struct Cursor {
    std::uint8_t* d;
    const std::uint8_t* s;

    void next()
    {
        d += 8 * DB;
        s += 8 * SB;
    }
    void nextPixel()
    {
        d += DB;
        s += SB;
    }
};

// Runs a group walker over every row of a block: walk(group, row) with the group's cursor at the
// row's start. reach is how far a group of the source reads past its start.
template <class Group, int SB, class Walk>
inline void eachRow(const Block& b, int reach, Walk walk)
{
    for (int y = 0; y < b.h; ++y) {
        const std::uint8_t* s = b.s ? b.s + y * b.sStride : nullptr;
        Group g{{b.d + y * b.dStride, s}};
        const int groupEnd = s ? groupEndFor(s, b.srcEnd, b.w, SB, reach) : b.w;
        walk(g, b.mask ? b.mask + y * b.maskStride : nullptr, groupEnd);
    }
}

template <class Group, int SB>
inline void maskedBlock(const Block& b, int reach)
{
    eachRow<Group, SB>(b, reach, [&b](Group& g, const std::uint8_t* maskRow, int groupEnd) {
        walkMasked(g, maskRow, b.mx, b.w, groupEnd);
    });
}

template <class Group, int SB>
inline void wholeBlock(const Block& b, int reach)
{
    eachRow<Group, SB>(b, reach, [&b](Group& g, const std::uint8_t*, int groupEnd) { walkWhole(g, b.w, groupEnd); });
}

// shade(p, word) for each word of a map row that shades something, p at its 16 Bgr24 pixels.
// Most words of a piece's map shade nothing and are passed over.
template <class Shade>
inline void eachShadedWord(std::uint8_t* p, const std::uint8_t* map, int words, Shade shade)
{
    for (int k = 0; k < words; ++k, p += 48, map += 8) {
        std::uint64_t word;
        std::memcpy(&word, map, 8);
        if (shadedNibbles(word))
            shade(p, word);
    }
}

// One Bgr24 pixel as Bgrx32.
inline void expandPixel(std::uint8_t* d, const std::uint8_t* s)
{
    d[0] = s[0];
    d[1] = s[1];
    d[2] = s[2];
    d[3] = 0xFF;
}

} // namespace
} // namespace gfx::rows
