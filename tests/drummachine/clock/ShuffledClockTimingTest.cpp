// Where the clock puts its step starts and gate ends, against the ideal
// positions computed independently here.
#include "ClockRecorder.h"

#include <gtest/gtest.h>

#include <cmath>

TEST (ShuffledClockTiming, StepsEvery5512AndAHalfSamplesAt120Bpm)
{
    ShuffledClockNew clock ("hostClock");
    configure (clock, 120.0, 44100.0);
    clock.start (0.0);

    ClockRecorder recorder { clock };
    recorder.run (44100 * 4);

    const auto starts = recorder.samplesOf (ShuffledClockNew::stepStartEvent);
    ASSERT_EQ (starts.size(), 32u);
    for (size_t k = 0; k < starts.size(); ++k)
        EXPECT_EQ (starts[k], static_cast<std::int64_t> (std::ceil (5512.5 * static_cast<double> (k)))) << "step " << k;

    // Gates end half a step after each start.
    const auto ends = recorder.samplesOf (ShuffledClockNew::stepEndEvent);
    ASSERT_EQ (ends.size(), 32u);
    for (size_t k = 0; k < ends.size(); ++k)
        EXPECT_EQ (ends[k], static_cast<std::int64_t> (std::ceil (5512.5 * (static_cast<double> (k) + 0.5))));

    // Only the very first step of the timeline (its start and end) is flagged as first.
    EXPECT_EQ (recorder.events[0].stepFlag, 0);
    EXPECT_EQ (recorder.events[1].stepFlag, 0);
    for (size_t i = 2; i < recorder.events.size(); ++i)
        EXPECT_EQ (recorder.events[i].stepFlag, 1);
}

TEST (ShuffledClockTiming, NoDriftOverTenMinutesAtOddTempoAndRate)
{
    struct Case
    {
        double tempo, sampleRate, stepsPerBeat;
    };
    for (const Case c : { Case { 133.3, 48000.0, 4.0 }, Case { 87.7, 44100.0, 3.0 }, Case { 171.9, 96000.0, 8.0 } })
    {
        ShuffledClockNew clock;
        configure (clock, c.tempo, c.sampleRate, c.stepsPerBeat);
        clock.start (0.0);
        ClockRecorder recorder { clock };
        recorder.run (static_cast<std::int64_t> (c.sampleRate * 600.0));

        const auto starts = recorder.samplesOf (ShuffledClockNew::stepStartEvent);
        const auto expectedCount = static_cast<size_t> (std::floor (600.0 * c.tempo / 60.0 * c.stepsPerBeat)) + 1;
        ASSERT_NEAR (static_cast<double> (starts.size()), static_cast<double> (expectedCount), 1.0);

        int mismatches = 0;
        for (size_t k = 0; k < starts.size(); ++k)
        {
            const auto ideal = idealSample (static_cast<long double> (k) / c.stepsPerBeat, c.tempo, c.sampleRate);
            if (starts[k] != ideal && ++mismatches < 5)
                ADD_FAILURE() << c.tempo << " bpm, step " << k << ": " << starts[k] << " instead of " << ideal;
        }
        EXPECT_EQ (mismatches, 0);
    }
}

TEST (ShuffledClockTiming, ShuffleDelaysTheSecondStepOfEachPair)
{
    const double shuffle = 0.5;
    ShuffledClockNew clock;
    configure (clock, 120.0, 44100.0, 4.0, shuffle, 0.5);
    clock.start (0.0);
    ClockRecorder recorder { clock };
    recorder.run (44100 * 2);

    const auto starts = recorder.samplesOf (ShuffledClockNew::stepStartEvent);
    const auto ends = recorder.samplesOf (ShuffledClockNew::stepEndEvent);
    ASSERT_EQ (starts.size(), 16u);
    ASSERT_EQ (ends.size(), 16u);
    for (size_t pair = 0; pair < 8; ++pair)
    {
        const long double pairStart = 0.5L * pair;
        const long double secondStart = pairStart + 0.25L * (1.0L + shuffle);
        EXPECT_EQ (starts[2 * pair], idealSample (pairStart, 120.0, 44100.0));
        EXPECT_EQ (starts[2 * pair + 1], idealSample (secondStart, 120.0, 44100.0));
        // Each gate ends halfway through its own (longer or shorter) step.
        EXPECT_EQ (ends[2 * pair], idealSample (pairStart + 0.25L * (1.0L + shuffle) * 0.5L, 120.0, 44100.0));
        EXPECT_EQ (ends[2 * pair + 1], idealSample (secondStart + 0.25L * (1.0L - shuffle) * 0.5L, 120.0, 44100.0));
    }
}

