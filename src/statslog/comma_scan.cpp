#include "statslog/comma_scan.hpp"

#include "statslog/swar.hpp"

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

}  // namespace statsstats
