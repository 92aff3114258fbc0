// MIDI notes into routed outputs: each voice on its output only, at its
// sample, in mono and stereo; mute and solo; outputs moved while running; the
// trigger-out pulse; events past the block; block-size independence.
#include "DrumMachineTestSupport.h"

namespace
{
constexpr int bassDrum = 0, snareDrum = 1, closedHiHat = 7;

TimedMidi noteOn (int position, int key, int velocity = 100) { return { position, juce::MidiMessage::noteOn (1, key, (juce::uint8) velocity) }; }
} // namespace

using DrumMachineAudio = DrumMachineTest;

// Mono: 12 channels, output n on channel n-1; stereo: 24, output n on the pair 2n-2, 2n-1.
TEST_F (DrumMachineAudio, NoteSoundsOnItsOutputOnlyFromItsSample)
{
    const struct { bool mono; int instrument, output, position, channels; std::vector<int> sounding; } cases[] = {
        { true, snareDrum, 3, 300, 12, { 2 } },
        { false, closedHiHat, 4, 700, 24, { 6, 7 } },
    };
    for (const auto& c : cases)
    {
        auto dm = makeDrumMachine (c.mono);
        ASSERT_EQ (dm->getNumHostOutputChannels(), c.channels);
        dm->setInternalSequencer (false);
        dm->getParameterManager().setInt (DrumMachine::outputNumberParameter + c.instrument, c.output);
        FakePlayHead head;
        prepare (*dm, head, 256);

        const auto result = run (*dm, head, 1024, 256, { noteOn (c.position, keyOf (*dm, c.instrument)) });
        for (int channel = 0; channel < c.channels; ++channel)
        {
            const bool sounds = std::find (c.sounding.begin(), c.sounding.end(), channel) != c.sounding.end();
            EXPECT_EQ (! isSilent (result.audio, channel), sounds) << "mono " << c.mono << " channel " << channel;
        }
        const int first = firstNonZero (result.audio, c.sounding.front());
        EXPECT_GE (first, c.position) << "mono " << c.mono;
        EXPECT_LE (first, c.position + 2) << "mono " << c.mono;
        for (int i = 0; i < 1024; ++i)
            ASSERT_EQ (result.audio.getSample (c.sounding.front(), i), result.audio.getSample (c.sounding.back(), i));
        EXPECT_TRUE (dm->takeHitFlag (c.instrument));
        EXPECT_FALSE (dm->takeHitFlag (c.instrument));
        EXPECT_TRUE (dm->takeMidiActivity());
    }
}

TEST_F (DrumMachineAudio, NotesDoNotPlayWhileTheInternalSequencerIsOn)
{
    auto dm = makeDrumMachine (true);
    ASSERT_TRUE (dm->isInternalSequencerOn()); // the default
    FakePlayHead head;
    prepare (*dm, head, 512);

    const auto result = run (*dm, head, 1024, 512, { noteOn (10, keyOf (*dm, bassDrum)) });
    for (int c = 0; c < 12; ++c)
        EXPECT_TRUE (isSilent (result.audio, c));
    EXPECT_TRUE (result.midi.empty()); // the host gets echo notes only, and there are none
}

TEST_F (DrumMachineAudio, SoloSilencesTheOthersMutedOrNotAndASoloedMutedVoicePlays)
{
    auto dm = makeDrumMachine (true);
    dm->setInternalSequencer (false);
    dm->setOutputNumber (snareDrum, 2);
    FakePlayHead head;
    prepare (*dm, head, 512);

    auto& parameters = dm->getParameterManager();
    parameters.setBool (DrumMachine::muteParameter + bassDrum, true);
    auto result = run (*dm, head, 512, 512, { noteOn (0, keyOf (*dm, bassDrum)), noteOn (0, keyOf (*dm, snareDrum)) });
    EXPECT_TRUE (isSilent (result.audio, 0));
    EXPECT_FALSE (isSilent (result.audio, 1));
    // With the internal sequencer off the host's notes pass through unchanged.
    ASSERT_EQ (result.midi.size(), 2u);
    EXPECT_FALSE (dm->takeHitFlag (bassDrum));
    EXPECT_TRUE (dm->takeHitFlag (snareDrum));

    // Solo the muted bass drum: it plays, the snare does not.
    parameters.setBool (DrumMachine::soloParameter + bassDrum, true);
    dm->setOutputNumber (snareDrum, 3);
    result = run (*dm, head, 2048, 512, { noteOn (0, keyOf (*dm, bassDrum)), noteOn (0, keyOf (*dm, snareDrum)) });
    EXPECT_FALSE (isSilent (result.audio, 0));
    EXPECT_TRUE (dm->takeHitFlag (bassDrum));
    EXPECT_FALSE (dm->takeHitFlag (snareDrum));
    EXPECT_TRUE (dm->isAudible (bassDrum));
    EXPECT_FALSE (dm->isAudible (snareDrum));

    parameters.setBool (DrumMachine::soloParameter + bassDrum, false);
    parameters.setBool (DrumMachine::muteParameter + bassDrum, false);
    run (*dm, head, 1, 1);
    EXPECT_TRUE (dm->isAudible (bassDrum));
    EXPECT_TRUE (dm->isAudible (snareDrum));
}

