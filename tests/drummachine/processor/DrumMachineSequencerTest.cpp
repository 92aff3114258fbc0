// The internal sequencer through the processor: echo notes at their samples
// and velocities on the host's transport and on the internal clock, taps,
// pads, all-notes-off, start and stop.
#include "DrumMachineTestSupport.h"

#include <cmath>

namespace
{
constexpr int bassDrum = 0, snareDrum = 1;
constexpr double rate = 48000.0;
constexpr double samplesPerBeat = rate / 2.0; // 120 bpm

int velocityByte (float velocity)
{
    return std::clamp ((int) std::lround (std::clamp (velocity, 0.0f, 1.0f) * 127.0f), 1, 127);
}

int ceilSample (double beats)
{
    return (int) std::ceil (beats * samplesPerBeat - 1.0e-7);
}

// What the host should receive for one bar of a 16-step pattern at 120 bpm,
// worked out from the pattern alone: every step on its shuffled sample, each
// flam's second stroke a flam time later, note-offs before repeated notes.
std::vector<EchoNote> expectedBar (TestDrumMachine& dm, const Pattern& pattern, float accentLevel, int firstStep = 0)
{
    struct Hit { int position; int order; int instrument; float velocity; };
    std::vector<Hit> hits;
    const double stepBeats = 1.0 / pattern.getScale();
    const float base = dm.getBaseVelocity(), boost = dm.getStrongVelocityBoost();
    const float accentTerm = dm.getAccentVelocityScale() * accentLevel;

    for (int n = 0; n < 16; ++n)
    {
        const int step = (firstStep + n) % 16;
        const int pair = n / 2;
        const double startBeats = 2.0 * pair * stepBeats + (n % 2 == 1 ? (1.0 + pattern.getShuffle()) * stepBeats : 0.0);
        const int start = ceilSample (startBeats);
        const int flamAt = start + (int) std::ceil (pattern.getFlam() * stepBeats * samplesPerBeat - 1.0e-7);
        const bool accented = pattern.getStep (Pattern::accentTrack, step) != Pattern::stepOff;

        for (int row = 0; row < DrumMachine::numInstruments; ++row)
        {
            const int value = pattern.getStep (row, step);
            if (value == Pattern::stepOff)
                continue;
            const float velocity = base + (value == Pattern::stepAccent ? boost : 0.0f) + (accented ? accentTerm : 0.0f);
            hits.push_back ({ start, n * 100 + row, row, velocity });
            if (value == Pattern::stepFlam)
                hits.push_back ({ flamAt, n * 100 + 50 + row, row, base + boost + (accented ? accentTerm : 0.0f) });
        }
    }
    std::stable_sort (hits.begin(), hits.end(), [] (const Hit& a, const Hit& b) { return a.position != b.position ? a.position < b.position : a.order < b.order; });

    std::vector<EchoNote> notes;
    std::array<bool, DrumMachine::numInstruments> pending {};
    for (const auto& hit : hits)
    {
        std::vector<int> keys;
        for (int key = 0; key < 128; ++key)
            if (dm.getDrumMap().getInstrumentForKey (key) == hit.instrument)
                keys.push_back (key);
        if (pending[(size_t) hit.instrument])
            for (int key : keys)
                notes.push_back ({ hit.position, 0x80, key, 0 });
        for (int key : keys)
            notes.push_back ({ hit.position, 0x90, key, velocityByte (hit.velocity) });
        pending[(size_t) hit.instrument] = true;
    }
    return notes;
}

// A factory pattern of 16 steps at 4 per beat, preferring one with shuffle and flams.
Pattern pickFactoryPattern (TestDrumMachine& dm)
{
    Pattern chosen, candidate;
    int bestScore = -1;
    for (int index = 0; index < PulsettaSeq::numPatterns; ++index)
    {
        dm.seq().copyPattern (index, candidate);
        if (candidate.getLength() != 16 || candidate.getScale() != 4)
            continue;
        bool flams = false;
        for (int row = 0; row < DrumMachine::numInstruments; ++row)
            for (int step = 0; step < 16; ++step)
                flams = flams || candidate.getStep (row, step) == Pattern::stepFlam;
        const int score = (candidate.getShuffle() > 0.0 ? 2 : 0) + (flams ? 1 : 0);
        if (score > bestScore)
        {
            bestScore = score;
            chosen.copyFrom (candidate);
        }
    }
    EXPECT_EQ (bestScore, 3) << "the bar should hold shuffled steps and flam strokes";
    return chosen;
}

std::vector<EchoNote> noteOnsOf (const std::vector<EchoNote>& notes, int key)
{
    std::vector<EchoNote> found;
    for (const auto& note : notes)
        if (note.key == key && note.status == 0x90)
            found.push_back (note);
    return found;
}

Pattern emptyPattern()
{
    Pattern pattern;
    pattern.setTempo (120.0);
    pattern.setScale (4);
    pattern.setLength (16);
    return pattern;
}
} // namespace

