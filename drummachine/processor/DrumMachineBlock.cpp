// The audio block: walks the block sample by sample, rendering the voices up
// to each MIDI event and each clock step, so every hit lands on its sample
// whatever the block size. Nothing here allocates, locks or waits.
#include "drummachine/processor/DrumMachine.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr std::uint8_t noteOnStatus = 0x90;
constexpr std::uint8_t noteOffStatus = 0x80;
constexpr int allNotesOffController = 123;
constexpr int lowestPatternKey = 12;
constexpr int highestPatternKey = 107;

/** Adds a voice's samples, as single-precision samples, onto an output's
    channel (the first of a pair: the second is made a copy of it once every
    voice is in). Built twice, the second for processors with AVX2, where it
    converts and adds eight at a time. */
inline void addVoiceTo (float* __restrict channel, const double* voice, int frames) noexcept
{
    for (int n = 0; n < frames; ++n)
        channel[n] += (float) voice[n];
}

__attribute__ ((target ("avx2"))) void addVoiceWithAvx2 (float* channel, const double* voice, int frames) noexcept
{
    addVoiceTo (channel, voice, frames);
}

void addVoice (float* channel, const double* voice, int frames) noexcept
{
    addVoiceTo (channel, voice, frames);
}

/** The same for a voice that gives one value throughout. */
void addConstantVoice (float* channel, float sample, int frames) noexcept
{
    for (int n = 0; n < frames; ++n)
        channel[n] += sample;
}

std::uint8_t velocityByte (float velocity) noexcept
{
    // Step velocities add up past 1 (up to about 1.38): the echo is held to
    // the MIDI range, and a note-on never carries velocity 0.
    const float held = std::isfinite (velocity) ? std::clamp (velocity, 0.0f, 1.0f) : 0.0f;
    return (std::uint8_t) std::clamp ((int) std::lround (held * 127.0f), 1, 127);
}
} // namespace

