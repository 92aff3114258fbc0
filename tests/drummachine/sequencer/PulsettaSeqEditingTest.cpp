#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "drummachine/sequencer/PulsettaSeq.h"
#include "SequencerTestSupport.h"

namespace
{
struct Editing : ::testing::Test
{
    RecordingOwner owner;
    PulsettaSeq seq { owner, "Pulsetta", "XR" };
};
} // namespace

TEST_F (Editing, EditCursorStaysInsideTheStore)
{
    seq.editPreviousPattern();
    EXPECT_EQ (seq.getEditedPatternIndex(), 0);
    for (int i = 0; i < 200; ++i)
        seq.editNextPattern();
    EXPECT_EQ (seq.getEditedPatternIndex(), 95);
    seq.editPreviousPattern();
    EXPECT_EQ (seq.getEditedPatternIndex(), 94);
    EXPECT_TRUE (seq.editChainStartPattern());
    EXPECT_EQ (seq.getEditedPatternIndex(), 0);
    EXPECT_FALSE (seq.editChainStartPattern());
}

TEST_F (Editing, ToggleCyclesOffOnAccentedAndFlamWithTheModifier)
{
    const struct { int value; bool flam; int next; } rule[] = {
        { 0, false, 1 }, { 1, false, 2 }, { 2, false, 0 }, { 3, false, 1 }, { 7, false, 1 },
        { 0, true, 3 }, { 1, true, 3 }, { 2, true, 3 }, { 3, true, 0 },
    };
    for (const auto& r : rule)
        EXPECT_EQ (seq.getNextToggleValue (r.value, r.flam), r.next) << r.value << r.flam;

    seq.setStep (4, 9, 3);
    seq.toggleStep (4, 9, false);
    EXPECT_EQ (seq.getStep (4, 9), 1);

    // The accent row goes 0 -> 2 -> 0, and stays 2 with the modifier.
    seq.toggleStep (11, 0, false);
    EXPECT_EQ (seq.getStep (11, 0), 2);
    seq.toggleStep (11, 0, false);
    EXPECT_EQ (seq.getStep (11, 0), 0);
    seq.toggleStep (11, 0, true);
    seq.toggleStep (11, 0, true);
    EXPECT_EQ (seq.getStep (11, 0), 2);
}

TEST_F (Editing, OutOfRangeRowsAndStepsChangeNothing)
{
    const Pattern before = seq.getEditedPattern();
    seq.setStep (12, 0, 1);
    seq.setStep (0, 16, 1);
    seq.toggleStep (-1, 0, false);
    seq.toggleStep (0, 99, true);
    seq.copyRowToClipboard (12);
    seq.pasteRow (0, 12);
    seq.shiftRowLeft (40, 1);
    seq.restoreRowFromBackup (0, 12);
    seq.restoreRowFromBackup (96, 0);
    seq.setStepOn (-1, 0, 0);
    seq.setStepOn (96, 0, 0);
    seq.setStepFlam (0, 12, 0);
    seq.copyPatternToBackup (200);
    seq.setPatternName (96, "Nowhere", 2);
    EXPECT_EQ (seq.getEditedPattern(), before);
    EXPECT_EQ (seq.getStep (12, 0), 0);
    EXPECT_EQ (seq.getPatternName (-1), "");
    EXPECT_EQ (seq.getPatternName (96), "");
}

TEST_F (Editing, ClipboardCopiesRowsAndWholePatterns)
{
    seq.setEditedPatternName ("Source");
    seq.setEditedPatternTempo (133.3);
    seq.setStep (1, 4, 2);
    seq.setStep (1, 12, 3);
    seq.copyRowToClipboard (1);
    seq.copyPatternToClipboard();

    seq.editNextPattern();
    seq.pasteRow (1, 6);
    EXPECT_EQ (seq.getStep (6, 4), 2);
    EXPECT_EQ (seq.getStep (6, 12), 3);
    seq.pasteRow (1, 11); // into the accent row: the accent rule applies
    EXPECT_EQ (seq.getStep (11, 12), 2);
    seq.pasteRow (-1, 6); // from outside the grid: clears the target
    EXPECT_EQ (seq.getStep (6, 4), 0);

    seq.pastePattern();
    EXPECT_EQ (seq.getEditedPatternName(), "Source");
    EXPECT_DOUBLE_EQ (seq.getEditedPatternTempo(), 133.3);
    EXPECT_EQ (seq.getStep (1, 12), 3);
    EXPECT_EQ (seq.getEditedPatternIndex(), 1);
}

