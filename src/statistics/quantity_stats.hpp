// All statistics of one quantity's list of values, as a row of the summary table shows them.
#pragma once

#include <span>

#include "statistics/descriptive_stats.hpp"
#include "statistics/trend_stats.hpp"

namespace statsstats {

struct QuantityStats {
    DescriptiveStats descriptive;
    TrendStats trend;
};

// The same bits as computeDescriptiveStats and computeTrendStats called one after the other,
// in two passes over the values where those take four: the trend's sums are taken in the pass
// that sums the values for the mean, and the sums of powers of the deviations in one more.
QuantityStats computeQuantityStats(std::span<const float> values);

}  // namespace statsstats