class DrumMachineSequencer : public DrumMachineTest
{
protected:
    void SetUp() override
    {
        dm = makeDrumMachine (false);
        prepare (*dm, head, 512, rate);
        dm->setAccentLevel (0.6);
    }

    std::unique_ptr<TestDrumMachine> dm;
    FakePlayHead head;
};

// On the host's transport from the bar's start and from its middle (the
// pattern must start at the host's position), and on the internal clock.
TEST_F (DrumMachineSequencer, OneBarOfAFactoryPatternGivesItsEchoNotes)
{
    const struct { bool hostTransport; double startPpq; int firstStep, blockSize; } cases[] = {
        { true, 0.0, 0, 512 }, { true, 2.0, 8, 512 }, { false, 0.0, 0, 333 },
    };
    for (const auto& c : cases)
    {
        auto machine = makeDrumMachine (false);
        FakePlayHead transport;
        prepare (*machine, transport, c.blockSize, rate);
        machine->setAccentLevel (0.6);
        Pattern pattern = pickFactoryPattern (*machine);
        ASSERT_EQ (pattern.getLength(), 16);
        pattern.setTempo (120.0);
        machine->seq().storePattern (0, pattern);
        if (c.hostTransport)
        {
            machine->setInternalSync (false); // the host's tempo
            transport.playing = true;
            transport.startPpq = c.startPpq;
        }
        else
        {
            ASSERT_TRUE (machine->isInternalSyncOn()); // the pattern's tempo
            machine->requestStart();
        }

        const auto result = run (*machine, transport, (int) (4 * samplesPerBeat), c.blockSize);
        EXPECT_FALSE (result.midi.empty());
        EXPECT_EQ (result.midi, expectedBar (*machine, pattern, 0.6f, c.firstStep)) << "host " << c.hostTransport << " at " << c.startPpq;
        if (! c.hostTransport)
        {
            EXPECT_EQ (machine->getLastAppliedRequest(), DrumMachine::startRequest);
            EXPECT_TRUE (machine->getNativeClock().isRunning());
        }
    }
}

TEST_F (DrumMachineSequencer, AccentedStrongStepsAreClampedToTheMidiRangeAndTheAccentTrackPlays)
{
    auto pattern = emptyPattern();
    pattern.setStep (bassDrum, 0, Pattern::stepAccent);
    pattern.setStep (snareDrum, 0, Pattern::stepOn);
    pattern.setStep (Pattern::accentTrack, 0, Pattern::stepOn);
    dm->seq().storePattern (0, pattern);
    dm->setAccentLevel (1.0); // 0.378 + 0.377 + 0.623 = 1.378
    dm->setSolo (bassDrum, true);
    dm->requestStart();

    const auto result = run (*dm, head, 1024, 512);
    const auto bass = noteOnsOf (result.midi, keyOf (*dm, bassDrum));
    ASSERT_FALSE (bass.empty());
    EXPECT_EQ (bass.front().velocity, 127);
    EXPECT_EQ (bass.front().position, 0);
    EXPECT_TRUE (noteOnsOf (result.midi, keyOf (*dm, snareDrum)).empty()); // not soloed
    EXPECT_TRUE (dm->takeHitFlag (Pattern::accentTrack));
}

TEST_F (DrumMachineSequencer, ATapInTheFirstHalfOfAStepIsWrittenThereAndSoundsOnce)
{
    dm->seq().storePattern (0, emptyPattern());
    dm->requestStart();
    run (*dm, head, 1024, 512); // step 0 is playing (6000 samples long)

    ASSERT_TRUE (dm->queueTap (snareDrum, Pattern::stepOn));
    const auto result = run (*dm, head, (int) (4 * samplesPerBeat) - 2048, 512);
    const auto snare = noteOnsOf (result.midi, keyOf (*dm, snareDrum));
    ASSERT_EQ (snare.size(), 1u); // at once, and not again at the next step
    EXPECT_EQ (snare.front().position, 0);
    Pattern stored;
    dm->seq().copyPattern (0, stored);
    EXPECT_EQ (stored.getStep (snareDrum, 0), Pattern::stepOn);
    EXPECT_EQ (stored.getStep (snareDrum, 1), Pattern::stepOff);

    // The next bar plays it on step 0 again.
    const auto nextBar = noteOnsOf (run (*dm, head, 2048, 512).midi, keyOf (*dm, snareDrum));
    ASSERT_EQ (nextBar.size(), 1u);
    EXPECT_EQ (nextBar.front().position, 1024);
}