void DrumMachine::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    // The voices keep their own tails off denormal numbers; this guard covers
    // whatever they miss, and puts the host's floating-point mode back after.
    const juce::ScopedNoDenormals noDenormals;
    // Whatever this block asks of the message thread waits for the poll, even
    // when a host renders on its message thread.
    const PolledAsyncUpdater::ScopedAudioCallback renderingAudio;

    BasePluginOldStyle::processBlock (buffer, midi);
    if (core == nullptr || sequencer == nullptr)
    {
        buffer.clear();
        return;
    }

    // Sound parameters changed since the last block (a program change above included).
    applyPendingSoundParameters();

    const int numSamples = buffer.getNumSamples();

    // 1. The modes, once for the block.
    sequencer->latchNativePattern();
    blockIntSeq = intSeq.load (std::memory_order_relaxed);
    blockIntSync = intSync.load (std::memory_order_relaxed);
    blockHostMode = hostMode.load (std::memory_order_relaxed);
    const bool nativeWasRunning = nativeClock.isRunning();
    if (muteSoloChanged.exchange (false))
        resolveMuteSolo();
    for (int i = 0; i < numInstruments; ++i)
        blockOutput[(size_t) i] = outputNumber[(size_t) i].load (std::memory_order_relaxed);

    // 2, 3. The host's transport, then the play and stop requests. A request
    // waiting now was made after the last block read the transport.
    const bool hostPlayedWhenRequested = hostPlaying;
    handleTransport (blockIntSync, numSamples);
    applyStartStopRequest (blockIntSeq, blockIntSync, hostPlayedWhenRequested);

    // 4. Outputs.
    numOutputChannels = std::min (buffer.getNumChannels(), maxChannels);
    buffer.clear();
    for (int c = 0; c < numOutputChannels; ++c)
        outputChannels[(size_t) c] = buffer.getWritePointer (c);

    // 5. MIDI in and out.
    carry.mergeIncoming (midi);
    midiOut.clear();
    stampPosition = 0;
    renderPending = 0;
    renderedTotal = 0;

    // The message thread's commands sound from the first sample.
    drainHandOver();

    // 6. The host pattern's timing.
    if (hostClock.isRunning())
    {
        if (blockIntSync)
            hostClock.setTempo (sequencer->getHostPatternTempo());
        hostClock.setShuffle (sequencer->getHostPatternShuffle());
        hostClock.setStepsPerBeat (sequencer->getHostPatternScale());
        syncHostFlamClock();
        hostFlamClock.setGateFraction (sequencer->getHostPatternFlam());
    }

    const bool hostPlays = blockIntSeq && blockHostMode;
    const bool nativePlays = blockIntSeq && ! blockHostMode;
    const bool flam = supportsFlam();

    // 7. Sample by sample. The next event's sample is kept at hand, and the
    // echo's stamp and the frames waiting to be rendered are brought up to
    // the sample only where something that reads them runs.
    const auto nextEventSample = [this, numSamples] { return carry.hasEvent() ? carry.getNextPosition() : numSamples; };
    int nextEvent = nextEventSample();
    for (int s = 0; s < numSamples; ++s)
    {
        const auto upToThisSample = [this, s] {
            stampPosition = s;
            renderPending = s - renderedTotal;
        };
        if (nextEvent <= s)
        {
            upToThisSample();
            noteMidiActivity();
            render();
            while (carry.hasEvent() && carry.getNextPosition() <= s)
                handleMidiInput (carry.takeNext());
            nextEvent = nextEventSample();
        }

        // A stopped clock has no step to report: it is not asked.
        if (hostClock.isRunning() && hostClock.advance())
        {
            upToThisSample();
            playHostClockSteps (hostPlays);
        }
        if (nativeClock.isRunning() && nativeClock.advance())
        {
            upToThisSample();
            playNativeClockSteps (nativePlays, blockIntSync);
        }
        if (flam && (hostFlamClock.isRunning() || nativeFlamClock.isRunning()))
        {
            upToThisSample();
            playFlamStrokes (hostPlays, nativePlays);
        }
        if (tapsQueued)
        {
            upToThisSample();
            render();
            playQueuedTaps (blockHostMode);
        }
    }
    stampPosition = numSamples;
    renderPending = numSamples - renderedTotal;

    // 8. The rest of the block; events past it wait for the next one.
    render();
    carry.carryOver (numSamples);

    // 9. With the internal sequencer the host gets the echo notes instead of
    // its input. Without it the input passes through, and the only echoes are
    // the note-offs of notes echoed before the sequencer was switched off.
    if (blockIntSeq)
        midi.clear();
    for (int i = 0; i < midiOut.size(); ++i)
        if (midiOut[i].position >= 0)
            midi.addEvent (midiOut[i].bytes, midiOut[i].size, midiOut[i].position);

    // 10, 11. The editor follows; the play state is published.
    follow();
    if (nativeClock.isRunning() != nativeWasRunning)
        playStatePending.store (true, std::memory_order_release);
}

void DrumMachine::drainHandOver() noexcept
{
    if (noteOffFlushPending.exchange (false, std::memory_order_acq_rel))
        sendPendingNoteOffs();

    HandOverCommand command;
    while (handOver.pop (command))
    {
        switch (command.kind)
        {
            case HandOverCommand::triggerPad:
                triggerInstrument (command.track, command.velocity);
                break;
            case HandOverCommand::queueTap:
                queuedTaps[(size_t) command.track] = command.value;
                tapsQueued = true;
                break;
            case HandOverCommand::clearQueuedTaps:
                queuedTaps.fill (0);
                tapsQueued = false;
                break;
            case HandOverCommand::flushNoteOffs:
                sendPendingNoteOffs();
                break;
        }
    }
}

//==== Transport ======================================================================

