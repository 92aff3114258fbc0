#include "DspTestKit.h"

#include "voices/PulsettaClosedHiHat.h"
#include "voices/PulsettaCymbal.h"
#include "voices/PulsettaOpenHiHat.h"
#include "voices/sampletables/SampleTableKey.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace
{
/** Output samples a voice plays before its table runs out. */
int samplesUntilTheEnd(PulsettaSampledInstrument& voice, int limit)
{
    voice.trigger(1.0);
    int n = 0;
    while (voice.isPlaying() && n < limit)
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
    double process() override
    {
        double x = 0.0;
        if (active && playing)
        {
            advance(1.0);
            x = readAtPosition();
        }
        return renderOutput(x);
    }
};
} // namespace

TEST(SampledInstrument, DecodesScrambledOffsetBinary)
{
    const std::vector<std::uint8_t> plain { 0, 64, 128, 192, 255, 128, 1 };
    const auto stored = scramble(plain);
    TestTableVoice voice(stored.data(), static_cast<std::uint32_t>(stored.size()));
    ASSERT_EQ(voice.getLength(), plain.size());
    EXPECT_EQ(voice.getSample(0), -1.0);
    EXPECT_EQ(voice.getSample(1), -0.5);
    EXPECT_EQ(voice.getSample(2), 0.0);
    EXPECT_EQ(voice.getSample(3), 0.5);
    EXPECT_EQ(voice.getSample(4), 127.0 / 128.0);
    EXPECT_EQ(voice.getSample(6), 1.0 / 128.0 - 1.0);
    EXPECT_EQ(voice.getSample(99), 0.0); // past the end reads silence
}

