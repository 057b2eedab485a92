#include "summary/real_format.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace statsstats {
namespace {

TEST(FormatReal, WritesSixSignificantDigitsInGeneralNotation) {
    const struct {
        double value;
        const char* expected;
    } cases[] = {
        {0.0, "0"},
        {-0.0, "-0"},
        {2.0, "2"},
        {0.5, "0.5"},
        {static_cast<float>(0.1), "0.1"},
        {51200.0, "51200"},
        {123456.0, "123456"},
        {999999.4, "999999"},
        {999999.5, "1e+006"},
        {1000000.0, "1e+006"},
        {1234567.0, "1.23457e+006"},
        {1234.5678, "1234.57"},
        {0.0001, "0.0001"},
        {0.00001, "1e-005"},
        {-0.000123456789, "-0.000123457"},
        {100.0 / 60.0, "1.66667"},
        {90.0 / 60.0, "1.5"},
        {1e100, "1e+100"},
        {-2.5e-300, "-2.5e-300"},
        {std::numeric_limits<double>::max(), "1.79769e+308"},
        {std::numeric_limits<double>::denorm_min(), "4.94066e-324"},
        {0.125, "0.125"},
        {2.5e-5, "2.5e-005"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatReal(c.value), c.expected) << c.value;
}

TEST(FormatReal, NamesNonFiniteValuesByTheirBits) {
    const auto fromBits = [](std::uint64_t bits) { return std::bit_cast<double>(bits); };
    const double zero = 0.0;
    const volatile double volatileZero = zero;
    const struct {
        double value;
        const char* expected;
    } cases[] = {
        {std::numeric_limits<double>::infinity(), "1.#INF"},
        {-std::numeric_limits<double>::infinity(), "-1.#INF"},
        {volatileZero / volatileZero, "-1.#IND"},     // what 0/0 gives
        {std::sqrt(-1.0 - volatileZero), "-1.#IND"},  // and the root of a negative
        {fromBits(0x7ff8000000000000), "1.#QNAN"},
        {fromBits(0x7ff8000000000001), "1.#QNAN"},
        {fromBits(0xfff8000000000001), "-1.#QNAN"},
        {fromBits(0x7ff0000000000001), "1.#SNAN"},
        {fromBits(0xfff4000000000000), "-1.#SNAN"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatReal(c.value), c.expected) << std::bit_cast<std::uint64_t>(c.value);
    }
}

TEST(FormatReal, AppendsToWhatIsThere) {
    std::string text = "x=";
    appendReal(text, 1.5);
    appendGeneral(text, 1.038025e-6, 7);
    EXPECT_EQ(text, "x=1.51.038025e-006");
}

}  // namespace
}  // namespace statsstats
