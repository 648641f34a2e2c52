// The row kernels for x86-64 processors with AVX2: eight pixels a step, the mask's byte turned
// into a lane mask. Only this file is compiled for AVX2, and RasterRows.cpp calls into it only
// after asking the processor.
#include "gfx/RasterRows.h"
#include <cstring>
#if defined(__x86_64__)
#include <immintrin.h>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

#include "gfx/RasterGroups.h"

namespace gfx::rows {
namespace {

// 8 Bgr24 pixels as Bgrx32: two overlapping 16-byte loads, 28 bytes from s.
constexpr int kExpandReach = 28;

inline __m256i alpha() { return _mm256_set1_epi32(int(0xFF000000u)); }

inline __m256i expand8(const std::uint8_t* s)
{
    const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 12));
    const __m256i v = _mm256_inserti128_si256(_mm256_castsi128_si256(lo), hi, 1);
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, //
                                            0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    return _mm256_or_si256(_mm256_shuffle_epi8(v, spread), alpha());
}

// All bits of lane k set when bit 7 - k of m is 0: pixel k is inside.
inline __m256i insideLanes(std::uint8_t m)
{
    const __m256i bits = _mm256_setr_epi32(0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01);
    return _mm256_cmpeq_epi32(_mm256_and_si256(_mm256_set1_epi32(m), bits), _mm256_setzero_si256());
}

inline __m256i load(const std::uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
inline void store(std::uint8_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

inline void blend(std::uint8_t* d, __m256i v, std::uint8_t m)
{
    store(d, _mm256_blendv_epi8(load(d), v, insideLanes(m)));
}

struct Expand : Cursor<4, 3> {
    void pixel() { expandPixel(d, s); }
    void whole() { store(d, expand8(s)); }
    void mixed(std::uint8_t m) { blend(d, expand8(s), m); }
};

struct Copy32 : Cursor<4, 4> {
    void pixel() { std::memcpy(d, s, 4); }
    void whole() { store(d, load(s)); }
    void mixed(std::uint8_t m) { blend(d, load(s), m); }
};

struct Copy24 : Cursor<3, 3> {
    void pixel() { std::memcpy(d, s, 3); }
    void whole() { std::memcpy(d, s, 24); }
    void mixed(std::uint8_t m) { eachInside(*this, m); }
};

// A mask ANDed in: the cursor's source is not read.
struct Blacken : Cursor<4, 0> {
    void pixel() { std::memset(d, 0, 3); }
    void whole() { store(d, _mm256_and_si256(load(d), alpha())); }
    void mixed(std::uint8_t m)
    {
        const __m256i old = load(d);
        store(d, _mm256_blendv_epi8(old, _mm256_and_si256(old, alpha()), insideLanes(m)));
    }
};

// Eight rows of eight 32-bit pixels turned on their diagonal: r[j] lane k becomes r[k] lane j.
inline void transpose8x8(__m256i r[8])
{
    __m256i a[8], b[8];
    for (int i = 0; i < 8; i += 2) {
        a[i] = _mm256_unpacklo_epi32(r[i], r[i + 1]);
        a[i + 1] = _mm256_unpackhi_epi32(r[i], r[i + 1]);
    }
    for (int i = 0; i < 8; i += 4) {
        b[i] = _mm256_unpacklo_epi64(a[i], a[i + 2]);
        b[i + 1] = _mm256_unpackhi_epi64(a[i], a[i + 2]);
        b[i + 2] = _mm256_unpacklo_epi64(a[i + 1], a[i + 3]);
        b[i + 3] = _mm256_unpackhi_epi64(a[i + 1], a[i + 3]);
    }
    for (int i = 0; i < 4; ++i) {
        r[i] = _mm256_permute2x128_si256(b[i], b[i + 4], 0x20);
        r[i + 4] = _mm256_permute2x128_si256(b[i], b[i + 4], 0x31);
    }
}

// 8 Bgrx32 pixels stored as 24 bytes of Bgr24, nothing written past them.
inline void store3(std::uint8_t* d, __m256i v)
{
    const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, //
                                          0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(v, pack), _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm256_castsi256_si128(packed));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(d + 16), _mm256_extracti128_si256(packed, 1));
}

