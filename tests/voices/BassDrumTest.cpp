#include "DspTestKit.h"

#include "voices/PulsettaBassDrum.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace dsptest;

namespace
{
const PulsettaBassDrum& bassDrumOf(const PulsettaCore& core)
{
    return static_cast<const PulsettaBassDrum&>(core.getVoice(instrument::bassDrum));
}
} // namespace

TEST(BassDrum, ParameterMappingsAtTheEndsAndTheMiddle)
{
    PulsettaBassDrum drum;
    drum.setSampleRate(44100.0);

    const struct { double v, base, top, decay, attack, depth; } cases[] = {
        { 0.0, 30.0, 127.5, 0.0025, 0.25, 0.0 },
        { 0.5, 52.76, 255.0, 2.5e-4, 1.75, 1.0 },
        { 1.0, 100.0, 382.5, 5e-5, 3.25, 5.0 },
    };
    for (const auto& c : cases)
    {
        drum.setPitch(c.v);
        drum.setDecay(c.v);
        drum.setAttack(c.v);
        drum.setTuneDepth(c.v);
        EXPECT_NEAR(drum.getBaseFrequency(), c.base, 0.01) << c.v;
        EXPECT_NEAR(drum.getPitchTop() * 510.0, c.top, 1e-9) << c.v;
        EXPECT_NEAR(drum.getDecayRate(), c.decay, c.decay * 1e-6) << c.v;
        EXPECT_DOUBLE_EQ(drum.getAttackGain(), c.attack) << c.v;
        EXPECT_NEAR(drum.getSweepDepth(), c.depth, 1e-9) << c.v;
    }

    // Both decay branches meet at 0.5.
    drum.setDecay(0.5 - 1e-9);
    const double below = drum.getDecayRate();
    drum.setDecay(0.5);
    EXPECT_NEAR(below, drum.getDecayRate(), 1e-9);

    // The tune rate shrinks as Tune rises (a slower sweep).
    drum.setTune(0.0);
    const double fastSweep = drum.getTuneRate();
    drum.setTune(1.0);
    EXPECT_LT(drum.getTuneRate(), fastSweep);
}

TEST(BassDrum, RatesScaleWithTheSmoothingFactorAndSurviveARateChange)
{
    PulsettaBassDrum drum;
    drum.setDecay(0.5);
    drum.setTune(0.3);
    drum.setSampleRate(44100.0);
    const double decayAt44 = drum.getDecayRate();
    const double tuneAt44 = drum.getTuneRate();
    drum.setSampleRate(96000.0);
    const double k = smoothingFactorFor(96000.0);
    EXPECT_NEAR(drum.getDecayRate(), decayAt44 * k, 1e-15);
    EXPECT_NEAR(drum.getTuneRate(), tuneAt44 * k, 1e-15);
}

TEST(BassDrum, PitchAfterTheAttackIsTheBaseFrequencyWithoutSweep)
{
    for (double rate : { 44100.0, 96000.0 })
    {
        for (const auto& [pitch, expected] : { std::pair{ 0.0f, 30.0 }, { 0.5f, 52.76 }, { 1.0f, 100.0 } })
        {
            auto core = makeCore(rate, 2000);
            core->setParameter(16, 0.0f); // Tune Depth
            core->setParameter(13, pitch);
            core->setParameter(15, 1.0f); // a long decay to measure on
            const auto s = renderVoice(*core, instrument::bassDrum, static_cast<std::size_t>(rate * 0.8),
                                       { { 0, instrument::bassDrum, 1.0f } });
            const auto begin = static_cast<std::size_t>(rate * 0.1);
            const auto end = static_cast<std::size_t>(rate * 0.7);
            EXPECT_NEAR(autocorrelationPitch(s, rate, begin, end, 20.0, 200.0), expected, expected * 0.01)
                << "pitch " << pitch << " at " << rate;
        }
    }
}

TEST(BassDrum, SweepStartsHighAndFallsToTheBase)
{
    auto core = makeCore(44100.0, 2000);
    core->setParameter(15, 1.0f);
    const auto s = renderVoice(*core, instrument::bassDrum, 30000, { { 0, instrument::bassDrum, 1.0f } });
    const double early = zeroCrossingFrequency(s, 44100.0, 100, 1000);
    const double late = autocorrelationPitch(s, 44100.0, 15000, 30000, 20.0, 200.0);
    EXPECT_GT(early, 150.0);
    EXPECT_LT(early, 260.0);
    EXPECT_NEAR(late, 52.76, 2.0);
}

TEST(BassDrum, DecayTimeRisesWithDecay)
{
    double previous = 0.0;
    for (float decay : { 0.0f, 0.25f, 0.5f, 0.75f, 1.0f })
    {
        auto core = makeCore(44100.0, 2000);
        core->setParameter(15, decay);
        const auto s = renderVoice(*core, instrument::bassDrum, 44100 * 3, { { 0, instrument::bassDrum, 1.0f } });
        const double time = decayTime(s, 44100.0);
        EXPECT_GT(time, previous) << decay;
        previous = time;
    }
}

TEST(BassDrum, HoldsItsLevelForTheFirst57Milliseconds)
{
    auto core = makeCore(44100.0, 2000);
    core->setParameter(15, 0.0f); // the fastest decay
    core->setParameter(16, 0.0f);
    const auto s = renderVoice(*core, instrument::bassDrum, 8000, { { 0, instrument::bassDrum, 1.0f } });
    const double duringHold = peak(s, 1000, 2500);  // 23..57 ms
    const double afterHold = peak(s, 6000, 8000);   // 136..181 ms
    EXPECT_GT(duringHold, 0.3);
    EXPECT_LT(afterHold, duringHold * 0.1);
}

TEST(BassDrum, OutputFollowsALevelChangeSmoothly)
{
    auto core = makeCore(44100.0, 30000);
    core->setParameter(instrument::bassDrum, 1.0f);
    double out[instrument::numVoices];
    core->process(out);
    const double afterOne = bassDrumOf(*core).getLevel();
    EXPECT_NEAR(afterOne, 0.5 + 0.5 * 0.002, 1e-6);
    for (int i = 0; i < 5000; ++i)
        core->process(out);
    EXPECT_NEAR(bassDrumOf(*core).getLevel(), 1.0, 1e-4);
}

TEST(BassDrum, SwitchesItselfOffWhenItHasFadedAndRetriggersFromTheStart)
{
    auto core = makeCore(44100.0, 2000);
    render(*core, 10, { { 0, instrument::bassDrum, 1.0f } });
    EXPECT_TRUE(bassDrumOf(*core).isActive());
    render(*core, 44100 * 3);
    EXPECT_FALSE(bassDrumOf(*core).isActive());

    // Two cores: a retrigger mid-decay sounds like a fresh hit after a few
    // milliseconds, as every envelope restarts from zero.
    auto fresh = makeCore(44100.0, 2000);
    auto retriggered = makeCore(44100.0, 2000);
    render(*retriggered, 3000, { { 0, instrument::bassDrum, 1.0f } });
    render(*fresh, 3000);
    const auto a = renderVoice(*fresh, instrument::bassDrum, 4000, { { 0, instrument::bassDrum, 1.0f } });
    const auto b = renderVoice(*retriggered, instrument::bassDrum, 4000, { { 0, instrument::bassDrum, 1.0f } });
    EXPECT_NEAR(peak(a, 200, 4000), peak(b, 200, 4000), 0.05 * peak(a));
}
