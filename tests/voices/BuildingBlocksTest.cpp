#include "voices/CookbookBiquad.h"
#include "voices/FastExp.h"
#include "voices/InstructionSet.h"
#include "voices/SampleRateContext.h"
#include "voices/SimdPack.h"
#include "voices/Smoother.h"
#include "voices/VoiceConstants.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <limits>

namespace
{
using voiceconstants::pi;
constexpr double unitRoundOff = 2.220446049250313e-16;

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

/** Evenly spread pseudo-random doubles in lo..hi, so no range-reduction step or table entry goes unvisited. */
class Spread
{
public:
    double next(double lo, double hi, int i, int points)
    {
        seed = seed * 1664525u + 1013904223u;
        const double jitter = static_cast<double>(seed >> 8) / 16777216.0;
        return lo + (hi - lo) * (static_cast<double>(i) + jitter) / static_cast<double>(points);
    }

private:
    std::uint32_t seed = 1;
};

PULSETTA_TARGET_AVX2 void expOfAvx2Pack(const double* in, double* out)
{
    simd::exp(simd::Avx2Pack::load(in)).store(out);
}

void expOfSse2Pack(const double* in, double* out)
{
    simd::exp(simd::Sse2Pack::load(in)).store(out);
}

/** max, min, abs and the clamp to -1..1 of four lanes each, with one instruction set. */
template <class P> PULSETTA_INLINE void lanewiseOf(const double* a, const double* b, double* out)
{
    const P x = P::load(a), y = P::load(b);
    simd::max(x, y).store(out);
    simd::min(x, y).store(out + 4);
    simd::abs(x).store(out + 8);
    simd::clamp(x, -1.0, 1.0).store(out + 12);
}

PULSETTA_TARGET_AVX2 void lanewiseOfAvx2Pack(const double* a, const double* b, double* out)
{
    lanewiseOf<simd::Avx2Pack>(a, b, out);
}

/** e^x on each of four lanes, with the sample loops' instruction set. */
void expOfPack(InstructionSet set, const double* in, double* out)
{
    if (set == InstructionSet::avx2)
        expOfAvx2Pack(in, out);
    else
        expOfSse2Pack(in, out);
}
} // namespace

TEST(SampleRateContext, RateIndexAndSmoothingFactorAtTheCommonRatesAndAnOddOne)
{
    SampleRateContext context;
    EXPECT_EQ(context.smoothing, 1.0);
    const struct { double rate; int index; double k; } cases[] = {
        { 48000.0, 1, 0.9420657 }, { 88200.0, 2, 0.5857864 }, { 96000.0, 3, 0.5453975 },
        { 192000.0, 4, 0.2943608 }, { 44100.0, 0, 1.0 },
        { 96000.0, 3, 0.5453975 }, { 37800.0, 3, 1.1091013 }, // an odd rate: the index is kept, k follows
    };
    for (const auto& c : cases)
    {
        context.setSampleRate(c.rate);
        EXPECT_EQ(context.rateIndex, c.index) << c.rate;
        EXPECT_NEAR(context.smoothing, c.k, 1e-6) << c.rate;
        EXPECT_EQ(context.sampleRate, c.rate);
    }
}

TEST(CookbookBiquad, EachShapeHasItsGainsAtTheBandEdgesAndTheCentre)
{
    for (double rate : { 44100.0, 48000.0, 96000.0 })
    {
        const struct { const char* name; BiquadCoefficients c; double frequency, gain, tolerance; } cases[] = {
            { "low-pass at DC", cookbook::lowPass(3638.0, 3.0, rate), 0.0, 1.0, 1e-12 },
            { "low-pass at Nyquist", cookbook::lowPass(3638.0, 3.0, rate), rate / 2.0, 0.0, 1e-9 },
            { "high-pass at DC", cookbook::highPass(800.0, 1.2, rate), 0.0, 0.0, 1e-12 },
            { "high-pass at Nyquist", cookbook::highPass(800.0, 1.2, rate), rate / 2.0, 1.0, 1e-9 },
            { "band-pass at its centre", cookbook::bandPass(700.0, 4.0, rate), 700.0, 1.0, 1e-9 },
            { "band-pass at DC", cookbook::bandPass(700.0, 4.0, rate), 0.0, 0.0, 1e-12 },
            // At the corner a cookbook low-pass has a gain of exactly Q.
            { "low-pass with Q at its corner", cookbook::lowPassWithQ(3900.0, 1.5, rate), 3900.0, 1.5, 1e-9 },
        };
        for (const auto& c : cases)
            EXPECT_NEAR(gainAt(c.c, c.frequency, rate), c.gain, c.tolerance) << c.name << " at " << rate;
        const auto bandPass = cookbook::bandPass(700.0, 4.0, rate);
        EXPECT_LT(gainAt(bandPass, 700.0 * 1.5, rate), 1.0);
        EXPECT_LT(gainAt(bandPass, 700.0 / 1.5, rate), 1.0);
    }
}

TEST(CookbookBiquad, FrequenciesAtOrAboveNyquistAreClampedInsteadOfGivingNaN)
{
    // A 4 kHz high-pass at 8 kHz and a 5555 Hz low-pass at 11.11 kHz sit
    // exactly on Nyquist, where the formulas divide by zero.
    const auto atNyquistHigh = cookbook::highPass(4000.0, 1.5, 8000.0);
    EXPECT_TRUE(isFinite(atNyquistHigh));
    EXPECT_TRUE(isFinite(cookbook::lowPass(5555.0, 0.7, 11110.0)));
    EXPECT_TRUE(isFinite(cookbook::lowPass(30000.0, 0.7, 44100.0)));
    EXPECT_TRUE(isFinite(cookbook::highPass(std::nan(""), 1.0, 44100.0)));
    EXPECT_TRUE(isFinite(cookbook::lowPass(0.0, 1.0, 44100.0)));

    EXPECT_DOUBLE_EQ(cookbook::clampedFrequency(4000.0, 8000.0), 3600.0);
    EXPECT_DOUBLE_EQ(cookbook::clampedFrequency(1000.0, 8000.0), 1000.0);
    const auto clamped = cookbook::highPass(3600.0, 1.5, 8000.0);
    EXPECT_EQ(atNyquistHigh.a2, clamped.a2);
    EXPECT_EQ(atNyquistHigh.b0, clamped.b0);
}

