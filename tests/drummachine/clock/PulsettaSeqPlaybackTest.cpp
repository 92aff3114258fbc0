// The sequencer's playback on its own: how a step becomes triggers, the
// cursors, the chain, locate and the pending taps.
#include "tests/drummachine/sequencer/SequencerTestSupport.h"

#include "drummachine/sequencer/PulsettaSeq.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
enum Row { BD = 0, SD = 1, LT = 2, MT = 3, HT = 4, RS = 5, HC = 6, CH = 7, OH = 8, CR = 9, RD = 10, AC = 11 };

constexpr float base = RecordingOwner::base;
constexpr float strong = RecordingOwner::strong;

class PlaybackTest : public ::testing::Test
{
protected:
    RecordingOwner owner;
    PulsettaSeq seq { owner, "Pulsetta", "XR" };

    float accentTerm() const { return RecordingOwner::accentScale * static_cast<float> (owner.accentLevel); }

    // Gives a stored pattern a length (and its other fields) through the edit cursor.
    void shapePattern (int index, int length, int scale = 4, double shuffle = 0.0)
    {
        while (seq.getEditedPatternIndex() < index)
            seq.editNextPattern();
        while (seq.getEditedPatternIndex() > index)
            seq.editPreviousPattern();
        seq.setEditedPatternLength (length);
        seq.setEditedPatternScale (scale);
        seq.setEditedPatternShuffle (shuffle);
    }

    std::vector<RecordingOwner::Trigger> playNative (int pattern, int step, bool flamPass)
    {
        seq.setNativeCursor (pattern, step);
        seq.playNativeStep (flamPass);
        return owner.takeTriggers();
    }

    std::vector<int> instrumentsOf (const std::vector<RecordingOwner::Trigger>& triggers)
    {
        std::vector<int> result;
        for (const auto& t : triggers)
            result.push_back (t.instrument);
        return result;
    }
};
} // namespace

TEST_F (PlaybackTest, PlainStrongAndAccentedStepsGetTheirVelocities)
{
    seq.setStepOn (3, BD, 0);
    seq.setStepAccent (3, SD, 0);
    seq.setStepOn (3, CH, 1);
    seq.setStepAccent (3, SD, 1);
    seq.setStepAccent (3, AC, 1);

    auto triggers = playNative (3, 0, false);
    ASSERT_EQ (triggers.size(), 2u);
    EXPECT_EQ (triggers[0].instrument, BD);
    EXPECT_FLOAT_EQ (triggers[0].velocity, base);
    EXPECT_EQ (triggers[1].instrument, SD);
    EXPECT_FLOAT_EQ (triggers[1].velocity, base + strong);
    EXPECT_NEAR (triggers[1].velocity, 0.755f, 0.001f);

    // The accent row sounds itself first, then accents every instrument of the step.
    triggers = playNative (3, 1, false);
    ASSERT_EQ (instrumentsOf (triggers), (std::vector<int> { AC, SD, CH }));
    EXPECT_FLOAT_EQ (triggers[0].velocity, base + strong + accentTerm());
    EXPECT_FLOAT_EQ (triggers[1].velocity, base + strong + accentTerm());
    EXPECT_FLOAT_EQ (triggers[2].velocity, base + accentTerm());

    // At Accent Level 0 an accented step plays at the base velocity.
    owner.accentLevel = 0.0;
    triggers = playNative (3, 1, false);
    EXPECT_FLOAT_EQ (triggers[2].velocity, base);
}

