#include "editor/base/BasePluginEditorOldStyle.h"

#include "editor/presets/OldStylePresetBrowserWindow.h"
#include "framework/processor/BasePluginOldStyle.h"
#include "toolkit/skin/GFXPanel.h"

namespace
{
constexpr int groupGap = 10;  // pixels between "Preset storing" and "Default presets"
constexpr int columnGap = 3;  // pixels each side of the page's middle
} // namespace

BasePluginEditorOldStyle::BasePluginEditorOldStyle (BasePluginOldStyle& processorToEdit)
    : BasePluginEditor (processorToEdit),
      bankProcessor (processorToEdit)
{
    presetNameDisplay = dynamic_cast<GFXDisplay*> (findControlByName (getMainPanel(), "PresetNameDisplay"));
    if (presetNameDisplay != nullptr)
        presetNameDisplay->addDisplayListener (this);

    juce::StringArray extraExtensions;
    for (int i = 0; i < bankProcessor.getNumExtraMidiCCMapFileExtensions(); ++i)
        extraExtensions.add (bankProcessor.getExtraMidiCCMapFileExtension (i));
    const auto prefix = bankProcessor.getResourcePrefix();
    auto& midiPage = getMidiControlPage();
    midiPage.setMapFileType (MidiControl::getMapFileExtension (prefix), MidiControl::getMapFilePattern (prefix, extraExtensions));
    // Learning is offered on the page as well as on the skin's button.
    midiPage.setLearnButtonShown (true);

    // The browser sizes itself; it waits hidden until it is asked for.
    presetBrowser = std::make_unique<OldStylePresetBrowserWindow> (bankProcessor);
    addChildComponent (*presetBrowser);

    presetsPage = std::make_unique<PresetsSettingsComponent> (bankProcessor);
    presetsPage->getDefaultPresetsGroup().addListener (this);
    addOptionsTab ("Presets", *presetsPage, 0);
    getOptionsWindow().getTabs().setCurrentTabIndex (0);
}

BasePluginEditorOldStyle::~BasePluginEditorOldStyle()
{
    if (presetNameDisplay != nullptr)
        presetNameDisplay->removeDisplayListener (this);
    presetsPage->getDefaultPresetsGroup().removeListener (this);

    // The window follows the bank's parameters: it goes while the processor is still whole.
    presetBrowser.reset();
}

void BasePluginEditorOldStyle::controllerEventFired (GUIController* controller, int eventId)
{
    switch (eventId)
    {
        case BasePlugin::selectNextPresetCommand:
            bankProcessor.selectNextPreset();
            return;

        case BasePlugin::selectPreviousPresetCommand:
            bankProcessor.selectPreviousPreset();
            return;

        case BasePlugin::browsePresetsCommand:
            presetBrowser->show();
            return;

        case BasePlugin::copyCurrentPresetCommand:
            bankProcessor.copyCurrentPreset();
            return;

        case BasePlugin::pasteCopiedPresetCommand:
            bankProcessor.pasteCopiedPreset();
            return;

        case BasePlugin::storeCurrentPresetCommand:
            bankProcessor.storeParametersInPreset (bankProcessor.getCurrentPreset());
            return;

        default:
            BasePluginEditor::controllerEventFired (controller, eventId);
    }
}

void BasePluginEditorOldStyle::radioButtonsChanged (RadioButtons_V2* group)
{
    if (group == &presetsPage->getDefaultPresetsGroup())
        getStatusBar().showMessage (juce::String ("Default Presets") + " settings will be affected when plugin is loaded.",
                                    settingsPriority);
}

void BasePluginEditorOldStyle::displayTextEdited (GFXDisplay* display)
{
    // The preset the user looks at in the skin, whatever the browser shows.
    if (display != nullptr && display == presetNameDisplay)
        bankProcessor.setPresetName (bankProcessor.getCurrentPreset(), display->getText());
}

//==== The "Presets" page =============================================================

BasePluginEditorOldStyle::PresetsSettingsComponent::PresetsSettingsComponent (BasePluginOldStyle& processorToShow)
    : processor (processorToShow)
{
    auto& path = defaultPresets.getPathComponent();
    path.setChooserTitle ("Default presets");
    path.setFilePatterns (processor.getPresetBankFileWildcards());

    for (auto* group : getGroups())
    {
        group->addListener (this);
        addChildComponent (*group);
    }
    storing.setVisible (true);
    changing.setVisible (processor.hasPresetChangingSetting());
    defaultPresets.setVisible (true);

    updateFromProcessor();
}

BasePluginEditorOldStyle::PresetsSettingsComponent::~PresetsSettingsComponent()
{
    for (auto* group : getGroups())
        group->removeListener (this);
}

std::array<RadioButtons_V2*, 3> BasePluginEditorOldStyle::PresetsSettingsComponent::getGroups() noexcept
{
    return { &storing, &changing, &defaultPresets };
}

void BasePluginEditorOldStyle::PresetsSettingsComponent::updateFromProcessor()
{
    storing.setSelectedIndex (processor.getStoringMode(), false);
    changing.setSelectedIndex (processor.getChangingMode(), false);
    defaultPresets.setSelectedIndex (processor.getPresetsResourceSetting(), false);
    defaultPresets.getPathComponent().setPath (processor.getUserPresetsFile().getFullPathName(), false);
}

void BasePluginEditorOldStyle::PresetsSettingsComponent::radioButtonsChanged (RadioButtons_V2* group)
{
    if (group == &storing)
    {
        processor.setStoringMode (storing.getSelectedIndex());

        // From now on edits land in the preset as they happen: so does the sound as it is.
        if (storing.getSelectedIndex() == BasePluginOldStyle::automaticStoring)
            processor.storeParametersInPreset (processor.getCurrentPreset());
    }
    else if (group == &changing)
    {
        processor.setChangingMode (changing.getSelectedIndex());
    }
    else if (group == &defaultPresets)
    {
        processor.setPresetsResourceSetting (defaultPresets.getSelectedIndex());

        const auto& path = defaultPresets.getPathComponent().getPath();
        processor.setUserPresetsFile (juce::File::isAbsolutePath (path) ? juce::File (path) : juce::File());
    }
}

void BasePluginEditorOldStyle::PresetsSettingsComponent::lookAndFeelChanged()
{
    for (auto* group : getGroups())
        group->setButtonWidth (-1);
    resized();
}

void BasePluginEditorOldStyle::PresetsSettingsComponent::resized()
{
    // Side by side when both groups are there, else "Preset storing" alone across the page.
    const int width = getWidth();
    const int columnWidth = changing.isVisible() ? width / 2 - columnGap : width;
    storing.setBounds (0, 0, columnWidth, storing.getHeight());
    changing.setBounds (width - columnWidth, 0, columnWidth, changing.getHeight());

    const int top = juce::jmax (storing.getBottom(), changing.isVisible() ? changing.getBottom() : 0) + groupGap;
    defaultPresets.setBounds (0, top, width, defaultPresets.getHeight());
}
