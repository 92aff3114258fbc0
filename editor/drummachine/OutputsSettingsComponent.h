#pragma once

#include "drummachine/processor/DrumMachine.h"
#include "toolkit/widgets/ComboBoxButton.h"
#include "toolkit/widgets/RadioButtons_V2.h"
#include "toolkit/windows/ComponentRow.h"
#include "toolkit/windows/HardLabel.h"
#include "toolkit/windows/PanelComponent.h"

#include <array>

// The options page "Outputs": the output each instrument of a new instance
// starts on, whether new instances have stereo or mono outputs, and where
// this instance's trigger-out pulse comes from and goes to. It changes the
// drum machine at once and follows a restored state (a song loaded).
// Message thread.
class OutputsSettingsComponent : public juce::Component,
                                 public RadioButtons_V2::Listener,
                                 public ComboBoxButton::Listener,
                                 public juce::Button::Listener,
                                 public BasePlugin::Listener
{
public:
    // The source item that switches the trigger-out off.
    static constexpr int noTriggerSource = 65535;

    explicit OutputsSettingsComponent (DrumMachine& processor);
    ~OutputsSettingsComponent() override;

    // Loads every control from the drum machine without telling anyone.
    void updateFromProcessor();

    // The controls, for the editor's and the tests' hands.
    ComboBoxButton& getDefaultOutputChooser (int instrument) { return rows[(size_t) instrument].output; }
    juce::TextButton& getSetFromCurrentButton() noexcept { return setFromCurrent; }
    RadioButtons_V2& getOutputsTypeGroup() noexcept { return outputsType; }
    ComboBoxButton& getTriggerSourceChooser() noexcept { return triggerSource; }
    ComboBoxButton& getTriggerOutputChooser() noexcept { return triggerOutput; }

    void resized() override;
    void lookAndFeelChanged() override;

    // Message thread: the user's choices.
    void comboBoxButtonChanged (ComboBoxButton* chooser) override;
    void radioButtonsChanged (RadioButtons_V2* group) override;
    void buttonClicked (juce::Button* button) override;
    // Message thread: the host restored a state (a song was loaded).
    void pluginStateRestored (BasePlugin& plugin) override;

private:
    struct AssignRow
    {
        ComponentRow row { ComponentRow::horizontal, ComponentRow::alignCentre, 6 };
        HardLabel name;
        ComboBoxButton output;
    };

    void fillOutputNumbers (ComboBoxButton& chooser);
    void layOutLabels();
    void triggerSourceChosen (int id);
    // The chooser shows the pulse's instrument, or " - None - " while it is off.
    void showTriggerSource();

    DrumMachine& processor;

    PanelComponent assignsPanel { "Default outputs assigns" };
    ComponentRow assignsContent { ComponentRow::vertical, ComponentRow::alignStart, 8 };
    ComponentRow assignsColumns { ComponentRow::horizontal, ComponentRow::alignStart, 24 };
    ComponentRow leftColumn { ComponentRow::vertical, ComponentRow::alignStart, 2 };
    ComponentRow rightColumn { ComponentRow::vertical, ComponentRow::alignStart, 2 };
    std::array<AssignRow, DrumMachine::numInstruments> rows;
    juce::TextButton setFromCurrent { "Set from current assignations" };

    RadioButtons_V2 outputsType { "Default outputs type", { "Stereo", "Mono" } };
    HardLabel outputsTypeNote { {}, "Outputs type is affected when plug-in is inserted." };

    PanelComponent triggerPanel { "Trigger output" };
    ComponentRow triggerContent { ComponentRow::vertical, ComponentRow::alignStart, 6 };
    ComponentRow sourceRow { ComponentRow::horizontal, ComponentRow::alignCentre, 6 };
    ComponentRow outputRow { ComponentRow::horizontal, ComponentRow::alignCentre, 6 };
    HardLabel sourceLabel { {}, "Source: " };
    HardLabel outputLabel { {}, "Output: " };
    ComboBoxButton triggerSource;
    ComboBoxButton triggerOutput;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OutputsSettingsComponent)
};
