#include "gfx/Raster.h"
#include "gfx/Palette16.h"
#include "gfx/RasterBits.h"
#include "gfx/RasterRows.h"
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace gfx {
namespace {

// --- clipping ---------------------------------------------------------------------------------

// Clips one axis of a transfer: d in a destination of length dLen, up to two sources.
bool clipAxis(int& d, int& len, int dLen, int& s1, int s1Len, int* s2 = nullptr, int s2Len = 0)
{
    long long shift = std::max({0LL, -(long long)d, -(long long)s1, s2 ? -(long long)*s2 : 0LL});
    long long nd = d + shift, ns1 = s1 + shift, ns2 = s2 ? *s2 + shift : 0;
    long long n = (long long)len - shift;
    n = std::min({n, dLen - nd, s1Len - ns1});
    if (s2)
        n = std::min(n, s2Len - ns2);
    if (n <= 0)
        return false;
    d = int(nd);
    s1 = int(ns1);
    if (s2)
        *s2 = int(ns2);
    len = int(n);
    return true;
}

struct Blit {
    int dx, dy, sx, sy, w, h;
};

bool clipBlit(Blit& b, const Bitmap& dst, const Bitmap& src)
{
    return clipAxis(b.dx, b.w, dst.width(), b.sx, src.width())
        && clipAxis(b.dy, b.h, dst.height(), b.sy, src.height());
}

// --- value domains ----------------------------------------------------------------------------

std::uint32_t domainMask(PixelFormat f)
{
    switch (f) {
    case PixelFormat::Mono1: return 0x1;
    case PixelFormat::Index4: return 0xF;
    default: return 0xFFFFFF;
    }
}

// A source value expressed in the destination's domain.
std::uint32_t convert(std::uint32_t v, PixelFormat from, PixelFormat to)
{
    if (from == to || (isColor(from) && isColor(to)))
        return v;
    Color c = from == PixelFormat::Mono1 ? (v ? kWhite : kBlack)
            : from == PixelFormat::Index4 ? kPalette16[v]
                                          : v;
    switch (to) {
    case PixelFormat::Mono1: return c == kWhite ? 1 : 0;
    case PixelFormat::Index4: return std::uint32_t(nearestPaletteIndex(c));
    default: return c;
    }
}

std::uint32_t combine(std::uint32_t d, std::uint32_t s, Rop rop)
{
    switch (rop) {
    case Rop::Copy: return s;
    case Rop::And: return d & s;
    case Rop::Or: return d | s;
    }
    return s;
}

// --- pixel access for the colour fast paths ----------------------------------------------------

// The end of a bitmap's storage: how far a row kernel may read ahead.
const std::uint8_t* storageEnd(const Bitmap& b) { return b.scanLine(b.height() - 1) + b.stride(); }

template <int Bytes>
struct ColorPixels {
    static std::uint8_t* at(std::uint8_t* row, int x) { return row + Bytes * x; }
    static const std::uint8_t* at(const std::uint8_t* row, int x) { return row + Bytes * x; }
    static void finish(std::uint8_t* p)
    {
        if constexpr (Bytes == 4)
            p[3] = 0xFF;
    }
};

template <int DB, int SB>
void colorRow(std::uint8_t* d, const std::uint8_t* s, int w, Rop rop)
{
    if (DB == SB && rop == Rop::Copy) {
        std::memmove(d, s, std::size_t(w) * DB);
        return;
    }
    for (int x = 0; x < w; ++x, d += DB, s += SB) {
        for (int c = 0; c < 3; ++c)
            d[c] = std::uint8_t(combine(d[c], s[c], rop));
        ColorPixels<DB>::finish(d);
    }
}

// A mask row read as all-zero or all-one colour pixels.
template <int DB>
void monoToColorRow(std::uint8_t* d, const std::uint8_t* maskRow, int mx, int w, Rop rop)
{
    for (int x = 0; x < w; ++x, d += DB) {
        int bit = mx + x;
        bool white = maskRow[bit >> 3] >> (7 - (bit & 7)) & 1;
        if (rop == Rop::And) {
            if (!white)
                d[0] = d[1] = d[2] = 0;
        } else if (rop == Rop::Or) {
            if (white)
                d[0] = d[1] = d[2] = 0xFF;
        } else {
            d[0] = d[1] = d[2] = white ? 0xFF : 0;
        }
        ColorPixels<DB>::finish(d);
    }
}

template <int DB, int SB>
void colorBlit(Bitmap& dst, const Blit& b, const Bitmap& src, Rop rop)
{
    if constexpr (DB == 4 && SB == 3)
        if (rop == Rop::Copy) {
            rows::kernels().copy3to4({dst.scanLine(b.dy) + 4 * b.dx, dst.stride(), src.scanLine(b.sy) + 3 * b.sx,
                                      src.stride(), storageEnd(src), nullptr, 0, 0, b.w, b.h});
            return;
        }
    bool sameBackwards = &dst == &src && b.dy > b.sy;
    for (int i = 0; i < b.h; ++i) {
        int r = sameBackwards ? b.h - 1 - i : i;
        colorRow<DB, SB>(ColorPixels<DB>::at(dst.scanLine(b.dy + r), b.dx),
                         ColorPixels<SB>::at(src.scanLine(b.sy + r), b.sx), b.w, rop);
    }
}

template <int DB>
void monoBlit(Bitmap& dst, const Blit& b, const Bitmap& src, Rop rop)
{
    if constexpr (DB == 4)
        if (rop == Rop::And) {
            rows::kernels().blacken4({dst.scanLine(b.dy) + 4 * b.dx, dst.stride(), nullptr, 0, nullptr,
                                      src.scanLine(b.sy), src.stride(), b.sx, b.w, b.h});
            return;
        }
    for (int i = 0; i < b.h; ++i)
        monoToColorRow<DB>(ColorPixels<DB>::at(dst.scanLine(b.dy + i), b.dx), src.scanLine(b.sy + i),
                           b.sx, b.w, rop);
}

// Masks into masks and maps into maps: the rows are bit strings combined bit for bit.
void bitStringBlit(Bitmap& dst, const Blit& b, const Bitmap& src, Rop rop)
{
    const long long bpp = bitsPerPixel(dst.format());
    bits::combine({dst.scanLine(b.dy), dst.stride(), b.dx * bpp}, {src.scanLine(b.sy), src.stride(), b.sx * bpp},
                  b.w * bpp, b.h, rop);
}

bool fastBitBlt(Bitmap& dst, const Blit& b, const Bitmap& src, Rop rop)
{
    PixelFormat df = dst.format(), sf = src.format();
    if (df == sf && !isColor(df)) {
        if (&dst == &src)
            return false;
        bitStringBlit(dst, b, src, rop);
        return true;
    }
    if (df == PixelFormat::Bgrx32 && sf == PixelFormat::Bgrx32) colorBlit<4, 4>(dst, b, src, rop);
    else if (df == PixelFormat::Bgrx32 && sf == PixelFormat::Bgr24) colorBlit<4, 3>(dst, b, src, rop);
    else if (df == PixelFormat::Bgr24 && sf == PixelFormat::Bgr24) colorBlit<3, 3>(dst, b, src, rop);
    else if (df == PixelFormat::Bgr24 && sf == PixelFormat::Bgrx32) colorBlit<3, 4>(dst, b, src, rop);
    else if (df == PixelFormat::Bgrx32 && sf == PixelFormat::Mono1) monoBlit<4>(dst, b, src, rop);
    else if (df == PixelFormat::Bgr24 && sf == PixelFormat::Mono1) monoBlit<3>(dst, b, src, rop);
    else return false;
    return true;
}

// A source that is also the destination is read from a copy, as if all of it were read
// before the first write; overlapping areas then come out right.
const Bitmap& unaliased(const Bitmap& src, const Bitmap& dst, Bitmap& copy)
{
    if (&src != &dst)
        return src;
    copy = src;
    return copy;
}

void referenceBlit(Bitmap& dst, const Blit& b, const Bitmap& srcIn, Rop rop)
{
    Bitmap copy;
    const Bitmap* src = &unaliased(srcIn, dst, copy);
    for (int y = 0; y < b.h; ++y)
        for (int x = 0; x < b.w; ++x) {
            std::uint32_t s = convert(src->value(b.sx + x, b.sy + y), src->format(), dst.format());
            std::uint32_t d = dst.value(b.dx + x, b.dy + y);
            dst.setValue(b.dx + x, b.dy + y, combine(d, s, rop));
        }
}

// --- masked copy -------------------------------------------------------------------------------

struct MaskedBlit {
    int dx, dy, sx, sy, mx, my, w, h;
};

bool clipMasked(MaskedBlit& b, const Bitmap& dst, const Bitmap& src, const Bitmap& mask)
{
    return clipAxis(b.dx, b.w, dst.width(), b.sx, src.width(), &b.mx, mask.width())
        && clipAxis(b.dy, b.h, dst.height(), b.sy, src.height(), &b.my, mask.height());
}

template <int DB, int SB>
void maskedBlit(Bitmap& dst, const MaskedBlit& b, const Bitmap& src, const Bitmap& mask, void (*kernel)(const rows::Block&))
{
    kernel({ColorPixels<DB>::at(dst.scanLine(b.dy), b.dx), dst.stride(), ColorPixels<SB>::at(src.scanLine(b.sy), b.sx),
            src.stride(), storageEnd(src), mask.scanLine(b.my), mask.stride(), b.mx, b.w, b.h});
}

void referenceMasked(Bitmap& dst, const MaskedBlit& b, const Bitmap& srcIn, const Bitmap& maskIn)
{
    Bitmap srcCopy, maskCopy;
    const Bitmap& src = unaliased(srcIn, dst, srcCopy);
    const Bitmap& mask = unaliased(maskIn, dst, maskCopy);
    for (int y = 0; y < b.h; ++y)
        for (int x = 0; x < b.w; ++x)
            if (mask.value(b.mx + x, b.my + y) == 0)
                dst.setValue(b.dx + x, b.dy + y,
                             convert(src.value(b.sx + x, b.sy + y), src.format(), dst.format()));
}

// A pattern on a Bgrx32 row: the colour bits change, the fourth byte stays 0xFF.
void bgrxPatternRow(std::uint8_t* row, int n, Pattern pattern)
{
    for (int x = 0; x < n; ++x, row += 4) {
        std::uint32_t p;
        std::memcpy(&p, row, 4);
        p = pattern == Pattern::White ? 0xFFFFFFFFu : pattern == Pattern::Black ? 0u : ~p;
        std::memcpy(row, &p, 3);
    }
}

std::uint32_t colorInDomain(Color c, PixelFormat f) { return convert(c & 0xFFFFFF, PixelFormat::Bgr24, f); }

// --- lines -------------------------------------------------------------------------------------

// One axis of a line: where it starts and how far it goes.
struct LineAxis {
    long long start, delta;
};

// The coordinate of step k of n: start + delta * k / n, rounded half away from the start. On the
// longer axis this is start + k or start - k, so every step moves one pixel along it.
long long lineCoordinate(const LineAxis& a, long long k, long long n)
{
    auto magnitude = (long long)(((__int128)2 * k * std::llabs(a.delta) + n) / ((__int128)2 * n));
    return a.start + (a.delta < 0 ? -magnitude : magnitude);
}

// The steps in [0, n) whose coordinate on the longer axis lies in [0, length): the only steps
// that can touch the bitmap, so a line far outside costs nothing.
std::pair<long long, long long> visibleSteps(const LineAxis& major, long long n, int length)
{
    long long lo = major.delta > 0 ? -major.start : major.start - length + 1;
    return {std::max(lo, 0LL), std::min(lo + length, n)};
}

// A rectangle whose width and height are ints; absurd rectangles are ignored rather than overflowed.
bool sizeFitsInt(const Rect& r)
{
    return (long long)r.right - r.left <= INT_MAX && (long long)r.bottom - r.top <= INT_MAX;
}

// --- stretching --------------------------------------------------------------------------------

bool stretchable(const Bitmap& dst, const Rect& d, const Bitmap& src, const Rect& s)
{
    return !d.isEmpty() && !s.isEmpty() && !src.isNull() && !dst.isNull() && sizeFitsInt(d) && sizeFitsInt(s);
}

// The source column of every visible destination column from x0 on, or -1 where the source has none.
struct StretchColumns {
    int x0;
    std::vector<int> source;
};

StretchColumns stretchColumns(const Bitmap& dst, const Rect& d, const Bitmap& src, const Rect& s)
{
    StretchColumns c{std::max(d.left, 0), {}};
    for (int x = c.x0; x < std::min(d.right, dst.width()); ++x) {
        int sx = s.left + stretchSourceIndex(x - d.left, s.width(), d.width());
        c.source.push_back(sx >= 0 && sx < src.width() ? sx : -1);
    }
    return c;
}

// row(y, sy) for every visible destination row y whose source row sy lies in the source.
template <class Row>
void eachStretchedRow(const Bitmap& dst, const Rect& d, const Bitmap& src, const Rect& s, Row row)
{
    for (int y = std::max(d.top, 0); y < std::min(d.bottom, dst.height()); ++y) {
        int sy = s.top + stretchSourceIndex(y - d.top, s.height(), d.height());
        if (sy >= 0 && sy < src.height())
            row(y, sy);
    }
}

void referenceStretch(Bitmap& dst, const Rect& d, const Bitmap& src, const Rect& s)
{
    const StretchColumns columns = stretchColumns(dst, d, src, s);
    PixelFormat df = dst.format(), sf = src.format();
    eachStretchedRow(dst, d, src, s, [&](int y, int sy) {
        for (int i = 0; i < int(columns.source.size()); ++i)
            if (columns.source[i] >= 0)
                dst.setValue(columns.x0 + i, y, convert(src.value(columns.source[i], sy), sf, df));
    });
}

// A row of 3-byte pixels gathered 4 bytes at a time, each write's fourth byte overwritten by the
// next pixel; only the last pixel takes a 3-byte write. in must have a byte to spare after the
// farthest pixel read.
void gather3(std::uint8_t* out, const std::uint8_t* in, const std::ptrdiff_t* offsets, int n)
{
    for (int i = 0; i < n - 1; ++i, out += 3)
        std::memcpy(out, in + offsets[i], 4);
    std::memcpy(out, in + offsets[n - 1], 3);
}

// Same colour format: pixels are bytes to copy, from byte offsets worked out once, and a row
// that repeats the last one's source row is the last row again.
template <int bytes>
void stretchBytes(Bitmap& dst, const Rect& d, const Bitmap& src, const Rect& s)
{
    const StretchColumns columns = stretchColumns(dst, d, src, s);
    const int n = int(columns.source.size());
    const bool wholeRows = std::find(columns.source.begin(), columns.source.end(), -1) == columns.source.end();
    std::vector<std::ptrdiff_t> offsets(columns.source.size());
    std::ptrdiff_t farthest = 0;
    for (int i = 0; i < n; ++i) {
        offsets[i] = std::ptrdiff_t(columns.source[i]) * bytes;
        farthest = std::max(farthest, offsets[i]);
    }
    // Every row but the last has the next one behind it; the last may end with its pixels.
    const bool spareInLastRow = farthest + 4 <= src.stride();
    int lastY = -1, lastSy = -1;
    eachStretchedRow(dst, d, src, s, [&](int y, int sy) {
        std::uint8_t* out = dst.scanLine(y) + columns.x0 * bytes;
        const std::uint8_t* in = src.scanLine(sy);
        if (wholeRows && sy == lastSy)
            std::memcpy(out, dst.scanLine(lastY) + columns.x0 * bytes, std::size_t(n) * bytes);
        else if (wholeRows && bytes == 3 && n > 0 && (sy < src.height() - 1 || spareInLastRow))
            gather3(out, in, offsets.data(), n);
        else
            for (int i = 0; i < n; ++i)
                if (offsets[i] >= 0)
                    std::memcpy(out + i * bytes, in + offsets[i], bytes);
        lastY = y;
        lastSy = sy;
    });
}

} // namespace

// --- public operations -------------------------------------------------------------------------

void bitBlt(Bitmap& dst, int dx, int dy, int w, int h, const Bitmap& src, int sx, int sy, Rop rop)
{
    Blit b{dx, dy, sx, sy, w, h};
    if (!clipBlit(b, dst, src))
        return;
    bool overlapping = &dst == &src;
    if (!(overlapping && src.format() == PixelFormat::Mono1) && !(overlapping && b.dy == b.sy)
        && fastBitBlt(dst, b, src, rop))
        return;
    referenceBlit(dst, b, src, rop);
}

void patBlt(Bitmap& dst, const Rect& r, Pattern pattern)
{
    Rect c = intersected(r, dst.rect());
    if (c.isEmpty())
        return;
    if (dst.format() == PixelFormat::Bgrx32) {
        for (int y = c.top; y < c.bottom; ++y)
            bgrxPatternRow(dst.scanLine(y) + 4 * c.left, c.width(), pattern);
        return;
    }
    // In the other formats every bit of the area takes the pattern alike.
    const long long bpp = bitsPerPixel(dst.format());
    const bits::Fill fill = pattern == Pattern::White ? bits::Fill::Ones
                          : pattern == Pattern::Black ? bits::Fill::Zeros
                                                      : bits::Fill::Invert;
    bits::fill({dst.scanLine(c.top), dst.stride(), c.left * bpp}, c.width() * bpp, c.height(), fill);
}

void fillRect(Bitmap& dst, const Rect& r, Color color)
{
    Rect c = intersected(r, dst.rect());
    if (c.isEmpty())
        return;
    std::uint32_t v = colorInDomain(color, dst.format());
    if (isColor(dst.format())) {
        int bytes = dst.format() == PixelFormat::Bgrx32 ? 4 : 3;
        std::uint8_t px[4] = {std::uint8_t(blueOf(v)), std::uint8_t(greenOf(v)), std::uint8_t(redOf(v)), 0xFF};
        std::uint8_t* first = dst.scanLine(c.top) + bytes * c.left;
        for (int x = 0; x < c.width(); ++x)
            std::memcpy(first + bytes * x, px, bytes);
        for (int y = c.top + 1; y < c.bottom; ++y)
            std::memcpy(dst.scanLine(y) + bytes * c.left, first, std::size_t(bytes) * c.width());
        return;
    }
    for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x)
            dst.setValue(x, y, v);
}