void DrumMachine::handleTransport (bool intSyncOn, int numSamples) noexcept
{
    auto* head = getPlayHead();
    if (head == nullptr)
        return;
    const auto position = head->getPosition();
    if (! position.hasValue())
        return;

    const bool playing = position->getIsPlaying();
    const auto ppq = position->getPpqPosition();
    const double bpm = position->getBpm().orFallback (0.0);

    if (playing != hostPlaying)
    {
        hostPlaying = playing;
        hostFollower.reset();
        if (playing)
        {
            if (hostPlayDetection.load (std::memory_order_relaxed) == byTransportChange && ! nativeClock.isRunning())
            {
                // A song started before its zero (a count-in) is waited for.
                startNativeClock (ppq.orFallback (0.0), intSyncOn, bpm);
                // The pattern starts where the host's song is, not at its first step.
                nativeLocatePending = true;
            }
        }
        else
        {
            stopEverything();
            sequencer->stopHost();
            sequencer->stopNative();
            lowestCStarted = false;
        }
        lastAppliedRequest.store (stopRequest, std::memory_order_relaxed);
    }

    if (intSyncOn)
    {
        hostFollower.reset();
        // The clock plays at its own tempo, but a count-in lasts as long as the
        // host's, whose tempo may change before the song's zero.
        if (playing && ppq.hasValue() && nativeClock.isRunning() && nativeClock.getPosition() < 0.0)
            nativeClock.setPosition (nativeStartPosition (*ppq, intSyncOn, bpm));
        return;
    }

    if (position->getBpm().hasValue())
    {
        hostClock.setTempo (bpm);
        nativeClock.setTempo (bpm);
    }
    syncHostFlamClock();
    syncNativeFlamClock();

    if (! playing || ! ppq.hasValue() || ! nativeClock.isRunning())
    {
        hostFollower.reset();
        return;
    }

    // A running clock keeps counting samples: the host's position moves it
    // only when the host jumps or changes its tempo, never for its rounding.
    HostPositionFollower::Block block;
    block.ppq = *ppq;
    block.bpm = bpm;
    block.hasSamplePosition = position->getTimeInSamples().hasValue();
    block.samplePosition = position->getTimeInSamples().orFallback (0);
    block.numSamples = numSamples;
    block.sampleRate = sampleRate;
    double target = 0.0;
    switch (hostFollower.follow (block, nativeClock.getPosition(), target))
    {
        case HostPositionFollower::Move::jump: nativeClock.jumpTo (target); break;
        case HostPositionFollower::Move::glide: nativeClock.glideTo (target); break;
        case HostPositionFollower::Move::none: return;
    }
    nativeLocatePending = true;
}

void DrumMachine::applyStartStopRequest (bool intSeqOn, bool intSyncOn, bool hostPlayedWhenRequested) noexcept
{
    const int request = startStopRequest.exchange (noRequest, std::memory_order_acq_rel);
    // While the host's transport runs the clock, the user's requests are not
    // carried out; one made then is not carried out later either, when the
    // host has stopped: a Start/Stop pressed to stop the host's playing would
    // start the clock again on its own.
    if (request == noRequest || request == lastAppliedRequest.load (std::memory_order_relaxed) || ! intSeqOn || hostPlaying
        || hostPlayedWhenRequested)
        return;

    lastAppliedRequest.store (request, std::memory_order_relaxed);
    if (request == startRequest)
    {
        startNativeClock (0.0, intSyncOn, 0.0);
    }
    else
    {
        nativeClock.stop();
        sequencer->stopNative();
    }
    nativeFlamClock.stop();
}

void DrumMachine::startNativeClock (double position, bool intSyncOn, double hostBpm) noexcept
{
    sequencer->startNative();
    if (intSyncOn)
        nativeClock.setTempo (sequencer->getNativePatternTempo());
    nativeClock.setShuffle (sequencer->getNativePatternShuffle());
    nativeClock.setStepsPerBeat (sequencer->getNativePatternScale());
    nativeClock.start (nativeStartPosition (position, intSyncOn, hostBpm));
    syncNativeFlamClock();
    nativeStepPlayed = false;
    soundingNativeStep.store (noSoundingStep, std::memory_order_relaxed);
    hostFollower.reset();
    // Start/Stop toggles from what runs, however it was started.
    lastAppliedRequest.store (startRequest, std::memory_order_relaxed);
}

double DrumMachine::nativeStartPosition (double ppq, bool intSyncOn, double hostBpm) const noexcept
{
    // Before the song's zero the clock waits as long as the host does, at
    // whatever tempo it plays itself.
    if (ppq < 0.0 && intSyncOn && hostBpm > 0.0)
        return ppq * nativeClock.getTempo() / hostBpm;
    return ppq;
}

