#include "DspTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

using namespace dsptest;

namespace
{
constexpr int synthesisedVoices[] = { instrument::bassDrum, instrument::snareDrum, instrument::lowTom,
                                      instrument::midTom, instrument::hiTom };

std::vector<Hit> everyVoiceOnce(std::int64_t at, float velocity = 1.0f)
{
    std::vector<Hit> hits;
    for (int slot = 0; slot < instrument::numVoices; ++slot)
        hits.push_back({ at, slot, velocity });
    return hits;
}
} // namespace

TEST(EngineRobustness, EveryVoiceStaysFiniteAndBoundedForAMinuteAtEveryRate)
{
    // Hits of every voice at random moments and velocities (up to an accented
    // 1.378), controls jumping to random ends, then a long silence; the
    // trigger-out pulse follows the snare.
    for (double rate : { 8000.0, 11025.0, 16000.0, 22050.0, 32000.0, 44100.0, 48000.0, 88200.0, 96000.0, 192000.0 })
    {
        auto core = makeCore(rate);
        core->setTriggerOutEnabled(true);
        core->setTriggerOutSource(instrument::snareDrum);
        core->initTriggerOutPulse();
        std::mt19937 random(7);
        std::uniform_int_distribution<int> slotOf(0, instrument::numVoices - 1);
        std::uniform_real_distribution<float> velocityOf(0.05f, 1.378f);
        std::uniform_int_distribution<int> controlOf(instrument::firstControlParameter, instrument::mainVolumeParameter);
        std::uniform_int_distribution<int> endOf(0, 2);

        const auto frames = static_cast<std::int64_t>(rate * 60.0);
        const auto silenceFrom = static_cast<std::int64_t>(rate * 40.0);
        const auto hitEvery = static_cast<std::int64_t>(rate * 0.05);
        double out[instrument::numVoices];
        double highest = 0.0;
        bool finite = true;
        for (std::int64_t n = 0; n < frames && finite; ++n)
        {
            if (n % hitEvery == 0 && n < silenceFrom)
            {
                core->trigger(slotOf(random), velocityOf(random));
                core->setParameter(controlOf(random), 0.5f * static_cast<float>(endOf(random)));
            }
            core->process(out);
            for (double x : out)
            {
                finite = finite && std::isfinite(x);
                highest = std::max(highest, std::fabs(x));
            }
            const double pulse = core->processTriggerOut();
            finite = finite && std::isfinite(pulse) && std::fabs(pulse) < 1.0;
        }
        EXPECT_TRUE(finite) << rate;
        // The loudest is the bass drum's click with Attack at 1 under an
        // accented hit, some tens at the high rates.
        EXPECT_LT(highest, 100.0) << rate;
        EXPECT_GT(highest, 0.05) << rate;
        for (int slot : synthesisedVoices)
            EXPECT_FALSE(core->getVoice(slot).isActive()) << slot << " at " << rate;
    }
}

TEST(EngineRobustness, VelocityZeroOnTheSnareLeavesTheOutputUntouched)
{
    auto untouched = makeCore(44100.0, 100);
    auto poked = makeCore(44100.0, 100);
    const auto a = render(*untouched, 10000);
    const auto b = render(*poked, 10000, { { 50, instrument::snareDrum, 0.0f }, { 60, instrument::bassDrum, 0.0f } });
    EXPECT_EQ(a.voice(instrument::snareDrum), b.voice(instrument::snareDrum));
    EXPECT_EQ(a.voice(instrument::bassDrum), b.voice(instrument::bassDrum));
}

TEST(EngineRobustness, LevelZeroLeavesEveryVoiceUntouchedByItsTrigger)
{
    auto untouched = makeCore(44100.0);
    auto poked = makeCore(44100.0);
    for (int slot = 0; slot < instrument::numVoices; ++slot)
    {
        untouched->setParameter(slot, 0.0f);
        poked->setParameter(slot, 0.0f);
    }
    render(*untouched, 5000);
    render(*poked, 5000);
    const auto a = render(*untouched, 10000);
    const auto b = render(*poked, 10000, everyVoiceOnce(100));
    for (int slot = 0; slot < instrument::numVoices; ++slot)
    {
        EXPECT_EQ(a.voice(slot), b.voice(slot)) << slot;
        EXPECT_FALSE(poked->getVoice(slot).isActive() && slot < instrument::rimShot) << slot;
    }
}

