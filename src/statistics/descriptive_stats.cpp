#include "statistics/descriptive_stats.hpp"

#include <cmath>

namespace statsstats {

DescriptiveStats computeDescriptiveStats(std::span<const float> values) {
    DescriptiveStats stats;
    const std::size_t n = values.size();
    if (n < 2) return stats;

    // The order of every sum and the grouping of every product below are part of the output:
    // changing either changes the last digits of the table.
    stats.maximum = values[0];
    stats.minimum = values[0];
    double sum = 0.0;
    for (const float v : values) {
        sum += v;
        if (v > stats.maximum) {
            stats.maximum = v;
        } else if (v < stats.minimum) {
            stats.minimum = v;
        }
    }
    stats.mean = sum / static_cast<double>(n);

    for (const float v : values) {
        const double d = v - stats.mean;
        stats.variance += d * d;
    }
    stats.variance /= static_cast<double>(n - 1);
    const double s = std::pow(stats.variance, 0.5);

    for (const float v : values) {
        const double d = v - stats.mean;
        stats.skew += d * (d * d);
        stats.kurtosis += (d * d) * (d * d);
    }
    stats.skew /= (s * (s * s)) * static_cast<double>(n);
    stats.kurtosis /= ((s * s) * (s * s)) * static_cast<double>(n);
    return stats;
}

}  // namespace statsstats
