#include "statslog/column_conversion.hpp"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "statslog/swar.hpp"

namespace statsstats {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isExponentLetter(char c) {
    return c == 'e' || c == 'E' || c == 'd' || c == 'D';
}

// The helpers on the way of every number are forced inline: each is small, and a call costs
// more than the work it does.
#define STATSSTATS_HOT [[gnu::always_inline]] inline

STATSSTATS_HOT const char* skipSpace(const char* p, const char* last) {
    // Every white-space character is at or below ' ', and columns rarely start with one.
    while (p != last && static_cast<unsigned char>(*p) <= ' ' && isSpace(*p)) ++p;
    return p;
}

// Steps over a sign at p, if there is one; true for a minus.
STATSSTATS_HOT bool takeSign(const char*& p, const char* last) {
    if (p == last || (*p != '+' && *p != '-')) return false;
    return *p++ == '-';
}

// ---- Digit runs, eight bytes at a time ----------------------------------------------------
//
// Most reals in a log have a handful of digits on either side of the point. Reading a run of
// up to eight digits with a few integer operations, instead of a loop whose exit the processor
// mispredicts, is what makes the reader fast.

// The value of the eight digits in `digits` (one 0..9 per byte, the first in the lowest byte).
STATSSTATS_HOT std::uint64_t valueOfEightDigits(std::uint64_t digits) {
    digits = (digits * 10) + (digits >> 8);
    const std::uint64_t mask = 0x000000FF000000FFull;
    const std::uint64_t mul1 = 0x000F424000000064ull;  // 100 + (1000000 << 32)
    const std::uint64_t mul2 = 0x0000271000000001ull;  // 1 + (10000 << 32)
    return (((digits & mask) * mul1) + (((digits >> 16) & mask) * mul2)) >> 32;
}

constexpr std::uint64_t kPowersOfTen[] = {1,      10,      100,      1000,     10000,
                                          100000, 1000000, 10000000, 100000000};

// How many of the eight bytes in `t` (already xor-ed with '0') are digits before the first
// that is not.
STATSSTATS_HOT int digitRun(std::uint64_t t) {
    const std::uint64_t nonDigits =
        (((t & swar::eachByte(0x7F)) + swar::eachByte(0x76)) | t) & swar::eachByte(0x80);
    return nonDigits == 0 ? 8 : std::countr_zero(nonDigits) / 8;
}

// The value of the first `run` digits in `t` (0 to 8 of them).
STATSSTATS_HOT std::uint64_t leadingDigitsValue(std::uint64_t t, int run) {
    return run == 0 ? 0 : valueOfEightDigits(t << (64 - 8 * run));
}

// Masks of the low n bytes, for n from 0 to 8.
constexpr std::uint64_t kLowBytes[] = {0,
                                       0xFF,
                                       0xFFFF,
                                       0xFFFFFF,
                                       0xFFFFFFFF,
                                       0xFFFFFFFFFF,
                                       0xFFFFFFFFFFFF,
                                       0xFFFFFFFFFFFFFF,
                                       0xFFFFFFFFFFFFFFFF};

// Appends the run of digits at p to `significand` and counts them in `digits`. Overflow wraps
// harmlessly: callers give up on more than 19 digits.
[[gnu::noinline]] const char* takeDigits(const char* p, const char* last,
                                         std::uint64_t& significand, int& digits) {
    while (last - p >= 8) {
        const std::uint64_t t =
            swar::loadEightBytes(p) ^ swar::eachByte('0');  // digits become 0..9
        const int run = digitRun(t);
        if (run == 0) return p;
        significand = significand * kPowersOfTen[run] + leadingDigitsValue(t, run);
        digits += run;
        p += run;
        if (run < 8) return p;
    }
    for (; p != last && isDigit(*p); ++p, ++digits) {
        significand = significand * 10 + static_cast<unsigned>(*p - '0');
    }
    return p;
}

// Reads an optional exponent ("e-006", "D+3") at p; returns where it ended, or p if there is
// none. `exponent` saturates far beyond any finite double.
STATSSTATS_HOT const char* scanExponent(const char* p, const char* last, int& exponent) {
    exponent = 0;
    if (p == last || !isExponentLetter(*p)) return p;
    const char* q = p + 1;
    const bool negative = takeSign(q, last);
    if (q == last || !isDigit(*q)) return p;
    for (; q != last && isDigit(*q); ++q) {
        if (exponent < 100000) exponent = exponent * 10 + (*q - '0');
    }
    if (negative) exponent = -exponent;
    return q;
}

// Below 2^53 every integer is a double, so such a significand with an exponent of at most 22
// either way makes an exact pending real (Clinger's fast path).
constexpr std::uint64_t kMaxExactSignificand = std::uint64_t{1} << 53;
constexpr int kMaxQuickDigits = 19;  // always fit in 64 bits

// ---- Reals, in three tiers: the common shape, any short number, anything at all ------------

// The shape of nearly every real a logging program writes: a sign or none, up to fifteen
// digits with a point among the first nine (or up to seven digits and no point), an exponent or
// none, with room on the line for eight-byte reads. Returns null, having decided nothing, for
// anything else.
STATSSTATS_HOT const char* parseCommonReal(const char* p, const char* last, PendingReal& value) {
    // Room for a sign, a point and two eight-byte windows of digits, the exponent's letter and
    // sign. Leading white space needs no test: it reads as no digits and falls to the careful
    // path.
    constexpr std::ptrdiff_t kRoom = 1 + 1 + 16 + 2;
    if (last - p < kRoom) return nullptr;
    // Signs are as likely as not: decided without a branch to mispredict.
    const bool negative = *p == '-';
    p += static_cast<int>(negative) | static_cast<int>(*p == '+');

    const std::uint64_t low = swar::loadEightBytes(p) ^ swar::eachByte('0');
    const std::uint64_t high = swar::loadEightBytes(p + 8) ^ swar::eachByte('0');
    const int integerDigits = digitRun(low);
    // The digits are read as eight, with zeros in place of whatever follows them: the same
    // number times a power of ten, without a shift by a variable count to line them up.
    std::uint64_t significand;
    int exponent = integerDigits - 8;
    if (p[integerDigits] == '.') {
        // The sixteen bytes with the point taken out: the digits on both sides of it as one
        // run, without a second read that would have to wait for the point to be found.
        const std::uint64_t keep = kLowBytes[integerDigits];
        const std::uint64_t spliced = (low & keep) | (((low >> 8) | (high << 56)) & ~keep);
        const int digits = digitRun(spliced);
        significand = valueOfEightDigits(spliced & kLowBytes[digits]);
        p += 1 + digits;
        if (digits == 8 && isDigit(*p)) {
            // More digits than one word holds, as in 0.07041157: the rest from a third word.
            // Up to fifteen in all stay below 2^53, so the significand is exact.
            const std::uint64_t rest = swar::loadEightBytes(p) ^ swar::eachByte('0');
            const int restDigits = digitRun(rest);
            if (restDigits == 8) return nullptr;
            significand =
                significand * kPowersOfTen[restDigits] + leadingDigitsValue(rest, restDigits);
            exponent -= restDigits;
            p += restDigits;
        }
    } else {
        if (integerDigits == 8) return nullptr;
        significand = valueOfEightDigits(low & kLowBytes[integerDigits]);
        p += integerDigits;
    }
    // No digits, or a zero whose sign must survive: the careful path.
    if (significand == 0) return nullptr;
    int written;
    p = scanExponent(p, last, written);
    exponent += written;
    if (exponent < PendingReal::kMinExponent || exponent > PendingReal::kMaxExponent) {
        return nullptr;
    }
    // At most fifteen digits: below 2^53, so exact. The sign is applied as a mask: written as a
    // choice, the compiler makes it a branch that a log's signs, random as they are, mispredict
    // half the time.
    const std::int64_t signMask = -static_cast<std::int64_t>(negative);
    value.significand =
        static_cast<double>((static_cast<std::int64_t>(significand) ^ signMask) - signMask);
    value.exponent = exponent;
    return p;
}

// Doubles from halfway between FLT_MAX and 2^128 upwards round to infinity; converting them with
// a cast would be undefined behaviour, so they are mapped explicitly.
STATSSTATS_HOT float toFloat(double d) {
    constexpr double kFirstToInfinity = 0x1.ffffffp127;
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    if (std::fabs(d) >= kFirstToInfinity) return d > 0 ? kInfinity : -kInfinity;
    return static_cast<float>(d);
}

// Converts the prefix at p (just after white space) when the quick path declined it. Kept out
// of line: it is rare, and inlined it would make every common number pay for its registers.
[[gnu::noinline, gnu::cold]] const char* parseLongReal(const char* p, const char* last,
                                                       double& value) {
    const char* const start = p;
    const bool negative = takeSign(p, last);
    const char* const mantissa = p;
    std::int64_t integerDigits = 0;         // after leading zeros
    std::int64_t leadingFractionZeros = 0;  // of a value below 1
    bool significant = false;
    bool inFraction = false;
    bool anyDigit = false;
    for (; p != last; ++p) {
        if (isDigit(*p)) {
            anyDigit = true;
            significant = significant || *p != '0';
            if (!inFraction && significant) ++integerDigits;
            if (inFraction && !significant) ++leadingFractionZeros;
        } else if (*p == '.' && !inFraction) {
            inFraction = true;
        } else {
            break;
        }
    }
    if (!anyDigit) {
        value = 0.0;
        return start;
    }
    int exponent;
    p = scanExponent(p, last, exponent);
    if (!significant) {
        value = negative ? -0.0 : 0.0;
        return p;
    }
    // std::from_chars rounds correctly for any length, but knows neither the "d" exponent letter
    // nor a leading "+", so it gets a cleaned copy.
    std::string text;
    text.reserve(static_cast<std::size_t>(p - mantissa) + 1);
    if (negative) text.push_back('-');
    for (const char* c = mantissa; c != p; ++c) text.push_back(*c == 'd' || *c == 'D' ? 'e' : *c);
    double d = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), d);
    if (result.ec == std::errc::result_out_of_range) {
        // The decimal exponent of the leading digit tells an overflow from an underflow.
        const std::int64_t magnitude =
            exponent + (integerDigits > 0 ? integerDigits - 1 : -leadingFractionZeros - 1);
        d = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        if (negative) d = -d;
    }
    value = d;
    return p;
}

