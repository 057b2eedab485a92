#include "statslog/comma_scan.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>

#include "statslog/swar.hpp"

namespace statsstats {
namespace {

std::uint64_t naiveCommaMask(const char* p) {
    std::uint64_t mask = 0;
    for (int i = 0; i < 64; ++i) {
        if (p[i] == ',') mask |= std::uint64_t{1} << i;
    }
    return mask;
}

// Both forms agree with a byte-by-byte scan, including for bytes next to ',' in value (+ and -)
// and bytes with the high bit set, where a carry between bytes would show.
TEST(CommaScan, AgreesWithAByteByByteScan) {
    std::mt19937_64 random(7);
    const std::string alphabet = std::string(",,,,+-.0123456789e\r\n\x00\x7f\x80\xac\xff", 23);
    for (int i = 0; i < 20000; ++i) {
        char block[64];
        for (char& c : block) c = alphabet[random() % alphabet.size()];
        const std::uint64_t expected = naiveCommaMask(block);
        ASSERT_EQ(commaMask64(block), expected) << "block " << i;
        ASSERT_EQ(commaMask64Portable(block), expected) << "block " << i;
    }
    const std::string allCommas(64, ',');
    EXPECT_EQ(commaMask64(allCommas.data()), ~std::uint64_t{0});
    EXPECT_EQ(commaMask64Portable(allCommas.data()), ~std::uint64_t{0});
}

// The commas of a block are counted to pass over it; a wrong count shifts every later column.
TEST(CommaScan, CountsTheCommasOfABlock) {
    std::mt19937_64 random(3);
    for (int i = 0; i < 20000; ++i) {
        // Sparse, dense and everything between.
        std::uint64_t mask = random();
        for (int thin = i % 4; thin > 0; --thin) mask &= random();
        for (int thick = i % 3; thick > 0; --thick) mask |= random();
        ASSERT_EQ(swar::countOnes(mask), std::popcount(mask)) << std::hex << mask;
    }
    EXPECT_EQ(swar::countOnes(0), 0);
    EXPECT_EQ(swar::countOnes(~std::uint64_t{0}), 64);
}

}  // namespace
}  // namespace statsstats
