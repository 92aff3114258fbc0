#include "voices/FastExp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace
{
constexpr double unitRoundOff = 2.220446049250313e-16;

/** Largest error relative to std::exp over evenly spread points of lo..hi,
    plus a pseudo-random point in every interval, so no range-reduction step
    or table entry goes unvisited. */
double worstRelativeError(double lo, double hi, int points)
{
    double worst = 0.0;
    std::uint32_t seed = 1;
    for (int i = 0; i < points; ++i)
    {
        seed = seed * 1664525u + 1013904223u;
        const double jitter = static_cast<double>(seed >> 8) / 16777216.0;
        const double x = lo + (hi - lo) * (static_cast<double>(i) + jitter) / static_cast<double>(points);
        const double expected = std::exp(x);
        worst = std::max(worst, std::fabs(fastexp::exp(x) - expected) / expected);
    }
    return worst;
}
} // namespace

TEST(FastExp, AgreesWithTheLibraryToTheLastPlacesOverTheWholeNormalRange)
{
    // Every range the voices use lies inside these: waveshaper knees up to a
    // few hundred, level curves down to about -20, fades on 0..1.
    EXPECT_LE(worstRelativeError(-1.0, 1.0, 400000), 2.0 * unitRoundOff);
    EXPECT_LE(worstRelativeError(-40.0, 40.0, 400000), 2.0 * unitRoundOff);
    EXPECT_LE(worstRelativeError(-708.0, 709.0, 400000), 2.0 * unitRoundOff);
}

TEST(FastExp, ExactWhereTheResultIsAPowerOfTwoOrOne)
{
    EXPECT_EQ(fastexp::exp(0.0), 1.0);
    EXPECT_EQ(fastexp::exp(-0.0), 1.0);
    EXPECT_EQ(fastexp::exp(1e-300), 1.0);
    EXPECT_EQ(fastexp::exp(-1e-300), 1.0);
    EXPECT_NEAR(fastexp::exp(std::log(2.0) * 10.0), 1024.0, 1024.0 * 2.0 * unitRoundOff);
}

TEST(FastExp, HeldAtTheEndsOfTheRangeAndNaNStaysNaN)
{
    const double top = fastexp::exp(709.0);
    const double bottom = fastexp::exp(-708.0);
    EXPECT_TRUE(std::isfinite(top));
    EXPECT_GT(bottom, 0.0);
    EXPECT_TRUE(std::isnormal(bottom));
    for (double x : { 710.0, 1e6, std::numeric_limits<double>::infinity() })
        EXPECT_EQ(fastexp::exp(x), top) << x;
    for (double x : { -709.0, -1e6, -std::numeric_limits<double>::infinity() })
        EXPECT_EQ(fastexp::exp(x), bottom) << x;
    EXPECT_TRUE(std::isnan(fastexp::exp(std::numeric_limits<double>::quiet_NaN())));

    // The voices' sigmoid 1 - 2 / (e + 1) and level 1 - 1/e come out as with
    // the library's infinity and zero.
    EXPECT_EQ(1.0 - 2.0 / (top + 1.0), 1.0);
    EXPECT_EQ(1.0 - 2.0 / (bottom + 1.0), -1.0);
}

TEST(FastExp, PairsGiveExactlyWhatSingleCallsGive)
{
    // Voices mix paired and single calls and must render the same either way.
    std::uint32_t seed = 7;
    for (int i = 0; i < 200000; ++i)
    {
        seed = seed * 1664525u + 1013904223u;
        const double x0 = (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 1500.0;
        seed = seed * 1664525u + 1013904223u;
        const double x1 = (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 30.0;
        const auto pair = fastexp::exp(x0, x1);
        ASSERT_EQ(pair.first, fastexp::exp(x0)) << x0;
        ASSERT_EQ(pair.second, fastexp::exp(x1)) << x1;
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(fastexp::exp(nan, 0.0).first));
    EXPECT_EQ(fastexp::exp(nan, 0.0).second, 1.0);
    EXPECT_EQ(fastexp::exp(1e9, -1e9).first, fastexp::exp(709.0));
    EXPECT_EQ(fastexp::exp(1e9, -1e9).second, fastexp::exp(-708.0));
}