void fillAround(Bitmap& dst, const Rect& area, const Rect& hole, Color color)
{
    const Rect h = intersected(hole, area);
    if (h.isEmpty()) {
        fillRect(dst, area, color);
        return;
    }
    fillRect(dst, {area.left, area.top, area.right, h.top}, color);
    fillRect(dst, {area.left, h.bottom, area.right, area.bottom}, color);
    fillRect(dst, {area.left, h.top, h.left, h.bottom}, color);
    fillRect(dst, {h.right, h.top, area.right, h.bottom}, color);
}

void drawLine(Bitmap& dst, int x0, int y0, int x1, int y1, Color color)
{
    LineAxis ax{x0, (long long)x1 - x0}, ay{y0, (long long)y1 - y0};
    long long n = std::max(std::llabs(ax.delta), std::llabs(ay.delta));
    if (n == 0 || dst.isNull())
        return;
    bool xMajor = std::llabs(ax.delta) == n;
    auto [first, end] = visibleSteps(xMajor ? ax : ay, n, xMajor ? dst.width() : dst.height());
    std::uint32_t v = colorInDomain(color, dst.format());
    for (long long k = first; k < end; ++k) {
        long long x = lineCoordinate(ax, k, n), y = lineCoordinate(ay, k, n);
        if (x >= 0 && x < dst.width() && y >= 0 && y < dst.height())
            dst.setValue(int(x), int(y), v);
    }
}

