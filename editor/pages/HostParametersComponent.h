#pragma once

#include "framework/processor/BasePlugin.h"
#include "toolkit/widgets/DefaultResourceCheckBox.h"
#include "toolkit/widgets/FileSaver.h"
#include "toolkit/widgets/ToolbarDrawableButton.h"
#include "toolkit/windows/AlertWindow.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// The "Parameters" page: which plug-in parameter sits behind each of the
// host's automation slots, one combo box per slot, with "Clear all", "Load
// map" and "Save map" (host parameter map files) and the "Default map" check
// box, which chooses whether the user's map file is loaded at start-up.
// Every change goes straight to the processor's host parameter map; the rows
// follow the map through its change messages. Message thread.
class HostParametersComponent : public juce::Component,
                                public juce::Button::Listener,
                                public Kyx::AlertWindow::Caller,
                                public DefaultResourceCheckBox::Listener
{
public:
    class ListComponent;

    static constexpr int buttonSize = 24;     // pixels, the icon buttons
    static constexpr int checkBoxHeight = 20; // pixels, the "Default map" strip

    explicit HostParametersComponent (BasePlugin& processor);
    ~HostParametersComponent() override;

    // The file the "Default map" check box offers (the editor gives the
    // default map's place in the user's data folder).
    void setDefaultMapFile (const juce::File& file);

    ListComponent& getList() noexcept { return *list; }
    juce::Button& getClearAllButton() noexcept { return clearAllButton; }
    juce::Button& getLoadMapButton() noexcept { return loadMapButton; }
    juce::Button& getSaveMapButton() noexcept { return saveMapButton; }
    DefaultResourceCheckBox& getDefaultMapCheckBox() noexcept { return defaultMapCheckBox; }

    // Message thread: the three icon buttons.
    void buttonClicked (juce::Button* button) override;
    // Message thread, from the message loop: the clear-all question answered.
    void alertWindowClosed (Kyx::AlertWindow* window, int result) override;
    // Message thread: the user ticked the "Default map" box or chose its file.
    void defaultResourceChanged (DefaultResourceCheckBox* checkBox) override;

    void resized() override;

private:
    class MapFileDialogs;

    void askToClearAll();
    void loadMap();
    void saveMap();
    juce::File getDialogStart();

    BasePlugin& processor;
    const juce::String mapFileExtension; // ".xrhpmap"
    const juce::String mapFileWildcard;  // "*.xrhpmap"

    ToolbarDrawableButton clearAllButton { "Clear all", 4 };
    ToolbarDrawableButton loadMapButton { "Load map", 15 };
    ToolbarDrawableButton saveMapButton { "Save map", 16 };
    DefaultResourceCheckBox defaultMapCheckBox;
    std::unique_ptr<ListComponent> list;
    juce::Viewport viewport; // shows the list, which it does not own
    std::unique_ptr<Kyx::AlertWindow> clearAllAlert;
    std::unique_ptr<MapFileDialogs> mapFileDialogs;
    std::unique_ptr<FileSaver> mapSaver;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HostParametersComponent)
};
