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

void copy3to4(const Block& b) { wholeBlock<Expand, 3>(b, kExpandReach); }
void masked3to4(const Block& b) { maskedBlock<Expand, 3>(b, kExpandReach); }
void masked4to4(const Block& b) { maskedBlock<Copy32, 4>(b, 32); }
void masked3to3(const Block& b) { maskedBlock<Copy24, 3>(b, 24); }
void blacken4(const Block& b) { maskedBlock<Blacken, 0>(b, 0); }

} // namespace

const Kernels kAvx2Kernels{copy3to4, masked3to4, masked4to4, masked3to3, blacken4, mapBytesPortable};
const Kernels kAvx512Kernels{copy3to4, masked3to4, masked4to4, masked3to3, blacken4, mapBytesAvx512};

} // namespace gfx::rows

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

#endif // __x86_64__
