// The message thread keeps handing things over (pads, taps, flushes, pattern
// rewrites, mute and output changes, whole state loads) while an audio thread
// runs blocks under the callback lock, as the binding does. Run under the
// sanitizer build, it shows the hand-over is clean.
#include "DrumMachineTestSupport.h"

#include <atomic>
#include <thread>

using DrumMachineStress = DrumMachineTest;

TEST_F (DrumMachineStress, MessageThreadChangesWhileBlocksRun)
{
    auto dm = makeDrumMachine();
    FakePlayHead head;
    head.playing = true;
    head.bpm = 300.0;
    prepare (*dm, head, 256);
    dm->setInternalSync (false);

    juce::MemoryBlock chunk;
    dm->getStateInformation (chunk);

    std::atomic<bool> done { false };
    std::atomic<long> blocks { 0 };
    std::thread audio ([&] {
        juce::AudioBuffer<float> buffer (dm->getNumHostOutputChannels(), 256);
        juce::MidiBuffer midi;
        midi.ensureSize (65536);
        int i = 0;
        while (! done.load())
        {
            midi.clear();
            midi.addEvent (juce::MidiMessage::noteOn (1, 36 + (i % 16), (juce::uint8) 100), i % 256);
            if (i % 50 == 0)
                midi.addEvent (juce::MidiMessage::allNotesOff (1), 128);
            {
                const juce::ScopedLock lock (dm->getCallbackLock());
                head.samplePosition = (juce::int64) i * 256;
                dm->processBlock (buffer, midi);
            }
            ++i;
            blocks = i;
        }
    });

    Pattern pattern;
    for (int round = 0; round < 300; ++round)
    {
        dm->queuePadTrigger (round % 12, 0.8f);
        dm->queueTap (round % 12, 1 + round % 3);
        if (round % 7 == 0)
            dm->queueNoteOffFlush();
        dm->setInternalSequencer (round % 5 != 0);
        dm->setMute (round % 11, round % 2 == 0);
        dm->getParameterManager().setInt (DrumMachine::outputNumberParameter + round % 11, 1 + round % 12);
        if (round % 3 == 0)
        {
            pattern.setStep (round % 12, round % 16, round % 4);
            pattern.setShuffle ((round % 9) / 10.0);
            dm->seq().storePattern (0, pattern);
        }
        if (round % 10 == 0)
            dm->setStateInformation (chunk.getData(), (int) chunk.getSize());
        if (round % 4 == 0)
            dm->pollAudioFlags();
        dm->requestStartStop();
    }

    // Let the audio thread catch up with the last commands.
    const long target = blocks.load() + 4;
    while (blocks.load() < target)
        std::this_thread::yield();
    done = true;
    audio.join();
    dm->pollAudioFlags();
    EXPECT_GT (blocks.load(), 4);
}
