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
#include <type_traits>
#include <typeinfo>

using namespace dsptest;

namespace
{
std::vector<Hit> everyVoiceOnce(std::int64_t at)
{
    std::vector<Hit> hits;
    for (int slot = 0; slot < instrument::numVoices; ++slot)
        hits.push_back({ at, slot, 1.0f });
    return hits;
}

void expectSameVoices(const Rendering& a, const Rendering& b)
{
    for (int slot = 0; slot < instrument::numVoices; ++slot)
        EXPECT_EQ(a.voice(slot), b.voice(slot)) << "slot " << slot;
}

std::unique_ptr<PulsettaCore> coreWithTriggerOut(double rate, int source)
{
    auto core = makeCore(rate);
    core->setTriggerOutEnabled(true);
    core->setTriggerOutSource(source);
    core->initTriggerOutPulse();
    return core;
}

Signal head(const Signal& signal, std::size_t length)
{
    return Signal(signal.begin(), signal.begin() + static_cast<std::ptrdiff_t>(length));
}
} // namespace

TEST(WhiteNoise, FirstValuesFollowFromTheSeedWordsAndStayWithinHalf)
{
    WhiteNoise noise;
    noise.reseed();
    // 0xEFCDAB89 as a signed word over 2^32, then 0x78563411 (the seeds
    // XOR-ed and added).
    EXPECT_EQ(noise.next(), static_cast<double>(static_cast<float>(-271733879) * 2.3283064365386963e-10f));
    EXPECT_EQ(noise.next(), static_cast<double>(static_cast<float>(0x78563411) * 2.3283064365386963e-10f));
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
    EXPECT_EQ(noise.next(), static_cast<double>(static_cast<float>(-271733879) * 2.3283064365386963e-10f));
}

TEST(TriggerOut, PulseRisesAboutSixtySamplesAfterTheTriggerFallsAbout16MsLaterAndSettles)
{
    for (double rate : { 44100.0, 96000.0 })
    {
        auto core = coreWithTriggerOut(rate, instrument::bassDrum);
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
        EXPECT_NEAR(static_cast<double>(fall - rise) / rate * 1000.0, 16.4, 0.5) << rate;
        EXPECT_NEAR(out[fall + 2], -0.25, 0.05) << rate;

        EXPECT_LT(peak(out, frames / 2, frames), 1e-3) << rate;
        EXPECT_TRUE(allFinite(out));
    }
}

TEST(TriggerOut, FollowsOnlyItsSourceWhileEnabledAndARetriggerRestartsTheRunningPulse)
{
    auto core = makeCore(44100.0);
    core->setTriggerOutSource(instrument::hiTom);
    EXPECT_EQ(peak(render(*core, 4000, { { 10, instrument::hiTom, 1.0f } }).triggerOut), 0.0); // disabled
    core->setTriggerOutEnabled(true);
    core->initTriggerOutPulse();
    EXPECT_LT(peak(render(*core, 4000, { { 10, instrument::bassDrum, 1.0f } }).triggerOut), 1e-12);

    core = coreWithTriggerOut(44100.0, instrument::hiTom);
    const auto once = render(*core, 2000, { { 0, instrument::hiTom, 1.0f } }).triggerOut;
    core->initTriggerOutPulse();
    const auto twice = render(*core, 2000, { { 0, instrument::hiTom, 1.0f }, { 400, instrument::hiTom, 1.0f } }).triggerOut;
    // Without the retrigger the pulse has drooped by then; with it a new edge rises.
    EXPECT_LT(once[470], 0.05);
    EXPECT_GT(twice[470], 0.2);
    EXPECT_EQ(head(once, 400), head(twice, 400));

    // The accent and unknown slots move the pulse and no voice.
    auto quiet = makeCore(44100.0, 1000);
    auto poked = coreWithTriggerOut(44100.0, instrument::accent);
    render(*poked, 1000);
    const std::vector<Hit> hits = { { 0, instrument::accent, 1.0f }, { 5, 12, 1.0f }, { 6, -1, 1.0f } };
    const auto b = render(*poked, 3000, hits);
    expectSameVoices(render(*quiet, 3000, hits), b);
    EXPECT_GT(peak(b.triggerOut), 0.1);
}

