#include "editor/pages/GUISettingsComponent.h"

#include "editor/skin/SkinFiles.h"
#include "editor/skin/SkinPackage.h"
#include "framework/core/NaturalOrder.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"
#include "toolkit/menus/PopupMenuEx.h"

#include <algorithm>

namespace
{
constexpr int previewFrame = 3;    // pixels
constexpr int captionHeight = 20;  // pixels
constexpr int panelGap = 3;        // pixels between the two panels

// Letter case aside first, so that "alpha" and "Beta" sort as a person reads them.
bool comesBefore (const GUISettingsComponent::SkinEntry& a, const GUISettingsComponent::SkinEntry& b)
{
    if (const int folded = compareNatural (a.name.toLowerCase(), b.name.toLowerCase()); folded != 0)
        return folded < 0;

    return compareNatural (a.name, b.name) < 0;
}
} // namespace

//==============================================================================
GUISettingsComponent::SkinPreview::SkinPreview (juce::Rectangle<int> screenArea)
    : screen (screenArea)
{
    setSize (screen.getWidth() / 10 + 2 * previewFrame, screen.getHeight() / 10 + 2 * previewFrame + captionHeight);
}

void GUISettingsComponent::SkinPreview::setImage (const juce::Image& newImage)
{
    image = newImage;
    repaint();
}

void GUISettingsComponent::SkinPreview::paint (juce::Graphics& g)
{
    const auto picture = getLocalBounds().withTrimmedBottom (captionHeight);
    g.setColour (juce::Colours::black);
    g.fillRect (picture);
    g.setColour (juce::Colour (0xFF808080));
    g.drawRect (picture, previewFrame);

    if (image.isValid())
    {
        const auto inside = picture.reduced (previewFrame);
        g.saveState();
        g.reduceClipRegion (inside);
        g.drawImageAt (image, inside.getCentreX() - image.getWidth() / 2, inside.getCentreY() - image.getHeight() / 2);
        g.restoreState();
    }

    g.setColour (juce::Colours::black);
    g.setFont (toolkit::makeFont (13.0f));
    g.drawText ("Screen resolution: " + juce::String (screen.getWidth()) + " x " + juce::String (screen.getHeight()),
                getLocalBounds().removeFromBottom (captionHeight), juce::Justification::centred);
}

//==============================================================================
GUISettingsComponent::GUISettingsComponent (const juce::File& skinsFolder)
    : defaultPreview (getScreenArea()), currentPreview (getScreenArea())
{
    for (auto* chooser : { &defaultChooser, &currentChooser })
    {
        chooser->setSize (chooserWidth, chooserHeight);
        chooser->addListener (this);
    }

    defaultRow.addAndMakeVisible (defaultChooser);
    defaultRow.addAndMakeVisible (defaultPreview);
    currentRow.addAndMakeVisible (currentChooser);
    currentRow.addAndMakeVisible (currentPreview);
    defaultPanel.setContentComponent (&defaultRow, true);
    currentPanel.setContentComponent (&currentRow, true);
    addAndMakeVisible (defaultPanel);
    addAndMakeVisible (currentPanel);

    readSkins (skinsFolder);
    choosePreferredSkin();

    // Each chooser has its own copy: a menu ticks the one choice of its chooser.
    PopupMenuEx skinMenu;
    for (int i = 0; i < (int) skins.size(); ++i)
        skinMenu.addItem (i, describeSkin (skins[(size_t) i]));

    defaultChooser.getMenu() = skinMenu;
    currentChooser.getMenu() = skinMenu;
}

GUISettingsComponent::~GUISettingsComponent()
{
    defaultChooser.removeListener (this);
    currentChooser.removeListener (this);
}

juce::Rectangle<int> GUISettingsComponent::getScreenArea()
{
    if (auto* display = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay())
        return display->totalArea;

    return { 1920, 1080 };
}

