// Quarter turns of a square in place. Colour squares are copied out once and written back
// turned by the row kernels; masks whose square starts on a byte go in blocks of 8 x 8 bits,
// each block transposed as one 64-bit word. Everything else takes the per-pixel reference.
#include "gfx/Raster.h"
#include "gfx/RasterRows.h"
#include <array>
#include <cstring>

namespace gfx {
namespace {

// Pieces are at most this large; larger squares take the reference rather than allocate.
constexpr int kMaxFastSide = 96;

bool inside(const Bitmap& b, const Rect& r) { return !r.isEmpty() && intersected(r, b.rect()) == r; }

bool turnable(const Bitmap& b, const Rect& square, int angle)
{
    return (angle == 90 || angle == 270) && square.width() == square.height() && inside(b, square);
}

// The square is copied out, then the turned rows written back from the copy.
template <int bytes>
void turnColor(Bitmap& b, const Rect& sq, int angle)
{
    const int n = sq.width();
    const std::size_t row = std::size_t(bytes) * n;
    std::uint8_t scratch[4 * kMaxFastSide * kMaxFastSide + 4]; // and the kernels' 4 bytes of read-ahead
    std::uint8_t* first = b.scanLine(sq.top) + bytes * sq.left;
    for (int y = 0; y < n; ++y)
        std::memcpy(scratch + row * y, first + y * b.stride(), row);
    rows::kernels().turn({first, b.stride(), bytes, scratch, n, angle});
}

// The 8 x 8 bit matrix of rows[0..7] turned on its diagonal: bit j of row i becomes bit i of
// row j, bits counted from the highest.
std::uint64_t transpose8(std::uint64_t x)
{
    std::uint64_t t;
    t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAull;
    x ^= t ^ (t << 7);
    t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCull;
    x ^= t ^ (t << 14);
    t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ull;
    x ^= t ^ (t << 28);
    return x;
}

// Masks: block (bi, bj) of the old square, rows 8bi.. and byte column bj, transposed gives the
// old columns 8bj + k over those rows, one byte each. Turned by 90 column c is new row n - 1 - c
// with the rows in order; by 270 it is new row c with the rows reversed, so the block's rows are
// read from the bottom up and its columns come out reversed already. Every block is read before
// the first is written back.
void turnMono(Bitmap& b, const Rect& sq, int angle)
{
    constexpr int kMaxBlocks = kMaxFastSide / 8;
    const int n = sq.width(), blocks = n / 8;
    const bool ccw = angle == 90;
    const std::ptrdiff_t stride = b.stride();
    std::uint8_t* const first = b.scanLine(sq.top) + sq.left / 8;
    std::uint64_t turned[kMaxBlocks][kMaxBlocks];
    const std::ptrdiff_t down = ccw ? stride : -stride;
    for (int bi = 0; bi < blocks; ++bi)
        for (int bj = 0; bj < blocks; ++bj) {
            const std::uint8_t* p = first + (8 * bi + (ccw ? 0 : 7)) * stride + bj;
            std::uint64_t m = 0;
            for (int r = 0; r < 8; ++r, p += down)
                m = m << 8 | *p;
            turned[bi][bj] = transpose8(m);
        }
    for (int bi = 0; bi < blocks; ++bi) {
        std::uint8_t* column = first + (ccw ? bi : blocks - 1 - bi);
        for (int bj = 0; bj < blocks; ++bj)
            for (int k = 0; k < 8; ++k) {
                const int c = 8 * bj + k;
                column[(ccw ? n - 1 - c : c) * stride] = std::uint8_t(turned[bi][bj] >> (8 * (7 - k)));
            }
    }
}

// --- half turns: the rows swap ends and run backwards -------------------------------------------

template <int bytes>
void halfTurnColor(Bitmap& b, const Rect& r)
{
    const int n = r.width();
    const std::size_t row = std::size_t(bytes) * n;
    std::uint8_t upper[4 * kMaxFastSide + 4], lower[4 * kMaxFastSide + 4]; // and the kernels' read-ahead
    const auto reverseRow = rows::kernels().reverseRow;
    for (int y = 0; y < (r.height() + 1) / 2; ++y) {
        std::uint8_t* top = b.scanLine(r.top + y) + bytes * r.left;
        std::uint8_t* bottom = b.scanLine(r.bottom - 1 - y) + bytes * r.left;
        std::memcpy(upper, top, row);
        std::memcpy(lower, bottom, row);
        reverseRow(top, lower, n, bytes);
        reverseRow(bottom, upper, n, bytes);
    }
}

constexpr std::array<std::uint8_t, 256> kReversedBits = [] {
    std::array<std::uint8_t, 256> t{};
    for (int v = 0; v < 256; ++v)
        for (int bit = 0; bit < 8; ++bit)
            if (v >> bit & 1)
                t[v] |= std::uint8_t(0x80 >> bit);
    return t;
}();

// Masks on whole bytes: a row backwards is its bytes backwards, each with its bits reversed.
void halfTurnMono(Bitmap& b, const Rect& r)
{
    const int n = r.width() / 8;
    std::uint8_t upper[kMaxFastSide / 8], lower[kMaxFastSide / 8];
    for (int y = 0; y < (r.height() + 1) / 2; ++y) {
        std::uint8_t* top = b.scanLine(r.top + y) + r.left / 8;
        std::uint8_t* bottom = b.scanLine(r.bottom - 1 - y) + r.left / 8;
        std::memcpy(upper, top, std::size_t(n));
        std::memcpy(lower, bottom, std::size_t(n));
        for (int i = 0; i < n; ++i) {
            top[i] = kReversedBits[lower[n - 1 - i]];
            bottom[i] = kReversedBits[upper[n - 1 - i]];
        }
    }
}

} // namespace

void halfTurn(Bitmap& b, const Rect& r)
{
    if (!inside(b, r))
        return;
    const bool small = r.width() <= kMaxFastSide;
    if (small && b.format() == PixelFormat::Bgr24)
        halfTurnColor<3>(b, r);
    else if (small && b.format() == PixelFormat::Bgrx32)
        halfTurnColor<4>(b, r);
    else if (small && b.format() == PixelFormat::Mono1 && r.left % 8 == 0 && r.width() % 8 == 0)
        halfTurnMono(b, r);
    else
        reference::halfTurn(b, r);
}

void quarterTurn(Bitmap& b, const Rect& square, int angle)
{
    if (!turnable(b, square, angle))
        return;
    const bool small = square.width() <= kMaxFastSide;
    if (small && b.format() == PixelFormat::Bgr24)
        turnColor<3>(b, square, angle);
    else if (small && b.format() == PixelFormat::Bgrx32)
        turnColor<4>(b, square, angle);
    else if (small && b.format() == PixelFormat::Mono1 && square.left % 8 == 0 && square.width() % 8 == 0)
        turnMono(b, square, angle);
    else
        reference::quarterTurn(b, square, angle);
}

namespace reference {

// Each pixel moves along its cycle of four places.
void quarterTurn(Bitmap& b, const Rect& square, int angle)
{
    if (!turnable(b, square, angle))
        return;
    int n = square.width();
    int next = angle == 90 ? 1 : 3; // new pixel at place k = old pixel at place k + next
    for (int y = 0; y < n / 2; ++y)
        for (int x = 0; x < (n + 1) / 2; ++x) {
            const int px[4] = {x, n - 1 - y, n - 1 - x, y};
            const int py[4] = {y, x, n - 1 - y, n - 1 - x};
            std::uint32_t old[4];
            for (int k = 0; k < 4; ++k)
                old[k] = b.value(square.left + px[k], square.top + py[k]);
            for (int k = 0; k < 4; ++k)
                b.setValue(square.left + px[k], square.top + py[k], old[(k + next) % 4]);
        }
}

// Each pixel of the upper half swaps places with its opposite one.
void halfTurn(Bitmap& b, const Rect& r)
{
    if (!inside(b, r))
        return;
    const int w = r.width(), h = r.height();
    for (int y = 0; y < (h + 1) / 2; ++y)
        for (int x = 0; x < (y == h - 1 - y ? w / 2 : w); ++x) {
            const int ox = r.left + w - 1 - x, oy = r.bottom - 1 - y;
            const std::uint32_t v = b.value(r.left + x, r.top + y);
            b.setValue(r.left + x, r.top + y, b.value(ox, oy));
            b.setValue(ox, oy, v);
        }
}

} // namespace reference
} // namespace gfx