TEST(EngineRobustness, RenderingInPiecesGivesTheSameBitsAsInOneRun)
{
    const std::vector<Hit> hits = { { 0, 0, 1.0f },      { 300, 1, 0.7f },    { 4410, 2, 1.0f },
                                    { 4410, 4, 0.3f },   { 9000, 3, 1.378f }, { 12000, 0, 0.5f },
                                    { 12001, 1, 1.0f },  { 20000, 2, 0.2f } };
    auto whole = makeCore(48000.0, 100);
    const auto once = render(*whole, 40000, hits);

    auto pieces = makeCore(48000.0, 100);
    Rendering joined;
    const std::int64_t cuts[] = { 0, 1, 299, 300, 5000, 12000, 12001, 33333, 40000 };
    for (std::size_t c = 0; c + 1 < std::size(cuts); ++c)
    {
        std::vector<Hit> inPiece;
        for (const auto& hit : hits)
            if (hit.sample >= cuts[c] && hit.sample < cuts[c + 1])
                inPiece.push_back({ hit.sample - cuts[c], hit.instrument, hit.velocity });
        const auto piece = render(*pieces, static_cast<std::size_t>(cuts[c + 1] - cuts[c]), inPiece);
        for (int slot = 0; slot < instrument::numVoices; ++slot)
            joined.voices[static_cast<std::size_t>(slot)].insert(joined.voices[static_cast<std::size_t>(slot)].end(),
                                                                 piece.voice(slot).begin(), piece.voice(slot).end());
    }
    for (int slot = 0; slot < instrument::numVoices; ++slot)
        EXPECT_EQ(once.voice(slot), joined.voice(slot)) << slot;
}

TEST(EngineRobustness, EveryRunAndEveryRateChangeBackGivesTheSameSound)
{
    const auto hits = everyVoiceOnce(10);
    auto first = makeCore(44100.0, 100);
    auto second = makeCore(44100.0, 100);
    const auto a = render(*first, 20000, hits);
    const auto b = render(*second, 20000, hits);
    for (int slot = 0; slot < instrument::numVoices; ++slot)
        EXPECT_EQ(a.voice(slot), b.voice(slot)) << slot;

    // A trip through another rate and back restarts the noise and every
    // voice: the core then sounds exactly like a fresh one with the same
    // settled master gain.
    second->setSampleRate(96000.0f);
    render(*second, 5000, hits);
    second->setSampleRate(44100.0f);
    auto fresh = makeCore(44100.0);
    fresh->setSampleRate(44100.0f);
    render(*fresh, 44100);
    render(*second, 44100);
    EXPECT_NEAR(fresh->getMasterGain(), second->getMasterGain(), 1e-12);
    const auto again = render(*second, 20000, hits);
    const auto reference = render(*fresh, 20000, hits);
    for (int slot = 0; slot < instrument::numVoices; ++slot)
    {
        double largestDifference = 0.0;
        for (std::size_t n = 0; n < again.voice(slot).size(); ++n)
            largestDifference = std::max(largestDifference, std::fabs(again.voice(slot)[n] - reference.voice(slot)[n]));
        EXPECT_LT(largestDifference, 1e-9) << slot;
    }
}

TEST(EngineRobustness, LongSilenceLeavesNoDenormalNumbersBehind)
{
    auto core = makeCore(44100.0, 100);
    render(*core, 100, everyVoiceOnce(0));
    double out[instrument::numVoices];
    for (int n = 0; n < 44100 * 20; ++n)
        core->process(out);
    for (int n = 0; n < 44100; ++n)
    {
        core->process(out);
        for (double x : out)
            ASSERT_NE(std::fpclassify(x), FP_SUBNORMAL);
    }
    EXPECT_EQ(std::fpclassify(core->processTriggerOut()), FP_ZERO); // disabled
}

TEST(EngineRobustness, ParameterValuesOutsideTheRangeAreHeldToIt)
{
    auto wild = makeCore(44100.0);
    auto tame = makeCore(44100.0);
    const float values[] = { std::nanf(""), HUGE_VALF, -HUGE_VALF, 7.0f, -3.0f };
    for (int index = 0; index <= instrument::mainVolumeParameter; ++index)
    {
        const float value = values[index % 5];
        wild->setParameter(index, value);
        tame->setParameter(index, value > 0.0f ? 1.0f : 0.0f); // NaN compares false: 0
    }
    wild->setParameter(instrument::mainVolumeParameter, 7.0f);
    tame->setParameter(instrument::mainVolumeParameter, 1.0f);
    const auto a = render(*wild, 44100, everyVoiceOnce(10)).mix();
    const auto b = render(*tame, 44100, everyVoiceOnce(10)).mix();
    EXPECT_TRUE(allFinite(a));
    EXPECT_GT(peak(a), 0.1);
    EXPECT_EQ(a, b);
}

TEST(EngineRobustness, UnusableRatesAreRefused)
{
    auto core = makeCore(48000.0);
    for (float rate : { 0.0f, -1.0f, std::nanf(""), HUGE_VALF })
    {
        core->setSampleRate(rate);
        EXPECT_EQ(core->getContext().sampleRate, 48000.0);
        EXPECT_EQ(core->getVoice(instrument::bassDrum).getContext().sampleRate, 48000.0);
    }
    const auto s = render(*core, 5000, everyVoiceOnce(0)).mix();
    EXPECT_TRUE(allFinite(s));
}
