#include "editor/drummachine/OutputsSettingsComponent.h"

#include "drummachine/sequencer/Pattern.h"

namespace
{
constexpr int rowHeight = 20;           // pixels, of every label and chooser
constexpr int numberChooserWidth = 52;  // pixels
constexpr int sourceChooserWidth = 130; // pixels
constexpr int rowsInLeftColumn = 6;     // Bass Drum .. Rim Shot; Hand Clap .. Ride on the right
constexpr int groupGap = 10;            // pixels between the groups
constexpr int columnGap = 3;            // pixels on each side of the page's middle
constexpr int noteGap = 4;              // pixels above the note
constexpr int noteHeight = 15;          // pixels
} // namespace

OutputsSettingsComponent::OutputsSettingsComponent (DrumMachine& drumMachine)
    : processor (drumMachine)
{
    for (int i = 0; i < DrumMachine::numInstruments; ++i)
    {
        auto& assign = rows[(size_t) i];
        assign.name.setText (instruments::getLongName (i), juce::dontSendNotification);
        fillOutputNumbers (assign.output);
        assign.output.addListener (this);
        assign.row.addAndMakeVisible (assign.name);
        assign.row.addAndMakeVisible (assign.output);
        (i < rowsInLeftColumn ? leftColumn : rightColumn).addAndMakeVisible (assign.row);
    }
    assignsColumns.addAndMakeVisible (leftColumn);
    assignsColumns.addAndMakeVisible (rightColumn);
    assignsContent.addAndMakeVisible (assignsColumns);
    assignsContent.addAndMakeVisible (setFromCurrent);
    setFromCurrent.addListener (this);
    assignsPanel.setContentComponent (&assignsContent, false);
    addAndMakeVisible (assignsPanel);

    outputsType.addListener (this);
    addAndMakeVisible (outputsType);
    addAndMakeVisible (outputsTypeNote);

    triggerSource.getMenu().addItem (noTriggerSource, " - None - ");
    for (int track = 0; track < DrumMachine::numTracks; ++track)
        triggerSource.getMenu().addItem (track, instruments::getLongName (track));
    fillOutputNumbers (triggerOutput);
    triggerSource.addListener (this);
    triggerOutput.addListener (this);
    sourceRow.addAndMakeVisible (sourceLabel);
    sourceRow.addAndMakeVisible (triggerSource);
    outputRow.addAndMakeVisible (outputLabel);
    outputRow.addAndMakeVisible (triggerOutput);
    triggerContent.addAndMakeVisible (sourceRow);
    triggerContent.addAndMakeVisible (outputRow);
    triggerPanel.setContentComponent (&triggerContent, false);
    addAndMakeVisible (triggerPanel);

    processor.addListener (static_cast<BasePlugin::Listener*> (this));
    layOutLabels();
    updateFromProcessor();
}

OutputsSettingsComponent::~OutputsSettingsComponent()
{
    processor.removeListener (static_cast<BasePlugin::Listener*> (this));
    for (auto& assign : rows)
        assign.output.removeListener (this);
    setFromCurrent.removeListener (this);
    outputsType.removeListener (this);
    triggerSource.removeListener (this);
    triggerOutput.removeListener (this);
}

void OutputsSettingsComponent::fillOutputNumbers (ComboBoxButton& chooser)
{
    for (int output = 1; output <= processor.getNumOutputs(); ++output)
        chooser.getMenu().addItem (output, juce::String (output));
}

void OutputsSettingsComponent::updateFromProcessor()
{
    outputsType.setSelectedIndex (processor.getDefaultOutputCharacteristics(), false);
    for (int i = 0; i < DrumMachine::numInstruments; ++i)
        rows[(size_t) i].output.setSelectedId (processor.getDefaultOutputNumber (i), false);
    showTriggerSource();
    triggerOutput.setSelectedId (processor.getTriggerOutOutput(), false);
}

