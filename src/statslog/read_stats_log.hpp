// Reading a whole stats log: a header line, then one data line per channel per data file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "statslog/stats_record_list.hpp"

namespace statsstats {

// A non-blank line with fewer than 196 columns. It yields no record.
struct ShortLine {
    std::uint64_t lineNumber;  // the header is line 1
    std::size_t columns;
};
using ShortLineHandler = std::function<void(const ShortLine&)>;

// Turns the bytes of a log, delivered in blocks of any size, into records. It owns the buffer
// and the line numbers; the caller only fills the buffer:
//
//     while (n = read(reader.space()) > 0) reader.commit(n);
//     reader.finish();
//
// Lines end at a line feed; a carriage return before it is harmless (it lands in the last
// column, a number). The first line is the header and is skipped. Blank lines (empty, or only a
// carriage return) are skipped silently; other lines with fewer than 196 columns are reported
// and skipped. A last line without a line feed counts like any other.
//
// `Record` is StatsRecord for every field, or SummaryRecord for the summarised ones.
template <class Record>
class StatsLogReader {
  public:
    // Longer lines are refused rather than buffered without bound.
    static constexpr std::size_t kMaxLineBytes = std::size_t{1} << 30;

    StatsLogReader(RecordList<Record>& records, ShortLineHandler onShortLine);

    // Where the next bytes go. Empty only when the line being read is longer than
    // kMaxLineBytes; the log must then be refused.
    std::span<char> space();
    // Takes in `count` bytes written at the start of `space()` and parses every line they end.
    void commit(std::size_t count);
    // Parses the last line if it had no line feed. Call once, at the end of the input.
    void finish();

    // The number of the line being read (the header is line 1).
    std::uint64_t lineNumber() const { return lineNumber_; }

  private:
    void takeLine(std::string_view line);

    RecordList<Record>& records_;
    ShortLineHandler onShortLine_;
    // Never cleared: only the bytes read into it are ever looked at.
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_;
    std::size_t filled_ = 0;   // bytes in buffer_; the first starts the current line
    std::size_t scanned_ = 0;  // bytes of the current line already searched for a line feed
    std::uint64_t lineNumber_ = 1;
    std::size_t headerBytesDropped_ = 0;
};

// Reads the log at `path` (a file or a pipe) into a list of records in log order: all fields of
// each line, or with `Record` = SummaryRecord only the summarised ones. Throws
// std::runtime_error, naming the path and the reason, when the log cannot be opened or read,
// is a device or socket, or has a line longer than kMaxLineBytes.
template <class Record = StatsRecord>
RecordList<Record> readStatsLog(const std::string& path, const ShortLineHandler& onShortLine);

}  // namespace statsstats
