#include "statistics/trend_stats.hpp"

#include <cmath>

namespace statsstats {

TrendStats computeTrendStats(std::span<const float> values) {
    TrendStats trend;
    const std::size_t count = values.size();
    if (count < 2) return trend;

    double sx = 0.0, sxx = 0.0, sy = 0.0, syy = 0.0, sxy = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        // The position is held as a float, as it always has been: beyond 2^24 values it rounds.
        const double x = static_cast<float>(i);
        const double y = values[i];
        sx += x;
        sxx += x * x;
        sy += y;
        syy += y * y;
        sxy += y * x;
    }
    const double n = static_cast<double>(count);
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

}  // namespace statsstats
