#include "summarise_bytes.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "grouping/scan_rate_index.hpp"
#include "statslog/read_stats_log.hpp"
#include "summary/summary_table.hpp"
#include "support/reader_feed.hpp"

namespace statsstats::fuzz {
namespace {

// Larger tables are refused here only to keep each input quick; the tool itself writes them.
constexpr std::int64_t kMaxRows = 20'000;

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

// Feeds `data` to a reader of `Record`s in blocks of `block` bytes.
template <class Record>
RecordList<Record> readInBlocks(const std::uint8_t* data, std::size_t size, std::size_t block) {
    RecordList<Record> records;
    StatsLogReader reader(records, [&](const ShortLine& line) {
        check(line.columns < 196, "a short line has fewer than 196 columns");
    });
    check(testing::feedInBlocks(reader, std::string_view(reinterpret_cast<const char*>(data), size),
                                block),
          "the reader always has room below its line limit");
    return records;
}

// The summarised fields, as the tool keeps them, must be those of the full record.
void checkSameFields(const SummaryRecordList& records, const StatsRecordList& fullRecords) {
    check(records.size() == fullRecords.size(), "both readers keep the same lines");
    for (std::size_t i = 0; i < records.size(); ++i) {
        const StatsRecord& full = fullRecords[i];
        check(records[i].filename() == full.filename() &&
                  records[i].channelname() == full.channelname(),
              "the summarised texts are the full record's");
        testing::forEachSummarisedNumber(
            records[i], full, [](const char* name, std::uint32_t kept, std::uint32_t whole) {
                if (kept != whole) std::fprintf(stderr, "the field %s differs\n", name);
                check(kept == whole, "a summarised number is the full record's");
            });
    }
}

}  // namespace

void summariseBytes(const std::uint8_t* data, std::size_t size) {
    // The first byte chooses the block size, so that lines are split across blocks every way.
    const std::size_t block = size == 0 ? 1 : 1 + data[0] % 64;
    const SummaryRecordList records = readInBlocks<SummaryRecord>(data, size, block);
    checkSameFields(records, readInBlocks<StatsRecord>(data, size, block));

    const ScanRateIndex index = buildScanRateIndex(records);
    check(index.rateOfRecord.size() == records.size(), "every record has a rate");
    std::int64_t rows = 0;
    for (const std::int32_t count : index.channelCounts) rows += std::max(count, 0);
    if (rows > kMaxRows) return;

    std::size_t newlines = 0;
    try {
        const SummaryCounts counts =
            buildSummaryTable("fuzz,log.csv", records, index, [&](std::string_view piece) {
                newlines += static_cast<std::size_t>(std::count(piece.begin(), piece.end(), '\n'));
            });
        check(counts.rows == static_cast<std::size_t>(rows), "one row per rate and channel");
        // Texts can hold a carriage return but never a line feed, so lines are rows exactly.
        check(newlines == counts.rows + 1, "one line per row after the header");
    } catch (const std::runtime_error&) {
        // A refused channel count: only above the limit.
        bool refused = false;
        for (const std::int32_t count : index.channelCounts) refused |= count > kMaxChannelCount;
        check(refused, "only a corrupt channel count is refused");
    }
}

}  // namespace statsstats::fuzz
