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

/** Plays the clap and reports the output sample at which each burst started. */
std::vector<int> burstOnsets(double rate, int frames, int retriggerAt = -1)
{
    PulsettaHandClap clap;
    clap.setSampleRate(rate);
    clap.setLevel(1.0);
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
    EXPECT_EQ(clap.getBurstIndex(), 3) << rate;
    return onsets;
}
} // namespace

TEST(Rimshot, TuneAndDecayMappingAtTheEndsAndMiddle)
{
    PulsettaRimshot rim;
    const double frequencies[3] = { 520.0, 236.47, 1080.7 };
    const double offsets[3] = { 2.7, 2.7, 2.6 };
    for (const double v : { 0.0, 0.5, 1.0 })
    {
        rim.setTune(v);
        rim.setDecay(v);
        const double t = v + 0.5, d = 2.0 * v;
        EXPECT_DOUBLE_EQ(rim.getTuneValue(), t);
        EXPECT_DOUBLE_EQ(rim.getDecayValue(), d);
        for (int i = 0; i < 3; ++i)
        {
            EXPECT_NEAR(rim.getResonator(i).coefficient, twoPi * t * frequencies[i] / 44100.0 * (1.0 - (d - 1.0) * 0.032327),
                        1e-15) << v << " resonator " << i;
            EXPECT_DOUBLE_EQ(rim.getResonator(i).feedback, (t - 1.0) * 0.75 + offsets[i] + (1.0 - (t - 0.5) * 0.5) * (d - 1.0))
                << v << " resonator " << i;
        }
    }
}

TEST(Rimshot, RateChangeKeepsTheDecayFactorInTheCoefficients)
{
    // Controls then rate must give what rate then controls gives.
    PulsettaRimshot late, early;
    late.setTune(1.0);
    late.setDecay(0.0); // the coefficients are raised by 3.2327 %
    late.setSampleRate(48000.0);
    early.setSampleRate(48000.0);
    early.setTune(1.0);
    early.setDecay(0.0);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(late.getResonator(i).coefficient, early.getResonator(i).coefficient, 1e-15) << i;
    EXPECT_NEAR(late.getResonator(0).coefficient, twoPi * 1.5 * 520.0 / 48000.0 * 1.032327, 1e-15);
}

TEST(Rimshot, ClickIsShortAndRisesInPitchWithTuneThroughTheCore)
{
    double pitch[2] = {};
    for (int i = 0; i < 2; ++i)
    {
        auto core = dsptest::makeCore(44100.0, 44100);
        core->setParameter(instrument::rimShot, 1.0f);
        core->setParameter(instrument::firstControlOf[instrument::rimShot], static_cast<float>(i));
        dsptest::render(*core, 44100);
        const auto out = dsptest::renderVoice(*core, instrument::rimShot, 44100, { { 0, instrument::rimShot, 1.0f } });
        EXPECT_LT(dsptest::decayTime(out, 44100.0), 0.06);
        pitch[i] = dsptest::zeroCrossingFrequency(out, 44100.0, 0, 441);
    }
    EXPECT_GT(pitch[1], pitch[0] * 1.3);
}

TEST(HandClap, TuneAndReverbMappingsAndABurstSmootherStableAtEveryRate)
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
    EXPECT_NEAR(clap.getBurstSmoothing(), 0.1, 1e-15);
    clap.setSampleRate(96000.0);
    EXPECT_NEAR(clap.getReverbRate(), 0.2 * clap.getContext().smoothing, 1e-12); // follows k after a rate change

    for (const double rate : { 8000.0, 22050.0, 32000.0, 48000.0, 192000.0 })
    {
        clap.setSampleRate(rate);
        EXPECT_GT(clap.getBurstSmoothing(), 0.0) << rate;
        EXPECT_LT(clap.getBurstSmoothing(), 1.0) << rate; // 1 - 0.9 k would be below zero under 37.7 kHz
        EXPECT_DOUBLE_EQ(clap.getBurstSmoothing(), 1.0 - std::pow(0.9, 44100.0 / rate)) << rate;
    }
}

TEST(HandClap, FourBurstsStartWithinTheWindowAndARetriggerRestartsThem)
{
    for (const double rate : { 8000.0, 11025.0, 16000.0, 22050.0, 32000.0, 44100.0, 48000.0, 88200.0, 96000.0, 192000.0 })
    {
        const int window = static_cast<int>(rate * 0.033);
        const auto onsets = burstOnsets(rate, static_cast<int>(rate * 0.2));
        ASSERT_EQ(onsets.size(), 4u) << rate;
        EXPECT_LT(onsets.back(), window) << rate;
        EXPECT_GT(onsets[1], static_cast<int>(rate * 0.009)) << rate; // about 10 ms apart at every rate
        EXPECT_LT(onsets[1], static_cast<int>(rate * 0.0115)) << rate;

        const int retrigger = static_cast<int>(rate * 0.02);
        const auto restarted = burstOnsets(rate, static_cast<int>(rate * 0.2), retrigger);
        ASSERT_EQ(restarted.size(), 4u) << rate;
        EXPECT_EQ(restarted.front(), retrigger);
        EXPECT_LT(restarted.back() - retrigger, window) << rate;
    }
}

TEST(HandClap, LongerReverbGivesALongerTail)
{
    double tails[3] = {};
    for (int i = 0; i < 3; ++i)
    {
        auto core = dsptest::makeCore(44100.0, 44100);
        core->setParameter(instrument::handClap, 1.0f);
        core->setParameter(40, 0.5f * static_cast<float>(i)); // Reverb
        dsptest::render(*core, 44100);
        tails[i] = dsptest::decayTime(
            dsptest::renderVoice(*core, instrument::handClap, 3 * 44100, { { 0, instrument::handClap, 1.0f } }), 44100.0);
    }
    EXPECT_LT(tails[0], tails[1]);
    EXPECT_LT(tails[1], tails[2]);
    EXPECT_GT(tails[2], 2.0 * tails[0]);
    EXPECT_GT(tails[2], 0.15);
}
