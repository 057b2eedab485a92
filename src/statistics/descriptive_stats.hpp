// Mean, extremes, variance, skew and kurtosis of a list of values, bit for bit as the summary
// table has always shown them.
#pragma once

#include <span>

namespace statsstats {

struct DescriptiveStats {
    double mean = 0.0;
    float maximum = 0.0f;  // always one of the values (or 0), so that its file can be found
    float minimum = 0.0f;
    double variance = 0.0;  // divisor n - 1
    double skew = 0.0;      // third moment over n s^3
    double kurtosis = 0.0;  // fourth moment over n s^4; 3 is not subtracted
};

// Fewer than two values give zeros throughout. Every operation is done in double precision in
// a fixed order, so the results are the same to the last bit on every machine; all-equal values
// give 0/0, a not-a-number, for skew and kurtosis.
DescriptiveStats computeDescriptiveStats(std::span<const float> values);

}  // namespace statsstats
