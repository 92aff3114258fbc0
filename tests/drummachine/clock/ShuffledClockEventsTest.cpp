// Starting, stopping, loops, following the host's position, missing tempo and
// the message-thread notifications of the step clock.
#include "ClockRecorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace
{
constexpr auto start = ShuffledClockNew::stepStartEvent;
constexpr auto restart = ShuffledClockNew::restartEvent;
constexpr auto wrap = ShuffledClockNew::loopWrapEvent;

// The host's beat position as a real host reports it: rounded to 1/1920 beat.
double hostBeats (std::int64_t sample, double tempo, double sampleRate)
{
    const double exact = static_cast<double> (sample) * tempo / (60.0 * sampleRate);
    return std::round (exact * 1920.0) / 1920.0;
}

/** A host timeline played in blocks as the drum machine will drive the clock:
    at each block start the tempo is set and the host position followed, then
    the clock is advanced sample by sample. The host loops from loopEndSample
    back to beat 0 (hosts split their blocks at the loop point). */
std::vector<TimedClockEvent> playHostTimeline (const std::vector<int>& blockSizes, std::int64_t totalSamples,
                                               std::int64_t loopEndSample)
{
    constexpr double tempo = 133.3, sampleRate = 48000.0;
    ShuffledClockNew clock;
    configure (clock, tempo, sampleRate);
    clock.setShuffle (0.3);
    clock.start (hostBeats (0, tempo, sampleRate));

    ClockRecorder recorder { clock };
    std::int64_t timelineSample = 0;
    size_t blockIndex = 0;
    while (recorder.sample < totalSamples)
    {
        std::int64_t blockLength = blockSizes[blockIndex++ % blockSizes.size()];
        blockLength = std::min (blockLength, totalSamples - recorder.sample);
        if (timelineSample < loopEndSample)
            blockLength = std::min (blockLength, loopEndSample - timelineSample);
        else
            timelineSample = 0;

        clock.setTempo (tempo);
        clock.followHostPosition (hostBeats (timelineSample, tempo, sampleRate));
        recorder.run (blockLength);
        timelineSample += blockLength;
    }
    return recorder.events;
}
} // namespace

// Where the first step start falls for a given start position, at 120 bpm
// (5512.5 samples a step, gates half as long).
TEST (ShuffledClockEvents, TheFirstStepFollowsTheStartPosition)
{
    const struct { double position; TimedClockEvent first; std::int64_t second; } cases[] = {
        { 0.0, { 0, 0, start }, 5513 },
        { -0.1, { 2205, 0, start }, 2205 + 5513 },   // pre-roll: waits for zero
        { 0.3, { 0, 1, start }, 4410 },              // inside step 1's gate: starts that step
        { 0.4, { 2205, 1, start }, 2205 + 5513 },    // after step 1's gate: step 2 when it comes
    };
    for (const auto& c : cases)
    {
        ShuffledClockNew clock;
        configure (clock);
        clock.start (c.position);
        ClockRecorder recorder { clock };
        recorder.run (8000);
        const auto starts = recorder.samplesOf (start);
        ASSERT_GE (starts.size(), 2u) << c.position;
        EXPECT_EQ (recorder.events[0], c.first) << c.position;
        EXPECT_EQ (starts[1], c.second) << c.position;
    }
}

TEST (ShuffledClockEvents, StartIsIgnoredWhileRunningStopGoesBackToZeroRestartStartsAgain)
{
    ShuffledClockNew clock;
    configure (clock);
    EXPECT_FALSE (clock.advance());

    clock.start (0.0);
    ClockRecorder recorder { clock };
    recorder.run (1000);
    EXPECT_TRUE (clock.isRunning());
    const double position = clock.getPosition();
    clock.start (2.0); // ignored
    EXPECT_DOUBLE_EQ (clock.getPosition(), position);

    // As a flam clock is used: restarted at every played step, its open gate
    // is forgotten (not closed), so no end event fires at the restart itself.
    clock.restart (0.0);
    recorder.run (1);
    ASSERT_EQ (recorder.events.size(), 2u);
    EXPECT_EQ (recorder.events[1], (TimedClockEvent { 1000, 0, start }));

    clock.stop();
    clock.stop();
    EXPECT_FALSE (clock.isRunning());
    EXPECT_DOUBLE_EQ (clock.getPosition(), 0.0);
    EXPECT_FALSE (clock.advance());
    EXPECT_EQ (clock.getNumEvents(), 0);
}