TEST(PulsettaCore, VoicesSitInTheSlotOrderOfTheInstrumentTable)
{
    // The closed hi-hat is slot 7 and the open one slot 8, whatever order
    // they might be built in: parameters, choke and routing follow the slots.
    PulsettaCore core;
    const std::type_info* types[] = { &typeid(PulsettaBassDrum), &typeid(PulsettaSnareDrum), &typeid(PulsettaLowTom),
                                      &typeid(PulsettaMidTom),   &typeid(PulsettaHiTom),     &typeid(PulsettaRimshot),
                                      &typeid(PulsettaHandClap), &typeid(PulsettaClosedHiHat), &typeid(PulsettaOpenHiHat),
                                      &typeid(PulsettaCrash),    &typeid(PulsettaRide) };
    for (int slot = 0; slot < instrument::numVoices; ++slot)
    {
        const auto& voice = core.getVoice(slot);
        EXPECT_EQ(typeid(voice), *types[slot]) << "slot " << slot;
    }
}

TEST(PulsettaCore, VoicesAndCoresAreDeletedThroughTheirBases)
{
    static_assert(std::has_virtual_destructor_v<PulsettaInstrument>);
    static_assert(std::has_virtual_destructor_v<DrumMachineCore>);
    std::unique_ptr<DrumMachineCore> core = std::make_unique<PulsettaCore>();
    std::unique_ptr<PulsettaInstrument> voice = std::make_unique<PulsettaHiTom>();
    core.reset(); // the sanitizer build checks that the derived parts go too
    voice.reset();
}

TEST(PulsettaCore, HiHatTriggersSetTheChokeFlagsBothWays)
{
    PulsettaCore core;
    const struct { int slot; bool closedChoked, openChoked; } steps[] = {
        { instrument::closedHiHat, false, true },
        { instrument::openHiHat, true, false },
        { instrument::bassDrum, true, false },
    };
    for (const auto& step : steps)
    {
        core.trigger(step.slot, 1.0f);
        EXPECT_EQ(core.getVoice(instrument::closedHiHat).isChoked(), step.closedChoked) << step.slot;
        EXPECT_EQ(core.getVoice(instrument::openHiHat).isChoked(), step.openChoked) << step.slot;
    }
}

TEST(PulsettaCore, LevelsAndControlsReachTheirVoices)
{
    // The controls' effects are measured through the core in the voices' own tests.
    PulsettaCore core;
    for (int index = 0; index < instrument::numVoices; ++index)
    {
        core.setParameter(index, 0.125f * static_cast<float>(index % 8));
        EXPECT_EQ(core.getVoice(index).getLevelTarget(), 0.125 * (index % 8)) << index;
    }
    core.setParameter(36, 1.0f); // Hi Tom Tune Decay
    EXPECT_NEAR(static_cast<const PulsettaTom&>(core.getVoice(instrument::hiTom)).getTuneDecay(), 0.25, 1e-12);
    EXPECT_NEAR(static_cast<const PulsettaTom&>(core.getVoice(instrument::midTom)).getTuneDecay(), 0.75, 1e-12);
}

TEST(PulsettaCore, OutOfRangeValuesAreHeldToTheRangeAndUnknownParametersChangeNothing)
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
    for (int index : { 11, 50, 83, 142, -1, 1000 }) // the accent level is no sound parameter
        wild->setParameter(index, 0.9f);
    const auto a = render(*wild, 44100, everyVoiceOnce(10));
    const auto b = render(*tame, 44100, everyVoiceOnce(10));
    expectSameVoices(a, b);
    EXPECT_TRUE(allFinite(a.mix()));
    EXPECT_GT(peak(a.mix()), 0.1);
}

TEST(PulsettaCore, UnusableRatesAreRefused)
{
    auto core = makeCore(48000.0);
    for (float rate : { 0.0f, -1.0f, std::nanf(""), HUGE_VALF })
    {
        core->setSampleRate(rate);
        EXPECT_EQ(core->getContext().sampleRate, 48000.0) << rate;
        EXPECT_EQ(core->getContext().rateIndex, 1) << rate;
        for (int slot = 0; slot < instrument::numVoices; ++slot)
            EXPECT_EQ(core->getVoice(slot).getContext().sampleRate, 48000.0) << rate << " slot " << slot;
    }
    EXPECT_TRUE(allFinite(render(*core, 5000, everyVoiceOnce(0)).mix()));
}

