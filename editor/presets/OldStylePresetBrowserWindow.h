#pragma once

#include "editor/presets/OldStylePresetsBrowser.h"
#include "framework/core/Parameter.h"
#include "framework/processor/BasePlugin.h"
#include "toolkit/widgets/FileSaver.h"
#include "toolkit/widgets/ToolbarDrawableButton.h"
#include "toolkit/windows/AlertWindow.h"
#include "toolkit/windows/ComponentRow.h"
#include "toolkit/windows/HardLabel.h"
#include "toolkit/windows/WindowComponent.h"

#include <array>
#include <memory>

class BasePluginOldStyle;

// The "Preset Browser" window: the preset bank's groups and presets in a
// column browser, a toolbar (add and remove groups, copy and paste the
// current preset, step through presets) and buttons that load and save a
// preset or the whole bank as files. It follows the bank's current preset
// through parameters 110000 and 110001, and opens afresh on it when the
// whole bank is replaced. The editor makes it once, as a hidden child, and
// shows it on its browser command. Message thread.
class OldStylePresetBrowserWindow : public WindowComponent,
                                    public Parameter::Listener,
                                    private BasePlugin::Listener,
                                    private Kyx::AlertWindow::Caller
{
public:
    static constexpr int defaultWidth = 639, defaultHeight = 350; // pixels

    // The window's buttons, toolbar first.
    enum class Action
    {
        addGroup,
        removeGroup,
        copy,
        paste,
        up,
        down,
        loadPreset,
        savePreset,
        loadBank,
        saveBank
    };
    static constexpr size_t numActions = (size_t) Action::saveBank + 1;

    explicit OldStylePresetBrowserWindow (BasePluginOldStyle& bankProcessor);
    ~OldStylePresetBrowserWindow() override;

    // "Add Group" with exactly one group selected, "Rem Group" when that
    // group is also empty; otherwise both are disabled.
    void updateButtons();

    juce::Button& getButton (Action action);
    OldStylePresetsBrowser& getBrowser() noexcept { return browser; }

    // Message thread: the window's buttons; the close button hides it.
    void buttonClicked (juce::Button* button) override;
    // Message thread (deferred listener): the current preset's number or name.
    void parameterChanged (Parameter* parameter) override;

    void resized() override;

private:
    // The buttons in the order of their actions.
    std::array<juce::Button*, numActions> getButtons();
    // Shows the current preset, as after a change of its number and name.
    void followCurrentPreset();
    void removeSelectedGroup();
    void loadPreset();
    void savePreset();
    void loadBank();
    void saveBank();
    // Tells the user that a file could not be read.
    void showReadFailure (const juce::String& alertTitle, const juce::File& file);
    // Message thread, from the bank: a chunk or a bank file replaced it.
    void presetBankReplaced (BasePlugin&) override;
    // Message thread, from the message loop: the failure was read.
    void alertWindowClosed (Kyx::AlertWindow* window, int result) override;

    BasePluginOldStyle& bank;

    ComponentRow toolbar { ComponentRow::vertical };
    ComponentRow buttonRow { ComponentRow::horizontal, ComponentRow::alignCentre, 6 };
    ToolbarDrawableButton addGroupButton { "Add Group", 13 };
    ToolbarDrawableButton removeGroupButton { "Rem Group", 14 };
    ToolbarDrawableButton copyButton { "Copy", 1 };
    ToolbarDrawableButton pasteButton { "Paste", 3 };
    ToolbarDrawableButton upButton { "Up", 6 };
    ToolbarDrawableButton downButton { "Down", 5 };
    HardLabel presetLabel { "PresetLabel", "Preset" };
    juce::TextButton loadPresetButton { "Load" };
    juce::TextButton savePresetButton { "Save" };
    HardLabel bankLabel { "BankLabel", "Bank" };
    juce::TextButton loadBankButton { "Load" };
    juce::TextButton saveBankButton { "Save" };

    // After the buttons: its refreshes update them until it is gone.
    OldStylePresetsBrowser browser;

    FileSaver saver { *this };
    std::unique_ptr<Kyx::AlertWindow> alert;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OldStylePresetBrowserWindow)
};
