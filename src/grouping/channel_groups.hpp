// The records of one scan rate grouped by channel: the rows of the summary table.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "grouping/scan_rate_index.hpp"

namespace statsstats {

// Record numbers by scan rate, each rate's in log order; built once for the whole log.
class RecordsByRate {
  public:
    explicit RecordsByRate(const ScanRateIndex& index);
    std::span<const std::uint32_t> ofRate(std::size_t rate) const {
        return std::span(records_).subspan(starts_[rate], starts_[rate + 1] - starts_[rate]);
    }

  private:
    std::vector<std::uint32_t> records_;
    std::vector<std::size_t> starts_;
};

// The records of one scan rate grouped by channel number 0 to channelCount - 1, each group in
// log order. A counting sort: linear in the records and channels, and reused from rate to rate
// so that only the largest rate's channels are ever held.
class ChannelGroups {
  public:
    // Groups `recordsOfRate` (log order) by channel. Records whose channel is negative or not
    // below `channelCount` belong to no group and are counted in `ungrouped()`.
    void build(std::span<const std::uint32_t> recordsOfRate, const SummaryRecordList& records,
               std::int32_t channelCount);

    // The record numbers of one channel, in log order.
    std::span<const std::uint32_t> ofChannel(std::int32_t channel) const {
        const auto c = static_cast<std::size_t>(channel);
        return std::span(records_).subspan(starts_[c], starts_[c + 1] - starts_[c]);
    }
    std::size_t ungrouped() const { return ungrouped_; }

  private:
    std::vector<std::uint32_t> records_;
    std::vector<std::size_t> starts_;
    std::vector<std::uint32_t> groupOf_;  // for each record of the rate: its channel, or kNoGroup
    std::size_t ungrouped_ = 0;
    static constexpr std::uint32_t kNoGroup = UINT32_MAX;
};

}  // namespace statsstats
