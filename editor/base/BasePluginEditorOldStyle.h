#pragma once

#include "editor/base/BasePluginEditor.h"
#include "toolkit/skin/GFXDisplay.h"
#include "toolkit/widgets/DefaultResourcesRadioButtons.h"

#include <array>
#include <memory>

class BasePluginOldStyle;
class OldStylePresetBrowserWindow;

// The editor of a processor that keeps its presets in one bank: on top of
// the editor base it shows the current preset's name in the skin (an edit
// renames that preset), steps, copies, pastes and stores presets on the
// skin's buttons, opens the preset browser, and puts the bank's "Presets"
// page first in the options window. None of the preset events asks about
// unsaved edits: storing is explicit or automatic, as the user chose.
// Message thread.
class BasePluginEditorOldStyle : public BasePluginEditor,
                                 public RadioButtons_V2::Listener,
                                 public GFXDisplayListener
{
public:
    // The options page "Presets": how edits reach the current preset
    // ("Preset storing"), how presets change ("Changing type", only for
    // processors that have that setting) and which bank a new instance
    // starts with ("Default presets", the factory bank, empty presets or a
    // bank file of the user's). It changes the processor at once.
    class PresetsSettingsComponent : public juce::Component,
                                     public RadioButtons_V2::Listener
    {
    public:
        explicit PresetsSettingsComponent (BasePluginOldStyle& processor);
        ~PresetsSettingsComponent() override;

        // Loads every group from the processor without telling anyone.
        void updateFromProcessor();

        RadioButtons_V2& getStoringGroup() noexcept { return storing; }
        RadioButtons_V2& getChangingGroup() noexcept { return changing; }
        DefaultResourcesRadioButtons& getDefaultPresetsGroup() noexcept { return defaultPresets; }

        void resized() override;
        void lookAndFeelChanged() override;

        // Message thread: a choice, or (for "Default presets") a new path.
        void radioButtonsChanged (RadioButtons_V2* group) override;

    private:
        std::array<RadioButtons_V2*, 3> getGroups() noexcept;

        BasePluginOldStyle& processor;
        RadioButtons_V2 storing { "Preset storing", { "Automatic", "On demand" } };
        RadioButtons_V2 changing { "Changing type", { "Normal", "Silent" } };
        DefaultResourcesRadioButtons defaultPresets { "Default presets", { "Factory presets", "Clear presets", "User defined" } };

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetsSettingsComponent)
    };

    explicit BasePluginEditorOldStyle (BasePluginOldStyle& processor);
    ~BasePluginEditorOldStyle() override;

    BasePluginOldStyle& getBankProcessor() const noexcept { return bankProcessor; }
    OldStylePresetBrowserWindow& getPresetBrowser() noexcept { return *presetBrowser; }
    PresetsSettingsComponent& getPresetsPage() noexcept { return *presetsPage; }
    GFXDisplay* getPresetNameDisplay() const noexcept { return presetNameDisplay; }

    // GUIController::Listener: message thread. The preset events, then the base's.
    void controllerEventFired (GUIController* controller, int eventId) override;
    // RadioButtons_V2::Listener: message thread. The "Default presets" group changed.
    void radioButtonsChanged (RadioButtons_V2* group) override;
    // GFXDisplayListener: message thread. An edit of the preset name display.
    void displayTextEdited (GFXDisplay* display) override;

private:
    BasePluginOldStyle& bankProcessor;
    std::unique_ptr<OldStylePresetBrowserWindow> presetBrowser;
    std::unique_ptr<PresetsSettingsComponent> presetsPage;
    GFXDisplay* presetNameDisplay = nullptr; // of the built-in skin

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BasePluginEditorOldStyle)
};
