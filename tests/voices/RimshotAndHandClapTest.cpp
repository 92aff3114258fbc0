#include "DspTestKit.h"

#include "voices/PulsettaHandClap.h"
#include "voices/PulsettaRimshot.h"
#include "voices/VoiceConstants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
using voiceconstants::twoPi;

double feedbackFor(double t, double d, double offset)
{
    return (t - 1.0) * 0.75 + offset + (1.0 - (t - 0.5) * 0.5) * (d - 1.0);
}

/** Plays the clap at a rate and reports the output sample at which each burst started. */
std::vector<int> burstOnsets(PulsettaHandClap& clap, int frames, int retriggerAt = -1)
{
    dsptest::Signal noise(static_cast<std::size_t>(frames));
    std::vector<int> onsets { 0 };
    clap.trigger(1.0);
    int previous = clap.getBurstIndex();
    for (int n = 0; n < frames; ++n)
    {
        if (n == retriggerAt)
        {
            clap.trigger(1.0);
            onsets = { n };
            previous = 0;
        }
        clap.processWithNoise(0.1 * std::sin(n * 0.37));
        if (clap.getBurstIndex() != previous)
        {
            onsets.push_back(n);
            previous = clap.getBurstIndex();
        }
    }
    return onsets;
}

dsptest::Signal renderClap(double reverb, double seconds)
{
    PulsettaHandClap clap;
    clap.setSampleRate(44100.0);
    clap.setLevel(1.0);
    clap.setReverb(reverb);
    for (int n = 0; n < 44100; ++n) // let the level settle
        clap.processWithNoise(0.0);
    clap.trigger(1.0);

    dsptest::Signal out;
    std::uint32_t s0 = 0x67452301u, s1 = 0xefcdab89u;
    for (int n = 0; n < static_cast<int>(seconds * 44100.0); ++n)
    {
        const double noise = static_cast<double>(static_cast<std::int32_t>(s1)) / 4294967296.0;
        s0 ^= s1;
        s1 += s0;
        out.push_back(clap.processWithNoise(noise));
    }
    return out;
}
} // namespace

TEST(Rimshot, TuneAndDecayMappingAtTheEndsAndMiddle)
{
    PulsettaRimshot rim;
    const double rate = 44100.0;
    const double frequencies[3] = { 520.0, 236.47, 1080.7 };

    for (const double v : { 0.0, 0.5, 1.0 })
    {
        rim.setTune(v);
        rim.setDecay(v);
        const double t = v + 0.5;
        const double d = 2.0 * v;
        EXPECT_DOUBLE_EQ(rim.getTuneValue(), t);
        EXPECT_DOUBLE_EQ(rim.getDecayValue(), d);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(rim.getResonator(i).coefficient, twoPi * t * frequencies[i] / rate * (1.0 - (d - 1.0) * 0.032327),
                        1e-15);
        EXPECT_DOUBLE_EQ(rim.getResonator(0).feedback, feedbackFor(t, d, 2.7));
        EXPECT_DOUBLE_EQ(rim.getResonator(1).feedback, feedbackFor(t, d, 2.7));
        EXPECT_DOUBLE_EQ(rim.getResonator(2).feedback, feedbackFor(t, d, 2.6));
    }

    // Decay 0.5 is the neutral point: no frequency shift, plain feedbacks.
    rim.setTune(0.5);
    rim.setDecay(0.5);
    EXPECT_EQ(rim.getResonator(0).coefficient, twoPi * 520.0 / rate);
    EXPECT_DOUBLE_EQ(rim.getResonator(0).feedback, 2.7);
    EXPECT_DOUBLE_EQ(rim.getResonator(2).feedback, 2.6);
}

TEST(Rimshot, RateChangeKeepsTheDecayFactorInTheCoefficients)
{
    PulsettaRimshot rim;
    rim.setTune(1.0);
    rim.setDecay(0.0); // d = 0: the coefficients are raised by 3.2327 %
    rim.setSampleRate(48000.0);
    EXPECT_NEAR(rim.getResonator(0).coefficient, twoPi * 1.5 * 520.0 / 48000.0 * 1.032327, 1e-15);
    EXPECT_NEAR(rim.getResonator(2).coefficient, twoPi * 1.5 * 1080.7 / 48000.0 * 1.032327, 1e-15);
}

