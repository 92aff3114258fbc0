#pragma once

#include "drummachine/processor/DrumMachine.h"
#include "toolkit/widgets/DefaultResourcesRadioButtons.h"
#include "toolkit/widgets/FileSaver.h"
#include "toolkit/windows/AlertWindow.h"
#include "toolkit/windows/ComponentRow.h"
#include "toolkit/windows/PanelComponent.h"

#include <memory>
#include <optional>

// The options page "Drum map": loads this instance's drum map from a file or
// saves it to one, and chooses the map a new instance starts with (the
// factory map or a file of the user's). The dialogs are the nearest
// FileDialogs of the page's parents; the alerts show over the editor.
// Message thread.
class DrumMapSettingsComponent : public juce::Component,
                                 public juce::Button::Listener,
                                 public RadioButtons_V2::Listener,
                                 private Kyx::AlertWindow::Caller
{
public:
    explicit DrumMapSettingsComponent (DrumMachine& processor);
    ~DrumMapSettingsComponent() override;

    // Loads every control from the drum machine without telling anyone.
    void updateFromProcessor();

    // The controls, for the editor's and the tests' hands.
    juce::TextButton& getLoadButton() noexcept { return loadButton; }
    juce::TextButton& getSaveButton() noexcept { return saveButton; }
    DefaultResourcesRadioButtons& getDefaultMapGroup() noexcept { return defaultMap; }

    void resized() override;
    void lookAndFeelChanged() override;

    // Message thread: "Load" or "Save".
    void buttonClicked (juce::Button* button) override;
    // Message thread: the default map's choice or a new path of it.
    void radioButtonsChanged (RadioButtons_V2* group) override;

private:
    void loadChosen (const std::optional<juce::File>& chosen);
    void saveDrumMap();
    // Kyx::AlertWindow::Caller: message thread. A failed load was acknowledged.
    void alertWindowClosed (Kyx::AlertWindow* window, int result) override;

    DrumMachine& processor;

    PanelComponent currentPanel { "Current drum map" };
    ComponentRow buttons { ComponentRow::horizontal, ComponentRow::alignCentre, 6 };
    juce::TextButton loadButton { "Load" };
    juce::TextButton saveButton { "Save" };
    DefaultResourcesRadioButtons defaultMap { "Default drum map", { "Factory map", "User defined" } };

    FileSaver saver { *this };
    std::unique_ptr<Kyx::AlertWindow> alert; // a load that failed, until read

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DrumMapSettingsComponent)
};