void DrumMachine::startHostPattern (int pattern, bool intSyncOn) noexcept
{
    sequencer->startHost (pattern);
    if (intSyncOn)
        hostClock.setTempo (sequencer->getHostPatternTempo());
    hostClock.setShuffle (sequencer->getHostPatternShuffle());
    hostClock.setStepsPerBeat (sequencer->getHostPatternScale());
    hostClock.restart (0.0);
    syncHostFlamClock();
    hostFlamClock.stop();
    hostFlamClock.setGateFraction (sequencer->getHostPatternFlam());
    hostStepPlayed = false;
    soundingHostStep.store (noSoundingStep, std::memory_order_relaxed);
}

void DrumMachine::stopEverything() noexcept
{
    for (auto* clock : { &hostClock, &nativeClock, &hostFlamClock, &nativeFlamClock })
        clock->stop();
    lastAppliedRequest.store (stopRequest, std::memory_order_relaxed);
}

void DrumMachine::syncHostFlamClock() noexcept
{
    hostFlamClock.setTempo (hostClock.getTempo());
    hostFlamClock.setStepsPerBeat (hostClock.getStepsPerBeat());
}

void DrumMachine::syncNativeFlamClock() noexcept
{
    nativeFlamClock.setTempo (nativeClock.getTempo());
    nativeFlamClock.setStepsPerBeat (nativeClock.getStepsPerBeat());
}

//==== Steps =========================================================================

void DrumMachine::playHostClockSteps (bool playing) noexcept
{
    for (int e = 0; e < hostClock.getNumEvents(); ++e)
    {
        if (hostClock.getEvent (e).kind != ShuffledClockNew::stepStartEvent)
            continue;

        render();
        // A flam stroke still due (a short shuffled step) sounds before the next step.
        if (hostFlamClock.isRunning())
            playHostFlamStroke (playing);
        if (playing)
        {
            sequencer->playHostStep (false);
            savedHostPattern = sequencer->getHostPattern();
            savedHostStep = sequencer->getHostStep();
            hostStepPlayed = true;
            soundingHostStep.store (savedHostPattern * Pattern::numSteps + savedHostStep, std::memory_order_relaxed);
            sequencer->advanceHostStep();
        }
        else
        {
            sequencer->dropPendingTaps (1);
        }
        hostFlamClock.restart (0.0);
    }
}

void DrumMachine::playNativeClockSteps (bool playing, bool intSyncOn) noexcept
{
    for (int e = 0; e < nativeClock.getNumEvents(); ++e)
    {
        if (nativeClock.getEvent (e).kind != ShuffledClockNew::stepStartEvent)
            continue;

        render();
        if (nativeFlamClock.isRunning())
            playNativeFlamStroke (playing);
        if (nativeLocatePending && playing)
            sequencer->locate (nativeClock.getStartedStepPosition());
        nativeLocatePending = false;

        if (intSyncOn)
        {
            nativeClock.setTempo (sequencer->getNativePatternTempo());
            nativeClock.setShuffle (sequencer->getNativePatternShuffle());
            nativeClock.setStepsPerBeat (sequencer->getNativePatternScale());
        }
        nativeFlamClock.setGateFraction (sequencer->getNativePatternFlam());
        syncNativeFlamClock();
        nativeFlamClock.restart (0.0);

        if (playing)
        {
            sequencer->playNativeStep (false);
            savedNativePattern = sequencer->getNativePattern();
            savedNativeStep = sequencer->getNativeStep();
            nativeStepPlayed = true;
            soundingNativeStep.store (savedNativePattern * Pattern::numSteps + savedNativeStep, std::memory_order_relaxed);
            sequencer->advanceNativeStep();
        }
        else
        {
            // Taps waiting for this step: it does not play, so they never could sound.
            sequencer->dropPendingTaps (0);
        }
    }
}

