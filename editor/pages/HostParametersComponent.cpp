#include "editor/pages/HostParametersComponent.h"

#include "editor/pages/HostParametersListComponent.h"
#include "framework/presets/XmlFiles.h"

// The save dialog of the map, through the page's own dialogs: a name chosen
// with another extension ("song.xrprsb") loses it, so that the saver puts
// the map's extension in its place ("song.xrhpmap") and, that being another
// name than the one the dialog asked about, asks before overwriting it.
class HostParametersComponent::MapFileDialogs : public juce::Component,
                                                public FileDialogs
{
public:
    explicit MapFileDialogs (const juce::String& extension) : mapFileExtension (extension) {}

    // Message thread.
    void launch (juce::Component& asking, const FileDialogRequest& request, FileDialogCallback callback) override
    {
        auto& dialogs = FileDialogs::findFor (*getParentComponent());
        dialogs.launch (asking, request, [extension = mapFileExtension, answer = std::move (callback)] (const std::optional<juce::File>& chosen)
        {
            answer (chosen.has_value() ? std::optional<juce::File> (withoutOtherExtension (*chosen, extension)) : std::nullopt);
        });
    }

private:
    static juce::File withoutOtherExtension (const juce::File& chosen, const juce::String& extension)
    {
        // A name that is all extension (".xrprsb") is kept whole.
        if (chosen.getFileExtension().isEmpty() || chosen.hasFileExtension (extension) || chosen.getFileNameWithoutExtension().isEmpty())
            return chosen;

        return chosen.withFileExtension ({});
    }

    const juce::String mapFileExtension;
};

HostParametersComponent::HostParametersComponent (BasePlugin& plugin)
    : processor (plugin),
      mapFileExtension (HostParameterMap::getFileExtension (processor.getResourcePrefix())),
      mapFileWildcard (BasePlugin::makeWildcard (mapFileExtension)),
      list (std::make_unique<ListComponent> (processor)),
      mapFileDialogs (std::make_unique<MapFileDialogs> (mapFileExtension))
{
    for (auto* button : { &clearAllButton, &loadMapButton, &saveMapButton })
    {
        button->addListener (this);
        addAndMakeVisible (button);
    }

    defaultMapCheckBox.getCheckBox().setButtonText ("Default map");
    defaultMapCheckBox.getCheckBox().setToggleState (processor.isHostParametersMapFileUsed(), juce::dontSendNotification);
    defaultMapCheckBox.getPathComponent().setPath (processor.getHostParametersMapFile().getFullPathName(), false);
    defaultMapCheckBox.getPathComponent().setChooserTitle ("Load Host Parameters Map file");
    defaultMapCheckBox.getPathComponent().setFilePatterns (mapFileWildcard);
    defaultMapCheckBox.addListener (this);
    addAndMakeVisible (defaultMapCheckBox);

    viewport.setViewedComponent (list.get(), false);
    viewport.setScrollBarsShown (false, true);
    addAndMakeVisible (viewport);

    // Invisible: it only answers the map saver's dialog.
    addChildComponent (*mapFileDialogs);
    mapSaver = std::make_unique<FileSaver> (*mapFileDialogs);
}

HostParametersComponent::~HostParametersComponent()
{
    // The saver's alerts and dialog answers go before the component they use.
    mapSaver.reset();
    defaultMapCheckBox.removeListener (this);
}

void HostParametersComponent::setDefaultMapFile (const juce::File& file)
{
    defaultMapCheckBox.getPathComponent().setPath (file.getFullPathName(), false);
}

void HostParametersComponent::buttonClicked (juce::Button* button)
{
    if (button == &clearAllButton)
        askToClearAll();
    else if (button == &loadMapButton)
        loadMap();
    else if (button == &saveMapButton)
        saveMap();
}

void HostParametersComponent::askToClearAll()
{
    clearAllAlert = Kyx::showYesCancelAlert (processor.getPluginName(), "Do you really want to clear all assignations?", this);
    addChildComponent (*clearAllAlert);
    clearAllAlert->show();

    if (auto* yes = clearAllAlert->getButton (0); yes != nullptr && yes->isShowing())
        yes->grabKeyboardFocus();
}

void HostParametersComponent::alertWindowClosed (Kyx::AlertWindow* window, int result)
{
    if (window != clearAllAlert.get())
        return;

    // Deleting the alert here is allowed: this is its last call.
    clearAllAlert.reset();

    if (result == Kyx::AlertWindow::yesResult)
        processor.clearHostParameters();
}

juce::File HostParametersComponent::getDialogStart()
{
    const auto path = defaultMapCheckBox.getPathComponent().getPath();
    return juce::File::isAbsolutePath (path) ? juce::File (path).getParentDirectory() : processor.getUserDataFolder();
}

void HostParametersComponent::loadMap()
{
    // A file that holds no map of this plug-in changes nothing.
    FileDialogs::open (*this, "Load Host Parameters Map file", getDialogStart(), mapFileWildcard,
                       [this] (const std::optional<juce::File>& chosen)
                       {
                           if (chosen.has_value())
                               processor.loadHostParametersMapFile (*chosen);
                       });
}

void HostParametersComponent::saveMap()
{
    // The saver settles the name, asks before overwriting and tells the
    // user when the file could not be written.
    mapSaver->save ({ "Save Host Parameters Map file as", getDialogStart(), mapFileWildcard, mapFileExtension,
                      [this] (juce::OutputStream& out)
                      {
                          xmlfiles::writeDocument (*processor.createHostParametersMapXml(), out);
                          return true;
                      } },
                    {});
}

void HostParametersComponent::defaultResourceChanged (DefaultResourceCheckBox* checkBox)
{
    if (checkBox != &defaultMapCheckBox)
        return;

    // Read by the map's loading at the next start-up.
    const auto path = checkBox->getPathComponent().getPath();
    processor.setHostParametersMapFile (checkBox->getCheckBox().getToggleState(),
                                        juce::File::isAbsolutePath (path) ? juce::File (path) : juce::File());
}

void HostParametersComponent::resized()
{
    int x = 0;

    for (auto* button : { &clearAllButton, &loadMapButton, &saveMapButton })
    {
        button->setBounds (x, 0, buttonSize, buttonSize);
        x += buttonSize + 4;
    }

    const int listTop = buttonSize + 6;
    const int listHeight = juce::jmax (0, getHeight() - listTop - checkBoxHeight - 6);
    viewport.setBounds (0, listTop, getWidth(), listHeight);
    list->setVisibleWidth (viewport.getMaximumVisibleWidth());
    defaultMapCheckBox.setBounds (0, listTop + listHeight + 6, getWidth(), checkBoxHeight);
}
