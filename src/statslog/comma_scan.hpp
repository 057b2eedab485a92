// Finding the commas of a line, 64 bytes at a time.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace statsstats {

// The same as commaMask64 in portable code, eight bytes at a time: what other processors run.
std::uint64_t commaMask64Portable(const char* p);

// One bit for each of the 64 bytes at p (bit i for byte i), set where the byte is a comma.
// Inline, as a line's 28 blocks each take one: with SSE2, which every x86-64 processor has,
// two instructions per sixteen bytes.
inline std::uint64_t commaMask64(const char* p) {
#if defined(__SSE2__)
    const __m128i comma = _mm_set1_epi8(',');
    const auto bits = [&](int i) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
        return std::uint64_t{
            static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, comma)))};
    };
    return bits(0) | bits(1) << 16 | bits(2) << 32 | bits(3) << 48;
#else
    return commaMask64Portable(p);
#endif
}

}  // namespace statsstats
