#pragma once

#include "TestDrumMachine.h"
#include "support/TemporaryUserFolders.h"

#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

#include <algorithm>
#include <memory>
#include <vector>

// A host transport the test moves block by block.
class FakePlayHead : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setIsPlaying (playing);
        info.setBpm (bpm);
        info.setPpqPosition (startPpq + (double) samplePosition / sampleRate * bpm / 60.0);
        info.setTimeInSamples (samplePosition);
        return info;
    }

    bool playing = false;
    double bpm = 120.0;
    double sampleRate = 48000.0;
    double startPpq = 0.0;
    juce::int64 samplePosition = 0;
};

struct EchoNote
{
    int position;   // samples from the start of the run
    int status;     // 0x90 or 0x80
    int key;
    int velocity;
    bool operator== (const EchoNote& o) const { return position == o.position && status == o.status && key == o.key && velocity == o.velocity; }
};

inline std::ostream& operator<< (std::ostream& os, const EchoNote& n)
{
    return os << "{" << n.position << ", " << std::hex << n.status << std::dec << ", " << n.key << ", " << n.velocity << "}";
}

struct TimedMidi
{
    int position; // samples from the start of the run
    juce::MidiMessage message;
};

// What a run of blocks produced: every output channel and every MIDI message
// the host got back.
struct RunResult
{
    juce::AudioBuffer<float> audio;
    std::vector<EchoNote> midi;
};

// Every test runs with the message manager on this thread and the user's
// folders in a fresh temporary folder.
class DrumMachineTest : public ::testing::Test,
                        protected testing_support::TemporaryUserFolders
{
protected:
    DrumMachineTest() : TemporaryUserFolders ("pulsetta-drummachine-test-") {}

    static std::unique_ptr<TestDrumMachine> makeDrumMachine (bool mono = false)
    {
        auto made = std::make_unique<TestDrumMachine>();
        made->setDefaultOutputCharacteristics (mono ? DrumMachine::monoOutputs : DrumMachine::stereoOutputs);
        auto* created = BasePlugin::startUp (std::move (made));
        return std::unique_ptr<TestDrumMachine> (static_cast<TestDrumMachine*> (created));
    }

    // As the binding does at resume.
    static void prepare (DrumMachine& dm, FakePlayHead& head, int blockSize, double rate = 48000.0)
    {
        head.sampleRate = rate;
        dm.setPlayHead (&head);
        dm.setPlayConfigDetails (0, dm.getNumHostOutputChannels(), rate, blockSize);
        dm.prepareToPlay (rate, blockSize);
    }

    // Runs numSamples in blocks of blockSize, under the callback lock as the
    // binding does, the host's transport moving on from where it stood.
    static RunResult run (DrumMachine& dm, FakePlayHead& head, int numSamples, int blockSize,
                          const std::vector<TimedMidi>& input = {})
    {
        const int channels = dm.getNumHostOutputChannels();
        RunResult result;
        result.audio.setSize (channels, numSamples);
        result.audio.clear();
        juce::AudioBuffer<float> block (channels, blockSize);
        juce::MidiBuffer midi;
        midi.ensureSize (65536);
        const auto origin = head.samplePosition;

        for (int start = 0; start < numSamples; start += blockSize)
        {
            const int length = std::min (blockSize, numSamples - start);
            block.setSize (channels, length, false, false, true);
            midi.clear();
            for (const auto& event : input)
                if (event.position >= start && event.position < start + length)
                    midi.addEvent (event.message, event.position - start);

            head.samplePosition = origin + start;
            {
                const juce::ScopedLock lock (dm.getCallbackLock());
                dm.processBlock (block, midi);
            }

            for (int c = 0; c < channels; ++c)
                result.audio.copyFrom (c, start, block, c, 0, length);
            for (const auto metadata : midi)
            {
                const auto message = metadata.getMessage();
                if (message.isNoteOnOrOff())
                    result.midi.push_back ({ start + metadata.samplePosition, message.isNoteOn() ? 0x90 : 0x80,
                                             message.getNoteNumber(), message.isNoteOn() ? (int) message.getVelocity() : 0 });
            }
        }
        head.samplePosition = origin + numSamples;
        return result;
    }

    // Idle voices leave their smoothers' tiny residue (about 1e-20) in the
    // mix: anything below -120 dB counts as silence.
    static int firstNonZero (const juce::AudioBuffer<float>& audio, int channel)
    {
        for (int i = 0; i < audio.getNumSamples(); ++i)
            if (std::abs (audio.getSample (channel, i)) > 1.0e-6f)
                return i;
        return -1;
    }

    static bool isSilent (const juce::AudioBuffer<float>& audio, int channel)
    {
        return firstNonZero (audio, channel) < 0;
    }

    static int keyOf (DrumMachine& dm, int instrument)
    {
        for (int key = 0; key < 128; ++key)
            if (dm.getDrumMap().getInstrumentForKey (key) == instrument)
                return key;
        return -1;
    }

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
};