void OutputsSettingsComponent::showTriggerSource()
{
    triggerSource.setSelectedId (processor.isTriggerOutEnabled() ? processor.getTriggerOutInstrument() : noTriggerSource, false);
}

//==== Choices ========================================================================

void OutputsSettingsComponent::comboBoxButtonChanged (ComboBoxButton* chooser)
{
    if (chooser == &triggerSource)
    {
        triggerSourceChosen (chooser->getSelectedId());
        return;
    }
    if (chooser == &triggerOutput)
    {
        // A number outside the outputs changes nothing: the chooser shows what holds.
        processor.setTriggerOutOutput (chooser->getSelectedId());
        triggerOutput.setSelectedId (processor.getTriggerOutOutput(), false);
        return;
    }
    for (int i = 0; i < DrumMachine::numInstruments; ++i)
    {
        if (chooser == &rows[(size_t) i].output)
        {
            processor.setDefaultOutputNumber (i, chooser->getSelectedId());
            chooser->setSelectedId (processor.getDefaultOutputNumber (i), false);
        }
    }
}

void OutputsSettingsComponent::triggerSourceChosen (int id)
{
    // setTriggerOut starts the pulse afresh under the callback lock, between
    // two blocks. " - None - " keeps the instrument for when it comes back.
    const int output = processor.getTriggerOutOutput();
    if (id == noTriggerSource)
        processor.setTriggerOut (false, -1, output);
    else if (id >= 0 && id < DrumMachine::numTracks)
        processor.setTriggerOut (true, id, output);

    showTriggerSource();
}

void OutputsSettingsComponent::radioButtonsChanged (RadioButtons_V2* group)
{
    // Takes effect in the next instance: the host fixes the outputs when it inserts one.
    if (group == &outputsType)
        processor.setDefaultOutputCharacteristics (group->getSelectedIndex() == 1 ? DrumMachine::monoOutputs
                                                                                 : DrumMachine::stereoOutputs);
}

void OutputsSettingsComponent::buttonClicked (juce::Button* button)
{
    if (button != &setFromCurrent)
        return;

    for (int i = 0; i < DrumMachine::numInstruments; ++i)
        processor.setDefaultOutputNumber (i, processor.getOutputNumber (i));
    updateFromProcessor();
}

void OutputsSettingsComponent::pluginStateRestored (BasePlugin&)
{
    updateFromProcessor();
}

//==== Layout ========================================================================

void OutputsSettingsComponent::layOutLabels()
{
    int nameWidth = 0;
    for (auto& assign : rows)
        nameWidth = juce::jmax (nameWidth, assign.name.getTextWidth());
    for (auto& assign : rows)
    {
        assign.name.setSize (nameWidth + 4, rowHeight);
        assign.output.setSize (numberChooserWidth, rowHeight);
    }
    setFromCurrent.changeWidthToFitText (rowHeight);

    const int labelWidth = juce::jmax (sourceLabel.getTextWidth(), outputLabel.getTextWidth()) + 4;
    sourceLabel.setSize (labelWidth, rowHeight);
    outputLabel.setSize (labelWidth, rowHeight);
    triggerSource.setSize (sourceChooserWidth, rowHeight);
    triggerOutput.setSize (numberChooserWidth, rowHeight);
}

void OutputsSettingsComponent::lookAndFeelChanged()
{
    layOutLabels();
    outputsType.setButtonWidth (-1);
    resized();
}

void OutputsSettingsComponent::resized()
{
    const int width = getWidth();
    const int half = width / 2;

    assignsPanel.setPanelSize (width, -1);
    assignsPanel.setTopLeftPosition (0, 0);

    outputsType.setBounds (0, assignsPanel.getBottom() + groupGap, half - columnGap, outputsType.getHeight());
    outputsTypeNote.setBounds (0, outputsType.getBottom() + noteGap, half - columnGap, noteHeight);

    triggerPanel.setPanelSize (half - columnGap, -1);
    triggerPanel.setTopLeftPosition (half + columnGap, outputsType.getY());
}