// Everything the common shape does not cover: white space, sixteen or more digits, the end of
// the line within reach, huge exponents, no number at all.
[[gnu::noinline]] const char* parseAnyReal(const char* first, const char* last,
                                           PendingReal& value) {
    const char* const start = skipSpace(first, last);
    const char* p = start;
    const bool negative = takeSign(p, last);

    std::uint64_t significand = 0;
    int digits = 0;
    p = takeDigits(p, last, significand, digits);
    int fractionDigits = 0;
    if (p != last && *p == '.') {
        const int integerDigits = digits;
        p = takeDigits(p + 1, last, significand, digits);
        fractionDigits = digits - integerDigits;
    }
    if (digits == 0) {
        value = PendingReal{0.0, 0};
        return first;
    }
    int exponent;
    p = scanExponent(p, last, exponent);
    exponent -= fractionDigits;
    if (digits <= kMaxQuickDigits && significand <= kMaxExactSignificand &&
        exponent >= PendingReal::kMinExponent && exponent <= PendingReal::kMaxExponent) {
        const auto magnitude = static_cast<double>(significand);
        value = PendingReal{negative ? -magnitude : magnitude, exponent};
        return p;
    }
    double d;
    p = parseLongReal(start, last, d);
    // Rounded here, to a float: an exact double, which multiplying or dividing by 1 keeps as
    // it is, its sign and an infinity included.
    value = PendingReal{toFloat(d), 0};
    return p;
}

