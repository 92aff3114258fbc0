#include "DspTestKit.h"

#include "voices/PulsettaBassDrum.h"
#include "voices/PulsettaClosedHiHat.h"
#include "voices/PulsettaCymbal.h"
#include "voices/PulsettaHandClap.h"
#include "voices/PulsettaOpenHiHat.h"
#include "voices/PulsettaRimshot.h"
#include "voices/PulsettaSnareDrum.h"
#include "voices/PulsettaTom.h"
#include "voices/TomNoise.h"
#include "voices/WhiteNoise.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <type_traits>

using namespace dsptest;

TEST(WhiteNoise, FirstValuesFollowFromTheSeedWords)
{
    WhiteNoise noise;
    noise.reseed();
    // 0xEFCDAB89 as a signed word over 2^32, then 0x78563411 (the seeds
    // XOR-ed and added).
    EXPECT_EQ(noise.next(), static_cast<double>(static_cast<float>(-271733879) * 2.3283064365386963e-10f));
    EXPECT_EQ(noise.next(), static_cast<double>(static_cast<float>(0x78563411) * 2.3283064365386963e-10f));

    // The rest from an independent run of the recurrence.
    std::uint32_t s0 = 0x67452301u, s1 = 0xEFCDAB89u;
    for (int i = 0; i < 2; ++i)
    {
        s0 ^= s1;
        s1 += s0;
    }
    for (int i = 0; i < 16; ++i)
    {
        const double expected = static_cast<float>(static_cast<std::int32_t>(s1)) / 4294967296.0f;
        EXPECT_EQ(noise.next(), expected) << i;
        s0 ^= s1;
        s1 += s0;
    }
}

TEST(WhiteNoise, StaysWithinHalfAndRestartsOnReseed)
{
    WhiteNoise noise;
    noise.reseed();
    const double first = noise.next();
    double sum = 0.0;
    for (int i = 0; i < 100000; ++i)
    {
        const double x = noise.next();
        ASSERT_GE(x, -0.5);
        ASSERT_LE(x, 0.5);
        sum += x;
    }
    EXPECT_NEAR(sum / 100000.0, 0.0, 0.01);
    noise.reseed();
    EXPECT_EQ(noise.next(), first);
}

TEST(TriggerOut, SilentUntilItsSourceIsTriggeredWhileEnabled)
{
    auto core = makeCore(44100.0);
    core->setTriggerOutSource(instrument::snareDrum);
    auto rendering = render(*core, 4000, { { 10, instrument::snareDrum, 1.0f } });
    EXPECT_EQ(peak(rendering.triggerOut), 0.0); // disabled

    core->setTriggerOutEnabled(true);
    core->initTriggerOutPulse();
    rendering = render(*core, 4000, { { 10, instrument::bassDrum, 1.0f } });
    EXPECT_LT(peak(rendering.triggerOut), 1e-12); // not its source
}

TEST(TriggerOut, PulseRisesAboutSixtySamplesAfterTheTriggerFallsAbout16MsLaterAndSettles)
{
    for (double rate : { 44100.0, 96000.0 })
    {
        auto core = makeCore(rate);
        core->setTriggerOutEnabled(true);
        core->setTriggerOutSource(instrument::bassDrum);
        core->initTriggerOutPulse();
        const auto frames = static_cast<std::size_t>(rate); // one second
        const auto out = render(*core, frames, { { 0, instrument::bassDrum, 1.0f } }).triggerOut;

        // The rising edge: the first band-limited impulse, integrated.
        std::size_t rise = 0;
        while (rise < frames && out[rise] < 0.1)
            ++rise;
        EXPECT_NEAR(static_cast<double>(rise), 60.0, 3.0) << rate;
        EXPECT_NEAR(out[rise + 2], 0.25, 0.03) << rate;

        // The falling edge: the negative impulse 0.018 periods later.
        std::size_t fall = rise;
        while (fall < frames && out[fall] > -0.1)
            ++fall;
        const double widthMs = static_cast<double>(fall - rise) / rate * 1000.0;
        EXPECT_NEAR(widthMs, 16.4, 0.5) << rate;
        EXPECT_NEAR(out[fall + 2], -0.25, 0.05) << rate;

        EXPECT_LT(peak(out, frames / 2, frames), 1e-3) << rate;
        EXPECT_TRUE(allFinite(out));
    }
}

