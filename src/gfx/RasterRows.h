#pragma once
#include <cstddef>
#include <cstdint>

// The kernels behind the colour transfers of the raster core, in one set per instruction set.
// Each handles a block of rows, w pixels wide and h high, already clipped. Mask bits are read
// from bit mx of each mask row on, a 0 bit meaning a pixel of the piece. srcEnd is the end of
// the source bitmap's storage: a kernel may read ahead of the pixels it uses, but never past
// srcEnd, and it writes nothing but its pixels.
namespace gfx::rows {

struct Block {
    std::uint8_t* d;
    std::ptrdiff_t dStride;
    const std::uint8_t* s; // null for blacken4
    std::ptrdiff_t sStride;
    const std::uint8_t* srcEnd;
    const std::uint8_t* mask; // null for copy3to4
    std::ptrdiff_t maskStride;
    int mx;
    int w, h;
};

// A quarter turn written out of a copy: s holds the n x n square row after row, db bytes a
// pixel (3 or 4) as in the bitmap, with at least 4 bytes of room after it; the turned square goes
// to d. By 90 (counter-clockwise) new pixel (x, y) is old (n - 1 - y, x); by 270 (clockwise) it
// is old (y, n - 1 - x).
struct Turn {
    std::uint8_t* d;
    std::ptrdiff_t dStride;
    int db;
    const std::uint8_t* s;
    int n;
    int angle;
};

struct Kernels {
    void (*copy3to4)(const Block&);   // Bgr24 into Bgrx32, every pixel
    void (*masked3to4)(const Block&); // Bgr24 into Bgrx32 where the mask is 0
    void (*masked4to4)(const Block&); // Bgrx32 into Bgrx32 where the mask is 0
    void (*masked3to3)(const Block&); // Bgr24 into Bgr24 where the mask is 0
    void (*blacken4)(const Block&);   // the mask ANDed into Bgrx32: black where it is 0
    // Every one of n bytes at p replaced by table[byte].
    void (*mapBytes)(std::uint8_t* p, std::size_t n, const std::uint8_t* table);
    void (*turn)(const Turn&);
    // words x 16 Bgr24 pixels at p shaded by their 4-bit map, the high nibble of a byte first:
    // code 1 lighter by step, code 2 darker, both clamped; 0 <= step <= 255.
    void (*shadeRow)(std::uint8_t* p, const std::uint8_t* map, int words, int step);
    // The n pixels of s, db bytes each (3 or 4), written to d in reverse order; s has 4 bytes of
    // room after its pixels, and d and s do not overlap.
    void (*reverseRow)(std::uint8_t* d, const std::uint8_t* s, int n, int db);
};

enum class Isa {
    Portable, // plain C++, any processor
    Avx2,     // x86-64 with AVX2
    Avx512,   // AVX2, and byte tables through AVX-512 VBMI
};

// The set in use: the best the processor offers, unless a test chose another.
const Kernels& kernels();
// Whether this processor runs isa.
bool supported(Isa isa);
// Makes isa's set the one in use; false (and nothing changed) when the processor lacks it.
bool use(Isa isa);
Isa bestIsa();

extern const Kernels kPortableKernels;
void mapBytesPortable(std::uint8_t* p, std::size_t n, const std::uint8_t* table);

// Shading, a pixel at a time: code 1 (the low three bits of a map pixel) lightens a Bgr24 or
// Bgrx32 pixel by step, code 2 darkens it, both clamped.
enum ShadeCode : std::uint32_t { Lighter = 1, Darker = 2 };
void shadePixel(std::uint8_t* p, std::uint32_t code, int step);
// A word of 16 map pixels, 8 bytes in memory order with the high nibble of each byte first:
// a bit for every pixel of code 1 or 2, at the lowest bit of that pixel's nibble.
inline std::uint64_t shadedNibbles(std::uint64_t word)
{
    return (word ^ word >> 1) & ~(word >> 2) & 0x1111111111111111ull; // bits 0 and 1 differ, bit 2 clear
}
// The 16 pixels at p, bytes each, shaded by such a word.
void shadeWord(std::uint8_t* p, int bytes, std::uint64_t word, int step);

void reversePixels(std::uint8_t* d, const std::uint8_t* s, int n, int db);
// Rows y0 to y1 - 1 and columns x0 to x1 - 1 of a turn, a pixel at a time.
void turnPixels(const Turn& t, int y0, int y1, int x0, int x1);
#if defined(__x86_64__)
extern const Kernels kAvx2Kernels;  // AVX2, byte tables one byte at a time
extern const Kernels kAvx512Kernels; // the same, byte tables through AVX-512
void mapBytesAvx512(std::uint8_t* p, std::size_t n, const std::uint8_t* table);
#endif

} // namespace gfx::rows
