// The front panel's state parameters (3000-3093), the sequencer events'
// names, the refreshers that write the state parameters from the modes and
// the sequencer, and the display texts. Message thread unless stated.
#include "drummachine/processor/DrumMachine.h"

#include "framework/core/BoolParameter.h"
#include "framework/core/FloatParameter.h"
#include "framework/core/IntParameter.h"
#include "framework/core/StringParameter.h"

#include <cmath>

namespace
{
enum StateParameter
{
    internalSequencerState = DrumMachine::internalSequencerStateParameter, internalSyncState, hostModeState,
    noteOffState, playState, writeModeState, writeModeActivity, autoFollowState, randomizerState,
    randomizerFilledState, randomizerEmptyState, lengthModeState, tapModeState, flamModeState, nativeModeReadyState,
    instrumentSelection = 3015, instrumentSelectionAccentFirst, clipboardTracksState, clipboardPatternState,
    scale6State = 3019, scale3State, scale8State, scale4State,
    patternNumber = 3023, patternName, patternNameEditionState, patternTempoState, patternTempo, patternShuffle,
    patternFlam
};

constexpr int numSteps = 16;

const char* const modeStateNames[] = { "Internal Sequencer State", "Internal Sync State", "Host Mode State", "Note Off State",
                                       "Play State", "Write Mode State", "Write Mode Activity", "Auto Follow State",
                                       "Randomizer State", "Randomizer Active And Filled",
                                       "Randomizer Active But Not Filled", "Length Mode State", "Tap Mode State",
                                       "Flam Mode State", "Native Mode Ready State" };

const char* const sequencerEventNames[] = {
    "Toggle Internal Sequencer", "Toggle Internal Sync", "Toggle Host Mode", "Toggle Note Off Mode",
    "Toggle Pattern Write Mode", "Toggle Auto Follow Mode", "Toggle Randomizer", "Toggle Length Mode", "Toggle Tap Mode",
    "Toggle Flam Mode", "Start/Stop", "Start", "Stop", "Tap", "Tap Accented", "Shift Left", "Shift Right",
    "Shift Left All Tracks", "Shift Right All Tracks", "Prev", "Next", "Accept", "Undo", "Copy Tracks", "Copy Pattern",
    "Paste", "Clear", "Clear All Instruments", "Load Patterns", "Save Patterns"
};

juce::String twoDigits (int n)
{
    return juce::String (n).paddedLeft ('0', 2);
}

// While the refreshers show a pattern's fields in their parameters, the
// parameters' listener must not write them back: a refresh is no edit, and
// the edit cursor may have moved on meanwhile.
class ShowingPatternFields
{
public:
    explicit ShowingPatternFields (std::atomic<bool>& flagToSet) : flag (flagToSet), wasSet (flagToSet.exchange (true)) {}
    ~ShowingPatternFields() { flag.store (wasSet); }
    ShowingPatternFields (const ShowingPatternFields&) = delete;
    ShowingPatternFields& operator= (const ShowingPatternFields&) = delete;

private:
    std::atomic<bool>& flag;
    const bool wasSet;
};

juce::String percentText (double fraction)
{
    // Half away from zero, as a person reads a knob.
    return juce::String ((int) std::round (fraction * 100.0)) + "%";
}
} // namespace

//==== Creation (before the framework's start-up) ========================================

