// The sequencer driven by its step clocks as the drum machine's audio block
// drives them: a pattern clock plays and advances the cursor at each step
// start, a flam clock restarted at every played step replays its flam strokes
// at its gate end. Triggers are checked at their sample positions.
#include "ClockRecorder.h"
#include "MiniDrumMachine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace
{
enum Row { BD = 0, SD = 1, LT = 2, MT = 3, HT = 4, RS = 5, HC = 6, CH = 7, OH = 8, CR = 9, RD = 10, AC = 11 };

class PlaybackWithClocks : public ::testing::Test
{
protected:
    RecordingOwner owner;
    PulsettaSeq seq { owner, "Pulsetta", "XR" };

    void edit (int index)
    {
        while (seq.getEditedPatternIndex() < index)
            seq.editNextPattern();
        while (seq.getEditedPatternIndex() > index)
            seq.editPreviousPattern();
    }

    void shapePattern (int index, int length, double tempo = 120.0, double shuffle = 0.0, double flam = 0.25)
    {
        edit (index);
        seq.setEditedPatternLength (length);
        seq.setEditedPatternTempo (tempo);
        seq.setEditedPatternShuffle (shuffle);
        seq.setEditedPatternFlam (flam);
        seq.setEditedPatternScale (4);
    }
};
} // namespace

TEST_F (PlaybackWithClocks, FlamStrokeLandsTheFlamTimeAfterItsStep)
{
    shapePattern (0, 16, 133.3, 0.3, 0.3);
    seq.setStepFlam (0, SD, 0);
    seq.setStepAccent (0, AC, 0);
    seq.setStepFlam (0, HT, 1); // the short, shuffled second step of the pair
    seq.setStepOn (0, BD, 1);
    seq.setChain (0, 0, 0);

    MiniDrumMachine machine (owner, seq);
    machine.startNative (0.0);
    machine.processBlock (30000);

    const float accent = RecordingOwner::accentScale * static_cast<float> (owner.accentLevel);
    const float base = RecordingOwner::base, strong = RecordingOwner::strong;
    const auto stepOne = idealSample (0.25L * 1.3L, 133.3L, 44100.0L);
    const std::vector<RecordingOwner::Trigger> expected {
        { 0, AC, base + strong + accent },
        { 0, SD, base + accent },
        { idealSample (0.3L * 0.25L, 133.3L, 44100.0L), AC, base + strong + accent },
        { idealSample (0.3L * 0.25L, 133.3L, 44100.0L), SD, base + strong + accent },
        { stepOne, BD, base },
        { stepOne, HT, base },
        { stepOne + idealSample (0.3L * 0.25L, 133.3L, 44100.0L), HT, base + strong },
    };
    const auto triggers = owner.takeTriggers();
    ASSERT_GE (triggers.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ (triggers[i].sample, expected[i].sample) << i;
        EXPECT_EQ (triggers[i].instrument, expected[i].instrument) << i;
        EXPECT_FLOAT_EQ (triggers[i].velocity, expected[i].velocity) << i;
    }

    // The flam pass leaves the cursor where the normal pass left it.
    const std::vector<std::pair<int, int>> steps (machine.played.begin(), machine.played.begin() + 4);
    EXPECT_EQ (steps, (std::vector<std::pair<int, int>> { { 0, 0 }, { 0, 1 }, { 0, 2 }, { 0, 3 } }));
}

TEST_F (PlaybackWithClocks, SameTriggersWhateverTheBlockSize)
{
    shapePattern (0, 7, 141.7, 0.45, 0.2);
    shapePattern (1, 16, 97.3, 0.1, 0.383);
    for (int step = 0; step < 16; ++step)
    {
        seq.setStepFlam (0, step % 11, step);
        seq.setStepAccent (1, (step * 3) % 11, step);
        if (step % 3 == 0)
            seq.setStepAccent (1, AC, step);
    }
    seq.setChain (0, 1, 0);

    auto render = [&] (std::vector<int> blockSizes) {
        RecordingOwner recorder;
        PulsettaSeq sequencer (recorder, "Pulsetta", "XR");
        for (int p = 0; p < 2; ++p)
        {
            Pattern copy;
            seq.copyPattern (p, copy);
            sequencer.storePattern (p, copy);
        }
        sequencer.setChain (0, 1, 0);
        MiniDrumMachine machine (recorder, sequencer);
        machine.startNative (0.0);
        std::int64_t left = 44100 * 30;
        for (size_t i = 0; left > 0; ++i)
        {
            const int block = static_cast<int> (std::min<std::int64_t> (blockSizes[i % blockSizes.size()], left));
            machine.processBlock (block);
            left -= block;
        }
        return recorder.takeTriggers();
    };

    const auto reference = render ({ 1 });
    ASSERT_GT (reference.size(), 200u);
    for (const int size : { 2, 13, 64, 1024, 4096 })
        EXPECT_EQ (render ({ size }), reference) << size;

    std::mt19937 random (11);
    std::uniform_int_distribution<int> sizes (1, 4096);
    std::vector<int> irregular;
    for (int i = 0; i < 400; ++i)
        irregular.push_back (sizes (random));
    EXPECT_EQ (render (irregular), reference);
}
