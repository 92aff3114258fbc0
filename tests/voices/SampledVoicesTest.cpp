#include "DspTestKit.h"

#include "voices/PulsettaClosedHiHat.h"
#include "voices/PulsettaCymbal.h"
#include "voices/PulsettaOpenHiHat.h"
#include "voices/sampletables/SampleTableKey.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace dsptest;

namespace
{
/** Output samples a voice plays before its table runs out. */
int samplesUntilTheEnd(PulsettaSampledInstrument& voice)
{
    voice.trigger(1.0);
    int n = 0;
    while (voice.isPlaying() && n < 100000)
    {
        voice.process();
        ++n;
    }
    return n;
}

/** The first output sample at which the play position has passed sourcePosition. */
int outputSampleOf(double sourcePosition, double step)
{
    return static_cast<int>(std::ceil(sourcePosition / step));
}

std::vector<std::uint8_t> scramble(const std::vector<std::uint8_t>& plain)
{
    const auto key = sampletables::makeKey();
    std::vector<std::uint8_t> stored;
    for (std::size_t i = 0; i < plain.size(); ++i)
        stored.push_back(static_cast<std::uint8_t>(plain[i] ^ key[i % sampletables::keyLength]));
    return stored;
}

/** A small hi-hat-like voice over any table, for the table player's own checks. */
class TestTableVoice : public PulsettaSampledInstrument
{
public:
    using PulsettaSampledInstrument::PulsettaSampledInstrument;
    int renderModel(const VoiceRun& run, double* x) override
    {
        Reads reads;
        int frames = run.numFrames;
        bool ended = false;
        for (int n = 0; n < frames && playing; ++n)
            if (! advance(sourceStep, reads, n))
                frames = n + 1, ended = true;
        const int read = isChoked() ? 0 : (ended ? frames - 1 : frames);
        readRun<simd::Sse2Pack>(reads, read, x);
        for (int n = read; n < frames; ++n)
            x[n] = 0.0;
        return frames;
    }
};
} // namespace

TEST(SampledInstrument, DecodesScrambledOffsetBinaryAndAMissingTableIsSilent)
{
    const std::vector<std::uint8_t> plain { 0, 64, 128, 192, 255, 128, 1 };
    const double expected[] = { -1.0, -0.5, 0.0, 0.5, 127.0 / 128.0, 0.0, 1.0 / 128.0 - 1.0 };
    const auto stored = scramble(plain);
    TestTableVoice voice(stored.data(), static_cast<std::uint32_t>(stored.size()));
    ASSERT_EQ(voice.getLength(), plain.size());
    for (std::uint32_t i = 0; i < plain.size(); ++i)
        EXPECT_EQ(voice.getSample(i), expected[i]) << i;
    EXPECT_EQ(voice.getSample(99), 0.0); // past the end reads silence

    TestTableVoice none(nullptr, 1000);
    EXPECT_EQ(none.getLength(), 0u);
    none.setLevel(1.0);
    none.trigger(1.0);
    for (int n = 0; n < 100; ++n)
        EXPECT_LT(std::fabs(none.process()), 1e-15); // only the denormal guards
    EXPECT_FALSE(none.isPlaying());
}

TEST(SampledInstrument, SplineOfAConstantTableIsThatConstantAndEndsTwoPastTheTable)
{
    const std::vector<std::uint8_t> stored = scramble(std::vector<std::uint8_t>(16, 192)); // 0.5 everywhere
    TestTableVoice voice(stored.data(), static_cast<std::uint32_t>(stored.size()));
    voice.setLevel(1.0);
    voice.trigger(1.0);
    for (const double t : { 0.0, 0.25, 0.5, 0.999 })
        EXPECT_NEAR(voice.readInterpolated(5, t), 0.5, 1e-15);
    // The spline fades in from silence before the first sample and out after the last.
    EXPECT_NEAR(voice.readInterpolated(0, 0.0), 0.5 * 5.0 / 6.0, 1e-15);
    EXPECT_NEAR(voice.readInterpolated(16, 0.0), 0.5 / 6.0, 1e-15);
    EXPECT_TRUE(voice.isPlaying());
    EXPECT_EQ(voice.readInterpolated(18, 0.0), 0.0);
    EXPECT_FALSE(voice.isPlaying());
    EXPECT_FALSE(voice.isActive());
}

