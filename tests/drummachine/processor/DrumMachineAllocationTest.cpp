// The block must never allocate once running: this executable counts every
// allocation the test thread makes while a counter lives.
#include "DrumMachineTestSupport.h"

#include "support/AllocationCounter.h"
#include "support/MessageLoop.h"

#include <thread>

using testing_support::AllocationCounter;

using DrumMachineAllocation = DrumMachineTest;

TEST_F (DrumMachineAllocation, TheCounterSeesAllocations)
{
    AllocationCounter counter;
    auto* p = new std::vector<int> (100);
    delete p;
    EXPECT_GT (counter.count(), 0);
}

TEST_F (DrumMachineAllocation, BlocksWithMidiSequencerPadsAndTapsAllocateNothing)
{
    for (const bool sequencerOn : { true, false })
    {
        auto dm = makeDrumMachine (false);
        FakePlayHead head;
        head.playing = true;
        head.bpm = 300.0;
        prepare (*dm, head, 256);
        dm->setInternalSequencer (sequencerOn);
        dm->setInternalSync (false);
        dm->setTriggerOut (true, 0, 3);

        Pattern pattern;
        pattern.setScale (8);
        pattern.setShuffle (0.5);
        for (int track = 0; track < Pattern::numTracks; ++track)
            for (int step = 0; step < Pattern::numSteps; ++step)
                pattern.setStep (track, step, 1 + (track + step) % 3);
        dm->seq().storePattern (0, pattern);

        juce::AudioBuffer<float> buffer (dm->getNumHostOutputChannels(), 256);
        juce::MidiBuffer midi;
        midi.ensureSize (65536);

        const auto block = [&] (int i) {
            midi.clear();
            for (int n = 0; n < 16; ++n)
                midi.addEvent (juce::MidiMessage::noteOn (1, 35 + n, (juce::uint8) (20 + n)), (n * 37 + i) % 300);
            midi.addEvent (juce::MidiMessage::controllerEvent (1, 1, i % 128), 5);
            if (i % 40 == 39)
                midi.addEvent (juce::MidiMessage::allNotesOff (1), 200);
            head.samplePosition = (juce::int64) i * 256;
            dm->processBlock (buffer, midi);
        };

        for (int i = 0; i < 20; ++i)
            block (i); // warm-up: first notifications and the like

        AllocationCounter counter;
        for (int i = 20; i < 400; ++i)
        {
            dm->queuePadTrigger (i % 12, 0.7f);
            dm->queueTap (i % 12, 1 + i % 3);
            block (i);
        }
        EXPECT_EQ (counter.count(), 0) << "sequencer " << sequencerOn;
    }
}

// As a host runs it: blocks on a thread that is not the message thread, with
// mapped controllers and program changes in the MIDI. Nothing
// allocates and nothing is posted to the message queue from there; the
// instance's poll then tells the listeners once.
TEST_F (DrumMachineAllocation, OnAnAudioThreadMappedControllersAndProgramChangesAllocateAndPostNothing)
{
    struct Moves : MidiControl::Listener
    {
        void midiControllerMoved (MidiControl&) override { ++count; }
        int count = 0;
    };

    auto dm = makeDrumMachine (false);
    dm->stopPolling();
    FakePlayHead head;
    prepare (*dm, head, 256);
    dm->setPresetName (1, "One");

    auto& control = dm->getMidiControl();
    for (int cc = 20; cc < 30; ++cc)
        control.assign (cc, dm->getParameterManager().getParameter (cc - 20), true);
    Moves moves;
    control.addListener (&moves);
    testing_support::runMessagesFor (5);
    dm->pollAudioFlags();

    long audioThreadAllocations = -1;
    std::thread audio ([&] {
        juce::AudioBuffer<float> buffer (dm->getNumHostOutputChannels(), 256);
        juce::MidiBuffer midi;
        midi.ensureSize (65536);

        const auto block = [&] (int i) {
            midi.clear();
            for (int cc = 20; cc < 30; ++cc)
                midi.addEvent (juce::MidiMessage::controllerEvent (1, cc, (i * 5 + cc) % 128), cc);
            midi.addEvent (juce::MidiMessage::noteOn (1, 36, (juce::uint8) 100), 40);
            if (i % 10 == 9)
                midi.addEvent (juce::MidiMessage::programChange (1, i % 4), 100);
            const juce::ScopedLock lock (dm->getCallbackLock());
            dm->processBlock (buffer, midi);
        };

        for (int i = 0; i < 20; ++i)
            block (i); // warm-up on this thread

        AllocationCounter counter;
        for (int i = 20; i < 400; ++i)
            block (i);
        counter.stop();
        audioThreadAllocations = counter.count();
    });
    audio.join();

    EXPECT_EQ (audioThreadAllocations, 0);
    EXPECT_FALSE (dm->isUpdatePending()) << "program change posted a message";
    EXPECT_FALSE (control.isUpdatePending()) << "a controller posted a message";
    EXPECT_FALSE (dm->getParameterManager().isDeferredNotificationPosted()) << "a parameter posted a message";
    EXPECT_EQ (moves.count, 0);
    EXPECT_EQ (dm->getCurrentPreset(), 1) << "the last change applied (each applies at the next block)";

    dm->pollAudioFlags();
    EXPECT_EQ (moves.count, 1);
    EXPECT_EQ (dm->getParameterManager().toString (BasePluginOldStyle::currentPresetNameId), "One");
    dm->pollAudioFlags();
    testing_support::runMessagesFor (5);
    EXPECT_EQ (moves.count, 1) << "delivered once";
}
