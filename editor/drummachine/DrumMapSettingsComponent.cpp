#include "editor/drummachine/DrumMapSettingsComponent.h"

#include "framework/presets/XmlFiles.h"
#include "toolkit/widgets/FileDialogs.h"

namespace
{
constexpr int buttonHeight = 20; // pixels
constexpr int groupGap = 10;     // pixels between the panel and the radio group
constexpr int factoryMapChoice = 0;
constexpr int userMapChoice = 1;
const char* const loadTitle = "Load drum map";
const char* const saveTitle = "Save drum map";
} // namespace

DrumMapSettingsComponent::DrumMapSettingsComponent (DrumMachine& drumMachine)
    : processor (drumMachine)
{
    for (auto* button : { &loadButton, &saveButton })
    {
        button->addListener (this);
        buttons.addAndMakeVisible (*button);
    }
    currentPanel.setContentComponent (&buttons, false);
    addAndMakeVisible (currentPanel);

    auto& path = defaultMap.getPathComponent();
    path.setChooserTitle ("Default drum map");
    path.setFilePatterns (processor.getDrumMapFileWildcards());
    defaultMap.addListener (this);
    addAndMakeVisible (defaultMap);

    lookAndFeelChanged();
    updateFromProcessor();
}

DrumMapSettingsComponent::~DrumMapSettingsComponent()
{
    loadButton.removeListener (this);
    saveButton.removeListener (this);
    defaultMap.removeListener (this);
}

void DrumMapSettingsComponent::updateFromProcessor()
{
    const auto& drumMap = processor.getDrumMap();
    defaultMap.setSelectedIndex (drumMap.getChoice() == DrumMap::userDefinedDrumMap ? userMapChoice : factoryMapChoice, false);
    defaultMap.getPathComponent().setPath (drumMap.getUserDrumMapFile(), false);
}

//==== Current drum map: load and save ================================================

void DrumMapSettingsComponent::buttonClicked (juce::Button* button)
{
    if (button == &loadButton)
    {
        // The answer is dropped when the page goes first.
        FileDialogs::open (*this, loadTitle, processor.getRecentlyUsedDirectory(), processor.getDrumMapFileWildcards(),
                           [this] (const std::optional<juce::File>& chosen) { loadChosen (chosen); });
    }
    else if (button == &saveButton)
    {
        saveDrumMap();
    }
}

void DrumMapSettingsComponent::loadChosen (const std::optional<juce::File>& chosen)
{
    if (! chosen.has_value())
        return;

    if (processor.loadDrumMapFile (*chosen))
    {
        processor.setRecentlyUsedDirectory (chosen->getParentDirectory());
        return;
    }

    // The map stays as it was; the user hears why nothing changed.
    alert = Kyx::showOkAlert (loadTitle, "'" + chosen->getFullPathName() + "' holds no drum map that can be read.", this);
    addChildComponent (*alert);
    alert->show();
}

void DrumMapSettingsComponent::saveDrumMap()
{
    // The map as it is now. The saver settles the extension before it asks
    // about overwriting, and tells the user when the file cannot be written.
    const std::shared_ptr<const juce::XmlElement> document = processor.getDrumMap().createDrumMapXml();
    FileSaver::Request request { saveTitle, processor.getRecentlyUsedDirectory(), processor.getDrumMapFileWildcards(),
                                 processor.getDrumMap().makeDrumMapExtension(),
                                 [document] (juce::OutputStream& out)
                                 {
                                     xmlfiles::writeDocument (*document, out);
                                     return true;
                                 },
                                 processor.getDrumMap().getName() };

    // The saver is the page's own: it never answers after the page is gone.
    saver.save (std::move (request), [this] (FileSaver::Outcome outcome, const juce::File& file)
                {
                    if (outcome == FileSaver::Outcome::saved)
                        processor.setRecentlyUsedDirectory (file.getParentDirectory());
                });
}

void DrumMapSettingsComponent::alertWindowClosed (Kyx::AlertWindow* window, int)
{
    // Its last call: the alert may go now.
    if (window == alert.get())
        alert.reset();
}

//==== Default drum map ===============================================================

void DrumMapSettingsComponent::radioButtonsChanged (RadioButtons_V2* group)
{
    if (group != &defaultMap)
        return;

    auto& drumMap = processor.getDrumMap();
    const auto& path = defaultMap.getPathComponent().getPath();
    if (path != drumMap.getUserDrumMapFile() || defaultMap.getSelectedIndex() == userMapChoice)
    {
        // A map file chosen is the user's choice of that file.
        drumMap.setUserDrumMapFile (path);
        defaultMap.setSelectedIndex (userMapChoice, false);
    }
    else
    {
        drumMap.setChoice (DrumMap::factoryMapping);
    }
}

//==== Layout ========================================================================

void DrumMapSettingsComponent::lookAndFeelChanged()
{
    loadButton.changeWidthToFitText (buttonHeight);
    saveButton.changeWidthToFitText (buttonHeight);
    defaultMap.setButtonWidth (-1);
    resized();
}

void DrumMapSettingsComponent::resized()
{
    currentPanel.setPanelSize (getWidth(), -1);
    currentPanel.setTopLeftPosition (0, 0);
    defaultMap.setBounds (0, currentPanel.getBottom() + groupGap, getWidth(), defaultMap.getHeight());
}