TEST_F (PlaybackTest, FlamStepSoundsOnTheStepAndStrongerOnTheFlamPass)
{
    seq.setStepFlam (0, SD, 4);
    seq.setStepOn (0, BD, 4);
    seq.setStepAccent (0, AC, 4);

    auto onStep = playNative (0, 4, false);
    ASSERT_EQ (instrumentsOf (onStep), (std::vector<int> { AC, BD, SD }));
    EXPECT_FLOAT_EQ (onStep[2].velocity, base + accentTerm());

    // The flam pass replays only the flam strokes (and the accent row).
    auto flam = playNative (0, 4, true);
    ASSERT_EQ (instrumentsOf (flam), (std::vector<int> { AC, SD }));
    EXPECT_FLOAT_EQ (flam[1].velocity, base + strong + accentTerm());

    // Unaccented: base, then base + strong.
    seq.setStepOff (0, AC, 4);
    EXPECT_FLOAT_EQ (playNative (0, 4, false)[1].velocity, base);
    EXPECT_FLOAT_EQ (playNative (0, 4, true)[0].velocity, base + strong);
}

TEST_F (PlaybackTest, RandomiserHidesChosenRowsOfItsPatternOnly)
{
    bool chosen[Pattern::numTracks] {};
    chosen[BD] = chosen[AC] = true;
    seq.setRandomizerTarget (2);
    seq.randomizerNext (chosen, false); // fills BD and AC of pattern 2 on all 16 steps
    seq.setStepOn (2, SD, 0);
    seq.setStepOn (5, BD, 0);
    seq.setStepAccent (5, AC, 0);

    seq.setRandomizerThreshold (BD, 0.0f);
    seq.setRandomizerThreshold (AC, 0.0f);
    auto triggers = playNative (2, 0, false);
    ASSERT_EQ (instrumentsOf (triggers), (std::vector<int> { SD }));
    EXPECT_FLOAT_EQ (triggers[0].velocity, base); // the hidden accent row accents nothing

    // Another pattern with the same rows is not masked.
    EXPECT_EQ (instrumentsOf (playNative (5, 0, false)), (std::vector<int> { AC, BD }));

    seq.setRandomizerThreshold (BD, 1.0f);
    seq.setRandomizerThreshold (AC, 1.0f);
    triggers = playNative (2, 0, false);
    EXPECT_EQ (instrumentsOf (triggers), (std::vector<int> { AC, BD, SD }));
}

TEST_F (PlaybackTest, HostCursorWrapsAtOrPastTheLength)
{
    shapePattern (7, 16);
    seq.startHost (7);
    for (int i = 0; i < 12; ++i)
        seq.advanceHostStep();
    EXPECT_EQ (seq.getHostStep(), 12);

    // Shortened under the cursor: the next advance wraps instead of running on.
    shapePattern (7, 8);
    seq.advanceHostStep();
    EXPECT_EQ (seq.getHostStep(), 0);

    // Shortened between advance and play: the step played is the first one.
    for (int i = 0; i < 6; ++i)
        seq.advanceHostStep();
    shapePattern (7, 4);
    seq.setStepOn (7, RD, 0);
    seq.setStepOn (7, CR, 6);
    seq.playHostStep (false);
    EXPECT_EQ (instrumentsOf (owner.takeTriggers()), (std::vector<int> { RD }));
    EXPECT_EQ (seq.getHostStep(), 0);

    // Whatever the lengths do, the cursor stays inside the pattern.
    for (int i = 0; i < 2000; ++i)
    {
        if (i % 37 == 0)
            shapePattern (7, 1 + (i * 7) % 16);
        seq.playHostStep (false);
        seq.advanceHostStep();
        ASSERT_LT (seq.getHostStep(), seq.getHostPatternLength());
    }
}

TEST_F (PlaybackTest, ChainPlaysItsSlotsInOrderAndWraps)
{
    seq.setChain (2, 4, 1); // patterns 14..16
    for (int p = 14; p <= 16; ++p)
        shapePattern (p, 2);
    seq.startNative();
    EXPECT_EQ (seq.getNativePattern(), 14);
    EXPECT_EQ (seq.getNativeStep(), 0);

    std::vector<std::pair<int, int>> visited;
    std::vector<bool> changed;
    for (int i = 0; i < 8; ++i)
    {
        visited.emplace_back (seq.getNativePattern(), seq.getNativeStep());
        changed.push_back (seq.advanceNativeStep());
    }
    const std::vector<std::pair<int, int>> expected { { 14, 0 }, { 14, 1 }, { 15, 0 }, { 15, 1 },
                                                      { 16, 0 }, { 16, 1 }, { 14, 0 }, { 14, 1 } };
    EXPECT_EQ (visited, expected);
    EXPECT_EQ (changed, (std::vector<bool> { false, true, false, true, false, true, false, true }));
}

