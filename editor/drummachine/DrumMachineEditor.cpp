#include "editor/drummachine/DrumMachineEditor.h"

#include "drummachine/sequencer/Pattern.h"
#include "toolkit/skin/GFXAnimation.h"
#include "toolkit/skin/GFXButton.h"
#include "toolkit/skin/GFXKnob.h"
#include "toolkit/skin/GFXMultiStateButton.h"
#include "toolkit/skin/GFXPanel.h"
#include "toolkit/skin/NumericDisplay.h"
#include "toolkit/skin/PatternNumberDisplay.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace
{
// The sequencer's state parameters this editor follows.
enum StateParameter
{
    internalSequencerState = DrumMachine::internalSequencerStateParameter,
    internalSyncState = 3001,
    hostModeState = 3002,
    writeModeState = DrumMachineEditor::writeModeStateParameter,
    randomizerState = 3008,
    randomizerFilledState = 3009,
    randomizerEmptyState = 3010,
    lengthModeState = 3011,
    nativeModeReadyState = 3014,
    clipboardTracksState = 3017,
    clipboardPatternState = 3018,
    patternNumber = 3023,
    patternNameEditionState = 3025,
    patternTempoState = 3026
};

constexpr int loadPatternsEvent = 3028; // Ctrl+click on "PattPrevButton"
constexpr int savePatternsEvent = 3029; // Ctrl+click on "PattNextButton"
constexpr int sequencerHintPriority = BasePluginEditor::settingsPriority;

juce::String twoDigits (int n)
{
    return juce::String (n).paddedLeft ('0', 2);
}

// A control's blink follows a state: on restarts it in the lit phase.
void blink (GUIController* control, bool on)
{
    if (control == nullptr)
        return;
    if (on)
        control->startBlinking();
    else
        control->stopBlinking();
}

void enable (juce::Component* control, bool on)
{
    if (control != nullptr)
        control->setEnabled (on);
}
} // namespace

DrumMachineEditor::DrumMachineEditor (DrumMachine& processorToEdit)
    : BasePluginEditorOldStyle (processorToEdit),
      drumMachine (processorToEdit)
{
    lookUpControls();
    addPages();

    drumMachine.getHostClock().addListener (this);
    drumMachine.getNativeClock().addListener (this);

    loadMenu.addItem (patternItem, "Load pattern");
    loadMenu.addItem (bankItem, "Load pattern bank");
    saveMenu.addItem (patternItem, "Save pattern");
    saveMenu.addItem (bankItem, "Save pattern bank");
    loadMenu.addListener (this);
    saveMenu.addListener (this);

    if (patternNameDisplay != nullptr)
        patternNameDisplay->addDisplayListener (this);
}

DrumMachineEditor::~DrumMachineEditor()
{
    if (patternNameDisplay != nullptr)
        patternNameDisplay->removeDisplayListener (this);
    drumMachine.getHostClock().removeListener (this);
    drumMachine.getNativeClock().removeListener (this);
    loadMenu.removeListener (this);
    saveMenu.removeListener (this);
}

template <typename Control>
Control* DrumMachineEditor::findControl (const juce::String& name) const
{
    return dynamic_cast<Control*> (findControlByName (getMainPanel(), name));
}

void DrumMachineEditor::lookUpControls()
{
    patternNumberDisplay = findControl<PatternNumberDisplay> ("PatternNumberDisplay");
    patternNameDisplay = findControl<GFXDisplay> ("PatternNameDisplay");
    tempoDisplay = findControl<NumericDisplay> ("TempoDisplay");
    tempoKnob = findControl<GFXKnob> ("TempoKnob");
    shuffleKnob = findControl<GFXKnob> ("ShuffleKnob");
    randomModeButton = findControl<GFXMultiStateButton> ("PattRandModeButton");
    lengthButton = findControl<GFXMultiStateButton> ("PattLengthButton");
    patternPrevButton = findControl<GFXButton> ("PattPrevButton");
    patternNextButton = findControl<GFXButton> ("PattNextButton");

    // "Bass Drum" names "BassDrumLevelKnob" and the rest of its column.
    for (int t = 0; t < numTracks; ++t)
    {
        const auto prefix = juce::String (instruments::getLongName (t)).removeCharacters (" ");
        auto& track = tracks[(size_t) t];
        track.activityLed = findControl<GFXMultiStateButton> (prefix + "ActivityLed");
        track.levelKnob = findControl<GFXKnob> (prefix + "LevelKnob");
        track.randThresholdKnob = findControl<GFXKnob> (prefix + "RandThresholdKnob");
        track.levelModeLed = findControl<GFXAnimation> (prefix + "LevelModeLed");
        track.selectButton = findControl<GFXMultiStateButton> (prefix + "SelectButton");
    }

    for (int s = 0; s < numStepButtons; ++s)
        stepButtons[(size_t) s] = findControl<GFXMultiStateButton> ("Step" + twoDigits (s + 1) + "Button");
}

