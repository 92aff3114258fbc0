#include "drummachine/processor/DrumMachine.h"

#include "drummachine/sequencer/Pattern.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr size_t midiListCapacity = 8192; // events per block, in and out
} // namespace

DrumMachine::DrumMachine()
    : BasePluginOldStyle (BusesProperties().withOutput ("Output", juce::AudioChannelSet::discreteChannels (24))),
      drumMap ("Pulsetta", "XR")
{
    midiKeyMap.fill (-1);
    trackSelected[0] = true; // one track is always selected
    for (int i = 0; i < numInstruments; ++i)
    {
        outputNumber[(size_t) i] = 1;
        defaultOutputNumber[(size_t) i] = 1;
        audible[(size_t) i] = 1;
    }
    carry.reserve (midiListCapacity);
    midiOut.reserve (midiListCapacity);
}

DrumMachine::~DrumMachine()
{
    stopPolling();
}

//==== Start-up ======================================================================

void DrumMachine::initialise()
{
    core = createCore();
    if (core == nullptr)
        core = std::make_unique<DrumMachineCore> (this);

    sequencer = createSequencer();
    if (sequencer == nullptr)
        sequencer = std::make_unique<DrumMachineSeq> (*this, getPluginName(), getResourcePrefix());

    createStateParameters();

    // Reads the user settings (our sections included) and the presets.
    BasePluginOldStyle::initialise();

    // The user's defaults become this instance's values.
    intSeq = sequencerDefaults.intSeq;
    intSync = sequencerDefaults.intSync;
    hostMode = sequencerDefaults.hostMode;
    noteOffMode = sequencerDefaults.noteOff;
    outputMode = defaultOutputMode;
    triggerOutOutput = getNumOutputs();
    restoreDefaultOutputAssignments();

    drumMap.loadStartUpDrumMap();
    refreshKeyMap();

    const auto& patterns = patternSources[0];
    sequencer->loadDefaultPatterns (patterns.source, juce::File::isAbsolutePath (patterns.file) ? juce::File (patterns.file) : juce::File());

    refreshAllStates();
}

void DrumMachine::prepareToPlay (double newSampleRate, int maximumBlockSize)
{
    juce::ignoreUnused (maximumBlockSize);
    if (core != nullptr)
    {
        // No block runs now: the core takes the waiting sound parameters here.
        applyPendingSoundParameters();
        core->prepareToPlay();
        core->setSampleRate ((float) newSampleRate);
    }
    sampleRate = newSampleRate;
    for (auto* clock : { &hostClock, &nativeClock, &hostFlamClock, &nativeFlamClock })
        clock->setSampleRate (newSampleRate);
    hostFollower.reset(); // the host's next report is taken afresh, at the new rate

    carry.clear();
    midiOut.clear();
    BasePlugin::prepareToPlay (newSampleRate, maximumBlockSize);
}

void DrumMachine::releaseResources()
{
    if (core != nullptr)
        core->releaseResources();
    for (auto* clock : { &hostClock, &nativeClock, &hostFlamClock, &nativeFlamClock })
        clock->stop();
    BasePlugin::releaseResources();
}

bool DrumMachine::isBusesLayoutSupported (const BusesLayout& layout) const
{
    return layout.getMainInputChannels() == 0;
}

int DrumMachine::getNumHostOutputChannels()
{
    return getNumOutputs() * (outputMode == monoOutputs ? 1 : 2);
}

juce::String DrumMachine::getNoteKeyName (int key)
{
    auto mode = DrumMap::KeyNameMode::instruments;
    if (isInternalSequencerOn())
        mode = isHostMode() ? DrumMap::KeyNameMode::hostPatterns : DrumMap::KeyNameMode::nothing;
    return drumMap.getNoteKeyName (key, mode, sequencer.get());
}

const juce::String DrumMachine::getOutputChannelName (int index) const
{
    const int output = outputMode == monoOutputs ? index : index / 2;
    return getResourcePrefix() + juce::String (output + 1);
}

bool DrumMachine::isOutputChannelStereoPair (int) const
{
    return outputMode != monoOutputs;
}

//==== Hand-over entry points (message thread) ====================================

bool DrumMachine::queuePadTrigger (int instrument, float velocity)
{
    if (instrument < 0 || instrument >= numTracks || ! std::isfinite (velocity))
        return false;
    return handOver.push ({ HandOverCommand::triggerPad, instrument, 0, std::clamp (velocity, 0.0f, 2.0f) });
}

