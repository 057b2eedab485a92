#include "statslog/comma_scan.hpp"

#include "statslog/swar.hpp"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace statsstats {
namespace {

// One bit for each of the eight bytes at p, set where the byte is a comma (bit i for byte i).
std::uint64_t commaMask8(const char* p) {
    const std::uint64_t highBits = swar::zeroBytes(swar::loadEightBytes(p) ^ swar::eachByte(','));
    // Gathers the eight high bits into the top byte: each lands on its own bit, no carries.
    return (highBits * 0x0002040810204081ull) >> 56;
}

}  // namespace

std::uint64_t commaMask64Portable(const char* p) {
    std::uint64_t mask = 0;
    for (std::size_t word = 0; word < 8; ++word) mask |= commaMask8(p + 8 * word) << (8 * word);
    return mask;
}

#if defined(__SSE2__)
// The same with SSE2, which every x86-64 processor has: two instructions per sixteen bytes.
std::uint64_t commaMask64(const char* p) {
    const __m128i comma = _mm_set1_epi8(',');
    std::uint64_t mask = 0;
    for (int i = 0; i < 4; ++i) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
        const auto bits =
            static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, comma)));
        mask |= std::uint64_t{bits} << (16 * i);
    }
    return mask;
}
#else
std::uint64_t commaMask64(const char* p) {
    return commaMask64Portable(p);
}
#endif

}  // namespace statsstats
