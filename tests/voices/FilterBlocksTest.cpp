#include "voices/CookbookBiquad.h"
#include "voices/OnePoleFilters.h"
#include "voices/Smoother.h"
#include "voices/VoiceConstants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace
{
using voiceconstants::pi;

/** |H(e^jw)| of a section at a frequency (Hz). */
double gainAt(const BiquadCoefficients& c, double frequency, double sampleRate)
{
    const std::complex<double> z1 = std::polar(1.0, -2.0 * pi * frequency / sampleRate);
    const std::complex<double> z2 = z1 * z1;
    return std::abs((c.b0 + c.b1 * z1 + c.b2 * z2) / (1.0 + c.a1 * z1 + c.a2 * z2));
}

bool isFinite(const BiquadCoefficients& c)
{
    return std::isfinite(c.b0) && std::isfinite(c.b1) && std::isfinite(c.b2) && std::isfinite(c.a1)
        && std::isfinite(c.a2);
}
} // namespace

TEST(CookbookBiquad, LowAndHighPassPassTheirBandsAndStopTheOther)
{
    for (double rate : { 44100.0, 48000.0, 96000.0 })
    {
        const auto lowPass = cookbook::lowPass(3638.0, 3.0, rate);
        EXPECT_NEAR(gainAt(lowPass, 0.0, rate), 1.0, 1e-12) << rate;
        EXPECT_NEAR(gainAt(lowPass, rate / 2.0, rate), 0.0, 1e-9) << rate;

        const auto highPass = cookbook::highPass(800.0, 1.2, rate);
        EXPECT_NEAR(gainAt(highPass, 0.0, rate), 0.0, 1e-12) << rate;
        EXPECT_NEAR(gainAt(highPass, rate / 2.0, rate), 1.0, 1e-9) << rate;
    }
}

TEST(CookbookBiquad, BandPassPeaksAtZeroDecibelsOnItsCentre)
{
    for (double rate : { 44100.0, 96000.0 })
    {
        const auto bandPass = cookbook::bandPass(700.0, 4.0, rate);
        EXPECT_NEAR(gainAt(bandPass, 700.0, rate), 1.0, 1e-9);
        EXPECT_LT(gainAt(bandPass, 700.0 * 1.5, rate), 1.0);
        EXPECT_LT(gainAt(bandPass, 700.0 / 1.5, rate), 1.0);
        EXPECT_NEAR(gainAt(bandPass, 0.0, rate), 0.0, 1e-12);
    }
}

TEST(CookbookBiquad, LowPassWithQHasTheResonanceOfItsQ)
{
    // At the corner a cookbook low-pass has a gain of exactly Q.
    const auto lowPass = cookbook::lowPassWithQ(3900.0, 1.5, 44100.0);
    EXPECT_NEAR(gainAt(lowPass, 3900.0, 44100.0), 1.5, 1e-9);
}

TEST(CookbookBiquad, FrequenciesAtOrAboveNyquistAreClampedInsteadOfGivingNaN)
{
    // A 4 kHz high-pass at 8 kHz and a 5555 Hz low-pass at 11.11 kHz sit
    // exactly on Nyquist, where the formulas divide by zero.
    const auto atNyquistHigh = cookbook::highPass(4000.0, 1.5, 8000.0);
    const auto atNyquistLow = cookbook::lowPass(5555.0, 0.7, 11110.0);
    const auto aboveNyquist = cookbook::lowPass(30000.0, 0.7, 44100.0);
    EXPECT_TRUE(isFinite(atNyquistHigh));
    EXPECT_TRUE(isFinite(atNyquistLow));
    EXPECT_TRUE(isFinite(aboveNyquist));

    EXPECT_DOUBLE_EQ(cookbook::clampedFrequency(4000.0, 8000.0), 3600.0);
    EXPECT_DOUBLE_EQ(cookbook::clampedFrequency(1000.0, 8000.0), 1000.0);
    const auto clamped = cookbook::highPass(3600.0, 1.5, 8000.0);
    EXPECT_EQ(atNyquistHigh.a2, clamped.a2);
    EXPECT_EQ(atNyquistHigh.b0, clamped.b0);

    EXPECT_TRUE(isFinite(cookbook::highPass(std::nan(""), 1.0, 44100.0)));
    EXPECT_TRUE(isFinite(cookbook::lowPass(0.0, 1.0, 44100.0)));
}

TEST(CookbookBiquad, ProcessRunsTheDirectFormOneDifferenceEquation)
{
    Biquad filter;
    filter.coefficients = { 0.5, 0.25, 0.125, -0.5, 0.25 };
    const double input[] = { 1.0, 0.0, -1.0, 2.0 };
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
    for (double x : input)
    {
        const double expected = 0.5 * x + 0.25 * x1 + 0.125 * x2 + 0.5 * y1 - 0.25 * y2;
        EXPECT_DOUBLE_EQ(filter.process(x), expected);
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = expected;
    }

    Biquad guarded;
    guarded.coefficients = filter.coefficients;
    EXPECT_EQ(guarded.processGuarded(0.0), 1e-20);
}

TEST(OnePoleFilters, LowPassSettlesOnItsInputAndHighPassRemovesIt)
{
    OnePoleLowPass lowPass;
    lowPass.setFrequency(640.0, 44100.0);
    EXPECT_DOUBLE_EQ(lowPass.pole, std::exp(-2.0 * pi * 640.0 / 44100.0));
    OnePoleHighPass highPass;
    highPass.setFrequency(350.0, 44100.0);
    EXPECT_DOUBLE_EQ(highPass.gain, (highPass.pole + 1.0) / 2.0);

    double low = 0.0, high = 0.0;
    for (int i = 0; i < 44100; ++i)
    {
        low = lowPass.process(1.0);
        high = highPass.process(1.0);
    }
    EXPECT_NEAR(low, 1.0, 1e-12);
    EXPECT_NEAR(high, 0.0, 1e-12);

    // A unit step passes the high-pass's first sample at its Nyquist gain.
    OnePoleHighPass fresh;
    fresh.setFrequency(350.0, 44100.0);
    EXPECT_NEAR(fresh.process(1.0), fresh.gain, 1e-15);
}

TEST(Smoother, MovesTheSameFractionEachSampleAndNeverTurnsDenormal)
{
    Smoother smoother;
    smoother.value = 1.0;
    smoother.rate = 0.25;
    EXPECT_DOUBLE_EQ(smoother.moveToward(0.0), 0.75 - 1e-20);
    EXPECT_DOUBLE_EQ(smoother.moveToward(0.0), (0.75 - 1e-20) * 0.75 - 1e-20);

    for (int i = 0; i < 100000; ++i)
        smoother.moveToward(0.0);
    EXPECT_NE(std::fpclassify(smoother.value), FP_SUBNORMAL);
    EXPECT_NEAR(smoother.value, -4e-20, 1e-21); // settles at -offset/rate, far from denormal
}