void DrumMachine::playFlamStrokes (bool hostPlays, bool nativePlays) noexcept
{
    if (hostFlamClock.advance())
        for (int e = 0; e < hostFlamClock.getNumEvents(); ++e)
            if (hostFlamClock.getEvent (e).kind == ShuffledClockNew::stepEndEvent)
            {
                render();
                playHostFlamStroke (hostPlays);
            }

    if (nativeFlamClock.advance())
        for (int e = 0; e < nativeFlamClock.getNumEvents(); ++e)
            if (nativeFlamClock.getEvent (e).kind == ShuffledClockNew::stepEndEvent)
            {
                render();
                playNativeFlamStroke (nativePlays);
            }
}

void DrumMachine::playHostFlamStroke (bool playing) noexcept
{
    if (playing && hostStepPlayed)
    {
        sequencer->setHostCursor (savedHostPattern, savedHostStep);
        sequencer->playHostStep (true);
        sequencer->advanceHostStep();
    }
    hostFlamClock.stop();
}

void DrumMachine::playNativeFlamStroke (bool playing) noexcept
{
    if (playing && nativeStepPlayed)
    {
        sequencer->setNativeCursor (savedNativePattern, savedNativeStep);
        sequencer->playNativeStep (true);
        sequencer->advanceNativeStep();
    }
    nativeFlamClock.stop();
}

void DrumMachine::playQueuedTaps (bool hostModeOn) noexcept
{
    const auto& clock = hostModeOn ? hostClock : nativeClock;
    // The sequencer plays this mode's pattern: a tap belongs in it. Otherwise
    // a tap is a pad, heard at once and kept nowhere.
    const bool sequencerPlays = blockIntSeq && clock.isRunning();
    const int cursorKind = hostModeOn ? 1 : 0;
    const bool stepPlayed = hostModeOn ? hostStepPlayed : nativeStepPlayed;
    bool played = false;

    if (sequencerPlays && (! stepPlayed || ! clock.isInFirstHalfOfStep()))
    {
        // Nearer the next step: the sequencer writes them when it plays it.
        for (int track = 0; track < numTracks; ++track)
            if (queuedTaps[(size_t) track] != 0)
                sequencer->addPendingTap (track, queuedTaps[(size_t) track], cursorKind);
    }
    else
    {
        // The cursor has already moved past the step that is sounding: the tap
        // goes into that step, so it neither lands late nor sounds twice.
        const int pattern = hostModeOn ? savedHostPattern : savedNativePattern;
        const int step = hostModeOn ? savedHostStep : savedNativeStep;
        for (int track = 0; track < numTracks; ++track)
        {
            const int value = queuedTaps[(size_t) track];
            if (value == 0)
                continue;

            if (sequencerPlays)
            {
                if (value == Pattern::stepAccent)
                    sequencer->setStepAccent (pattern, track, step);
                else if (value == Pattern::stepFlam)
                    sequencer->setStepFlam (pattern, track, step);
                else
                    sequencer->setStepOn (pattern, track, step);
            }

            const float velocity = getBaseVelocity() + (value == Pattern::stepAccent ? getStrongVelocityBoost() : 0.0f);
            triggerInstrument (track, velocity);
            played = true;
        }
    }

    if (played)
        stepStatesPending.store (true, std::memory_order_release);
    queuedTaps.fill (0);
    tapsQueued = false;
}

void DrumMachine::follow() noexcept
{
    if (! blockIntSeq || lengthMode.load (std::memory_order_relaxed))
        return;
    const bool following = autoFollow.load (std::memory_order_relaxed) || tapMode.load (std::memory_order_relaxed);

    bool changed = false;
    if (blockHostMode)
    {
        if (hostClock.isRunning() && following)
            changed = sequencer->editHostPattern();
    }
    else if (nativeClock.isRunning() && following)
    {
        changed = sequencer->editNativePattern();
    }

    if (changed || sequencer->hasNativePatternChanged())
        patternStatePending.store (true, std::memory_order_release);
}

//==== MIDI ==========================================================================