// Up to seven digits, with room to read eight bytes: nearly every int of a log (channel counts,
// numbers, flags). Returns null, having decided nothing, for anything else.
STATSSTATS_HOT const char* parseCommonInt(const char* p, const char* last, std::int32_t& value) {
    if (last - p < 9) return nullptr;
    const bool negative = *p == '-';
    p += static_cast<int>(negative) | static_cast<int>(*p == '+');
    const std::uint64_t digits = swar::loadEightBytes(p) ^ swar::eachByte('0');
    const int run = digitRun(digits);
    if (run == 0 || run == 8) return nullptr;
    const auto magnitude = static_cast<std::int32_t>(leadingDigitsValue(digits, run));
    value = negative ? -magnitude : magnitude;
    return p + run;
}

}  // namespace

const char* parseIntPrefix(const char* first, const char* last, std::int32_t& value) {
    if (const char* end = parseCommonInt(first, last, value)) return end;
    const char* p = skipSpace(first, last);
    const bool negative = takeSign(p, last);
    const char* const digits = p;
    while (p != last && *p == '0') ++p;  // leading zeros add nothing
    // Ten digits cannot overflow 64 bits; past them the value is beyond the limits anyway,
    // and only the end of the run is still needed.
    std::uint64_t magnitude = 0;
    const char* const tenDigits = last - p > 10 ? p + 10 : last;
    for (; p != tenDigits && isDigit(*p); ++p)
        magnitude = magnitude * 10 + static_cast<unsigned>(*p - '0');
    if (p == digits) {
        value = 0;
        return first;
    }
    if (p == tenDigits) {
        while (p != last && isDigit(*p)) {
            magnitude = std::uint64_t{1} << 32;
            ++p;
        }
    }
    constexpr std::uint64_t kMagnitudeOfMin = std::uint64_t{1} << 31;
    if (negative) {
        value = magnitude >= kMagnitudeOfMin ? std::numeric_limits<std::int32_t>::min()
                                             : -static_cast<std::int32_t>(magnitude);
    } else {
        value = magnitude >= kMagnitudeOfMin ? std::numeric_limits<std::int32_t>::max()
                                             : static_cast<std::int32_t>(magnitude);
    }
    return p;
}

const char* parseRealPrefix(const char* first, const char* last, PendingReal& value) {
    // Kept small, so that the common case needs no registers saved.
    if (const char* end = parseCommonReal(first, last, value)) return end;
    return parseAnyReal(first, last, value);
}

void parseTwoRealPrefixes(const char* first, const char* second, const char* last,
                          PendingReal& firstValue, PendingReal& secondValue) {
    // Both quick paths first, so that the two numbers are read side by side.
    const bool firstTaken = parseCommonReal(first, last, firstValue) != nullptr;
    const bool secondTaken = parseCommonReal(second, last, secondValue) != nullptr;
    if (!firstTaken) parseAnyReal(first, last, firstValue);
    if (!secondTaken) parseAnyReal(second, last, secondValue);
}

const char* parseRealPrefix(const char* first, const char* last, float& value) {
    PendingReal pending;
    const char* const end = parseRealPrefix(first, last, pending);
    value = pending.round();
    return end;
}

}  // namespace statsstats
