#include "voices/PulsettaCore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Every allocation of this test program is counted while the counter is
// armed, so the audio path can be shown to allocate nothing.
namespace
{
std::atomic<bool> counting { false };
std::atomic<int> allocations { 0 };
} // namespace

// The replacements stay out of line: inlined, the compiler would pair new
// with free and warn.
[[gnu::noinline]] void* operator new(std::size_t size)
{
    if (counting.load())
        ++allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

[[gnu::noinline]] void operator delete(void* memory) noexcept
{
    std::free(memory);
}

[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

TEST(AudioPath, RenderingTriggeringAndParameterChangesAllocateNothing)
{
    PulsettaCore core;
    core.setSampleRate(48000.0f);
    core.setTriggerOutEnabled(true);
    core.setTriggerOutSource(instrument::snareDrum);
    core.initTriggerOutPulse();

    double out[instrument::numVoices];
    counting = true;
    for (int n = 0; n < 48000; ++n)
    {
        if (n % 4800 == 0)
            for (int slot = 0; slot < instrument::numVoices; ++slot)
            {
                core.setParameter(slot, 0.8f);
                core.setParameter(instrument::firstControlOf[slot], static_cast<float>(n % 9600) / 9600.0f);
                core.trigger(slot, 1.0f);
            }
        core.process(out);
        core.processTriggerOut();
    }
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
}

TEST(AudioPath, TheCounterSeesAnAllocation)
{
    allocations = 0;
    counting = true;
    auto* value = new int(3);
    counting = false;
    delete value;
    EXPECT_EQ(allocations.load(), 1);
}