TEST (ShuffledClockTiming, ShuffleChangedInTheSecondStepWaitsForTheNextPair)
{
    ShuffledClockNew clock;
    configure (clock, 120.0, 44100.0, 4.0, 0.0, 0.5);
    clock.start (0.0);
    ClockRecorder recorder { clock };

    // Into the second step of pair 0 (it starts at 0.25 beat = 5513 samples).
    recorder.run (6000);
    clock.setShuffle (0.4);
    recorder.run (44100 - 6000);

    const auto starts = recorder.samplesOf (ShuffledClockNew::stepStartEvent);
    ASSERT_GE (starts.size(), 4u);
    EXPECT_EQ (starts[1], idealSample (0.25L, 120.0, 44100.0));        // already started, unchanged
    EXPECT_EQ (starts[2], idealSample (0.5L, 120.0, 44100.0));         // pair boundary unchanged
    EXPECT_EQ (starts[3], idealSample (0.5L + 0.35L, 120.0, 44100.0)); // next pair shuffled
    EXPECT_DOUBLE_EQ (clock.getAppliedShuffle(), 0.4);
}

TEST (ShuffledClockTiming, FlamClockEndsItsGateAtTheFlamFraction)
{
    // As the drum machine uses it: restarted at 0 at every played step, the
    // step end marks the flam stroke.
    for (const double flam : { 0.121, 0.25, 0.383 })
    {
        ShuffledClockNew flamClock;
        configure (flamClock, 133.3, 48000.0, 4.0, 0.0, flam);
        ClockRecorder recorder { flamClock };
        recorder.run (100);
        flamClock.restart (0.0);
        recorder.run (20000);

        const auto starts = recorder.samplesOf (ShuffledClockNew::stepStartEvent);
        const auto ends = recorder.samplesOf (ShuffledClockNew::stepEndEvent);
        ASSERT_GE (ends.size(), 1u);
        EXPECT_EQ (starts.front(), 100);
        EXPECT_EQ (ends.front(), 100 + idealSample (flam / 4.0, 133.3, 48000.0)) << "flam " << flam;
    }
}

TEST (ShuffledClockTiming, TempoChangeCarriesOnFromTheCurrentPosition)
{
    ShuffledClockNew clock;
    configure (clock, 120.0, 44100.0);
    clock.start (0.0);
    ClockRecorder recorder { clock };
    recorder.run (1000);
    const double positionAtChange = clock.getPosition();
    EXPECT_NEAR (positionAtChange, 1000.0 * 120.0 / (60.0 * 44100.0), 1e-12);

    clock.setTempo (90.0);
    recorder.run (20000);

    const auto ends = recorder.samplesOf (ShuffledClockNew::stepEndEvent);
    ASSERT_GE (ends.size(), 1u);
    EXPECT_EQ (ends.front(), 1000 + idealSample (0.125L - positionAtChange, 90.0, 44100.0));
}

TEST (ShuffledClockTiming, IsInFirstHalfOfStep)
{
    ShuffledClockNew clock;
    configure (clock, 120.0, 44100.0, 4.0, 0.0, 0.5);
    clock.start (0.0);
    ClockRecorder recorder { clock };

    recorder.run (2000); // 0.09 beat into step 0 (0.25 beat long)
    EXPECT_TRUE (clock.isInFirstHalfOfStep());
    recorder.run (2000); // 0.18 beat
    EXPECT_FALSE (clock.isInFirstHalfOfStep());
    recorder.run (2000); // 0.27 beat: just into step 1
    EXPECT_TRUE (clock.isInFirstHalfOfStep());
}
