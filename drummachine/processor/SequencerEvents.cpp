// The front panel's events: mutes and solos, track selection, taps, mode
// toggles, transport requests, pattern editing and the randomiser. Message
// thread. Nothing here plays a voice: taps and pads go through the hand-over.
#include "drummachine/processor/DrumMachine.h"

#include <array>
#include <optional>

namespace
{
enum SequencerEvent
{
    toggleInternalSequencer = 3000, toggleInternalSync, toggleHostMode, toggleNoteOffMode, togglePatternWriteMode,
    toggleAutoFollowMode, toggleRandomizer, toggleLengthMode, toggleTapMode, toggleFlamMode,
    startStop = 3010, start, stop, tap, tapAccented,
    shiftLeft = 3015, shiftRight, shiftLeftAllTracks, shiftRightAllTracks,
    previous = 3019, next, accept, undo,
    copyTracks = 3023, copyPattern, paste, clear, clearAllInstruments, loadPatterns, savePatterns,
    pressStep = 3030, pressStepWithCtrl = 3046, pressStepWithShift = 3062,
    selectScale6 = 3078, selectScale3, selectScale8, selectScale4,
    lastSequencerEvent = 3081
};

constexpr int numVoiceEvents = 11;   // 0-10, 11-21, 22-32, 33-43
constexpr int selectEvent = 44;      // 44-55
constexpr int toggleSelectionEvent = 56; // 56-67
constexpr int tapEvent = 68;         // 68-79
constexpr int tapAccentedEvent = 80; // 80-91
constexpr int numSteps = 16;
} // namespace

void DrumMachine::handleEvent (int uid)
{
    if (uid >= 0 && uid < selectEvent)
    {
        handleMuteSoloEvent (uid);
        return;
    }
    if (uid >= selectEvent && uid < selectEvent + numTracks)
    {
        selectTrack (uid - selectEvent);
        return;
    }
    if (uid >= toggleSelectionEvent && uid < toggleSelectionEvent + numTracks)
    {
        toggleTrackSelection (uid - toggleSelectionEvent);
        return;
    }
    if (uid >= tapEvent && uid < tapAccentedEvent + numTracks)
    {
        const int track = (uid - tapEvent) % numTracks;
        const bool accented = uid >= tapAccentedEvent;
        queueTap (track, isFlamActive() ? Pattern::stepFlam : (accented ? Pattern::stepAccent : Pattern::stepOn));
        return;
    }
    if (uid < toggleInternalSequencer || uid > lastSequencerEvent)
        return;
    if (uid != toggleInternalSequencer && ! isInternalSequencerOn())
        return;
    if (uid >= pressStep && uid < selectScale6)
    {
        handleStepEvent (uid);
        return;
    }
    handleSequencerEvent (uid);
}

void DrumMachine::handleMuteSoloEvent (int uid)
{
    auto& parameters = getParameterManager();
    const int group = uid / numVoiceEvents; // 0 toggle mute, 1 inverse mute, 2 toggle solo, 3 inverse solo
    const int instrument = uid % numVoiceEvents;
    const bool soloGroup = group >= 2;
    const int first = soloGroup ? soloParameter : muteParameter;
    const bool wasOn = soloGroup ? isSoloed (instrument) : isMuted (instrument);
    const bool inverse = group == 1 || group == 3;

    // The instrument toggles; an inverse sets every other the opposite way.
    const auto valueAfter = [&] (int i) { return (i == instrument) != wasOn ? 1.0f : 0.0f; };
    const auto changes = [&] (int i) { return (inverse || i == instrument) && parameters.getValue (first + i) != valueAfter (i); };

    // One click is one touch for the host, as a knob's drag is: every
    // parameter it changes is begun before the first write and ended after
    // the last.
    std::array<std::optional<Parameter::ScopedGesture>, numInstruments> gestures;
    for (int i = 0; i < numInstruments; ++i)
        if (changes (i))
            gestures[(size_t) i].emplace (parameters.getParameter (first + i));
    for (int i = 0; i < numInstruments; ++i)
        if (gestures[(size_t) i].has_value())
            parameters.setValue (first + i, valueAfter (i));
}

void DrumMachine::selectTrack (int track)
{
    if (! isInternalSequencerOn() || ! isEditing())
        return;
    applyTrackSelection (track);
}

