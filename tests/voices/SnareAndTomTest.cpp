#include "DspTestKit.h"

#include "voices/PulsettaSnareDrum.h"
#include "voices/PulsettaTom.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace dsptest;

TEST(SnareDrum, ParameterMappings)
{
    PulsettaSnareDrum snare;
    snare.setSampleRate(44100.0);
    snare.setTune(0.5);
    EXPECT_DOUBLE_EQ(snare.getTuneFactor(), 0.98);
    snare.setTone(0.0);
    EXPECT_NEAR(snare.getToneRate(), 0.0009, 1e-15);
    snare.setTone(1.0);
    EXPECT_NEAR(snare.getToneRate(), 1.0 / 10000.0, 1e-12);
    snare.setTuneDepth(0.75);
    EXPECT_DOUBLE_EQ(snare.getSweepDepth(), 1.5);
    snare.setSnappy(1.0);
    EXPECT_DOUBLE_EQ(snare.getSnappy(), 0.75);
    snare.setDecay(0.0);
    const double fast = snare.getDecayRate();
    snare.setDecay(1.0);
    EXPECT_LT(snare.getDecayRate(), fast);

    snare.setSampleRate(96000.0);
    EXPECT_NEAR(snare.getDecayRate(), (std::exp(-2.0919371103777964) * 2.852083333337659 - 0.00208333332702613)
                                        * smoothingFactorFor(96000.0), 1e-15);
}

TEST(SnareDrum, BodyIsTunedAndFollowsTune)
{
    double previous = 0.0;
    for (float tune : { 0.0f, 0.5f, 1.0f })
    {
        auto core = makeCore(44100.0, 2000);
        core->setParameter(17, tune);
        core->setParameter(21, 0.0f); // no snappy noise: the tone alone
        const auto s = renderVoice(*core, instrument::snareDrum, 12000, { { 0, instrument::snareDrum, 1.0f } });
        const double pitch = dominantFrequency(s, 44100.0, 1500, 8000, 100.0, 500.0);
        EXPECT_GT(pitch, previous) << tune;
        previous = pitch;
    }
}

TEST(SnareDrum, DecayTimeRisesWithDecay)
{
    double previous = 0.0;
    for (float decay : { 0.0f, 0.5f, 1.0f })
    {
        auto core = makeCore(44100.0, 2000);
        core->setParameter(20, decay);
        core->setParameter(21, 0.0f);
        const auto s = renderVoice(*core, instrument::snareDrum, 44100 * 2, { { 0, instrument::snareDrum, 1.0f } });
        const double time = decayTime(s, 44100.0);
        EXPECT_GT(time, previous) << decay;
        previous = time;
    }
}

TEST(SnareDrum, SnappyAddsNoiseAboveTheBody)
{
    auto dry = makeCore(44100.0, 2000);
    auto snappy = makeCore(44100.0, 2000);
    dry->setParameter(21, 0.0f);
    snappy->setParameter(21, 1.0f);
    const auto a = renderVoice(*dry, instrument::snareDrum, 8000, { { 0, instrument::snareDrum, 1.0f } });
    const auto b = renderVoice(*snappy, instrument::snareDrum, 8000, { { 0, instrument::snareDrum, 1.0f } });
    EXPECT_GT(zeroCrossingFrequency(b, 44100.0, 200, 4000), 4.0 * zeroCrossingFrequency(a, 44100.0, 200, 4000));
}

TEST(Tom, ParameterMappings)
{
    PulsettaLowTom tom;
    tom.setSampleRate(44100.0);
    tom.setTune(0.5);
    EXPECT_EQ(tom.getTuneFactor(), 1.0);
    tom.setTuneDepth(1.0);
    EXPECT_DOUBLE_EQ(tom.getDepth(), 1.8);
    tom.setTuneDecay(0.0);
    EXPECT_DOUBLE_EQ(tom.getTuneDecay(), 2.25);
    tom.setDecay(0.0);
    EXPECT_NEAR(tom.getDecayRate(), (0.7118518518535202 + 0.18814814814779823) * 0.001, 1e-15);
    tom.setTone(1.0);
    EXPECT_NEAR(tom.getToneRate(), std::exp(-10.385913701770846) * 0.09955307262569207 + 0.00044692737430453665, 1e-15);

    EXPECT_EQ(PulsettaMidTom().getBaseFrequency(0), 110.0);
    EXPECT_EQ(PulsettaHiTom().getBaseFrequency(2), 249.7);
}

