#include "statistics/quantity_stats.hpp"

#include <cmath>
#include <cstddef>

namespace statsstats {
namespace {

// What one pass over the values in log order gives: the sum, the extremes and the trend's sums.
// The sum of the values serves both the mean and the trend line: taken in the same order from
// the same start, it is the same double either way.
struct FirstPass {
    double sum = 0.0;
    float maximum = 0.0f;
    float minimum = 0.0f;
    double sumOfPositions = 0.0;
    double sumOfSquaredPositions = 0.0;
    double sumOfSquares = 0.0;
    double sumOfProducts = 0.0;
};

// Positions are floats, as they always have been, so beyond 2^24 values they round. Up to
// there every position is exact, and counting them in a double spares converting each index.
inline constexpr std::size_t kExactPositions = std::size_t{1} << 24;

// Each sum is one chain of additions in log order; the chains are independent, so taking them
// in one loop costs about what taking the longest alone does.
template <bool kPositionsExact>
FirstPass sumValues(std::span<const float> values) {
    FirstPass pass;
    pass.maximum = values[0];
    pass.minimum = values[0];
    double position = 0.0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const float v = values[i];
        pass.sum += v;
        // Strict comparisons: a tie keeps the earlier value.
        if (v > pass.maximum) {
            pass.maximum = v;
        } else if (v < pass.minimum) {
            pass.minimum = v;
        }
        const double x = kPositionsExact ? position : static_cast<float>(i);
        position += 1.0;
        const double y = v;
        pass.sumOfPositions += x;
        pass.sumOfSquaredPositions += x * x;
        pass.sumOfSquares += y * y;
        pass.sumOfProducts += y * x;
    }
    return pass;
}

FirstPass sumValues(std::span<const float> values) {
    return values.size() <= kExactPositions ? sumValues<true>(values) : sumValues<false>(values);
}

// The order of every sum and the grouping of every product below are part of the output:
// changing either changes the last digits of the table.
DescriptiveStats describe(std::span<const float> values, const FirstPass& pass) {
    DescriptiveStats stats;
    const std::size_t n = values.size();
    stats.maximum = pass.maximum;
    stats.minimum = pass.minimum;
    stats.mean = pass.sum / static_cast<double>(n);

    // The three sums of powers of the deviations need only the mean, not each other: one pass
    // takes all three, each still in log order.
    for (const float v : values) {
        const double d = v - stats.mean;
        stats.variance += d * d;
        stats.skew += d * (d * d);
        stats.kurtosis += (d * d) * (d * d);
    }
    stats.variance /= static_cast<double>(n - 1);
    const double s = std::pow(stats.variance, 0.5);
    stats.skew /= (s * (s * s)) * static_cast<double>(n);
    stats.kurtosis /= ((s * s) * (s * s)) * static_cast<double>(n);
    return stats;
}

TrendStats fitLine(std::size_t count, const FirstPass& pass) {
    TrendStats trend;
    const double n = static_cast<double>(count);
    const double sx = pass.sumOfPositions;
    const double sxx = pass.sumOfSquaredPositions;
    const double sy = pass.sum;
    const double syy = pass.sumOfSquares;
    const double sxy = pass.sumOfProducts;
    // The slope's numerator and denominator serve the correlation too: the same expressions,
    // so the same bits.
    const double slopeNumerator = n * sxy - sx * sy;
    const double denominator = n * sxx - sx * sx;
    trend.yIntercept = (sy * sxx - sxy * sx) / denominator;
    trend.beta = slopeNumerator / denominator;
    const double r = slopeNumerator / std::sqrt(denominator * (n * syy - sy * sy));
    trend.correlation = r * r;
    return trend;
}

}  // namespace

QuantityStats computeQuantityStats(std::span<const float> values) {
    if (values.size() < 2) return {};
    const FirstPass pass = sumValues(values);
    return {describe(values, pass), fitLine(values.size(), pass)};
}

DescriptiveStats computeDescriptiveStats(std::span<const float> values) {
    if (values.size() < 2) return {};
    return describe(values, sumValues(values));
}

TrendStats computeTrendStats(std::span<const float> values) {
    if (values.size() < 2) return {};
    return fitLine(values.size(), sumValues(values));
}

}  // namespace statsstats