void DrumMachine::applyTrackSelection (int track)
{
    if (track < 0 || track >= numTracks)
        return;
    if (isRandomizerFilled())
    {
        // While a random result shows, only its tracks can be picked.
        if (getSequencer()->isRandomizerTrackChosen (track))
            randomizerShownTrack = track;
    }
    else
    {
        selectedTrack = track;
        for (int t = 0; t < numTracks; ++t)
            trackSelected[(size_t) t] = t == track;
    }
    refreshSelectionStates();
    refreshStepStates();
}

void DrumMachine::toggleTrackSelection (int track)
{
    if (! isInternalSequencerOn() || ! isEditing() || isLengthMode())
        return;
    if (trackSelected[(size_t) track].load() && getNumSelectedTracks() <= 1)
        return; // the last selected track stays
    trackSelected[(size_t) track] = ! trackSelected[(size_t) track].load();
    if (trackSelected[(size_t) track].load())
        selectedTrack = track;
    else if (selectedTrack.load() == track)
        for (int t = 0; t < numTracks; ++t)
            if (trackSelected[(size_t) t].load())
            {
                selectedTrack = t;
                break;
            }
    refreshSelectionStates();
    refreshStepStates();
}

void DrumMachine::setRandomizerMode (bool on)
{
    auto* seq = getSequencer();
    if (on == randomizerMode.load())
        return;
    randomizerMode = on;
    if (on)
    {
        const int edited = seq->getEditedPatternIndex();
        seq->setRandomizerTarget (edited);
        seq->copyPatternToBackup (edited);
        seq->resetRandomizer();
    }
    else
    {
        if (seq->isRandomizerActive())
            seq->restoreRandomizedTracks();
        seq->setRandomizerTarget (-1);
        seq->resetRandomizer();
        randomizerShownTrack = -1;
    }
}

void DrumMachine::handleSequencerEvent (int uid)
{
    auto* seq = getSequencer();
    const bool editing = isEditing();
    bool chosen[numTracks] = {};
    for (int t = 0; t < numTracks; ++t)
        chosen[t] = isTrackSelected (t);

    switch (uid)
    {
        case toggleInternalSequencer: setInternalSequencer (! isInternalSequencerOn()); break;
        case toggleInternalSync: setInternalSync (! isInternalSyncOn()); break;
        case toggleHostMode: setHostMode (! isHostMode()); break;
        case toggleNoteOffMode: setNoteOffMode (! isNoteOffMode()); break;
        case togglePatternWriteMode:
            if (! isHostMode())
                setPatternWriteMode (! isPatternWriteMode());
            break;
        case toggleAutoFollowMode:
            if (editing && ! isLengthMode() && ! isTapMode())
                setAutoFollow (! isAutoFollow());
            break;
        case toggleRandomizer:
            if (editing)
                setRandomizerMode (! randomizerMode.load());
            break;
        case toggleLengthMode:
            if (editing)
            {
                setLengthMode (! isLengthMode());
                if (isLengthMode())
                {
                    setRandomizerMode (false);
                    setTapMode (false);
                }
            }
            break;
        case toggleTapMode:
            if (editing)
            {
                setTapMode (! isTapMode());
                if (isTapMode())
                {
                    setLengthMode (false);
                    setRandomizerMode (false);
                }
            }
            break;
        case toggleFlamMode:
            if (editing && ! isRandomizerFilled())
                flamMode = ! flamMode.load();
            break;
        case startStop: requestStartStop(); return;
        case start: requestStart(); return;
        case stop: requestStop(); return;
        case tap:
        case tapAccented:
            if (editing && ! randomizerMode.load())
            {
                clearQueuedTaps();
                const int value = isFlamActive() ? Pattern::stepFlam : (uid == tap ? Pattern::stepOn : Pattern::stepAccent);
                for (int t = 0; t < numTracks; ++t)
                    if (chosen[t])
                        queueTap (t, value);
            }
            return;
        case shiftLeft:
        case shiftRight:
        case shiftLeftAllTracks:
        case shiftRightAllTracks:
            for (int t = 0; t < numTracks; ++t)
                if (uid >= shiftLeftAllTracks || chosen[t])
                {
                    if (uid == shiftLeft || uid == shiftLeftAllTracks)
                        seq->shiftRowLeft (t, 1);
                    else
                        seq->shiftRowRight (t, 1);
                }
            refreshStepStates();
            return;
        case previous:
        case next:
            // A random result is drawn and redrawn with the randomiser mode on;
            // otherwise the edit cursor moves, unless it follows playback.
            if (editing && randomizerMode.load())
            {
                if (uid == next)
                    seq->randomizerNext (chosen, isFlamActive());
                else
                    seq->randomizerPrevious (chosen, isFlamActive());
                if (randomizerShownTrack.load() < 0 || ! seq->isRandomizerTrackChosen (randomizerShownTrack.load()))
                    randomizerShownTrack = firstChosenRandomTrack();
            }
            else if (! isFollowingOrTapping())
            {
                if (uid == next)
                    seq->editNextPattern();
                else
                    seq->editPreviousPattern();
            }
            break;
        case accept:
            if (isRandomizerFilled())
            {
                seq->clearRandomSteps();
                randomizerShownTrack = -1;
            }
            break;
        case undo:
            if (isRandomizerFilled())
            {
                // The randomised tracks come back from the copy taken when the
                // randomiser was switched on.
                seq->restoreRandomizedTracks();
                randomizerShownTrack = -1;
            }
            else if (clipboardTracks || clipboardPattern)
            {
                clipboardTracks = clipboardPattern = false;
            }
            break;
        case copyTracks:
            for (int t = 0; t < numTracks; ++t)
                if (chosen[t])
                    seq->copyRowToClipboard (t);
            clipboardTracks = true;
            clipboardPattern = false;
            break;
        case copyPattern:
            seq->copyPatternToClipboard();
            clipboardPattern = true;
            clipboardTracks = false;
            break;
        case paste:
            if (clipboardPattern)
                seq->pastePattern();
            else if (clipboardTracks)
                for (int t = 0; t < numTracks; ++t)
                    if (chosen[t])
                        seq->pasteRow (t, t);
            break;
        case clear:
            if (! isLengthMode() && ! randomizerMode.load())
                for (int t = 0; t < numTracks; ++t)
                    if (chosen[t])
                        seq->clearRow (t);
            break;
        case clearAllInstruments:
            if (! isLengthMode())
                seq->clearEditedPattern();
            break;
        case loadPatterns:
        case savePatterns:
            return; // the editor's file dialogs
        case selectScale6: case selectScale3: case selectScale8: case selectScale4:
            if (editing)
            {
                static constexpr int scales[] = { 6, 3, 8, 4 };
                seq->setEditedPatternScale (scales[uid - selectScale6]);
            }
            break;
        default: return;
    }
    refreshAllStates();
}