TEST(SampledVoices, TuneFactorsAndHiHatDecayRatesAtTheEndsAndMiddle)
{
    PulsettaClosedHiHat closed;
    PulsettaOpenHiHat open;
    PulsettaCrash crash;
    PulsettaRide ride;
    const struct { double v, tune, rideTune, closedDecay, openDecay; } cases[] = {
        { 0.0, 0.75, 0.82, 0.00253, 0.0003 },
        { 0.5, 1.0, 1.07, 0.0005, 0.00015 },
        { 1.0, 1.53, 1.58, 0.000302, 0.00009 },
    };
    for (const auto& c : cases)
    {
        for (PulsettaSampledInstrument* voice : { static_cast<PulsettaSampledInstrument*>(&closed),
                                                  static_cast<PulsettaSampledInstrument*>(&open),
                                                  static_cast<PulsettaSampledInstrument*>(&crash),
                                                  static_cast<PulsettaSampledInstrument*>(&ride) })
            voice->setControl(0, c.v); // Tune
        closed.setDecay(c.v);
        open.setDecay(c.v);
        EXPECT_NEAR(closed.getTuneFactor(), c.tune, 0.005) << c.v;
        EXPECT_NEAR(open.getTuneFactor(), c.tune, 0.005) << c.v;
        EXPECT_NEAR(crash.getTuneFactor(), c.tune, 0.005) << c.v;
        EXPECT_NEAR(ride.getTuneFactor(), c.rideTune, 0.005) << c.v;
        EXPECT_NEAR(closed.getDecayRate(), c.closedDecay, c.closedDecay * 0.01) << c.v;
        EXPECT_NEAR(open.getDecayRate(), c.openDecay, c.openDecay * 0.03) << c.v;
    }
    closed.setControl(0, 0.5);
    crash.setControl(0, 0.5);
    EXPECT_NEAR(closed.getTuneFactor(), 1.0, 1e-5);
    EXPECT_NEAR(crash.getTuneFactor(), closed.getTuneFactor(), 1e-6); // double against single precision v + 1
}

TEST(SampledVoices, ClosedHiHatLengthFollowsTheTuneFactor)
{
    PulsettaClosedHiHat hat;
    hat.setSampleRate(44100.0);
    hat.setLevel(1.0);
    hat.setDecay(1.0);
    hat.setTune(0.5);
    const int atMiddle = samplesUntilTheEnd(hat);
    // It stops once the read index is two past the table's 8128 samples: about 0.26 s.
    EXPECT_EQ(atMiddle, outputSampleOf(8130.0, 31200.0 / 44100.0 * hat.getTuneFactor()));
    EXPECT_NEAR(atMiddle, 11492, 2);
    for (const double tune : { 1.0, 0.0 })
    {
        hat.setTune(tune);
        EXPECT_NEAR(static_cast<double>(samplesUntilTheEnd(hat)), atMiddle / hat.getTuneFactor(), 1.0) << tune;
    }
}

TEST(SampledVoices, OpenHiHatFallsSilentAtItsRingOutPoint)
{
    for (const double decay : { 0.0, 1.0 })
    {
        PulsettaOpenHiHat hat;
        hat.setSampleRate(44100.0);
        hat.setLevel(1.0);
        hat.setDecay(decay);
        for (int n = 0; n < 44100; ++n)
            hat.process();
        hat.trigger(1.0);

        const int chokeAt = outputSampleOf(PulsettaOpenHiHat::selfChokePosition, 31200.0 / 44100.0) - 1;
        double loudest = 0.0;
        for (int n = 0; n < chokeAt; ++n)
        {
            loudest = std::max(loudest, std::fabs(hat.process()));
            ASSERT_FALSE(hat.isChoked()) << n;
        }
        hat.process();
        EXPECT_TRUE(hat.isChoked());
        EXPECT_GE(hat.getPosition(), PulsettaOpenHiHat::selfChokePosition);
        // From here only the output stage's slow 1 Hz memories are left.
        for (int n = 0; n < 20000; ++n)
            ASSERT_LT(std::fabs(hat.process()), loudest * 1e-3) << n;
    }
}

TEST(SampledVoices, CrashAndRideFadeOutAtTheirDecayPosition)
{
    std::unique_ptr<PulsettaCymbal> cymbals[2] = { std::make_unique<PulsettaCrash>(), std::make_unique<PulsettaRide>() };
    for (auto& cymbal : cymbals)
        for (const double decay : { 0.0, 0.5, 1.0 })
        {
            cymbal->setDecay(decay);
            cymbal->setSampleRate(44100.0); // the smoothed decay starts at its target
            cymbal->setLevel(1.0);
            cymbal->trigger(1.0);
            const double end = (decay * 0.9 + 0.1) * 32768.0;
            double previous = 2.0;
            while (cymbal->isPlaying() && cymbal->getPosition() < end)
            {
                cymbal->process();
                if (cymbal->getPosition() < end)
                {
                    ASSERT_GT(cymbal->getPositionEnvelope(), 0.0) << cymbal->getPosition();
                    ASSERT_LT(cymbal->getPositionEnvelope(), previous);
                    previous = cymbal->getPositionEnvelope();
                }
            }
            EXPECT_EQ(cymbal->getPositionEnvelope(), 0.0) << decay;
            EXPECT_LT(previous, 0.001) << decay;
        }
}

