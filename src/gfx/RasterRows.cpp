#include "gfx/RasterRows.h"
#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "gfx/RasterGroups.h"

namespace gfx::rows {
namespace {

// --- the portable set: byte by byte, any processor ---------------------------------------------

template <int DB, int SB>
struct PortableCopy : Cursor<DB, SB> {
    void pixel()
    {
        if constexpr (DB == 4 && SB == 3)
            expandPixel(this->d, this->s);
        else
            std::memcpy(this->d, this->s, DB);
    }
    void whole() { eachInside(*this, 0); }
    void mixed(std::uint8_t m) { eachInside(*this, m); }
};

// A mask ANDed in: the cursor's source is not read.
struct PortableBlacken : Cursor<4, 0> {
    void pixel() { std::memset(d, 0, 3); }
    void whole() { eachInside(*this, 0); }
    void mixed(std::uint8_t m) { eachInside(*this, m); }
};

void copy3to4(const Block& b) { wholeBlock<PortableCopy<4, 3>, 3>(b, 24); }

template <int DB, int SB>
void masked(const Block& b)
{
    maskedBlock<PortableCopy<DB, SB>, SB>(b, 8 * SB);
}

void blacken4(const Block& b) { maskedBlock<PortableBlacken, 0>(b, 0); }

void turn(const Turn& t) { turnPixels(t, 0, t.n, 0, t.n); }


// --- choosing a set ----------------------------------------------------------------------------

const Kernels* setFor(Isa isa)
{
#if defined(__x86_64__)
    if (isa == Isa::Avx2)
        return &kAvx2Kernels;
    if (isa == Isa::Avx512)
        return &kAvx512Kernels;
#endif
    (void)isa;
    return &kPortableKernels;
}

const Kernels*& current()
{
    static const Kernels* set = setFor(bestIsa());
    return set;
}

} // namespace

void mapBytesPortable(std::uint8_t* p, std::size_t n, const std::uint8_t* table)
{
    for (std::size_t i = 0; i < n; ++i)
        p[i] = table[p[i]];
}

void shadePixel(std::uint8_t* p, std::uint32_t code, int step)
{
    for (int c = 0; c < 3; ++c)
        p[c] = std::uint8_t(code == Lighter ? std::min(p[c] + step, 255) : std::max(p[c] - step, 0));
}

namespace {

// The pixel of a word that a set bit of shadedNibbles stands for: byte j holds pixel 2j in its
// high nibble and 2j + 1 in its low one.
int pixelOfBit(int bit) { return 2 * (bit / 8) + (bit % 8 == 0 ? 1 : 0); }

} // namespace

void shadeWord(std::uint8_t* p, int bytes, std::uint64_t word, int step)
{
    for (std::uint64_t hits = shadedNibbles(word); hits; hits &= hits - 1) {
        const int bit = __builtin_ctzll(hits);
        shadePixel(p + bytes * pixelOfBit(bit), (word >> bit & 1) ? Lighter : Darker, step);
    }
}

namespace {

void shadeRow(std::uint8_t* p, const std::uint8_t* map, int words, int step)
{
    eachShadedWord(p, map, words, [step](std::uint8_t* q, std::uint64_t word) { shadeWord(q, 3, word, step); });
}

} // namespace

void reversePixels(std::uint8_t* d, const std::uint8_t* s, int n, int db)
{
    for (int i = 0; i < n; ++i)
        std::memcpy(d + i * db, s + (n - 1 - i) * db, std::size_t(db));
}

// New row y is an old column read downwards (90) or upwards (270).
void turnPixels(const Turn& t, int y0, int y1, int x0, int x1)
{
    const int n = t.n, db = t.db;
    const std::ptrdiff_t step = std::ptrdiff_t(t.angle == 90 ? n : -n) * db;
    for (int y = y0; y < y1; ++y) {
        const int first = t.angle == 90 ? n - 1 - y : (n - 1) * n + y;
        const std::uint8_t* s = t.s + std::ptrdiff_t(first) * db + x0 * step;
        std::uint8_t* d = t.d + y * t.dStride + x0 * db;
        for (int x = x0; x < x1; ++x, s += step, d += db)
            std::memcpy(d, s, std::size_t(db));
    }
}

const Kernels kPortableKernels{copy3to4, masked<4, 3>, masked<4, 4>, masked<3, 3>, blacken4, mapBytesPortable, turn, shadeRow, reversePixels};

bool supported(Isa isa)
{
    switch (isa) {
    case Isa::Portable: return true;
#if defined(__x86_64__)
    case Isa::Avx2: return __builtin_cpu_supports("avx2");
    case Isa::Avx512:
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512bw")
            && __builtin_cpu_supports("avx512vbmi");
#else
    case Isa::Avx2:
    case Isa::Avx512: return false;
#endif
    }
    return false;
}

Isa bestIsa()
{
    for (Isa isa : {Isa::Avx512, Isa::Avx2})
        if (supported(isa))
            return isa;
    return Isa::Portable;
}

const Kernels& kernels() { return *current(); }

bool use(Isa isa)
{
    if (!supported(isa))
        return false;
    current() = setFor(isa);
    return true;
}

} // namespace gfx::rows
