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
    const double denominator = n * sxx - sx * sx;
    trend.yIntercept = (sy * sxx - sxy * sx) / denominator;
    trend.beta = (n * sxy - sx * sy) / denominator;
    const double numerator = n * sxy - sx * sy;
    const double product = (n * sxx - sx * sx) * (n * syy - sy * sy);
    const double r = numerator / std::sqrt(product);
    trend.correlation = r * r;
    return trend;
}

}  // namespace statsstats