TEST_F (PlaybackTest, ChainChangedWhilePlayingTakesOverAtThePatternEnd)
{
    seq.setChain (2, 4, 1);
    seq.startNative();
    EXPECT_EQ (seq.getNativePattern(), 14);
    seq.advanceNativeStep();

    seq.selectChainInPendingBank (9, 7); // pending bank is still 1: patterns 19..21
    EXPECT_EQ (seq.getNativePattern(), 14);
    for (int i = 1; i < 15; ++i)
        EXPECT_FALSE (seq.advanceNativeStep());
    EXPECT_TRUE (seq.advanceNativeStep());
    EXPECT_EQ (seq.getNativePattern(), 19);
    EXPECT_EQ (seq.getNativeStep(), 0);
}

TEST_F (PlaybackTest, ChainChangesWhileStoppedMoveTheCursorsAtOnce)
{
    const auto chainIs = [this] (int first, int last, int bank) {
        const auto chain = seq.getChain();
        return chain.first == first && chain.last == last && chain.bank == bank;
    };
    seq.setChain (5, 3, 2);
    EXPECT_TRUE (chainIs (3, 5, 2));
    EXPECT_EQ (seq.getChain().pendingBank, 2);
    EXPECT_EQ (seq.getNativePattern(), 27);
    EXPECT_EQ (seq.getEditedPatternIndex(), 27);
    EXPECT_DOUBLE_EQ (seq.getChainDuration(), 12.0);

    seq.setChainEnd (1); // before the start: the two swap
    EXPECT_TRUE (chainIs (1, 3, 2));

    seq.setPendingBank (6);
    EXPECT_EQ (seq.getChain().bank, 2); // waits for the next chain
    seq.selectChainInPendingBank (0, 0);
    EXPECT_TRUE (chainIs (0, 0, 6));
    EXPECT_EQ (seq.getNativePattern(), 72);

    // Values from a damaged state are brought into range.
    seq.setChain (-3, 40, 99);
    EXPECT_TRUE (chainIs (0, 11, 7));
    EXPECT_DOUBLE_EQ (seq.getChainDuration(), 48.0);

    // The duration follows the patterns as they are, not as they were when the chain was set.
    seq.setChain (0, 0, 7);
    seq.setEditedPatternLength (8);
    EXPECT_DOUBLE_EQ (seq.getChainDuration(), 2.0);
}