void DrumMachine::handleMidiInput (const ShortMidiEvent& event) noexcept
{
    const std::uint8_t status = event.bytes[0];
    const int kind = status & 0xf0;
    const int data1 = event.size > 1 ? event.bytes[1] & 0x7f : 0;
    const int data2 = event.size > 2 ? event.bytes[2] & 0x7f : 0;

    if (kind == 0xb0)
    {
        if (data1 == allNotesOffController)
        {
            sequencer->stopHost();
            sequencer->stopNative();
            stopEverything();
            lowestCStarted = false;
            heldPatternNotes = 0;
            // The notes we echoed would otherwise hang downstream.
            sendPendingNoteOffs();
        }
        else
        {
            getMidiControl().processMidiMessage (event.bytes, event.size);
        }
        return;
    }

    if (kind == 0xc0)
    {
        handleProgramChange (data1);
        return;
    }

    const bool noteOn = kind == 0x90 && data2 > 0;
    const bool noteOff = kind == 0x80 || (kind == 0x90 && data2 == 0);
    if (! noteOn && ! noteOff)
        return;

    if (noteOn && ! blockIntSeq)
    {
        const int instrument = midiKeyMap[(size_t) data1];
        if (instrument >= 0)
            triggerInstrument (instrument, (float) data2 / 127.0f);
    }

    if (data1 >= lowestPatternKey && data1 <= highestPatternKey)
    {
        const int index = data1 - lowestPatternKey;
        if (noteOn)
        {
            heldPatternNotes = index == sequencer->getHostPattern() ? heldPatternNotes + 1 : 1;
            startHostPattern (index, blockIntSync);
        }
        else if (index == sequencer->getHostPattern())
        {
            --heldPatternNotes;
            if (heldPatternNotes < 1 && noteOffMode.load (std::memory_order_relaxed))
            {
                heldPatternNotes = 0;
                sequencer->stopHost();
                hostClock.stop();
                hostFlamClock.stop();
            }
        }
    }

    handleIncomingMidi (juce::MidiMessage (event.bytes, event.size, 0.0));

    if (noteOn && data1 == 0 && hostPlayDetection.load (std::memory_order_relaxed) == byLowestCNoteOn && ! nativeClock.isRunning())
    {
        startNativeClock (0.0, blockIntSync, 0.0);
        lowestCStarted = true;
    }
}

void DrumMachine::triggerStep (int instrument, bool strong, bool accent)
{
    const float velocity = getBaseVelocity() + (strong ? getStrongVelocityBoost() : 0.0f)
                           + (accent ? getAccentVelocityScale() * (float) getAccentLevel() : 0.0f);
    triggerInstrument (instrument, velocity);
}

void DrumMachine::triggerInstrument (int instrument, float velocity)
{
    if (instrument < 0 || instrument >= numTracks)
        return;
    // The accent track has no voice of its own and no audibility to check.
    if (instrument < numInstruments && audible[(size_t) instrument].load (std::memory_order_relaxed) == 0)
        return;

    core->trigger (instrument, velocity);
    hitFlags[(size_t) instrument].exchange (1, std::memory_order_relaxed);
    if (instrument < numInstruments)
        sendNoteOn (instrument, velocity);
}

void DrumMachine::sendNoteOn (int instrument, float velocity) noexcept
{
    if (noteOffPending[(size_t) instrument] != 0)
        sendNoteOff (instrument);

    // Echoes reach the host only while the internal sequencer is on.
    if (! blockIntSeq)
        return;

    const std::uint8_t byte = velocityByte (velocity);
    for (int k = 0; k < numKeysOfInstrument[(size_t) instrument]; ++k)
    {
        const std::uint8_t message[3] = { noteOnStatus, keysOfInstrument[(size_t) instrument][(size_t) k], byte };
        midiOut.add (stampPosition, message, 3);
    }
    noteOffPending[(size_t) instrument] = 1;
}

void DrumMachine::sendNoteOff (int instrument) noexcept
{
    if (noteOffPending[(size_t) instrument] == 0)
        return;

    for (int k = 0; k < numKeysOfInstrument[(size_t) instrument]; ++k)
    {
        const std::uint8_t message[3] = { noteOffStatus, keysOfInstrument[(size_t) instrument][(size_t) k], 0 };
        midiOut.add (stampPosition, message, 3);
    }
    noteOffPending[(size_t) instrument] = 0;
}

