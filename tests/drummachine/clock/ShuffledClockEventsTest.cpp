// Starting, stopping, loops, jumps and glides, missing tempo and the
// message-thread notifications of the step clock.
#include "ClockRecorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
constexpr auto start = ShuffledClockNew::stepStartEvent;
constexpr auto restart = ShuffledClockNew::restartEvent;
constexpr auto wrap = ShuffledClockNew::loopWrapEvent;
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

TEST (ShuffledClockEvents, AJumpStartsTheStepItLandsInAGlidePlaysEveryStepOnce)
{
    // 120 bpm, 44.1 kHz: 22050 samples a beat, a step every quarter beat, gates half a step.
    const struct { std::int64_t before; bool glide; double to; std::vector<std::int64_t> starts; } cases[] = {
        { 2205, true, 0.2, { 1103 } },         // 0.1 to 0.2, still in step 0: step 1 at beat 0.25
        { 2205, true, 0.3, { 0, 4410 } },      // on into step 1's gate: it starts at once
        { 11030, true, 0.49, { 5733 } },       // step 2 played at 0.5; back before it: the next is step 3
        { 11026, true, 0.499, { 5535 } },      // the same right after step 2 started: step 3 next
        { 2205, true, 0.8, { 0, 1, 2, 4410 } }, // on past steps 1 and 2 into step 3's gate: each starts late, in turn
        { 2205, true, 0.9, { 0, 1, 2, 2205 } }, // past step 3's gate too: it starts all the same
        { 2205, true, 20.1, { 0, 3308 } },      // past 80 steps: a move, not a tempo told late; the step it lands in starts
        { 11030, false, 0.49, { 221, 5733 } }, // a jump there plays step 2 again when it comes
        { 2205, false, -0.25, { 5513 } },      // before zero: waits for it
    };
    for (const auto& c : cases)
    {
        ShuffledClockNew clock;
        configure (clock);
        clock.start (0.0);
        ClockRecorder before { clock };
        before.run (c.before);
        if (c.glide)
            clock.glideTo (c.to);
        else
            clock.jumpTo (c.to);
        ClockRecorder after { clock };
        after.run (6000);
        EXPECT_EQ (after.samplesOf (start), c.starts) << (c.glide ? "glide to " : "jump to ") << c.to;
    }
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
