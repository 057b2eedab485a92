#include "grouping/channel_groups.hpp"

namespace statsstats {

RecordsByRate::RecordsByRate(const ScanRateIndex& index)
    : records_(index.rateOfRecord.size()), starts_(index.scanRates.size() + 1, 0) {
    for (const std::uint32_t rate : index.rateOfRecord) ++starts_[rate + 1];
    for (std::size_t k = 1; k < starts_.size(); ++k) starts_[k] += starts_[k - 1];
    std::vector<std::size_t> next(starts_.begin(), starts_.end() - 1);
    for (std::size_t i = 0; i < index.rateOfRecord.size(); ++i) {
        records_[next[index.rateOfRecord[i]]++] = static_cast<std::uint32_t>(i);
    }
}

void ChannelGroups::build(std::span<const std::uint32_t> recordsOfRate,
                          const SummaryRecordList& records, std::int32_t channelCount) {
    const std::size_t channels = channelCount > 0 ? static_cast<std::size_t>(channelCount) : 0;
    starts_.assign(channels + 1, 0);
    ungrouped_ = 0;
    // Each record's group (its channel, or none), read from the record once: the records lie
    // far apart in memory, the groups side by side.
    groupOf_.resize(recordsOfRate.size());
    for (std::size_t j = 0; j < recordsOfRate.size(); ++j) {
        const std::int32_t channel = records[recordsOfRate[j]].channel;
        if (channel >= 0 && static_cast<std::size_t>(channel) < channels) {
            groupOf_[j] = static_cast<std::uint32_t>(channel);
            ++starts_[static_cast<std::size_t>(channel) + 1];
        } else {
            groupOf_[j] = kNoGroup;
            ++ungrouped_;
        }
    }
    for (std::size_t c = 1; c < starts_.size(); ++c) starts_[c] += starts_[c - 1];
    records_.resize(starts_.back());
    // Filling in log order keeps each group in log order.
    std::vector<std::size_t> next(starts_.begin(), starts_.end() - 1);
    for (std::size_t j = 0; j < recordsOfRate.size(); ++j) {
        if (groupOf_[j] != kNoGroup) records_[next[groupOf_[j]]++] = recordsOfRate[j];
    }
}

}  // namespace statsstats