TEST_F (Editing, EveryMultiWordRewriteRunsInsideTheOwnersGuard)
{
    const int before = owner.rewrites;
    seq.setEditedPatternName ("x");
    seq.setEditedPatternLength (3);
    seq.shiftRowLeft (0, 1);
    seq.clearRow (0);
    seq.clearEditedPattern();
    seq.pasteRow (0, 1);
    seq.pastePattern();
    seq.restoreRowFromBackup (0, 0);
    EXPECT_EQ (owner.rewrites - before, 8);
    EXPECT_EQ (owner.nestedRewrites, 0);
    EXPECT_FALSE (owner.insideRewrite);
}

TEST_F (Editing, WholeRecordsAreHandedOverByValue)
{
    Pattern prepared;
    prepared.setName ("Prepared");
    prepared.setStep (7, 1, 1);
    EXPECT_TRUE (seq.storePattern (42, prepared));
    EXPECT_FALSE (seq.storePattern (96, prepared));
    EXPECT_FALSE (seq.storePattern (-1, prepared));

    Pattern copy;
    EXPECT_TRUE (seq.copyPattern (42, copy));
    EXPECT_EQ (copy.getName(), "Prepared");
    EXPECT_DOUBLE_EQ (copy.getFlam(), 0.383); // stored records are always in range
    EXPECT_FALSE (seq.copyPattern (96, copy));

    auto store = std::make_unique<PulsettaSeq::PatternStore>();
    seq.copyAllPatterns (*store);
    (*store)[3].setName ("Three");
    const int before = owner.rewrites;
    seq.storeAllPatterns (*store);
    EXPECT_EQ (owner.rewrites - before, 1);
    EXPECT_EQ (seq.getPatternName (3), "Three");
    EXPECT_EQ (seq.getPatternName (42), "Prepared");
}

TEST_F (Editing, EditionStateKeepsTheEditedPatternInRange)
{
    const struct { const char* value; int index; } cases[] = { { "200", 95 }, { "-3", 0 }, { "17", 17 }, { "junk", 0 } };
    for (const auto& c : cases)
    {
        auto xml = juce::parseXML (juce::String ("<dmseqeditionstate><EditedPattern value=\"") + c.value + "\"/></dmseqeditionstate>");
        seq.readEditionStateXml (*xml);
        EXPECT_EQ (seq.getEditedPatternIndex(), c.index) << c.value;
    }

    auto written = seq.createEditionStateXml();
    EXPECT_EQ (written->toString (juce::XmlElement::TextFormat().withoutHeader().singleLine()),
               "<DMSeqEditionState><EditedPattern value=\"0\"/></DMSeqEditionState>");

    auto foreign = juce::parseXML ("<Other><EditedPattern value=\"5\"/></Other>");
    seq.readEditionStateXml (*foreign);
    EXPECT_EQ (seq.getEditedPatternIndex(), 0);
}

// A toggle writes only over the value it read, so a tap the audio thread
// writes in between is never lost: the toggle starts again from the tap.
TEST (StepCompareAndSet, WritesOnlyOverTheValueItExpects)
{
    Pattern pattern;
    pattern.setStep (2, 5, Pattern::stepOn);

    int32_t expected = Pattern::stepOff; // read before a tap wrote stepOn
    EXPECT_FALSE (pattern.compareAndSetStep (2, 5, expected, Pattern::stepOn));
    EXPECT_EQ (expected, Pattern::stepOn) << "tells what the step holds now";
    EXPECT_EQ (pattern.getStep (2, 5), Pattern::stepOn);

    EXPECT_TRUE (pattern.compareAndSetStep (2, 5, expected, Pattern::stepAccent));
    EXPECT_EQ (pattern.getStep (2, 5), Pattern::stepAccent);

    // The accent row keeps its rule; outside the grid nothing happens.
    int32_t accentExpected = Pattern::stepOff;
    EXPECT_TRUE (pattern.compareAndSetStep (11, 0, accentExpected, Pattern::stepOn));
    EXPECT_EQ (pattern.getStep (11, 0), Pattern::stepAccent);
    int32_t outside = 0;
    EXPECT_FALSE (pattern.compareAndSetStep (12, 0, outside, 1));
    EXPECT_FALSE (pattern.compareAndSetStep (0, 16, outside, 1));
}

TEST_F (Editing, TogglesRacingWithTapsLeaveOnlyStepValues)
{
    std::atomic<bool> running { true };
    std::thread audio ([&] {
        for (int i = 0; running; ++i)
            seq.setStep (3, 7, 1 + i % 3); // taps as the audio thread writes them
    });

    for (int i = 0; i < 20000; ++i)
        seq.toggleStep (3, 7, (i & 1) != 0);

    running = false;
    audio.join();

    const int last = seq.getStep (3, 7);
    EXPECT_TRUE (last >= Pattern::stepOff && last <= Pattern::stepFlam);
    seq.setStep (3, 7, Pattern::stepFlam);
    seq.toggleStep (3, 7, true);
    EXPECT_EQ (seq.getStep (3, 7), Pattern::stepOff);
}