bool DrumMachine::queueTap (int track, int value)
{
    if (track < 0 || track >= numTracks || value < Pattern::stepOn || value > Pattern::stepFlam)
        return false;
    return handOver.push ({ HandOverCommand::queueTap, track, value, 0.0f });
}

bool DrumMachine::clearQueuedTaps()
{
    return handOver.push ({ HandOverCommand::clearQueuedTaps, 0, 0, 0.0f });
}

bool DrumMachine::queueNoteOffFlush()
{
    return handOver.push ({ HandOverCommand::flushNoteOffs, 0, 0, 0.0f });
}

void DrumMachine::requestStartStop() noexcept
{
    startStopRequest.store (lastAppliedRequest.load() == startRequest ? stopRequest : startRequest);
}

void DrumMachine::setInternalSequencer (bool on)
{
    if (intSeq.exchange (on) != on)
        noteOffFlushPending.store (true);
}

void DrumMachine::setHostPlayDetection (int detection)
{
    if (detection == byTransportChange || detection == byLowestCNoteOn)
        hostPlayDetection.store (detection);
}

void DrumMachine::pollAudioFlags()
{
    BasePluginOldStyle::pollAudioFlags();

    for (auto* clock : { &hostClock, &nativeClock, &hostFlamClock, &nativeFlamClock })
        clock->dispatchPendingNotifications();

    bool refreshSteps = stepStatesPending.exchange (false);
    // Taps the sequencer wrote at a step of its own raise its request.
    if (sequencer != nullptr && sequencer->takeStepStatesRefreshRequest())
        refreshSteps = true;

    if (playStatePending.exchange (false))
    {
        refreshPlayState (nativeClock.isRunning());
        refreshSteps = true;
    }
    if (patternStatePending.exchange (false))
        refreshPatternState();
    if (refreshSteps)
        refreshStepStates();
}

bool DrumMachine::takeHitFlag (int track) noexcept
{
    return track >= 0 && track < numTracks && hitFlags[(size_t) track].exchange (0) != 0;
}

void DrumMachine::refreshKeyMap()
{
    const juce::ScopedLock lock (getCallbackLock());
    copyKeyMapLocked();
}

bool DrumMachine::loadDrumMapFile (const juce::File& file)
{
    if (! drumMap.loadDrumMapFile (file))
        return false;

    refreshKeyMap();
    updateHostDisplay();
    return true;
}

juce::String DrumMachine::getDrumMapFileWildcards() const
{
    return makeWildcard (drumMap.makeDrumMapExtension());
}

void DrumMachine::copyKeyMapLocked() noexcept
{
    numKeysOfInstrument.fill (0);
    for (int key = 0; key < 128; ++key)
    {
        const int instrument = drumMap.getInstrumentForKey (key);
        midiKeyMap[(size_t) key] = isValidInstrument (instrument) ? instrument : -1;
        if (isValidInstrument (instrument))
            keysOfInstrument[(size_t) instrument][(size_t) numKeysOfInstrument[(size_t) instrument]++] = (std::uint8_t) key;
    }
}

void DrumMachine::beginPatternRewrite()
{
    getCallbackLock().enter();
}

void DrumMachine::endPatternRewrite()
{
    getCallbackLock().exit();
}

//==== Routing =======================================================================

void DrumMachine::setMute (int instrument, bool muted) noexcept
{
    if (isValidInstrument (instrument))
    {
        mute[(size_t) instrument] = muted ? 1 : 0;
        muteSoloChanged = true;
    }
}

void DrumMachine::setSolo (int instrument, bool soloed) noexcept
{
    if (isValidInstrument (instrument))
    {
        solo[(size_t) instrument] = soloed ? 1 : 0;
        muteSoloChanged = true;
    }
}

bool DrumMachine::isMuted (int instrument) const noexcept { return isValidInstrument (instrument) && mute[(size_t) instrument] != 0; }
bool DrumMachine::isSoloed (int instrument) const noexcept { return isValidInstrument (instrument) && solo[(size_t) instrument] != 0; }
bool DrumMachine::isAudible (int instrument) const noexcept { return isValidInstrument (instrument) && audible[(size_t) instrument] != 0; }

void DrumMachine::setOutputNumber (int instrument, int output) noexcept
{
    if (isValidInstrument (instrument) && output >= 1 && output <= getNumOutputs())
        outputNumber[(size_t) instrument] = output;
}

