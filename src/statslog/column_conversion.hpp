// Conversion of one column's text into a number, as lenient as the data-acquisition programs
// that write stats logs expect: the value is the numeric prefix of the text, 0 if there is none.
#pragma once

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
