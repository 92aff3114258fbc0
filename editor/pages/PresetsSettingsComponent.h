#pragma once

#include "framework/processor/BasePlugin.h"
#include "toolkit/windows/ModalTextEditor.h"
#include "toolkit/windows/PanelComponent.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// The framework's part of the "Presets" page: the user's author name, which
// goes into the presets the user saves; "Update presets", which writes that
// name into the user's own preset files of every collection (in the update
// window, on a worker thread); and where the user's data lives. Message
// thread.
class PresetsSettingsComponent : public juce::Component,
                                 public juce::Button::Listener,
                                 public ModalTextEditor::ModalListener
{
public:
    class UpdateAuthorWindow;

    static constexpr int rowHeight = 20;  // pixels: the author field, the button, the folder line
    static constexpr int buttonGap = 6;   // pixels between the author field and the button

    explicit PresetsSettingsComponent (BasePlugin& processor);
    ~PresetsSettingsComponent() override;

    // The width the options window gives its pages (0: none, the page's own
    // width is taken).
    void setPreferredWidth (int width);

    ModalTextEditor& getAuthorEditor() noexcept { return authorEditor; }
    juce::Button& getUpdatePresetsButton() noexcept { return updatePresetsButton; }
    const juce::Label& getPresetsDirectoryLabel() const noexcept { return presetsDirectoryLabel; }
    PanelComponent& getAuthorPanel() noexcept { return authorPanel; }
    UpdateAuthorWindow& getUpdateAuthorWindow() noexcept { return *updateAuthorWindow; }

    // Message thread: "Update presets".
    void buttonClicked (juce::Button* button) override;
    // Message thread: the author name edited.
    void modalTextCommitted (ModalTextEditor* editor) override;

    void resized() override;

private:
    BasePlugin& processor;
    PanelComponent authorPanel { "Author" };
    juce::Component authorRow; // the panel's content: the field and the button
    ModalTextEditor authorEditor { "Author" };
    juce::TextButton updatePresetsButton { "Update presets" };
    juce::Label presetsDirectoryLabel;
    std::unique_ptr<UpdateAuthorWindow> updateAuthorWindow;
    int preferredWidth = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetsSettingsComponent)
};
