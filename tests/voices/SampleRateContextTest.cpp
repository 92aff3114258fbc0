#include "voices/SampleRateContext.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(SampleRateContext, SmoothingFactorIsOneAt44100AndFollowsTheRateElsewhere)
{
    SampleRateContext context;
    EXPECT_EQ(context.sampleRate, 44100.0);
    EXPECT_EQ(context.smoothing, 1.0);

    context.setSampleRate(48000.0);
    EXPECT_DOUBLE_EQ(context.smoothing, 2.0 * (1.0 - std::pow(0.5, 0.91875)));
    EXPECT_DOUBLE_EQ(context.smoothingCubed, context.smoothing * context.smoothing * context.smoothing);
    EXPECT_DOUBLE_EQ(context.rateRatio, 48000.0 / 44100.0);
    EXPECT_DOUBLE_EQ(context.inverseRatio, 44100.0 / 48000.0);
    EXPECT_DOUBLE_EQ(context.octaveStep, std::pow(2.0, 44100.0 / 48000.0) - 1.0);
    EXPECT_EQ(context.nyquist, 24000.0);
    EXPECT_DOUBLE_EQ(context.samplesPerMs, 48.0);
    EXPECT_DOUBLE_EQ(context.levelSmoothing, context.smoothing * 0.002);
    EXPECT_DOUBLE_EQ(context.invSampleRate, 1.0 / 48000.0);
    EXPECT_DOUBLE_EQ(context.halfInvSampleRate, 0.5 / 48000.0);
}

TEST(SampleRateContext, RateIndexForTheFiveCommonRatesAndKeptForOthers)
{
    SampleRateContext context;
    const struct { double rate; int index; double k; } cases[] = {
        { 48000.0, 1, 0.9420657 }, { 88200.0, 2, 0.5857864 }, { 96000.0, 3, 0.5453975 },
        { 192000.0, 4, 0.2943608 }, { 44100.0, 0, 1.0 },
    };
    for (const auto& c : cases)
    {
        context.setSampleRate(c.rate);
        EXPECT_EQ(context.rateIndex, c.index) << c.rate;
        EXPECT_NEAR(context.smoothing, c.k, 1e-6) << c.rate;
    }

    context.setSampleRate(96000.0);
    context.setSampleRate(37800.0); // an odd rate: index kept, the rest follows
    EXPECT_EQ(context.rateIndex, 3);
    EXPECT_EQ(context.sampleRate, 37800.0);
    EXPECT_DOUBLE_EQ(context.smoothing, 2.0 * (1.0 - std::pow(0.5, 44100.0 / 37800.0)));
    EXPECT_GT(context.smoothing, 1.0);
}

TEST(SampleRateContext, SlowerRatesGiveLargerStepsAndFasterRatesSmallerOnes)
{
    SampleRateContext context;
    double previous = 2.0;
    for (double rate : { 8000.0, 22050.0, 44100.0, 96000.0, 192000.0 })
    {
        context.setSampleRate(rate);
        EXPECT_LT(context.smoothing, previous) << rate;
        EXPECT_GT(context.smoothing, 0.0) << rate;
        previous = context.smoothing;
    }
}

TEST(SampleRateContext, UnusableRatesAreIgnored)
{
    SampleRateContext context;
    context.setSampleRate(48000.0);
    for (double rate : { 0.0, -44100.0, std::nan(""), HUGE_VAL })
    {
        context.setSampleRate(rate);
        EXPECT_EQ(context.sampleRate, 48000.0);
        EXPECT_EQ(context.rateIndex, 1);
    }
}