namespace
{
double tomPitch(int slot, float tune, double rate = 44100.0)
{
    auto core = makeCore(rate, 2000);
    core->setParameter(instrument::firstControlOf[slot], tune);
    const auto s = renderVoice(*core, slot, static_cast<std::size_t>(rate * 0.6), { { 0, slot, 1.0f } });
    return dominantFrequency(s, rate, static_cast<std::size_t>(rate * 0.2), static_cast<std::size_t>(rate * 0.45),
                             60.0, 200.0);
}
} // namespace

TEST(Tom, PitchesAreOrderedLowMidHighAndSettleOnTheMainOscillator)
{
    const double low = tomPitch(instrument::lowTom, 0.5f);
    const double mid = tomPitch(instrument::midTom, 0.5f);
    const double high = tomPitch(instrument::hiTom, 0.5f);
    EXPECT_LT(low, mid);
    EXPECT_LT(mid, high);
    EXPECT_NEAR(low, 88.97, 88.97 * 0.05);
    EXPECT_NEAR(mid, 110.0, 110.0 * 0.05);
    EXPECT_NEAR(high, 132.2, 132.2 * 0.05);
}

TEST(Tom, PitchFollowsTune)
{
    for (int slot : { instrument::lowTom, instrument::hiTom })
    {
        const double down = tomPitch(slot, 0.0f);
        const double middle = tomPitch(slot, 0.5f);
        const double up = tomPitch(slot, 1.0f);
        EXPECT_LT(down, middle);
        EXPECT_LT(middle, up);
        EXPECT_NEAR(up / down, 1.32 / 0.68, 0.15);
    }
}

TEST(Tom, DecayTimeRisesWithDecay)
{
    double previous = 0.0;
    for (float decay : { 0.0f, 0.5f, 1.0f })
    {
        auto core = makeCore(44100.0, 2000);
        core->setParameter(30, decay); // Mid Tom Decay
        const auto s = renderVoice(*core, instrument::midTom, 44100 * 3, { { 0, instrument::midTom, 1.0f } });
        const double time = decayTime(s, 44100.0);
        EXPECT_GT(time, previous) << decay;
        previous = time;
    }
}

TEST(Tom, SweepTakesAboutAsLongAtEveryRate)
{
    // The sweep's rate scales once with the smoothing factor, so the pitch
    // 60..120 ms after the hit is about the same at 44.1 and 96 kHz (a
    // doubly scaled sweep would be half again as slow at 96 kHz).
    auto pitchDuringSweep = [](double rate) {
        auto core = makeCore(rate, 2000);
        core->setParameter(24, 1.0f); // Low Tom Tune Depth: the widest sweep
        core->setParameter(26, 0.0f); // Tune Decay
        const auto s = renderVoice(*core, instrument::lowTom, static_cast<std::size_t>(rate * 0.2),
                                   { { 0, instrument::lowTom, 1.0f } });
        return dominantFrequency(s, rate, static_cast<std::size_t>(rate * 0.03), static_cast<std::size_t>(rate * 0.09),
                                 60.0, 200.0);
    };
    const double at44 = pitchDuringSweep(44100.0);
    const double at96 = pitchDuringSweep(96000.0);
    EXPECT_GT(at44, 88.97 * 1.02); // still sweeping
    EXPECT_NEAR(at96, at44, at44 * 0.03);
}

TEST(Tom, RetriggerHoldsThePhasesForTwoMilliseconds)
{
    auto core = makeCore(44100.0, 2000);
    const auto s = renderVoice(*core, instrument::hiTom, 20000,
                               { { 0, instrument::hiTom, 1.0f }, { 10000, instrument::hiTom, 1.0f } });
    EXPECT_TRUE(allFinite(s));
    EXPECT_GT(peak(s, 10000, 14000), 0.5 * peak(s, 0, 4000));
}
