#include "statslog/column_conversion.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace statsstats {
namespace {

constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();

TEST(ConvertInt, TakesTheNumericPrefixAndSaturates) {
    const struct {
        std::string text;
        std::int32_t expected;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {" 42abc", 42},
        {"\t\r\n\v\f 12", 12},
        {"-7.9", -7},
        {"+5", 5},
        {"+", 0},
        {"- 5", 0},
        {"0x1F", 0},
        {"12\r", 12},
        {"000000000000000000000042", 42},
        {"2147483647", kIntMax},
        {"2147483648", kIntMax},
        {"99999999999999999999999", kIntMax},
        {"-2147483648", kIntMin},
        {"-2147483649", kIntMin},
        {"-99999999999", kIntMin},
        {"4294967296", kIntMax},
        {"9999999999", kIntMax},
        {"12345678901", kIntMax},
        {"-0000000000000000001234,5", -1234},
        {"2147483647000", kIntMax},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(convertInt(c.text), c.expected) << "text: \"" << c.text << '"';
    }
}

// Compared by bits, so that -0 and 0 differ and infinities are checked exactly.
std::uint32_t bits(float f) {
    return std::bit_cast<std::uint32_t>(f);
}

TEST(ConvertReal, TakesTheNumericPrefix) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const struct {
        std::string text;
        float expected;
    } cases[] = {
        {"", 0.0f},
        {"abc", 0.0f},
        {"1.5e3", 1500.0f},
        {"1.5E3", 1500.0f},
        {"1.5d3", 1500.0f},
        {"2D-2", 0.02f},
        {".5", 0.5f},
        {"5.", 5.0f},
        {"+1.5", 1.5f},
        {" \t-2.5", -2.5f},
        {"-0", -0.0f},
        {"1.2.3", 1.2f},
        {"1.5e3x", 1500.0f},
        {"1e", 1.0f},
        {"1e+", 1.0f},
        {"1.5d", 1.5f},
        {".e5", 0.0f},
        {"0.1", static_cast<float>(0.1)},
        {"1.038025e-006", static_cast<float>(1.038025e-6)},
        {"51200\r", 51200.0f},
        // The ends of the range that one multiplication or division rounds exactly.
        {"1e22", static_cast<float>(1e22)},
        {"-3.3e-22", static_cast<float>(-3.3e-22)},
        {"7e-23", static_cast<float>(7e-23)},
        // Words and hexadecimal are not numbers here, so no NaN can come from a log.
        {"inf", 0.0f},
        {"-inf", 0.0f},
        {"nan", 0.0f},
        {"NaN", 0.0f},
        {"0x1p3", 0.0f},
        // Too large for a float: infinity of the same sign; too small: zero.
        {"1e39", kInf},
        {"-1e39", -kInf},
        {"1e400", kInf},
        {"1e99999999999999999999", kInf},
        {"1e-46", 0.0f},
        {"-1e-400", -0.0f},
        {"1e-99999999999999999999", 0.0f},
        {"0e99999999999999999999", 0.0f},
        {"1e-45", std::numeric_limits<float>::denorm_min()},
        // Around FLT_MAX: up to halfway to 2^128 rounds down, from there to infinity.
        {"3.4028235e38", std::numeric_limits<float>::max()},
        {"3.40282356e38", std::numeric_limits<float>::max()},
        {"3.4028236e38", kInf},
        // Longer than the quick path handles.
        {"123456789012345678901234567890", 1.2345679e29f},
        {"0.000000000000000000000000000000000000001234567", 1.234567e-39f},
        {"9007199254740993", 9007199254740992.0f},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bits(convertReal(c.text)), bits(c.expected))
            << "text: \"" << c.text << "\" gave " << convertReal(c.text);
    }
}

TEST(ConvertReal, RoundsToDoubleFirstThenToFloat) {
    // Just above the midpoint between 1 and the next float. Rounded straight to a float it
    // would go up; rounded to the nearest double it lands exactly on the midpoint, and the
    // tie then goes to the even float, 1.
    EXPECT_EQ(convertReal("1.00000005960464477539062501"), 1.0f);
    // Clearly above the midpoint both ways go up.
    EXPECT_EQ(convertReal("1.00000006"), std::nextafter(1.0f, 2.0f));
}

TEST(ConvertReal, HandlesVeryLongDigitStrings) {
    const std::string manyDigits = "1" + std::string(5000, '0');
    EXPECT_EQ(convertReal(manyDigits), std::numeric_limits<float>::infinity());
    EXPECT_EQ(convertReal("0." + std::string(5000, '0') + "1"), 0.0f);
    EXPECT_EQ(convertReal("2." + std::string(5000, '0') + "1e0"), 2.0f);
}

}  // namespace
}  // namespace statsstats