TEST_F (DrumMachineAudio, OutputNumbersMovedWhileRunningTakeEffectAtTheNextBlock)
{
    auto dm = makeDrumMachine (true);
    dm->setInternalSequencer (false);
    FakePlayHead head;
    prepare (*dm, head, 256);

    const int key = keyOf (*dm, bassDrum);
    auto result = run (*dm, head, 256, 256, { noteOn (0, key) });
    EXPECT_FALSE (isSilent (result.audio, 0));

    dm->getParameterManager().setInt (DrumMachine::outputNumberParameter + bassDrum, 5);
    EXPECT_EQ (dm->getOutputNumber (bassDrum), 5);
    result = run (*dm, head, 256, 256);
    EXPECT_TRUE (isSilent (result.audio, 0));
    EXPECT_FALSE (isSilent (result.audio, 4)); // the ringing drum moved with its output

    // Outside the outputs: refused, the drum stays where it is.
    dm->setOutputNumber (bassDrum, 13);
    dm->setOutputNumber (bassDrum, 0);
    EXPECT_EQ (dm->getOutputNumber (bassDrum), 5);
}

TEST_F (DrumMachineAudio, TriggerOutPulseIsAddedToItsOwnOutput)
{
    auto dm = makeDrumMachine (true);
    dm->setInternalSequencer (false);
    dm->setTriggerOut (true, bassDrum, 6);
    FakePlayHead head;
    prepare (*dm, head, 512);

    const auto result = run (*dm, head, 2048, 512, { noteOn (100, keyOf (*dm, bassDrum)) });
    EXPECT_FALSE (isSilent (result.audio, 0));
    const int pulse = firstNonZero (result.audio, 5);
    EXPECT_GE (pulse, 100);
    EXPECT_LE (pulse, 102);
    for (int c = 1; c < 12; ++c)
    {
        if (c != 5)
        {
            EXPECT_TRUE (isSilent (result.audio, c)) << "channel " << c;
        }
    }

    // The highest output at most.
    dm->setTriggerOut (true, bassDrum, 40);
    EXPECT_EQ (dm->getTriggerOutOutput(), 12);
}

TEST_F (DrumMachineAudio, EventsPastTheBlockAreCarriedIntoTheNext)
{
    auto dm = makeDrumMachine (true);
    dm->setInternalSequencer (false);
    FakePlayHead head;
    prepare (*dm, head, 512);

    juce::AudioBuffer<float> block (12, 512);
    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::noteOn (1, keyOf (*dm, bassDrum), (juce::uint8) 100), 600);
    dm->processBlock (block, midi);
    EXPECT_TRUE (isSilent (block, 0));

    midi.clear();
    dm->processBlock (block, midi);
    const int first = firstNonZero (block, 0);
    EXPECT_GE (first, 88);
    EXPECT_LE (first, 90);
}

// The test that catches most sample-accuracy faults: the same input in
// different block sizes gives the same output to the bit.
TEST_F (DrumMachineAudio, OutputIsTheSameForEveryBlockSize)
{
    for (const bool sequencerOn : { false, true })
    {
        std::vector<TimedMidi> input;
        juce::Random random (sequencerOn ? 7 : 3);
        for (int i = 0; i < 120; ++i)
            input.push_back (noteOn (random.nextInt (48000 * 2), 35 + random.nextInt (17), 1 + random.nextInt (127)));
        input.push_back ({ 30001, juce::MidiMessage::controllerEvent (1, 7, 90) });
        std::sort (input.begin(), input.end(), [] (const auto& a, const auto& b) { return a.position < b.position; });

        RunResult reference;
        for (const int blockSize : { 4096, 1, 7, 64, 512 })
        {
            auto dm = makeDrumMachine (false);
            dm->setInternalSequencer (sequencerOn);
            dm->setInternalSync (false);
            dm->setTriggerOut (true, snareDrum, 12);
            dm->setOutputNumber (snareDrum, 2);
            dm->setAccentLevel (0.7);
            FakePlayHead head;
            head.playing = sequencerOn;
            head.bpm = 300.0;
            prepare (*dm, head, blockSize);

            if (sequencerOn)
            {
                // A busy pattern: every track, flams, shuffle, 8 steps per beat.
                Pattern pattern;
                pattern.setScale (8);
                pattern.setShuffle (0.6);
                pattern.setFlam (0.3);
                for (int track = 0; track < Pattern::numTracks; ++track)
                    for (int step = 0; step < Pattern::numSteps; ++step)
                        pattern.setStep (track, step, (track + step) % 4);
                dm->seq().storePattern (0, pattern);
            }

            auto result = run (*dm, head, 48000 * 2, blockSize, input);
            if (blockSize == 4096)
            {
                reference = std::move (result);
                EXPECT_FALSE (reference.midi.empty() && sequencerOn);
                continue;
            }

            ASSERT_EQ (result.midi, reference.midi) << "block size " << blockSize;
            for (int c = 0; c < reference.audio.getNumChannels(); ++c)
                for (int i = 0; i < reference.audio.getNumSamples(); ++i)
                    ASSERT_EQ (result.audio.getSample (c, i), reference.audio.getSample (c, i))
                        << "block size " << blockSize << " channel " << c << " sample " << i << " sequencer " << sequencerOn;
        }
    }
}
