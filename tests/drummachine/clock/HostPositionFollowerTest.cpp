// A step clock kept on a host's song position by the follower: rounding never
// moves it, a loop restarts it, a tempo change inside a block brings it back on
// the host's grid without a step played twice, whatever the block sizes.
#include "ClockRecorder.h"

#include "drummachine/clock/HostPositionFollower.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <utility>

namespace
{
constexpr auto start = ShuffledClockNew::stepStartEvent;
constexpr double sampleRate = 48000.0;

/** A host's song: tempi from given samples on, rounded or exact beat positions
    as it reports them, and a loop back to beat 0 (hosts split their blocks at
    the loop point, but not at a tempo change). */
struct HostSong
{
    std::vector<std::pair<std::int64_t, double>> tempi { { 0, 133.3 } }; // (sample, bpm), in order
    std::int64_t loopEndSample = std::numeric_limits<std::int64_t>::max();
    bool rounds = true; // to 1/1920 beat

    double bpmAt (std::int64_t sample) const
    {
        double bpm = tempi.front().second;
        for (const auto& [from, tempo] : tempi)
            if (sample >= from)
                bpm = tempo;
        return bpm;
    }

    long double exactBeatAt (std::int64_t sample) const
    {
        long double beats = 0.0L;
        for (size_t i = 0; i < tempi.size() && tempi[i].first < sample; ++i)
        {
            const auto end = i + 1 < tempi.size() ? std::min (tempi[i + 1].first, sample) : sample;
            beats += (long double) (end - tempi[i].first) * tempi[i].second / (60.0L * sampleRate);
        }
        return beats;
    }

    double reportedBeatAt (std::int64_t sample) const
    {
        const auto exact = (double) exactBeatAt (sample);
        return rounds ? std::round (exact * 1920.0) / 1920.0 : exact;
    }

    /** The first whole sample at or after a beat. */
    std::int64_t sampleOfBeat (double beat) const
    {
        std::int64_t low = 0, high = 1;
        while (exactBeatAt (high) < beat)
            high *= 2;
        while (low < high)
        {
            const auto middle = (low + high) / 2;
            if (exactBeatAt (middle) >= (long double) beat - 1.0e-12L)
                high = middle;
            else
                low = middle + 1;
        }
        return low;
    }
};

/** The song played in blocks as the drum machine drives its clock: at each
    block start the host's tempo is set and its report followed, then the
    clock is advanced sample by sample. */
std::vector<TimedClockEvent> play (const HostSong& song, const std::vector<int>& blockSizes, std::int64_t totalSamples,
                                   double shuffle = 0.3)
{
    ShuffledClockNew clock;
    configure (clock, song.bpmAt (0), sampleRate);
    clock.setShuffle (shuffle);
    clock.start (song.reportedBeatAt (0));
    HostPositionFollower follower;

    ClockRecorder recorder { clock };
    std::int64_t timelineSample = 0;
    size_t blockIndex = 0;
    while (recorder.sample < totalSamples)
    {
        std::int64_t blockLength = blockSizes[blockIndex++ % blockSizes.size()];
        blockLength = std::min (blockLength, totalSamples - recorder.sample);
        if (timelineSample < song.loopEndSample)
            blockLength = std::min (blockLength, song.loopEndSample - timelineSample);
        else
            timelineSample = 0;

        HostPositionFollower::Block block;
        block.ppq = song.reportedBeatAt (timelineSample);
        block.bpm = song.bpmAt (timelineSample);
        block.hasSamplePosition = true;
        block.samplePosition = timelineSample;
        block.numSamples = (int) blockLength;
        block.sampleRate = sampleRate;
        clock.setTempo (block.bpm);
        double target = 0.0;
        switch (follower.follow (block, clock.getPosition(), target))
        {
            case HostPositionFollower::Move::jump: clock.jumpTo (target); break;
            case HostPositionFollower::Move::glide: clock.glideTo (target); break;
            case HostPositionFollower::Move::none: break;
        }
        recorder.run (blockLength);
        timelineSample += blockLength;
    }
    return recorder.events;
}

std::vector<std::int64_t> startsOf (const std::vector<TimedClockEvent>& events)
{
    std::vector<std::int64_t> starts;
    for (const auto& e : events)
        if (e.kind == start)
            starts.push_back (e.sample);
    return starts;
}
} // namespace

TEST (HostPositionFollower, HostRoundingDoesNotMoveTheSteps)
{
    // Following the host's rounded beat position every block must give
    // exactly the steps of a clock left to count samples on its own.
    const auto followed = play (HostSong {}, { 1024 }, 48000 * 30);

    ShuffledClockNew alone;
    configure (alone, 133.3, sampleRate);
    alone.setShuffle (0.3);
    alone.start (0.0);
    ClockRecorder recorder { alone };
    recorder.run (48000 * 30);

    EXPECT_EQ (followed, recorder.events);
}