TEST(SampledVoices, CrashAndRideSoundWithTheirDefaultsBeforeAnyControlIsSet)
{
    PulsettaCrash crash;
    PulsettaRide ride;
    for (PulsettaCymbal* cymbal : { static_cast<PulsettaCymbal*>(&crash), static_cast<PulsettaCymbal*>(&ride) })
    {
        EXPECT_EQ(cymbal->getDecayFactor(), 1.0);
        cymbal->setLevel(1.0);
        for (int n = 0; n < 44100; ++n)
            cymbal->process();
        cymbal->trigger(1.0);
        Signal out;
        for (int n = 0; n < 44100; ++n)
            out.push_back(cymbal->process());
        EXPECT_TRUE(allFinite(out));
        EXPECT_GT(peak(out), 0.05);
        EXPECT_GT(peak(out, 30000, 0), 0.001); // still ringing after 0.7 s
    }
}

TEST(Voices, VelocityScalesThePeak)
{
    // Half velocity: half the rim shot, a quarter of every sampled voice.
    const struct { int slot; double ratio; } cases[] = {
        { instrument::rimShot, 0.5 }, { instrument::closedHiHat, 0.25 }, { instrument::openHiHat, 0.25 },
        { instrument::crash, 0.25 },  { instrument::ride, 0.25 },
    };
    for (const auto& c : cases)
    {
        Signal hits[2];
        for (int i = 0; i < 2; ++i)
        {
            auto core = makeCore(44100.0, 44100);
            core->setParameter(c.slot, 1.0f);
            render(*core, 44100);
            hits[i] = renderVoice(*core, c.slot, 8000, { { 0, c.slot, i == 0 ? 1.0f : 0.5f } });
        }
        for (std::size_t n = 0; n < hits[0].size(); ++n)
            ASSERT_NEAR(hits[1][n], c.ratio * hits[0][n], 1e-9) << "slot " << c.slot << " sample " << n;
        EXPECT_NEAR(peak(hits[1]) / peak(hits[0]), c.ratio, 1e-9) << "slot " << c.slot;
    }
}

TEST(SampledVoices, HiHatsChokeEachOtherAndTheOpenOnePlaysAgainAfterItsRingOutOrAChoke)
{
    auto core = makeCore(44100.0, 44100);
    const std::int64_t second = 10000;
    for (const auto& [first, next] : { std::pair{ instrument::closedHiHat, instrument::openHiHat },
                                       { instrument::openHiHat, instrument::closedHiHat } })
    {
        const auto rendering = render(*core, 30000, { { 0, first, 1.0f }, { second, next, 1.0f } });
        const double firstPeak = peak(rendering.voice(first), 0, second);
        EXPECT_GT(firstPeak, 0.01) << first;
        EXPECT_LT(peak(rendering.voice(first), second + 1, 0), firstPeak * 1e-3) << first << " stops at once";
        EXPECT_GT(peak(rendering.voice(next), second, 0), 0.01) << next << " plays";
    }

    const std::int64_t afterRingOut = 30000; // past source position 16128 at tune 1
    const auto rendering = render(*core, 40000, { { 0, instrument::openHiHat, 1.0f },
                                                  { afterRingOut, instrument::openHiHat, 1.0f } });
    const auto& open = rendering.voice(instrument::openHiHat);
    const double first = peak(open, 0, 20000);
    EXPECT_LT(peak(open, 24000, afterRingOut), first * 1e-3);
    EXPECT_NEAR(peak(open, afterRingOut, 0), first, first * 0.05);

    const auto choked = render(*core, 20000, { { 0, instrument::openHiHat, 1.0f },
                                               { 5000, instrument::closedHiHat, 1.0f },
                                               { 10000, instrument::openHiHat, 1.0f } });
    const auto& openAgain = choked.voice(instrument::openHiHat);
    // Only the output stage's slow 1 Hz memories are left after a choke: -50 dB.
    EXPECT_LT(peak(openAgain, 5001, 10000), first * 3e-3);
    EXPECT_GT(peak(openAgain, 10000, 0), first * 0.5);
    EXPECT_LT(peak(choked.voice(instrument::closedHiHat), 10001, 0), first * 3e-3);
}