void DrumMachine::createStateParameters()
{
    auto& parameters = getParameterManager();
    auto add = [&] (Parameter* parameter) { parameters.addParameter (std::unique_ptr<Parameter> (parameter)); };

    for (int i = 0; i < (int) std::size (modeStateNames); ++i)
        add (new BoolParameter (internalSequencerState + i, modeStateNames[i]));
    add (new IntParameter (instrumentSelection, "Instrument Selection", 0, numTracks - 1, 0));
    add (new IntParameter (instrumentSelectionAccentFirst, "Instrument Selection With Accent First", 0, numTracks - 1, 1));
    add (new BoolParameter (clipboardTracksState, "Clipboard Tracks State"));
    add (new BoolParameter (clipboardPatternState, "Clipboard Pattern State"));
    add (new BoolParameter (scale6State, "Pattern Scale 6 SPB State"));
    add (new BoolParameter (scale3State, "Pattern Scale 3 SPB State"));
    add (new BoolParameter (scale8State, "Pattern Scale 8 SPB State"));
    add (new BoolParameter (scale4State, "Pattern Scale 4 SPB State"));
    add (new IntParameter (patternNumber, "Pattern Number", 0, 127, 0));
    add (new StringParameter (patternName, "Pattern Name"));
    add (new BoolParameter (patternNameEditionState, "Pattern Name Edition State"));
    add (new BoolParameter (patternTempoState, "Pattern Tempo State"));
    add (new FloatParameter (patternTempo, "Pattern Tempo", 30.0f, 300.0f, 120.0f));
    add (new FloatParameter (patternShuffle, "Pattern Shuffle", 0.0f, 0.8f, 0.0f));
    add (new FloatParameter (patternFlam, "Pattern Flam", 0.121f, 0.383f, 0.121f));
    for (int s = 0; s < numSteps; ++s)
        add (new BoolParameter (stepLengthStateParameter + s, "Step " + twoDigits (s + 1) + " Length State"));
    for (int s = 0; s < numSteps; ++s)
        add (new FloatParameter (stepStateParameter + s, "Step " + twoDigits (s + 1) + " State", 0.0f, 1.0f, 0.0f));
    for (int s = 0; s < numSteps; ++s)
        add (new BoolParameter (stepBlinkingParameter + s, "Step " + twoDigits (s + 1) + " Blinking"));

    // The events map is filled while the processor is built and only read
    // afterwards; the sequencer's events join it here.
    auto& events = const_cast<EventsMap&> (getEventsMap());
    for (int i = 0; i < (int) std::size (sequencerEventNames); ++i)
        events.addEvent (3000 + i, sequencerEventNames[i]);
    for (int s = 0; s < numSteps; ++s)
    {
        events.addEvent (stepPressEvent + s, "Press Step " + twoDigits (s + 1));
        events.addEvent (stepPressEvent + numSteps + s, "Press Step " + twoDigits (s + 1) + " With Ctrl");
        events.addEvent (stepPressEvent + 2 * numSteps + s, "Press Step " + twoDigits (s + 1) + " With Shift");
    }
    events.addEvent (3078, "Select Scale 6 SPB");
    events.addEvent (3079, "Select Scale 3 SPB");
    events.addEvent (3080, "Select Scale 8 SPB");
    events.addEvent (3081, "Select Scale 4 SPB");
}

//==== Pattern fields from their parameters (message thread: the widgets) ===================

void DrumMachine::patternFieldChanged (int index, const Parameter& parameter)
{
    auto* seq = getSequencer();
    if (seq == nullptr)
        return;
    auto& p = getParameterManager();
    const bool editing = isEditing() && ! showingPatternFields.load();
    const ShowingPatternFields settingBack (showingPatternFields);
    switch (index)
    {
        case instrumentSelection:
        case instrumentSelectionAccentFirst:
        {
            // The refreshers write the selected track back into these: only
            // another track is a choice (of a widget).
            const int value = (int) std::lround (parameter.getValue());
            const int track = index == instrumentSelection ? value : (value == 0 ? accentTrack : value - 1);
            if (track != selectedTrack.load())
                applyTrackSelection (track);
            break;
        }
        case patternName:
            if (editing)
            {
                seq->setEditedPatternName (p.toString (patternName));
                refreshPatternNameParameter();
            }
            break;
        case patternTempo:
            if (editing && isInternalSyncOn())
            {
                seq->setEditedPatternTempo ((double) parameter.getValue());
                refreshPatternTempo();
            }
            break;
        case patternShuffle:
            if (editing)
            {
                seq->setEditedPatternShuffle ((double) parameter.getValue());
                p.setValue (patternShuffle, (float) seq->getEditedPatternShuffle());
            }
            break;
        case patternFlam:
            if (editing)
            {
                seq->setEditedPatternFlam ((double) parameter.getValue());
                p.setValue (patternFlam, (float) seq->getEditedPatternFlam());
            }
            break;
        default: break;
    }
}

//==== Conditions (any thread) ============================================================

bool DrumMachine::isEditing() const noexcept
{
    return isInternalSequencerOn() && (isPatternWriteMode() || isHostMode());
}

bool DrumMachine::isFollowingOrTapping() const noexcept
{
    return isEditing() && ! isLengthMode() && (isAutoFollow() || isTapMode());
}

bool DrumMachine::isRandomizerFilled() const noexcept
{
    return isEditing() && randomizerMode.load() && getSequencer() != nullptr && getSequencer()->isRandomizerActive();
}

bool DrumMachine::isFlamActive() const noexcept
{
    return isEditing() && flamMode.load();
}

bool DrumMachine::isTrackSelected (int track) const noexcept
{
    return track >= 0 && track < numTracks && trackSelected[(size_t) track].load();
}

