// Conversion of one column's text into a number, as lenient as the data-acquisition programs
// that write stats logs expect: the value is the numeric prefix of the text, 0 if there is none.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace statsstats {

// Both parsers read the numeric prefix of [first, last) and return where it ended (`first`
// when there is no number), in the manner of std::from_chars. They never read outside
// [first, last) and never fail: no number gives 0.

// Leading white space, an optional sign, then decimal digits up to the first non-digit.
// Values beyond the 32-bit range give the nearest limit.
const char* parseIntPrefix(const char* first, const char* last, std::int32_t& value);

// Leading white space, then the longest prefix of the form [sign] digits [. digits]
// [(e|E|d|D) [sign] digits] with at least one digit before the exponent. The prefix is rounded
// to the nearest double, and that double to the nearest float; a value too large for a float
// becomes an infinity of its sign. Words such as "inf" or "nan" and hexadecimal are not numbers
// here and give 0, so the result is never a not-a-number.
const char* parseRealPrefix(const char* first, const char* last, float& value);

// A real read but not yet rounded: `significand` times ten to the power `exponent`, where both
// the significand and the power of ten are exact doubles. Rounding is one multiplication and
// one division, one of which is by 1, so the result is correctly rounded either way. Splitting
// the reading of a line's reals from their rounding lets the rounding of a whole line run
// back to back, instead of each division stalling the reading of the next column.
struct PendingReal {
    double significand;
    std::int32_t exponent;  // from kMinExponent to kMaxExponent

    static constexpr int kMinExponent = -22;
    static constexpr int kMaxExponent = 22;
    static constexpr std::array<double, kMaxExponent - kMinExponent + 1> kMultipliers = {
        1,    1,    1,    1,    1,    1,    1,    1,    1,    1,    1,    1,    1,    1,   1,
        1,    1,    1,    1,    1,    1,    1,    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6, 1e7,
        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    static constexpr std::array<double, kMaxExponent - kMinExponent + 1> kDivisors = {
        1e22, 1e21, 1e20, 1e19, 1e18, 1e17, 1e16, 1e15, 1e14, 1e13, 1e12, 1e11, 1e10, 1e9, 1e8,
        1e7,  1e6,  1e5,  1e4,  1e3,  1e2,  1e1,  1,    1,    1,    1,    1,    1,    1,   1,
        1,    1,    1,    1,    1,    1,    1,    1,    1,    1,    1,    1,    1,    1,   1};

    // The nearest double, then the nearest float. A significand below 2^53 times at most
    // 10^22 stays below FLT_MAX, so the conversion cannot overflow; an infinite significand
    // (exponent 0) stays infinite.
    float round() const {
        const auto i = static_cast<std::size_t>(exponent - kMinExponent);
        return static_cast<float>(significand * kMultipliers[i] / kDivisors[i]);
    }
};

// Reads a real as parseRealPrefix does, but leaves the rounding to `PendingReal::round`.
const char* parseRealPrefix(const char* first, const char* last, PendingReal& value);

// Reads two reals at once, as parseRealPrefix does: the two overlap in the processor and share
// one call. A line has 158 reals.
void parseTwoRealPrefixes(const char* first, const char* second, const char* last,
                          PendingReal& firstValue, PendingReal& secondValue);

inline std::int32_t convertInt(std::string_view text) {
    std::int32_t value;
    parseIntPrefix(text.data(), text.data() + text.size(), value);
    return value;
}

inline float convertReal(std::string_view text) {
    float value;
    parseRealPrefix(text.data(), text.data() + text.size(), value);
    return value;
}

}  // namespace statsstats
