#pragma once

#include "editor/skin/SkinPackage.h"
#include "toolkit/binding/SkinContext.h"
#include "toolkit/skin/PanelFromXml.h"

#include <map>
#include <memory>

class BasePlugin;

// Turns a skin name into the editor's main panel. The empty name is the
// built-in skin: the "skin.xml" resource and the images embedded with it.
// Any other name is the package "<name>.kyxskin" in the skins folder, which
// must pass its digest check; its images come from the package alone.
//
// While the panel is built the loader is the widgets' skin context: images
// from the skin being read, parameters and events from the processor. A
// loader is made for one load and thrown away; the editor keeps the panel.
// Message thread.
//
//     SkinLoader loader (processor, skinfiles::getSkinsFolder (processor), name);
//     auto build = loader.createMainPanel();
//     if (build.panel != nullptr) ... show it; build.problems lists what was wrong
//     else ... keep the current panel; build.problems says why
class SkinLoader : public SkinContext
{
public:
    SkinLoader (BasePlugin& processor, const juce::File& skinsFolder, const juce::String& skinName);
    ~SkinLoader() override;

    // The main panel, and every problem met on the way, each with its
    // place. The panel is null when the skin could not be read at all (no
    // such package, a failed check, no "skin.xml", not this plug-in's skin,
    // no "MainPanel", an image the package holds that does not decode); then
    // the problems say why. A panel that built may still list problems (an
    // image the skin lacks, a name that links to nothing): it shows what
    // could be read.
    PanelBuild createMainPanel();

    // True when the name is not empty and its package in the skins folder
    // opens and matches its digest. It does not build the panel.
    static bool isSkinValid (const juce::File& skinsFolder, const juce::String& skinName);

    // SkinContext: while the panel is built, the image of that file name
    // from the skin being read (a package never falls back to the built-in
    // images); otherwise the built-in image. A null image when absent.
    juce::Image getImage (const juce::String& fileName) override;
    Parameter* getParameterByName (const juce::String& name) override;
    int getEventId (const juce::String& eventName) override;
    juce::String getEventDisplayName (int eventId) override;

private:
    enum class Source
    {
        idle,
        builtIn,
        package
    };

    std::unique_ptr<juce::XmlElement> readBuiltInDescription (juce::StringArray& problems);
    std::unique_ptr<juce::XmlElement> readPackageDescription (juce::StringArray& problems);

    BasePlugin& processor;
    const juce::File skinsFolder;
    const juce::String skinName;
    Source source = Source::idle;
    std::unique_ptr<SkinPackage> package; // open while a package skin is built
    // Decoded once per build: a strip serves every control that names it.
    std::map<juce::String, juce::Image> imagesRead;
    juce::StringArray unreadableImages; // in the package, not decodable
};
