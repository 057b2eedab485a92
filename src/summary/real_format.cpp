#include "summary/real_format.hpp"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace statsstats {
namespace {

void appendNonFinite(std::string& out, double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 51;
    if (negative) out += '-';
    if (fraction == 0) {
        out += "1.#INF";
    } else if ((fraction & kQuietBit) == 0) {
        out += "1.#SNAN";
    } else if (fraction == kQuietBit && negative) {
        // The "indefinite" that x86 arithmetic produces for 0/0, inf-inf or sqrt(-1): sign set,
        // quiet bit only. The same pattern without the sign was not made by an invalid
        // operation and counts as an ordinary quiet not-a-number.
        out += "1.#IND";
    } else {
        out += "1.#QNAN";
    }
}

}  // namespace

void appendGeneral(std::string& out, double value, int significantDigits) {
    if (!std::isfinite(value)) {
        appendNonFinite(out, value);
        return;
    }
    // At most a sign, the digits, a point and "e-ddd".
    char text[48];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general,
                                      significantDigits);
    const char* const begin = text;
    const char* const end = result.ptr;
    const char* const exponent =
        static_cast<const char*>(std::memchr(text, 'e', static_cast<std::size_t>(end - text)));
    if (exponent == nullptr) {
        out.append(begin, end);
        return;
    }
    // "e-05" becomes "e-005": the exponent always has three digits.
    out.append(begin, exponent + 2);
    for (auto digits = end - (exponent + 2); digits < 3; ++digits) out += '0';
    out.append(exponent + 2, end);
}

}  // namespace statsstats