// With shuffle 0.5 at 120 bpm, 48 kHz, step 1 runs from sample 9000 to 12000,
// and its flam pass comes at 9000 + 0.383 x 6000 = 11298: a tap between the
// step's middle (10500) and that pass belongs to step 2, not to step 1.
TEST_F (DrumMachineSequencer, ATapLateInAShortShuffledStepIsWrittenIntoTheNextStepAndSoundsThere)
{
    auto pattern = emptyPattern();
    pattern.setShuffle (0.5);
    pattern.setFlam (0.383);
    dm->seq().storePattern (0, pattern);
    dm->requestStart();
    run (*dm, head, 10752, 256);

    ASSERT_TRUE (dm->queueTap (snareDrum, Pattern::stepOn));
    const auto snare = noteOnsOf (run (*dm, head, 2048, 256).midi, keyOf (*dm, snareDrum));
    ASSERT_EQ (snare.size(), 1u);
    EXPECT_EQ (snare.front().position, 12000 - 10752);
    Pattern stored;
    dm->seq().copyPattern (0, stored);
    EXPECT_EQ (stored.getStep (snareDrum, 1), Pattern::stepOff);
    EXPECT_EQ (stored.getStep (snareDrum, 2), Pattern::stepOn);
}

// A tap late in step 0 waits for step 1; what waits when playback stops, or
// what cannot be played by the sequencer at all, is never written later.
TEST_F (DrumMachineSequencer, ATapThatCannotSoundAtItsStepIsNeverWrittenLater)
{
    for (const bool stopBeforeTheStep : { true, false })
    {
        auto machine = makeDrumMachine (false);
        FakePlayHead transport;
        prepare (*machine, transport, 512, rate);
        machine->seq().storePattern (0, emptyPattern());
        if (stopBeforeTheStep)
            machine->requestStart();
        else
        {
            // The host's transport runs the internal clock, the sequencer is off: a tap is a pad.
            machine->setInternalSequencer (false);
            transport.playing = true;
        }
        run (*machine, transport, 4096, 512);
        ASSERT_TRUE (machine->getNativeClock().isRunning());

        machine->takeHitFlag (snareDrum);
        ASSERT_TRUE (machine->queueTap (snareDrum, Pattern::stepOn));
        run (*machine, transport, 512, 512);
        if (stopBeforeTheStep)
        {
            machine->requestStop();
            run (*machine, transport, 512, 512);
            machine->requestStart();
        }
        else
        {
            EXPECT_TRUE (machine->takeHitFlag (snareDrum)) << "heard at once";
            machine->setInternalSequencer (true);
        }

        const auto later = run (*machine, transport, 24000, 512);
        EXPECT_TRUE (noteOnsOf (later.midi, keyOf (*machine, snareDrum)).empty()) << stopBeforeTheStep;
        Pattern stored;
        machine->seq().copyPattern (0, stored);
        for (int step = 0; step < 16; ++step)
            EXPECT_EQ (stored.getStep (snareDrum, step), Pattern::stepOff) << stopBeforeTheStep << " step " << step;
    }
}

// With shuffle 0.8 step 1 lasts 1200 samples (10800 to 12000), less than the
// flam delay of 0.383 x 6000 = 2298 samples.
TEST_F (DrumMachineSequencer, AFlamOnAShortShuffledStepSoundsBothStrokes)
{
    auto pattern = emptyPattern();
    pattern.setShuffle (0.8);
    pattern.setFlam (0.383);
    pattern.setStep (bassDrum, 1, Pattern::stepFlam);
    dm->seq().storePattern (0, pattern);
    dm->requestStart();

    const auto bass = noteOnsOf (run (*dm, head, 24000, 512).midi, keyOf (*dm, bassDrum));
    ASSERT_EQ (bass.size(), 2u);
    EXPECT_EQ (bass[0].position, 10800);
    EXPECT_EQ (bass[0].velocity, velocityByte (dm->getBaseVelocity()));
    EXPECT_GT (bass[1].position, 10800);
    EXPECT_LE (bass[1].position, 12000) << "before the next step";
    EXPECT_EQ (bass[1].velocity, velocityByte (dm->getBaseVelocity() + dm->getStrongVelocityBoost()));
}

TEST_F (DrumMachineSequencer, PadsSoundAtTheNextBlocksFirstSampleWithTheirEcho)
{
    ASSERT_TRUE (dm->queuePadTrigger (bassDrum, 0.5f));
    EXPECT_FALSE (dm->queuePadTrigger (12, 0.5f));
    EXPECT_FALSE (dm->queuePadTrigger (-1, 0.5f));
    const auto result = run (*dm, head, 512, 512);
    const auto bass = noteOnsOf (result.midi, keyOf (*dm, bassDrum));
    ASSERT_EQ (bass.size(), 1u);
    EXPECT_EQ (bass.front().position, 0);
    EXPECT_EQ (bass.front().velocity, 64);
    EXPECT_FALSE (isSilent (result.audio, 0));
    EXPECT_TRUE (dm->takeHitFlag (bassDrum));
}