TEST(Smoother, NeverTurnsDenormal)
{
    Smoother smoother;
    smoother.value = 1.0;
    smoother.rate = 0.25;
    for (int i = 0; i < 100000; ++i)
        smoother.moveToward(0.0);
    EXPECT_NE(std::fpclassify(smoother.value), FP_SUBNORMAL);
    EXPECT_NEAR(smoother.value, -4e-20, 1e-21); // settles at -offset/rate, far from denormal
}

TEST(FastExp, AgreesWithTheLibraryToTheLastPlacesAndPacksMatchSingleCalls)
{
    // Every range the voices use lies inside these: waveshaper knees up to a
    // few hundred, level curves down to about -20, fades on 0..1.
    for (const auto& [lo, hi] : { std::pair{ -1.0, 1.0 }, { -40.0, 40.0 }, { -708.0, 709.0 } })
    {
        Spread spread;
        double worst = 0.0;
        constexpr int points = 400000;
        for (int i = 0; i < points; ++i)
        {
            const double x = spread.next(lo, hi, i, points);
            worst = std::max(worst, std::fabs(fastexp::exp(x) - std::exp(x)) / std::exp(x));
            // The sample loops take four at a time, with either instruction set.
            const double y = spread.next(-15.0, 15.0, i, points);
            const double lanes[4] = { x, y, -x, 0.5 * y };
            for (const auto set : { InstructionSet::sse2, bestInstructionSet() })
            {
                double packed[4];
                expOfPack(set, lanes, packed);
                for (int lane = 0; lane < 4; ++lane)
                    ASSERT_EQ(packed[lane], fastexp::exp(lanes[lane])) << lanes[lane];
            }
        }
        EXPECT_LE(worst, 2.0 * unitRoundOff) << lo << ".." << hi;
    }
    for (double x : { 0.0, -0.0, 1e-300, -1e-300 })
        EXPECT_EQ(fastexp::exp(x), 1.0) << x;
    EXPECT_NEAR(fastexp::exp(std::log(2.0) * 10.0), 1024.0, 1024.0 * 2.0 * unitRoundOff);
}

TEST(SimdPack, MaxMinAbsAndClampGiveWhatTheSelectionsTheyReplaceGaveInBothInstructionSets)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double a[] = { 1.0, -0.0, nan, 2.5, 0.0, -3.0, 0.5, -1.0 };
    const double b[] = { 2.0, 0.0, 1.0, nan, -0.0, -3.0, -0.75, 7.0 };
    const auto bits = [](double x) {
        std::uint64_t u = 0;
        std::memcpy(&u, &x, sizeof u);
        return u;
    };
    for (const auto set : { InstructionSet::sse2, bestInstructionSet() })
        for (int at = 0; at < 8; at += 4)
        {
            double out[16];
            if (set == InstructionSet::avx2)
                lanewiseOfAvx2Pack(a + at, b + at, out);
            else
                lanewiseOf<simd::Sse2Pack>(a + at, b + at, out);
            for (int lane = 0; lane < 4; ++lane)
            {
                const double x = a[at + lane], y = b[at + lane];
                const double clamped = x < -1.0 ? -1.0 : (x > 1.0 ? 1.0 : x);
                EXPECT_EQ(bits(out[lane]), bits(x > y ? x : y)) << x << ", " << y;
                EXPECT_EQ(bits(out[4 + lane]), bits(x < y ? x : y)) << x << ", " << y;
                EXPECT_EQ(bits(out[8 + lane]), bits(std::fabs(x))) << x;
                EXPECT_EQ(bits(out[12 + lane]), bits(clamped)) << x;
            }
        }
}

TEST(FastExp, HeldAtTheEndsOfTheRangeAndNaNStaysNaN)
{
    const double top = fastexp::exp(709.0);
    const double bottom = fastexp::exp(-708.0);
    EXPECT_TRUE(std::isfinite(top));
    EXPECT_TRUE(std::isnormal(bottom));
    EXPECT_GT(bottom, 0.0);
    const double infinity = std::numeric_limits<double>::infinity();
    for (double x : { 710.0, 1e6, infinity })
        EXPECT_EQ(fastexp::exp(x), top) << x;
    for (double x : { -709.0, -1e6, -infinity })
        EXPECT_EQ(fastexp::exp(x), bottom) << x;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(fastexp::exp(nan)));
    const double lanes[4] = { nan, 0.0, 1e9, -1e9 };
    double packed[4];
    expOfPack(bestInstructionSet(), lanes, packed);
    EXPECT_TRUE(std::isnan(packed[0]));
    EXPECT_EQ(packed[1], 1.0);
    EXPECT_EQ(packed[2], top);
    EXPECT_EQ(packed[3], bottom);

    // The voices' sigmoid 1 - 2 / (e + 1) and level 1 - 1/e come out as with
    // the library's infinity and zero.
    EXPECT_EQ(1.0 - 2.0 / (top + 1.0), 1.0);
    EXPECT_EQ(1.0 - 2.0 / (bottom + 1.0), -1.0);
}
