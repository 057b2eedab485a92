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

// The number of set bits of `x`. std::popcount is a library call on processors not known to
// have an instruction for it (x86-64 without -march); this is a dozen inline operations.
constexpr int countOnes(std::uint64_t x) {
    x -= (x >> 1) & eachByte(0x55);
    x = (x & eachByte(0x33)) + ((x >> 2) & eachByte(0x33));
    x = (x + (x >> 4)) & eachByte(0x0F);
    return static_cast<int>((x * eachByte(1)) >> 56);
}

}  // namespace statsstats::swar
