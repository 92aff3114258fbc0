#pragma once

#include "framework/core/MidiControl.h"
#include "toolkit/widgets/CheckBox_V2.h"
#include "toolkit/widgets/DefaultResourceCheckBox.h"
#include "toolkit/widgets/FileSaver.h"
#include "toolkit/widgets/ToolbarDrawableButton.h"
#include "toolkit/windows/AlertWindow.h"
#include "toolkit/windows/ComponentRow.h"

#include <memory>

// The "Midi Control" page of the options window: the MIDI controllers
// assigned to parameters, listed by controller number, MIDI learn on and
// off, deleting one assignment or all of them, loading and saving map files,
// and the user's map file loaded at start ("Default map"). Message thread.
class MidiControlComponent : public juce::Component,
                             public juce::Button::Listener,
                             public DefaultResourceCheckBox::Listener,
                             public MidiControl::Listener,
                             public Kyx::AlertWindow::Caller
{
public:
    class ListComponent;

    static constexpr int buttonSize = 24; // pixels, each icon button

    // The map files' extension (".xrccmap") and the dialogs' wildcards ("*.xrccmap").
    MidiControlComponent (MidiControl& control, const juce::String& mapFileExtension, const juce::String& mapFileWildcards);
    ~MidiControlComponent() override;

    void setMapFileType (const juce::String& mapFileExtension, const juce::String& mapFileWildcards);

    // The learn toggle is built hidden; an editor that offers learn on this
    // page shows it.
    void setLearnButtonShown (bool shouldBeShown);

    // The folder the file dialogs start in; a load or a save that succeeded
    // moves it to its file's folder.
    juce::File getRecentlyUsedFolder() const { return recentlyUsedFolder; }

    CheckBox_V2& getLearnButton() noexcept { return learnButton; }
    DefaultResourceCheckBox& getDefaultMapCheckBox() noexcept { return defaultMapCheckBox; }
    ListComponent& getList() noexcept { return *list; }
    juce::Button& getDeleteButton() noexcept { return deleteButton; }
    juce::Button& getClearAllButton() noexcept { return clearAllButton; }
    juce::Button& getLoadButton() noexcept { return loadButton; }
    juce::Button& getSaveButton() noexcept { return saveButton; }

    void resized() override;
    // The toggles fit their texts in the look the page is shown with.
    void lookAndFeelChanged() override;
    // Message thread: one of the page's buttons was clicked.
    void buttonClicked (juce::Button* button) override;
    // Message thread: the "Default map" box or its path changed.
    void defaultResourceChanged (DefaultResourceCheckBox* checkBox) override;
    // Message thread.
    void midiControlMapChanged() override;
    void midiLearnStateChanged (MidiControl& control) override;
    // Message thread: the answer to "Clear All".
    void alertWindowClosed (Kyx::AlertWindow* window, int result) override;

private:
    void rebuildList();
    void updateButtons();
    void rowClicked (int row);
    void askToClearAll();
    void loadMap();
    void saveMap();
    juce::File getDialogStart() const;

    MidiControl& control;
    juce::String extension, wildcards;
    juce::File recentlyUsedFolder;

    CheckBox_V2 learnButton;
    DefaultResourceCheckBox defaultMapCheckBox;
    std::unique_ptr<ListComponent> list;
    ComponentRow buttonRow { ComponentRow::vertical, ComponentRow::alignStart, 4 };
    ToolbarDrawableButton deleteButton { "Delete Assign", 4 };
    ToolbarDrawableButton clearAllButton { "Clear All", 14 };
    ToolbarDrawableButton loadButton { "Load Map", 15 };
    ToolbarDrawableButton saveButton { "Save Map", 16 };
    std::unique_ptr<Kyx::AlertWindow> clearAllAlert;
    FileSaver saver { *this };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiControlComponent)
};
