// The clocks and the sequencer's playback run on the audio thread: they must
// never allocate. This executable counts every allocation the test thread
// makes while counting is on.
#include "MiniDrumMachine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace
{
thread_local bool counting = false;
thread_local long allocations = 0;

void* allocate (std::size_t size)
{
    if (counting)
        ++allocations;
    if (auto* p = std::malloc (size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

class AllocationCounter
{
public:
    AllocationCounter() { allocations = 0; counting = true; }
    ~AllocationCounter() { counting = false; }
    long count() const { return allocations; }
};
} // namespace

void* operator new (std::size_t size) { return allocate (size); }
void* operator new[] (std::size_t size) { return allocate (size); }
void operator delete (void* p) noexcept { std::free (p); }
void operator delete[] (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept { std::free (p); }

TEST (PlaybackAllocation, ClocksAndPlaybackNeverAllocate)
{
    PlaybackOwner owner;
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

    MiniDrumMachine machine (owner, seq, false);
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