TEST_F (PlaybackTest, LocateFindsTheStepOfASongPosition)
{
    shapePattern (0, 16, 4, 0.2); // shuffled pairs: a 0.3 beat step then a 0.2 beat one
    shapePattern (1, 5, 4, 0.5);  // odd: passes of 1.375 and 1.125 beats
    shapePattern (16, 8);         // a chain of 2 + 1 + 4 = 7 beats
    shapePattern (17, 4);
    shapePattern (18, 16);
    const struct { int first, last, bank; double beats; int pattern, step; } cases[] = {
        { 0, 0, 0, 0.6, 0, 2 },  // pair 1 (0.5..1.0), 0.1 into its long first step
        { 0, 0, 0, 0.81, 0, 3 }, // past the long step: the short one
        { 0, 0, 0, 4.25, 0, 0 }, // an even pattern's second pass starts on a long step too
        { 0, 0, 0, 4.31, 0, 1 },
        { 0, 0, 0, 103.95, 0, 15 }, // 25 bars later, the last step
        { 1, 1, 0, 1.3, 1, 4 },  // odd pattern, first pass: its last (long) step starts at 1.0
        { 1, 1, 0, 1.4, 1, 0 },  // the second pass starts at 1.375 on a short step
        { 1, 1, 0, 1.51, 1, 1 }, // then the long one
        { 1, 1, 0, 2.6, 1, 0 },  // the cycle repeats
        { 4, 6, 1, 2.3, 17, 1 }, // through the chain
        { 4, 6, 1, 27.9, 18, 15 },
    };
    for (const auto& c : cases)
    {
        seq.setChain (c.first, c.last, c.bank);
        EXPECT_DOUBLE_EQ (seq.locate (c.beats), c.beats);
        EXPECT_EQ (seq.getNativePattern(), c.pattern) << c.beats;
        EXPECT_EQ (seq.getNativeStep(), c.step) << c.beats;
    }

    // Positions that say nothing leave the cursor.
    seq.setNativeCursor (0, 9);
    for (double nonsense : { -0.5, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity() })
        seq.locate (nonsense);
    EXPECT_EQ (seq.getNativeStep(), 9);
}

TEST_F (PlaybackTest, PendingTapsWaitForTheirOwnCursor)
{
    seq.startHost (4);
    seq.advanceHostStep();
    seq.setNativeCursor (8, 3);
    seq.addPendingTap (SD, Pattern::stepOn, 1);
    seq.addPendingTap (AC, Pattern::stepOn, 1);

    seq.playNativeStep (false);
    EXPECT_FALSE (seq.takeStepStatesRefreshRequest());
    EXPECT_EQ (owner.takeTriggers().size(), 0u);
    EXPECT_EQ (seq.getStepOffValue(), 0);

    // The host play writes them at its cursor and plays them.
    seq.playHostStep (false);
    EXPECT_EQ (instrumentsOf (owner.takeTriggers()), (std::vector<int> { AC, SD }));
    seq.editHostPattern();
    EXPECT_EQ (seq.getStep (SD, 1), Pattern::stepOn);
    EXPECT_EQ (seq.getStep (AC, 1), Pattern::stepAccent); // the accent row stores 2

    // The display learns of it on the message thread, once; nothing on the audio thread.
    EXPECT_EQ (owner.refreshesOnAudioThread, 0);
    EXPECT_TRUE (seq.takeStepStatesRefreshRequest());
    EXPECT_FALSE (seq.takeStepStatesRefreshRequest());

    // Written once only.
    seq.setStepOff (4, SD, 1);
    seq.playHostStep (false);
    EXPECT_EQ (seq.getStep (SD, 1), 0);
}

TEST_F (PlaybackTest, BadTapsCursorWritesAndHostPatternsAreIgnored)
{
    seq.startHost (9);
    EXPECT_EQ (seq.getHostPattern(), 9);
    seq.advanceHostStep();
    seq.startHost (96); // running, cursor kept
    EXPECT_EQ (seq.getHostPattern(), 9);
    EXPECT_EQ (seq.getHostStep(), 1);
    seq.startHost (-1);
    EXPECT_EQ (seq.getHostPattern(), 9);

    seq.addPendingTap (12, 1, 0);
    seq.addPendingTap (0, 4, 0);
    seq.addPendingTap (0, 1, 2);
    seq.setNativeCursor (0, 0);
    seq.playNativeStep (false);
    EXPECT_FALSE (seq.takeStepStatesRefreshRequest());

    seq.setStepAtCursor (BD, 1, 2);
    seq.setStepAtCursor (12, 1, 0);
    EXPECT_FALSE (seq.takeStepStatesRefreshRequest());
    seq.setNativeCursor (120, 0);
    seq.setStepAtCursor (BD, 1, 0);
    EXPECT_FALSE (seq.takeStepStatesRefreshRequest());
    seq.playNativeStep (false); // an invalid pattern moves into the chain
    EXPECT_EQ (seq.getNativePattern(), 0);
}
