#include "statslog/parse_line.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#include "statslog/column_conversion.hpp"
#include "statslog/comma_scan.hpp"
#include "statslog/swar.hpp"

namespace statsstats {
namespace {

constexpr std::size_t kCommasNeeded = kColumnCount - 1;
using CommaPositions = std::array<std::uint32_t, kCommasNeeded>;

// Whether a record type keeps the number field `name`: it does when it has a member of that name.
#define STATSLOG_KEEPS(Record, name) \
    requires(Record & kept) {        \
        kept.name;                   \
    }

template <class Record>
constexpr bool keepsText(TextColumn column) {
    return std::ranges::find(Record::kTextColumns, column) != Record::kTextColumns.end();
}

// For each comma, the first comma from it on whose position the parser reads: the start of a
// column the record keeps, or the end of a kept text. Lets findCommas pass over whole blocks of
// columns that a record does not keep.
template <class Record>
constexpr std::array<std::uint16_t, kCommasNeeded> kNextNeededComma = [] {
    std::array<bool, kColumnCount> kept{};
    std::array<bool, kColumnCount> text{};
    std::size_t column = 0;
#define STATSLOG_TEXT_COLUMN(name)                                     \
    kept[column] = text[column] = keepsText<Record>(TextColumn::name); \
    ++column;
#define STATSLOG_NUMBER_COLUMN(name)             \
    kept[column] = STATSLOG_KEEPS(Record, name); \
    ++column;
    STATSLOG_FIELDS(STATSLOG_TEXT_COLUMN, STATSLOG_NUMBER_COLUMN, STATSLOG_NUMBER_COLUMN,
                    STATSLOG_IGNORE)
#undef STATSLOG_TEXT_COLUMN
#undef STATSLOG_NUMBER_COLUMN
    std::array<std::uint16_t, kCommasNeeded> next{};
    std::uint16_t nextNeeded = UINT16_MAX;
    for (std::size_t comma = kCommasNeeded; comma-- > 0;) {
        if (kept[comma + 1] || text[comma]) nextNeeded = static_cast<std::uint16_t>(comma);
        next[comma] = nextNeeded;
    }
    return next;
}();

// Finds the first 195 commas of the line and returns how many there are (at most 195), with the
// positions of those the record's columns need. A bitmap of 64 bytes is built without a branch,
// then its set bits are read off, unless the block holds no comma that is needed. Knowing every
// column's start up front lets the conversions of different columns overlap in the processor,
// instead of each waiting for the end of the number before it.
template <class Record>
std::size_t findCommas(std::string_view line, CommaPositions& commas) {
    const char* const data = line.data();
    const std::size_t size = line.size();
    std::size_t count = 0;
    std::size_t at = 0;
    constexpr auto& kNextNeeded = kNextNeededComma<Record>;
    // A record of every field needs every comma: no block is passed over.
    constexpr bool kNeedsEvery = [] {
        for (std::size_t comma = 0; comma < kCommasNeeded; ++comma) {
            if (kNextNeeded[comma] != comma) return false;
        }
        return true;
    }();
    const auto takeBits = [&](std::uint64_t mask) {
        if constexpr (!kNeedsEvery) {
            const auto inBlock = static_cast<std::size_t>(swar::countOnes(mask));
            if (kNextNeeded[count] >= count + inBlock) {
                count += inBlock;
                return;
            }
        }
        while (mask != 0 && count < kCommasNeeded) {
            commas[count++] =
                static_cast<std::uint32_t>(at + static_cast<std::size_t>(std::countr_zero(mask)));
            mask &= mask - 1;
        }
    };
    for (; at + 64 <= size && count < kCommasNeeded; at += 64) takeBits(commaMask64(data + at));
    if (at < size && count < kCommasNeeded) {
        // The last few bytes, padded with zeros (no commas) to a whole block.
        char tail[64] = {};
        std::memcpy(tail, data + at, size - at);
        takeBits(commaMask64(tail));
    }
    return std::min(count, kCommasNeeded);
}

// The columns of the reals a record type keeps, in column order.
struct KeptReals {
    std::array<std::uint8_t, kRealColumnCount> columns{};
    std::size_t count = 0;
};

template <class Record>
constexpr KeptReals kRealColumns = [] {
    KeptReals reals;
    std::size_t column = 0;
#define STATSLOG_SKIP(name) ++column;
#define STATSLOG_REAL_COLUMN(name)                                        \
    if constexpr (STATSLOG_KEEPS(Record, name)) {                         \
        reals.columns[reals.count++] = static_cast<std::uint8_t>(column); \
    }                                                                     \
    ++column;
    STATSLOG_FIELDS(STATSLOG_SKIP, STATSLOG_SKIP, STATSLOG_REAL_COLUMN, STATSLOG_IGNORE)
#undef STATSLOG_SKIP
#undef STATSLOG_REAL_COLUMN
    return reals;
}();

// Column i (from 0) starts after comma i - 1.
const char* columnStart(const char* data, const CommaPositions& commas, std::size_t i) {
    return i == 0 ? data : data + commas[i - 1] + 1;
}

// Reads the kept reals of a line, in pairs, with every call written out: each call site then
// has its own history in the branch predictor, and a column's numbers tend to keep their shape
// from line to line.
template <class Record, std::size_t Count, std::size_t... Pair>
void parseRealPairs(const char* data, const CommaPositions& commas, const char* end,
                    std::array<PendingReal, Count>& reals, std::index_sequence<Pair...>) {
    constexpr auto& kColumns = kRealColumns<Record>.columns;
    const auto start = [&](std::size_t i) { return columnStart(data, commas, i); };
    (parseTwoRealPrefixes(start(kColumns[2 * Pair]), start(kColumns[2 * Pair + 1]), end,
                          reals[2 * Pair], reals[2 * Pair + 1]),
     ...);
    if constexpr (Count % 2 == 1) parseRealPrefix(start(kColumns[Count - 1]), end, reals.back());
}

}  // namespace

template <class Record>
std::size_t parseStatsLine(std::string_view line, Record& record) {
    static_assert(std::ranges::is_sorted(Record::kTextColumns), "texts in column order");
    CommaPositions commas;
    const std::size_t found = findCommas<Record>(line, commas);
    if (found < kCommasNeeded) return found + 1;

    const char* const data = line.data();
    const char* const end = data + line.size();
    // Numbers are read up to the line end rather than their comma: a numeric prefix stops at a
    // comma anyway, and the reads may then take eight bytes at a time.
    const auto start = [&](std::size_t i) { return columnStart(data, commas, i); };
    std::array<std::string_view, Record::kTextColumns.size()> texts;
    constexpr std::size_t kReals = kRealColumns<Record>.count;
    std::array<PendingReal, kReals> reals;
    std::size_t column = 0;
    std::size_t text = 0;
#define STATSLOG_PARSE_TEXT(name)                                                            \
    if constexpr (keepsText<Record>(TextColumn::name)) {                                     \
        texts[text++] = std::string_view(                                                    \
            start(column), static_cast<std::size_t>(data + commas[column] - start(column))); \
    }                                                                                        \
    ++column;
#define STATSLOG_PARSE_INT(name)                                                                 \
    if constexpr (STATSLOG_KEEPS(Record, name)) parseIntPrefix(start(column), end, record.name); \
    ++column;
#define STATSLOG_SKIP_REAL(name) ++column;
    STATSLOG_FIELDS(STATSLOG_PARSE_TEXT, STATSLOG_PARSE_INT, STATSLOG_SKIP_REAL, STATSLOG_IGNORE)
    parseRealPairs<Record>(data, commas, end, reals, std::make_index_sequence<kReals / 2>());
    // The line's reals are rounded together, once all are read: one run of independent
    // multiplications and divisions, rather than one division between every two columns.
    std::size_t real = 0;
#define STATSLOG_ROUND_REAL(name) \
    if constexpr (STATSLOG_KEEPS(Record, name)) record.name = reals[real++].round();
    STATSLOG_FIELDS(STATSLOG_IGNORE, STATSLOG_IGNORE, STATSLOG_ROUND_REAL, STATSLOG_IGNORE)
#undef STATSLOG_ROUND_REAL
#undef STATSLOG_PARSE_TEXT
#undef STATSLOG_PARSE_INT
#undef STATSLOG_SKIP_REAL
    record.setTexts(texts);
    if constexpr (STATSLOG_KEEPS(Record, channelcountminuscol3)) {
        // The difference wraps like the 32-bit arithmetic of the programs that read this field.
        record.channelcountminuscol3 =
            static_cast<std::int32_t>(static_cast<std::uint32_t>(record.channelcount) -
                                      static_cast<std::uint32_t>(record.col3));
    }
    return kColumnCount;
}

template std::size_t parseStatsLine(std::string_view, StatsRecord&);
template std::size_t parseStatsLine(std::string_view, SummaryRecord&);

}  // namespace statsstats