Color getPixel(const Bitmap& b, int x, int y)
{
    return b.rect().contains(x, y) ? b.colorAt(x, y) : kInvalidColor;
}

void prefetch(const Bitmap& b, const Rect& r)
{
    constexpr int kLine = 64;
    const Rect c = intersected(r, b.rect());
    if (c.isEmpty())
        return;
    const long long bpp = bitsPerPixel(b.format());
    const long long first = c.left * bpp / 8, last = (c.right * bpp + 7) / 8 - 1;
    for (int y = c.top; y < c.bottom; ++y) {
        const std::uint8_t* row = b.scanLine(y);
        for (long long x = first & ~(kLine - 1); x <= last; x += kLine)
            __builtin_prefetch(row + x);
    }
}

void stretchBlt(Bitmap& dst, const Rect& d, const Bitmap& srcIn, const Rect& s)
{
    if (!stretchable(dst, d, srcIn, s))
        return;
    Bitmap copy;
    const Bitmap& src = unaliased(srcIn, dst, copy);
    if (src.format() != dst.format() || !isColor(dst.format())) {
        referenceStretch(dst, d, src, s);
        return;
    }
    if (dst.format() == PixelFormat::Bgr24)
        stretchBytes<3>(dst, d, src, s);
    else
        stretchBytes<4>(dst, d, src, s);
}

