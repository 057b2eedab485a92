#include "statslog/read_stats_log.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <utility>

#include "statslog/parse_line.hpp"

namespace statsstats {
namespace {

// Large enough that reading costs one system call per several hundred lines.
constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

bool isBlank(std::string_view line) {
    return line.empty() || line == "\r";
}

std::runtime_error logError(const char* what, const std::string& path, int error) {
    return std::runtime_error(std::string("cannot ") + what + " stats log '" + path +
                              "': " + std::strerror(error));
}

}  // namespace

template <class Record>
StatsLogReader<Record>::StatsLogReader(RecordList<Record>& records, ShortLineHandler onShortLine)
    : records_(records),
      onShortLine_(std::move(onShortLine)),
      buffer_(std::make_unique_for_overwrite<char[]>(kBlockBytes)),
      capacity_(kBlockBytes) {}

template <class Record>
std::span<char> StatsLogReader<Record>::space() {
    if (lineNumber_ == 1 && headerBytesDropped_ >= kMaxLineBytes) return {};
    if (filled_ == capacity_) {
        // One line fills the whole buffer: make room for the rest of it.
        if (capacity_ >= kMaxLineBytes) return {};
        const std::size_t larger = std::min(capacity_ * 2, kMaxLineBytes);
        auto buffer = std::make_unique_for_overwrite<char[]>(larger);
        std::memcpy(buffer.get(), buffer_.get(), filled_);
        buffer_ = std::move(buffer);
        capacity_ = larger;
    }
    return std::span<char>(buffer_.get() + filled_, capacity_ - filled_);
}

template <class Record>
void StatsLogReader<Record>::commit(std::size_t count) {
    filled_ += count;
    const char* const data = buffer_.get();
    std::size_t lineStart = 0;
    std::size_t searchFrom = scanned_;
    while (const void* found = std::memchr(data + searchFrom, '\n', filled_ - searchFrom)) {
        const auto lineEnd = static_cast<std::size_t>(static_cast<const char*>(found) - data);
        takeLine(std::string_view(data + lineStart, lineEnd - lineStart));
        lineStart = lineEnd + 1;
        searchFrom = lineStart;
    }
    if (lineNumber_ == 1) {
        // Still inside the header, which is never looked at: no need to keep it.
        headerBytesDropped_ += filled_;
        filled_ = 0;
        scanned_ = 0;
        return;
    }
    // Keep the unfinished line at the front of the buffer.
    std::memmove(buffer_.get(), data + lineStart, filled_ - lineStart);
    filled_ -= lineStart;
    scanned_ = filled_;
}

template <class Record>
void StatsLogReader<Record>::finish() {
    if (filled_ > 0) takeLine(std::string_view(buffer_.get(), filled_));
    filled_ = 0;
    scanned_ = 0;
}

template <class Record>
void StatsLogReader<Record>::takeLine(std::string_view line) {
    const std::uint64_t number = lineNumber_++;
    if (number == 1 || isBlank(line)) return;
    const std::size_t columns = parseStatsLine(line, records_.spare());
    if (columns == kColumnCount) {
        records_.commitSpare();
    } else if (onShortLine_) {
        onShortLine_(ShortLine{number, columns});
    }
}

template <class Record>
RecordList<Record> readStatsLog(const std::string& path, const ShortLineHandler& onShortLine) {
    // A device or socket may never end (a terminal, /dev/zero): only files and pipes are logs.
    std::error_code error;
    const auto type = std::filesystem::status(path, error).type();
    if (!error &&
        (type == std::filesystem::file_type::character ||
         type == std::filesystem::file_type::block || type == std::filesystem::file_type::socket)) {
        throw std::runtime_error("cannot read stats log '" + path +
                                 "': it is a device or socket, not a file or pipe");
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) throw logError("open", path, errno);
    // The reader has its own large buffer; a second one in stdio would only copy.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);

    RecordList<Record> records;
    StatsLogReader reader(records, onShortLine);
    for (;;) {
        const std::span<char> space = reader.space();
        if (space.empty()) {
            throw std::runtime_error("cannot read stats log '" + path + "': line " +
                                     std::to_string(reader.lineNumber()) + " is longer than " +
                                     std::to_string(StatsLogReader<Record>::kMaxLineBytes) +
                                     " bytes");
        }
        const std::size_t count =
            std::fread(space.data(), 1, std::min(space.size(), kBlockBytes), file.get());
        if (count == 0) {
            if (std::ferror(file.get())) throw logError("read", path, errno);
            break;
        }
        reader.commit(count);
    }
    reader.finish();
    return records;
}

template class StatsLogReader<StatsRecord>;
template class StatsLogReader<SummaryRecord>;
template StatsRecordList readStatsLog(const std::string&, const ShortLineHandler&);
template SummaryRecordList readStatsLog(const std::string&, const ShortLineHandler&);

}  // namespace statsstats
