#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "statistics/descriptive_stats.hpp"
#include "statistics/quantity_stats.hpp"
#include "statistics/trend_stats.hpp"
#include "summary/real_format.hpp"

namespace statsstats {
namespace {

// The expected doubles were computed independently with the same order of operations; EXPECT_EQ
// on doubles is deliberate: the table shows these values to the last bit.
TEST(DescriptiveStats, MatchesWorkedExamplesExactly) {
    const struct {
        std::vector<float> values;
        double mean, variance, skew, kurtosis;
        float maximum, minimum;
    } cases[] = {
        {{}, 0, 0, 0, 0, 0, 0},
        {{42}, 0, 0, 0, 0, 0, 0},  // one value: zeros, not the value
        {{1, 3}, 2, 2, 0, 0.2499999999999999, 3, 1},
        {{1, 2, 3, 4}, 2.5, 1.6666666666666667, 0, 0.9225000000000002, 4, 1},
        {{0, 0, 3}, 1, 3, 0.3849001794597506, 0.6666666666666669, 3, 0},
        {{-5, -2, -9},
         -5.333333333333333,
         12.333333333333332,
         -0.09406070228177935,
         0.6666666666666667,
         -2,
         -9},
        {{0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f},
         0.40000000489609583,
         0.04666666631897303,
         -4.751102138344834e-08,
         1.285714250524963,
         0.7f,
         0.1f},
    };
    for (const auto& c : cases) {
        const DescriptiveStats s = computeDescriptiveStats(c.values);
        SCOPED_TRACE(::testing::PrintToString(c.values));
        EXPECT_EQ(s.mean, c.mean);
        EXPECT_EQ(s.maximum, c.maximum);
        EXPECT_EQ(s.minimum, c.minimum);
        EXPECT_EQ(s.variance, c.variance);
        EXPECT_EQ(s.skew, c.skew);
        EXPECT_EQ(s.kurtosis, c.kurtosis);
    }
}

TEST(DescriptiveStats, EqualValuesGiveTheNotANumberOfZeroOverZero) {
    const DescriptiveStats s = computeDescriptiveStats(std::vector<float>{2.5f, 2.5f, 2.5f});
    EXPECT_EQ(s.mean, 2.5);
    EXPECT_EQ(s.variance, 0.0);
    EXPECT_EQ(formatReal(s.skew), "-1.#IND");
    EXPECT_EQ(formatReal(s.kurtosis), "-1.#IND");
}

TEST(DescriptiveStats, TiesKeepTheEarlierExtreme) {
    // -0 and 0 compare equal: the first one met stays, sign included.
    const DescriptiveStats s = computeDescriptiveStats(std::vector<float>{-0.0f, 0.0f});
    EXPECT_TRUE(std::signbit(s.maximum));
    EXPECT_TRUE(std::signbit(s.minimum));
}

TEST(DescriptiveStats, InfinitiesFlowThroughTheArithmetic) {
    const float inf = std::numeric_limits<float>::infinity();
    const DescriptiveStats s = computeDescriptiveStats(std::vector<float>{1, inf});
    EXPECT_EQ(s.mean, std::numeric_limits<double>::infinity());
    EXPECT_EQ(s.maximum, inf);
    EXPECT_EQ(formatReal(s.variance), "-1.#IND");  // inf - inf
}

TEST(TrendStats, MatchesWorkedExamplesExactly) {
    const struct {
        std::vector<float> values;
        double yIntercept, beta, correlation;
    } cases[] = {
        {{}, 0, 0, 0},
        {{7}, 0, 0, 0},
        {{1, 3}, 1, 2, 1},
        {{3, 1}, 3, -2, 1},  // a falling line correlates as well as a rising one
        {{2, 4, 3}, 2.5, 0.5, 0.25},
        {{0, 0, 3}, -0.5, 1.5, 0.7499999999999999},
        {{0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f},
         0.1000000060136829,
         0.09999999962747097,
         0.9999999999999978},
    };
    for (const auto& c : cases) {
        const TrendStats t = computeTrendStats(c.values);
        SCOPED_TRACE(::testing::PrintToString(c.values));
        EXPECT_EQ(t.yIntercept, c.yIntercept);
        EXPECT_EQ(t.beta, c.beta);
        EXPECT_EQ(t.correlation, c.correlation);
    }
}

TEST(TrendStats, EqualValuesGiveNoCorrelation) {
    const TrendStats t = computeTrendStats(std::vector<float>{5, 5, 5});
    EXPECT_EQ(t.yIntercept, 5.0);
    EXPECT_EQ(t.beta, 0.0);
    EXPECT_EQ(formatReal(t.correlation), "-1.#IND");
}

TEST(TrendStats, PositionsAreFloatsBeyondTwoToTheTwentyFour) {
    // Values equal to their positions as floats lie on the line y = x exactly. Beyond 2^24 the
    // positions round (2^24 + 1 becomes 2^24); were they taken exactly there, the fit would no
    // longer be exact.
    std::vector<float> values((std::size_t{1} << 24) + 2);
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<float>(i);
    const TrendStats t = computeQuantityStats(values).trend;
    EXPECT_EQ(t.yIntercept, 0.0);
    EXPECT_EQ(t.beta, 1.0);
    EXPECT_EQ(t.correlation, 1.0);
}

}  // namespace
}  // namespace statsstats
