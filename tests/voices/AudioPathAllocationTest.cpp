#include "voices/PulsettaCore.h"

#include <gtest/gtest.h>

#include "support/AllocationCounter.h"

// Every allocation of this test program is counted while a counter lives, so
// the audio path can be shown to allocate nothing.
using testing_support::AllocationCounter;

TEST(AudioPath, RenderingTriggeringAndParameterChangesAllocateNothing)
{
    PulsettaCore core;
    core.setSampleRate(48000.0f);
    core.setTriggerOutEnabled(true);
    core.setTriggerOutSource(instrument::snareDrum);
    core.initTriggerOutPulse();

    double out[instrument::numVoices];
    AllocationCounter counter(AllocationCounter::Scope::allThreads);
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
    counter.stop();
    EXPECT_EQ(counter.count(), 0);
}

TEST(AudioPath, TheCounterSeesAnAllocation)
{
    AllocationCounter counter(AllocationCounter::Scope::allThreads);
    int* volatile value = new int(3); // volatile: kept, so the compiler cannot drop the pair
    counter.stop();
    delete value;
    EXPECT_EQ(counter.count(), 1);
}
