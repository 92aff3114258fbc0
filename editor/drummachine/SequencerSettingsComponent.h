#pragma once

#include "drummachine/processor/DrumMachine.h"
#include "toolkit/widgets/CheckBox_V2.h"
#include "toolkit/widgets/RadioButtons_V2.h"
#include "toolkit/windows/ComponentRow.h"
#include "toolkit/windows/PanelComponent.h"

#include <array>

// The options page "Sequencer": this instance's sequencer switches, the
// user's defaults for new instances, and how a host start is detected. The
// switches below "Use internal sequencer" only mean something while the
// sequencer is on, so they are enabled only then. The current switches
// follow the front panel and the host through their state parameters.
// Message thread.
class SequencerSettingsComponent : public juce::Component,
                                   public juce::Button::Listener,
                                   public RadioButtons_V2::Listener,
                                   public Parameter::Listener
{
public:
    // The four switches of each panel, in panel order.
    enum Switch
    {
        internalSequencerSwitch = 0,
        internalClockSwitch,
        hostModeSwitch,
        noteOffModeSwitch,
        numSwitches
    };

    explicit SequencerSettingsComponent (DrumMachine& processor);
    ~SequencerSettingsComponent() override;

    // Loads every control from the drum machine without telling anyone.
    void updateFromProcessor();

    // The controls, for the editor's and the tests' hands.
    CheckBox_V2& getCurrentBox (Switch which) { return currentBoxes[(size_t) which]; }
    CheckBox_V2& getDefaultBox (Switch which) { return defaultBoxes[(size_t) which]; }
    RadioButtons_V2& getPlayDetectionGroup() noexcept { return playDetection; }

    void resized() override;
    void lookAndFeelChanged() override;

    // Message thread: a click on a box.
    void buttonClicked (juce::Button* button) override;
    // Message thread: the play detection chosen.
    void radioButtonsChanged (RadioButtons_V2* group) override;
    // Deferred list, message thread: one of the state parameters 3000-3003.
    void parameterChanged (Parameter* parameter) override;

private:
    void currentSwitchClicked (Switch which, bool on);
    void defaultSwitchClicked (Switch which, bool on);
    void showCurrentSwitches();
    void showDefaultSwitches();
    void updateEnablement();

    DrumMachine& processor;

    PanelComponent currentPanel { "Current settings" };
    PanelComponent defaultPanel { "Default settings" };
    ComponentRow currentColumn { ComponentRow::vertical, ComponentRow::alignStart, 2 };
    ComponentRow defaultColumn { ComponentRow::vertical, ComponentRow::alignStart, 2 };
    std::array<CheckBox_V2, numSwitches> currentBoxes;
    std::array<CheckBox_V2, numSwitches> defaultBoxes;
    RadioButtons_V2 playDetection { "Host play detection", { "By transport change", "By lowest C note" } };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SequencerSettingsComponent)
};