void DrumMachineEditor::addPages()
{
    patternsPage = std::make_unique<PatternsSettingsComponent> (drumMachine);
    sequencerPage = std::make_unique<SequencerSettingsComponent> (drumMachine);
    drumMapPage = std::make_unique<DrumMapSettingsComponent> (drumMachine);
    outputsPage = std::make_unique<OutputsSettingsComponent> (drumMachine);

    // Among the pages already there ("Presets", "Midi Control"): Outputs,
    // Sequencer, Presets, Patterns, Drum map, Midi Control.
    addOptionsTab ("Outputs", *outputsPage, 0);
    getOptionsWindow().getTabs().setCurrentTabIndex (0);
    addOptionsTab ("Sequencer", *sequencerPage, 1);
    addOptionsTab ("Patterns", *patternsPage, 3);
    addOptionsTab ("Drum map", *drumMapPage, 4);
}

//==== The sequencer's state ==============================================================

void DrumMachineEditor::parameterChanged (Parameter* parameter)
{
    if (parameter == nullptr)
        return;

    const int id = parameter->getId();
    const bool on = parameter->getBool();
    auto& status = getStatusBar();

    if (id >= DrumMachine::randomizerEnableParameter && id < DrumMachine::randomizerEnableParameter + numTracks)
    {
        followTrackRandomState (id - DrumMachine::randomizerEnableParameter, on);
        return;
    }
    if (id >= DrumMachine::randomizerCurrentParameter && id < DrumMachine::randomizerCurrentParameter + numTracks)
    {
        blink (tracks[(size_t) (id - DrumMachine::randomizerCurrentParameter)].selectButton, on);
        return;
    }
    if (id >= DrumMachine::stepBlinkingParameter && id < DrumMachine::stepBlinkingParameter + numStepButtons)
    {
        blink (stepButtons[(size_t) (id - DrumMachine::stepBlinkingParameter)], on);
        return;
    }

    switch (id)
    {
        case internalSequencerState:
            enable (patternNumberDisplay, on);
            enable (patternNameDisplay, on);
            break;

        case internalSyncState:
            enable (tempoDisplay, on);
            break;

        case hostModeState:
            followPatternDisplayMode (on);
            break;

        case writeModeState:
            enable (shuffleKnob, on);
            break;

        case randomizerState:
            blink (randomModeButton, on);
            if (! on)
                status.clearMessage (sequencerHintPriority);
            break;

        case randomizerFilledState:
            if (on)
                status.showMessage ("Tune the amount of randomised tracks with Level knobs. You may random once again with "
                                    "Prev/Next or Accept/Undo the result.",
                                    sequencerHintPriority);
            break;

        case randomizerEmptyState:
            if (on)
                status.showMessage ("Choose tracks to be randomised. Then you can random a sequence using Prev/Next buttons.",
                                    sequencerHintPriority);
            break;

        case lengthModeState:
            blink (lengthButton, on);
            if (on)
                status.showTimedMessage ("Set pattern length using step buttons.", sequencerHintPriority);
            break;

        case nativeModeReadyState:
            if (patternNameDisplay != nullptr)
                patternNameDisplay->setBlinkPeriod (patternNameBlinkMs);
            blink (patternNameDisplay, on);
            break;

        case clipboardTracksState:
            if (on)
                status.showTimedMessage ("Tracks have been copied to clipboard.", sequencerHintPriority);
            break;

        case clipboardPatternState:
            if (on)
                status.showTimedMessage ("Pattern has been copied to clipboard.", sequencerHintPriority);
            break;

        case patternNameEditionState:
            setPatternNameEditable (on);
            break;

        case patternTempoState:
            setTempoDisplayDraggable (on);
            enable (tempoKnob, on);
            break;

        default:
            break;
    }
}

