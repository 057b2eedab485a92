// The least-squares straight line of a list of values over their positions 0, 1, 2, ...
#pragma once

#include <span>

namespace statsstats {

struct TrendStats {
    double yIntercept = 0.0;   // the fitted value at position 0
    double beta = 0.0;         // the slope, per position
    double correlation = 0.0;  // r * r, the squared correlation of positions and values
};

// Fewer than two values give zeros. The sums are taken over the raw values in one pass and the
// formulas evaluated in a fixed order and grouping; all-equal values give 0/0, a not-a-number,
// for the correlation.
TrendStats computeTrendStats(std::span<const float> values);

}  // namespace statsstats
