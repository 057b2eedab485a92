// The distinct scan rates of a log, each with its channel count.
#pragma once

#include <cstdint>
#include <vector>

#include "statslog/stats_record_list.hpp"

namespace statsstats {

struct ScanRateIndex {
    // The distinct scan rates in order of first appearance, compared as floats exactly (0 and
    // -0 are one rate; rates one unit in the last place apart are two).
    std::vector<float> scanRates;
    // For each rate, the channel count of the first record with that rate.
    std::vector<std::int32_t> channelCounts;
    // For each record, the position of its rate in scanRates, so that later steps need not
    // look the rate up again.
    std::vector<std::uint32_t> rateOfRecord;
};

// One pass over the records, with a hash of the rates seen: linear in the log.
ScanRateIndex buildScanRateIndex(const SummaryRecordList& records);

}  // namespace statsstats
