#include "editor/skin/SkinLoader.h"

#include "editor/skin/SkinFiles.h"
#include "framework/core/ResourceImages.h"
#include "framework/core/ResourceLoader.h"
#include "framework/core/XmlGuard.h"
#include "framework/processor/BasePlugin.h"

SkinLoader::SkinLoader (BasePlugin& processorToUse, const juce::File& folder, const juce::String& name)
    : processor (processorToUse), skinsFolder (folder), skinName (name)
{
}

SkinLoader::~SkinLoader() = default;

PanelBuild SkinLoader::createMainPanel()
{
    // Images come from the skin being read only while its panel is built.
    source = skinName.isEmpty() ? Source::builtIn : Source::package;

    PanelBuild build;
    const auto root = skinName.isEmpty() ? readBuiltInDescription (build.problems) : readPackageDescription (build.problems);

    if (root != nullptr)
        build = toolkit::createPanelFromXml (*root, *this, processor.getPluginName());

    // An image the package holds but that does not decode refuses the whole
    // skin: the panel would be drawn without it.
    if (! unreadableImages.isEmpty())
    {
        build.panel.reset();
        build.problems.clear();

        for (const auto& fileName : unreadableImages)
            build.problems.add ("Skin '" + skinName + "': image '" + fileName + "' could not be read.");
    }

    source = Source::idle;
    package.reset();
    imagesRead.clear();
    unreadableImages.clear();
    return build;
}

std::unique_ptr<juce::XmlElement> SkinLoader::readBuiltInDescription (juce::StringArray& problems)
{
    auto root = juce::parseXML (getResourceAsString (skinfiles::descriptionFileName));

    if (root == nullptr)
        problems.add ("the built-in skin has no readable \"" + juce::String (skinfiles::descriptionFileName) + "\"");

    return root;
}

std::unique_ptr<juce::XmlElement> SkinLoader::readPackageDescription (juce::StringArray& problems)
{
    juce::String problem;
    package = SkinPackage::open (skinfiles::getSkinFile (skinsFolder, skinName), skinName, problem);

    if (package == nullptr)
    {
        problems.add (problem);
        return nullptr;
    }

    const auto place = "skin \"" + skinName + "\": ";
    juce::MemoryBlock text;

    if (! package->readEntry (skinfiles::descriptionFileName, text))
    {
        problems.add (place + "no \"" + skinfiles::descriptionFileName + "\" (or larger than "
                      + juce::String ((juce::int64) SkinPackage::maxEntryBytes / (1024 * 1024)) + " MB)");
        return nullptr;
    }

    // A package is a user's file like any other document of ours: through the XML guard.
    auto root = xmlguard::parse (static_cast<const char*> (text.getData()), text.getSize());

    if (root == nullptr)
        problems.add (place + "\"" + skinfiles::descriptionFileName + "\" is not readable XML");

    return root;
}

bool SkinLoader::isSkinValid (const juce::File& folder, const juce::String& name)
{
    juce::String problem;
    return name.isNotEmpty() && SkinPackage::open (skinfiles::getSkinFile (folder, name), name, problem) != nullptr;
}

juce::Image SkinLoader::getImage (const juce::String& fileName)
{
    if (source == Source::idle)
        return getResourceAsImage (fileName);

    if (const auto found = imagesRead.find (fileName); found != imagesRead.end())
        return found->second;

    auto image = source == Source::package ? (package != nullptr ? package->readImage (fileName) : juce::Image())
                                           : getResourceAsImage (fileName);

    if (! image.isValid() && package != nullptr && package->hasEntry (fileName))
        unreadableImages.add (fileName);

    imagesRead[fileName] = image;
    return image;
}

Parameter* SkinLoader::getParameterByName (const juce::String& name)
{
    return processor.getParameterManager().getParameterByName (name);
}

int SkinLoader::getEventId (const juce::String& eventName)
{
    return processor.getEventsMap().getUid (eventName);
}

juce::String SkinLoader::getEventDisplayName (int eventId)
{
    return processor.getEventsMap().getDisplayName (eventId);
}
