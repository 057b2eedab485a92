// The records of a whole stats log, in log order.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "statslog/stats_record.hpp"

namespace statsstats {

// Grows in chunks of fixed size: a stored record never moves, and growing never holds the old
// and the new storage at once, as a doubling vector would (a log is held whole in memory, so
// that would double the peak). A record is parsed straight into its slot: `spare()` is the slot
// after the last record, and `commitSpare()` makes it part of the list.
class StatsRecordList {
public:
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    const StatsRecord& operator[](std::size_t i) const {
        return chunks_[i >> kChunkShift][i & kChunkMask];
    }

    StatsRecord& spare() {
        if ((size_ >> kChunkShift) == chunks_.size()) {
            chunks_.push_back(std::make_unique<StatsRecord[]>(kChunkSize));
        }
        return chunks_[size_ >> kChunkShift][size_ & kChunkMask];
    }
    void commitSpare() { ++size_; }

    void push_back(const StatsRecord& record) {
        spare() = record;
        commitSpare();
    }

private:
    static constexpr std::size_t kChunkShift = 10;  // 1024 records, about 1 MB
    static constexpr std::size_t kChunkSize = std::size_t{1} << kChunkShift;
    static constexpr std::size_t kChunkMask = kChunkSize - 1;

    std::vector<std::unique_ptr<StatsRecord[]>> chunks_;
    std::size_t size_ = 0;
};

}  // namespace statsstats