int DrumMachine::firstChosenRandomTrack() const
{
    for (int t = 0; t < numTracks; ++t)
        if (getSequencer()->isRandomizerTrackChosen (t))
            return t;
    return -1;
}

void DrumMachine::handleStepEvent (int uid)
{
    auto* seq = getSequencer();
    if (! isEditing())
        return;
    const bool flam = isFlamActive();
    const int step = (uid - pressStep) % numSteps;
    const int kind = (uid - pressStep) / numSteps; // 0 press, 1 with Ctrl, 2 with Shift

    if (kind == 0 && isLengthMode())
    {
        seq->setEditedPatternLength (step + 1);
        refreshPatternState();
        return;
    }
    if (step >= seq->getEditedPatternLength() && kind == 0)
        return;

    if (kind == 0)
    {
        if (getNumSelectedTracks() == 1)
        {
            seq->toggleStep (getSelectedTrackOrFirst(), step, flam);
        }
        else
        {
            // Several tracks end on one value: the next after their common one.
            int common = -1;
            for (int t = 0; t < numTracks; ++t)
                if (isTrackSelected (t))
                {
                    const int value = seq->getStep (t, step);
                    common = common < 0 ? value : (common == value ? common : Pattern::stepOff);
                }
            const int nextValue = seq->getNextToggleValue (std::max (common, 0), flam);
            for (int t = 0; t < numTracks; ++t)
                if (isTrackSelected (t))
                    seq->setStep (t, step, nextValue);
        }
    }
    else
    {
        const int value = kind == 1 ? Pattern::stepOff : seq->getNextToggleValue (Pattern::stepOn, false);
        for (int t = 0; t < numTracks; ++t)
            if (isTrackSelected (t))
                seq->setStep (t, step, value);
    }
    refreshStepStates();
}