void GUISettingsComponent::readSkins (const juce::File& skinsFolder)
{
    if (! skinsFolder.isDirectory())
        return;

    const auto packages = skinsFolder.findChildFiles (juce::File::findFiles, false, juce::String ("*") + skinfiles::packageExtension);

    for (const auto& file : packages)
    {
        const auto name = file.getFileNameWithoutExtension();
        juce::String problem;
        const auto package = skinfiles::isPlainSkinName (name) ? SkinPackage::open (file, name, problem) : nullptr;

        if (package == nullptr)
            continue;

        auto thumbnail = package->readImage ("Thumbnail.png");
        const auto background = package->readImage ("Background.png");

        if (thumbnail.isValid() && background.isValid())
            skins.push_back ({ name, background.getBounds(), thumbnail });
    }

    std::sort (skins.begin(), skins.end(), comesBefore);
}

void GUISettingsComponent::choosePreferredSkin()
{
    if (skins.empty())
        return;

    // The first skin unless a later one fits the screen, the last such one
    // winning; the first skin's own size is never asked.
    preferredSkinName = skins.front().name;
    const auto screen = getScreenArea();

    for (size_t i = skins.size() - 1; i >= 1; --i)
    {
        const auto& bounds = skins[i].backgroundBounds;

        if (bounds.getWidth() <= screen.getWidth() && bounds.getHeight() <= screen.getHeight())
        {
            preferredSkinName = skins[i].name;
            break;
        }
    }
}

int GUISettingsComponent::indexOfSkin (const juce::String& name) const
{
    for (size_t i = 0; i < skins.size(); ++i)
        if (skins[i].name.equalsIgnoreCase (name))
            return (int) i;

    return -1;
}

juce::String GUISettingsComponent::describeSkin (const SkinEntry& entry)
{
    return entry.name + " - " + juce::String (entry.backgroundBounds.getWidth()) + " x "
           + juce::String (entry.backgroundBounds.getHeight());
}

juce::String GUISettingsComponent::nameOfChoice (const ComboBoxButton& chooser) const
{
    const int index = chooser.getSelectedId();
    return index >= 0 && index < (int) skins.size() ? skins[(size_t) index].name : juce::String();
}

juce::String GUISettingsComponent::getDefaultSkinChoice() const { return nameOfChoice (defaultChooser); }
juce::String GUISettingsComponent::getCurrentSkinChoice() const { return nameOfChoice (currentChooser); }

void GUISettingsComponent::setDefaultSkin (const juce::String& name, bool notify)
{
    select (defaultChooser, defaultPreview, name, notify, true);
}

void GUISettingsComponent::setCurrentSkin (const juce::String& name, bool notify)
{
    select (currentChooser, currentPreview, name, notify, false);
}

void GUISettingsComponent::select (ComboBoxButton& chooser, SkinPreview& preview, const juce::String& name, bool notify,
                                   bool isDefault)
{
    const int index = indexOfSkin (name);

    if (index < 0)
        return;

    chooser.setSelectedId (index, false);
    preview.setImage (skins[(size_t) index].thumbnail);

    if (notify)
    {
        for (int i = listeners.size(); --i >= 0;)
        {
            if (i >= listeners.size())
                continue;

            if (isDefault)
                listeners.getUnchecked (i)->defaultSkinChanged (this);
            else
                listeners.getUnchecked (i)->currentSkinChanged (this);
        }
    }

    resized();
}

void GUISettingsComponent::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

void GUISettingsComponent::removeListener (Listener* listener)
{
    listeners.removeFirstMatchingValue (listener);
}

void GUISettingsComponent::comboBoxButtonChanged (ComboBoxButton* chooser)
{
    const auto name = nameOfChoice (*chooser);

    if (chooser == &defaultChooser)
        setDefaultSkin (name, true);
    else if (chooser == &currentChooser)
        setCurrentSkin (name, true);
}

void GUISettingsComponent::resized()
{
    defaultPanel.setPanelSize (-1, -1);
    currentPanel.setPanelSize (-1, -1);
    defaultPanel.setTopLeftPosition (0, 0);
    currentPanel.setTopLeftPosition (defaultPanel.getRight() + panelGap, 0);
}
