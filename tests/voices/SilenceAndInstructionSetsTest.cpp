// What the engine's shortcuts may change: nothing. Skipping silent voices,
// a master gain at rest and tom noise while no tom sounds, and the choice of
// SSE2 or AVX2 sample loops.
#include "DspTestKit.h"

#include "voices/PulsettaCore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

using namespace dsptest;

namespace
{
/** Hits of every voice in bursts with long silences between them (every
    voice comes to rest in each), and levels and the main volume changed in
    the silences. */
struct Session
{
    explicit Session(double sampleRate) : rate(sampleRate)
    {
        std::mt19937 random(5);
        for (int burst = 0; burst < 4; ++burst)
        {
            const auto start = static_cast<std::int64_t>(rate * 12.0 * burst);
            for (int i = 0; i < 40; ++i)
                hits.push_back({ start + std::uniform_int_distribution<std::int64_t>(0, static_cast<std::int64_t>(rate))(random),
                                 std::uniform_int_distribution<int>(0, 10)(random),
                                 std::uniform_real_distribution<float>(0.2f, 1.3f)(random) });
        }
        frames = static_cast<std::size_t>(rate * 48.0);
    }

    /** The rendering, with the knobs turned between the bursts. */
    Rendering render(PulsettaCore& core) const
    {
        Rendering whole;
        const std::size_t piece = static_cast<std::size_t>(rate * 12.0);
        for (std::size_t start = 0; start < frames; start += piece)
        {
            core.setParameter(static_cast<int>(start / piece) % instrument::numVoices, 0.3f);
            core.setParameter(instrument::mainVolumeParameter, start == 0 ? 0.5f : 0.4f);
            std::vector<Hit> inPiece;
            for (const auto& hit : hits)
                if (hit.sample >= static_cast<std::int64_t>(start) && hit.sample < static_cast<std::int64_t>(start + piece))
                    inPiece.push_back({ hit.sample - static_cast<std::int64_t>(start), hit.instrument, hit.velocity });
            const auto rendered = dsptest::render(core, piece, inPiece);
            for (std::size_t v = 0; v < whole.voices.size(); ++v)
                whole.voices[v].insert(whole.voices[v].end(), rendered.voices[v].begin(), rendered.voices[v].end());
        }
        return whole;
    }

    double rate;
    std::vector<Hit> hits;
    std::size_t frames = 0;
};

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}
} // namespace

TEST(Silence, SkippingItGivesEveryVoiceTheSameOutputAndStateAndTomNoiseWithin1e9)
{
    for (const double rate : { 44100.0, 96000.0 })
    {
        const Session session(rate);
        auto skipping = makeCore(rate);
        auto running = makeCore(rate);
        running->setSkipsSilence(false);
        const auto a = session.render(*skipping);
        const auto b = session.render(*running);

        for (int slot = 0; slot < instrument::numVoices; ++slot)
        {
            const bool tom = slot >= instrument::lowTom && slot <= instrument::hiTom;
            double largest = 0.0;
            std::size_t differing = 0;
            for (std::size_t n = 0; n < a.voice(slot).size(); ++n)
            {
                differing += sameBits(a.voice(slot)[n], b.voice(slot)[n]) ? 0 : 1;
                largest = std::max(largest, std::fabs(a.voice(slot)[n] - b.voice(slot)[n]));
            }
            // Tom noise that rested catches up from silence over its last
            // 30 ms of white noise: what it forgot by then is below 1e-15.
            if (tom)
                EXPECT_LT(largest, 1e-9) << "slot " << slot << " at " << rate;
            else
                EXPECT_EQ(differing, 0u) << "slot " << slot << " at " << rate << ", largest " << largest;

            const auto& x = skipping->getVoice(slot).getOutputStage();
            const auto& y = running->getVoice(slot).getOutputStage();
            EXPECT_TRUE(sameBits(x.lp1, y.lp1) && sameBits(x.lp2, y.lp2) && sameBits(x.level, y.level)
                        && sameBits(x.peak, y.peak) && sameBits(x.magnitude, y.magnitude))
                << "slot " << slot << " at " << rate;
            EXPECT_EQ(skipping->getVoice(slot).isActive(), running->getVoice(slot).isActive());
        }
        EXPECT_TRUE(sameBits(skipping->getMasterGain(), running->getMasterGain()));
        EXPECT_TRUE(skipping->getVoice(instrument::bassDrum).isSettled()) << "the silence was long enough to skip";
    }
}

TEST(InstructionSets, Sse2AndAvx2LoopsGiveTheSameBits)
{
    if (bestInstructionSet() != InstructionSet::avx2)
        GTEST_SKIP() << "this processor has no AVX2";
    for (const double rate : { 44100.0, 48000.0, 96000.0 })
    {
        const Session session(rate);
        auto sse2 = makeCore(rate);
        auto avx2 = makeCore(rate);
        sse2->setInstructionSet(InstructionSet::sse2);
        avx2->setInstructionSet(InstructionSet::avx2);
        const auto a = session.render(*sse2);
        const auto b = session.render(*avx2);
        for (int slot = 0; slot < instrument::numVoices; ++slot)
        {
            std::size_t differing = 0;
            for (std::size_t n = 0; n < a.voice(slot).size(); ++n)
                differing += sameBits(a.voice(slot)[n], b.voice(slot)[n]) ? 0 : 1;
            EXPECT_EQ(differing, 0u) << "slot " << slot << " at " << rate;
        }
    }
}
