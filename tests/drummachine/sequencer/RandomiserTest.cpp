#include <gtest/gtest.h>

#include "drummachine/sequencer/PulsettaSeq.h"
#include "SequencerTestSupport.h"

TEST (RandomSource, FirstWordsForASeedArePinned)
{
    // Any change to the seeding or the tempering changes every user's random
    // patterns for a given seed; these words catch it.
    RandomSource source (1234);
    const uint32_t expected1234[] = { 0xc1b1475bu, 0xbd9a6ff2u, 0x4c2bf883u, 0x4b91d030u, 0xfef493e8u };
    for (auto word : expected1234)
        EXPECT_EQ (source.nextWord(), word);

    source.reseed (42);
    const uint32_t expected42[] = { 0x836dbbccu, 0xbf38c44fu, 0x22f891c1u };
    for (auto word : expected42)
        EXPECT_EQ (source.nextWord(), word);

    source.reseed (1234);
    EXPECT_EQ (source.randomInt (1000000) + 1, 620828);
}

namespace
{
struct Randomiser : ::testing::Test
{
    void SetUp() override
    {
        seq.setStep (0, 0, 1); // the bass drum's one step before randomising
        seq.copyPatternToBackup (0);
        seq.setRandomizerTarget (0);
        seq.resetRandomizer();
        chosen[0] = chosen[7] = chosen[11] = true;
    }

    std::string track (int row) const { return rowText (seq.getEditedPattern(), row); }

    int audibleCount (int row) const
    {
        int count = 0;
        for (int step = 0; step < Pattern::numSteps; ++step)
            count += seq.isHiddenByRandomizer (row, step) ? 0 : 1;
        return count;
    }

    RecordingOwner owner;
    PulsettaSeq seq { owner, "Pulsetta", "XR" };
    bool chosen[12] = {};
};
} // namespace

TEST_F (Randomiser, NextThenPrevReturnsToTheEarlierTracks)
{
    seq.randomizerNext (chosen, false); // pushes nothing: the seed was 0
    EXPECT_EQ (seq.getSeedHistorySize(), 0u);
    const uint32_t seed = seq.getCurrentSeed();
    EXPECT_GE (seed, 1u);
    EXPECT_LE (seed, 1000000u);

    const auto first = seq.getEditedPattern();
    for (int step = 0; step < 16; ++step)
    {
        EXPECT_NE (first.getStep (0, step), 0);
        EXPECT_EQ (first.getStep (11, step), 2); // the accent row stores 2 whatever the draw
        EXPECT_EQ (first.getStep (3, step), 0);  // not chosen: untouched
    }

    // The same seed, reached by Next then Prev, reproduces the same result.
    seq.randomizerNext (chosen, false);
    EXPECT_EQ (seq.getSeedHistorySize(), 1u);
    seq.randomizerPrevious (chosen, false);
    EXPECT_EQ (seq.getCurrentSeed(), seed);
    EXPECT_EQ (seq.getEditedPattern(), first);
    for (int step = 0; step < 16; ++step)
        EXPECT_GE (seq.getRandomValue (0, step), 0.0f);

    // Prev with an empty history changes nothing.
    const auto before = seq.getEditedPattern();
    seq.randomizerPrevious (chosen, false);
    EXPECT_EQ (seq.getEditedPattern(), before);
    EXPECT_EQ (seq.getCurrentSeed(), seed);
}

TEST (RandomTrack, TheTracksDrawnFromASeedArePinned)
{
    RandomSource source (1234);
    const auto first = drawRandomTrack (source, false);
    const std::array<uint32_t, 16> firstRank { 6, 13, 9, 10, 7, 11, 15, 3, 2, 5, 4, 1, 0, 14, 8, 12 };
    const std::array<int32_t, 16> firstValue { 1, 1, 2, 2, 2, 1, 2, 2, 2, 1, 2, 2, 1, 2, 1, 2 };
    EXPECT_EQ (first.rank, firstRank);
    EXPECT_EQ (first.value, firstValue);

    const auto second = drawRandomTrack (source, false);
    const std::array<uint32_t, 16> secondRank { 14, 11, 10, 6, 2, 8, 7, 0, 13, 5, 4, 9, 12, 3, 1, 15 };
    EXPECT_EQ (second.rank, secondRank);

    // Flam mode draws the same words, so the order is the same.
    RandomSource again (1234);
    const auto flam = drawRandomTrack (again, true);
    EXPECT_EQ (flam.rank, firstRank);
    for (auto value : flam.value)
        EXPECT_EQ (value, 3);
}