TEST(SampledInstrument, EmptyOrMissingTableIsSilentAndStops)
{
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

TEST(SampledVoices, TuneFactorsAtTheEndsAndMiddle)
{
    PulsettaClosedHiHat closed;
    PulsettaOpenHiHat open;
    PulsettaCrash crash;
    PulsettaRide ride;
    const double expected[3] = { 0.75, 1.0, 1.53 };
    const double rideExpected[3] = { 0.82, 1.07, 1.58 };
    for (int i = 0; i < 3; ++i)
    {
        const double v = 0.5 * i;
        closed.setTune(v);
        open.setTune(v);
        crash.setTune(v);
        ride.setTune(v);
        EXPECT_NEAR(closed.getTuneFactor(), expected[i], 0.005);
        EXPECT_NEAR(open.getTuneFactor(), expected[i], 0.005);
        EXPECT_NEAR(crash.getTuneFactor(), expected[i], 0.005);
        EXPECT_NEAR(ride.getTuneFactor(), rideExpected[i], 0.005);
    }
    closed.setTune(0.5);
    crash.setTune(0.5);
    EXPECT_NEAR(closed.getTuneFactor(), 1.0, 1e-5);
    EXPECT_NEAR(crash.getTuneFactor(), closed.getTuneFactor(), 1e-6); // double against single precision v + 1
}

TEST(SampledVoices, DecayRatesAtTheEndsAndMiddle)
{
    PulsettaClosedHiHat closed;
    PulsettaOpenHiHat open;
    const double closedRates[3] = { 0.00253, 0.0005, 0.000302 };
    const double openRates[3] = { 0.0003, 0.00015, 0.00009 };
    for (int i = 0; i < 3; ++i)
    {
        closed.setDecay(0.5 * i);
        open.setDecay(0.5 * i);
        EXPECT_NEAR(closed.getDecayRate(), closedRates[i], closedRates[i] * 0.01);
        EXPECT_NEAR(open.getDecayRate(), openRates[i], openRates[i] * 0.03);
    }
    closed.setSampleRate(96000.0);
    EXPECT_NEAR(closed.getDecayRate(), closedRates[2] * closed.getContext().smoothing, 1e-6);
}

TEST(SampledVoices, ClosedHiHatLengthFollowsTheTuneFactor)
{
    PulsettaClosedHiHat hat;
    hat.setSampleRate(44100.0);
    hat.setLevel(1.0);
    hat.setDecay(1.0);
    const double step = 31200.0 / 44100.0;

    hat.setTune(0.5);
    const int atMiddle = samplesUntilTheEnd(hat, 100000);
    // It stops once the read index is two past the table's 8128 samples: about 0.26 s.
    EXPECT_EQ(atMiddle, outputSampleOf(8130.0, step * hat.getTuneFactor()));
    EXPECT_NEAR(atMiddle, 11492, 2);

    hat.setTune(1.0);
    const int atTop = samplesUntilTheEnd(hat, 100000);
    EXPECT_NEAR(static_cast<double>(atTop), atMiddle / hat.getTuneFactor(), 1.0);
    hat.setTune(0.0);
    const int atBottom = samplesUntilTheEnd(hat, 100000);
    EXPECT_NEAR(static_cast<double>(atBottom), atMiddle / hat.getTuneFactor(), 1.0);
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
    {
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
}

TEST(SampledVoices, CrashAndRideSoundWithTheirDefaultsBeforeAnyControlIsSet)
{
    PulsettaCrash crash;
    PulsettaRide ride;
    EXPECT_EQ(crash.getDecayFactor(), 1.0);
    EXPECT_EQ(ride.getDecayFactor(), 1.0);
    for (PulsettaCymbal* cymbal : { static_cast<PulsettaCymbal*>(&crash), static_cast<PulsettaCymbal*>(&ride) })
    {
        cymbal->setLevel(1.0);
        for (int n = 0; n < 44100; ++n)
            cymbal->process();
        cymbal->trigger(1.0);
        dsptest::Signal out;
        for (int n = 0; n < 44100; ++n)
            out.push_back(cymbal->process());
        EXPECT_TRUE(dsptest::allFinite(out));
        EXPECT_GT(dsptest::peak(out), 0.05);
        EXPECT_GT(dsptest::peak(out, 30000, 0), 0.001); // still ringing after 0.7 s
    }
}

TEST(SampledVoices, HalfVelocityGivesAQuarterOfThePeak)
{
    std::vector<std::unique_ptr<PulsettaSampledInstrument>> loud, soft;
    for (auto* list : { &loud, &soft })
    {
        list->push_back(std::make_unique<PulsettaClosedHiHat>());
        list->push_back(std::make_unique<PulsettaOpenHiHat>());
        list->push_back(std::make_unique<PulsettaCrash>());
        list->push_back(std::make_unique<PulsettaRide>());
    }
    for (std::size_t i = 0; i < loud.size(); ++i)
    {
        loud[i]->setLevel(1.0);
        soft[i]->setLevel(1.0);
        for (int n = 0; n < 44100; ++n)
        {
            loud[i]->process();
            soft[i]->process();
        }
        loud[i]->trigger(1.0);
        soft[i]->trigger(0.5);
        EXPECT_DOUBLE_EQ(soft[i]->getAmplitude(), 0.25 * loud[i]->getAmplitude());
        double loudPeak = 0.0, softPeak = 0.0;
        for (int n = 0; n < 8000; ++n)
        {
            loudPeak = std::max(loudPeak, std::fabs(loud[i]->process()));
            softPeak = std::max(softPeak, std::fabs(soft[i]->process()));
        }
        EXPECT_NEAR(softPeak / loudPeak, 0.25, 1e-9) << i;
    }
}

TEST(SampledVoices, TriggerWhileLevelIsZeroIsIgnoredAndTheVoicePlaysOn)
{
    PulsettaOpenHiHat hat;
    PulsettaCrash crash;
    for (PulsettaSampledInstrument* voice : { static_cast<PulsettaSampledInstrument*>(&hat),
                                              static_cast<PulsettaSampledInstrument*>(&crash) })
    {
        voice->setLevel(1.0);
        voice->trigger(1.0);
        for (int n = 0; n < 1000; ++n)
            voice->process();
        const double position = voice->getPosition();
        voice->setLevel(0.0);
        voice->trigger(1.0);
        voice->process();
        EXPECT_GT(voice->getPosition(), position);
        EXPECT_TRUE(voice->isPlaying());
    }
}

TEST(SampledVoices, ChokeWorksBothWaysThroughTheCore)
{
    const double rate = 44100.0;
    auto core = dsptest::makeCore(rate, 44100);
    const std::int64_t second = 10000;

    // Closed hat, then open hat: the closed one stops at once.
    auto closedFirst = dsptest::render(*core, 30000,
                                       { { 0, instrument::closedHiHat, 1.0f }, { second, instrument::openHiHat, 1.0f } });
    const auto& closedVoice = closedFirst.voice(instrument::closedHiHat);
    const double closedPeak = dsptest::peak(closedVoice, 0, second);
    EXPECT_GT(closedPeak, 0.01);
    EXPECT_LT(dsptest::peak(closedVoice, second + 1, 0), closedPeak * 1e-3);
    EXPECT_GT(dsptest::peak(closedFirst.voice(instrument::openHiHat), second, 0), 0.01);

    // Open hat, then closed hat: the open one stops and the closed one plays.
    auto openFirst = dsptest::render(*core, 30000,
                                     { { 0, instrument::openHiHat, 1.0f }, { second, instrument::closedHiHat, 1.0f } });
    const auto& openVoice = openFirst.voice(instrument::openHiHat);
    const double openPeak = dsptest::peak(openVoice, 0, second);
    EXPECT_GT(openPeak, 0.01);
    EXPECT_LT(dsptest::peak(openVoice, second + 1, 0), openPeak * 1e-3);
    EXPECT_GT(dsptest::peak(openFirst.voice(instrument::closedHiHat), second, 0), 0.01);
}

TEST(SampledVoices, ValuesOutOfRangeAreHeldToTheirRangeAndUnknownControlsIgnored)
{
    PulsettaClosedHiHat hat;
    hat.setControl(PulsettaClosedHiHat::tuneControl, 3.0);
    EXPECT_NEAR(hat.getTuneFactor(), 1.53, 0.005);
    hat.setControl(PulsettaClosedHiHat::tuneControl, std::nan(""));
    EXPECT_NEAR(hat.getTuneFactor(), 0.75, 0.005);
    hat.setControl(5, 1.0);
    EXPECT_NEAR(hat.getTuneFactor(), 0.75, 0.005);

    PulsettaRide ride;
    ride.setControl(PulsettaCymbal::decayControl, -1.0);
    EXPECT_DOUBLE_EQ(ride.getDecayFactor(), 0.1);
    ride.setSampleRate(-44100.0);
    EXPECT_EQ(ride.getSourceStep(), 31200.0 / 44100.0);
}

TEST(SampledVoices, OpenHiHatPlaysAgainAfterItsRingOutOrAChoke)
{
    auto core = dsptest::makeCore(44100.0, 44100);
    const std::int64_t afterRingOut = 30000; // past source position 16128 at tune 1
    const auto rendering = dsptest::render(*core, 40000,
                                           { { 0, instrument::openHiHat, 1.0f },
                                             { afterRingOut, instrument::openHiHat, 1.0f } });
    const auto& open = rendering.voice(instrument::openHiHat);
    const double first = dsptest::peak(open, 0, 20000);
    EXPECT_LT(dsptest::peak(open, 24000, afterRingOut), first * 1e-3);
    EXPECT_NEAR(dsptest::peak(open, afterRingOut, 0), first, first * 0.05);

    const auto choked = dsptest::render(*core, 20000,
                                        { { 0, instrument::openHiHat, 1.0f },
                                          { 5000, instrument::closedHiHat, 1.0f },
                                          { 10000, instrument::openHiHat, 1.0f } });
    const auto& openAgain = choked.voice(instrument::openHiHat);
    // Only the output stage's slow 1 Hz memories are left after a choke: -50 dB.
    EXPECT_LT(dsptest::peak(openAgain, 5001, 10000), first * 3e-3);
    EXPECT_GT(dsptest::peak(openAgain, 10000, 0), first * 0.5);
    EXPECT_LT(dsptest::peak(choked.voice(instrument::closedHiHat), 10001, 0), first * 3e-3);
}
