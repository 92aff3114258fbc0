#pragma once

#include "toolkit/widgets/ComboBoxButton.h"
#include "toolkit/windows/ComponentRow.h"
#include "toolkit/windows/PanelComponent.h"

#include <vector>

// The "GUI" page of the options window: the default skin (for editors made
// from now on) and the current skin (this editor), each chosen from the skin
// packages installed in the skins folder and shown as a thumbnail. The
// editor listens and makes the changes. Message thread.
class GUISettingsComponent : public juce::Component,
                             public ComboBoxButton::Listener
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;

        // Message thread: the user (or a notifying setter) chose a skin.
        virtual void defaultSkinChanged (GUISettingsComponent* page) = 0;
        virtual void currentSkinChanged (GUISettingsComponent* page) = 0;
    };

    // An installed skin that could be read.
    struct SkinEntry
    {
        juce::String name;                       // the package name, without extension
        juce::Rectangle<int> backgroundBounds;   // the size of its "Background.png"
        juce::Image thumbnail;                   // its "Thumbnail.png"
    };

    // A thumbnail on black in a grey frame, over the screen's size, scaled
    // like the screen: a tenth of it.
    class SkinPreview : public juce::Component
    {
    public:
        explicit SkinPreview (juce::Rectangle<int> screenArea);

        void setImage (const juce::Image& image);
        const juce::Image& getImage() const noexcept { return image; }

        void paint (juce::Graphics& g) override;

    private:
        juce::Image image;
        juce::Rectangle<int> screen;
    };

    static constexpr int chooserWidth = 300, chooserHeight = 18; // pixels

    // Lists the packages of the skins folder (none when it is no folder).
    explicit GUISettingsComponent (const juce::File& skinsFolder);
    ~GUISettingsComponent() override;

    // Selects the skin of that name (letter case aside) and shows its
    // thumbnail; with notify, the listeners hear of it, last added first. A
    // name that is not listed changes nothing.
    void setDefaultSkin (const juce::String& name, bool notify);
    void setCurrentSkin (const juce::String& name, bool notify);
    // The chosen skins' names; empty while none is chosen.
    juce::String getDefaultSkinChoice() const;
    juce::String getCurrentSkinChoice() const;

    // The skin for an editor with no default yet: the last listed skin whose
    // background fits the screen, else the first one; empty without skins.
    const juce::String& getPreferredSkinName() const noexcept { return preferredSkinName; }

    const std::vector<SkinEntry>& getSkins() const noexcept { return skins; }
    int indexOfSkin (const juce::String& name) const;
    static juce::String describeSkin (const SkinEntry& entry);

    // The area a skin must fit in: the main display's, or 1920 x 1080 when
    // no display is known (no X server).
    static juce::Rectangle<int> getScreenArea();

    ComboBoxButton& getDefaultChooser() noexcept { return defaultChooser; }
    ComboBoxButton& getCurrentChooser() noexcept { return currentChooser; }
    SkinPreview& getDefaultPreview() noexcept { return defaultPreview; }
    SkinPreview& getCurrentPreview() noexcept { return currentPreview; }

    // Null and listeners already present are ignored.
    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    // Message thread: the user chose in one of the choosers.
    void comboBoxButtonChanged (ComboBoxButton* chooser) override;
    void resized() override;

private:
    void readSkins (const juce::File& skinsFolder);
    void choosePreferredSkin();
    void select (ComboBoxButton& chooser, SkinPreview& preview, const juce::String& name, bool notify, bool isDefault);
    juce::String nameOfChoice (const ComboBoxButton& chooser) const;

    PanelComponent defaultPanel { "Default skin" }, currentPanel { "Current skin" };
    ComponentRow defaultRow { ComponentRow::vertical, ComponentRow::alignStart, 6 };
    ComponentRow currentRow { ComponentRow::vertical, ComponentRow::alignStart, 6 };
    ComboBoxButton defaultChooser, currentChooser;
    SkinPreview defaultPreview, currentPreview;
    std::vector<SkinEntry> skins;
    juce::String preferredSkinName;
    juce::Array<Listener*> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (GUISettingsComponent)
};