TEST (ShuffledClockEvents, OwnLoopClosesTheStepThenWrapsAndRestarts)
{
    ShuffledClockNew clock;
    configure (clock);
    clock.setLoop (true, 0.0, 0.95); // 20947.5 samples
    clock.start (0.0);
    ClockRecorder recorder { clock };
    recorder.run (20948 + 10);

    // The wrap happens on the sample whose successor would pass the loop end,
    // the restarted step on that successor. The last gate had closed already.
    const auto wraps = recorder.samplesOf (wrap);
    ASSERT_EQ (wraps.size(), 1u);
    EXPECT_EQ (wraps[0], 20947);
    std::vector<TimedClockEvent> atWrap;
    for (const auto& e : recorder.events)
        if (e.sample >= 20947)
            atWrap.push_back (e);
    ASSERT_EQ (atWrap.size(), 3u);
    EXPECT_EQ (atWrap[0], (TimedClockEvent { 20947, 0, wrap }));
    EXPECT_EQ (atWrap[1], (TimedClockEvent { 20947, 0, restart }));
    EXPECT_EQ (atWrap[2], (TimedClockEvent { 20948, 0, start }));
    EXPECT_EQ (recorder.samplesOf (start).size(), 5u);
}

TEST (ShuffledClockEvents, HostRoundingDoesNotMoveTheSteps)
{
    // Following the host's rounded beat position every block must give
    // exactly the steps of a clock left to count samples on its own.
    const auto followed = playHostTimeline ({ 1024 }, 48000 * 30, std::numeric_limits<std::int64_t>::max());

    ShuffledClockNew alone;
    configure (alone, 133.3, 48000.0);
    alone.setShuffle (0.3);
    alone.start (0.0);
    ClockRecorder recorder { alone };
    recorder.run (48000 * 30);

    EXPECT_EQ (followed, recorder.events);
}

TEST (ShuffledClockEvents, HostLoopRestartsAtTheLoopStart)
{
    // Loop of 2 beats: 2 × 60 × 48000 / 133.3 = 43210.8 samples, cut at 43211.
    const std::int64_t loopEndSample = 43211;
    const auto events = playHostTimeline ({ 1024 }, loopEndSample * 3, loopEndSample);

    std::vector<std::int64_t> firstSteps;
    for (const auto& e : events)
        if (e.kind == start && e.stepFlag == 0)
            firstSteps.push_back (e.sample);

    // The timeline's first step plays at every pass of the loop.
    EXPECT_EQ (firstSteps, (std::vector<std::int64_t> { 0, loopEndSample, 2 * loopEndSample }));

    // Eight steps in each pass, none doubled or lost at the loop point.
    size_t starts = 0;
    for (const auto& e : events)
        starts += e.kind == start ? 1 : 0;
    EXPECT_EQ (starts, 24u);
}

TEST (ShuffledClockEvents, SameEventsWhateverTheBlockSizes)
{
    const std::int64_t total = 48000 * 20;
    const std::int64_t loopEnd = 48000 * 7 + 123;
    const auto reference = playHostTimeline ({ 1 }, total, loopEnd);
    ASSERT_GT (reference.size(), 100u);

    for (const int size : { 2, 3, 7, 64, 511, 1024, 4096 })
        EXPECT_EQ (playHostTimeline ({ size }, total, loopEnd), reference) << "block size " << size;

    std::mt19937 random (7);
    std::uniform_int_distribution<int> sizes (1, 4096);
    std::vector<int> irregular;
    for (int i = 0; i < 500; ++i)
        irregular.push_back (sizes (random));
    EXPECT_EQ (playHostTimeline (irregular, total, loopEnd), reference);
}

