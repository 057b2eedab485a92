// The records of a whole stats log, in log order.
#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "statslog/record_chunks.hpp"
#include "statslog/stats_record.hpp"
#include "statslog/summary_record.hpp"

namespace statsstats {

// Grows in chunks of fixed size: a stored record never moves, and growing never holds the old
// and the new storage at once, as a doubling vector would (a log is held whole in memory, so
// that would double the peak). A record is parsed straight into its slot: `spare()` is the slot
// after the last record, and `commitSpare()` makes it part of the list. Slots are constructed
// only when they become the spare, and with their numbers unset: whoever fills the spare sets
// every field before committing it, as the line parser does, so that a log's records are
// written once rather than zeroed first.
//
// A chunk fills two megabytes, aligned to them, so that from the second chunk on the system can
// back each with one huge page instead of 512 small ones (see record_chunks.cpp).
template <class Record>
class RecordList {
  public:
    RecordList() = default;
    RecordList(RecordList&& other) noexcept { swap(other); }
    RecordList& operator=(RecordList&& other) noexcept {
        RecordList(std::move(other)).swap(*this);
        return *this;
    }
    RecordList(const RecordList&) = delete;
    RecordList& operator=(const RecordList&) = delete;
    ~RecordList() {
        for (std::size_t i = 0; i < constructed_; ++i) std::destroy_at(slot(i));
        for (Record* chunk : chunks_) freeRecordChunk(chunk);
    }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    const Record& operator[](std::size_t i) const { return *slot(i); }

    Record& spare() {
        if (constructed_ == size_) {
            if (size_ / kChunkSize == chunks_.size()) {
                // Room first, so that storing the new chunk cannot fail and leak it.
                if (chunks_.size() == chunks_.capacity()) chunks_.reserve(2 * chunks_.size() + 1);
                chunks_.push_back(static_cast<Record*>(allocateRecordChunk(!chunks_.empty())));
            }
            std::construct_at(slot(size_), ToBeFilled{});
            ++constructed_;
        }
        return *slot(size_);
    }
    void commitSpare() { ++size_; }

  private:
    static constexpr std::size_t kChunkSize = kRecordChunkBytes / sizeof(Record);

    // The division is by a constant: the compiler makes it a multiplication.
    Record* slot(std::size_t i) const { return chunks_[i / kChunkSize] + i % kChunkSize; }

    void swap(RecordList& other) noexcept {
        chunks_.swap(other.chunks_);
        std::swap(size_, other.size_);
        std::swap(constructed_, other.constructed_);
    }

    std::vector<Record*> chunks_;
    std::size_t size_ = 0;
    std::size_t constructed_ = 0;  // size_, or size_ + 1 once the spare exists
};

// Every field of every line, or only the summarised ones.
using StatsRecordList = RecordList<StatsRecord>;
using SummaryRecordList = RecordList<SummaryRecord>;

}  // namespace statsstats
