#include "DspTestKit.h"

#include "voices/PulsettaBassDrum.h"

#include <gtest/gtest.h>

using namespace dsptest;

namespace
{
/** One voice hit at full velocity on a settled default core, after setting some parameters. */
Signal hitAlone(int slot, std::size_t frames, std::initializer_list<std::pair<int, float>> parameters = {},
                double rate = 44100.0)
{
    auto core = makeCore(rate, 2000);
    for (const auto& [index, value] : parameters)
        core->setParameter(index, value);
    return renderVoice(*core, slot, frames, { { 0, slot, 1.0f } });
}

double tomPitch(int slot, float tune)
{
    const auto s = hitAlone(slot, 26460, { { instrument::firstControlOf[slot], tune } });
    return dominantFrequency(s, 44100.0, 8820, 19845, 60.0, 200.0); // 0.2..0.45 s
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
}

TEST(BassDrum, PitchAfterTheAttackIsTheBaseFrequencyWithoutSweep)
{
    for (double rate : { 44100.0, 96000.0 })
        for (const auto& [pitch, expected] : { std::pair{ 0.0f, 30.0 }, { 0.5f, 52.76 }, { 1.0f, 100.0 } })
        {
            // Tune Depth 0, and a long decay to measure on.
            const auto s = hitAlone(instrument::bassDrum, static_cast<std::size_t>(rate * 0.8),
                                    { { 16, 0.0f }, { 13, pitch }, { 15, 1.0f } }, rate);
            EXPECT_NEAR(autocorrelationPitch(s, rate, static_cast<std::size_t>(rate * 0.1),
                                             static_cast<std::size_t>(rate * 0.7), 20.0, 200.0),
                        expected, expected * 0.01)
                << "pitch " << pitch << " at " << rate;
        }
}

TEST(BassDrum, SweepStartsHighAndFallsToTheBaseAndTheLevelHoldsFor57Milliseconds)
{
    const auto s = hitAlone(instrument::bassDrum, 30000, { { 15, 1.0f } });
    const double early = zeroCrossingFrequency(s, 44100.0, 100, 1000);
    EXPECT_GT(early, 150.0);
    EXPECT_LT(early, 260.0);
    EXPECT_NEAR(autocorrelationPitch(s, 44100.0, 15000, 30000, 20.0, 200.0), 52.76, 2.0);

    const auto fastest = hitAlone(instrument::bassDrum, 8000, { { 15, 0.0f }, { 16, 0.0f } });
    const double duringHold = peak(fastest, 1000, 2500); // 23..57 ms
    EXPECT_GT(duringHold, 0.3);
    EXPECT_LT(peak(fastest, 6000, 8000), duringHold * 0.1); // 136..181 ms
}

TEST(BassDrum, SwitchesItselfOffWhenItHasFadedAndRetriggersFromTheStart)
{
    auto core = makeCore(44100.0, 2000);
    render(*core, 10, { { 0, instrument::bassDrum, 1.0f } });
    EXPECT_TRUE(core->getVoice(instrument::bassDrum).isActive());
    render(*core, 44100 * 3);
    EXPECT_FALSE(core->getVoice(instrument::bassDrum).isActive());

    // A retrigger mid-decay sounds like a fresh hit after a few milliseconds,
    // as every envelope restarts from zero.
    auto fresh = makeCore(44100.0, 5000);
    auto retriggered = makeCore(44100.0, 2000);
    render(*retriggered, 3000, { { 0, instrument::bassDrum, 1.0f } });
    const auto a = renderVoice(*fresh, instrument::bassDrum, 4000, { { 0, instrument::bassDrum, 1.0f } });
    const auto b = renderVoice(*retriggered, instrument::bassDrum, 4000, { { 0, instrument::bassDrum, 1.0f } });
    EXPECT_NEAR(peak(a, 200, 4000), peak(b, 200, 4000), 0.05 * peak(a));
}

TEST(Voices, DecayTimeRisesWithDecay)
{
    const struct { int slot, decayParameter; std::initializer_list<float> values; } cases[] = {
        { instrument::bassDrum, 15, { 0.0f, 0.25f, 0.5f, 0.75f, 1.0f } },
        { instrument::snareDrum, 20, { 0.0f, 0.5f, 1.0f } },
        { instrument::midTom, 30, { 0.0f, 0.5f, 1.0f } },
    };
    for (const auto& c : cases)
    {
        double previous = 0.0;
        for (float decay : c.values)
        {
            // The snare without its snappy noise: the tone alone.
            const double time = decayTime(hitAlone(c.slot, 44100 * 3, { { c.decayParameter, decay }, { 21, 0.0f } }), 44100.0);
            EXPECT_GT(time, previous) << "slot " << c.slot << " decay " << decay;
            previous = time;
        }
    }
}

TEST(SnareDrum, BodyIsTunedAndFollowsTuneAndSnappyAddsNoiseAboveIt)
{
    double previous = 0.0;
    for (float tune : { 0.0f, 0.5f, 1.0f })
    {
        const auto s = hitAlone(instrument::snareDrum, 12000, { { 17, tune }, { 21, 0.0f } });
        const double pitch = dominantFrequency(s, 44100.0, 1500, 8000, 100.0, 500.0);
        EXPECT_GT(pitch, previous) << tune;
        previous = pitch;
    }
    const auto dry = hitAlone(instrument::snareDrum, 8000, { { 21, 0.0f } });
    const auto snappy = hitAlone(instrument::snareDrum, 8000, { { 21, 1.0f } });
    EXPECT_GT(zeroCrossingFrequency(snappy, 44100.0, 200, 4000), 4.0 * zeroCrossingFrequency(dry, 44100.0, 200, 4000));
}

TEST(Tom, PitchesAreOrderedLowMidHighAndFollowTune)
{
    const struct { int slot; double settled; } toms[] = {
        { instrument::lowTom, 88.97 }, { instrument::midTom, 110.0 }, { instrument::hiTom, 132.2 } };
    double previous = 0.0;
    for (const auto& tom : toms)
    {
        const double middle = tomPitch(tom.slot, 0.5f);
        EXPECT_GT(middle, previous) << tom.slot;
        EXPECT_NEAR(middle, tom.settled, tom.settled * 0.05) << tom.slot; // on the main oscillator
        previous = middle;
        const double down = tomPitch(tom.slot, 0.0f);
        const double up = tomPitch(tom.slot, 1.0f);
        EXPECT_LT(down, middle) << tom.slot;
        EXPECT_LT(middle, up) << tom.slot;
        EXPECT_NEAR(up / down, 1.32 / 0.68, 0.15) << tom.slot;
    }
}

TEST(Tom, SweepTakesAboutAsLongAtEveryRate)
{
    // The sweep's rate scales once with the smoothing factor, so the pitch
    // 30..90 ms after the hit is about the same at 44.1 and 96 kHz (a
    // doubly scaled sweep would be half again as slow at 96 kHz).
    auto pitchDuringSweep = [](double rate) {
        // Low Tom Tune Depth 1: the widest sweep; Tune Decay 0.
        const auto s = hitAlone(instrument::lowTom, static_cast<std::size_t>(rate * 0.2), { { 24, 1.0f }, { 26, 0.0f } }, rate);
        return dominantFrequency(s, rate, static_cast<std::size_t>(rate * 0.03), static_cast<std::size_t>(rate * 0.09),
                                 60.0, 200.0);
    };
    const double at44 = pitchDuringSweep(44100.0);
    EXPECT_GT(at44, 88.97 * 1.02); // still sweeping
    EXPECT_NEAR(pitchDuringSweep(96000.0), at44, at44 * 0.03);
}

TEST(Tom, RetriggerHoldsThePhasesForTwoMilliseconds)
{
    auto core = makeCore(44100.0, 2000);
    const auto s = renderVoice(*core, instrument::hiTom, 20000,
                               { { 0, instrument::hiTom, 1.0f }, { 10000, instrument::hiTom, 1.0f } });
    EXPECT_TRUE(allFinite(s));
    EXPECT_GT(peak(s, 10000, 14000), 0.5 * peak(s, 0, 4000));
}