TEST (ShuffledClockEvents, NoTempoMeansNoEventAndNoMovement)
{
    ShuffledClockNew clock; // tempo 0 after construction
    clock.start (0.5);
    ClockRecorder recorder { clock };
    recorder.run (10000);
    EXPECT_TRUE (recorder.events.empty());
    EXPECT_DOUBLE_EQ (clock.getPosition(), 0.5);

    for (const double bad : { -120.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 0.0 })
    {
        clock.setTempo (bad);
        recorder.run (10000);
        EXPECT_TRUE (recorder.events.empty()) << bad;
        EXPECT_DOUBLE_EQ (clock.getPosition(), 0.5);
        (void) clock.isInFirstHalfOfStep();
    }

    // As soon as a tempo comes, the step at the position starts.
    clock.setTempo (120.0);
    recorder.run (1);
    ASSERT_EQ (recorder.events.size(), 1u);
    EXPECT_EQ (recorder.events[0].kind, start);
    EXPECT_GT (clock.getPosition(), 0.5);
}

TEST (ShuffledClockEvents, UnusableRateOrScaleMeansNoEvent)
{
    const struct { double rate, stepsPerBeat, tempo; size_t events; } cases[] = {
        { 0.0, 4.0, 120.0, 0 },
        { std::numeric_limits<double>::quiet_NaN(), 4.0, 120.0, 0 },
        { 44100.0, 0.0, 120.0, 0 },
        { 44100.0, 4.0, 1.0e-300, 1 }, // a boundary further than any count: the step at 0, then nothing for ages
    };
    for (const auto& c : cases)
    {
        ShuffledClockNew clock;
        configure (clock, c.tempo, c.rate);
        clock.setStepsPerBeat (c.stepsPerBeat);
        clock.start (0.0);
        ClockRecorder recorder { clock };
        recorder.run (5000);
        EXPECT_EQ (recorder.events.size(), c.events) << c.rate << " " << c.stepsPerBeat << " " << c.tempo;
    }
}

namespace
{
struct CountingListener : ShuffledClockNew::Listener
{
    std::vector<std::string>* log;
    std::string id;
    CountingListener (std::vector<std::string>* l, std::string i) : log (l), id (std::move (i)) {}
    void clockRunningChanged (ShuffledClockNew& clock) override { log->push_back (id + (clock.isRunning() ? " running" : " stopped")); }
    void clockStepChanged (ShuffledClockNew& clock) override { log->push_back (id + " step " + clock.getName().toStdString()); }
};
} // namespace

TEST (ShuffledClockEvents, AudioThreadOnlyRaisesFlagsThatTheMessageThreadDispatches)
{
    std::vector<std::string> log;
    CountingListener first (&log, "a"), second (&log, "b");
    ShuffledClockNew clock ("nativeClock");
    configure (clock);
    clock.addListener (&first);
    clock.addListener (&second);
    clock.addListener (&second); // kept once
    clock.addListener (nullptr);

    EXPECT_FALSE (clock.dispatchPendingNotifications());

    clock.start (0.0);
    ClockRecorder recorder { clock };
    recorder.run (20000); // several boundaries, still one pending step flag
    EXPECT_TRUE (log.empty());

    EXPECT_TRUE (clock.dispatchPendingNotifications());
    const std::vector<std::string> expected { "b running", "a running", "b step nativeClock", "a step nativeClock" };
    EXPECT_EQ (log, expected);

    log.clear();
    EXPECT_FALSE (clock.dispatchPendingNotifications());
    clock.removeListener (&second);
    clock.stop();
    clock.dispatchPendingNotifications();
    EXPECT_EQ (log, std::vector<std::string> { "a stopped" });
}