// One 8 x 8 block of the turned square, new rows y0.. and columns x0..: the transposed block of
// old rows and columns. By 90 its rows come out in reverse order; by 270 the old rows are read
// from the bottom up, which reverses every transposed row instead.
void turnBlock(const Turn& t, int y0, int x0)
{
    const int n = t.n, db = t.db;
    const bool ccw = t.angle == 90;
    const int row = ccw ? x0 : n - 1 - x0, column = ccw ? n - 8 - y0 : y0;
    const std::uint8_t* s = t.s + (std::ptrdiff_t(row) * n + column) * db;
    const std::ptrdiff_t down = std::ptrdiff_t(ccw ? n : -n) * db;
    __m256i r[8];
    for (int k = 0; k < 8; ++k, s += down)
        r[k] = db == 4 ? load(s) : expand8(s);
    transpose8x8(r);
    std::uint8_t* d = t.d + y0 * t.dStride + x0 * db;
    for (int i = 0; i < 8; ++i, d += t.dStride) {
        const __m256i turned = r[ccw ? 7 - i : i];
        if (db == 4)
            store(d, turned);
        else
            store3(d, turned);
    }
}

// Whole blocks where they fit, the strips left over at the right and bottom a pixel at a time.
void turn(const Turn& t)
{
    const int whole = t.n / 8 * 8;
    for (int y0 = 0; y0 < whole; y0 += 8)
        for (int x0 = 0; x0 < whole; x0 += 8)
            turnBlock(t, y0, x0);
    turnPixels(t, 0, whole, whole, t.n);
    turnPixels(t, whole, t.n, 0, t.n);
}

// The map's 16 nibbles as 16 bytes, pixel order; each pixel's lane then spread over its three
// bytes, and the lighter and darker ones moved by saturating adds.
inline void shade16(std::uint8_t* p, std::uint64_t word, int step)
{
    const __m128i nibbles = _mm_cvtsi64_si128(static_cast<long long>(word));
    const __m128i low = _mm_and_si128(nibbles, _mm_set1_epi8(0x0F));
    const __m128i high = _mm_and_si128(_mm_srli_epi16(nibbles, 4), _mm_set1_epi8(0x0F));
    const __m128i codes = _mm_and_si128(_mm_unpacklo_epi8(high, low), _mm_set1_epi8(7));
    const __m128i by = _mm_set1_epi8(static_cast<char>(step));
    const __m128i lighter = _mm_and_si128(_mm_cmpeq_epi8(codes, _mm_set1_epi8(1)), by);
    const __m128i darker = _mm_and_si128(_mm_cmpeq_epi8(codes, _mm_set1_epi8(2)), by);
    const __m128i spread[3] = {_mm_setr_epi8(0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5),
                               _mm_setr_epi8(5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10),
                               _mm_setr_epi8(10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15)};
    for (int k = 0; k < 3; ++k) {
        auto* q = reinterpret_cast<__m128i*>(p + 16 * k);
        const __m128i up = _mm_shuffle_epi8(lighter, spread[k]);
        const __m128i down = _mm_shuffle_epi8(darker, spread[k]);
        _mm_storeu_si128(q, _mm_subs_epu8(_mm_adds_epu8(_mm_loadu_si128(q), up), down));
    }
}

// Eight pixels at a time from the end of s, their order turned round in the register.
void reverseRow(std::uint8_t* d, const std::uint8_t* s, int n, int db)
{
    const __m256i reverse = _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const std::uint8_t* from = s + std::ptrdiff_t(n - 8 - i) * db;
        const __m256i turned = _mm256_permutevar8x32_epi32(db == 4 ? load(from) : expand8(from), reverse);
        if (db == 4)
            store(d + i * db, turned);
        else
            store3(d + i * db, turned);
    }
    reversePixels(d + i * db, s, n - i, db);
}

void shadeRow(std::uint8_t* p, const std::uint8_t* map, int words, int step)
{
    eachShadedWord(p, map, words, [step](std::uint8_t* q, std::uint64_t word) { shade16(q, word, step); });
}

void copy3to4(const Block& b) { wholeBlock<Expand, 3>(b, kExpandReach); }
void masked3to4(const Block& b) { maskedBlock<Expand, 3>(b, kExpandReach); }
void masked4to4(const Block& b) { maskedBlock<Copy32, 4>(b, 32); }
void masked3to3(const Block& b) { maskedBlock<Copy24, 3>(b, 24); }
void blacken4(const Block& b) { maskedBlock<Blacken, 0>(b, 0); }

} // namespace

const Kernels kAvx2Kernels{copy3to4, masked3to4, masked4to4, masked3to3, blacken4, mapBytesPortable, turn, shadeRow, reverseRow};
const Kernels kAvx512Kernels{copy3to4, masked3to4, masked4to4, masked3to3, blacken4, mapBytesAvx512, turn, shadeRow, reverseRow};

} // namespace gfx::rows

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

#endif // __x86_64__
