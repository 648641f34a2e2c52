// Quarter turns of a square in place. Colour squares are copied out once and gathered back
// column by column; masks whose square starts on a byte go in blocks of 8 x 8 bits, each block
// transposed as one 64-bit word. Everything else takes the per-pixel reference.
#include "gfx/Raster.h"
#include "gfx/RasterRows.h"
#include <cstring>

namespace gfx {
namespace {

// Pieces are at most this large; larger squares take the reference rather than allocate.
constexpr int kMaxFastSide = 96;

bool turnable(const Bitmap& b, const Rect& square, int angle)
{
    return (angle == 90 || angle == 270) && square.width() == square.height() && !square.isEmpty()
        && intersected(square, b.rect()) == square;
}

// New row y of the turned square is an old column read downwards (90) or upwards (270): the
// column, where its first pixel is and the step from one pixel to the next, in pixels.
struct ColumnWalk {
    int first, step;
};

ColumnWalk columnFor(int y, int n, int angle)
{
    return angle == 90 ? ColumnWalk{n - 1 - y, n} : ColumnWalk{(n - 1) * n + y, -n};
}

// The square is copied out as 32-bit pixels, then each new row gathered from its old column.
// A Bgr24 row is written 4 bytes a pixel, each write's fourth byte overwritten by the next
// pixel, so only the last pixel of a row takes a 3-byte write.
template <int bytes>
void turnColor(Bitmap& b, const Rect& sq, int angle)
{
    const int n = sq.width();
    std::uint32_t scratch[kMaxFastSide * kMaxFastSide];
    auto* out = reinterpret_cast<std::uint8_t*>(scratch);
    if constexpr (bytes == 3) {
        const std::uint8_t* end = b.scanLine(b.height() - 1) + b.stride();
        rows::kernels().copy3to4({out, 4 * n, b.scanLine(sq.top) + 3 * sq.left, b.stride(), end, nullptr, 0, 0, n, n});
    } else {
        for (int y = 0; y < n; ++y)
            std::memcpy(out + 4 * n * y, b.scanLine(sq.top + y) + 4 * sq.left, 4 * std::size_t(n));
    }
    for (int y = 0; y < n; ++y) {
        const ColumnWalk c = columnFor(y, n, angle);
        const std::uint32_t* s = scratch + c.first;
        std::uint8_t* d = b.scanLine(sq.top + y) + sq.left * bytes;
        for (int x = 0; x < n - 1; ++x, d += bytes, s += c.step)
            std::memcpy(d, s, 4);
        std::memcpy(d, s, bytes);
    }
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

std::uint8_t reversed(std::uint8_t v)
{
    v = std::uint8_t((v & 0xF0) >> 4 | (v & 0x0F) << 4);
    v = std::uint8_t((v & 0xCC) >> 2 | (v & 0x33) << 2);
    return std::uint8_t((v & 0xAA) >> 1 | (v & 0x55) << 1);
}

// Masks: block (bi, bj) of the old square, rows 8bi.. and byte column bj, transposed gives the
// old columns 8bj + k over those rows, one byte each. Turned by 90 column c is new row n - 1 - c
// with the rows in order; by 270 it is new row c with the rows reversed. Every block is read
// before the first is written back.
void turnMono(Bitmap& b, const Rect& sq, int angle)
{
    constexpr int kMaxBlocks = kMaxFastSide / 8;
    const int n = sq.width(), blocks = n / 8;
    const std::ptrdiff_t stride = b.stride();
    std::uint8_t* const first = b.scanLine(sq.top) + sq.left / 8;
    std::uint64_t turned[kMaxBlocks][kMaxBlocks];
    for (int bi = 0; bi < blocks; ++bi)
        for (int bj = 0; bj < blocks; ++bj) {
            const std::uint8_t* p = first + 8 * bi * stride + bj;
            std::uint64_t m = 0;
            for (int r = 0; r < 8; ++r, p += stride)
                m = m << 8 | *p;
            turned[bi][bj] = transpose8(m);
        }
    for (int bi = 0; bi < blocks; ++bi)
        for (int bj = 0; bj < blocks; ++bj)
            for (int k = 0; k < 8; ++k) {
                const auto column = std::uint8_t(turned[bi][bj] >> (8 * (7 - k)));
                const int c = 8 * bj + k;
                if (angle == 90)
                    first[(n - 1 - c) * stride + bi] = column;
                else
                    first[c * stride + blocks - 1 - bi] = reversed(column);
            }
}

} // namespace

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

} // namespace reference
} // namespace gfx