TEST (HostPositionFollower, HostLoopRestartsAtTheLoopStart)
{
    // Loop of 2 beats: 2 × 60 × 48000 / 133.3 = 43210.8 samples, cut at 43211.
    HostSong song;
    song.loopEndSample = 43211;
    const auto events = play (song, { 1024 }, song.loopEndSample * 3);

    std::vector<std::int64_t> firstSteps;
    for (const auto& e : events)
        if (e.kind == start && e.stepFlag == 0)
            firstSteps.push_back (e.sample);

    // The timeline's first step plays at every pass of the loop.
    EXPECT_EQ (firstSteps, (std::vector<std::int64_t> { 0, song.loopEndSample, 2 * song.loopEndSample }));
    // Eight steps in each pass, none doubled or lost at the loop point.
    EXPECT_EQ (startsOf (events).size(), 24u);
}

TEST (HostPositionFollower, SameEventsWhateverTheBlockSizes)
{
    HostSong song;
    song.loopEndSample = 48000 * 7 + 123;
    const std::int64_t total = 48000 * 20;
    const auto reference = play (song, { 1 }, total);
    ASSERT_GT (reference.size(), 100u);

    for (const int size : { 2, 3, 7, 64, 511, 1024, 4096 })
        EXPECT_EQ (play (song, { size }, total), reference) << "block size " << size;

    std::mt19937 random (7);
    std::uniform_int_distribution<int> sizes (1, 4096);
    std::vector<int> irregular;
    for (int i = 0; i < 500; ++i)
        irregular.push_back (sizes (random));
    EXPECT_EQ (play (song, irregular, total), reference);
}

TEST (HostPositionFollower, ATempoChangeInsideABlockPlaysEveryStepOnceBackOnTheHostsGrid)
{
    // Faster and slower, on a step and between steps, with a host that rounds
    // and one that does not; blocks of 1024, none split at the change.
    const struct { double before, after; std::int64_t change; } cases[] = {
        { 100.0, 133.0, 316800 },  // beat 11 at 100 bpm
        { 100.0, 133.0, 461400 },  // beat 16 and a bit
        { 60.0, 180.0, 408000 },   // beat 8.5
        { 133.0, 100.0, 346467 },  // beat 16
        { 140.0, 97.0, 117000 },   // between steps
    };
    for (const bool rounds : { true, false })
        for (const auto& c : cases)
        {
            HostSong song;
            song.tempi = { { 0, c.before }, { c.change, c.after } };
            song.rounds = rounds;
            const auto total = c.change + 48000 * 6;
            const auto starts = startsOf (play (song, { 1024 }, total, 0.0));
            const auto what = std::to_string (c.before) + " to " + std::to_string (c.after) + (rounds ? " rounded" : " exact");

            std::vector<std::int64_t> grid;
            for (int step = 0; song.sampleOfBeat (step / 4.0) < total; ++step)
                grid.push_back (song.sampleOfBeat (step / 4.0));
            ASSERT_EQ (starts.size(), grid.size()) << what << ": every step once";
            // The host told of the change only at the next block: until then
            // the clock went on at the old tempo.
            const auto told = (c.change / 1024 + 1) * 1024;
            // A host that rounds can place its first report after the change
            // only to within its rounding; later reports narrow it down.
            const double rounding = HostPositionFollower::roundingTolerance * 60.0 * sampleRate / c.after;
            bool first = true;
            for (size_t i = 0; i < grid.size(); ++i)
            {
                if (grid[i] > c.change && grid[i] <= told)
                    continue;
                const bool firstAfter = grid[i] > told && std::exchange (first, false);
                EXPECT_NEAR ((double) starts[i], (double) grid[i], rounds && firstAfter ? rounding + 1.0 : 2.0) << what << ": step " << i;
            }
        }
}

TEST (HostPositionFollower, SlicesOfALongBlockRepeatingTheHostsReportAreNoJump)
{
    HostPositionFollower follower;
    HostPositionFollower::Block block { 4.0, 120.0, true, 96000, 512, 48000.0 };
    double target = 0.0;
    EXPECT_EQ (follower.follow (block, 4.0, target), HostPositionFollower::Move::none);
    // The binding plays a block of 2048 in four slices of 512, each with the same report.
    for (int slice = 1; slice < 4; ++slice)
        EXPECT_EQ (follower.follow (block, 4.0 + slice * 512 / 24000.0, target), HostPositionFollower::Move::none) << slice;
    block.ppq += 2048 / 24000.0;
    block.samplePosition += 2048;
    EXPECT_EQ (follower.follow (block, block.ppq, target), HostPositionFollower::Move::none);
    // A locate by a few samples is a jump all the same.
    block.samplePosition += 512 + 5;
    block.ppq += (512 + 5) / 24000.0;
    EXPECT_EQ (follower.follow (block, block.ppq - 5 / 24000.0, target), HostPositionFollower::Move::jump);
    EXPECT_DOUBLE_EQ (target, block.ppq);
}