int DrumMachine::getNumSelectedTracks() const noexcept
{
    int count = 0;
    for (const auto& selected : trackSelected)
        count += selected.load() ? 1 : 0;
    return count;
}

int DrumMachine::getSelectedTrackOrFirst() const noexcept
{
    if (isTrackSelected (selectedTrack.load()))
        return selectedTrack.load();
    for (int t = 0; t < numTracks; ++t)
        if (isTrackSelected (t))
            return t;
    return 0;
}

int DrumMachine::getRandomizerShownTrack() const noexcept
{
    return isRandomizerFilled() ? randomizerShownTrack.load() : -1;
}

int DrumMachine::getDisplayedStep() const
{
    // The step sounding, not the cursor: that has already moved on to the next one.
    auto* seq = getSequencer();
    if (seq == nullptr || ! isInternalSequencerOn() || isLengthMode())
        return -1;
    const bool host = isHostMode();
    const int sounding = (host ? soundingHostStep : soundingNativeStep).load (std::memory_order_relaxed);
    if (sounding == noSoundingStep || ! (host ? hostClock : nativeClock).isRunning())
        return -1;
    const int pattern = sounding / Pattern::numSteps;
    if ((host || isPatternWriteMode()) && seq->getEditedPatternIndex() != pattern)
        return -1;
    return sounding % Pattern::numSteps;
}

//==== Refreshers ==========================================================================

void DrumMachine::refreshAllStates()
{
    refreshModeStates();
    refreshPlayState (nativeClock.isRunning());
    refreshSelectionStates();
    refreshClipboardStates();
    refreshPatternState();
}

void DrumMachine::refreshModeStates()
{
    auto& p = getParameterManager();
    const bool on = isInternalSequencerOn();
    const bool editing = isEditing();
    const bool randomizerOn = editing && randomizerMode.load();
    const bool filled = randomizerOn && getSequencer() != nullptr && getSequencer()->isRandomizerActive();
    p.setBool (internalSequencerState, on);
    p.setBool (internalSyncState, on && isInternalSyncOn());
    p.setBool (hostModeState, on && isHostMode());
    p.setBool (noteOffState, on && isNoteOffMode());
    p.setBool (writeModeState, editing);
    p.setBool (writeModeActivity, on && ! isHostMode());
    p.setBool (autoFollowState, isFollowingOrTapping());
    p.setBool (randomizerState, randomizerOn);
    p.setBool (randomizerFilledState, filled);
    p.setBool (randomizerEmptyState, randomizerOn && ! filled);
    p.setBool (lengthModeState, editing && isLengthMode());
    p.setBool (tapModeState, editing && isTapMode());
    p.setBool (flamModeState, editing && flamMode.load());
    p.setBool (patternNameEditionState, editing);
    p.setBool (patternTempoState, editing && isInternalSyncOn());
}

void DrumMachine::refreshInternalSequencerState() { refreshAllStates(); }
void DrumMachine::refreshInternalSyncState() { refreshModeStates(); refreshPatternTempo(); }
void DrumMachine::refreshHostModeState() { refreshAllStates(); }
void DrumMachine::refreshNoteOffState() { refreshModeStates(); }
void DrumMachine::refreshWriteModeState() { refreshAllStates(); }
void DrumMachine::refreshAutoFollowState() { refreshModeStates(); }
void DrumMachine::refreshLengthModeState() { refreshModeStates(); refreshStepStates(); }

void DrumMachine::refreshPlayState (bool nativeClockRunning)
{
    auto& p = getParameterManager();
    const bool on = isInternalSequencerOn();
    p.setBool (playState, on && nativeClockRunning);
    p.setBool (nativeModeReadyState, on && ! isPatternWriteMode() && ! isHostMode() && ! nativeClockRunning);
}

void DrumMachine::refreshSelectionStates()
{
    auto& p = getParameterManager();
    const int track = selectedTrack.load();
    p.setInt (instrumentSelection, track);
    p.setInt (instrumentSelectionAccentFirst, track == accentTrack ? 0 : track + 1);

    const bool showSelection = isEditing() && ! isTapMode();
    const bool filled = isRandomizerFilled();
    const int shown = getRandomizerShownTrack();
    for (int t = 0; t < numTracks; ++t)
    {
        p.setBool (trackSelectionParameter + t, showSelection && isTrackSelected (t));
        const bool chosen = filled && getSequencer()->isRandomizerTrackChosen (t);
        p.setBool (randomizerEnableParameter + t, chosen);
        p.setBool (randomizerCurrentParameter + t, filled && t == shown);
    }
}

