// The summary table: one row per scan rate and channel, with the statistics of twelve
// quantities over the data files in log order, the files that hold their extremes, and the
// alarm flags.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "grouping/scan_rate_index.hpp"
#include "statslog/stats_record_list.hpp"

namespace statsstats {

inline constexpr const char* kSummaryTableName = "statsstatslog.csv";

// A larger channel count is a corrupt log, not a data-acquisition system: a saturated count of
// 2147483647 would otherwise fill the disk with empty rows.
inline constexpr std::int32_t kMaxChannelCount = 1'000'000;

struct SummaryCounts {
    std::size_t rows = 0;
    // Records whose channel number is negative or not below their rate's channel count.
    std::size_t recordsInNoRow = 0;
};

// Receives the table in pieces of about a megabyte.
using TableSink = std::function<void(std::string_view)>;

// Builds the table (header and rows, in the order of the scan-rate index and then of channel
// numbers) and hands it to `sink`. `logPath` fills the first column. Throws std::runtime_error,
// before anything reaches the sink, when a channel count exceeds kMaxChannelCount.
SummaryCounts buildSummaryTable(std::string_view logPath, const SummaryRecordList& records,
                                const ScanRateIndex& index, const TableSink& sink);

// A signal (SIGINT, SIGTERM, SIGHUP) arrived while the table was being written. The temporary
// file has been removed; the caller should now end the process by that signal.
struct TableInterrupted : std::runtime_error {
    explicit TableInterrupted(int signal)
        : std::runtime_error("interrupted by signal " + std::to_string(signal) +
                             " while writing the summary table"),
          signal(signal) {}
    int signal;
};

// Writes the table to `tableFile`, replacing it only once the new table is completely written:
// the rows go to a temporary file beside it, which is renamed onto `tableFile` after it was
// closed without error. A `tableFile` that is a symbolic link is replaced where it leads, and
// the new table keeps the old one's permissions. On any failure the temporary file is removed, an
// existing table stays as it was, and std::runtime_error says what failed. While it writes, SIGINT,
// SIGTERM and SIGHUP are caught: the temporary file is removed and TableInterrupted thrown.
SummaryCounts writeSummaryTable(std::string_view logPath, const SummaryRecordList& records,
                                const ScanRateIndex& index, const std::string& tableFile);

}  // namespace statsstats