TEST(PulsettaCore, MainVolumeIsReachedSmoothlyFromSilence)
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
    const std::vector<Hit> hit = { { 1000, instrument::snareDrum, 1.0f } };
    EXPECT_EQ(renderVoice(core, instrument::snareDrum, 20000, hit),
              renderVoice(*makeCore(44100.0), instrument::snareDrum, 20000, hit));
}

TEST(PulsettaCore, SilentTriggersLeaveTheOutputUntouchedFromSilenceAndWhileVoicesPlay)
{
    // Velocity 0 on the snare (and the bass drum) from silence.
    auto untouched = makeCore(44100.0, 100);
    auto poked = makeCore(44100.0, 100);
    expectSameVoices(render(*untouched, 10000),
                     render(*poked, 10000, { { 50, instrument::snareDrum, 0.0f }, { 60, instrument::bassDrum, 0.0f } }));

    // Level 0 on every voice, from silence, then again while each voice still
    // rings out from a hit given at full level: the trigger is ignored.
    for (auto* core : { untouched.get(), poked.get() })
        for (int slot = 0; slot < instrument::numVoices; ++slot)
            core->setParameter(slot, 0.0f);
    render(*untouched, 5000);
    render(*poked, 5000);
    expectSameVoices(render(*untouched, 10000), render(*poked, 10000, everyVoiceOnce(100)));
    for (int slot = instrument::bassDrum; slot < instrument::rimShot; ++slot)
        EXPECT_FALSE(poked->getVoice(slot).isActive()) << slot;

    // The voices that play on are those with no shared state a trigger moves
    // (the hi-hats choke each other, a tom starts the tom noise).
    std::vector<Hit> playOn;
    for (int slot : { instrument::rimShot, instrument::handClap, instrument::openHiHat, instrument::crash, instrument::ride })
        playOn.push_back({ 0, slot, 1.0f });
    for (auto* core : { untouched.get(), poked.get() })
    {
        for (const auto& hit : playOn)
            core->setParameter(hit.instrument, 1.0f);
        render(*core, 20000);
        render(*core, 300, playOn);
        for (const auto& hit : playOn)
            core->setParameter(hit.instrument, 0.0f);
    }
    const auto a = render(*untouched, 3000);
    const auto b = render(*poked, 3000, playOn);
    expectSameVoices(a, b);
    for (const auto& hit : playOn)
    {
        EXPECT_GT(peak(b.voice(hit.instrument)), 1e-3) << "slot " << hit.instrument << " plays on";
        EXPECT_TRUE(poked->getVoice(hit.instrument).isActive()) << "slot " << hit.instrument;
    }
}

TEST(PulsettaCore, RenderingInPiecesGivesTheSameBitsAsInOneRunAndEveryRunTheSame)
{
    const std::vector<Hit> hits = { { 0, 0, 1.0f },     { 300, 1, 0.7f },     { 4410, 2, 1.0f },  { 4410, 4, 0.3f },
                                    { 9000, 3, 1.378f }, { 12000, 0, 0.5f },  { 12001, 1, 1.0f }, { 20000, 2, 0.2f },
                                    { 21000, 5, 1.0f },  { 22000, 6, 0.8f },  { 23000, 7, 1.0f }, { 23500, 8, 1.0f },
                                    { 24000, 9, 0.6f },  { 25000, 10, 1.0f }, { 30000, 7, 1.0f } };
    auto whole = makeCore(48000.0, 100);
    const auto once = render(*whole, 40000, hits);
    auto again = makeCore(48000.0, 100);
    expectSameVoices(once, render(*again, 40000, hits));

    auto pieces = makeCore(48000.0, 100);
    Rendering joined;
    const std::int64_t cuts[] = { 0, 1, 299, 300, 5000, 12000, 12001, 23500, 33333, 40000 };
    for (std::size_t c = 0; c + 1 < std::size(cuts); ++c)
    {
        std::vector<Hit> inPiece;
        for (const auto& hit : hits)
            if (hit.sample >= cuts[c] && hit.sample < cuts[c + 1])
                inPiece.push_back({ hit.sample - cuts[c], hit.instrument, hit.velocity });
        const auto piece = render(*pieces, static_cast<std::size_t>(cuts[c + 1] - cuts[c]), inPiece);
        for (std::size_t slot = 0; slot < joined.voices.size(); ++slot)
            joined.voices[slot].insert(joined.voices[slot].end(), piece.voices[slot].begin(), piece.voices[slot].end());
    }
    expectSameVoices(once, joined);
}