int DrumMachine::getOutputNumber (int instrument) const noexcept
{
    return isValidInstrument (instrument) ? outputNumber[(size_t) instrument].load() : 0;
}

int DrumMachine::getDefaultOutputNumber (int instrument) const noexcept
{
    return isValidInstrument (instrument) ? defaultOutputNumber[(size_t) instrument].load() : 0;
}

void DrumMachine::setDefaultOutputNumber (int instrument, int output) noexcept
{
    if (isValidInstrument (instrument) && output >= 1 && output <= getNumOutputs())
        defaultOutputNumber[(size_t) instrument] = output;
}

void DrumMachine::resetOutputAssignments()
{
    for (int i = 0; i < numInstruments; ++i)
    {
        outputNumber[(size_t) i] = 1;
        getParameterManager().setInt (outputNumberParameter + i, 1);
    }
    triggerOutOutput = getNumOutputs();
}

void DrumMachine::restoreDefaultOutputAssignments()
{
    for (int i = 0; i < numInstruments; ++i)
    {
        outputNumber[(size_t) i] = defaultOutputNumber[(size_t) i].load();
        getParameterManager().setInt (outputNumberParameter + i, defaultOutputNumber[(size_t) i].load());
    }
}

void DrumMachine::setDefaultOutputCharacteristics (int characteristics)
{
    if (characteristics == monoOutputs || characteristics == stereoOutputs)
        defaultOutputMode = characteristics;
}

void DrumMachine::setTriggerOut (bool enabled, int instrument, int output)
{
    const juce::ScopedLock lock (getCallbackLock());
    if (core == nullptr)
        return;
    core->setTriggerOutEnabled (enabled);
    if (instrument >= 0 && instrument < numTracks)
        core->setTriggerOutSource (instrument);
    core->initTriggerOutPulse();
    triggerOutOutput = std::clamp (output, 1, getNumOutputs());
}

void DrumMachine::setTriggerOutOutput (int output) noexcept
{
    if (output >= 1 && output <= getNumOutputs())
        triggerOutOutput = output;
}

bool DrumMachine::isTriggerOutEnabled() const
{
    return core != nullptr && core->isTriggerOutEnabled();
}

int DrumMachine::getTriggerOutInstrument() const
{
    return core != nullptr ? core->getTriggerOutSource() : 0;
}

void DrumMachine::parameterChanged (Parameter* parameter)
{
    if (parameter == nullptr)
        return;

    const int index = parameter->getId();
    if (index >= 0 && index < numSoundParameters)
    {
        // The core's values are the audio thread's: this thread only leaves
        // the value for the next block (or prepare) to hand over.
        pendingSoundValues[(size_t) index].store (parameter->getNormalised(), std::memory_order_relaxed);
        pendingSoundMask.fetch_or (std::uint64_t { 1 } << index, std::memory_order_release);
    }

    if (index == accentLevelParameter)
        setAccentLevel (parameter->getNormalised());
    else if (index >= muteParameter && index < muteParameter + numInstruments)
        setMute (index - muteParameter, parameter->getNormalised() >= 0.5f);
    else if (index >= soloParameter && index < soloParameter + numInstruments)
        setSolo (index - soloParameter, parameter->getNormalised() >= 0.5f);
    else if (index >= randomizerThresholdParameter && index < randomizerThresholdParameter + numTracks)
    {
        if (sequencer != nullptr)
            sequencer->setRandomizerThreshold (index - randomizerThresholdParameter, parameter->getNormalised());
        // Host automation may come on the audio thread: the lights follow on the message thread.
        stepStatesPending.store (true, std::memory_order_release);
    }
    else if (index >= outputNumberParameter && index < outputNumberParameter + numInstruments)
        setOutputNumber (index - outputNumberParameter, (int) std::lround (parameter->getValue()));
    else if (index >= 3015 && index <= 3028 + 1)
        patternFieldChanged (index, *parameter);

    BasePluginOldStyle::parameterChanged (parameter);
}

void DrumMachine::applyPendingSoundParameters() noexcept
{
    auto mask = pendingSoundMask.exchange (0, std::memory_order_acquire);
    while (mask != 0 && core != nullptr)
    {
        const int index = __builtin_ctzll (mask);
        mask &= mask - 1;
        core->setParameter (index, pendingSoundValues[(size_t) index].load (std::memory_order_relaxed));
    }
}
