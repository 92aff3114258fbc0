// Counts heap allocations, so a test can show that audio-thread code allocates
// nothing. Linking pulsetta_test_support into a test executable replaces the
// program's allocator: the C allocator (malloc, calloc, realloc, the aligned
// ones) and the global operator new/delete. Under a sanitizer, whose runtime
// owns the C allocator, the allocations are seen through the sanitizer's
// malloc hooks instead; the replaced operator new still works there, as it
// goes through malloc. Every allocation of the process is seen, those of a
// plug-in module loaded at run time included.
#pragma once

namespace testing_support
{
// Counts the allocations made while it lives: by the constructing thread only,
// or by every thread of the process; every allocation, or only those made
// through the global operator new (so not the C allocator calls of JUCE's own
// containers). Counters of one scope do not nest.
class AllocationCounter
{
public:
    enum class Scope
    {
        thisThread,
        allThreads
    };

    enum class Kinds
    {
        everything,
        operatorNewOnly
    };

    explicit AllocationCounter (Scope scope = Scope::thisThread, Kinds kinds = Kinds::everything) noexcept;
    ~AllocationCounter();

    AllocationCounter (const AllocationCounter&) = delete;
    AllocationCounter& operator= (const AllocationCounter&) = delete;

    // Allocations seen since construction (stops growing after stop()).
    long count() const noexcept;

    // Ends the count early; count() keeps the total.
    void stop() noexcept;

private:
    Scope scope;
    bool running = true;
    long total = 0;
};

// While it lives, the calling thread's allocations are not counted: for work a
// test does on the counted thread that is not the code under test (a host's
// side of a call, say).
class AllocationCountingPaused
{
public:
    AllocationCountingPaused() noexcept;
    ~AllocationCountingPaused();

    AllocationCountingPaused (const AllocationCountingPaused&) = delete;
    AllocationCountingPaused& operator= (const AllocationCountingPaused&) = delete;

private:
    bool wasCounting;
};
} // namespace testing_support
