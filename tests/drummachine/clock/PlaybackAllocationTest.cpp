// The clocks and the sequencer's playback run on the audio thread: they must
// never allocate. This executable counts every allocation the test thread
// makes while a counter lives (the support library replaces the allocator).
#include "MiniDrumMachine.h"

#include <gtest/gtest.h>

#include "support/AllocationCounter.h"

using testing_support::AllocationCounter;

TEST (PlaybackAllocation, ClocksAndPlaybackNeverAllocate)
{
    RecordingOwner owner;
    PulsettaSeq seq (owner, "Pulsetta", "XR");
    for (int step = 0; step < 16; ++step)
    {
        seq.setStepFlam (0, step % 11, step);
        seq.setStepAccent (1, (step * 5) % 11, step);
        seq.setStepAccent (1, 11, step);
    }
    bool chosen[Pattern::numTracks] {};
    chosen[3] = true;
    seq.setRandomizerTarget (1);
    seq.randomizerNext (chosen, false);
    seq.setChain (0, 2, 0);

    MiniDrumMachine machine (owner, seq);
    owner.triggers.reserve (100000);
    machine.played.reserve (10000);

    const AllocationCounter counter;
    machine.startNative (0.0);
    for (int block = 0; block < 400; ++block)
    {
        if (block % 50 == 0)
            seq.addPendingTap (block % 12, 1 + block % 3, 0);
        if (block == 200)
            seq.selectChainInPendingBank (1, 3);
        (void) seq.locate (block * 0.37);
        machine.processBlock (512);
        (void) seq.isNextPattern (block % 12);
    }
    EXPECT_EQ (counter.count(), 0);
    EXPECT_GT (owner.triggers.size(), 30u);
}