TEST(TriggerOut, RetriggerRestartsTheRunningPulse)
{
    auto core = makeCore(44100.0);
    core->setTriggerOutEnabled(true);
    core->setTriggerOutSource(instrument::hiTom);
    core->initTriggerOutPulse();
    const auto once = render(*core, 2000, { { 0, instrument::hiTom, 1.0f } }).triggerOut;
    core->initTriggerOutPulse();
    const auto twice = render(*core, 2000, { { 0, instrument::hiTom, 1.0f }, { 400, instrument::hiTom, 1.0f } }).triggerOut;

    // Without the retrigger the pulse has drooped by then; with it a new edge rises.
    EXPECT_LT(once[470], 0.05);
    EXPECT_GT(twice[470], 0.2);
    EXPECT_EQ(std::vector<double>(once.begin(), once.begin() + 400), std::vector<double>(twice.begin(), twice.begin() + 400));
}

TEST(TriggerOut, TriggersOutsideTheVoicesMoveOnlyThePulse)
{
    auto quiet = makeCore(44100.0, 1000);
    auto poked = makeCore(44100.0, 1000);
    poked->setTriggerOutEnabled(true);
    poked->setTriggerOutSource(instrument::accent);
    poked->initTriggerOutPulse();
    const std::vector<Hit> hits = { { 0, instrument::accent, 1.0f }, { 5, 12, 1.0f }, { 6, -1, 1.0f } };
    const auto a = render(*quiet, 3000, hits);
    const auto b = render(*poked, 3000, hits);
    for (int slot = 0; slot < instrument::numVoices; ++slot)
        EXPECT_EQ(a.voice(slot), b.voice(slot)) << slot;
    EXPECT_GT(peak(b.triggerOut), 0.1);
}

TEST(PulsettaCore, VoicesSitInTheSlotOrderOfTheInstrumentTable)
{
    // The closed hi-hat is slot 7 and the open one slot 8, whatever order
    // they might be built in: parameters, choke and routing follow the slots.
    PulsettaCore core;
    auto is = [&core](int slot, auto* typed) {
        using Voice = std::remove_pointer_t<decltype(typed)>;
        return dynamic_cast<const Voice*>(&core.getVoice(slot)) != nullptr;
    };
    EXPECT_TRUE(is(instrument::bassDrum, static_cast<PulsettaBassDrum*>(nullptr)));
    EXPECT_TRUE(is(instrument::snareDrum, static_cast<PulsettaSnareDrum*>(nullptr)));
    EXPECT_TRUE(is(instrument::lowTom, static_cast<PulsettaLowTom*>(nullptr)));
    EXPECT_TRUE(is(instrument::midTom, static_cast<PulsettaMidTom*>(nullptr)));
    EXPECT_TRUE(is(instrument::hiTom, static_cast<PulsettaHiTom*>(nullptr)));
    EXPECT_TRUE(is(instrument::rimShot, static_cast<PulsettaRimshot*>(nullptr)));
    EXPECT_TRUE(is(instrument::handClap, static_cast<PulsettaHandClap*>(nullptr)));
    EXPECT_TRUE(is(instrument::closedHiHat, static_cast<PulsettaClosedHiHat*>(nullptr)));
    EXPECT_TRUE(is(instrument::openHiHat, static_cast<PulsettaOpenHiHat*>(nullptr)));
    EXPECT_TRUE(is(instrument::crash, static_cast<PulsettaCrash*>(nullptr)));
    EXPECT_TRUE(is(instrument::ride, static_cast<PulsettaRide*>(nullptr)));
}

