#include "editor/pages/MidiControlComponent.h"

#include "editor/pages/MidiControlListComponent.h"
#include "framework/presets/XmlFiles.h"
#include "toolkit/widgets/FileDialogs.h"

namespace
{
constexpr int gap = 6;            // pixels between the list and the buttons, and above the list
constexpr int checkBoxHeight = 20; // pixels
constexpr int checkBoxGap = 4;    // pixels below the learn toggle
} // namespace

MidiControlComponent::MidiControlComponent (MidiControl& controlToShow, const juce::String& mapFileExtension,
                                            const juce::String& mapFileWildcards)
    : control (controlToShow), extension (mapFileExtension), wildcards (mapFileWildcards),
      list (std::make_unique<ListComponent>())
{
    learnButton.setButtonText ("Midi Learn");
    learnButton.changeWidthToFitText (checkBoxHeight);
    learnButton.setToggleState (control.isLearnModeOn(), juce::dontSendNotification);
    learnButton.addListener (this);
    addChildComponent (learnButton);

    auto& box = defaultMapCheckBox.getCheckBox();
    box.setButtonText ("Default map");
    box.setToggleState (control.getUseUserMap(), juce::dontSendNotification);
    defaultMapCheckBox.getPathComponent().setPath (control.getUserMapFile().getFullPathName(), false);
    defaultMapCheckBox.getPathComponent().setChooserTitle ("Open Midi Control file");
    defaultMapCheckBox.getPathComponent().setFilePatterns (wildcards);
    defaultMapCheckBox.addListener (this);
    addAndMakeVisible (defaultMapCheckBox);

    list->onRowClicked = [this] (int row) { rowClicked (row); };
    addAndMakeVisible (*list);

    const std::pair<ToolbarDrawableButton*, const char*> buttons[] = { { &deleteButton, "Delete selected assignation" },
                                                                       { &clearAllButton, "Clear all map" },
                                                                       { &loadButton, "Open map" },
                                                                       { &saveButton, "Save current map" } };
    for (auto& [button, tooltip] : buttons)
    {
        button->setTooltip (tooltip);
        button->setSize (buttonSize, buttonSize);
        button->addListener (this);
        buttonRow.addAndMakeVisible (button);
    }

    addAndMakeVisible (buttonRow);
    control.addListener (this);
    rebuildList();
}

MidiControlComponent::~MidiControlComponent()
{
    control.removeListener (this);
    defaultMapCheckBox.removeListener (this);
}

void MidiControlComponent::setMapFileType (const juce::String& mapFileExtension, const juce::String& mapFileWildcards)
{
    extension = mapFileExtension;
    wildcards = mapFileWildcards;
    defaultMapCheckBox.getPathComponent().setFilePatterns (wildcards);
}

void MidiControlComponent::setLearnButtonShown (bool shouldBeShown)
{
    learnButton.setVisible (shouldBeShown);
    resized();
}

void MidiControlComponent::lookAndFeelChanged()
{
    learnButton.changeWidthToFitText (checkBoxHeight);
    defaultMapCheckBox.resized();
    resized();
}

void MidiControlComponent::resized()
{
    int y = 0;

    if (learnButton.isVisible())
    {
        learnButton.setTopLeftPosition (0, 0);
        y = learnButton.getBottom() + checkBoxGap;
    }

    defaultMapCheckBox.setBounds (0, y, getWidth(), checkBoxHeight);
    y = defaultMapCheckBox.getBottom() + gap;

    list->setBounds (0, y, juce::jmax (0, getWidth() - buttonRow.getWidth() - gap), juce::jmax (0, getHeight() - y));
    buttonRow.setTopLeftPosition (list->getRight() + gap, y);
}

//==============================================================================
void MidiControlComponent::rebuildList()
{
    std::vector<ListComponent::Row> rows;

    for (int cc = 0; cc < MidiControl::numControllers; ++cc)
        if (auto* parameter = control.getParameterForController (cc))
            rows.push_back ({ cc, parameter->getName() });

    list->setRows (std::move (rows));
    updateButtons();
}