TEST(Rimshot, ClickIsShortAndRisesInPitchWithTune)
{
    double centroid[2] = {};
    for (int i = 0; i < 2; ++i)
    {
        PulsettaRimshot rim;
        rim.setSampleRate(44100.0);
        rim.setLevel(1.0);
        rim.setTune(i == 0 ? 0.0 : 1.0);
        for (int n = 0; n < 44100; ++n)
            rim.process();
        rim.trigger(1.0);
        dsptest::Signal out;
        for (int n = 0; n < 44100; ++n)
            out.push_back(rim.process());

        EXPECT_LT(dsptest::decayTime(out, 44100.0, 40.0), 0.06);
        centroid[i] = dsptest::zeroCrossingFrequency(out, 44100.0, 0, 441);
    }
    EXPECT_GT(centroid[1], centroid[0] * 1.3);
}

TEST(HandClap, TuneAndReverbMappingAtTheEndsAndMiddle)
{
    PulsettaHandClap clap;
    for (const double v : { 0.0, 0.5, 1.0 })
    {
        clap.setTune(v);
        clap.setReverb(v);
        EXPECT_NEAR(clap.getResonatorCoefficient(), (1.5 * v + 0.25) * 1106.0 * twoPi / 44100.0, 1e-15);
        EXPECT_DOUBLE_EQ(clap.getReverbRate(),
                         std::exp(-13.365219449990862 * v) * 0.19985031351893462 + 0.00014968648106443428);
    }
    clap.setReverb(0.0);
    EXPECT_NEAR(clap.getReverbRate(), 0.2, 1e-12);

    clap.setSampleRate(96000.0);
    const double k = clap.getContext().smoothing;
    EXPECT_NEAR(clap.getReverbRate(), 0.2 * k, 1e-12); // the rate follows k after a rate change
}

TEST(HandClap, BurstSmootherIsStableAtEveryRateAndUnchangedAt44100)
{
    PulsettaHandClap clap;
    EXPECT_NEAR(clap.getBurstSmoothing(), 0.1, 1e-15);
    for (const double rate : { 8000.0, 22050.0, 32000.0, 48000.0, 192000.0 })
    {
        clap.setSampleRate(rate);
        EXPECT_GT(clap.getBurstSmoothing(), 0.0);
        EXPECT_LT(clap.getBurstSmoothing(), 1.0); // 1 - 0.9 k would be below zero under 37.7 kHz
        EXPECT_DOUBLE_EQ(clap.getBurstSmoothing(), 1.0 - std::pow(0.9, 44100.0 / rate));
    }
}

TEST(HandClap, FourBurstsStartWithinTheWindowAndARetriggerRestartsThem)
{
    for (const double rate : { 8000.0, 11025.0, 16000.0, 22050.0, 32000.0, 44100.0, 48000.0, 88200.0, 96000.0, 192000.0 })
    {
        PulsettaHandClap clap;
        clap.setSampleRate(rate);
        clap.setLevel(1.0);
        const int window = static_cast<int>(rate * 0.033);

        const auto onsets = burstOnsets(clap, static_cast<int>(rate * 0.2));
        ASSERT_EQ(onsets.size(), 4u) << rate;
        EXPECT_LT(onsets.back(), window) << rate;
        EXPECT_GT(onsets[1], static_cast<int>(rate * 0.009)) << rate; // about 10 ms apart at every rate
        EXPECT_LT(onsets[1], static_cast<int>(rate * 0.0115)) << rate;
        EXPECT_EQ(clap.getBurstIndex(), 3);

        const int retrigger = static_cast<int>(rate * 0.02);
        PulsettaHandClap again;
        again.setSampleRate(rate);
        again.setLevel(1.0);
        const auto restarted = burstOnsets(again, static_cast<int>(rate * 0.2), retrigger);
        ASSERT_EQ(restarted.size(), 4u) << rate;
        EXPECT_EQ(restarted.front(), retrigger);
        EXPECT_LT(restarted.back() - retrigger, window) << rate;
    }
}