void DrumMachine::sendPendingNoteOffs() noexcept
{
    for (int i = 0; i < numInstruments; ++i)
        sendNoteOff (i);
}

//==== Mixing ========================================================================

void DrumMachine::resolveMuteSolo() noexcept
{
    bool anySolo = false;
    for (const auto& s : solo)
        anySolo = anySolo || s.load (std::memory_order_relaxed) != 0;

    for (int i = 0; i < numInstruments; ++i)
    {
        const bool on = anySolo ? solo[(size_t) i].load (std::memory_order_relaxed) != 0
                                : mute[(size_t) i].load (std::memory_order_relaxed) == 0;
        audible[(size_t) i].store (on ? 1 : 0, std::memory_order_relaxed);
    }
}

void DrumMachine::render() noexcept
{
    const bool mono = outputMode == monoOutputs;
    const int numOutputs = mono ? numOutputChannels : numOutputChannels / 2;
    const int triggerOutput = triggerOutOutput.load (std::memory_order_relaxed) - 1;
    std::array<double*, numInstruments> voices {};
    for (int i = 0; i < numInstruments; ++i)
        voices[(size_t) i] = voiceSamples[(size_t) i].data();

    // Each voice is rendered a chunk at a time, then added onto its output
    // in voice order, as single-precision samples.
    while (renderPending > 0)
    {
        const int frames = std::min (renderPending, renderChunk);
        std::array<bool, numInstruments> constant {};
        core->render (voices.data(), constant.data(), frames);

        // The voices an output starts with that give one value throughout
        // (a silent voice at rest) are summed once, in voice order, and the
        // sum added once: the same single-precision sums as sample by sample.
        std::array<float, maxChannels> leadingSum {};
        std::array<int, maxChannels> leadingCount {};
        std::array<bool, maxChannels> leading {};
        leading.fill (true);
        // What an output gets is added onto its channel, or the first of its
        // pair, from the chunk's first frame; the second of a pair, which
        // would get the same sums, is copied from the first at the end.
        std::array<bool, maxChannels> touched {};
        const auto channelOf = [&] (int o) {
            touched[(size_t) o] = true;
            return outputChannels[(size_t) (mono ? o : 2 * o)] + renderedTotal;
        };
        const auto addLeading = [&] (int o) {
            if (leading[(size_t) o] && leadingCount[(size_t) o] > 0)
                addConstantVoice (channelOf (o), leadingSum[(size_t) o], frames);
            leading[(size_t) o] = false;
        };

        for (int i = 0; i < numInstruments; ++i)
        {
            const int o = blockOutput[(size_t) i] - 1;
            if (o < 0 || o >= numOutputs)
                continue;
            if (constant[(size_t) i] && leading[(size_t) o])
            {
                leadingSum[(size_t) o] += (float) voices[(size_t) i][0];
                ++leadingCount[(size_t) o];
                continue;
            }
            addLeading (o);
            float* channel = channelOf (o);
            if (constant[(size_t) i])
                addConstantVoice (channel, (float) voices[(size_t) i][0], frames);
            else if (mixesWithAvx2)
                addVoiceWithAvx2 (channel, voices[(size_t) i], frames);
            else
                addVoice (channel, voices[(size_t) i], frames);
        }
        for (int o = 0; o < numOutputs; ++o)
            addLeading (o);

        if (core->isTriggerOutEnabled())
        {
            const bool heard = triggerOutput >= 0 && triggerOutput < numOutputs;
            float* channel = heard ? channelOf (triggerOutput) : nullptr;
            for (int n = 0; n < frames; ++n)
            {
                const float pulse = (float) core->processTriggerOut();
                if (heard)
                    channel[n] += pulse;
            }
        }

        if (! mono)
            for (int o = 0; o < numOutputs; ++o)
                if (touched[(size_t) o])
                    std::copy_n (outputChannels[(size_t) (2 * o)] + renderedTotal, frames,
                                 outputChannels[(size_t) (2 * o + 1)] + renderedTotal);

        renderedTotal += frames;
        renderPending -= frames;
    }
}