void MidiControlComponent::updateButtons()
{
    deleteButton.setEnabled (list->getSelectedRow() >= 0);
    clearAllButton.setEnabled (! list->getRows().empty());
}

void MidiControlComponent::midiControlMapChanged()
{
    rebuildList();
}

void MidiControlComponent::midiLearnStateChanged (MidiControl&)
{
    learnButton.setToggleState (control.isLearnModeOn(), juce::dontSendNotification);

    const int learnController = control.getLearnController();
    const bool assignedByLearn = learnController >= 0 && control.getLearnParameter() != nullptr;
    list->selectRow (assignedByLearn ? list->findRowOfController (learnController) : -1);
    updateButtons();
}

void MidiControlComponent::rowClicked (int row)
{
    updateButtons();

    // During learn, the row's controller and its parameter become the learn
    // choice, so the status line tells that assignment.
    if (control.isLearnModeOn())
        control.pickLearnController (list->getRows()[(size_t) row].controller);
}

//==============================================================================
void MidiControlComponent::buttonClicked (juce::Button* button)
{
    if (button == &learnButton)
        control.setLearnMode (learnButton.getToggleState());
    else if (button == &deleteButton && list->getSelectedRow() >= 0)
        control.unassign (list->getRows()[(size_t) list->getSelectedRow()].controller);
    else if (button == &clearAllButton)
        askToClearAll();
    else if (button == &loadButton)
        loadMap();
    else if (button == &saveButton)
        saveMap();
}

void MidiControlComponent::defaultResourceChanged (DefaultResourceCheckBox* checkBox)
{
    if (checkBox != &defaultMapCheckBox)
        return;

    control.setUseUserMap (defaultMapCheckBox.getCheckBox().getToggleState());
    control.setUserMapFile (juce::File::isAbsolutePath (defaultMapCheckBox.getPathComponent().getPath())
                                ? juce::File (defaultMapCheckBox.getPathComponent().getPath())
                                : juce::File());
}

void MidiControlComponent::askToClearAll()
{
    clearAllAlert = Kyx::showYesCancelAlert (control.getMapName(), "Do you really want to clear all assignations?", this);
    addChildComponent (*clearAllAlert);
    clearAllAlert->show();
}

void MidiControlComponent::alertWindowClosed (Kyx::AlertWindow* window, int result)
{
    if (window != clearAllAlert.get())
        return;

    // Its last call: the alert may go now.
    const auto closed = std::move (clearAllAlert);

    if (result == Kyx::AlertWindow::yesResult)
        control.clear (true);
}

juce::File MidiControlComponent::getDialogStart() const
{
    if (recentlyUsedFolder.isDirectory())
        return recentlyUsedFolder;

    return control.getUserMapFile();
}

void MidiControlComponent::loadMap()
{
    FileDialogs::open (*this, "Open Midi Control file", getDialogStart(), wildcards,
                       [this] (const std::optional<juce::File>& chosen)
                       {
                           // A file of another plug-in or another kind changes nothing.
                           if (chosen.has_value() && control.loadFromFile (*chosen))
                               recentlyUsedFolder = chosen->getParentDirectory();
                       });
}

void MidiControlComponent::saveMap()
{
    FileSaver::Request request;
    request.title = "Save Midi Control file as";
    request.start = getDialogStart();
    request.filter = wildcards;
    request.extension = extension;
    // The saver checks the stream once the document is in it.
    request.write = [&map = control] (juce::OutputStream& out)
    {
        xmlfiles::writeDocument (*map.createXml(), out);
        return true;
    };

    saver.save (std::move (request), [this] (FileSaver::Outcome outcome, const juce::File& file)
                {
                    if (outcome == FileSaver::Outcome::saved)
                        recentlyUsedFolder = file.getParentDirectory();
                });
}