TEST(PulsettaCore, VoicesAndCoresAreDeletedThroughTheirBases)
{
    static_assert(std::has_virtual_destructor_v<PulsettaInstrument>);
    static_assert(std::has_virtual_destructor_v<DrumMachineCore>);
    std::unique_ptr<DrumMachineCore> core = std::make_unique<PulsettaCore>();
    std::unique_ptr<PulsettaInstrument> voice = std::make_unique<PulsettaHiTom>();
    EXPECT_EQ(voice->getContext().sampleRate, 44100.0);
    core.reset(); // the sanitizer build checks that the derived parts go too
    voice.reset();
}

TEST(PulsettaCore, HiHatTriggersSetTheChokeFlagsBothWays)
{
    PulsettaCore core;
    core.trigger(instrument::closedHiHat, 1.0f);
    EXPECT_FALSE(core.getVoice(instrument::closedHiHat).isChoked());
    EXPECT_TRUE(core.getVoice(instrument::openHiHat).isChoked());

    core.trigger(instrument::openHiHat, 1.0f);
    EXPECT_TRUE(core.getVoice(instrument::closedHiHat).isChoked());
    EXPECT_FALSE(core.getVoice(instrument::openHiHat).isChoked());

    core.trigger(instrument::bassDrum, 1.0f);
    EXPECT_TRUE(core.getVoice(instrument::closedHiHat).isChoked());
    EXPECT_FALSE(core.getVoice(instrument::openHiHat).isChoked());
}

TEST(PulsettaCore, SoundParametersReachTheirVoices)
{
    PulsettaCore core;
    core.setSampleRate(44100.0f);
    for (int index = 0; index < instrument::numVoices; ++index)
    {
        core.setParameter(index, 0.125f * static_cast<float>(index % 8));
        EXPECT_EQ(core.getVoice(index).getLevelTarget(), 0.125 * (index % 8)) << index;
    }

    core.setParameter(13, 1.0f); // Bass Drum Pitch
    EXPECT_NEAR(static_cast<const PulsettaBassDrum&>(core.getVoice(instrument::bassDrum)).getBaseFrequency(), 100.0, 0.01);
    core.setParameter(17, 1.0f); // Snare Drum Tune
    EXPECT_NEAR(static_cast<const PulsettaSnareDrum&>(core.getVoice(instrument::snareDrum)).getTuneFactor(), 1.3, 1e-12);
    const int tomTunes[] = { 22, 27, 32 };
    for (int tom = 0; tom < 3; ++tom)
    {
        core.setParameter(tomTunes[tom], 0.0f);
        EXPECT_NEAR(static_cast<const PulsettaTom&>(core.getVoice(instrument::lowTom + tom)).getTuneFactor(), 0.68, 1e-12);
    }
    core.setParameter(36, 1.0f); // Hi Tom Tune Decay
    EXPECT_NEAR(static_cast<const PulsettaTom&>(core.getVoice(instrument::hiTom)).getTuneDecay(), 0.25, 1e-12);
    EXPECT_NEAR(static_cast<const PulsettaTom&>(core.getVoice(instrument::midTom)).getTuneDecay(), 0.75, 1e-12);
}

TEST(PulsettaCore, AccentLevelAndUnknownParametersChangeNothing)
{
    auto reference = makeCore(44100.0, 100);
    auto poked = makeCore(44100.0, 100);
    for (int index : { 11, 50, 83, 142, -1, 1000 })
        poked->setParameter(index, 0.9f);
    const std::vector<Hit> hits = { { 0, 0, 1.0f }, { 0, 1, 1.0f }, { 0, 2, 1.0f }, { 0, 3, 1.0f }, { 0, 4, 1.0f } };
    const auto a = render(*reference, 5000, hits);
    const auto b = render(*poked, 5000, hits);
    for (int slot = 0; slot < instrument::numVoices; ++slot)
        EXPECT_EQ(a.voice(slot), b.voice(slot)) << slot;
}

