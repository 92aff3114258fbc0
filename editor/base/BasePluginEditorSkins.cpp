// The editor's skins: building the main panel from a skin, changing skins
// at the user's request, and the skin names the settings and the state keep.
#include "editor/base/BasePluginEditor.h"

#include "editor/skin/SkinFiles.h"
#include "editor/skin/SkinLoader.h"
#include "framework/core/XmlTags.h"
#include "toolkit/skin/GFXAnimation.h"
#include "toolkit/skin/GFXMultiStateButton.h"
#include "toolkit/skin/GFXPanel.h"

namespace
{
constexpr int failedSkinMessagePriority = BasePluginEditor::skinPriority;

// A skin name read from the settings or a host's chunk: only a plain file
// name may name a package, so that no name reaches a file outside the skins
// folder.
juce::String readSkinName (const juce::XmlElement& editorElement)
{
    const auto* skin = findChildWithTag (&editorElement, "Skin");
    const auto name = skin != nullptr ? skin->getStringAttribute ("name") : juce::String();
    return skinfiles::isPlainSkinName (name) ? name : juce::String();
}
} // namespace

juce::File BasePluginEditor::getSkinsFolder() const
{
    return skinfiles::getSkinsFolder (processor);
}

juce::File BasePluginEditor::getSkinFile (const juce::String& name) const
{
    return skinfiles::getSkinFile (getSkinsFolder(), name);
}

bool BasePluginEditor::isSkinValid (const juce::String& name) const
{
    return SkinLoader::isSkinValid (getSkinsFolder(), name);
}

void BasePluginEditor::setDefaultSkinName (const juce::String& name)
{
    defaultSkin.set (name);
}

bool BasePluginEditor::loadSkin (const juce::String& name)
{
    auto build = SkinLoader (processor, getSkinsFolder(), name).createMainPanel();

    if (build.panel == nullptr)
        return false;

    midiLearnButton = nullptr;
    midiActivityLed = nullptr;

    if (mainPanel != nullptr)
        removeChildComponent (mainPanel.get());

    mainPanel = std::move (build.panel);
    addChildComponent (*mainPanel, 0); // under the status bar and the windows
    setEditorSize (mainPanel->getWidth(), mainPanel->getHeight());
    mainPanel->addListener (this);
    midiLearnButton = dynamic_cast<GFXMultiStateButton*> (findControlByName (mainPanel.get(), "MidiLearnButton"));
    midiActivityLed = dynamic_cast<GFXAnimation*> (findControlByName (mainPanel.get(), "MidiActivityLed"));
    updateMidiLearnButton (processor.getMidiControl().isLearnModeOn());
    currentSkin.set (name);
    skinLoaded();
    mainPanel->setVisible (true);
    statusBar->clearMessage (-1);

    if (guiPage != nullptr)
        guiPage->setCurrentSkin (name, false);

    return true;
}

void BasePluginEditor::requestSkinChange (const juce::String& name)
{
    pendingSkin.set (name);
    skinReloadFlag.store (1);
    optionsWindow->hide();

    if (mainPanel != nullptr)
        mainPanel->setVisible (false);

    statusBar->showMessage ("Loading skin...", skinPriority);
}

void BasePluginEditor::takeSkinRequest()
{
    int requested = 1;

    if (! skinReloadFlag.compare_exchange_strong (requested, 0))
        return;

    const auto name = pendingSkin.get();

    if (isSkinValid (name) && loadSkin (name))
        return;

    // The skin could not be built: the one shown before comes back, and the
    // user learns why nothing changed.
    if (mainPanel != nullptr)
        mainPanel->setVisible (true);

    statusBar->clearMessage (skinPriority);
    statusBar->showTimedMessage ("Skin '" + name + "' could not be loaded.", failedSkinMessagePriority);
}

void BasePluginEditor::initialiseSkinSelection()
{
    guiPage = createGUISettingsComponent();
    guiPage->addListener (this);
    addOptionsTab ("GUI", *guiPage, 10);

    if (getDefaultSkinName().isEmpty() || ! getSkinFile (getDefaultSkinName()).existsAsFile())
        setDefaultSkinName (guiPage->getPreferredSkinName());

    guiPage->setDefaultSkin (getDefaultSkinName(), false);

    if (getDefaultSkinName().isEmpty())
        statusBar->showMessage ("Plugin skins not found in directory: '" + getSkinsFolder().getFullPathName()
                                    + "'. Please reinstall to repair.",
                                skinPriority);
    else if (isSkinValid (getDefaultSkinName()))
        loadSkin (getDefaultSkinName());
}

std::unique_ptr<GUISettingsComponent> BasePluginEditor::createGUISettingsComponent()
{
    return std::make_unique<GUISettingsComponent> (getSkinsFolder());
}

void BasePluginEditor::defaultSkinChanged (GUISettingsComponent* page)
{
    setDefaultSkinName (page->getDefaultSkinChoice());
}

void BasePluginEditor::currentSkinChanged (GUISettingsComponent* page)
{
    requestSkinChange (page->getCurrentSkinChoice());
}

//==============================================================================
bool BasePluginEditor::isSettingsTag (const juce::XmlElement& element) const
{
    return tagIs (&element, getSettingsTagName());
}

std::unique_ptr<juce::XmlElement> BasePluginEditor::createSettingsXml()
{
    auto element = std::make_unique<juce::XmlElement> (getSettingsTagName());

    if (skinSelection)
        element->createNewChildElement ("Skin")->setAttribute ("name", getDefaultSkinName());

    return element;
}

void BasePluginEditor::loadSettingsXml (const juce::XmlElement& element)
{
    if (skinSelection && isSettingsTag (element))
        setDefaultSkinName (readSkinName (element));
}

bool BasePluginEditor::isStateTag (const juce::XmlElement& element) const
{
    return tagIs (&element, getStateTagName());
}

std::unique_ptr<juce::XmlElement> BasePluginEditor::createStateXml()
{
    auto element = std::make_unique<juce::XmlElement> (getStateTagName());

    if (skinSelection)
        element->createNewChildElement ("Skin")->setAttribute ("name", getCurrentSkinName());

    return element;
}

void BasePluginEditor::restoreStateXml (const juce::XmlElement& element)
{
    if (! skinSelection || ! isStateTag (element))
        return;

    const auto name = readSkinName (element);

    if (name.isNotEmpty() && isSkinValid (name))
        loadSkin (name);
}
