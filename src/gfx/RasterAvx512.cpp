// Byte tables through AVX-512 VBMI: two permutes of 64 bytes each look a whole register up in
// the 256-entry table, the high bit of each byte choosing the half. Only this file is compiled
// for AVX-512, and the kernel set that calls it is chosen after asking the processor.
#include "gfx/RasterRows.h"
#if defined(__x86_64__)
#include <immintrin.h>

namespace gfx::rows {

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void mapBytesAvx512(std::uint8_t* p, std::size_t n,
                                                                           const std::uint8_t* table)
{
    const __m512i t0 = _mm512_loadu_si512(table), t1 = _mm512_loadu_si512(table + 64);
    const __m512i t2 = _mm512_loadu_si512(table + 128), t3 = _mm512_loadu_si512(table + 192);
    std::size_t i = 0;
    for (; i + 64 <= n; i += 64) {
        const __m512i v = _mm512_loadu_si512(p + i);
        const __m512i low = _mm512_permutex2var_epi8(t0, v, t1);  // entries 0-127 by the low 7 bits
        const __m512i high = _mm512_permutex2var_epi8(t2, v, t3); // entries 128-255
        _mm512_storeu_si512(p + i, _mm512_mask_blend_epi8(_mm512_movepi8_mask(v), low, high));
    }
    mapBytesPortable(p + i, n - i, table);
}

} // namespace gfx::rows
#endif
