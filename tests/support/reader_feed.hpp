// Feeding a log's bytes to a reader and comparing the two kinds of record a line makes: shared
// by the tests and the fuzz target.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "statslog/read_stats_log.hpp"

namespace statsstats::testing {

// Feeds `bytes` to `reader` in blocks of at most `blockSize` bytes, as reads of a file would
// deliver them, then finishes it. Returns false, having stopped, should the reader have no room
// (a line longer than it takes).
template <class Record>
bool feedInBlocks(StatsLogReader<Record>& reader, std::string_view bytes, std::size_t blockSize) {
    for (std::size_t at = 0; at < bytes.size();) {
        const std::span<char> space = reader.space();
        if (space.empty()) return false;
        const std::size_t count = std::min({blockSize, space.size(), bytes.size() - at});
        std::memcpy(space.data(), bytes.data() + at, count);
        reader.commit(count);
        at += count;
    }
    reader.finish();
    return true;
}

// Calls `compare(name, kept, full)` for each number field a SummaryRecord keeps, with the bits
// of its value in `summary` and in `full`.
template <class Compare>
void forEachSummarisedNumber(const SummaryRecord& summary, const StatsRecord& full,
                             Compare compare) {
    // A generic lambda, so that asking for a member the cut-down record lacks is allowed.
    [&](const auto& kept) {
#define SUPPORT_COMPARE_FIELD(name)                             \
    if constexpr (requires { kept.name; }) {                    \
        compare(#name, std::bit_cast<std::uint32_t>(kept.name), \
                std::bit_cast<std::uint32_t>(full.name));       \
    }
        STATSLOG_FIELDS(STATSLOG_IGNORE, SUPPORT_COMPARE_FIELD, SUPPORT_COMPARE_FIELD,
                        SUPPORT_COMPARE_FIELD)
#undef SUPPORT_COMPARE_FIELD
    }(summary);
}

}  // namespace statsstats::testing