void maskedCopy(Bitmap& dst, int dx, int dy, int w, int h, const Bitmap& src, int sx, int sy,
                const Bitmap& mask, int mx, int my)
{
    MaskedBlit b{dx, dy, sx, sy, mx, my, w, h};
    if (mask.format() != PixelFormat::Mono1 || !clipMasked(b, dst, src, mask))
        return;
    PixelFormat df = dst.format(), sf = src.format();
    const rows::Kernels& k = rows::kernels();
    if (&src == &dst || &mask == &dst) referenceMasked(dst, b, src, mask);
    else if (df == PixelFormat::Bgrx32 && sf == PixelFormat::Bgr24) maskedBlit<4, 3>(dst, b, src, mask, k.masked3to4);
    else if (df == PixelFormat::Bgr24 && sf == PixelFormat::Bgr24) maskedBlit<3, 3>(dst, b, src, mask, k.masked3to3);
    else if (df == PixelFormat::Bgrx32 && sf == PixelFormat::Bgrx32) maskedBlit<4, 4>(dst, b, src, mask, k.masked4to4);
    else referenceMasked(dst, b, src, mask);
}

namespace reference {

void stretchBlt(Bitmap& dst, const Rect& d, const Bitmap& srcIn, const Rect& s)
{
    if (!stretchable(dst, d, srcIn, s))
        return;
    Bitmap copy;
    referenceStretch(dst, d, unaliased(srcIn, dst, copy), s);
}

void patBlt(Bitmap& dst, const Rect& r, Pattern pattern)
{
    Rect c = intersected(r, dst.rect());
    std::uint32_t all = domainMask(dst.format());
    for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x) {
            std::uint32_t v = pattern == Pattern::White ? all
                            : pattern == Pattern::Black ? 0
                                                        : ~dst.value(x, y) & all;
            dst.setValue(x, y, v);
        }
}

void bitBlt(Bitmap& dst, int dx, int dy, int w, int h, const Bitmap& src, int sx, int sy, Rop rop)
{
    Blit b{dx, dy, sx, sy, w, h};
    if (clipBlit(b, dst, src))
        referenceBlit(dst, b, src, rop);
}

void maskedCopy(Bitmap& dst, int dx, int dy, int w, int h, const Bitmap& src, int sx, int sy,
                const Bitmap& mask, int mx, int my)
{
    MaskedBlit b{dx, dy, sx, sy, mx, my, w, h};
    if (mask.format() == PixelFormat::Mono1 && clipMasked(b, dst, src, mask))
        referenceMasked(dst, b, src, mask);
}

} // namespace reference
} // namespace gfx
