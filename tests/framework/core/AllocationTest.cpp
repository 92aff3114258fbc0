// Look-ups by index and the setters run on the audio thread: they must never
// allocate. This executable counts every allocation the test thread makes
// while a counter lives (the support library replaces the allocator).
#include "support/MessageLoop.h"

#include "framework/core/MidiControl.h"
#include "framework/core/ParameterManager.h"
#include "framework/core/Parameters.h"

#include <gtest/gtest.h>

#include "support/AllocationCounter.h"

using testing_support::AllocationCounter;

namespace
{
struct Listener : Parameter::Listener
{
    void parameterChanged (Parameter* p) override { sum += p->getValue(); }
    float sum = 0.0f;
};
} // namespace

TEST (Allocation, TheCounterSeesAllocations)
{
    AllocationCounter counter (AllocationCounter::Scope::thisThread, AllocationCounter::Kinds::operatorNewOnly);
    int* volatile p = new int (3); // volatile: kept, so the compiler cannot drop the pair
    delete p;
    EXPECT_EQ (counter.count(), 1);
}

TEST (Allocation, LookupsAndSettersAllocateNothing)
{
    testing_support::becomeMessageThread();

    ParameterManager manager;
    manager.loadFromResource ("parameters.xml");
    manager.addParameter (std::make_unique<NoteParameter> (3000, "Key", 36));
    manager.addParameter (std::make_unique<EnumParameter> (3001, "Scale", "3;4;6;8"));
    manager.addParameter (std::make_unique<StateParameter> (3002, "Playing"));
    ASSERT_EQ (manager.getNumParameters(), 146);

    Listener immediate, deferred;
    manager.addListenerToAll (&immediate);
    manager.addAsyncListenerToAll (&deferred);

    MidiControl control (manager);
    control.assign (7, manager.getParameter (0), false);
    control.setLearnMode (true);

    // One round first, so that the message queue has its room.
    manager.setValue (0, 0.1f);
    testing_support::runPendingMessages();

    const int indexes[] = { 0, 12, 49, 83, 84, 94, 142, 3000, 3001, 3002, 9999, -1 };
    const juce::uint8 controllerMessage[] = { 0xb9, 7, 0 };
    const juce::String someName ("Hand Clap Reverb");
    float readings = 0.0f;

    {
        // This test thread is the message thread, where posting may grow JUCE's
        // message queue with realloc: operator new is what is counted here.
        AllocationCounter counter (AllocationCounter::Scope::thisThread, AllocationCounter::Kinds::operatorNewOnly);

        for (int round = 1; round <= 20; ++round)
        {
            const float v = static_cast<float> (round) / 20.0f;

            for (int index : indexes)
            {
                if (auto* p = manager.getParameter (index))
                {
                    p->setValue (v, true);
                    p->setNormalised (1.0f - v, true);
                    p->setInt (round, true);
                    p->setBool ((round & 1) != 0, true);
                    readings += p->getValue() + p->getNormalised() + static_cast<float> (p->getInt() + (p->getBool() ? 1 : 0));
                }

                manager.setValue (index, v);
                manager.setNormalised (index, v);
                manager.setInt (index, round);
                manager.setBool (index, (round & 2) != 0);
                manager.copyValue (index, 0);
                readings += manager.getValue (index) + manager.getNormalised (index) + (manager.getBool (index) ? 1.0f : 0.0f);
            }

            const juce::uint8 moved[] = { controllerMessage[0], controllerMessage[1], static_cast<juce::uint8> (round * 6) };
            control.processMidiMessage (moved, 3);
            readings += static_cast<float> (manager.getIndexOfName (someName));
        }

        EXPECT_EQ (counter.count(), 0);
    }

    testing_support::runPendingMessages();
    EXPECT_GT (readings, 0.0f);
    EXPECT_NE (deferred.sum, 0.0f);
}