TEST(HandClap, LongerReverbGivesALongerTail)
{
    const double shortTail = dsptest::decayTime(renderClap(0.0, 3.0), 44100.0, 40.0);
    const double middleTail = dsptest::decayTime(renderClap(0.5, 3.0), 44100.0, 40.0);
    const double longTail = dsptest::decayTime(renderClap(1.0, 3.0), 44100.0, 40.0);
    EXPECT_LT(shortTail, middleTail);
    EXPECT_LT(middleTail, longTail);
    EXPECT_GT(longTail, 2.0 * shortTail);
    EXPECT_GT(longTail, 0.15);
}

TEST(RimshotAndHandClap, TriggerWhileLevelIsZeroIsIgnoredAndTheVoicePlaysOn)
{
    PulsettaRimshot rimA, rimB;
    PulsettaHandClap clapA, clapB;
    for (PulsettaInstrument* voice : { static_cast<PulsettaInstrument*>(&rimA), static_cast<PulsettaInstrument*>(&rimB),
                                       static_cast<PulsettaInstrument*>(&clapA), static_cast<PulsettaInstrument*>(&clapB) })
    {
        voice->setLevel(1.0);
        voice->trigger(1.0);
    }
    for (int n = 0; n < 300; ++n)
    {
        rimA.process();
        rimB.process();
        clapA.processWithNoise(std::sin(n * 1.3));
        clapB.processWithNoise(std::sin(n * 1.3));
    }
    rimA.setLevel(0.0);
    rimB.setLevel(0.0);
    clapA.setLevel(0.0);
    clapB.setLevel(0.0);
    rimB.trigger(1.0);
    clapB.trigger(1.0);
    for (int n = 0; n < 3000; ++n)
    {
        ASSERT_EQ(rimA.process(), rimB.process()) << n;
        const double noise = std::sin(n * 0.7);
        ASSERT_EQ(clapA.processWithNoise(noise), clapB.processWithNoise(noise)) << n;
    }
    EXPECT_TRUE(rimA.isActive());
}

TEST(RimshotAndHandClap, VelocityScalesTheOutputLinearly)
{
    PulsettaRimshot loud, soft;
    for (PulsettaRimshot* rim : { &loud, &soft })
    {
        rim->setLevel(1.0);
        for (int n = 0; n < 44100; ++n)
            rim->process();
    }
    loud.trigger(1.0);
    soft.trigger(0.5);
    for (int n = 0; n < 2000; ++n)
        ASSERT_NEAR(soft.process(), 0.5 * loud.process(), 1e-9) << n;
}

TEST(RimshotAndHandClap, ValuesOutOfRangeAreHeldToTheirRangeAndUnknownControlsIgnored)
{
    PulsettaRimshot rim;
    rim.setControl(PulsettaRimshot::tuneControl, 7.0);
    EXPECT_DOUBLE_EQ(rim.getTuneValue(), 1.5);
    rim.setControl(PulsettaRimshot::decayControl, std::nan(""));
    EXPECT_DOUBLE_EQ(rim.getDecayValue(), 0.0);
    rim.setControl(2, 0.3);
    rim.setControl(-1, 0.3);
    EXPECT_DOUBLE_EQ(rim.getTuneValue(), 1.5);

    PulsettaHandClap clap;
    clap.setControl(PulsettaHandClap::reverbControl, -3.0);
    EXPECT_NEAR(clap.getReverbRate(), 0.2, 1e-12);
    clap.setControl(PulsettaHandClap::tuneControl, std::nan(""));
    EXPECT_NEAR(clap.getResonatorCoefficient(), 0.25 * 1106.0 * twoPi / 44100.0, 1e-15);

    // A rate no voice can run at leaves the voices as they were.
    clap.setSampleRate(0.0);
    clap.setSampleRate(std::nan(""));
    EXPECT_EQ(clap.getContext().sampleRate, 44100.0);
    clap.setLevel(1.0);
    clap.trigger(1.0);
    for (int n = 0; n < 4410; ++n)
        ASSERT_TRUE(std::isfinite(clap.processWithNoise(std::sin(n * 0.9))));
}