void DrumMachine::refreshClipboardStates()
{
    auto& p = getParameterManager();
    p.setBool (clipboardTracksState, clipboardTracks);
    p.setBool (clipboardPatternState, clipboardPattern);
}

void DrumMachine::refreshScaleStates()
{
    auto* seq = getSequencer();
    const int scale = seq == nullptr ? 0 : (isEditing() ? seq->getEditedPatternScale() : seq->getNativePatternScale());
    auto& p = getParameterManager();
    p.setBool (scale6State, scale == 6);
    p.setBool (scale3State, scale == 3);
    p.setBool (scale8State, scale == 8);
    p.setBool (scale4State, scale == 4);
}

void DrumMachine::refreshPatternNameParameter()
{
    auto* seq = getSequencer();
    juce::String name;
    if (seq != nullptr && isInternalSequencerOn())
        name = isEditing() ? seq->getEditedPatternName() : seq->getNativePatternName();
    const ShowingPatternFields showing (showingPatternFields);
    getParameterManager().setFromString (patternName, name);
}

void DrumMachine::refreshPatternTempo()
{
    auto* seq = getSequencer();
    double tempo = 0.0;
    if (seq != nullptr && isInternalSequencerOn())
        tempo = isEditing() ? seq->getEditedPatternTempo() : seq->getNativePatternTempo();
    const ShowingPatternFields showing (showingPatternFields);
    getParameterManager().setValue (patternTempo, (float) tempo);
}

void DrumMachine::refreshStepLengthStates()
{
    auto* seq = getSequencer();
    const int length = seq == nullptr ? 0 : (isEditing() ? seq->getEditedPatternLength() : seq->getNativePatternLength());
    for (int s = 0; s < numSteps; ++s)
        getParameterManager().setBool (stepLengthStateParameter + s, s < length);
}

void DrumMachine::refreshPatternState()
{
    auto* seq = getSequencer();
    auto& p = getParameterManager();
    const bool on = isInternalSequencerOn();
    const bool editing = isEditing();
    refreshStepLengthStates();

    int number = 0;
    if (on && seq != nullptr)
        number = isHostMode() ? seq->getEditedPatternIndex() + 12
                              : (isPatternWriteMode() ? seq->getEditedPatternIndex() : seq->getNativePattern()) + 1;
    p.setInt (patternNumber, number);
    refreshPatternNameParameter();
    if (seq != nullptr)
    {
        const ShowingPatternFields showing (showingPatternFields);
        p.setValue (patternFlam, (float) (editing ? seq->getEditedPatternFlam() : seq->getNativePatternFlam()));
        p.setValue (patternShuffle, (float) (editing ? seq->getEditedPatternShuffle() : seq->getNativePatternShuffle()));
    }
    refreshModeStates();
    refreshPatternTempo();
    refreshScaleStates();
    refreshPlayState (nativeClock.isRunning());
    // A pattern or chain change changes what the step buttons show.
    refreshStepStates();
}

void DrumMachine::refreshStepStates()
{
    refreshStepBlinking();
}

void DrumMachine::refreshStepBlinking()
{
    auto* seq = getSequencer();
    auto& p = getParameterManager();
    const bool lengthActive = isEditing() && isLengthMode();
    const bool playMode = isInternalSequencerOn() && ! isPatternWriteMode() && ! isHostMode();
    for (int s = 0; s < numSteps; ++s)
        p.setBool (stepBlinkingParameter + s, lengthActive || (playMode && seq != nullptr && seq->isNextPattern (s)));
}

//==== Texts ================================================================================

juce::String DrumMachine::getParameterTextById (int id)
{
    auto& p = getParameterManager();
    if (p.getParameter (id) == nullptr)
        return {};
    if (id >= 0 && id < muteParameter)
        return juce::String::formatted ("%.3f", (double) p.getNormalised (id));
    if (id >= muteParameter && id < randomizerThresholdParameter)
        return p.getBool (id) ? "On" : "Off";
    if ((id >= randomizerThresholdParameter && id < outputNumberParameter) || id == patternShuffle || id == patternFlam)
        return percentText ((double) p.getValue (id));
    if (id >= outputNumberParameter && id < outputNumberParameter + numInstruments)
        return BasePluginOldStyle::getParameterTextById (id);
    if (id == patternTempo)
        return juce::String ((double) p.getValue (id), 1);
    return {};
}
