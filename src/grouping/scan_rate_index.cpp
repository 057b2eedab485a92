#include "grouping/scan_rate_index.hpp"

#include <bit>
#include <stdexcept>
#include <unordered_map>

namespace statsstats {

ScanRateIndex buildScanRateIndex(const SummaryRecordList& records) {
    if (records.size() > UINT32_MAX) throw std::length_error("more than 2^32 records");
    ScanRateIndex index;
    index.rateOfRecord.reserve(records.size());
    // Keyed by the bits of the rate, with -0 folded onto 0, which is exactly float equality for
    // every value a log can give (the reader never yields a not-a-number).
    std::unordered_map<std::uint32_t, std::uint32_t> positionOfRate;
    // A log lists the channels of one data file, all at one rate, one after another: most
    // records have the rate of the record before, and need no lookup.
    std::uint32_t previousKey = 0;
    std::uint32_t previousPosition = UINT32_MAX;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const SummaryRecord& record = records[i];
        const float rate = record.scanrate == 0.0f ? 0.0f : record.scanrate;
        const auto key = std::bit_cast<std::uint32_t>(rate);
        if (key != previousKey || previousPosition == UINT32_MAX) {
            const auto [it, isNew] =
                positionOfRate.try_emplace(key, static_cast<std::uint32_t>(index.scanRates.size()));
            if (isNew) {
                index.scanRates.push_back(record.scanrate);
                index.channelCounts.push_back(record.channelcount);
            }
            previousKey = key;
            previousPosition = it->second;
        }
        index.rateOfRecord.push_back(previousPosition);
    }
    return index;
}

}  // namespace statsstats