TEST(PulsettaCore, ATripThroughAnotherRateAndBackSoundsLikeAFreshCore)
{
    // The rate change restarts the noise and every voice: the core then
    // sounds exactly like a fresh one with the same settled master gain.
    const auto hits = everyVoiceOnce(10);
    auto tripped = makeCore(44100.0, 100);
    render(*tripped, 20000, hits);
    tripped->setSampleRate(96000.0f);
    render(*tripped, 5000, hits);
    tripped->setSampleRate(44100.0f);
    auto fresh = makeCore(44100.0);
    fresh->setSampleRate(44100.0f);
    render(*fresh, 44100);
    render(*tripped, 44100);
    EXPECT_NEAR(fresh->getMasterGain(), tripped->getMasterGain(), 1e-12);
    const auto again = render(*tripped, 20000, hits);
    const auto reference = render(*fresh, 20000, hits);
    for (int slot = 0; slot < instrument::numVoices; ++slot)
    {
        double largestDifference = 0.0;
        for (std::size_t n = 0; n < again.voice(slot).size(); ++n)
            largestDifference = std::max(largestDifference, std::fabs(again.voice(slot)[n] - reference.voice(slot)[n]));
        EXPECT_LT(largestDifference, 1e-9) << slot;
    }
}

TEST(TomNoise, BurstWaitsTwoMillisecondsThenJumpsToTheLoudestVelocitySinceTheRateChange)
{
    TomNoise noise;
    auto rateChange = [&noise] {
        noise.setSampleRate(44100.0, 1.0);
        noise.process(0.0); // the counter left by the rate change passes zero
    };
    auto run = [&noise](int samples) {
        for (int i = 0; i < samples; ++i)
            noise.process(0.1);
        return noise.getBurstEnvelope();
    };
    rateChange();
    noise.start(1.0);
    EXPECT_LT(run(88), 0.01);
    EXPECT_NEAR(run(1), 1.0 - 0.04, 1e-9);
    run(10000);
    noise.start(0.2); // a softer hit still starts at the latched 1.0
    EXPECT_NEAR(run(89), 1.0 - 0.04, 1e-9);
    rateChange(); // only a rate change clears the latch
    noise.start(0.2);
    EXPECT_NEAR(run(89), 0.2 * 0.96, 1e-9);
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
    EXPECT_EQ(head(a.voice(instrument::lowTom), 5000), head(b.voice(instrument::lowTom), 5000));
    EXPECT_NE(a.voice(instrument::lowTom), b.voice(instrument::lowTom));
    EXPECT_EQ(peak(a.voice(instrument::midTom)), peak(b.voice(instrument::midTom)));
}

TEST(PulsettaCore, HiHatDecayAndClapReverbTurnedWhileTheVoiceSoundsTakeEffectAtTheNextHit)
{
    // Each knob turned 100 ms into a hit, after the hat's attack and the
    // clap's burst window, where the voice took its value.
    const struct { int slot, parameter; } cases[] = {
        { instrument::closedHiHat, 42 }, { instrument::openHiHat, 44 }, { instrument::handClap, 40 }
    };
    const std::int64_t turnedAt = 4410, nextHit = turnedAt + 11025;
    for (const auto& c : cases)
    {
        Signal played[2];
        for (int turned = 0; turned < 2; ++turned)
        {
            auto core = makeCore(44100.0, 44100);
            core->setParameter(c.slot, 1.0f);
            played[turned] = renderVoice(*core, c.slot, turnedAt, { { 0, c.slot, 1.0f } });
            if (turned == 1)
                core->setParameter(c.parameter, 0.0f);
            const auto rest = renderVoice(*core, c.slot, 22050, { { nextHit - turnedAt, c.slot, 1.0f } });
            played[turned].insert(played[turned].end(), rest.begin(), rest.end());
        }
        EXPECT_EQ(head(played[1], nextHit), head(played[0], nextHit)) << "slot " << c.slot << ": the sounding voice keeps its value";
        EXPECT_NE(played[1], played[0]) << "slot " << c.slot << ": the next hit takes the new value";
    }
}