TEST_F (Randomiser, ThresholdsSetTheDensity)
{
    seq.randomizerNext (chosen, false);
    EXPECT_FLOAT_EQ (seq.getRandomValue (3, 0), -1.0f);

    const struct { float threshold; int audible; } density[] = {
        { 0.0f, 0 }, { 0.2f, 4 }, { 0.25f, 4 }, { 0.26f, 5 }, { 0.5f, 8 }, { 0.9375f, 15 }, { 0.94f, 16 }, { 1.0f, 16 },
    };
    for (const auto& d : density)
    {
        seq.setRandomizerThreshold (7, d.threshold);
        EXPECT_EQ (audibleCount (7), d.audible) << d.threshold;
    }
    EXPECT_EQ (audibleCount (3), 16); // not chosen: nothing hidden
}

TEST_F (Randomiser, AcceptKeepsTheAudibleStepsAndUndoRestoresTheBackup)
{
    seq.setRandomizerThreshold (7, 0.5f);
    seq.randomizerNext (chosen, false);
    ASSERT_TRUE (seq.isRandomizerActive());
    seq.clearRandomSteps();
    EXPECT_FALSE (seq.isRandomizerActive());
    int onSteps = 0;
    for (int step = 0; step < 16; ++step)
        onSteps += seq.getEditedPattern().getStep (7, step) != 0 ? 1 : 0;
    EXPECT_EQ (onSteps, 8);
    EXPECT_FALSE (seq.isRandomizerTrackChosen (7));

    seq.randomizerNext (chosen, true);
    for (int step = 0; step < 16; ++step)
    {
        EXPECT_EQ (seq.getEditedPattern().getStep (0, step), 3); // flam mode writes flams
        EXPECT_EQ (seq.getEditedPattern().getStep (11, step), 2);
    }
    seq.restoreRandomizedTracks();
    EXPECT_EQ (track (0), "1000000000000000");
    EXPECT_EQ (track (11), "0000000000000000");
    EXPECT_FALSE (seq.isRandomizerActive());

    const auto before = seq.getEditedPattern();
    seq.restoreRandomizedTracks(); // no result: nothing happens
    seq.clearRandomSteps();
    EXPECT_EQ (seq.getEditedPattern(), before);
}

TEST_F (Randomiser, OffOrOutOfRangeTargetsWriteNothing)
{
    seq.setRandomizerTarget (-1);
    const auto before = seq.getEditedPattern();
    seq.randomizerNext (chosen, false);
    EXPECT_EQ (seq.getEditedPattern(), before);
    EXPECT_FALSE (seq.isRandomizerActive());
    seq.setRandomizerTarget (96);
    EXPECT_EQ (seq.getRandomizerTarget(), -1);
    seq.randomizerNext (nullptr, false);
    EXPECT_EQ (seq.getEditedPattern(), before);
    EXPECT_FALSE (seq.isHiddenByRandomizer (12, 0));
    EXPECT_FALSE (seq.isHiddenByRandomizer (0, 16));
    seq.setRandomizerThreshold (12, 0.5f);
    EXPECT_FLOAT_EQ (seq.getRandomizerThreshold (12), 0.0f);
}

TEST_F (Randomiser, GenerationRunsInsideOneGuard)
{
    const int before = owner.rewrites;
    seq.randomizerNext (chosen, false);
    EXPECT_EQ (owner.rewrites - before, 1);
    EXPECT_EQ (owner.nestedRewrites, 0);
}