TEST_F (DrumMachineSequencer, AllNotesOffStopsTheClocksAndEndsTheEchoedNotes)
{
    auto pattern = emptyPattern();
    pattern.setStep (bassDrum, 0, Pattern::stepOn);
    dm->seq().storePattern (0, pattern);
    dm->requestStart();
    run (*dm, head, 512, 512);
    ASSERT_TRUE (dm->getNativeClock().isRunning());

    const auto result = run (*dm, head, 512, 512, { { 100, juce::MidiMessage::allNotesOff (1) } });
    EXPECT_FALSE (dm->getNativeClock().isRunning());
    int noteOffs = 0;
    for (const auto& note : result.midi)
        if (note.status == 0x80 && dm->getDrumMap().getInstrumentForKey (note.key) == bassDrum && note.position == 100)
            ++noteOffs;
    EXPECT_EQ (noteOffs, 2); // both bass drum keys
}

TEST_F (DrumMachineSequencer, HostTransportStartsAndStopsTheInternalClockByDetection)
{
    head.playing = true;
    run (*dm, head, 512, 512);
    EXPECT_TRUE (dm->getNativeClock().isRunning());
    head.playing = false;
    run (*dm, head, 512, 512);
    EXPECT_FALSE (dm->getNativeClock().isRunning());

    dm->setHostPlayDetection (DrumMachine::byLowestCNoteOn);
    head.playing = true;
    run (*dm, head, 512, 512);
    EXPECT_FALSE (dm->getNativeClock().isRunning());
    run (*dm, head, 512, 512, { { 10, juce::MidiMessage::noteOn (1, 0, (juce::uint8) 100) } });
    EXPECT_TRUE (dm->getNativeClock().isRunning());
}

TEST_F (DrumMachineSequencer, HeldHostPatternKeysStopThePatternAtTheLastRelease)
{
    dm->setHostMode (true);
    dm->setNoteOffMode (true);
    const int key = 12 + 5;
    run (*dm, head, 512, 512, { { 0, juce::MidiMessage::noteOn (1, key, (juce::uint8) 100) },
                                { 10, juce::MidiMessage::noteOn (1, key, (juce::uint8) 100) } });
    EXPECT_TRUE (dm->getHostClock().isRunning());
    EXPECT_EQ (dm->seq().getHostPattern(), 5);

    run (*dm, head, 512, 512, { { 0, juce::MidiMessage::noteOff (1, key) } });
    EXPECT_TRUE (dm->getHostClock().isRunning());
    run (*dm, head, 512, 512, { { 0, juce::MidiMessage::noteOff (1, key) } });
    EXPECT_FALSE (dm->getHostClock().isRunning());
}

// The clock once started the second step of its very first pair twice (on its
// sample and the next) when shuffle put that boundary between two samples.
TEST (DrumMachineClockUse, TheFirstShuffledPairStartsEachStepOnce)
{
    ShuffledClockNew clock;
    clock.setSampleRate (rate);
    clock.setTempo (120.0);
    clock.setStepsPerBeat (4.0);
    clock.setShuffle (0.14);
    clock.start (0.0);

    std::vector<int> starts;
    for (int s = 0; s < 24001; ++s)
        if (clock.advance())
            for (int e = 0; e < clock.getNumEvents(); ++e)
                if (clock.getEvent (e).kind == ShuffledClockNew::stepStartEvent)
                    starts.push_back (s);
    EXPECT_EQ (starts, (std::vector<int> { 0, 6840, 12000, 18840, 24000 }));
}

TEST_F (DrumMachineSequencer, AStateThatSwitchesTheSequencerOffEndsTheEchoedNotesAtTheNextBlock)
{
    auto pattern = emptyPattern();
    pattern.setStep (snareDrum, 0, Pattern::stepOn);
    dm->seq().storePattern (0, pattern);
    dm->requestStart();
    run (*dm, head, 512, 512);

    auto state = dm->createPluginStateXml();
    auto* internalSequencer = state->getChildByName ("InternalSequencer");
    ASSERT_NE (internalSequencer, nullptr);
    internalSequencer->getChildByName ("IntSeq")->setAttribute ("state", "off");
    dm->restorePluginState (*state);
    EXPECT_FALSE (dm->isInternalSequencerOn());

    const auto result = run (*dm, head, 512, 512);
    ASSERT_EQ (result.midi.size(), 2u);
    for (const auto& note : result.midi)
    {
        EXPECT_EQ (note.status, 0x80);
        EXPECT_EQ (note.position, 0);
        EXPECT_EQ (dm->getDrumMap().getInstrumentForKey (note.key), snareDrum);
    }
}