namespace statsstats {
namespace {

// The obviously-correct reading of a real: find the prefix by hand, let strtod round it.
float referenceReal(const std::string& text, std::size_t& used) {
    std::size_t p = 0;
    while (p < text.size() && std::strchr(" \t\n\v\f\r", text[p]) != nullptr && text[p] != 0) ++p;
    std::string prefix;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) prefix += text[p++];
    bool digit = false, point = false;
    for (; p < text.size(); ++p) {
        if (std::isdigit(static_cast<unsigned char>(text[p]))) {
            digit = true;
        } else if (text[p] == '.' && !point) {
            point = true;
        } else {
            break;
        }
        prefix += text[p];
    }
    if (!digit) {
        used = 0;
        return 0.0f;
    }
    if (p < text.size() && std::strchr("eEdD", text[p]) != nullptr && text[p] != 0) {
        std::size_t q = p + 1;
        std::string exponent = "e";
        if (q < text.size() && (text[q] == '+' || text[q] == '-')) exponent += text[q++];
        if (q < text.size() && std::isdigit(static_cast<unsigned char>(text[q]))) {
            while (q < text.size() && std::isdigit(static_cast<unsigned char>(text[q]))) {
                exponent += text[q++];
            }
            prefix += exponent;
            p = q;
        }
    }
    used = p;
    const double d = std::strtod(prefix.c_str(), nullptr);
    if (std::fabs(d) >= 0x1.ffffffp127) {
        return d > 0 ? std::numeric_limits<float>::infinity()
                     : -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(d);
}

// Random texts shaped like the numbers of a log, and like the ways they go wrong.
std::string randomNumberText(std::mt19937_64& random) {
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto digits = [&](int count) {
        std::string s;
        for (int i = 0; i < count; ++i) s += static_cast<char>('0' + pick(pick(3) == 0 ? 2 : 10));
        return s;
    };
    std::string text;
    if (pick(8) == 0) text += std::string(static_cast<std::size_t>(pick(3) + 1), " \t\r"[pick(3)]);
    if (pick(2) == 0) text += "+-"[pick(2)];
    text += digits(pick(4) == 0 ? pick(30) : pick(8));
    if (pick(3) != 0) text += '.';
    text += digits(pick(4) == 0 ? pick(30) : pick(9));
    if (pick(2) == 0) {
        text += "eEdD"[pick(4)];
        if (pick(3) != 0) text += "+-"[pick(2)];
        text += digits(pick(6));
    }
    // The bytes just below '0' and just above '9', and one with the high bit, test the edges of
    // the digit test.
    const char* const tails[] = {"",  ",", ",1.5,2", "x", ".5", "e5", "\r", ",-0.25e-003,7",
                                 "/", ":", "\xb5",   "E+"};
    return text + tails[pick(12)];
}

TEST(ConvertReal, AgreesWithStrtodOnRandomTexts) {
    std::mt19937_64 random(20261211);
    for (int i = 0; i < 200000; ++i) {
        const std::string text = randomNumberText(random);
        std::size_t used = 0;
        const float expected = referenceReal(text, used);
        float value;
        const char* end = parseRealPrefix(text.data(), text.data() + text.size(), value);
        ASSERT_EQ(bits(value), bits(expected)) << "text: \"" << text << '"';
        ASSERT_EQ(static_cast<std::size_t>(end - text.data()), used) << "text: \"" << text << '"';
    }
}

}  // namespace
}  // namespace statsstats

namespace statsstats {
namespace {

TEST(ConvertInt, AgreesWithStrtollOnRandomTexts) {
    std::mt19937_64 random(99);
    const std::string alphabet = "0000123456789+- \t.e,x";
    for (int i = 0; i < 200000; ++i) {
        std::string text;
        const std::size_t length = random() % 24;
        for (std::size_t k = 0; k < length; ++k) text += alphabet[random() % alphabet.size()];
        // strtoll saturates at 64 bits, which lies beyond the 32-bit limits either way.
        const long long wide = std::strtoll(text.c_str(), nullptr, 10);
        const auto expected =
            static_cast<std::int32_t>(std::clamp<long long>(wide, kIntMin, kIntMax));
        std::int32_t value;
        const char* end = parseIntPrefix(text.data(), text.data() + text.size(), value);
        ASSERT_EQ(value, expected) << "text: \"" << text << '"';
        char* referenceEnd;
        std::strtoll(text.c_str(), &referenceEnd, 10);
        ASSERT_EQ(end - text.data(), referenceEnd - text.c_str()) << "text: \"" << text << '"';
    }
}

}  // namespace
}  // namespace statsstats
