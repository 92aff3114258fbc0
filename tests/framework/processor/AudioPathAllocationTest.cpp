// The audio thread's part of the processor (the block, program changes with
// everything they set off, host automation) must never allocate. This
// executable counts every allocation the test thread makes while a counter lives.
#include "ProcessorTestSupport.h"

#include "support/AllocationCounter.h"

#include <thread>

using testing_support::AllocationCounter;

namespace
{
struct QuietHost : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged (juce::AudioProcessor*, int, float value) override { sum += value; }
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    float sum = 0.0f;
};
} // namespace

using AudioPathAllocation = ProcessorTest;

TEST_F (AudioPathAllocation, TheCounterSeesAllocations)
{
    AllocationCounter counter (AllocationCounter::Scope::thisThread, AllocationCounter::Kinds::operatorNewOnly);
    juce::StringArray names;
    names.add ("a preset name long enough to need the heap");
    EXPECT_GT (counter.count(), 0);
}

TEST_F (AudioPathAllocation, ProgramChangesAndAutomationAllocateNothing)
{
    auto product = makeProduct();
    QuietHost host;
    product->addListener (&host);
    product->setStoringMode (BasePluginOldStyle::automaticStoring);

    for (int i = 0; i < 20; ++i)
        for (int v = 0; v < 49; ++v)
            product->getPreset (i)->setValue (v, (float) ((i * 7 + v) % 10) / 10.0f);

    product->prepareToPlay (44100.0, 64);
    juce::AudioBuffer<float> buffer (12, 64);
    juce::MidiBuffer midi;

    // One round first, so that the message queue has its room.
    product->handleProgramChange (1);
    product->processBlock (buffer, midi);
    deliverMessages();

    {
        // This test thread is the message thread, where posting may grow JUCE's
        // message queue with realloc: operator new is what is counted here.
        AllocationCounter counter (AllocationCounter::Scope::thisThread, AllocationCounter::Kinds::operatorNewOnly);

        for (int round = 0; round < 40; ++round)
        {
            product->handleProgramChange (round % 20);
            product->processBlock (buffer, midi);
            product->setParameter (round % 84, (float) round / 40.0f);
            product->getParameterManager().setNormalised ((round + 3) % 84, (float) round / 50.0f);
        }

        EXPECT_EQ (counter.count(), 0);
    }

    deliverMessages();
    EXPECT_EQ (product->getCurrentPreset(), 19);
    EXPECT_GT (host.sum, 0.0f);
    product->removeListener (&host);
}

// As a real host runs it: the block on a thread that is not the message
// thread. Program changes and mapped controllers then post no message either
// (posting takes the queue's lock and may allocate); the poll delivers later.
TEST_F (AudioPathAllocation, OnAnAudioThreadProgramChangesAndMappedControllersAllocateAndPostNothing)
{
    auto product = makeProduct();
    product->stopPolling();
    QuietHost host;
    product->addListener (&host);
    product->setPresetName (7, "Seven");

    auto& control = product->getMidiControl();
    for (int cc = 0; cc < 16; ++cc)
        control.assign (cc, product->getParameterManager().getParameter (cc), true);

    product->prepareToPlay (44100.0, 64);
    deliverMessages();
    product->pollAudioFlags();

    long audioThreadAllocations = -1;
    std::thread audio ([&] {
        juce::AudioBuffer<float> buffer (12, 64);
        juce::MidiBuffer midi;
        AllocationCounter counter;

        for (int round = 0; round < 40; ++round)
        {
            product->handleProgramChange (round % 8);
            product->processBlock (buffer, midi);
            const juce::uint8 bytes[] = { 0xb0, (juce::uint8) (round % 16), (juce::uint8) (round * 3) };
            control.processMidiMessage (bytes, 3);
        }

        counter.stop();
        audioThreadAllocations = counter.count();
    });
    audio.join();

    EXPECT_EQ (audioThreadAllocations, 0);
    EXPECT_FALSE (product->isUpdatePending());
    EXPECT_FALSE (control.isUpdatePending());
    EXPECT_FALSE (product->getParameterManager().isDeferredNotificationPosted());

    EXPECT_EQ (product->getCurrentPreset(), 7);
    product->pollAudioFlags();
    EXPECT_EQ (product->getParameterManager().toString (BasePluginOldStyle::currentPresetNameId), "Seven");
    product->removeListener (&host);
}