void DrumMachineEditor::followPatternDisplayMode (bool hostMode)
{
    if (patternNumberDisplay == nullptr)
        return;

    // Host mode names a pattern by the MIDI note that plays it; otherwise by bank and slot.
    const int mode = hostMode ? PatternNumberDisplay::noteMode : PatternNumberDisplay::bankAndSlotMode;
    if (patternNumberDisplay->getMode() == mode)
        return;

    // The number may have come before the mode and been cut to the old
    // mode's range: it is taken afresh from its parameter.
    patternNumberDisplay->setMode (mode);
    if (auto* number = drumMachine.getParameterManager().getParameter (patternNumber))
        patternNumberDisplay->setValue (number->getInt());
    else
        patternNumberDisplay->clampValueToRange();
    patternNumberDisplay->updatePatternDigits();
}

void DrumMachineEditor::setPatternNameEditable (bool editable)
{
    if (patternNameDisplay == nullptr)
        return;

    // A display that takes no click never starts an edit; one under way ends.
    patternNameDisplay->setInterceptsMouseClicks (editable, false);
    if (! editable && patternNameDisplay->isEditing())
        patternNameDisplay->giveAwayKeyboardFocus();
}

void DrumMachineEditor::setTempoDisplayDraggable (bool draggable)
{
    if (tempoDisplay != nullptr)
        tempoDisplay->setInterceptsMouseClicks (draggable, false);
}

bool DrumMachineEditor::isTempoDisplayDraggable() const noexcept
{
    bool self = false, children = false;
    if (tempoDisplay != nullptr)
        tempoDisplay->getInterceptsMouseClicks (self, children);
    return self;
}

void DrumMachineEditor::followTrackRandomState (int track, bool on)
{
    // The threshold knob takes the level knob's place while the track is randomised.
    auto& controls = tracks[(size_t) track];
    if (controls.levelKnob != nullptr)
        controls.levelKnob->setVisible (! on);
    if (controls.randThresholdKnob != nullptr)
        controls.randThresholdKnob->setVisible (on);
    blink (controls.levelModeLed, on);
}

//==== Events, edits, lamps and the playing step ==========================================

void DrumMachineEditor::controllerEventFired (GUIController* controller, int eventId)
{
    if (eventId == loadPatternsEvent || eventId == savePatternsEvent)
    {
        // Patterns are the internal sequencer's: without it there is nothing to load or save.
        if (drumMachine.isInternalSequencerOn())
        {
            if (eventId == loadPatternsEvent)
                showPatternMenu (loadMenu, patternPrevButton);
            else
                showPatternMenu (saveMenu, patternNextButton);
        }
        return;
    }

    BasePluginEditorOldStyle::controllerEventFired (controller, eventId);
}

void DrumMachineEditor::showPatternMenu (PopupMenuEx& menu, GFXButton* button)
{
    if (button != nullptr)
        menu.show (this, getLocalArea (button, button->getLocalBounds()), PopupMenuEx::placeBelow);
}

void DrumMachineEditor::displayTextEdited (GFXDisplay* display)
{
    if (display != nullptr && display == patternNameDisplay)
    {
        auto* sequencer = drumMachine.getSequencer();
        if (sequencer != nullptr && drumMachine.isEditing())
        {
            sequencer->setEditedPatternName (display->getText());
            drumMachine.refreshPatternNameParameter();
            if (juce::PluginHostType().isFruityLoops())
                drumMachine.updateHostDisplay();
        }
        else
        {
            // The edit outlived the pattern's editing (the mode changed under it): it names nothing.
            display->refreshFromParameter();
        }
    }

    BasePluginEditorOldStyle::displayTextEdited (display);
}

void DrumMachineEditor::timerUpdate()
{
    BasePluginEditorOldStyle::timerUpdate();

    // Each hit relights the lamp for the whole time.
    for (int t = 0; t < numTracks; ++t)
        if (auto* lamp = tracks[(size_t) t].activityLed)
            if (drumMachine.takeHitFlag (t))
                lamp->flash (activityLampMs);
}

void DrumMachineEditor::clockRunningChanged (ShuffledClockNew&)
{
    drumMachine.refreshPlayState (drumMachine.getNativeClock().isRunning());
    drumMachine.refreshStepBlinking();
    highlightDisplayedStep();
}

void DrumMachineEditor::clockStepChanged (ShuffledClockNew&)
{
    highlightDisplayedStep();
}

void DrumMachineEditor::highlightDisplayedStep()
{
    highlightStep (drumMachine.getDisplayedStep());
}

void DrumMachineEditor::highlightStep (int step)
{
    for (int s = 0; s < numStepButtons; ++s)
        if (auto* button = stepButtons[(size_t) s])
            button->setHighlighted (s == step);
}
