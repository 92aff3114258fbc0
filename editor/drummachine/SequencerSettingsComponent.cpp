#include "editor/drummachine/SequencerSettingsComponent.h"

namespace
{
constexpr int boxHeight = 20;   // pixels
constexpr int groupGap = 10;    // pixels between the panels and the radio group
constexpr int columnGap = 3;    // pixels on each side of the page's middle
const char* const switchCaptions[] = { "Use internal sequencer", "Use internal clock", "Host Mode", "Note Off Mode" };
} // namespace

SequencerSettingsComponent::SequencerSettingsComponent (DrumMachine& drumMachine)
    : processor (drumMachine)
{
    for (int i = 0; i < numSwitches; ++i)
    {
        for (auto* box : { &currentBoxes[(size_t) i], &defaultBoxes[(size_t) i] })
        {
            box->setButtonText (switchCaptions[i]);
            box->changeWidthToFitText (boxHeight);
            box->addListener (this);
        }
        currentColumn.addAndMakeVisible (currentBoxes[(size_t) i]);
        defaultColumn.addAndMakeVisible (defaultBoxes[(size_t) i]);
    }
    currentPanel.setContentComponent (&currentColumn, false);
    defaultPanel.setContentComponent (&defaultColumn, false);
    addAndMakeVisible (currentPanel);
    addAndMakeVisible (defaultPanel);

    playDetection.addListener (this);
    addAndMakeVisible (playDetection);

    for (int i = 0; i < numSwitches; ++i)
        processor.getParameterManager().addAsyncListener (DrumMachine::internalSequencerStateParameter + i, this);

    updateFromProcessor();
}

SequencerSettingsComponent::~SequencerSettingsComponent()
{
    for (int i = 0; i < numSwitches; ++i)
        processor.getParameterManager().removeAsyncListener (DrumMachine::internalSequencerStateParameter + i, this);
    for (int i = 0; i < numSwitches; ++i)
    {
        currentBoxes[(size_t) i].removeListener (this);
        defaultBoxes[(size_t) i].removeListener (this);
    }
    playDetection.removeListener (this);
}

void SequencerSettingsComponent::updateFromProcessor()
{
    showCurrentSwitches();
    showDefaultSwitches();
    playDetection.setSelectedIndex (processor.getHostPlayDetection(), false);
    updateEnablement();
}

void SequencerSettingsComponent::showCurrentSwitches()
{
    const bool on[] = { processor.isInternalSequencerOn(), processor.isInternalSyncOn(), processor.isHostMode(),
                        processor.isNoteOffMode() };
    for (int i = 0; i < numSwitches; ++i)
        currentBoxes[(size_t) i].setToggleState (on[i], juce::dontSendNotification);
}

void SequencerSettingsComponent::showDefaultSwitches()
{
    const auto defaults = processor.getSequencerDefaults();
    const bool on[] = { defaults.intSeq, defaults.intSync, defaults.hostMode, defaults.noteOff };
    for (int i = 0; i < numSwitches; ++i)
        defaultBoxes[(size_t) i].setToggleState (on[i], juce::dontSendNotification);
}

void SequencerSettingsComponent::updateEnablement()
{
    const bool sequencerOn = processor.isInternalSequencerOn();
    const bool defaultSequencerOn = processor.getSequencerDefaults().intSeq;
    for (int i = internalClockSwitch; i < numSwitches; ++i)
    {
        currentBoxes[(size_t) i].setEnabled (sequencerOn);
        defaultBoxes[(size_t) i].setEnabled (defaultSequencerOn);
    }
}

//==== Choices ========================================================================

void SequencerSettingsComponent::buttonClicked (juce::Button* button)
{
    for (int i = 0; i < numSwitches; ++i)
    {
        const auto which = (Switch) i;
        if (button == &currentBoxes[(size_t) i])
        {
            // A disabled box changes nothing, however its click arrived.
            if (button->isEnabled())
                currentSwitchClicked (which, button->getToggleState());
            showCurrentSwitches();
            return;
        }
        if (button == &defaultBoxes[(size_t) i])
        {
            if (button->isEnabled())
                defaultSwitchClicked (which, button->getToggleState());
            showDefaultSwitches();
            return;
        }
    }
}

void SequencerSettingsComponent::currentSwitchClicked (Switch which, bool on)
{
    if (which == internalSequencerSwitch)
    {
        // A change releases the notes the sequencer echoed: the next block
        // sends their note-offs at its first sample.
        processor.setInternalSequencer (on);
        processor.refreshInternalSequencerState();
        updateEnablement();
        return;
    }
    if (! processor.isInternalSequencerOn())
        return;

    switch (which)
    {
        case internalClockSwitch:
            processor.setInternalSync (on);
            processor.refreshInternalSyncState();
            break;
        case hostModeSwitch:
            processor.setHostMode (on);
            processor.refreshHostModeState();
            break;
        case noteOffModeSwitch:
            processor.setNoteOffMode (on);
            processor.refreshNoteOffState();
            break;
        case internalSequencerSwitch:
        case numSwitches:
            break;
    }
}

void SequencerSettingsComponent::defaultSwitchClicked (Switch which, bool on)
{
    auto defaults = processor.getSequencerDefaults();
    if (which != internalSequencerSwitch && ! defaults.intSeq)
        return;

    switch (which)
    {
        case internalSequencerSwitch: defaults.intSeq = on; break;
        case internalClockSwitch: defaults.intSync = on; break;
        case hostModeSwitch: defaults.hostMode = on; break;
        case noteOffModeSwitch: defaults.noteOff = on; break;
        case numSwitches: break;
    }
    processor.setSequencerDefaults (defaults);
    updateEnablement();
}

void SequencerSettingsComponent::radioButtonsChanged (RadioButtons_V2* group)
{
    if (group == &playDetection)
        processor.setHostPlayDetection (group->getSelectedIndex());
}

void SequencerSettingsComponent::parameterChanged (Parameter* parameter)
{
    // The front panel or the host switched: the boxes show the drum machine's
    // switches (a state parameter also reads off while the sequencer is off).
    const int id = parameter != nullptr ? parameter->getId() : -1;
    if (id < DrumMachine::internalSequencerStateParameter || id >= DrumMachine::internalSequencerStateParameter + numSwitches)
        return;

    showCurrentSwitches();
    if (id == DrumMachine::internalSequencerStateParameter)
        updateEnablement();
}

//==== Layout ========================================================================

void SequencerSettingsComponent::lookAndFeelChanged()
{
    for (auto* boxes : { &currentBoxes, &defaultBoxes })
        for (auto& box : *boxes)
            box.changeWidthToFitText (boxHeight);
    playDetection.setButtonWidth (-1);
    resized();
}

void SequencerSettingsComponent::resized()
{
    const int half = getWidth() / 2;

    currentPanel.setPanelSize (-1, -1);
    currentPanel.setPanelSize (juce::jmax (half - columnGap, currentPanel.getWidth()), -1);
    currentPanel.setTopLeftPosition (0, 0);
    defaultPanel.setPanelSize (currentPanel.getWidth(), -1);
    defaultPanel.setTopLeftPosition (half + columnGap, 0);

    playDetection.setBounds (0, currentPanel.getBottom() + groupGap, getWidth(), playDetection.getHeight());
}