TEST(PulsettaCore, MainVolumeIsReachedExponentiallyFromSilence)
{
    PulsettaCore core;
    core.setSampleRate(44100.0f);
    core.setParameter(instrument::mainVolumeParameter, 0.5f);
    EXPECT_EQ(core.getMasterGain(), 0.0);
    double out[instrument::numVoices];
    for (int i = 0; i < 500; ++i)
        core.process(out);
    EXPECT_NEAR(core.getMasterGain(), 0.5 * (1.0 - std::pow(0.998, 500.0)), 1e-6);
    for (int i = 0; i < 20000; ++i)
        core.process(out);
    EXPECT_NEAR(core.getMasterGain(), 0.5, 1e-6);
}

TEST(PulsettaCore, NoiseRendersBeforeTheFirstRateChange)
{
    // The processor sets the rate before rendering, but a core that renders
    // first must still give its snare its noise.
    PulsettaCore core;
    applyDefaultParameters(core);
    const auto snare = renderVoice(core, instrument::snareDrum, 20000, { { 1000, instrument::snareDrum, 1.0f } });
    auto prepared = makeCore(44100.0);
    const auto expected = renderVoice(*prepared, instrument::snareDrum, 20000, { { 1000, instrument::snareDrum, 1.0f } });
    EXPECT_EQ(snare, expected);
}

TEST(TomNoise, BurstWaitsTwoMillisecondsThenJumpsToTheLoudestVelocity)
{
    TomNoise noise;
    noise.setSampleRate(44100.0, 1.0);
    noise.process(0.0); // the counter left by the rate change passes zero
    noise.start(1.0);
    for (int i = 0; i < 88; ++i)
        noise.process(0.1);
    EXPECT_LT(noise.getBurstEnvelope(), 0.01);
    noise.process(0.1);
    EXPECT_NEAR(noise.getBurstEnvelope(), 1.0 - 0.04, 1e-9);

    for (int i = 0; i < 10000; ++i)
        noise.process(0.1);
    noise.start(0.2); // softer hit: the burst still starts at the latched 1.0
    for (int i = 0; i < 89; ++i)
        noise.process(0.1);
    EXPECT_NEAR(noise.getBurstEnvelope(), 1.0 - 0.04, 1e-9);

    noise.setSampleRate(44100.0, 1.0); // only a rate change clears the latch
    noise.process(0.0);
    noise.start(0.2);
    for (int i = 0; i < 89; ++i)
        noise.process(0.1);
    EXPECT_NEAR(noise.getBurstEnvelope(), 0.2 * 0.96, 1e-9);
}

TEST(TomNoise, BurstCounterStopsBelowZeroInsteadOfRunningOnForever)
{
    TomNoise noise;
    noise.setSampleRate(48000.0, smoothingFactorFor(48000.0));
    noise.start(1.0);
    for (int i = 0; i < 200000; ++i)
        noise.process(0.0);
    EXPECT_EQ(noise.getBurstCounter(), -1);
}

TEST(PulsettaCore, HighTomHitAddsNoiseToASoundingLowTomOnly)
{
    auto alone = makeCore(44100.0, 2000);
    auto joined = makeCore(44100.0, 2000);
    const auto a = render(*alone, 20000, { { 0, instrument::lowTom, 1.0f } });
    const auto b = render(*joined, 20000, { { 0, instrument::lowTom, 1.0f }, { 5000, instrument::hiTom, 1.0f } });
    EXPECT_EQ(std::vector<double>(a.voice(instrument::lowTom).begin(), a.voice(instrument::lowTom).begin() + 5000),
              std::vector<double>(b.voice(instrument::lowTom).begin(), b.voice(instrument::lowTom).begin() + 5000));
    EXPECT_NE(a.voice(instrument::lowTom), b.voice(instrument::lowTom));
    EXPECT_EQ(peak(a.voice(instrument::midTom)), peak(b.voice(instrument::midTom)));
}
