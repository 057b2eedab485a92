// Reading text eight bytes at a time in one 64-bit integer ("SIMD within a register").
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace statsstats::swar {

// The eight bytes at p, the first in the lowest byte, whatever the machine's byte order.
inline std::uint64_t loadEightBytes(const char* p) {
    if constexpr (std::endian::native == std::endian::little) {
        std::uint64_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    } else {
        std::uint64_t v = 0;
        for (int i = 7; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
        return v;
    }
}

// `b` in each of the eight bytes.
constexpr std::uint64_t eachByte(std::uint8_t b) {
    return 0x0101010101010101ull * b;
}

// The high bit of every byte of `x` that is zero, and no other bit. Exact: no carry crosses
// from one byte into the next.
inline std::uint64_t zeroBytes(std::uint64_t x) {
    constexpr std::uint64_t kLow7 = eachByte(0x7F);
    return ~(((x & kLow7) + kLow7) | x) & ~kLow7;
}

}  // namespace statsstats::swar
